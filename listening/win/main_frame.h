// The listening program's main frame CMainFrame: the contents tree in the
// outer 1x2 splitter, the Japanese pane, the Korean editor fork and the kana
// pane in the inner 3x1 splitter, the status bar, the database path asked
// for on the first start, the word search and the contents, copy by the
// copy source, read-aloud with repetition, the font dialog, and the window's
// place, fonts, path and copy source under "ExampleCollection".
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "ado_source.h"
#include "contents.h"
#include "control_views.h"
#include "fork_document.h"
#include "frame.h"
#include "frame_settings.h"
#include "gm_converter.h"
#include "hangul_view.h"
#include "kana_pane.h"
#include "paste_code_bar.h"
#include "repeat_playback.h"
#include "splitter.h"
#include "statusbar.h"
#include "win_playback.h"

namespace ferlin {

// The document of the Korean pane: its lines in memory, never saved.
class CVelmoraDoc final : public editorview::ForkLineDocument {
 public:
  using ForkLineDocument::ForkLineDocument;
  bool SaveModified() override { return true; }
};

class CMainFrame;

// The contents tree: the tree control as the builders' tree, its own ADO
// objects, and the item shown when the selection moves to an item.
class CMokujiTree final : public fw::TreeView, public ContentsTree {
 public:
  CMokujiTree(fw::Document& document, CMainFrame& frame) : fw::TreeView(document), frame_(frame) {}
  bool HasItems() override { return GetCount() > 0; }
  void Clear() override;
  Node InsertLast(Node parent, const std::string& label, long data, bool expanded) override;
  Node ParentOf(Node node) override;
  AdoRecordSource& Source() { return source_; }
  // Opens the root (after a build: its children are there now).
  void ExpandRoot();

 protected:
  void OnSelChanged(HTREEITEM before, HTREEITEM now, UINT action) override;

 private:
  CMainFrame& frame_;
  AdoRecordSource source_;
  std::string lastLabel_;
};

struct FrameServices {
  const editorview::ViewResources& viewResources;
  speech::SpeechEngineWrapper& wrapper;
  bool engineLoaded;
  std::string wavPath;
  speech::VoiceValues voice;
  int repeatCount;
};

class CMainFrame final : public fw::FrameWindow, private ReaderMessages {
 public:
  CMainFrame(const fw::Module& module, const FrameServices& services);
  ~CMainFrame() override;

  bool OnCreateClient(fw::Document& document) override;
  bool OnCommand(unsigned id) override;
  bool OnUpdateCommand(unsigned id, fw::CommandState& state) override;
  bool FrameFirst(unsigned id) const override;

  // The tree selected an item: its three texts into the panes.
  void ShowItem(long itemNumber);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool OnCreate();
  bool EnsureDatabasePath();
  std::u16string Connection() const;
  void OnFind();
  void OnContents();
  void EmptyPanes();
  void OnCopy();
  void OnSpeak();
  void StopSpeaking();
  void OnVoiceSetting();
  void OnFontSetting();
  void SaveWindowSettings();
  LOGFONTW KoreanFont() const;

  // ReaderMessages
  void ShowFailure(const std::string& text) override;
  void ShowNotFound() override;

  FrameServices services_;
  fw::StatusBar statusBar_;
  std::unique_ptr<editorview::CPasteCodeBar> toolBar_;
  fw::SplitterWindow outer_;
  fw::SplitterWindow* inner_ = nullptr;
  CMokujiTree* tree_ = nullptr;
  kana::CKanaYomi* japanese_ = nullptr;
  editorview::CTavrinView* korean_ = nullptr;
  kana::CKanaYomi* kana_ = nullptr;
  AdoRecordSource japaneseSource_, koreanSource_, kanaSource_;
  FrameSettings settings_;
  bool searchMode_ = false;
  int andOrSel_ = kAllWords;
  speech::SystemSound sound_;
  speech::WindowTimer timer_{1};
  std::unique_ptr<speech::RepeatPlayback> playback_;
};

}  // namespace ferlin
