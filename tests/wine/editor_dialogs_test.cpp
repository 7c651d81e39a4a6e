// The editor's find/replace sheet, font dialog and settings dialog around a
// CBriselView in a frame of the framework, driven under Wine (32-bit, one
// process) through the view's commands and the system's keyboard: Ctrl+F
// seeds the sheet with the first line of the selection (cut to 120 bytes),
// text typed and match case ticked on the find page come over to the
// replace page, Enter finds, Alt+A replaces all, Esc closes the sheet and F3
// repeats the search; the font dialog lists the Korean faces of the prefix
// and its OK gives the view the chosen font; the settings dialog's radio
// sets the copy flag at once, so that Cancel keeps it. Screenshots of the
// sheet and the dialogs go to the folder given.
//
//   editor_dialogs_test.exe <screenshot folder>
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app.h"
#include "check.h"
#include "dialogs_resources.h"
#include "editor_dialogs.h"
#include "frame.h"
#include "hangul_view.h"
#include "help.h"
#include "ime_driver.h"
#include "line_document.h"
#include "screenshot.h"
#include "sdi.h"
#include "test_documents.h"

using wtest::check;
using wtest::note;

namespace {

constexpr unsigned kFrameMenu = 128;
constexpr wchar_t kProgram[] = L"EditorDialogsTest";

// The program's side: its settings, its font record and its input-method flag.
class TestHost final : public brisel::EditorDialogsHost {
 public:
  editorview::ViewSettings settings;
  editorview::ViewSettings& CopySettings() override { return settings; }
  void FontChosen(const LOGFONTW& font, int fontType, bool) override {
    chosen = font;
    chosenType = fontType;
    ++fontsChosen;
  }
  void RequestImeActivation() override { ++imeRequests; }
  int ReadingCode() const override { return readingCode; }
  bool CanReread() const override { return true; }
  void Reread() override { ++rereads; }

  LOGFONTW chosen{};
  int chosenType = 0;
  int fontsChosen = 0;
  int imeRequests = 0;
  int readingCode = 0;
  int rereads = 0;
};

class TestHelp final : public fw::HelpViewer {
 public:
  void ShowContext(HWND, const std::string&, unsigned long context) override { topics.push_back(context); }
  std::vector<unsigned long> topics;
};

fw::App* g_app = nullptr;

// The application's own loop (its pre-translate chain: the frame's accelerators).
void Pump(DWORD ms) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(5)) g_app->PumpWaitingMessages();
}

// A chord through the system's input in one go: the modifiers and the key
// down, then up in the reverse order.
void Press(UINT vk, std::initializer_list<UINT> modifiers = {}) {
  std::vector<UINT> keys(modifiers);
  keys.push_back(vk);
  std::vector<INPUT> events;
  for (bool up : {false, true}) {
    for (size_t i = 0; i < keys.size(); ++i) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = static_cast<WORD>(up ? keys[keys.size() - 1 - i] : keys[i]);
      in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(in.ki.wVk, 0));
      in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      events.push_back(in);
    }
  }
  SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
  Pump(120);
}

void TypeAscii(const char* text) {
  for (const char* c = text; *c; ++c) Press(static_cast<UINT>(LOBYTE(VkKeyScanW(static_cast<WCHAR>(*c)))));
}

std::string BoxText(HWND box) {
  char buffer[600]{};
  const int n = box ? GetWindowTextA(box, buffer, sizeof buffer) : 0;
  return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring Text(HWND w) {
  wchar_t buffer[256]{};
  GetWindowTextW(w, buffer, 256);
  return buffer;
}

std::string U8(const std::wstring& w) { return imedrv::Utf8(std::u16string(w.begin(), w.end())); }

void CloseInputMethod(HWND w) {
  if (HIMC himc = ImmGetContext(w)) {
    ImmSetOpenStatus(himc, FALSE);
    ImmReleaseContext(w, himc);
  }
}

// A dialog of this thread by its caption.
HWND FindDialog(const wchar_t* caption) {
  for (HWND w : imedrv::ThreadWindows(L"#32770", true)) {
    if (Text(w) == caption) return w;
  }
  return nullptr;
}

// A message box of this thread that shows the text.
HWND FindBoxWithText(const std::wstring& text) {
  for (HWND w : imedrv::ThreadWindows(L"#32770", true)) {
    for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (Text(c) == text) return w;
    }
  }
  return nullptr;
}

// Work to do inside a modal loop: each step waits for its window, then acts.
struct ModalStep {
  std::function<HWND()> find;
  std::function<void(HWND)> act;
};
std::vector<ModalStep> g_steps;
size_t g_step = 0;

void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (g_step >= g_steps.size()) {
    KillTimer(nullptr, id);
    return;
  }
  if (HWND w = g_steps[g_step].find()) {
    ++g_step;  // before acting: the act may run a loop of its own
    g_steps[g_step - 1].act(w);
  }
}

// Does the work while the steps act in the modal loops it runs; true when all ran.
bool RunWhile(const std::function<void()>& work, std::vector<ModalStep> steps) {
  g_steps = std::move(steps);
  g_step = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 150, StepTimer);
  work();
  KillTimer(nullptr, timer);
  Pump(200);
  return g_step == g_steps.size();
}

// The frame's command with its modal loops.
bool RunModal(HWND frame, unsigned command, std::vector<ModalStep> steps) {
  return RunWhile([&] { SendMessageW(frame, WM_COMMAND, command, 0); }, std::move(steps));
}

// The Korean faces of the display as the system sorts them by charset:
// HANGEUL_CHARSET asked for, vertical faces left out.
std::set<std::wstring> KoreanFacesOfTheSystem() {
  std::set<std::wstring> faces;
  HDC dc = GetDC(nullptr);
  LOGFONTW lf{};
  lf.lfCharSet = HANGEUL_CHARSET;
  EnumFontFamiliesExW(
      dc, &lf,
      [](const LOGFONTW* f, const TEXTMETRICW*, DWORD, LPARAM p) WINAPI -> int {
        if (f->lfFaceName[0] != L'@' && f->lfCharSet == HANGEUL_CHARSET) {
          reinterpret_cast<std::set<std::wstring>*>(p)->insert(f->lfFaceName);
        }
        return 1;
      },
      reinterpret_cast<LPARAM>(&faces), 0);
  ReleaseDC(nullptr, dc);
  return faces;
}

std::vector<std::wstring> ListItems(HWND list, bool combo) {
  std::vector<std::wstring> items;
  const int n = static_cast<int>(SendMessageW(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    wchar_t text[LF_FACESIZE + 8]{};
    SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

void Choose(HWND dialog, int listId, int index) {
  HWND list = GetDlgItem(dialog, listId);
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// The view's selection as "(line,offset)-(line,offset)".
std::string Selection(const editorview::ViewEngine& e) {
  return "(" + std::to_string(e.SelectionStart().line) + "," + std::to_string(e.SelectionStart().offset) + ")-(" +
         std::to_string(e.SelectionEnd().line) + "," + std::to_string(e.SelectionEnd().offset) + ")";
}

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

int IndexOf(const std::vector<std::wstring>& items, const std::wstring& item) {
  const auto it = std::find(items.begin(), items.end(), item);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 editor dialogs";
  if (argc != 2) {
    std::printf("usage: editor_dialogs_test <screenshot folder>\n");
    return 2;
  }
  const std::wstring shots = imedrv::WidenArg(argv[1]);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);

  const fw::Module module(GetModuleHandleW(nullptr));
  fw::App app(module, kProgram);
  g_app = &app;
  TestHelp help;
  fw::SetHelpViewer(&help);
  check(brisel::RegisterEditorSEdit(module.handle()), "SEDIT_CLASS is registered with the editor's variant");

  codeconv::GmCodeConverter gm;
  editorview::LoadGmTables(gm, module);
  TestHost host;
  host.settings.ksCopyFont = "nanumgothic";  // found without regard to case
  host.settings.gmCopyFont = fw::ToCodePage(932, L"ＧＭ韓国明朝");
  host.settings.gmCopyRichText = true;
  host.settings.ksCopyRichText = false;
  editorview::ViewResources resources;
  resources.module = module;
  resources.gm = &gm;
  resources.settings = &host.settings;

  wtest::NoSaveUi ui(module);
  wtest::LinesDocument doc(ui);
  std::string fifty;
  for (int i = 0; i < 50; ++i) fifty += "\xED\x95\x9C";  // 한
  doc.lines.Assign({"alpha beta ALPHA", "second line alpha", "Alpha end", fifty});

  LOGFONTW font{};
  font.lfHeight = -21;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = HANGEUL_CHARSET;
  font.lfPitchAndFamily = 1;
  lstrcpyW(font.lfFaceName, L"NanumGothic");

  fw::FrameWindow frame(module);
  const RECT place{20, 20, 620, 380};
  HWND fw = frame.CreateFrame(kProgram, kFrameMenu, kFrameMenu, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, &place);
  editorview::CBriselView view(doc, doc, resources, font);
  if (!check(fw && view.Create(frame), "a frame with the editor's view")) return wtest::finish();
  app.SetMainWindow(fw);
  frame.SetActiveView(&view);
  brisel::EditorDialogs dialogs({module, &gm, "BRISELV6.chm"}, host);
  view.SetDialogs(&dialogs);
  ShowWindow(fw, SW_SHOW);
  SetForegroundWindow(fw);
  view.OnInitialUpdate();
  SetFocus(view.hwnd());
  Pump(300);
  auto& engine = view.Engine();

  auto sheetWindow = [&] { return dialogs.Sheet() ? dialogs.Sheet()->hwnd() : nullptr; };
  auto findBox = [&] { return GetDlgItem(dialogs.Sheet()->FindPage().hwnd(), IDC_FIND_TEXT); };

  // ---- Ctrl+F with a selection of 50 Korean characters: 40 arrive ----
  engine.SetCaret({3, 150});
  engine.SetSelection({3, 0}, {3, 150});
  Press('F', {VK_CONTROL});
  Pump(300);
  HWND first = sheetWindow();
  if (!check(first && IsWindowVisible(first), "Ctrl+F opens the sheet")) return wtest::finish();
  check(Text(first) == L"検索・置換", "its caption: %s", U8(Text(first)).c_str());
  check(GetWindow(first, GW_OWNER) == fw, "owned by the view's frame");
  {
    wchar_t cls[32]{};
    GetClassNameA(findBox(), reinterpret_cast<char*>(cls), sizeof cls);
    check(std::string(reinterpret_cast<char*>(cls)) == "SEDIT_CLASS", "the search box is an SEdit control");
  }
  check(BoxText(findBox()) == fifty.substr(0, 120), "50 Korean characters (150 bytes) arrive cut to 40 (%zu bytes)",
        BoxText(findBox()).size());
  Press(VK_ESCAPE);
  Pump(300);
  check(!IsWindow(first) && dialogs.Sheet() == nullptr, "Esc closes the sheet and its pointer is cleared");

  // ---- two selected lines: only the first goes into the box ----
  SetFocus(view.hwnd());
  engine.SetCaret({1, 6});
  engine.SetSelection({0, 0}, {1, 6});
  Press('F', {VK_CONTROL});
  Pump(300);
  HWND sheet = sheetWindow();
  if (!check(sheet != nullptr, "the next Ctrl+F builds a new sheet")) return wtest::finish();
  check(BoxText(findBox()) == "alpha beta ALPHA", "the box holds the first line of the selection: %s",
        BoxText(findBox()).c_str());
  check(GetFocus() == findBox(), "the search box has the keys");
  {
    // The boxes' font: the view's face in the box's client height - 8.
    RECT client{};
    GetClientRect(findBox(), &client);
    note("search box client height %ld", client.bottom);
  }

  // ---- typing, a letter that is a mnemonic, Alt+C, the radio buttons ----
  CloseInputMethod(findBox());
  TypeAscii("alpha");  // replaces the selected seed
  check(BoxText(findBox()) == "alpha", "typed text replaces the seed: %s", BoxText(findBox()).c_str());
  HWND findPage = dialogs.Sheet()->FindPage().hwnd();
  TypeAscii("c");
  check(BoxText(findBox()) == "alphac" && !IsDlgButtonChecked(findPage, IDC_FIND_MATCH_CASE),
        "a typed 'c' is text, not the mnemonic of match case: %s", BoxText(findBox()).c_str());
  Press(VK_BACK);
  Press('C', {VK_MENU});
  check(IsDlgButtonChecked(findPage, IDC_FIND_MATCH_CASE) && brisel::SharedFindOptions().findMatchCase,
        "Alt+C ticks match case and the page's flag");
  check(IsDlgButtonChecked(findPage, IDC_FIND_DOWN) && !IsDlgButtonChecked(findPage, IDC_FIND_UP),
        "the direction starts down");
  wtest::Capture(sheet, shots, L"dialogs-find-page");

  // ---- Enter: find next in the view ----
  SetFocus(findBox());
  Pump(100);
  Press(VK_RETURN);
  check(Selection(engine) == "(1,12)-(1,17)", "Enter finds \"alpha\" after the caret and selects it in the view: %s",
        Selection(engine).c_str());
  check(IsWindow(sheet) && dialogs.Sheet() != nullptr, "the sheet stays open after Enter");
  // Alt+U: upwards from the match, to the one before it; Alt+D and Enter: down again.
  Press('U', {VK_MENU});
  check(!brisel::SharedFindOptions().forward, "Alt+U chooses upwards");
  SetFocus(findBox());
  Pump(100);
  Press(VK_RETURN);
  check(Selection(engine) == "(0,0)-(0,5)", "upwards Enter finds the match before it: %s", Selection(engine).c_str());
  Press('D', {VK_MENU});
  SetFocus(findBox());
  Pump(100);
  Press(VK_RETURN);
  check(brisel::SharedFindOptions().forward && Selection(engine) == "(1,12)-(1,17)",
        "Alt+D and Enter find downwards again: %s", Selection(engine).c_str());

  // ---- Ctrl+Tab to the replace page: text and match case come over ----
  Press(VK_TAB, {VK_CONTROL});
  Pump(200);
  HWND replacePage = dialogs.Sheet()->ReplacePage().hwnd();
  if (check(replacePage && IsWindowVisible(replacePage), "Ctrl+Tab shows the replace page")) {
    HWND search = GetDlgItem(replacePage, IDC_REPLACE_FIND_TEXT);
    check(BoxText(search) == "alpha", "the find page's text is carried over: %s", BoxText(search).c_str());
    check(IsDlgButtonChecked(replacePage, IDC_REPLACE_MATCH_CASE) && brisel::SharedFindOptions().replaceMatchCase,
          "and its match case");
    SetFocus(search);
    Pump(100);
    Press(VK_TAB);
    HWND with = GetDlgItem(replacePage, IDC_REPLACE_WITH_TEXT);
    check(GetFocus() == with, "Tab moves to the replacement box");
    CloseInputMethod(with);
    TypeAscii("omega");
    check(BoxText(with) == "omega", "the replacement typed: %s", BoxText(with).c_str());
    wtest::Capture(sheet, shots, L"dialogs-replace-page");
    // Alt+A: replace all from the caret on; "Alpha" differs in case and stays.
    Press('A', {VK_MENU});
    Pump(200);
    check(doc.GetLine(1) == "second line omega", "replace all replaces the match: %s",
          std::string(doc.GetLine(1)).c_str());
    check(doc.GetLine(2) == "Alpha end" && doc.GetLine(0) == "alpha beta ALPHA",
          "a match of another case and matches above the caret stay");
    // Alt+C clears match case; Alt+R first finds "Alpha", then replaces it
    // and finds no more: the engine's box says so.
    Press('C', {VK_MENU});
    check(!brisel::SharedFindOptions().replaceMatchCase, "Alt+C on the replace page clears its match case");
    Press('R', {VK_MENU});
    check(Selection(engine) == "(2,0)-(2,5)" && doc.GetLine(2) == "Alpha end",
          "the first Alt+R only finds the next match: %s", Selection(engine).c_str());
    const bool told = RunWhile([] { Press('R', {VK_MENU}); },
                               {{[] { return FindBoxWithText(L"検索文字列が見つかりません"); },
                                 [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); }}});
    check(doc.GetLine(2) == "omega end", "the second replaces it: %s", std::string(doc.GetLine(2)).c_str());
    check(told, "and with no match after it the user is told");
    Click(replacePage, IDHELP);
    Press(VK_TAB, {VK_CONTROL});
    Pump(200);
    check(BoxText(findBox()) == "alpha", "back on the find page the text is there: %s", BoxText(findBox()).c_str());
    Click(dialogs.Sheet()->FindPage().hwnd(), IDHELP);
  }
  check(help.topics == std::vector<unsigned long>{HELP_REPLACE_PAGE, HELP_FIND_PAGE},
        "the pages' help buttons ask for topics 4036 and 4027 (%zu asked)", help.topics.size());

  // ---- the empty search text beeps and leaves the view ----
  {
    const editorview::TextPosition before = engine.SelectionStart();
    SendMessageA(findBox(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    Click(dialogs.Sheet()->FindPage().hwnd(), IDC_FIND_NEXT);
    check(engine.SelectionStart() == before, "an empty search text finds nothing");
    SendMessageA(findBox(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("alpha"));
  }

  // ---- the page's Cancel closes; F3 repeats the last search ----
  Click(dialogs.Sheet()->FindPage().hwnd(), IDCANCEL);
  Pump(300);
  check(!IsWindow(sheet) && dialogs.Sheet() == nullptr, "Cancel destroys the sheet; the pointer is cleared");
  check(!fw::ModelessHookInstalled(), "no modeless window is left for the keyboard hook");
  SetForegroundWindow(fw);
  SetFocus(view.hwnd());
  engine.SetCaret({0, 0});
  Pump(100);
  Press(VK_F3);
  check(Selection(engine) == "(0,0)-(0,5)", "F3 repeats the search with its match case: %s",
        Selection(engine).c_str());

  // ---- the font dialog ----
  const std::set<std::wstring> korean = KoreanFacesOfTheSystem();
  note("Korean faces of the prefix: %zu", korean.size());
  std::wstring chosenFace;
  help.topics.clear();
  const bool fontRan = RunModal(fw, editorview::kCmdFont, {{[] { return FindDialog(L"ﾌｫﾝﾄ設定"); }, [&](HWND d) {
    const std::vector<std::wstring> faces = ListItems(GetDlgItem(d, IDC_FONT_LIST), false);
    check(!faces.empty() && std::set<std::wstring>(faces.begin(), faces.end()) == korean &&
              faces.size() == korean.size(),
          "the font list holds the Korean (charset 129) faces of the prefix, each once (%zu)", faces.size());
    const int current = static_cast<int>(SendMessageW(GetDlgItem(d, IDC_FONT_LIST), LB_GETCURSEL, 0, 0));
    check(current >= 0 && faces[static_cast<size_t>(current)] == L"NanumGothic", "the view's face is selected");
    const std::vector<std::wstring> sizes = ListItems(GetDlgItem(d, IDC_SIZE_LIST), false);
    check(sizes.size() == 13 && sizes.front() == L"  8" && sizes.back() == L" 32",
          "a TrueType face offers 8 to 32 points in steps of 2 (%zu sizes)", sizes.size());
    const int size = static_cast<int>(SendMessageW(GetDlgItem(d, IDC_SIZE_LIST), LB_GETCURSEL, 0, 0));
    check(size >= 0 && sizes[static_cast<size_t>(size)] == L" 16", "the view's -21 (16 points) is selected");
    int other = IndexOf(faces, L"NanumMyeongjo");
    if (other < 0) other = current == 0 ? 1 : 0;
    if (other < static_cast<int>(faces.size())) {
      chosenFace = faces[static_cast<size_t>(other)];
      Choose(d, IDC_FONT_LIST, other);
    }
    Choose(d, IDC_SIZE_LIST, IndexOf(sizes, L" 12"));
    check(Text(GetDlgItem(d, IDC_CODE_LABEL)) == L"ﾌｫﾝﾄのｺｰﾄﾞ : KS", "the code label: %s",
          U8(Text(GetDlgItem(d, IDC_CODE_LABEL))).c_str());
    wtest::Shot shot = wtest::Capture(d, shots, L"dialogs-font");
    const RECT sample = wtest::ClientInShot(GetDlgItem(d, IDC_SAMPLE), d);
    const int grey = shot.Count(sample, [](COLORREF c) { return c == RGB(192, 192, 192); });
    const int ink = shot.Count(sample, [](COLORREF c) { return wtest::Near(c, RGB(0, 0, 0), 80); });
    const int area = (sample.right - sample.left) * (sample.bottom - sample.top);
    check(grey > area / 2 && ink > 20, "the sample is grey with its text on it (%d grey, %d dark of %d)", grey, ink,
          area);
    Click(d, IDC_FONT_HELP);
    Click(d, IDOK);
  }}});
  check(fontRan, "the font dialog opened and was answered");
  check(help.topics == std::vector<unsigned long>{HELP_FONT_SET}, "its help asks for topic 4056");
  {
    const LOGFONTW& lf = view.ViewLogFont();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    note("LOGPIXELSY %d", dpi);
    check(chosenFace.empty() || lf.lfFaceName == chosenFace, "OK gives the view the chosen face: %s",
          U8(lf.lfFaceName).c_str());
    check(dpi != 96 || lf.lfHeight == -16, "12 points at 96 dpi are lfHeight -16: %ld", lf.lfHeight);
    check(lf.lfWeight == 400 && lf.lfCharSet == HANGEUL_CHARSET, "weight 400 and the face's charset");
    check(host.fontsChosen == 1 && host.chosenType == TRUETYPE_FONTTYPE && host.chosen.lfHeight == lf.lfHeight,
          "the program is told the font and its type (%d)", host.chosenType);
    check(host.imeRequests == 1, "and the input-method flag is set");
  }

  // ---- the settings dialog: the radio sets the flag, Cancel keeps it ----
  help.topics.clear();
  const std::wstring question = module.String(IDS_REREAD_QUESTION);
  const bool settingsRan = RunModal(
      fw, editorview::kCmdSettings,
      {{[] { return FindDialog(L"環境設定"); },
        [&](HWND d) {
          HWND ks = GetDlgItem(d, IDC_KS_COPY_FONT);
          const std::vector<std::wstring> faces = ListItems(ks, true);
          check(std::set<std::wstring>(faces.begin(), faces.end()) == korean, "the KS box lists the KS faces (%zu)",
                faces.size());
          check(SendMessageW(GetDlgItem(d, IDC_GM_COPY_FONT), CB_GETCOUNT, 0, 0) == 0,
                "no GM face in this prefix: the GM box is empty");
          check(IsDlgButtonChecked(d, IDC_GM_COPY_TEXT) && !IsWindowEnabled(GetDlgItem(d, IDC_GM_COPY_RICH)) &&
                    !IsWindowEnabled(GetDlgItem(d, IDC_GM_COPY_FONT)) && !host.settings.gmCopyRichText,
                "without GM faces the GM copy is text only and its flag cleared");
          wchar_t selected[LF_FACESIZE]{};
          GetWindowTextW(ks, selected, LF_FACESIZE);
          check(lstrcmpW(selected, L"NanumGothic") == 0, "the KS box selects the KS copy face: %s",
                U8(selected).c_str());
          check(IsDlgButtonChecked(d, IDC_KS_COPY_TEXT) && !IsWindowEnabled(ks), "text copy: the box is disabled");
          Click(d, IDC_KS_COPY_RICH);
          check(host.settings.ksCopyRichText && IsWindowEnabled(ks), "ﾘｯﾁﾃｷｽﾄ sets the flag at once and enables the box");
          wtest::Capture(d, shots, L"dialogs-settings");
          Click(d, IDC_ENV_HELP);
          host.readingCode = 3;  // as if the reading code changed meanwhile
          Click(d, IDCANCEL);
        }},
       {[&] { return FindBoxWithText(question); },
        [&](HWND box) {
          check(Text(box) == kProgram, "the re-read question is titled with the program's name");
          PostMessageW(box, WM_COMMAND, IDYES, 0);
        }}});
  check(settingsRan, "the settings dialog opened, and the re-read question came after it");
  check(host.settings.ksCopyRichText, "after Cancel the KS copy flag stays on");
  check(host.settings.ksCopyFont == "nanumgothic", "Cancel keeps the face");
  check(host.rereads == 1, "Yes to the question re-reads the file");
  check(help.topics == std::vector<unsigned long>{HELP_ENV_SET}, "its help asks for topic 4045");

  // OK stores the face chosen in the box.
  std::wstring okFace;
  const bool okRan = RunModal(fw, editorview::kCmdSettings, {{[] { return FindDialog(L"環境設定"); }, [&](HWND d) {
    HWND ks = GetDlgItem(d, IDC_KS_COPY_FONT);
    const int n = static_cast<int>(SendMessageW(ks, CB_GETCOUNT, 0, 0));
    SendMessageW(ks, CB_SETCURSEL, static_cast<WPARAM>(n - 1), 0);
    okFace = ListItems(ks, true).back();
    Click(d, IDOK);
  }}});
  check(okRan && host.settings.ksCopyFont == fw::ToCodePage(932, okFace), "OK stores the chosen face: %s",
        host.settings.ksCopyFont.c_str());
  check(host.rereads == 1, "an unchanged reading code asks nothing");

  // ---- faces given to the dialogs: a GM face, and none at all ----
  {
    brisel::FaceList gmAndKs;
    gmAndKs.Add(u"ＧＭ韓国明朝", 128, 0x11, TRUETYPE_FONTTYPE, -16);
    gmAndKs.Add(u"NanumGothic", 129, 0x22, TRUETYPE_FONTTYPE, -16);
    brisel::EditorDialogs given({module, &gm, "BRISELV6.chm", [&] { return gmAndKs; }}, host);
    view.SetDialogs(&given);
    const bool gmRan = RunModal(fw, editorview::kCmdSettings, {{[] { return FindDialog(L"環境設定"); }, [&](HWND d) {
      HWND box = GetDlgItem(d, IDC_GM_COPY_FONT);
      wchar_t selected[LF_FACESIZE]{};
      GetWindowTextW(box, selected, LF_FACESIZE);
      check(ListItems(box, true) == std::vector<std::wstring>{L"ＧＭ韓国明朝"} &&
                lstrcmpW(selected, L"ＧＭ韓国明朝") == 0,
            "a GM face goes into the GM box, selected as the GM copy face");
      check(IsWindowEnabled(GetDlgItem(d, IDC_GM_COPY_RICH)) && !IsWindowEnabled(box),
            "with a GM face rich text can be chosen; the box waits for it");
      Click(d, IDC_GM_COPY_RICH);
      Click(d, IDOK);
    }}});
    check(gmRan && host.settings.gmCopyRichText && host.settings.gmCopyFont == fw::ToCodePage(932, L"ＧＭ韓国明朝"),
          "OK keeps the GM face and the GM rich-text flag");
    const LOGFONTW before = view.ViewLogFont();
    const bool gmFontRan = RunModal(fw, editorview::kCmdFont, {{[] { return FindDialog(L"ﾌｫﾝﾄ設定"); }, [&](HWND d) {
      const std::vector<std::wstring> faces = ListItems(GetDlgItem(d, IDC_FONT_LIST), false);
      const int at = IndexOf(faces, L"ＧＭ韓国明朝");
      if (check(at >= 0, "the GM face is listed")) Choose(d, IDC_FONT_LIST, at);
      check(Text(GetDlgItem(d, IDC_CODE_LABEL)) == L"ﾌｫﾝﾄのｺｰﾄﾞ : GM", "its code label: %s",
            U8(Text(GetDlgItem(d, IDC_CODE_LABEL))).c_str());
      wtest::Capture(d, shots, L"dialogs-font-gm");
      Click(d, IDCANCEL);
    }}});
    check(gmFontRan && lstrcmpW(view.ViewLogFont().lfFaceName, before.lfFaceName) == 0 && host.fontsChosen == 1,
          "Cancel leaves the view font");
    check(host.imeRequests == 2, "and the input-method flag is set after Cancel too");

    const std::wstring noFont = L"韓国語のﾌｫﾝﾄが見つかりません。\nﾌｫﾝﾄは変更されません。";
    brisel::EditorDialogs none({module, &gm, "BRISELV6.chm", [] { return brisel::FaceList(); }}, host);
    view.SetDialogs(&none);
    const bool noneRan = RunModal(
        fw, editorview::kCmdFont,
        {{[&] { return FindBoxWithText(noFont); }, [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); }},
         {[] { return FindDialog(L"ﾌｫﾝﾄ設定"); }, [&](HWND d) {
            check(SendMessageW(GetDlgItem(d, IDC_FONT_LIST), LB_GETCOUNT, 0, 0) == 0, "no Korean face: the list is empty");
            Click(d, IDOK);
          }}});
    check(noneRan, "without a Korean face the user is told, and the dialog still answers");
    check(lstrcmpW(view.ViewLogFont().lfFaceName, before.lfFaceName) == 0 &&
              view.ViewLogFont().lfHeight == before.lfHeight && host.fontsChosen == 1,
          "and its OK keeps the font in use (no \"FixedSys\" in its place): %s", U8(view.ViewLogFont().lfFaceName).c_str());
    view.SetDialogs(&dialogs);
  }

  // ---- the end ----
  view.SetDialogs(nullptr);
  DestroyWindow(fw);
  Pump(200);
  fw::SetHelpViewer(nullptr);
  return wtest::finish();
}
