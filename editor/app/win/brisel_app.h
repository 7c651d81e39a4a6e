// The editor program BRISELV6.EXE: its application object (start-up, idle
// work, exit, opening documents by name, the file dialog), and what the
// frame, the view and the dialogs share through it: the profile and the
// settings, the recent-file list, the view font, the help file.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app.h"
#include "brisel_doc.h"
#include "charvane_detector.h"
#include "doc_notices.h"
#include "editor_dialogs.h"
#include "editor_settings.h"
#include "gm_converter.h"
#include "hangul_view.h"
#include "page_setup_dialog.h"
#include "profile.h"
#include "profile_win.h"
#include "recent_files.h"
#include "rtf_clip.h"
#include "sdi.h"
#include "win_file_store.h"

namespace brisel {

class CMainFrame;
class BriselDocumentUi;

class CBriselApp final : public fw::App, public EditorDialogsHost {
 public:
  explicit CBriselApp(const fw::Module& module);
  ~CBriselApp() override;

  static CBriselApp* Get() { return static_cast<CBriselApp*>(fw::App::Current()); }

  fw::Profile& Profile() { return profile_; }
  EditorSettings& Settings() { return settings_; }
  // The view's copy of the paste and copy settings, taken from Settings().
  editorview::ViewSettings& ViewSettings() { return viewSettings_; }
  void SyncViewSettings();
  fw::RecentFileList& RecentFiles() { return recentFiles_; }
  const std::string& HelpFile() const { return helpFile_; }
  HDC ScreenDc() const { return screenDc_; }
  bool NewShell() const { return newShell_; }
  // The stock font of control bars (DEFAULT_GUI_FONT on the new shell).
  int ControlBarFont() const { return newShell_ ? DEFAULT_GUI_FONT : ANSI_VAR_FONT; }

  // The view font and its type (the "Font" section).
  const LOGFONTW& ViewLogFont() const { return viewFont_; }
  // A font chosen in the font dialog: kept and written to "Font".
  void SetViewLogFont(const LOGFONTW& font, int fontType);
  // The next idle moment activates the input method for the view's font.
  void SetImeFlag() { imeFlag_ = true; }

  CMainFrame* MainFrame() const;
  editorview::CBriselView* View() const;
  CBriselDoc* ActiveDocument() const;

  // Opens a file by the name a user or the shell gave (quotes, a relative
  // path, a shortcut); null on failure (the user has been told).
  fw::Document* OpenDocumentFile(std::u16string_view name);
  // The open or save dialog with the file-code box; true when OK was
  // pressed (name then holds the path).
  bool DoPromptFileName(std::wstring& name, unsigned titleId, DWORD flags, bool open);

  bool OnCommand(unsigned id) override;
  bool OnUpdateCommand(unsigned id, fw::CommandState& state) override;

  // What the find/replace sheet, the font dialog and the settings dialog
  // need of the program.
  editorview::ViewSettings& CopySettings() override { return viewSettings_; }
  // The view font's type ("FontType" of the section "Font").
  int FontType() const override { return fontType_; }
  void FontChosen(const LOGFONTW& font, int fontType, bool codeChanged) override;
  void RequestImeActivation() override { SetImeFlag(); }
  int ReadingCode() const override { return settings_.inFileType; }
  bool CanReread() const override;
  void Reread() override;
  // A document under a new path goes to the top of the recent files.
  void NoteRecentFile();

 protected:
  bool InitInstance() override;
  bool OnIdle(long count) override;
  int ExitInstance() override;

 private:
  void OnFileOpen();
  void OnPageSetup();
  void OpenRecentFile(unsigned id);
  // The view's copy of the settings back into Settings() (at exit).
  void TakeViewSettings();

  fw::IniProfileStore store_;
  fw::Profile profile_;
  EditorSettings settings_;
  editorview::ViewSettings viewSettings_;
  fw::RecentFileList recentFiles_{4};
  std::string helpFile_;
  HDC screenDc_ = nullptr;
  bool newShell_ = true;
  LOGFONTW viewFont_{};
  int fontType_ = 4;
  bool imeFlag_ = false;
  std::u16string lastPath_;
  IniProfile pageProfile_;                 // "PageSet", as the page setup reads and writes it
  editorview::PageSettings pageSettings_;  // what the view prints with  // of the document, as the recent-file list last saw it

  codeconv::GmCodeConverter gm_;
  editorview::RtfClipBuilder rtf_;
  editorview::ViewResources viewResources_;
  std::unique_ptr<EditorDialogs> dialogs_;
  std::unique_ptr<BriselDocumentUi> ui_;
  Win32FileStore files_;
  Win32DocumentHost docHost_;
  CharvaneDetector detector_;
  std::unique_ptr<fw::SdiFrames> frames_;
  std::unique_ptr<fw::SingleDocTemplate> template_;
};

// The path a shortcut file points to; empty when it cannot be resolved.
std::wstring ResolveShortcut(const std::wstring& path);

}  // namespace brisel
