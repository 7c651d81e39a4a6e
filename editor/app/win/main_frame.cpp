#include "main_frame.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "brisel_app.h"
#include "brisel_resource.h"
#include "help.h"
#include "help_route.h"
#include "recent_files.h"

namespace brisel {

namespace {

PlaceRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const PlaceRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// By the bar's own style: while the frame is being destroyed it is hidden,
// and IsWindowVisible would say so of every child.
bool BarShown(HWND frame, UINT id) {
  HWND bar = GetDlgItem(frame, static_cast<int>(id));
  return bar && (GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE) != 0;
}

}  // namespace

// ---- CContFrameWnd ----

ScreenMetrics CContFrameWnd::MeasureScreen(const PlaceRect* nearRect) {
  ScreenMetrics s;
  s.vscrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  s.dialogBaseWidth = LOWORD(GetDialogBaseUnits());
  s.frameWidth = GetSystemMetrics(SM_CXFRAME);
  s.fullScreenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
  s.fullScreenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
  s.borderWidth = GetSystemMetrics(SM_CXBORDER);
  s.borderHeight = GetSystemMetrics(SM_CYBORDER);
  const RECT r = nearRect ? ToRect(*nearRect) : RECT{0, 0, 1, 1};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) {
    s.workArea = FromRect(info.rcWork);
  } else {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    s.workArea = FromRect(work);
  }
  return s;
}

void CContFrameWnd::ActivateFrame(int showCommand) {
  if (firstActivation_) {
    firstActivation_ = false;
    fw::Profile& profile = CBriselApp::Get()->Profile();
    const auto stored = ParseWindowRect(profile.GetString(kWindowSection, u"Rect", u""));
    const WindowPlacementPlan plan = PlanWindowPlacement(profile, showCommand, MeasureScreen(stored ? &*stored : nullptr));
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    wp.flags = plan.restoreToMaximized ? WPF_RESTORETOMAXIMIZED : 0;
    wp.showCmd = static_cast<UINT>(plan.showCmd);
    wp.ptMinPosition = {plan.minX, plan.minY};
    wp.ptMaxPosition = {plan.maxX, plan.maxY};
    wp.rcNormalPosition = ToRect(plan.normal);
    ShowControlBar(fw::kToolBarId, plan.toolBar);
    ShowControlBar(fw::kStatusBarId, plan.statusBar);
    SetWindowPlacement(hwnd(), &wp);
    RecalcLayout();
    showCommand = plan.showCmd;
  }
  fw::FrameWindow::ActivateFrame(showCommand);
}

bool CContFrameWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_DESTROY) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (GetWindowPlacement(hwnd(), &wp)) {
      // A floating tool bar is shown while its own window is.
      WriteWindowPlacement(CBriselApp::Get()->Profile(), FromRect(wp.rcNormalPosition), static_cast<int>(wp.showCmd),
                           IsControlBarShown(fw::kToolBarId), BarShown(hwnd(), fw::kStatusBarId));
    }
  }
  return fw::FrameWindow::OnMessage(message, wParam, lParam, result);
}

// ---- CMainFrame ----

// The tool bar (its buttons, the paste-code box, docking on every side)
// and the status bar with its panes: the message, the line status as wide
// as "999999 /9999", the font's code as wide as "GM   ", the code a plain
// save writes, CAP and NUM.
bool CMainFrame::OnCreate() {
  if (!toolBar_.Create(*this, fw::kToolBarId, module().String(IDS_TOOLBAR_TITLE)) ||
      !toolBar_.LoadToolBar(IDR_EDITOR_TOOLBAR) || !statusBar_.Create(*this, fw::kStatusBarId)) {
    return false;
  }
  toolBar_.PositionCombo();
  toolBar_.FillCombo();
  const fw::StatusPane panes[] = {
      {0, L""},          {0, L"999999 /9999"},        {0, L"GM   "},
      {0, L"Unicode   "}, {fw::kIndicatorCaps, L""}, {fw::kIndicatorNum, L""}};
  statusBar_.SetPanes(panes);
  DragAcceptFiles(hwnd(), TRUE);
  return true;
}

void CMainFrame::FillPasteCodeCombo() { toolBar_.FillCombo(); }

void CMainFrame::ShowSaveCode(const std::wstring& name) {
  if (statusBar_.hwnd() && statusBar_.PaneText(kSaveCodePane) != name) statusBar_.SetPaneText(kSaveCodePane, name);
}

void CMainFrame::WinHelp(unsigned long data, unsigned command) {
  fw::RouteWinHelpToViewer(hwnd(), CBriselApp::Get()->HelpFile(), command, data);
}

void CMainFrame::OnDropFiles(HDROP drop) {
  // One document at a time: the first file dropped opens.
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::wstring name;
  if (count > 0) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    name.resize(length + 1);
    DragQueryFileW(drop, 0, name.data(), length + 1);
    name.resize(length);
  }
  DragFinish(drop);
  if (name.empty()) return;
  SetActiveWindow(hwnd());
  SetForegroundWindow(hwnd());
  CBriselApp::Get()->OpenDocumentFile(std::u16string(name.begin(), name.end()));
}

// The file menu's recent files: the items from kFirstRecentFile on are
// replaced by the list's entries, or by the grey "最新のﾌｧｲﾙ" when it is empty.
void CMainFrame::UpdateRecentFileItems(HMENU popup) {
  int position = -1;
  for (int i = GetMenuItemCount(popup) - 1; i >= 0; --i) {
    const UINT id = GetMenuItemID(popup, i);
    if (id >= fw::cmd::kFirstRecentFile && id <= fw::cmd::kLastRecentFile) {
      position = i;
      DeleteMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);
    }
  }
  if (position < 0) return;
  const auto& entries = CBriselApp::Get()->RecentFiles().Entries();
  if (entries.empty()) {
    InsertMenuW(popup, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING | MF_GRAYED, fw::cmd::kFirstRecentFile,
                L"最新のﾌｧｲﾙ");
    return;
  }
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  const std::wstring current(folder);
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::u16string text = fw::RecentFileMenuText(entries[i], i, std::u16string(current.begin(), current.end()));
    InsertMenuW(popup, static_cast<UINT>(position + static_cast<int>(i)), MF_BYPOSITION | MF_STRING,
                fw::cmd::kFirstRecentFile + i, std::wstring(text.begin(), text.end()).c_str());
  }
}

bool CMainFrame::OnCommand(unsigned id) {
  switch (id) {
    case ID_HELP_INDEX: WinHelp(0, fw::kWinHelpContents); return true;
    case ID_HELP_FINDER: WinHelp(0, fw::kWinHelpFinder); return true;
    case ID_HELP_USING: WinHelp(0, fw::kWinHelpHelpOnHelp); return true;
    default: return CContFrameWnd::OnCommand(id);
  }
}

bool CMainFrame::OnUpdateCommand(unsigned id, fw::CommandState& state) {
  switch (id) {
    case ID_HELP_INDEX:
    case ID_HELP_FINDER:
    case ID_HELP_USING: state.enabled = true; return true;
    default: return CContFrameWnd::OnUpdateCommand(id, state);
  }
}

bool CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      if (!OnCreate()) {
        result = -1;
        return true;
      }
      return false;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      result = 0;
      return true;
    case WM_INITMENUPOPUP:
      if (!HIWORD(lParam)) UpdateRecentFileItems(reinterpret_cast<HMENU>(wParam));
      break;
    case WM_COMMAND: {
      // A command that saved the document under another name puts that name
      // on the recent files at once, before the next command can rename it
      // again (the idle check alone misses a name when commands follow one
      // another with no idle moment between them).
      const bool handled = CContFrameWnd::OnMessage(message, wParam, lParam, result);
      CBriselApp::Get()->NoteRecentFile();
      return handled;
    }
    default: break;
  }
  return CContFrameWnd::OnMessage(message, wParam, lParam, result);
}

}  // namespace brisel
