// Wine test of the frame's control bars (32-bit, one process):
//
//   bars_test.exe <screenshot folder>
//
// A frame of the framework made as the editor makes its own: the paste-code
// tool bar from the editor's tool-bar resource, the five-pane status bar, and
// the editor's view. The bar shows its ten buttons and the box at slot 8
// with its three items; choosing an item with the mouse sets PasteCode at
// once; a command no one takes has a grey button after idle, a click on a
// taken one reaches the frame; pointing at a button shows its tool tip and
// its prompt in the message pane, and a menu item's prompt shows while it is
// selected; the panes are sized from their texts, the view sets panes 1 and
// 2, CAP follows the key; hiding the bar gives its room to the view; the bar
// docked at the left stands in a column with the view beside it, and the
// gripper drags it to the right, off the frame into its floating window,
// and back. A second bar of the class with its own box id, slot and items
// (as the listening program makes its copy-source bar) docks at the bottom
// above the status bar; a pane with an id takes its text from update-UI.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app.h"
#include "check.h"
#include "frame.h"
#include "hangul_view.h"
#include "input.h"
#include "line_document.h"
#include "paste_code_bar.h"
#include "screenshot.h"
#include "sdi.h"
#include "statusbar.h"
#include "test_documents.h"
#include "utf8_text.h"

using wtest::check;

namespace {

constexpr wchar_t kProgram[] = L"BarsTest";
constexpr unsigned kFileNew = 57600;
constexpr unsigned kFileOpen = 57601;
constexpr unsigned kSecondBar = 0xE803;
constexpr unsigned kCopySourceBox = 61213;
constexpr unsigned kClockPane = 0xE910;

std::string U8(const std::wstring& s) { return editorview::Utf16ToUtf8String(std::u16string(s.begin(), s.end())); }

// The frame as the editor's main frame makes its bars.
class BarsFrame final : public fw::FrameWindow {
 public:
  BarsFrame(const fw::Module& module, int& pasteCode) : fw::FrameWindow(module), toolBar(module, pasteCode), statusBar(module) {}
  editorview::CPasteCodeBar toolBar;
  fw::StatusBar statusBar;
  int newCommands = 0;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_CREATE) {
      if (!toolBar.Create(*this, fw::kToolBarId, module().String(IDS_TOOLBAR_TITLE)) ||
          !toolBar.LoadToolBar(IDR_EDITOR_TOOLBAR) || !statusBar.Create(*this, fw::kStatusBarId)) {
        result = -1;
        return true;
      }
      toolBar.PositionCombo();
      toolBar.FillCombo();
      const fw::StatusPane panes[] = {
          {0, L""}, {0, L"999999 /9999"}, {0, L"GM   "}, {fw::kIndicatorCaps, L""}, {fw::kIndicatorNum, L""}};
      statusBar.SetPanes(panes);
      result = 0;
      return true;
    }
    return fw::FrameWindow::OnMessage(message, wParam, lParam, result);
  }
  bool OnCommand(unsigned id) override {
    if (id != kFileNew) return fw::FrameWindow::OnCommand(id);
    ++newCommands;
    return true;
  }
  bool OnUpdateCommand(unsigned id, fw::CommandState& state) override {
    if (id == kClockPane) state.text = u"12:34";
    return id == kFileNew || id == kClockPane || fw::FrameWindow::OnUpdateCommand(id, state);
  }
};

class BarsApp final : public fw::App {
 public:
  using fw::App::App;
};

BarsApp* g_app = nullptr;

// The application's messages and its idle work for about ms milliseconds.
void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    g_app->PumpWaitingMessages();
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

RECT WindowRectIn(HWND w, HWND parent) {
  RECT r{};
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring Text(HWND w) {
  wchar_t buf[256]{};
  GetWindowTextW(w, buf, 256);
  return buf;
}

// The frame's visible tool-tip window, or null.
HWND ShownTip(HWND tips) { return tips && IsWindowVisible(tips) ? tips : nullptr; }

POINT ScreenCentreOf(HWND w, RECT r) {
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(w, &p);
  return p;
}

// A drag with the mouse's left button from one screen point to another.
void Drag(POINT from, POINT to) {
  wtest::MouseTo(from);
  wtest::MouseButton(true);
  for (int step = 1; step <= 4; ++step)
    wtest::MouseTo({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
  wtest::MouseButton(false);
  Pump(200);
}

// The same drag queued as one input sequence before anything is pumped: a
// window caption's drag runs the system's own move loop inside this thread,
// which takes the rest of the sequence from the queue.
void QueuedDrag(POINT from, POINT to) {
  auto at = [](POINT p, DWORD buttons) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    return in;
  };
  wtest::MouseTo(from);
  std::vector<INPUT> sequence{at(from, MOUSEEVENTF_LEFTDOWN)};
  for (int step = 1; step <= 4; ++step)
    sequence.push_back(at({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4}, 0));
  sequence.push_back(at(to, MOUSEEVENTF_LEFTUP));
  SendInput(static_cast<UINT>(sequence.size()), sequence.data(), sizeof(INPUT));
  Pump(600);
}

// Drops a box's list with a click and clicks its item, with a screenshot of
// the dropped list.
void ChooseWithMouse(HWND combo, int index, HWND shotOf, const std::wstring& shots, const wchar_t* shot) {
  wtest::Click(wtest::WindowCentre(combo));
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(combo, &info);
  RECT item{};
  SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  check(IsWindowVisible(info.hwndList) != FALSE, "a click drops the box's list");
  wtest::Capture(shotOf, shots, shot);
  wtest::Click(ScreenCentreOf(info.hwndList, item));
}

int TextWidth(HWND w, const std::wstring& text) {
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
  SIZE s{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  return s.cx;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 bars";
  if (argc != 2) {
    std::printf("usage: bars_test <screenshot folder>\n");
    return 2;
  }
  wchar_t folder[MAX_PATH]{};
  MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, folder, MAX_PATH);
  const std::wstring shots = folder;

  const fw::Module module = fw::Module::Containing(reinterpret_cast<const void*>(&main));
  BarsApp app(module, kProgram);
  g_app = &app;
  wtest::NoSaveUi ui(module);
  wtest::LinesDocument document(ui);
  editorview::ViewSettings settings;
  editorview::ViewResources resources;
  resources.module = module;
  resources.settings = &settings;
  LOGFONTW font{};
  font.lfHeight = -21;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = HANGEUL_CHARSET;
  lstrcpyW(font.lfFaceName, L"NanumGothic");

  BarsFrame frame(module, settings.pasteCode);
  const RECT place{20, 20, 700, 460};
  HWND fw = frame.CreateFrame(kProgram, 128, 0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, &place);
  if (!check(fw != nullptr, "the frame and its bars are created")) return wtest::finish();
  app.SetMainWindow(fw);
  editorview::CBriselView view(document, document, resources, font);
  check(view.Create(frame) != nullptr, "the view is created");
  frame.SetActiveView(&view);
  view.OnInitialUpdate();
  // Laid out before the frame shows: what a program reads at its first
  // activation (its bars shown per its profile) holds already.
  check(frame.IsControlBarShown(fw::kToolBarId) && frame.IsControlBarShown(fw::kStatusBarId),
        "before the frame shows, both bars count as shown");
  check(WindowRectIn(view.hwnd(), fw).top == frame.toolBar.Thickness() &&
            WindowRectIn(view.hwnd(), fw).bottom == WindowRectIn(frame.statusBar.hwnd(), fw).top,
        "before the frame shows, the view lies between the bars");
  ShowWindow(fw, SW_SHOWNORMAL);
  UpdateWindow(fw);
  SetForegroundWindow(fw);
  Pump(400);

  editorview::CPasteCodeBar& bar = frame.toolBar;
  HWND buttons = bar.buttons();
  HWND status = frame.statusBar.hwnd();

  // ---- the buttons and the box ----
  const int slots = static_cast<int>(SendMessageW(buttons, TB_BUTTONCOUNT, 0, 0));
  check(slots == 16, "sixteen slots: %d", slots);
  std::vector<unsigned> ids;
  int pictures = 0;
  for (int i = 0; i < slots; ++i) {
    TBBUTTON b{};
    SendMessageW(buttons, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
    ids.push_back(static_cast<unsigned>(b.idCommand));
    if (!(b.fsStyle & BTNS_SEP)) {
      check(b.iBitmap == pictures, "slot %d shows picture %d: %d", i, pictures, b.iBitmap);
      ++pictures;
    }
  }
  check(pictures == 10, "ten buttons: %d", pictures);
  const std::vector<unsigned> expectedIds{57600, 57601, 57603, 57607, 0, 57635, 0, 57637, IDC_PASTE_CODE_BOX, 0,
                                          57634, 57638, 0,     57636, 0, 57666};
  check(ids == expectedIds, "the slots' ids in the editor's order, the box's id at slot 8");
  HWND combo = bar.combo();
  check(combo && GetDlgCtrlID(combo) == static_cast<int>(IDC_PASTE_CODE_BOX), "the box has id 62003");
  const RECT slot8 = bar.SlotRect(8);
  const RECT box = WindowRectIn(combo, bar.hwnd());
  check(slot8.right - slot8.left == box.right - box.left, "slot 8 is as wide as the box: %ld / %ld",
        slot8.right - slot8.left, box.right - box.left);
  check(box.left == slot8.left, "the box stands in slot 8: %ld / %ld", box.left, slot8.left);
  const int above = box.top - slot8.top, below = slot8.bottom - box.bottom;
  check(above - below >= -1 && above - below <= 1, "the box is centred in the slot's height: %d above, %d below", above,
        below);
  const int items = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  check(items == 3, "three items: %d", items);
  const wchar_t* const itemTexts[] = {L"自動識別 貼り付け", L"KSｺｰﾄﾞ 貼り付け", L"GMｺｰﾄﾞ 貼り付け"};
  for (int i = 0; i < 3 && i < items; ++i) {
    wchar_t text[64]{};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    check(std::wstring(text) == itemTexts[i], "item %d: %s", i, U8(text).c_str());
  }
  check(SendMessageW(combo, CB_GETCURSEL, 0, 0) == 0, "PasteCode 0 selects the first item");

  // ---- the status bar ----
  int edges[8]{};
  const int parts = static_cast<int>(SendMessageW(status, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)));
  check(parts == 5, "five panes: %d", parts);
  const int pane1 = edges[1] - edges[0], pane2 = edges[2] - edges[1];
  const int need1 = TextWidth(status, L"999999 /9999"), need2 = TextWidth(status, L"GM   ");
  check(pane1 > need1 && pane1 < need1 + 24, "pane 1 holds \"999999 /9999\": %d for %d", pane1, need1);
  check(pane2 > need2 && pane2 < need2 + 24, "pane 2 holds \"GM   \": %d for %d", pane2, need2);
  check(edges[0] > pane1, "the message pane takes the rest: %d", edges[0]);
  check(frame.statusBar.PaneText(0) == L"レディ", "the idle message: %s", U8(frame.statusBar.PaneText(0)).c_str());
  check(frame.statusBar.PaneText(1) == L"    1 /    1", "the view's line status in pane 1: %s",
        U8(frame.statusBar.PaneText(1)).c_str());
  check(frame.statusBar.PaneText(2) == L"KS", "the view's code in pane 2: %s", U8(frame.statusBar.PaneText(2)).c_str());
  wtest::ClickClient(view.hwnd(), 200, 100);
  wtest::SendKeys({VK_RETURN});
  Pump(100);
  check(frame.statusBar.PaneText(1) == L"    2 /    2", "a new line typed: pane 1 %s", U8(frame.statusBar.PaneText(1)).c_str());

  // ---- idle update of the buttons, a click ----
  check(SendMessageW(buttons, TB_ISBUTTONENABLED, kFileNew, 0) != 0, "a command the frame takes has its button enabled");
  check(SendMessageW(buttons, TB_ISBUTTONENABLED, kFileOpen, 0) == 0, "a command no one takes is grey after idle");
  check(SendMessageW(buttons, TB_ISBUTTONENABLED, 57635, 0) == 0, "the view's cut is grey without a selection");
  // Text on the clipboard: the view's paste becomes available at the next idle.
  if (OpenClipboard(fw)) {
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 8);
    lstrcpyW(static_cast<wchar_t*>(GlobalLock(text)), L"abc");
    GlobalUnlock(text);
    SetClipboardData(CF_UNICODETEXT, text);
    CloseClipboard();
  }
  Pump(200);
  check(SendMessageW(buttons, TB_ISBUTTONENABLED, 57637, 0) != 0, "the view's paste is enabled with text to paste");
  // On the screen: the paste button shows its ochre board, the grey open
  // button none of its folder's yellow.
  const wtest::Shot top = wtest::Capture(fw, shots, L"bars-top");
  auto slotInShot = [&](int index) {
    RECT r = bar.SlotRect(index);
    MapWindowPoints(bar.hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    RECT w{};
    GetWindowRect(fw, &w);
    OffsetRect(&r, -w.left, -w.top);
    return r;
  };
  const int ochre = top.Count(slotInShot(7), [](COLORREF c) { return wtest::Near(c, RGB(128, 128, 0), 16); });
  const int yellow = top.Count(slotInShot(1), [](COLORREF c) { return wtest::Near(c, RGB(255, 255, 0), 40); });
  check(ochre > 20, "the enabled paste button is drawn in colour: %d ochre pixels", ochre);
  check(yellow == 0, "the disabled open button is drawn grey: %d yellow pixels", yellow);
  wtest::Click(ScreenCentreOf(bar.hwnd(), bar.SlotRect(0)));
  Pump(200);
  check(frame.newCommands == 1, "a click on the button is the frame's command: %d", frame.newCommands);

  // ---- tool tip and fly-by help ----
  HWND tips = reinterpret_cast<HWND>(SendMessageW(buttons, TB_GETTOOLTIPS, 0, 0));
  const POINT open = ScreenCentreOf(bar.hwnd(), bar.SlotRect(1));
  wtest::MouseTo({open.x - 3, open.y});
  wtest::MouseTo(open);
  std::wstring prompt;
  for (int i = 0; i < 40 && !ShownTip(tips); ++i) {
    Pump(80);
    if (prompt.empty() || prompt == L"レディ") prompt = frame.statusBar.PaneText(0);
  }
  check(ShownTip(tips) != nullptr, "pointing at the open button shows a tool tip");
  check(Text(tips) == L"開く", "its tip: %s", U8(Text(tips)).c_str());
  check(prompt == L"既存のﾌｧｲﾙを開く", "its prompt in the message pane: %s", U8(prompt).c_str());
  wtest::Capture(fw, shots, L"bars-tooltip");
  wtest::MouseTo(ScreenCentreOf(view.hwnd(), {100, 100, 102, 102}));
  Pump(300);
  check(frame.statusBar.PaneText(0) == L"レディ", "away from the bar, the idle message again: %s",
        U8(frame.statusBar.PaneText(0)).c_str());
  // The box's tool tip.
  wtest::MouseTo(wtest::WindowCentre(bar.combo()));
  for (int i = 0; i < 40 && !(ShownTip(tips) && Text(tips) == L"貼り付け形式"); ++i) Pump(80);
  check(Text(tips) == L"貼り付け形式", "pointing at the box shows its tip: %s", U8(Text(tips)).c_str());
  wtest::MouseTo(ScreenCentreOf(view.hwnd(), {100, 100, 102, 102}));
  Pump(300);
  // A menu item's prompt while it is selected, the idle message when the menu closes.
  HMENU menu = GetMenu(fw);
  SendMessageW(fw, WM_MENUSELECT, MAKEWPARAM(kFileNew, MF_STRING), reinterpret_cast<LPARAM>(GetSubMenu(menu, 0)));
  check(frame.statusBar.PaneText(0) == L"新規にﾌｧｲﾙを作成", "a selected menu item's prompt: %s",
        U8(frame.statusBar.PaneText(0)).c_str());
  SendMessageW(fw, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  check(frame.statusBar.PaneText(0) == L"レディ", "the menu closed: the idle message");

  // ---- the box chosen with the mouse ----
  ChooseWithMouse(combo, 1, fw, shots, L"bars-box");
  check(settings.pasteCode == 1, "choosing \"KSｺｰﾄﾞ 貼り付け\" sets PasteCode 1 at once: %d", settings.pasteCode);
  settings.pasteCode = 0;
  bar.FillCombo();
  check(SendMessageW(combo, CB_GETCURSEL, 0, 0) == 0, "after the setting returns to 0 the box shows the first item");
  settings.pasteCode = 2;
  bar.FillCombo();
  check(SendMessageW(combo, CB_GETCURSEL, 0, 0) == 2, "PasteCode 2 shows \"GMｺｰﾄﾞ 貼り付け\"");
  settings.pasteCode = 7;
  bar.FillCombo();
  check(SendMessageW(combo, CB_GETCURSEL, 0, 0) == 0 && settings.pasteCode == 0,
        "a PasteCode that names no item shows the first and becomes 0: %d", settings.pasteCode);

  // ---- CAP ----
  const bool capsWas = (GetKeyState(VK_CAPITAL) & 1) != 0;
  wtest::SendKeys({VK_CAPITAL});
  Pump(200);
  const bool capsNow = (GetKeyState(VK_CAPITAL) & 1) != 0;
  check(capsNow != capsWas, "the caps lock key toggles");
  check(frame.statusBar.PaneText(3) == (capsNow ? L"CAP" : L""), "the CAP pane follows the key: \"%s\"",
        U8(frame.statusBar.PaneText(3)).c_str());
  if (capsNow != capsWas) wtest::SendKeys({VK_CAPITAL});
  Pump(200);

  // ---- hiding the tool bar ----
  const int barHeight = bar.Thickness();
  check(WindowRectIn(view.hwnd(), fw).top == barHeight, "the view starts below the bar: %ld / %d",
        WindowRectIn(view.hwnd(), fw).top, barHeight);
  HMENU viewMenu = GetSubMenu(menu, 1);
  SendMessageW(fw, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(viewMenu), 1);
  check((GetMenuState(viewMenu, fw::kToolBarId, MF_BYCOMMAND) & MF_CHECKED) != 0, "ﾂｰﾙ ﾊﾞｰ is checked while shown");
  SendMessageW(fw, WM_COMMAND, MAKEWPARAM(fw::kToolBarId, 0), 0);
  Pump(150);
  check(!bar.IsShown(), "59392 hides the bar");
  check(WindowRectIn(view.hwnd(), fw).top == 0, "the view takes the bar's room: top %ld", WindowRectIn(view.hwnd(), fw).top);
  SendMessageW(fw, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(viewMenu), 1);
  check((GetMenuState(viewMenu, fw::kToolBarId, MF_BYCOMMAND) & MF_CHECKED) == 0, "ﾂｰﾙ ﾊﾞｰ is unchecked while hidden");
  SendMessageW(fw, WM_COMMAND, MAKEWPARAM(fw::kToolBarId, 0), 0);
  Pump(150);
  check(bar.IsShown() && WindowRectIn(view.hwnd(), fw).top == barHeight, "59392 again shows it above the view");
  RECT viewBefore = WindowRectIn(view.hwnd(), fw);
  SendMessageW(fw, WM_COMMAND, MAKEWPARAM(fw::kStatusBarId, 0), 0);
  Pump(150);
  check(!IsWindowVisible(status) && WindowRectIn(view.hwnd(), fw).bottom > viewBefore.bottom,
        "59393 hides the status bar and the view grows down");
  SendMessageW(fw, WM_COMMAND, MAKEWPARAM(fw::kStatusBarId, 0), 0);
  Pump(150);
  check(IsWindowVisible(status) && WindowRectIn(view.hwnd(), fw).bottom == viewBefore.bottom, "59393 shows it again");

  // ---- docked at the left ----
  const SIZE upright = bar.ShapeFor(true), flat = bar.ShapeFor(false);
  const SIZE flatNow = bar.Extent(false);
  check(flat.cx == flatNow.cx && flat.cy == flatNow.cy, "the flat outline is the bar's size: %ldx%ld / %ldx%ld", flat.cx,
        flat.cy, flatNow.cx, flatNow.cy);
  bar.Dock(fw::DockSide::kLeft);
  Pump(200);
  RECT barRect = WindowRectIn(bar.hwnd(), fw);
  RECT viewRect = WindowRectIn(view.hwnd(), fw);
  check(barRect.left == 0 && barRect.top == 0 && barRect.right - barRect.left < barRect.bottom - barRect.top,
        "at the left the bar stands upright: (%ld,%ld)-(%ld,%ld)", barRect.left, barRect.top, barRect.right, barRect.bottom);
  check(viewRect.left == barRect.right && viewRect.top == 0, "the view beside it: left %ld", viewRect.left);
  bool column = true;
  for (int i = 1; i < slots; ++i) column = column && bar.SlotRect(i).top >= bar.SlotRect(i - 1).bottom;
  check(column, "its slots in one column");
  check(!IsWindowVisible(combo), "the box does not stand in the column");
  check(barRect.right - barRect.left == upright.cx && bar.Extent(true).cy == upright.cy,
        "the upright outline shown while dragging is the size it takes: %ldx%ld / %ldx%ld", upright.cx, upright.cy,
        barRect.right - barRect.left, bar.Extent(true).cy);
  wtest::Capture(fw, shots, L"bars-left");

  // Dragged by its gripper to the right edge.
  RECT frameClient{};
  GetClientRect(fw, &frameClient);
  POINT grip{(barRect.left + barRect.right) / 2, 4};
  ClientToScreen(fw, &grip);
  POINT rightEdge{frameClient.right - 4, frameClient.bottom / 2};
  ClientToScreen(fw, &rightEdge);
  Drag(grip, rightEdge);
  barRect = WindowRectIn(bar.hwnd(), fw);
  viewRect = WindowRectIn(view.hwnd(), fw);
  check(bar.side() == fw::DockSide::kRight && barRect.right == frameClient.right && viewRect.right == barRect.left &&
            viewRect.left == 0,
        "dragged by the gripper to the right edge it docks there: side %d, view (%ld..%ld)", static_cast<int>(bar.side()),
        viewRect.left, viewRect.right);

  // Off the frame: a floating window of its own; the view takes the room.
  grip = {(barRect.left + barRect.right) / 2, 4};
  ClientToScreen(fw, &grip);
  POINT middle{frameClient.right / 2, frameClient.bottom / 2};
  ClientToScreen(fw, &middle);
  Drag(grip, middle);
  HWND floating = bar.floatingWindow();
  check(bar.side() == fw::DockSide::kFloat && floating && IsWindowVisible(floating), "dropped in the middle it floats");
  check(floating && Text(floating) == L"ﾂｰﾙ ﾊﾞｰ", "the floating window's caption: %s", U8(Text(floating)).c_str());
  viewRect = WindowRectIn(view.hwnd(), fw);
  check(viewRect.left == 0 && viewRect.top == 0 && viewRect.right == frameClient.right, "the view takes the whole width");
  check(IsWindowVisible(combo) != FALSE, "floating, the bar lies flat with its box");
  wtest::Capture(floating ? floating : fw, shots, L"bars-floating");
  // Its buttons still command the frame.
  wtest::Click(ScreenCentreOf(bar.hwnd(), bar.SlotRect(0)));
  Pump(200);
  check(frame.newCommands == 2, "a floating button is the frame's command: %d", frame.newCommands);
  // A double click on its caption docks it where it was docked last.
  if (floating) {
    RECT fr{};
    GetWindowRect(floating, &fr);
    wtest::Click({(fr.left + fr.right) / 2, fr.top + GetSystemMetrics(SM_CYSMCAPTION) / 2 + 1}, 2);
    Pump(200);
  }
  check(bar.side() == fw::DockSide::kRight && !bar.floatingWindow(), "a double click on the caption docks it again");
  // Floating again, its window moved by the caption over the left edge docks it there.
  barRect = WindowRectIn(bar.hwnd(), fw);
  grip = {(barRect.left + barRect.right) / 2, 4};
  ClientToScreen(fw, &grip);
  Drag(grip, middle);
  floating = bar.floatingWindow();
  if (check(floating != nullptr, "dragged off again it floats")) {
    RECT fr{};
    GetWindowRect(floating, &fr);
    POINT leftEdge{4, frameClient.bottom / 2};
    ClientToScreen(fw, &leftEdge);
    QueuedDrag({fr.left + 30, fr.top + GetSystemMetrics(SM_CYSMCAPTION) / 2 + 1}, leftEdge);
    Pump(200);
  }
  check(bar.side() == fw::DockSide::kLeft && !bar.floatingWindow() && WindowRectIn(view.hwnd(), fw).left == bar.Thickness(),
        "its window let go over the left edge: docked at the left, side %d", static_cast<int>(bar.side()));
  bar.Dock(fw::DockSide::kTop);
  Pump(200);
  check(WindowRectIn(view.hwnd(), fw).top == barHeight && IsWindowVisible(combo),
        "back at the top: flat, with its box, above the view");
  wtest::Capture(fw, shots, L"bars-back");

  // ---- a second bar made as the listening program makes its copy-source bar ----
  int copySource = 0;
  editorview::CPasteCodeBar second(module, copySource, {kCopySourceBox, 2, {IDS_PASTE_GM, IDS_PASTE_KS}});
  const bool made = second.Create(frame, kSecondBar) && second.LoadToolBar(IDR_EDITOR_TOOLBAR);
  check(made, "a second bar of the class is created");
  if (made) {
    second.PositionCombo();
    second.FillCombo();
    second.Dock(fw::DockSide::kBottom);
    Pump(200);
    check(second.SlotId(2) == kCopySourceBox && GetDlgCtrlID(second.combo()) == static_cast<int>(kCopySourceBox),
          "its box has its own id at its own slot");
    const RECT slot2 = second.SlotRect(2), box2 = WindowRectIn(second.combo(), second.hwnd());
    check(box2.left == slot2.left && slot2.right - slot2.left == box2.right - box2.left, "its box stands in slot 2");
    check(SendMessageW(second.combo(), CB_GETCOUNT, 0, 0) == 2, "its own two items");
    const RECT secondRect = WindowRectIn(second.hwnd(), fw), statusRect = WindowRectIn(status, fw);
    check(secondRect.bottom == statusRect.top && WindowRectIn(view.hwnd(), fw).bottom == secondRect.top &&
              WindowRectIn(view.hwnd(), fw).top == barHeight,
          "docked at the bottom it sits above the status bar, the view between the bars");
    ChooseWithMouse(second.combo(), 1, fw, shots, L"bars-second");
    check(copySource == 1 && settings.pasteCode == 0, "its box sets its own setting: %d", copySource);
  }

  // ---- a pane whose text comes from update-UI ----
  const fw::StatusPane clockPanes[] = {{0, L""}, {kClockPane, L"00:00"}};
  frame.statusBar.SetPanes(clockPanes);
  Pump(200);
  check(frame.statusBar.PaneText(1) == L"12:34", "a pane with an id shows the text its command state gives: %s",
        U8(frame.statusBar.PaneText(1)).c_str());

  DestroyWindow(fw);
  Pump(100);
  return wtest::finish();
}
