// The Hangul editor view in a document program of the framework, on the
// keyboard road of the installed suite (32-bit): an application object with
// its message loop, a single-document template, a frame with a menu,
// accelerators and a status bar, and CBriselView on a document of UTF-8
// lines opened from a file. ASCII typed with the input method closed and
// Korean typed through ZORBENV6.IME (found by its file name, as the view
// finds it) arrive in the document; the composition window follows the
// caret; undo, the KS and GM copies with their clipboard formats, pastes in
// both codes, find with F3 and Shift+F3, the right-click menu, a mouse drag,
// a CF_TEXT without a NUL, the scroll bar of a long text, saving and closing
// with unsaved changes work; screenshots go to the folder given.
//
//   editor_view_test.exe <screenshot folder>
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app.h"
#include "check.h"
#include "wait.h"
#include "dialog.h"
#include "hangul_view.h"
#include "ime_driver.h"
#include "ime_layouts.h"
#include "line_document.h"
#include "screenshot.h"
#include "test_documents.h"
#include "test_files.h"
#include "sdi.h"
#include "text_code.h"
#include "view_resources.h"

using wtest::check;
using wtest::check_eq;
using wtest::note;

namespace {

constexpr unsigned kFrameMenu = 128;
constexpr unsigned kFrameAccelerators = 128;
constexpr wchar_t kProgram[] = L"EditorViewTest";

std::string U8(std::u16string_view s) { return editorview::Utf16ToUtf8String(s); }
std::string Bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s.push_back(static_cast<char>(b));
  return s;
}

// A document of UTF-8 lines in memory, read from and written to a file.
class TestDocument final : public wtest::LinesDocument {
 public:
  using wtest::LinesDocument::LinesDocument;

 protected:
  bool ReadFile(std::u16string_view path) override {
    HANDLE f = CreateFileW(std::wstring(path.begin(), path.end()).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    std::string bytes(GetFileSize(f, nullptr), '\0');
    DWORD n = 0;
    const bool ok = ::ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) && n == bytes.size();
    CloseHandle(f);
    if (ok) lines.LoadText(bytes);
    return ok;
  }
  bool WriteFile(std::u16string_view path) override {
    std::string bytes;
    for (int i = 0; i < lines.LineCount(); ++i) {
      bytes += lines.GetLine(i);
      bytes += "\r\n";
    }
    return wtest::WriteFileBytes(std::wstring(path.begin(), path.end()), bytes);
  }
};

// The frame with a status bar of three panes.
class TestFrame final : public fw::FrameWindow {
 public:
  using fw::FrameWindow::FrameWindow;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_CREATE) {
      HWND status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd(),
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(fw::kStatusBarId)),
                                    module().handle(), nullptr);
      int parts[] = {200, 320, -1};
      SendMessageW(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
      return false;
    }
    return fw::FrameWindow::OnMessage(message, wParam, lParam, result);
  }
};

class TestApp final : public fw::App {
 public:
  TestApp(const fw::Module& module, std::u16string file) : fw::App(module, kProgram), ui_(module), file_(std::move(file)) {}
  bool Start() { return InitInstance(); }

  TestDocument* Doc() const { return static_cast<TestDocument*>(template_ ? template_->ActiveDocument() : nullptr); }
  editorview::CBriselView* View() const {
    return frames_ ? static_cast<editorview::CBriselView*>(frames_->ActiveView()) : nullptr;
  }
  fw::FrameWindow* Frame() const { return frames_ ? frames_->Frame() : nullptr; }
  const editorview::ViewResources& Resources() const { return resources_; }
  fw::DocumentUi& Ui() { return ui_; }
  editorview::ViewSettings settings;
  LOGFONTW font{};

 protected:
  bool InitInstance() override {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&icc);
    editorview::LoadGmTables(gm_, module());
    editorview::LoadRtfParts(rtf_, module());
    settings.ksCopyRichText = true;
    settings.gmCopyRichText = true;
    settings.ksCopyFont = "KS P Mincho";
    settings.gmCopyFont = "GMMyungjo";
    font.lfHeight = -21;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = HANGEUL_CHARSET;
    font.lfPitchAndFamily = 1;
    lstrcpyW(font.lfFaceName, L"NanumGothic");
    resources_.module = module();
    resources_.gm = &gm_;
    resources_.rtf = &rtf_;
    resources_.settings = &settings;
    RECT place{20, 20, 660, 420};
    frames_ = std::make_unique<fw::SdiFrames>(
        fw::SdiFrames::Resources{kProgram, kFrameMenu, kFrameAccelerators, SW_SHOWNORMAL, &place},
        [this] { return std::make_unique<TestFrame>(module()); },
        [this](fw::Document& d, fw::FrameWindow& frame) -> std::unique_ptr<fw::View> {
          auto& doc = static_cast<TestDocument&>(d);
          auto view = std::make_unique<editorview::CBriselView>(doc, doc, resources_, font);
          if (!view->Create(frame)) return nullptr;
          return view;
        });
    template_ = std::make_unique<fw::SingleDocTemplate>([this] { return std::make_unique<TestDocument>(ui_); },
                                                         *frames_, u".txt");
    SetDocTemplate(template_.get());
    fw::CommandLineInfo info;
    info.command = fw::ShellCommand::kFileOpen;
    info.fileName = file_;
    return ProcessShellCommand(info);
  }

 private:
  wtest::NoSaveUi ui_;
  std::u16string file_;
  codeconv::GmCodeConverter gm_;
  editorview::RtfClipBuilder rtf_;
  editorview::ViewResources resources_;
  std::unique_ptr<fw::SdiFrames> frames_;
  std::unique_ptr<fw::SingleDocTemplate> template_;
};

TestApp* g_app = nullptr;
bool g_quit = false;

// The application's loop for about ms milliseconds.
void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    if (!g_quit && !g_app->PumpWaitingMessages()) g_quit = true;
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

// The key events this thread's loop has taken from its queue (a keyboard
// hook of this thread sees each one as it is removed, after everything the
// events before it caused has been dispatched).
LONG g_keysTaken = 0;
LRESULT CALLBACK KeysTaken(int code, WPARAM w, LPARAM l) {
  if (code == HC_ACTION) ++g_keysTaken;
  return CallNextHookEx(nullptr, code, w, l);
}

int g_keysSent = 0;
void KeyEvent(UINT vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = static_cast<WORD>(vk);
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, 0));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (SendInput(1, &in, sizeof in) == 1) ++g_keysSent;
}

// One key through the system's input, with Ctrl and Shift as asked; returns
// once the view has handled it (its last event taken from the queue and
// dispatched), however slowly the system delivers it.
void Press(UINT vk, bool ctrl = false, bool shift = false) {
  if (ctrl) KeyEvent(VK_CONTROL, false);
  if (shift) KeyEvent(VK_SHIFT, false);
  KeyEvent(vk, false);
  KeyEvent(vk, true);
  if (shift) KeyEvent(VK_SHIFT, true);
  if (ctrl) KeyEvent(VK_CONTROL, true);
  if (!wtest::WaitUntilPumping(Pump, [] { return g_keysTaken >= g_keysSent; })) {
    wtest::note("key 0x%02X: %ld of %d key events reached the view", vk, g_keysTaken, g_keysSent);
    g_keysTaken = g_keysSent;  // the next key waits for its own events only
  }
  Pump(30);
}

void Type(const char* keys) {
  for (const char* k = keys; *k; ++k) {
    UINT vk = 0;
    unsigned ch = 0;
    imedrv::ScriptKey(*k, vk, ch);
    Press(vk);
  }
}

std::string Line(int i) {
  TestDocument* d = g_app->Doc();
  return d && i < d->LineCount() ? std::string(d->GetLine(i)) : std::string("(no line)");
}

std::string Show(const std::string& utf8) { return utf8 + " [" + imedrv::Hex(utf8) + "]"; }

// The line as expected, waited for (what the input method makes of a key may
// come after the key itself).
bool CheckLine(int i, const std::string& expected, const char* what) {
  wtest::WaitUntilPumping(Pump, [&] { return Line(i) == expected; });
  const std::string got = Line(i);
  return check(got == expected, "%s: line %d is %s, expected %s", what, i, Show(got).c_str(), Show(expected).c_str());
}

void SetOpen(bool open) {
  HWND v = g_app->View()->hwnd();
  if (HIMC himc = ImmGetContext(v)) {
    ImmSetOpenStatus(himc, open ? TRUE : FALSE);
    ImmReleaseContext(v, himc);
  }
  Pump(100);
}

// The clipboard's formats as the copy left them.
struct ClipState {
  bool text = false, unicode = false, locale = false, rich = false;
  std::string textBytes;
  std::u16string units;
  DWORD localeValue = 0;
  std::string richText;
};

ClipState ReadClip() {
  ClipState s;
  if (!OpenClipboard(nullptr)) return s;
  // What this program put there, not what the system makes from it.
  for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
    if (f == CF_TEXT) s.text = true;
    if (f == CF_LOCALE) s.locale = true;
    if (f == editorview::Win32Clipboard::RichTextFormat()) s.rich = true;
  }
  if (auto b = editorview::ClipboardBytes(CF_TEXT)) s.textBytes = *b;
  if (auto u = editorview::ClipboardUnits(CF_UNICODETEXT)) {
    s.unicode = true;
    s.units = *u;
  }
  if (HANDLE h = GetClipboardData(CF_LOCALE)) {
    if (auto* p = static_cast<const DWORD*>(GlobalLock(h))) {
      s.localeValue = *p;
      GlobalUnlock(h);
    }
  }
  if (auto r = editorview::ClipboardBytes(editorview::Win32Clipboard::RichTextFormat())) s.richText = *r;
  CloseClipboard();
  return s;
}

bool Contains(const std::string& hay, const std::string& needle) { return hay.find(needle) != std::string::npos; }

// The selection as "(line, offset)-(line, offset)".
std::string Selection() {
  const auto& e = g_app->View()->Engine();
  char buf[64];
  std::snprintf(buf, sizeof buf, "(%d,%d)-(%d,%d)", e.SelectionStart().line, e.SelectionStart().offset,
                e.SelectionEnd().line, e.SelectionEnd().offset);
  return buf;
}

std::wstring StatusPane(int pane) {
  HWND status = GetDlgItem(g_app->Frame()->hwnd(), fw::kStatusBarId);
  wchar_t text[64]{};
  SendMessageW(status, SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text));
  return text;
}

// ---- the right-click menu, inspected and used while its loop runs ----

struct MenuSeen {
  bool shown = false;
  std::vector<std::wstring> texts;
  std::vector<bool> enabled;
};
MenuSeen g_menu;

// Fires until the menu is up, then reads it and chooses from it.
void CALLBACK MenuTimer(HWND, UINT, UINT_PTR id, DWORD) {
  const std::vector<HWND> menus = imedrv::ThreadWindows(L"#32768", true);
  if (menus.empty()) return;
  KillTimer(nullptr, id);
  g_menu.shown = true;
  HMENU m = reinterpret_cast<HMENU>(SendMessageW(menus[0], MN_GETHMENU, 0, 0));
  for (int i = 0; m && i < GetMenuItemCount(m); ++i) {
    wchar_t text[64]{};
    GetMenuStringW(m, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    g_menu.texts.push_back(text);
    g_menu.enabled.push_back((GetMenuState(m, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0);
  }
  // Up from no item is the last one (select all); Enter chooses it.
  PostMessageW(menus[0], WM_KEYDOWN, VK_UP, 0);
  PostMessageW(menus[0], WM_KEYDOWN, VK_RETURN, 0);
}

std::u16string ToU16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }

// A temporary file of the test with the given bytes.
std::wstring WriteTempFile(const wchar_t* name, const std::string& bytes) {
  wchar_t dir[MAX_PATH]{};
  GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + name;
  wtest::WriteFileBytes(path, bytes);
  return path;
}

// Puts one block on the clipboard as the test gives it (no NUL added).
bool PutClipboardBlock(UINT format, const void* data, size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!h) return false;
  std::memcpy(GlobalLock(h), data, size);
  GlobalUnlock(h);
  if (!OpenClipboard(nullptr)) {
    GlobalFree(h);
    return false;
  }
  EmptyClipboard();
  const bool ok = SetClipboardData(format, h) != nullptr;
  CloseClipboard();
  if (!ok) GlobalFree(h);
  return ok;
}

// ---- the loop of App::Run: the pre-translate chain, idle work and the exit code ----

class KeyFilter final : public fw::MessageFilter {
 public:
  bool PreTranslateMessage(MSG& msg) override {
    if (msg.message != WM_KEYDOWN) return false;
    taken.push_back(static_cast<UINT>(msg.wParam));
    return true;
  }
  std::vector<UINT> taken;
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// A modeless dialog of two edit controls (ids 1 and 2), from a template in memory.
HWND TwoEditDialog() {
  std::vector<BYTE> t;
  auto put = [&](const void* p, size_t n) { t.insert(t.end(), static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n); };
  auto word = [&](WORD w) { put(&w, sizeof w); };
  auto align = [&] { while (t.size() % 4) t.push_back(0); };
  DLGTEMPLATE d{};
  d.style = WS_POPUP | WS_VISIBLE | WS_CAPTION;
  d.cdit = 2;
  d.cx = 120;
  d.cy = 60;
  put(&d, sizeof d);
  word(0);  // no menu
  word(0);  // the dialog class
  word(0);  // no title
  for (WORD id = 1; id <= 2; ++id) {
    align();
    DLGITEMTEMPLATE item{};
    item.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    item.x = 5;
    item.y = static_cast<short>(5 + 20 * (id - 1));
    item.cx = 100;
    item.cy = 14;
    item.id = id;
    put(&item, sizeof item);
    word(0xFFFF);
    word(0x0081);  // EDIT
    word(0);       // no text
    word(0);       // no creation data
  }
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(t.data()),
                                    nullptr, PlainDialogProc, 0);
}

class LoopApp final : public fw::App {
 public:
  using fw::App::App;
  HWND window = nullptr;
  HWND dialog = nullptr;
  KeyFilter filter;
  std::unique_ptr<fw::DialogKeysFilter> dialogKeys;
  int completeRuns = 0;      // runs that went on until OnIdle said it was done
  int callsAfterDone = 0;    // OnIdle calls with no message since it said done
  bool done = false;
  bool restartSeen = false;  // the message posted after the first complete run
  int keysDispatched = 0;
  bool tabbed = false;
  bool firstCall = true;

 protected:
  bool InitInstance() override {
    window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, module().handle(), nullptr);
    SetMainWindow(window);
    fw::SetMessageFilter(window, &filter);
    PostMessageW(window, WM_KEYDOWN, 'Q', 0);  // the filter takes it
    // A modeless dialog that this loop serves: Tab moves on through IsDialogMessage.
    dialog = TwoEditDialog();
    dialogKeys = std::make_unique<fw::DialogKeysFilter>(dialog, false);
    fw::SetMessageFilter(dialog, dialogKeys.get());
    SetFocus(GetDlgItem(dialog, 1));
    PostMessageW(GetDlgItem(dialog, 1), WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(window, WM_USER, 0, 0);
    return window != nullptr && dialog != nullptr;
  }
  bool PreTranslateMessage(MSG& msg) override {
    // Any message may start the idle work again (Wine sends some of its own).
    done = false;
    if (msg.message == WM_USER + 1) restartSeen = true;
    if (fw::App::PreTranslateMessage(msg)) return true;
    if (msg.message == WM_KEYDOWN) ++keysDispatched;
    return false;
  }
  bool OnIdle(long count) override {
    if (done) ++callsAfterDone;
    if (firstCall) tabbed = GetFocus() == GetDlgItem(dialog, 2);
    firstCall = false;
    if (count < 2) return true;  // three calls a run
    done = true;
    ++completeRuns;
    if (completeRuns == 1) PostMessageW(window, WM_USER + 1, 0, 0);  // starts the idle work again
    if (completeRuns >= 2 && restartSeen) PostQuitMessage(7);
    return false;
  }
  int ExitInstance() override {
    fw::SetMessageFilter(window, nullptr);
    fw::SetMessageFilter(dialog, nullptr);
    DestroyWindow(dialog);
    DestroyWindow(window);
    return fw::App::ExitInstance();
  }
};

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = sizeof(void*) == 8 ? "win64 editor view" : "win32 editor view";
  if (argc != 2) {
    std::printf("usage: editor_view_test <screenshot folder>\n");
    return 2;
  }
  const std::wstring shots = imedrv::WidenArg(argv[1]);
  imeinst::ResetImeSettings(L"ZO");
  SetWindowsHookExW(WH_KEYBOARD, KeysTaken, nullptr, GetCurrentThreadId());
  imedrv::BoxWatcher boxes;
  boxes.Start();

  const std::string firstLines = "line one\n" + U8(u"두 번째 줄");
  const std::wstring file = WriteTempFile(L"editorview.txt", firstLines);
  TestApp app(fw::Module(GetModuleHandleW(nullptr)), ToU16(file));
  g_app = &app;
  if (!check(app.Start(), "the application starts and opens the file")) return wtest::finish();
  Pump(500);

  // ---- the program's windows ----
  editorview::CBriselView* view = app.View();
  fw::FrameWindow* frame = app.Frame();
  if (!check(view && view->hwnd() && frame && frame->hwnd(), "a frame with the view")) return wtest::finish();
  HWND fw = frame->hwnd();
  HWND vw = view->hwnd();
  check(app.MainWindow() == fw, "the frame is the main window");
  check(fw::WindowText(fw) == L"editorview.txt - EditorViewTest", "caption: %s",
        imedrv::Utf8(ToU16(fw::WindowText(fw))).c_str());
  wchar_t cls[64]{};
  GetClassNameW(vw, cls, 64);
  check(lstrcmpW(cls, L"GeulmaruHangulView") == 0 && GetDlgCtrlID(vw) == static_cast<int>(fw::kFirstPaneId),
        "the view is the frame's pane");
  check(CheckLine(0, "line one", "opened"), "the document holds the file's lines");
  CheckLine(1, U8(u"두 번째 줄"), "opened");
  check(StatusPane(1) == L"    1 /    2", "status pane 1: %s", imedrv::Utf8(ToU16(StatusPane(1))).c_str());
  check(StatusPane(2) == L"KS", "status pane 2 names the font's code: %s", imedrv::Utf8(ToU16(StatusPane(2))).c_str());
  check(GetFocus() == vw, "the view has the focus");

  // The scroll bar: the view's own child at its right edge.
  HWND bar = FindWindowExW(vw, nullptr, L"ScrollBar", nullptr);
  RECT vc{}, br{};
  GetClientRect(vw, &vc);
  if (check(bar != nullptr, "the view has its scroll bar")) {
    GetWindowRect(bar, &br);
    MapWindowPoints(nullptr, vw, reinterpret_cast<POINT*>(&br), 2);
    check(br.right == vc.right && br.top == 0 && br.bottom == vc.bottom &&
              br.right - br.left == GetSystemMetrics(SM_CXHTHUMB),
          "the scroll bar spans the right edge, as wide as the thumb metric");
  }

  // The input method chosen by its file name for the KS font.
  const HKL ks = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName("ZORBENV6.IME"));
  check(ks != nullptr, "a layout of ZORBENV6.IME is installed");
  check(view->UnicodeEdition() == ks, "the view found the KS edition by its file name");
  check(GetKeyboardLayout(0) == ks, "the view activated it for its KS font");
  if (HIMC himc = ImmGetContext(vw)) {
    LOGFONTW lf{};
    ImmGetCompositionFontW(himc, &lf);
    check(lstrcmpW(lf.lfFaceName, L"NanumGothic") == 0 && lf.lfCharSet == HANGEUL_CHARSET,
          "the input context has the view font as composition font");
    check(ImmGetOpenStatus(himc) != FALSE, "the input method is open");
    ImmReleaseContext(vw, himc);
  }

  // ---- typing ----
  SetOpen(false);
  Type("abc ");
  CheckLine(0, "abc line one", "ASCII typed with the input method closed");

  SetOpen(true);
  Type("gks");  // 한, still composing
  {
    const std::vector<HWND> comp = imedrv::ThreadWindows(L"warbenv3CompStr", true);
    POINT caret{view->Engine().CaretX(), view->Engine().CaretY()};
    ClientToScreen(vw, &caret);
    if (check(!comp.empty(), "the input method's composition window shows while composing")) {
      const RECT r = imedrv::WindowRect(comp[0]);
      check(std::abs(r.left - caret.x) <= 4 && r.top >= caret.y - 4 && r.top <= caret.y + view->Engine().LineHeight(),
            "the composition window stands at the caret: (%ld, %ld), caret (%ld, %ld)", r.left, r.top, caret.x,
            caret.y);
    }
    if (HIMC himc = ImmGetContext(vw)) {
      COMPOSITIONFORM form{};
      ImmGetCompositionWindow(himc, &form);
      check(form.dwStyle == CFS_POINT && form.ptCurrentPos.x == view->Engine().CaretX() &&
                form.ptCurrentPos.y == view->Engine().CaretY(),
            "the context's composition form is CFS_POINT at the caret");
      ImmReleaseContext(vw, himc);
    }
  }
  Type("rmf\r");  // 글; Enter commits it
  const std::string hangul = U8(u"한글");
  CheckLine(0, "abc " + hangul + "line one", "Korean typed through the input method");
  check(view->Engine().Caret() == editorview::TextPosition{0, 10}, "the caret stands behind the committed text");

  wtest::Shot typed = wtest::Capture(fw, shots, L"editorview-typed");
  {
    const RECT client = wtest::ClientInShot(vw, fw);
    const int lh = view->Engine().LineHeight();
    const RECT firstRow{client.left + 2, client.top, client.left + 300, client.top + lh};
    const RECT empty{client.left + 2, client.top + 3 * lh, client.right - 30, client.bottom - 4};
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF back = GetSysColor(COLOR_WINDOW);
    const int ink = typed.Count(firstRow, [&](COLORREF c) { return wtest::Near(c, text, 90); });
    const int stray = typed.Count(empty, [&](COLORREF c) { return !wtest::Near(c, back, 8); });
    RECT wr{};
    GetWindowRect(fw, &wr);
    check(typed.w == wr.right - wr.left && typed.h == wr.bottom - wr.top, "screenshot %dx%d of the frame", typed.w,
          typed.h);
    check(ink > 60, "the first row shows text: %d dark pixels", ink);
    check(stray == 0, "below the text the view is background: %d other pixels", stray);
  }

  // ---- undo ----
  Press('Z', true);
  CheckLine(0, "line one", "undo takes the typing run away");
  Press('Z', true);
  CheckLine(0, "abc " + hangul + "line one", "a second undo brings it back");
  check(Selection() == "(0,0)-(0,10)", "and selects it: %s", Selection().c_str());

  // ---- the frame's menu: update-UI through the routing ----
  {
    HMENU menu = GetMenu(fw);
    HMENU edit = GetSubMenu(menu, 1);
    HMENU search = GetSubMenu(menu, 2);
    HMENU fileMenu = GetSubMenu(menu, 0);
    SendMessageW(fw, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
    SendMessageW(fw, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(search), 2);
    SendMessageW(fw, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(fileMenu), 0);
    auto on = [](HMENU m, UINT id) { return (GetMenuState(m, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0; };
    check(on(edit, 57643) && on(edit, 57635) && on(edit, 32772) && on(edit, 57634) && on(edit, 57642),
          "with a selection: undo, cut, delete, copy and select all are enabled");
    check(!on(search, 57636), "find, which nothing here carries out, is grey");
    check(!on(search, 32774) && !on(search, 32773), "find next and previous are grey without a search text");
    check(on(fileMenu, 57603) && on(fileMenu, 57665), "save (the document's) and exit (the application's)");
  }

  // ---- KS copy and the rich-text paste ----
  Press('C', true);
  {
    const ClipState c = ReadClip();
    check(c.textBytes == "abc " + Bytes({0xC7, 0xD1, 0xB1, 0xDB}), "KS copy: CF_TEXT %s",
          imedrv::Hex(c.textBytes).c_str());
    check(c.locale && c.localeValue == 1042, "KS copy: CF_LOCALE %lu", c.localeValue);
    check(c.unicode && c.units == u"abc 한글", "KS copy: CF_UNICODETEXT %s", imedrv::Hex(c.units).c_str());
    check(c.rich && Contains(c.richText, "\\fcharset129 KS P Mincho;") &&
              Contains(c.richText, "\\fs32 abc \\'c7\\'d1\\'b1\\'db}"),
          "KS copy: rich text in KS P Mincho, charset 129, 16 points");
  }
  Press(VK_END, true);
  Press('V', true);
  CheckLine(1, U8(u"두 번째 줄abc 한글"), "pasted (automatic code, from the rich text)");

  // ---- GM copy and the paste as GM ----
  Press(VK_HOME, true);
  for (int i = 0; i < 6; ++i) Press(VK_RIGHT, false, true);
  check(Selection() == "(0,0)-(0,10)", "Shift+Right selects six characters: %s", Selection().c_str());
  Press('W', true);
  {
    const ClipState c = ReadClip();
    check(c.textBytes == "abc " + Bytes({0x94, 0x70, 0x89, 0x7A}), "GM copy: CF_TEXT %s",
          imedrv::Hex(c.textBytes).c_str());
    check(c.locale && c.localeValue == 1041, "GM copy: CF_LOCALE %lu", c.localeValue);
    check(c.units != u"abc 한글", "GM copy puts no Korean CF_UNICODETEXT");
    check(c.rich && Contains(c.richText, "\\fcharset128 GMMyungjo;") &&
              Contains(c.richText, "abc \\'94p\\'89z}"),
          "GM copy: rich text in the GM face, charset 128");
  }
  app.settings.pasteCode = 2;
  Press(VK_END, true);
  Press(VK_RETURN);
  Press('V', true);
  CheckLine(2, "abc " + hangul, "pasted as GM code");
  Press('Z', true);
  CheckLine(2, "", "undo takes the paste away");
  Press('Z', true);
  CheckLine(2, "abc " + hangul, "and gives it back");
  check(StatusPane(1) == L"    3 /    3", "status pane 1: %s", imedrv::Utf8(ToU16(StatusPane(1))).c_str());
  app.settings.pasteCode = 0;

  // ---- find ----
  Press(VK_HOME, true);
  view->Engine().SetFindText(hangul, true, false);
  check(Selection() == "(0,4)-(0,10)", "find selects the first match: %s", Selection().c_str());
  Press(VK_F3);
  const int second = static_cast<int>(U8(u"두 번째 줄abc ").size());
  check(Selection() == "(1," + std::to_string(second) + ")-(1," + std::to_string(second + 6) + ")",
        "F3 finds the next: %s", Selection().c_str());
  Press(VK_F3);
  check(Selection() == "(2,4)-(2,10)", "F3 again: %s", Selection().c_str());
  boxes.Clear();
  Press(VK_F3);
  Pump(400);
  {
    bool told = false;
    for (const std::u16string& t : boxes.Texts()) told = told || t.find(u"検索文字列が見つかりません") != std::u16string::npos;
    check(told, "past the last match the user is told");
    check(Selection() == "(2,4)-(2,10)", "and the selection stays: %s", Selection().c_str());
  }
  Press(VK_F3, false, true);
  check(Selection() == "(1," + std::to_string(second) + ")-(1," + std::to_string(second + 6) + ")",
        "Shift+F3 finds the previous: %s", Selection().c_str());

  // ---- the right-click menu ----
  Press(VK_HOME, true);  // no selection
  const UINT_PTR menuTimer = SetTimer(nullptr, 0, 100, MenuTimer);
  PostMessageW(vw, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(60, 8));
  wtest::WaitUntil([] { return g_menu.shown; });
  if (!g_menu.shown) KillTimer(nullptr, menuTimer);
  if (check(g_menu.shown, "the right-click menu opens")) {
    const std::vector<std::wstring> texts = {L"元に戻す(&U)", L"切り取り(&T)", L"KSｺｰﾄﾞｺﾋﾟｰ(&C)", L"GMｺｰﾄﾞｺﾋﾟｰ(&W)",
                                             L"貼り付け(&P)", L"削除(&D)",   L"すべて選択(&A)"};
    check(g_menu.texts == texts, "its seven items (%zu)", g_menu.texts.size());
    const std::vector<bool> enabled = {true, false, true, true, true, false, true};
    check(g_menu.enabled == enabled, "without a selection cut and delete are grey, the rest enabled");
  }
  check(Selection() == "(0,0)-(2,10)", "the menu's select all selects the whole text: %s", Selection().c_str());

  // ---- the mouse ----
  {
    const int y = view->Engine().LineHeight() / 2;
    PostMessageW(vw, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, y));
    PostMessageW(vw, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(400, y));
    PostMessageW(vw, WM_LBUTTONUP, 0, MAKELPARAM(400, y));
    Pump(300);
    const int len = static_cast<int>(Line(0).size());
    check(Selection() == "(0,0)-(0," + std::to_string(len) + ")", "a drag along the first row selects it: %s",
          Selection().c_str());
    check(GetCapture() == nullptr, "the button's release gives the mouse back");
    wtest::Shot selected = wtest::Capture(fw, shots, L"editorview-selected");
    const RECT client = wtest::ClientInShot(vw, fw);
    const int lh = view->Engine().LineHeight();
    const COLORREF high = GetSysColor(COLOR_HIGHLIGHT);
    const RECT row0{client.left + 4, client.top + 1, client.left + 60, client.top + lh - 1};
    const RECT row1{client.left + 4, client.top + lh + 1, client.left + 60, client.top + 2 * lh - 1};
    const int lit = selected.Count(row0, [&](COLORREF c) { return wtest::Near(c, high, 16); });
    const int unlit = selected.Count(row1, [&](COLORREF c) { return wtest::Near(c, high, 16); });
    check(lit > 56 * (lh - 2) / 2, "the selected row is highlighted: %d pixels", lit);
    check(unlit == 0, "the next row is not: %d pixels", unlit);
  }

  // ---- CF_TEXT without a NUL from another program ----
  {
    // The view's read of a block stops at the block's end.
    const char raw[] = {'X', 'Y', 'Z'};
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof raw);
    std::memcpy(GlobalLock(block), raw, sizeof raw);
    GlobalUnlock(block);
    const std::optional<std::string> direct = editorview::BlockBytes(block);
    note("the block holds %lu bytes", static_cast<unsigned long>(GlobalSize(block)));
    check(GlobalSize(block) != sizeof raw || (direct && *direct == "XYZ"), "a block without a NUL is read to its end: %s",
          direct ? imedrv::Hex(*direct).c_str() : "none");
    GlobalFree(block);
    // Through the clipboard: what the system holds for it (Wine ends the text
    // with a NUL in place of its last byte) is pasted as it stands.
    if (check(PutClipboardBlock(CF_TEXT, raw, sizeof raw), "a CF_TEXT block of three bytes, no NUL")) {
      std::string held;
      if (OpenClipboard(nullptr)) {
        if (HANDLE h = GetClipboardData(CF_TEXT)) {
          const char* p = static_cast<const char*>(GlobalLock(h));
          for (SIZE_T i = 0; p && i < GlobalSize(h) && p[i]; ++i) held.push_back(p[i]);
          GlobalUnlock(h);
        }
        CloseClipboard();
      }
      note("the clipboard holds %s", imedrv::Hex(held).c_str());
      check(!held.empty() && std::string("XYZ").rfind(held, 0) == 0, "the clipboard holds the block's text");
      Press(VK_END, true);
      Press('V', true);
      CheckLine(2, "abc " + hangul + held, "and it is pasted as it stands");
    }
  }

  // ---- a long text: the scroll bar and the caret kept in sight ----
  {
    std::u16string many;
    for (int i = 0; i < 60; ++i) many += u"행\r\n";
    PutClipboardBlock(CF_UNICODETEXT, many.c_str(), (many.size() + 1) * sizeof(char16_t));
    Press('V', true);
    Pump(300);
    TestDocument* doc = app.Doc();
    check(doc->LineCount() == 63, "sixty lines pasted: %d lines", doc->LineCount());
    check(view->Engine().TopLine() > 0, "the view scrolled to the caret: top line %d", view->Engine().TopLine());
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_POS;
    GetScrollInfo(bar, SB_CTL, &si);
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    GetScrollBarInfo(bar, OBJID_CLIENT, &sbi);
    check(si.nMax > 0 && si.nPos > 0 && !(sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE),
          "the scroll bar is enabled with a range: 0..%d at %d", si.nMax, si.nPos);
    POINT caret{};
    GetCaretPos(&caret);
    check(caret.y >= 0 && caret.y + view->Engine().LineHeight() <= vc.bottom, "the caret is inside the window: y %ld",
          caret.y);
    check(StatusPane(1) == L"   63 /   63", "status pane 1: %s", imedrv::Utf8(ToU16(StatusPane(1))).c_str());
    wtest::Capture(fw, shots, L"editorview-long");
    Press(VK_HOME, true);
    GetScrollInfo(bar, SB_CTL, &si);
    check(view->Engine().TopLine() == 0 && si.nPos == 0, "Ctrl+Home goes back to the top");
  }

  // ---- typing at the end of a line of 30000 bytes ----
  {
    const std::u16string longLine(30000, u'a');
    PutClipboardBlock(CF_UNICODETEXT, (longLine + u'\0').c_str(), (longLine.size() + 1) * sizeof(char16_t));
    Press(VK_END, true);
    Press('V', true);
    Pump(300);
    const int line = app.Doc()->LineCount() - 1;
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    constexpr int kKeys = 20;
    for (int i = 0; i < kKeys; ++i) {
      SendMessageW(vw, WM_CHAR, 'b', 1);
      UpdateWindow(vw);
    }
    QueryPerformanceCounter(&t1);
    note("a character typed at the end of a 30000-byte line, with its paint: %.2f ms",
         1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart) / kKeys);
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < kKeys; ++i) SendMessageW(vw, WM_CHAR, 'c', 1);
    QueryPerformanceCounter(&t1);
    UpdateWindow(vw);
    note("the same without painting: %.2f ms",
         1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart) / kKeys);
    check(Line(line) == std::string(30000, 'a') + std::string(kKeys, 'b') + std::string(kKeys, 'c'),
          "the long line takes the typed bytes");
    POINT caret{};
    GetCaretPos(&caret);
    check(caret.y >= 0 && caret.y + view->Engine().LineHeight() <= vc.bottom, "its caret stays in the window: y %ld",
          caret.y);
  }

  // ---- the forks' view: KS bytes in the lines, painted and copied as they are ----
  {
    app.settings.unicodeImeResult = true;  // as the forks' programs set it at start-up
    TestDocument forkDoc(app.Ui());
    forkDoc.SetLine(0, Bytes({0xC7, 0xD1, 0xB1, 0xDB}));
    TestFrame forkFrame(app.module());
    const RECT place{60, 60, 460, 260};
    forkFrame.CreateFrame(L"Fork", 0, 0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, &place);
    editorview::CTavrinView fork(editorview::kPlayerViewParams, forkDoc, forkDoc, app.Resources(), app.font);
    if (check(forkFrame.hwnd() && fork.Create(forkFrame), "a player's view in a frame of its own")) {
      forkFrame.SetActiveView(&fork);
      ShowWindow(forkFrame.hwnd(), SW_SHOW);
      SetForegroundWindow(forkFrame.hwnd());
      fork.OnInitialUpdate();
      SetFocus(fork.hwnd());
      Pump(300);
      wtest::Shot shot = wtest::Capture(forkFrame.hwnd(), shots, L"editorview-fork");
      const RECT client = wtest::ClientInShot(fork.hwnd(), forkFrame.hwnd());
      const int lh = fork.Engine().LineHeight();
      const RECT row0{client.left + 2, client.top, client.left + 80, client.top + lh};
      const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
      const int ink = shot.Count(row0, [&](COLORREF c) { return wtest::Near(c, text, 90); });
      check(ink > 30, "the KS bytes are painted as Korean: %d dark pixels", ink);
      Press(VK_END, true);
      SetOpen(true);
      if (HIMC himc = ImmGetContext(fork.hwnd())) {
        ImmSetOpenStatus(himc, TRUE);
        ImmReleaseContext(fork.hwnd(), himc);
      }
      Type("gks\r");
      fork.Engine().CommitLineBuffer();
      const std::string got(forkDoc.GetLine(0));
      check(got == Bytes({0xC7, 0xD1, 0xB1, 0xDB, 0xC7, 0xD1}), "the input method's result goes in as KS bytes: %s",
            imedrv::Hex(got).c_str());
      fork.OnCommand(editorview::kCmdKsCopy);
      const ClipState c = ReadClip();
      check(c.textBytes == got, "the fork's copy: CF_TEXT holds the line's bytes");
      check(c.units == u"한글한", "and CF_UNICODETEXT the text (code page 949): %s", imedrv::Hex(c.units).c_str());
      check(c.rich && Contains(c.richText, "\\fcharset129 NanumGothic;"), "and rich text naming the view font");
      // The forks' right-click menus: 145 in the player (and the listening
      // program), 197 in the workbench; their select all is chosen from it.
      const std::vector<std::wstring> forkItems = {L"元に戻す(&U)", L"切り取り(&T)", L"ｺﾋﾟｰ(&C)",
                                                   L"貼り付け(&P)", L"削除(&D)",   L"すべて選択(&A)"};
      auto forkMenu = [&](editorview::CTavrinView& view, const char* which) {
        g_menu = {};
        view.Engine().ClearSelection();
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, MenuTimer);
        PostMessageW(view.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 8));
        wtest::WaitUntil([] { return g_menu.shown; });
        if (!g_menu.shown) KillTimer(nullptr, timer);
        if (!check(g_menu.shown, "%s: the right-click menu opens", which)) return;
        check(g_menu.texts == forkItems, "%s: its six items (%zu)", which, g_menu.texts.size());
        wtest::CheckWithin(
            wtest::Allowance(), [&] { return view.Engine().HasSelection(); },
            [&] { return std::string(view.Engine().HasSelection() ? "a selection" : "no selection"); },
            "%s: the menu's select all selects the text", which);
      };
      forkMenu(fork, "player's view (menu 145)");
      TestDocument benchDoc(app.Ui());
      benchDoc.SetLine(0, Bytes({0xC7, 0xD1}));
      TestFrame benchFrame(app.module());
      benchFrame.CreateFrame(L"Workbench fork", 0, 0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, &place);
      editorview::CTavrinView bench(editorview::kWorkbenchViewParams, benchDoc, benchDoc, app.Resources(), app.font);
      if (check(benchFrame.hwnd() && bench.Create(benchFrame), "a workbench's view in a frame of its own")) {
        benchFrame.SetActiveView(&bench);
        ShowWindow(benchFrame.hwnd(), SW_SHOW);
        SetForegroundWindow(benchFrame.hwnd());
        bench.OnInitialUpdate();
        SetFocus(bench.hwnd());
        Pump(100);
        forkMenu(bench, "workbench's view (menu 197)");
        DestroyWindow(benchFrame.hwnd());
      }
      DestroyWindow(forkFrame.hwnd());
    }
    app.settings.unicodeImeResult = false;
    SetForegroundWindow(fw);
    SetFocus(vw);
    Pump(200);
  }

  // ---- saving and closing ----
  {
    TestDocument* doc = app.Doc();
    check(doc->IsModified(), "the document is modified");
    boxes.Clear();
    PostMessageW(fw, WM_CLOSE, 0, 0);
    Pump(800);
    bool asked = false;
    for (const std::u16string& t : boxes.Texts()) {
      note("box: %s", imedrv::Utf8(t).c_str());
      asked = asked || t.find(u"editorview.txt への変更を保存しますか?") != std::u16string::npos;
    }
    check(asked, "closing with changes asks whether to save them");
    check(IsWindow(fw) && !g_quit, "the box was not answered Yes or No: the frame stays");
    SendMessageW(fw, WM_COMMAND, 57603, 0);
    std::string expected;
    for (int i = 0; i < doc->LineCount(); ++i) expected += std::string(doc->GetLine(i)) + "\r\n";
    check(wtest::ReadFileBytes(file) == expected, "save writes the document to its file");
    check(!doc->IsModified(), "and it is no longer modified");
    boxes.Clear();
    PostMessageW(fw, WM_CLOSE, 0, 0);
    Pump(800);
    check(boxes.Texts().empty(), "an unmodified document closes without a question");
    check(!IsWindow(fw) && g_quit, "the frame is gone and the loop has ended");
    check(fw::AttachedWindowCount() == 0, "no window object is left attached");
  }

  {
    LoopApp loop(fw::Module(GetModuleHandleW(nullptr)), L"loop");
    const int code = loop.Run();
    check_eq(static_cast<uint64_t>(code), 7, "App::Run ends with the code of WM_QUIT");
    check(loop.filter.taken == std::vector<UINT>{'Q'} && loop.keysDispatched == 0,
          "a filter of the chain takes its key before it is dispatched");
    check(loop.tabbed, "Tab in a modeless dialog of the loop moves to the next control (IsDialogMessage)");
    check(loop.completeRuns >= 2 && loop.restartSeen && loop.callsAfterDone == 0,
          "idle work runs while the queue is empty, until it says it is done, and again after a message "
          "(%d complete runs, %d calls after done)",
          loop.completeRuns, loop.callsAfterDone);
  }

  boxes.Stop();
  DeleteFileW(file.c_str());
  return wtest::finish();
}
