// Printing of the Hangul editor view in a framework program (32-bit), on
// the fixture's PDF printer: the printer is Wine's default; the preview
// opens on the caret line's page and pages on; a direct print runs the
// framework's page loop to the printer (the PDF is checked by
// print_test.sh); a print cancelled in its printing box and the print
// command's dialog cancelled print nothing;
// margins that leave less than 30 mm give the box and no job; the
// page-setup dialog runs on template 1546, its field menu fills the header
// edit, Help asks for its topic, and OK stores whole millimetres and the
// templates.
//
//   print_test.exe <screenshot folder> <result folder>
//
// The result folder gets layout.txt: the pages the view laid out and the
// preview's first page, for the script.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <winspool.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app.h"
#include "check.h"
#include "dialog.h"
#include "hangul_view.h"
#include "ime_driver.h"
#include "ime_install.h"
#include "line_document.h"
#include "page_setup_dialog.h"
#include "preview.h"
#include "print_resources.h"
#include "screenshot.h"
#include "sdi.h"
#include "test_documents.h"
#include "text_code.h"

using wtest::check;
using wtest::note;

namespace {

constexpr wchar_t kProgram[] = L"PrintTest";
constexpr wchar_t kPrinter[] = L"GeulmaruPDF";
constexpr int kCaretLine = 80;

std::string U8(std::u16string_view s) { return editorview::Utf16ToUtf8String(s); }
std::string Narrow(const std::wstring& w) { return imedrv::Utf8(std::u16string(w.begin(), w.end())); }

class PrintApp final : public fw::App {
 public:
  explicit PrintApp(const fw::Module& module) : fw::App(module, kProgram), ui_(module) {}
  bool Start() { return InitInstance(); }
  wtest::LinesDocument* Doc() const {
    return static_cast<wtest::LinesDocument*>(template_ ? template_->ActiveDocument() : nullptr);
  }
  editorview::CBriselView* View() const {
    return frames_ ? static_cast<editorview::CBriselView*>(frames_->ActiveView()) : nullptr;
  }
  fw::FrameWindow* Frame() const { return frames_ ? frames_->Frame() : nullptr; }
  editorview::PageSettings pageSet = editorview::DefaultPageSettings();

 protected:
  bool InitInstance() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    editorview::LoadGmTables(gm_, module());
    font_.lfHeight = -21;
    font_.lfWeight = FW_NORMAL;
    font_.lfCharSet = HANGEUL_CHARSET;
    lstrcpyW(font_.lfFaceName, L"NanumGothic");
    resources_.module = module();
    resources_.gm = &gm_;
    resources_.pageSettings = &pageSet;
    RECT place{20, 20, 660, 500};
    frames_ = std::make_unique<fw::SdiFrames>(
        fw::SdiFrames::Resources{kProgram, 0, 0, SW_SHOWNORMAL, &place},
        [this] { return std::make_unique<fw::FrameWindow>(module()); },
        [this](fw::Document& d, fw::FrameWindow& frame) -> std::unique_ptr<fw::View> {
          auto& doc = static_cast<wtest::LinesDocument&>(d);
          auto view = std::make_unique<editorview::CBriselView>(doc, doc, resources_, font_);
          if (!view->Create(frame)) return nullptr;
          return view;
        });
    template_ = std::make_unique<fw::SingleDocTemplate>([this] { return std::make_unique<wtest::LinesDocument>(ui_); },
                                                         *frames_, u".txt");
    SetDocTemplate(template_.get());
    return ProcessShellCommand(fw::CommandLineInfo{});
  }

 private:
  wtest::NoSaveUi ui_;
  codeconv::GmCodeConverter gm_;
  LOGFONTW font_{};
  editorview::ViewResources resources_;
  std::unique_ptr<fw::SdiFrames> frames_;
  std::unique_ptr<fw::SingleDocTemplate> template_;
};

PrintApp* g_app = nullptr;

void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    g_app->PumpWaitingMessages();
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

// The text: a first line, a Korean line several rows long, then numbered
// lines; the caret line ends in a row of underscores, a rule in the body
// that the script finds on the page the preview opened on.
std::vector<std::string> DocumentLines() {
  std::vector<std::string> lines;
  lines.push_back(U8(u"인쇄 시험: 첫 줄"));
  std::u16string longLine;
  for (int i = 0; i < 24; ++i) longLine += u"가나다라마바사아자차카타파하 ";
  lines.push_back(U8(longLine));
  char marker[16];
  for (int i = 2; i < 120; ++i) {
    std::snprintf(marker, sizeof marker, "L%03d ", i);
    lines.push_back(marker + (i == kCaretLine ? std::string(50, '_') : U8(u"한국어 본문 줄입니다")));
  }
  return lines;
}

void CheckPrinter() {
  wchar_t name[256]{};
  DWORD size = 256;
  check(GetDefaultPrinterW(name, &size) && lstrcmpW(name, kPrinter) == 0, "the default printer is %s: %s",
        Narrow(kPrinter).c_str(), Narrow(name).c_str());
  DWORD needed = 0, count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed ? needed : 1);
  bool found = false;
  if (EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 4, buffer.data(), needed, &needed, &count)) {
    const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) found = found || lstrcmpW(info[i].pPrinterName, kPrinter) == 0;
  }
  check(found, "winspool lists the CUPS printer (%lu printers)", static_cast<unsigned long>(count));
}

// ---- the page-setup dialog, driven from a timer inside its modal loop ----

struct DialogDrive {
  int step = 0;
  HWND dialog = nullptr;
  bool template1546 = false;
  std::wstring caption;
  std::wstring headerAfterMenu;
  std::wstring shots;
};
DialogDrive g_drive;

// The first visible window of a class: of this thread, or anywhere.
struct WindowSearch {
  const wchar_t* className;
  HWND found = nullptr;
};
BOOL CALLBACK FindVisible(HWND w, LPARAM lp) {
  auto* search = reinterpret_cast<WindowSearch*>(lp);
  wchar_t cls[16]{};
  GetClassNameW(w, cls, 16);
  if (!IsWindowVisible(w) || lstrcmpW(cls, search->className) != 0) return TRUE;
  search->found = w;
  return FALSE;
}
HWND ThreadDialog() {
  WindowSearch search{L"#32770"};
  EnumThreadWindows(GetCurrentThreadId(), FindVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
HWND OpenMenu() {
  WindowSearch search{L"#32768"};
  EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD) {
  DialogDrive& d = g_drive;
  switch (d.step) {
    case 0:
      d.dialog = ThreadDialog();
      if (!d.dialog) return;
      d.caption = fw::WindowText(d.dialog);
      d.template1546 = GetDlgItem(d.dialog, IDC_PAGESET_HEADER) && GetDlgItem(d.dialog, IDC_PAGESET_FOOTER) &&
                       GetDlgItem(d.dialog, IDC_PAGESET_HEADER_FIELD) && GetDlgItem(d.dialog, edt4);
      SetDlgItemTextW(d.dialog, edt4, L"12.5");
      SetDlgItemTextW(d.dialog, edt6, L"20");
      SetDlgItemTextW(d.dialog, IDC_PAGESET_HEADER, L"頁 ");
      SendDlgItemMessageW(d.dialog, IDC_PAGESET_HEADER, EM_SETSEL, 3, 3);
      PostMessageW(d.dialog, WM_COMMAND, MAKEWPARAM(IDC_PAGESET_HEADER_FIELD, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(d.dialog, IDC_PAGESET_HEADER_FIELD)));
      d.step = 1;
      return;
    case 1: {
      // Inside the field menu's own loop: its first item.
      HWND menu = OpenMenu();
      if (!menu) return;
      PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
      d.step = 2;
      return;
    }
    case 2: {
      wchar_t text[400]{};
      GetDlgItemTextW(d.dialog, IDC_PAGESET_HEADER, text, 400);
      d.headerAfterMenu = text;
      if (d.headerAfterMenu == L"頁 ") return;  // the menu's command is still on its way
      RedrawWindow(d.dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      wtest::Capture(d.dialog, d.shots, L"print_pagesetup");
      SendMessageW(d.dialog, WM_COMMAND, MAKEWPARAM(IDC_PAGESET_HELP, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(d.dialog, IDC_PAGESET_HELP)));
      // Korean typed into the footer (no code page 932 character).
      SetDlgItemTextW(d.dialog, IDC_PAGESET_FOOTER, L"- &[ﾍﾟｰｼﾞ番号] 쪽 -&[右端]");
      PostMessageW(d.dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(d.dialog, IDOK)));
      d.step = 3;
      return;
    }
    default:
      return;
  }
}

// The print dialog of the print command, answered with Cancel: no job.
struct PrintDialogSeen {
  bool seen = false;
  bool printerBox = false;
  std::wstring printer;
};
PrintDialogSeen g_printDialog;

void CALLBACK CancelPrintDialog(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = ThreadDialog();
  if (!dialog || g_printDialog.seen) return;
  g_printDialog.seen = true;
  HWND printers = GetDlgItem(dialog, cmb4);
  g_printDialog.printerBox = printers != nullptr;
  if (printers) g_printDialog.printer = fw::WindowText(printers);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}

// The printing box of a direct print, answered with Cancel: the job is
// taken back.
struct PrintingBoxSeen {
  bool seen = false;
  bool ownerDisabled = false;
};
PrintingBoxSeen g_printingBox;

void CALLBACK CancelPrinting(HWND, UINT, UINT_PTR, DWORD) {
  WindowSearch search{L"fw.Printing"};
  EnumThreadWindows(GetCurrentThreadId(), FindVisible, reinterpret_cast<LPARAM>(&search));
  if (!search.found || g_printingBox.seen) return;
  g_printingBox.seen = true;
  g_printingBox.ownerDisabled = !IsWindowEnabled(GetWindow(search.found, GW_OWNER));
  SendMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(search.found, IDCANCEL)));
}

// A command whose modal part a timer of this thread answers.
bool RouteAnswered(fw::FrameWindow& frame, unsigned command, UINT period, TIMERPROC answer) {
  const UINT_PTR timer = SetTimer(nullptr, 0, period, answer);
  const bool taken = frame.RouteCommand(command);
  KillTimer(nullptr, timer);
  return taken;
}

void TestPrintingCancel(fw::FrameWindow& frame) {
  g_printingBox = PrintingBoxSeen{};
  check(RouteAnswered(frame, fw::kCmdFilePrintDirect, 1, CancelPrinting), "a second direct print starts");
  check(g_printingBox.seen && g_printingBox.ownerDisabled, "the printing box showed over the disabled frame");
  check(IsWindowEnabled(frame.hwnd()), "the frame is enabled again after the cancelled job");
}

void TestPrintDialogCancel(fw::FrameWindow& frame) {
  g_printDialog = PrintDialogSeen{};
  check(RouteAnswered(frame, fw::kCmdFilePrint, 300, CancelPrintDialog), "the view takes the print command");
  check(g_printDialog.seen && g_printDialog.printerBox, "the print dialog opened with its printer box");
  check(g_printDialog.printer == kPrinter, "on the program's printer: %s", Narrow(g_printDialog.printer).c_str());
}

void TestPageSetup(const std::wstring& shots) {
  g_drive = DialogDrive{};
  g_drive.shots = shots;
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, DriveDialog);
  // Written where the program's INI file would be.
  wchar_t dir[MAX_PATH]{};
  GetTempPathW(MAX_PATH, dir);
  const std::wstring ini = std::wstring(dir) + L"print_test.ini";
  DeleteFileW(ini.c_str());
  brisel::IniProfile profile(ini);
  editorview::PageSettings settings = g_app->pageSet;
  unsigned long helpTopic = 0;
  const bool ok = brisel::RunPageSetup(g_app->Frame()->hwnd(), g_app->module(), settings, profile,
                                       [&](HWND, unsigned long topic) { helpTopic = topic; });
  KillTimer(nullptr, timer);
  check(g_drive.dialog != nullptr, "the page-setup dialog opened");
  check(g_drive.caption == L"ﾍﾟｰｼﾞ設定", "its caption: %s", Narrow(g_drive.caption).c_str());
  check(g_drive.template1546, "it runs on template 1546 (edits 1119 and 1120, field button 1122, margin edits)");
  check(g_drive.headerAfterMenu == L"頁 &[ﾌｧｲﾙ名]", "the field menu put its field at the caret: %s",
        Narrow(g_drive.headerAfterMenu).c_str());
  check(helpTopic == HELP_TOPIC_PAGESET, "Help asks for topic 4007: %lu", helpTopic);
  if (!check(ok && g_drive.step == 3, "OK closed the dialog")) return;
  check(settings.leftMargin == 12, "12.5 mm is stored as 12: %d", settings.leftMargin);
  check(settings.rightMargin == 20 && settings.topMargin == 15 && settings.bottomMargin == 15,
        "the other margins: %d %d %d", settings.rightMargin, settings.topMargin, settings.bottomMargin);
  check(settings.header == fw::ToCodePage(932, L"頁 &[ﾌｧｲﾙ名]"), "the header template is kept in code page 932");
  // U+CABD kept as its reference, so that it prints as typed.
  check(settings.footer == fw::ToCodePage(932, L"- &[ﾍﾟｰｼﾞ番号] &#xCABD; -&[右端]"), "the footer template as typed");
  check(editorview::TemplateToUtf16(settings.footer, codeconv::PlatformCodePages()) == u"- &[ﾍﾟｰｼﾞ番号] 쪽 -&[右端]",
        "and it comes back with its Korean");
  check(!fw::ProgramPrinter().DeviceName().empty(), "the printer of the dialog is the program's: %s",
        Narrow(fw::ProgramPrinter().DeviceName()).c_str());
  // The section as written.
  wchar_t value[64]{};
  GetPrivateProfileStringW(L"PageSet", L"LeftMargin", L"", value, 64, ini.c_str());
  check(lstrcmpW(value, L"12") == 0, "LeftMargin=%s in the INI file", Narrow(value).c_str());
  GetPrivateProfileStringW(L"PageSet", L"Header", L"", value, 64, ini.c_str());
  check(lstrcmpW(value, L"頁 &[ﾌｧｲﾙ名]") == 0, "Header=%s in the INI file", Narrow(value).c_str());
  GetPrivateProfileStringW(L"PageSet", L"Footer", L"", value, 64, ini.c_str());
  check(lstrcmpW(value, L"- &[ﾍﾟｰｼﾞ番号] &#xCABD; -&[右端]") == 0, "Footer=%s in the INI file", Narrow(value).c_str());
  check(brisel::LoadPageSet(profile) == settings, "and read back the same");
  DeleteFileW(ini.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 printing";
  if (argc != 3) {
    std::printf("usage: print_test <screenshot folder> <result folder>\n");
    return 2;
  }
  const std::wstring shots = imedrv::WidenArg(argv[1]);
  const std::wstring results = imedrv::WidenArg(argv[2]);
  CreateDirectoryW(shots.c_str(), nullptr);
  CreateDirectoryW(results.c_str(), nullptr);

  // The view activates the installed input method: from its defaults, not
  // from what another test left.
  imeinst::ResetImeSettings(L"ZO");
  CheckPrinter();
  PrintApp app{fw::Module(GetModuleHandleW(nullptr))};
  g_app = &app;
  if (!check(app.Start(), "the application starts with a new document")) return wtest::finish();
  wtest::LinesDocument* doc = app.Doc();
  editorview::CBriselView* view = app.View();
  fw::FrameWindow* frame = app.Frame();
  if (!check(doc && view && frame, "a frame with the view")) return wtest::finish();
  doc->lines.Assign(DocumentLines());
  doc->SetTitle(u"memo.txt");
  view->OnUpdate(nullptr, 0);
  view->Engine().SetCaret({kCaretLine, 0});
  Pump(500);

  // ---- the preview opens on the caret line's page ----
  check(frame->RouteCommand(fw::kCmdFilePrintPreview), "the view takes the preview command");
  Pump(800);
  fw::PreviewWindow* preview = fw::PreviewWindow::Active();
  int pages = 0, caretPage = 0;
  if (check(preview != nullptr, "the preview window is open")) {
    pages = preview->Paging().MaxPage();
    caretPage = preview->Paging().CurrentPage();
    check(pages >= 3, "the text is laid out on several pages: %d", pages);
    check(caretPage > 1 && caretPage <= pages, "the preview opens on page %d of %d", caretPage, pages);
    check(!IsWindowEnabled(frame->hwnd()), "the frame waits while the preview is open");
    const wtest::Shot shot = wtest::Capture(preview->hwnd(), shots, L"print_preview");
    RECT c{};
    GetClientRect(preview->hwnd(), &c);
    const int ink = shot.Count(wtest::ClientInShot(preview->hwnd()), [](COLORREF p) { return p == RGB(0, 0, 0); });
    check(ink > 500, "the preview's page shows text: %d black pixels", ink);
    SendMessageW(GetDlgItem(preview->hwnd(), fw::PreviewWindow::kPreviousPage), BM_CLICK, 0, 0);
    check(preview->Paging().CurrentPage() == caretPage - 1, "previous page: %d", preview->Paging().CurrentPage());
    SendMessageW(GetDlgItem(preview->hwnd(), fw::PreviewWindow::kZoom), BM_CLICK, 0, 0);
    SendMessageW(preview->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)), 0);
    const int scrolled = preview->Paging().ScrollOffset();
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_POS | SIF_RANGE;
    GetScrollInfo(preview->hwnd(), SB_VERT, &bar);
    check(preview->Paging().Zoomed() && scrolled > 0 && bar.nPos == scrolled,
          "the zoomed page scrolls with the wheel: %d, its bar at %d", scrolled, bar.nPos);
    Pump(300);
    wtest::Capture(preview->hwnd(), shots, L"print_preview_zoom");
    SendMessageW(GetDlgItem(preview->hwnd(), fw::PreviewWindow::kZoom), BM_CLICK, 0, 0);
    check(!preview->Paging().Zoomed() && preview->Paging().ScrollOffset() == 0, "the whole page again");
    SendMessageW(GetDlgItem(preview->hwnd(), fw::PreviewWindow::kPages), BM_CLICK, 0, 0);
    check(preview->Paging().PagesShown() == 2 && !preview->Paging().Zoomed() && preview->Paging().ScrollOffset() == 0,
          "two pages side by side");
    Pump(300);
    wtest::Capture(preview->hwnd(), shots, L"print_preview_two");
    SendMessageW(GetDlgItem(preview->hwnd(), fw::PreviewWindow::kClose), BM_CLICK, 0, 0);
    Pump(300);
    check(fw::PreviewWindow::Active() == nullptr && IsWindowEnabled(frame->hwnd()), "closed; the frame is back");
  }
  check(!view->Printing().Active(), "the view's printing state ends with the preview");

  // ---- a direct print to the PDF printer ----
  check(frame->RouteCommand(fw::kCmdFilePrintDirect), "the view takes the direct-print command");
  Pump(300);
  char layout[128];
  std::snprintf(layout, sizeof layout, "pages=%d\ncaretpage=%d\n", pages, caretPage);
  const std::wstring layoutFile = results + L"\\layout.txt";
  if (FILE* f = _wfopen(layoutFile.c_str(), L"wb")) {
    std::fputs(layout, f);
    std::fclose(f);
  }

  // ---- a print cancelled in its box, and the print dialog cancelled: no job ----
  TestPrintingCancel(*frame);
  TestPrintDialogCancel(*frame);

  // ---- margins that leave 10 mm of an A4 width: the box, and no job ----
  imedrv::BoxWatcher boxes;
  boxes.Start();
  app.pageSet.leftMargin = app.pageSet.rightMargin = 100;
  frame->RouteCommand(fw::kCmdFilePrintDirect);
  Pump(500);
  boxes.Stop();
  const std::vector<std::u16string> texts = boxes.Texts();
  const std::u16string expected = u"印刷領域がありません。\nﾍﾟｰｼﾞ設定で余白の値を修正してください。";
  check(texts.size() == 1, "one box: %d", static_cast<int>(texts.size()));
  if (!texts.empty()) {
    std::u16string text = texts[0];
    std::u16string flat = expected;
    for (auto& c : flat) c = c == u'\n' ? u' ' : c;
    for (auto& c : text) c = c == u'\n' ? u' ' : c;
    check(text.find(flat) != std::u16string::npos || text.find(expected) != std::u16string::npos,
          "the printable-area box: %s", imedrv::Utf8(texts[0]).c_str());
  }
  app.pageSet = editorview::DefaultPageSettings();

  // ---- the page-setup dialog ----
  TestPageSetup(shots);

  DestroyWindow(frame->hwnd());
  Pump(200);
  return wtest::finish();
}
