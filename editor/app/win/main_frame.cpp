#include "main_frame.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "brisel_app.h"
#include "brisel_resource.h"
#include "gdi.h"
#include "help.h"
#include "help_route.h"
#include "recent_files.h"

namespace brisel {

namespace {

PlaceRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const PlaceRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The width of a text in a window's font, with the bar's padding.
int TextWidth(HWND window, const wchar_t* text) {
  HDC dc = GetDC(window);
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0));
  HGDIOBJ before = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
  SelectObject(dc, before);
  ReleaseDC(window, dc);
  return size.cx + 2 * GetSystemMetrics(SM_CXEDGE) + 6;
}

}  // namespace

// By the bar's own style: while the frame is being destroyed it is hidden,
// and IsWindowVisible would say so of every child.
bool CContFrameWnd::BarShown(HWND bar) { return bar && (GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE) != 0; }

// ---- CContFrameWnd ----

HWND CContFrameWnd::ToolBar() const { return GetDlgItem(hwnd(), fw::kToolBarId); }
HWND CContFrameWnd::StatusBar() const { return GetDlgItem(hwnd(), fw::kStatusBarId); }

void CContFrameWnd::ShowBar(HWND bar, bool show) {
  if (!bar) return;
  ShowWindow(bar, show ? SW_SHOW : SW_HIDE);
  RecalcLayout();
}

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
    if (HWND bar = ToolBar()) ShowWindow(bar, plan.toolBar ? SW_SHOW : SW_HIDE);
    if (HWND bar = StatusBar()) ShowWindow(bar, plan.statusBar ? SW_SHOW : SW_HIDE);
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
      const HWND tool = ToolBar();
      const HWND status = StatusBar();
      WriteWindowPlacement(CBriselApp::Get()->Profile(), FromRect(wp.rcNormalPosition), static_cast<int>(wp.showCmd),
                           BarShown(tool), BarShown(status));
    }
  }
  return fw::FrameWindow::OnMessage(message, wParam, lParam, result);
}

// ---- CMainFrame ----

bool CMainFrame::OnCreate() {
  CreateStatusBar();
  DragAcceptFiles(hwnd(), TRUE);
  return true;
}

void CMainFrame::CreateStatusBar() {
  HWND status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd(),
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(fw::kStatusBarId)), module().handle(),
                                nullptr);
  if (!status) return;
  SendMessageW(status, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(CBriselApp::Get()->ControlBarFont())), 0);
  SizeStatusPanes();
  SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(module().String(IDS_IDLE_MESSAGE).c_str()));
}

// Pane 0 the message; pane 1 the line status as wide as "999999 /9999";
// pane 2 the code as wide as "GM   "; then CAP and NUM.
void CMainFrame::SizeStatusPanes() {
  HWND status = StatusBar();
  if (!status) return;
  RECT client{};
  GetClientRect(status, &client);
  const int widths[] = {TextWidth(status, L"999999 /9999"), TextWidth(status, L"GM   "), TextWidth(status, L"CAP"),
                        TextWidth(status, L"NUM")};
  int edges[5];
  int right = client.right - GetSystemMetrics(SM_CXVSCROLL);
  for (int i = 4; i >= 1; --i) {
    edges[i] = right;
    right -= widths[i - 1];
  }
  edges[0] = right > 0 ? right : 0;
  edges[4] = -1;
  SendMessageW(status, SB_SETPARTS, 5, reinterpret_cast<LPARAM>(edges));
}

void CMainFrame::FillPasteCodeCombo() {
  HWND bar = ToolBar();
  HWND box = bar ? GetDlgItem(bar, IDS_PASTE_CODE_TIP) : nullptr;
  if (!box) return;
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  for (unsigned id : {IDS_PASTE_AUTO, IDS_PASTE_KS, IDS_PASTE_GM}) {
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(module().String(id).c_str()));
  }
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(CBriselApp::Get()->Settings().pasteCode), 0);
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
    case ID_VIEW_TOOLBAR: {
      HWND bar = ToolBar();
      ShowBar(bar, !BarShown(bar));
      return true;
    }
    case ID_VIEW_STATUS_BAR: {
      HWND bar = StatusBar();
      ShowBar(bar, !BarShown(bar));
      return true;
    }
    case ID_HELP_INDEX: WinHelp(0, fw::kWinHelpContents); return true;
    case ID_HELP_FINDER: WinHelp(0, fw::kWinHelpFinder); return true;
    case ID_HELP_USING: WinHelp(0, fw::kWinHelpHelpOnHelp); return true;
    default: return fw::FrameWindow::OnCommand(id);
  }
}

bool CMainFrame::OnUpdateCommand(unsigned id, fw::CommandState& state) {
  switch (id) {
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR: {
      HWND bar = id == ID_VIEW_TOOLBAR ? ToolBar() : StatusBar();
      state.enabled = bar != nullptr;
      state.checked = BarShown(bar);
      return true;
    }
    case ID_HELP_INDEX:
    case ID_HELP_FINDER:
    case ID_HELP_USING: state.enabled = true; return true;
    default: return fw::FrameWindow::OnUpdateCommand(id, state);
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
    case WM_SIZE:
      if (HWND status = StatusBar()) {
        SendMessageW(status, WM_SIZE, 0, 0);
        SizeStatusPanes();
      }
      break;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      result = 0;
      return true;
    case WM_INITMENUPOPUP:
      if (!HIWORD(lParam)) UpdateRecentFileItems(reinterpret_cast<HMENU>(wParam));
      break;
    default: break;
  }
  return CContFrameWnd::OnMessage(message, wParam, lParam, result);
}

}  // namespace brisel
