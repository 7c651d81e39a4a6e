// Wine test of the SEdit control's window layer, one variant per process:
//
//   sedit_window_test.exe <ime|lookup|workbench|pad|editor>
//       registers the class with that variant's table and drives real
//       windows: creation and the full table, typing with WM_CHAR and the
//       ignored WM_IME_CHAR, the text messages, notifications, focus,
//       clipboard formats by charset, paste and undo;
//   sedit_window_test.exe module <path of ZORBENV6.IME>
//       loads the input method, whose attach registers the class, and checks
//       its three controls and the "Create Error" box of a fourth.
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "check.h"
#include "wait.h"
#include "sedit_text.h"
#include "sedit_window.h"

using wtest::check;
using wtest::check_eq;
using wtest::note;

namespace {

class RecordingHost final : public sedit::SEditHost {
 public:
  void Beep() override { ++beeps; }
  void ShowMessage(const char* text, const char* caption) override {
    messages.emplace_back(std::string(caption) + ": " + text);
  }
  int beeps = 0;
  std::vector<std::string> messages;
};

RecordingHost g_host;
sedit::StaticTable<sedit::kImeVariant> g_ime;
sedit::StaticTable<sedit::kLookupVariant> g_lookup;
sedit::StaticTable<sedit::kWorkbenchVariant> g_workbench;
sedit::StaticTable<sedit::kPadVariant> g_pad;
sedit::StaticTable<sedit::kEditorVariant> g_editor;

// WM_COMMAND notifications seen by the parent: (control id, code).
std::vector<std::pair<int, unsigned>> g_commands;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && lp) {
    g_commands.emplace_back(LOWORD(wp), HIWORD(wp));
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

// Forgets the notifications so far, posted ones included.
void ResetCommands() {
  Pump();
  g_commands.clear();
}

int CountCommands(int id, unsigned code) {
  int n = 0;
  for (auto& c : g_commands) n += c.first == id && c.second == code;
  return n;
}

HWND MakeParent(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = instance;
  wc.lpszClassName = "SEditTestParent";
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, wc.lpszClassName, "sedit test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400,
                                300, nullptr, nullptr, instance, nullptr);
  SetForegroundWindow(parent);
  Pump();
  return parent;
}

HWND MakeControl(HINSTANCE instance, HWND parent, int id, int y) {
  return CreateWindowExA(0, sedit::kSEditClassName, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, y, 200, 24, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

struct Font {
  LOGFONTA lf{};
  HFONT handle = nullptr;
  explicit Font(BYTE charset) {
    lf.lfHeight = -16;
    lf.lfCharSet = charset;
    std::strcpy(lf.lfFaceName, charset == 129 ? "Gulim" : "MS Gothic");
    handle = CreateFontIndirectA(&lf);
  }
  ~Font() { DeleteObject(handle); }
};

void SetFont(HWND control, Font& font) {
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.handle), reinterpret_cast<LPARAM>(&font.lf));
}

std::string GetText(HWND control) {
  char buffer[1024] = {};
  const LRESULT n = SendMessageA(control, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return std::string(buffer, static_cast<size_t>(n));
}

void SetText(HWND control, const std::string& text) {
  SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TypeBytes(HWND control, const std::string& bytes) {
  for (unsigned char c : bytes) SendMessageA(control, WM_CHAR, c, 1);
}

std::string Hex(const std::string& s) {
  std::string out;
  char b[4];
  for (unsigned char c : s) {
    std::snprintf(b, sizeof b, "%02X ", c);
    out += b;
  }
  return out;
}

template <typename Char>
std::basic_string<Char> ClipboardText(UINT format) {
  std::basic_string<Char> out;
  if (!OpenClipboard(nullptr)) return out;
  if (HANDLE h = GetClipboardData(format)) {
    if (auto* p = static_cast<const Char*>(GlobalLock(h))) {
      out = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return out;
}

std::u16string ClipboardUnicode() { return ClipboardText<char16_t>(CF_UNICODETEXT); }
std::string ClipboardBytes() { return ClipboardText<char>(CF_TEXT); }

// The first format on the clipboard: the one the control put first.
UINT FirstClipboardFormat() {
  UINT f = 0;
  if (OpenClipboard(nullptr)) {
    f = EnumClipboardFormats(0);
    CloseClipboard();
  }
  return f;
}

bool PutClipboard(const std::string& bytes, const std::u16string* unicode) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL t = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
  std::memcpy(GlobalLock(t), bytes.c_str(), bytes.size() + 1);
  GlobalUnlock(t);
  SetClipboardData(CF_TEXT, t);
  if (unicode) {
    HGLOBAL u = GlobalAlloc(GMEM_MOVEABLE, 2 * (unicode->size() + 1));
    std::memcpy(GlobalLock(u), unicode->c_str(), 2 * (unicode->size() + 1));
    GlobalUnlock(u);
    SetClipboardData(CF_UNICODETEXT, u);
  }
  CloseClipboard();
  return true;
}

// --- one variant through its windows ---

int RunVariant(const char* name) {
  sedit::InstanceTable* table = nullptr;
  for (sedit::InstanceTable* t : {&g_ime.table, &g_lookup.table, &g_workbench.table, &g_pad.table, &g_editor.table}) {
    if (std::strcmp(t->variant().name, name) == 0) table = t;
  }
  wtest::report().group = std::string("sedit-") + name;
  if (!check(table != nullptr, "variant %s known", name)) return wtest::finish();
  const sedit::Variant& v = table->variant();
  const bool utf8 = v.leadRule == sedit::LeadRule::kUtf8;
  const bool focusCodes = v.notify == sedit::NotifyStyle::kSendFocusCodes;
  const std::string hangul = utf8 ? "\xED\x95\x9C" : "\xC7\xD1";

  HINSTANCE instance = GetModuleHandleA(nullptr);
  check(sedit::RegisterSEditClass(instance, *table, g_host) != 0, "class registered");
  HWND parent = MakeParent(instance);
  Font korean(129);
  Font japanese(128);

  // Creation fills the table; one more control gets the box and stays inert.
  std::vector<HWND> controls;
  for (int i = 0; i < v.records; ++i) {
    HWND c = MakeControl(instance, parent, 100 + i, 10 + 30 * (i % 8));
    controls.push_back(c);
    SetFont(c, korean);
  }
  check(g_host.messages.empty(), "%d controls created without a message", v.records);
  HWND extra = MakeControl(instance, parent, 99, 250);
  check(extra != nullptr, "the control beyond the table still exists");
  check(g_host.messages.size() == 1 && g_host.messages[0] == "SEdit: Create Error", "\"Create Error\" titled \"SEdit\"");
  check_eq(SendMessageA(extra, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x")), 1, "inert control: WM_SETTEXT");
  check_eq(SendMessageA(extra, WM_CHAR, 'a', 1), 0, "inert control: WM_CHAR");
  char buf[8] = "#######";
  check_eq(SendMessageA(extra, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf)), 0, "inert control: WM_GETTEXT");
  UpdateWindow(extra);
  check(!GetUpdateRect(extra, nullptr, FALSE), "inert control: painting validates it");
  DestroyWindow(extra);
  DestroyWindow(controls.back());
  controls.back() = MakeControl(instance, parent, 100 + v.records - 1, 10);
  SetFont(controls.back(), korean);
  check(g_host.messages.size() == 1, "a freed record serves the next control");

  HWND a = controls[0];
  HWND b = controls[1];
  check_eq(SendMessageA(a, WM_GETDLGCODE, 0, 0), 129, "WM_GETDLGCODE");

  // WM_SETFONT with the redraw flag, with 0, and with an address of no
  // readable memory: no font record, and the control goes on working.
  {
    void* noAccess = VirtualAlloc(nullptr, 4096, MEM_COMMIT, PAGE_NOACCESS);
    void* reserved = VirtualAlloc(nullptr, 65536, MEM_RESERVE, PAGE_READWRITE);
    const LPARAM params[] = {1, 0, reinterpret_cast<LPARAM>(noAccess), reinterpret_cast<LPARAM>(reserved)};
    for (LPARAM p : params) {
      SendMessageA(a, WM_SETFONT, reinterpret_cast<WPARAM>(korean.handle), p);
      SetText(a, "");
      TypeBytes(a, "ok");
      check(GetText(a) == "ok", "WM_SETFONT lParam 0x%lx: no crash, the control still types", static_cast<unsigned long>(p));
      if (v.enableAndGetFont) {
        LOGFONTA* lf = reinterpret_cast<LOGFONTA*>(1);
        SendMessageA(a, WM_GETFONT, 0, reinterpret_cast<LPARAM>(&lf));
        check(lf == nullptr, "WM_SETFONT lParam 0x%lx keeps no LOGFONTA", static_cast<unsigned long>(p));
      }
    }
    VirtualFree(noAccess, 0, MEM_RELEASE);
    VirtualFree(reserved, 0, MEM_RELEASE);
    SetFont(a, korean);
    SetText(a, "");
  }

  // Typing: bytes one message at a time, the Korean character in two.
  ResetCommands();
  TypeBytes(a, utf8 ? std::string("ab") : "ab" + hangul);
  if (utf8) TypeBytes(a, "\x82\xA0");  // taken as code page 932
  SendMessageA(a, WM_IME_CHAR, 'z', 1);
  const std::string typed = GetText(a);
  const std::string expected = utf8 ? std::string("ab\xE3\x81\x82") : "ab" + hangul;
  check(typed == expected, "typed text: %s", Hex(typed).c_str());
  check_eq(SendMessageA(a, WM_GETTEXTLENGTH, 0, 0), expected.size(), "WM_GETTEXTLENGTH gives the control's text");
  Pump();
  const int typedMessages = utf8 ? 4 : 4;
  if (focusCodes) {
    check_eq(CountCommands(100, sedit::kNotifyChanged), typedMessages, "0x66 sent for each WM_CHAR");
    check_eq(CountCommands(100, sedit::kEnChange), 0, "no EN_CHANGE");
  } else {
    check_eq(CountCommands(100, sedit::kEnChange), typedMessages, "EN_CHANGE posted for each WM_CHAR");
  }

  // Backspace over the Korean character, then undo brings it back selected.
  SetText(a, "x" + hangul);
  SendMessageA(a, EM_SETSEL, 0, -1);
  SendMessageA(a, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageA(a, WM_CHAR, 0x08, 1);
  check(GetText(a) == "x", "Backspace removes the whole character");
  check_eq(SendMessageA(a, EM_CANUNDO, 0, 0), 1, "EM_CANUNDO after a removal");
  SendMessageA(a, WM_UNDO, 0, 0);
  check(GetText(a) == "x" + hangul, "undo puts it back");

  // Text messages.
  ResetCommands();
  const std::string longText(static_cast<size_t>(v.bufferSize + 72), 'q');
  check_eq(SendMessageA(a, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(longText.c_str())), 1, "WM_SETTEXT result");
  check_eq(SendMessageA(a, WM_GETTEXTLENGTH, 0, 0), v.limit, "WM_SETTEXT cuts at the limit");
  const int beeps = g_host.beeps;
  SendMessageA(a, WM_CHAR, 'q', 1);
  check_eq(g_host.beeps, beeps + 1, "typing into a full control beeps");
  Pump();
  check_eq(CountCommands(100, sedit::kNotifyChanged), focusCodes ? 2 : 0, "0x66 after WM_SETTEXT (send style only)");
  SetText(a, "abcdefg");
  char out[16];
  std::memset(out, '#', sizeof out);
  check_eq(SendMessageA(a, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(out)), 0, "WM_GETTEXT with no room");
  check(out[0] == '#', "a zero-size buffer is not written");
  check_eq(SendMessageA(a, WM_GETTEXT, 5, reinterpret_cast<LPARAM>(out)), 4, "WM_GETTEXT 5 on abcdefg");
  check(std::strcmp(out, "abcd") == 0, "WM_GETTEXT 5 gives abcd");

  // The lead-byte rule is the control's own: a Japanese font on b leaves a Korean one on a.
  if (!utf8) {
    SetFont(b, japanese);
    SetText(a, "\xB0\xA1\xB0\xA1");
    SetText(b, "\xB0\xA1\xB0\xA1");
    for (HWND c : {a, b}) {
      SendMessageA(c, EM_SETSEL, 0, -1);
      SendMessageA(c, WM_KEYDOWN, VK_RIGHT, 0);
      SendMessageA(c, WM_CHAR, 0x08, 1);
    }
    check(GetText(a) == "\xB0\xA1", "Korean font: Backspace takes a pair");
    check(GetText(b) == "\xB0\xA1\xB0", "Japanese font: Backspace takes one half-width kana");
    SetFont(b, korean);
  }

  // Copy: a Korean font puts its own CF_UNICODETEXT beside CF_TEXT.
  SetText(a, "a" + hangul);
  SendMessageA(a, EM_SETSEL, 0, -1);
  SendMessageA(a, WM_COPY, 0, 0);
  check(ClipboardUnicode() == u"a\uD55C", "copy with a Korean font: CF_UNICODETEXT is U+0061 U+D55C");
  if (!utf8) {
    check(ClipboardBytes() == "a" + hangul, "copy: CF_TEXT holds the bytes");
    check_eq(FirstClipboardFormat(), CF_TEXT, "copy: CF_TEXT first");
    // A Japanese font: only CF_TEXT, so the system's text of those bytes is not Korean.
    SetFont(b, japanese);
    SetText(b, "a" + hangul);
    SendMessageA(b, EM_SETSEL, 0, -1);
    SendMessageA(b, WM_COPY, 0, 0);
    check(ClipboardBytes() == "a" + hangul, "copy with a Japanese font: CF_TEXT holds the bytes");
    check(ClipboardUnicode() != u"a\uD55C", "copy with a Japanese font: no Korean CF_UNICODETEXT of its own");
    SetFont(b, korean);
  } else {
    check_eq(FirstClipboardFormat(), CF_UNICODETEXT, "editor copy: CF_UNICODETEXT");
  }

  // Cut, paste with line breaks dropped, paste of Korean text.
  ResetCommands();
  SetText(a, "cut me");
  SendMessageA(a, EM_SETSEL, 0, 3);
  SendMessageA(a, WM_CUT, 0, 0);
  check(GetText(a) == " me" && ClipboardBytes() == "cut", "cut moves the selection to the clipboard");
  const std::u16string lines = u"ab\r\ncd";
  PutClipboard("ab\r\ncd", &lines);
  SetText(a, "");
  SendMessageA(a, WM_PASTE, 0, 0);
  check(GetText(a) == "abcd", "paste drops CR and LF: %s", GetText(a).c_str());
  SendMessageA(a, WM_UNDO, 0, 0);
  check(GetText(a).empty(), "undo takes the paste back");
  const std::u16string han = u"\uD55C";
  PutClipboard("?", &han);
  SendMessageA(a, WM_PASTE, 0, 0);
  check(GetText(a) == hangul, "Korean paste with a Korean font: %s", Hex(GetText(a)).c_str());
  Pump();
  check_eq(CountCommands(100, focusCodes ? sedit::kNotifyChanged : sedit::kEnChange), focusCodes ? 6 : 4,
           "a notification after cut, paste, undo (and WM_SETTEXT in the send style)");

  // Focus: tabbing in from a sibling selects all; a click does not.
  SetText(b, "sibling");
  SetFocus(a);
  Pump();
  ResetCommands();
  SetFocus(b);
  Pump();
  check(GetFocus() == b, "focus moved to the second control");
  SendMessageA(b, WM_COPY, 0, 0);
  check(ClipboardBytes() == "sibling" || ClipboardUnicode() == u"sibling", "focus from a sibling selects all");
  if (focusCodes) {
    check_eq(CountCommands(100, sedit::kNotifyFocusLost), 1, "0x65 from the control that lost the focus");
    check_eq(CountCommands(101, sedit::kNotifyFocusGained), 1, "0x64 from the control that gained it");
  }
  PutClipboard("untouched", nullptr);
  SetFocus(a);
  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 8));
  SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(6, 8));
  SendMessageA(b, WM_COPY, 0, 0);
  // The clipboard as this process last wrote it may take a moment to read
  // back under a loaded Wine.
  wtest::CheckWithin(
      wtest::Allowance(), [&] { return GetFocus() == b && ClipboardBytes() == "untouched"; },
      [&] { return std::string(GetFocus() == b ? "focus on it" : "focus elsewhere") + ", clipboard \"" + ClipboardBytes() + "\""; },
      "a click takes the focus without selecting");

  if (v.enableAndGetFont) {
    LOGFONTA* lf = nullptr;
    const LRESULT font = SendMessageA(a, WM_GETFONT, 0, reinterpret_cast<LPARAM>(&lf));
    check(font == reinterpret_cast<LRESULT>(korean.handle), "WM_GETFONT gives the font");
    check(lf && lf->lfCharSet == 129 && lf != &korean.lf, "WM_GETFONT gives the control's own LOGFONTA");
  }

  if (v.leadRule == sedit::LeadRule::kFontFlag && v.records == 3 && std::strcmp(name, "ime") == 0) {
    int mismatches = 0;
    for (unsigned cp : {932u, 936u, 949u, 950u}) {
      for (int byte = 0; byte < 256; ++byte) {
        mismatches += (IsDBCSLeadByteEx(cp, static_cast<BYTE>(byte)) != FALSE) !=
                      sedit::IsCodePageLeadByte(cp, static_cast<unsigned char>(byte));
      }
    }
    check_eq(mismatches, 0, "lead-byte tables agree with IsDBCSLeadByteEx for 932, 936, 949, 950");
  }

  for (HWND c : controls) DestroyWindow(c);
  DestroyWindow(parent);
  sedit::UnregisterSEditClass(instance);
  return wtest::finish();
}

// --- the input method's own registration ---

// Waits for the message box titled "SEdit", keeps its text and closes it.
// Watches for the control's box until one came or the creator is done: the
// box is modal inside the creation, so once the control is made any box has
// been seen.
struct BoxWatch {
  std::string seen;
  volatile bool done = false;
};

DWORD WINAPI CloseSEditBox(LPVOID param) {
  auto* watch = static_cast<BoxWatch*>(param);
  const DWORD start = GetTickCount();
  while (!watch->done && GetTickCount() - start < 2 * wtest::Allowance()) {
    if (HWND box = FindWindowA(nullptr, "SEdit")) {
      char text[64] = {};
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
      watch->seen = text;
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      return 0;
    }
    Sleep(50);
  }
  return 0;
}

int RunModule(const char* path) {
  wtest::report().group = "sedit-module";
  HMODULE ime = LoadLibraryA(path);
  if (!check(ime != nullptr, "LoadLibrary %s (error %lu)", path, GetLastError())) return wtest::finish();
  WNDCLASSA wc{};
  check(GetClassInfoA(ime, sedit::kSEditClassName, &wc) != FALSE, "the input method registered SEDIT_CLASS at attach");
  HWND parent = MakeParent(GetModuleHandleA(nullptr));
  Font korean(129);
  std::vector<HWND> controls;
  for (int i = 0; i < 3; ++i) {
    controls.push_back(MakeControl(ime, parent, 200 + i, 10 + 30 * i));
    SetFont(controls.back(), korean);
  }
  check(controls[2] != nullptr, "three controls");
  TypeBytes(controls[0], "ok\xC7\xD1");
  check(GetText(controls[0]) == "ok\xC7\xD1", "typing into the input method's control");

  BoxWatch watch;
  HANDLE watcher = CreateThread(nullptr, 0, CloseSEditBox, &watch, 0, nullptr);
  HWND fourth = MakeControl(ime, parent, 203, 120);
  watch.done = true;
  WaitForSingleObject(watcher, 2 * wtest::Allowance());
  CloseHandle(watcher);
  check(watch.seen == "Create Error", "a fourth control shows \"Create Error\" (saw \"%s\")", watch.seen.c_str());
  check(fourth != nullptr, "the fourth control lives on");
  SendMessageA(fourth, WM_CHAR, 'a', 1);
  check(GetText(fourth).empty(), "the fourth control stays inert");
  DestroyWindow(fourth);

  DestroyWindow(controls[1]);
  BoxWatch none;  // a box would come while the control is created
  watcher = CreateThread(nullptr, 0, CloseSEditBox, &none, 0, nullptr);
  controls[1] = MakeControl(ime, parent, 204, 40);
  none.done = true;
  WaitForSingleObject(watcher, 2 * wtest::Allowance());
  CloseHandle(watcher);
  check(none.seen.empty(), "after a control is destroyed the next one gets its record");
  TypeBytes(controls[1], "again");
  check(GetText(controls[1]) == "again", "the new control works");

  for (HWND c : controls) DestroyWindow(c);
  DestroyWindow(parent);
  FreeLibrary(ime);
  return wtest::finish();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "module") == 0) return RunModule(argv[2]);
  if (argc >= 2) return RunVariant(argv[1]);
  std::printf("usage: sedit_window_test <variant> | module <ime path>\n");
  return 2;
}
