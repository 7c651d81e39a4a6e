// Wine test of the application framework layer (stage A):
//
//   fw_window_test.exe
//
// Strings of the module as UTF-16 and as bytes of explicit code pages, a
// custom resource type; a modal dialog with data exchange (integer, text and
// check fields, refused fields with their boxes), reflection of WM_DRAWITEM,
// WM_CTLCOLORSTATIC and WM_COMMAND to the child's object, a subclassed edit,
// a handler that throws; a modal sheet whose Help reaches the page that
// shows; a modeless sheet in a loop that never calls IsDialogMessage (Tab
// through the hook, Esc ends and destroys it); a modeless dialog that
// destroys itself from a handler and is deleted afterwards; the wait cursor.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "check.h"
#include "dialog.h"
#include "gdi.h"
#include "module.h"
#include "property_sheet.h"

using wtest::check;
using wtest::check_eq;

namespace {

fw::Module g_module;

void Pump(int ms = 100) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG m;
    // A plain loop, as a host program has: no IsDialogMessage.
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(10);
  } while (GetTickCount() < end);
}

std::string Hex(const std::string& s) {
  std::string out;
  char b[4];
  for (unsigned char c : s) {
    wsprintfA(b, "%02X ", c);
    out += b;
  }
  return out;
}

// ---- a message box watcher: reads the box of a dialog caption and closes it ----

struct BoxWatch {
  std::wstring caption;
  std::wstring seen;
  int boxes = 0;
  volatile bool stop = false;
};

BOOL CALLBACK FindBox(HWND w, LPARAM lp) {
  auto* watch = reinterpret_cast<BoxWatch*>(lp);
  wchar_t cls[16]{}, title[64]{};
  GetClassNameW(w, cls, 16);
  GetWindowTextW(w, title, 64);
  if (lstrcmpW(cls, L"#32770") != 0 || watch->caption != title || !GetDlgItem(w, 0xFFFF)) return TRUE;
  wchar_t text[128]{};
  GetDlgItemTextW(w, 0xFFFF, text, 128);
  watch->seen = text;
  ++watch->boxes;
  PostMessageW(w, WM_COMMAND, IDOK, 0);
  return FALSE;
}

DWORD WINAPI WatchBoxes(LPVOID p) {
  auto* watch = static_cast<BoxWatch*>(p);
  while (!watch->stop) {
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(watch));
    Sleep(50);
  }
  return 0;
}

// ---- controls with their own objects ----

class DrawnButton final : public fw::Window {
 public:
  int drawn = 0, clicks = 0;

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_DRAWITEM) {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      FillRect(d->hDC, &d->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      ++drawn;
      result = TRUE;
      return true;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
      ++clicks;
      result = 0;
      return true;
    }
    return false;
  }
};

class ColouredStatic final : public fw::Window {
 public:
  fw::Brush brush{CreateSolidBrush(RGB(0, 128, 0))};
  int asked = 0;

 protected:
  bool OnReflected(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if (message != WM_CTLCOLORSTATIC) return false;
    ++asked;
    result = reinterpret_cast<LRESULT>(brush.get());
    return true;
  }
};

class CountingEdit final : public fw::Window {
 public:
  int chars = 0;

 protected:
  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT&) override {
    if (message == WM_CHAR) ++chars;
    return false;  // the edit control still types the character
  }
};

// ---- the modal dialog ----

constexpr UINT kScript = WM_APP;
constexpr UINT kThrow = WM_APP + 1;

class DdxDialog final : public fw::Dialog {
 public:
  DdxDialog() : Dialog(g_module, 100) {}
  int number = 7;
  std::wstring name = L"初期";
  bool flag = true;
  int ownCommands = 0;
  DrawnButton button;
  ColouredStatic label;
  CountingEdit edit;

 protected:
  void DoDataExchange(fw::DataExchange& dx) override {
    dx.Int(1001, number, 1, 64);
    dx.Text(1002, name, 20);
    dx.Check(1003, flag);
  }
  bool OnInitDialog() override {
    button.Subclass(GetDlgItem(hwnd(), 1004));
    label.Subclass(GetDlgItem(hwnd(), 1005));
    edit.Subclass(GetDlgItem(hwnd(), 1002));
    Dialog::OnInitDialog();
    PostMessageW(hwnd(), kScript, 0, 0);
    return true;
  }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == kScript) {
      Script();
      return true;
    }
    if (message == kThrow) throw std::runtime_error("a handler that throws");
    if (message == WM_COMMAND && LOWORD(wParam) == 1004) ++ownCommands;
    return Dialog::OnMessage(message, wParam, lParam, result);
  }

 private:
  std::wstring Text(int id) { return fw::WindowText(GetDlgItem(hwnd(), id)); }
  void SetText(int id, const wchar_t* t) { SetDlgItemTextW(hwnd(), id, t); }

  void Script() {
    check(Text(1001) == L"7" && Text(1002) == L"初期" && IsDlgButtonChecked(hwnd(), 1003) == BST_CHECKED,
          "data exchange fills the controls from the members");
    ShowWindow(hwnd(), SW_SHOW);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    check(button.drawn > 0, "WM_DRAWITEM reaches the button's object (%d)", button.drawn);
    check(label.asked > 0, "WM_CTLCOLORSTATIC reaches the static's object (%d)", label.asked);
    SendMessageW(GetDlgItem(hwnd(), 1004), BM_CLICK, 0, 0);
    check(button.clicks == 1 && ownCommands == 0, "the click goes to the button's object, not to the dialog");
    SendMessageW(GetDlgItem(hwnd(), 1002), EM_SETSEL, 2, 2);
    SendMessageW(GetDlgItem(hwnd(), 1002), WM_CHAR, L'x', 1);
    check(edit.chars == 1 && Text(1002) == L"初期x", "the subclassed edit sees WM_CHAR and still types it");
    check_eq(SendMessageW(hwnd(), kThrow, 0, 0), 0, "a throwing handler: the message gets its default result");

    BoxWatch watch{L"fw test", L"", 0, false};
    HANDLE thread = CreateThread(nullptr, 0, WatchBoxes, &watch, 0, nullptr);
    SetText(1001, L"abc");
    check(!UpdateData(true), "a field that is no integer is refused");
    check(watch.seen == L"整数を入力してください。", "and the box says so");
    check(GetFocus() == GetDlgItem(hwnd(), 1001), "the refused field has the focus");
    SetText(1001, L"99");
    check(!UpdateData(true) && number == 7, "an integer out of range is refused, the member kept");
    check(watch.seen == L"1 から 64 までの整数を入力してください。", "the range box names the range");
    watch.stop = true;
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    check_eq(watch.boxes, 2, "two boxes");

    SetText(1001, L" 42 ");
    SetText(1002, L"変更");
    CheckDlgButton(hwnd(), 1003, BST_UNCHECKED);
    PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
};

// ---- sheets ----

class CountingPage final : public fw::PropertyPage {
 public:
  CountingPage(unsigned id) : PropertyPage(g_module, id) {}
  int helps = 0, applies = 0, activations = 0;

 protected:
  void OnHelp() override { ++helps; }
  bool OnApply() override {
    ++applies;
    return true;
  }
  bool OnSetActive() override {
    ++activations;
    return true;
  }
};

constexpr UINT kSheetScript = WM_APP + 10;

class TestSheet final : public fw::PropSheet {
 public:
  TestSheet() : PropSheet(g_module, L"シート") {
    AddPage(first);
    AddPage(second);
  }
  CountingPage first{200};
  CountingPage second{201};
  bool scripted = false;

 protected:
  void OnInitDialog() override { PostMessageW(hwnd(), kSheetScript, 0, 0); }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == kSheetScript && !scripted) {
      scripted = true;
      Script();
      return true;
    }
    return PropSheet::OnMessage(message, wParam, lParam, result);
  }

 private:
  void Script() {
    check(ActivePage() == &first && ActiveIndex() == 0, "the first page shows");
    // A click on the sheet's Help button (Wine's PSM_PRESSBUTTON has no PSBTN_HELP).
    SendMessageW(GetDlgItem(hwnd(), IDHELP), BM_CLICK, 0, 0);
    check(first.helps == 1 && second.helps == 0, "Help reaches the page that shows");
    PropSheet_SetCurSel(hwnd(), nullptr, 1);
    check(ActivePage() == &second, "the second page shows");
    SendMessageW(GetDlgItem(hwnd(), IDHELP), BM_CLICK, 0, 0);
    HELPINFO info{};
    info.cbSize = sizeof info;
    SendMessageW(second.hwnd(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    check(first.helps == 1 && second.helps == 2, "Help and F1 reach the second page now");
    PropSheet_PressButton(hwnd(), PSBTN_OK);
  }
};

// A modeless dialog that destroys itself from a handler and is deleted later.
std::vector<std::string> g_order;

class SelfDeleting final : public fw::Dialog {
 public:
  SelfDeleting() : Dialog(g_module, 100) {}
  ~SelfDeleting() override { g_order.push_back("deleted"); }
  int afterDestroy = 0;

 protected:
  bool OnInitDialog() override { return true; }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_APP + 20) {
      DestroyWindow(hwnd());
      afterDestroy = 1;  // the object is still there while its handler runs
      g_order.push_back("handler done");
      return true;
    }
    return Dialog::OnMessage(message, wParam, lParam, result);
  }
  void OnFinalMessage() override { DeleteLater(this); }
};

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd, msg, wp, lp); }

}  // namespace

int main() {
  wtest::report().group = "fw";
  g_module = fw::Module(GetModuleHandleW(nullptr));
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  // Module and resources.
  check(g_module.String(1) == L"日本語の文字列", "string 1 as UTF-16");
  check(g_module.String(17) == L"二番目の表", "string 17 from the second block");
  check(g_module.String(3).empty(), "a missing string is empty");
  check(g_module.StringBytes(2, 949) == "\xC7\xD1\xB1\xB9\xBE\xEE", "string 2 in code page 949: %s",
        Hex(g_module.StringBytes(2, 949)).c_str());
  check(g_module.StringBytes(1, 932).substr(0, 4) == "\x93\xFA\x96\x7B", "string 1 in code page 932");
  const auto custom = g_module.Resource("FWTYPE", "FWDATA");
  check(custom.size() == 4 && custom[0] == 'a' && custom[1] == 'b' && custom[2] == 'c',
        "a resource of a custom type (%u bytes)", static_cast<unsigned>(custom.size()));
  check(fw::Module::Containing(reinterpret_cast<const void*>(&HostProc)).handle() == g_module.handle(),
        "the module that holds a function");

  {
    HCURSOR before = GetCursor();
    {
      fw::WaitCursor wait;
      check(GetCursor() == LoadCursor(nullptr, IDC_WAIT), "the wait cursor shows");
    }
    check(GetCursor() == before, "and the cursor before it comes back");
  }

  // A modal dialog with data exchange and reflection.
  {
    DdxDialog dialog;
    const INT_PTR r = dialog.DoModal(nullptr);
    check_eq(r, IDOK, "the dialog ended with IDOK");
    check(dialog.number == 42 && dialog.name == L"変更" && !dialog.flag, "OK saved the fields into the members");
  }
  check_eq(fw::AttachedWindowCount(), 0, "no object is left attached after the dialog");

  // A modal sheet with Help routed to the page.
  {
    TestSheet sheet;
    sheet.SetHelpButton(true);
    const INT_PTR r = sheet.DoModal(nullptr);
    check(r >= 0, "the modal sheet ran (%d)", static_cast<int>(r));
    check(sheet.scripted, "the sheet's object got its messages");
    check(sheet.first.applies == 1 && sheet.second.applies == 1, "OK applied both pages");
  }
  check_eq(fw::AttachedWindowCount(), 0, "no object is left attached after the modal sheet");

  // A modeless sheet in a host loop that never calls IsDialogMessage.
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = g_module.handle();
  wc.lpszClassName = L"FwHost";
  RegisterClassW(&wc);
  HWND host = CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                              nullptr, nullptr, g_module.handle(), nullptr);
  {
    TestSheet sheet;
    sheet.scripted = true;  // no script: this one stays open
    HWND s = sheet.CreateModeless(host, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE);
    check(s != nullptr && IsWindow(s), "a modeless sheet was made");
    check(fw::ModelessHookInstalled(), "its keyboard hook is installed");
    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    check((static_cast<DWORD>(GetWindowLongW(s, GWL_STYLE)) & kStyle) == kStyle, "the style given replaced the template's");
    check(!IsWindowVisible(GetDlgItem(s, IDOK)) && !IsWindowVisible(GetDlgItem(s, IDCANCEL)),
          "the standard buttons are hidden");
    RECT sr{}, br{};
    GetWindowRect(s, &sr);
    GetWindowRect(GetDlgItem(s, IDOK), &br);
    check(sr.bottom <= br.top, "the sheet ends above them");
    HWND e1 = GetDlgItem(sheet.first.hwnd(), 2001);
    HWND e2 = GetDlgItem(sheet.first.hwnd(), 2002);
    SetForegroundWindow(s);
    SetFocus(e1);
    Pump(100);
    check(GetFocus() == e1, "the first field has the focus");
    PostMessageW(e1, WM_KEYDOWN, VK_TAB, 0x000F0001);
    Pump(200);
    check(GetFocus() == e2, "Tab moves the focus to the next field through the hook");
    PostMessageW(e2, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    Pump(300);
    check(!IsWindow(s), "Esc ends the modeless sheet and it is destroyed");
    check(!fw::ModelessHookInstalled(), "its keyboard hook is removed");
  }
  check_eq(fw::AttachedWindowCount(), 0, "no object is left attached after the modeless sheet");

  // A modeless dialog that destroys itself and is deleted after its handler.
  {
    auto* d = new SelfDeleting;
    HWND w = d->CreateModeless(host);
    check(w != nullptr, "a modeless dialog was made");
    SendMessageW(w, WM_APP + 20, 0, 0);
    check(!IsWindow(w), "it destroyed itself");
    check(g_order.size() == 2 && g_order[0] == "handler done" && g_order[1] == "deleted",
          "the object was deleted after its handler had finished");
    check(!fw::ModelessHookInstalled(), "the dialog's keyboard hook is removed");
  }
  check_eq(fw::AttachedWindowCount(), 0, "no object is left attached at the end");
  DestroyWindow(host);
  return wtest::finish();
}
