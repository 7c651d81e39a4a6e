// The text player's main frame CMainFrame: the tool bar whose one button
// is 読み上げ or 中止, the five-pane status bar, the static splitter with the
// Korean editor view above the kana pane, the read-aloud with its timer, the
// font dialog, the window's place and fonts under "Tessaly3", and the speech
// service's requests (WM_COPYDATA "SPEAK" / "STOP") and notices.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "fork_document.h"
#include "frame.h"
#include "gm_converter.h"
#include "hangul_view.h"
#include "kana_pane.h"
#include "player_settings.h"
#include "read_aloud.h"
#include "rtf_clip.h"
#include "splitter.h"
#include "statusbar.h"
#include "toolbar.h"
#include "win_playback.h"

namespace tessaly {

// The document of the Korean pane: its lines in memory; closing the player
// never asks about them.
class CTessalyDoc final : public editorview::ForkLineDocument {
 public:
  using ForkLineDocument::ForkLineDocument;
  bool SaveModified() override { return true; }
};

// What the frame needs of the program.
struct FrameServices {
  const codeconv::GmCodeConverter& gm;
  const editorview::ViewResources& viewResources;
  speech::SpeechEngineWrapper& wrapper;
  int requesterWindow;  // 0: no client
};

class CMainFrame final : public fw::FrameWindow, private ReadAloudUi {
 public:
  CMainFrame(const fw::Module& module, const FrameServices& services);
  ~CMainFrame() override;

  bool OnCreateClient(fw::Document& document) override;
  bool OnCommand(unsigned id) override;
  bool OnUpdateCommand(unsigned id, fw::CommandState& state) override;
  // 読み上げ, 中止 and the font setting share their ids with commands of the
  // editor view: they are the frame's.
  bool FrameFirst(unsigned id) const override;

  editorview::CTavrinView* View() const { return view_; }
  kana::CKanaYomi* KanaPane() const { return kana_; }
  const PlayerReadAloud& ReadAloud() const { return *readAloud_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool OnCreate();
  void OnSpeak();
  void StopSpeaking() { readAloud_->StopSpeaking(); }
  void OnFontSetting();
  void OnCopyData(const COPYDATASTRUCT* data);
  void SpeakClipboard();
  // The clipboard's text put into the editor in place of what it held.
  void ReplaceText(const std::string& ks);
  std::string GetSpeechText();
  bool HoldsText();
  void SaveWindowSettings();
  LOGFONTW KoreanFont() const;

  // ReadAloudUi
  void ShowSpeaking(bool speaking) override;
  void ShowKana(const std::string& reading) override;
  void BeginWait() override;
  void EndWait() override;
  void ShowSynthesisFailed() override;
  void SendStopNotice() override;

  FrameServices services_;
  fw::StatusBar statusBar_;
  fw::ToolBar toolBar_;
  fw::SplitterWindow splitter_;
  editorview::CTavrinView* view_ = nullptr;
  kana::CKanaYomi* kana_ = nullptr;
  speech::SystemSound sound_;
  speech::WindowTimer timer_{1};
  std::unique_ptr<PlayerReadAloud> readAloud_;
  WindowSettings settings_;
  int voiceCode_ = 0;
  HCURSOR cursorBefore_ = nullptr;
};

}  // namespace tessaly
