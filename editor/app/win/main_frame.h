// The editor's main frame: CContFrameWnd keeps the window's place in the
// profile ("Window size", written when the frame is destroyed, read at its
// first activation); CMainFrame adds the tool bar with the paste-code box,
// the five-pane status bar, dropped files, the recent files of the file
// menu and the help routing.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "frame.h"
#include "paste_code_bar.h"
#include "statusbar.h"
#include "window_placement.h"

namespace brisel {

class CContFrameWnd : public fw::FrameWindow {
 public:
  explicit CContFrameWnd(const fw::Module& module) : fw::FrameWindow(module) {}
  void ActivateFrame(int showCommand) override;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // The screen as the placement rules need it, for the monitor nearest nearRect.
  static ScreenMetrics MeasureScreen(const PlaceRect* nearRect);

 private:
  bool firstActivation_ = true;
};

class CMainFrame final : public CContFrameWnd {
 public:
  // pasteCode: the setting the paste-code box shows and sets.
  CMainFrame(const fw::Module& module, int& pasteCode)
      : CContFrameWnd(module), toolBar_(module, pasteCode), statusBar_(module) {}

  // WinHelp of the frame: HTML Help on the program's help file.
  void WinHelp(unsigned long data, unsigned command);
  // The paste-code box emptied, filled with its three items and set to PasteCode.
  void FillPasteCodeCombo();
  // The status bar's pane of the code that a plain save writes.
  static constexpr int kSaveCodePane = 3;
  void ShowSaveCode(const std::wstring& name);

  bool OnCommand(unsigned id) override;
  bool OnUpdateCommand(unsigned id, fw::CommandState& state) override;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool OnCreate();
  void OnDropFiles(HDROP drop);
  void UpdateRecentFileItems(HMENU popup);

  editorview::CPasteCodeBar toolBar_;
  fw::StatusBar statusBar_;
};

}  // namespace brisel
