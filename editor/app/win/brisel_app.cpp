#include "brisel_app.h"

#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "brisel_resource.h"
#include "custom_file_dialog.h"
#include "dialog.h"
#include "display_faces.h"
#include "help.h"
#include "help_route.h"
#include "main_frame.h"
#include "open_path.h"
#include "view_choices.h"
#include "view_resources.h"

namespace brisel {

namespace {

// The program's name: the first part of its main string.
std::wstring ProgramTitle(const fw::Module& module) {
  std::wstring text = module.String(IDR_MAINFRAME);
  const size_t end = text.find(L'\n');
  if (end != std::wstring::npos) text.resize(end);
  return text.empty() ? std::wstring(L"Brisel") : text;
}

// The show command the program was started with (a shortcut may ask for a
// minimised or maximised start).
int StartShowCommand() {
  STARTUPINFOW info{};
  info.cb = sizeof info;
  GetStartupInfoW(&info);
  return (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : SW_SHOWNORMAL;
}

class CAboutDlg final : public fw::Dialog {
 public:
  explicit CAboutDlg(const fw::Module& module) : fw::Dialog(module, IDD_ABOUTBOX) {}
};

}  // namespace

// Saving asks for a name through the program's file dialog.
class BriselDocumentUi final : public fw::Win32DocumentUi {
 public:
  BriselDocumentUi(const fw::Module& module, CBriselApp& app) : fw::Win32DocumentUi(module), app_(app) {}
  std::optional<std::u16string> PromptSaveName(std::u16string_view proposed, unsigned titleId) override {
    std::wstring name = Wide(proposed);
    if (!app_.DoPromptFileName(name, titleId, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, false)) return std::nullopt;
    return U16(name);
  }

 private:
  CBriselApp& app_;
};

std::wstring ResolveShortcut(const std::wstring& path) {
  std::wstring target;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return target;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
      wchar_t buffer[MAX_PATH] = {};
      WIN32_FIND_DATAW found{};
      if (link->GetPath(buffer, MAX_PATH, &found, 0) == S_OK) target = buffer;
    }
    file->Release();
  }
  link->Release();
  return target;
}

CBriselApp::CBriselApp(const fw::Module& module)
    : fw::App(module, ProgramTitle(module)),
      store_(fw::ProgramProfileFile(module.handle())),
      profile_(store_),
      pageProfile_(store_.file()) {
  screenDc_ = GetDC(nullptr);
  newShell_ = LOBYTE(LOWORD(GetVersion())) > 3;
}

CBriselApp::~CBriselApp() {
  template_.reset();
  frames_.reset();
  dialogs_.reset();
  if (screenDc_) ReleaseDC(nullptr, screenDc_);
}

CMainFrame* CBriselApp::MainFrame() const { return frames_ ? static_cast<CMainFrame*>(frames_->Frame()) : nullptr; }

editorview::CBriselView* CBriselApp::View() const {
  return frames_ ? static_cast<editorview::CBriselView*>(frames_->ActiveView()) : nullptr;
}

CBriselDoc* CBriselApp::ActiveDocument() const {
  return template_ ? static_cast<CBriselDoc*>(template_->ActiveDocument()) : nullptr;
}

void CBriselApp::SyncViewSettings() {
  viewSettings_.pasteCode = settings_.pasteCode;
  viewSettings_.ksCopyRichText = settings_.ksCopyFlag != 0;
  viewSettings_.gmCopyRichText = settings_.gmCopyFlag != 0;
  // The faces go into rich text as the Japanese code page's bytes.
  viewSettings_.ksCopyFont = fw::ToCodePage(932, Wide(settings_.ksCopyFont));
  viewSettings_.gmCopyFont = fw::ToCodePage(932, Wide(settings_.gmCopyFont));
}

void CBriselApp::SetViewLogFont(const LOGFONTW& font, int fontType) {
  viewFont_ = font;
  fontType_ = fontType;
  FontSettings f;
  f.height = font.lfHeight;
  f.weight = font.lfWeight;
  f.charSet = font.lfCharSet;
  f.pitchAndFamily = font.lfPitchAndFamily;
  f.faceName = U16(font.lfFaceName);
  f.fontType = fontType;
  WriteFontSettings(profile_, f);
}

bool CBriselApp::InitInstance() {
  // 1. The help file beside the program.
  helpFile_ = fw::HelpFileOf(module().handle());
  // 2. Common controls; the profile's settings with the recent files.
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&icc);
  CoInitialize(nullptr);
  recentFiles_.Read(profile_);
  settings_ = ReadControlSettings(profile_);
  SyncViewSettings();
  pageSettings_ = LoadPageSet(pageProfile_);
  const FontSettings f = ReadFontSettings(profile_);
  viewFont_ = LOGFONTW{};
  viewFont_.lfHeight = f.height;
  viewFont_.lfWeight = f.weight;
  viewFont_.lfCharSet = static_cast<BYTE>(f.charSet);
  viewFont_.lfPitchAndFamily = static_cast<BYTE>(f.pitchAndFamily);
  lstrcpynW(viewFont_.lfFaceName, Wide(f.faceName).c_str(), LF_FACESIZE);
  fontType_ = f.fontType;

  // 6 (before the template needs them). The GM code tables and the
  // rich-text templates.
  editorview::LoadGmTables(gm_, module());
  editorview::LoadRtfParts(rtf_, module());
  viewResources_.module = module();
  viewResources_.gm = &gm_;
  viewResources_.rtf = &rtf_;
  viewResources_.settings = &viewSettings_;
  viewResources_.detector = &detector_;
  viewResources_.pageSettings = &pageSettings_;
  dialogs_ = std::make_unique<EditorDialogs>(EditorDialogs::Resources{module(), &gm_, helpFile_, nullptr}, *this);

  // 3. The single-document template.
  ui_ = std::make_unique<BriselDocumentUi>(module(), *this);
  frames_ = std::make_unique<fw::SdiFrames>(
      fw::SdiFrames::Resources{programName(), IDR_MAINFRAME, IDR_MAINFRAME, StartShowCommand(), nullptr},
      [this] { return std::make_unique<CMainFrame>(module(), viewSettings_.pasteCode); },
      [this](fw::Document& d, fw::FrameWindow& frame) -> std::unique_ptr<fw::View> {
        auto& doc = static_cast<CBriselDoc&>(d);
        auto view = std::make_unique<editorview::CBriselView>(doc, doc, viewResources_, viewFont_);
        view->SetDialogs(dialogs_.get());
        if (!view->Create(frame)) return nullptr;
        docHost_.SetView(&view->Engine());
        return view;
      });
  const std::wstring untitled = module().String(IDS_UNTITLED);
  template_ = std::make_unique<fw::SingleDocTemplate>(
      [this]() -> std::unique_ptr<fw::Document> {
        return std::make_unique<CBriselDoc>(CBriselDoc::Services{*ui_, files_, docHost_, settings_, gm_,
                                                                 codeconv::PlatformCodePages(), &detector_});
      },
      *frames_, u".txt",
      untitled.empty() ? std::u16string(fw::kUntitledText) : U16(untitled));
  SetDocTemplate(template_.get());

  // 4. The Hangul edit control of the find and replace pages.
  RegisterEditorSEdit(module().handle());

  // 5. The command line: a new document or the file named. A file that
  // cannot be opened (its box has said why) leaves the empty editor, from
  // which the user may open it again with another code.
  const fw::CommandLineInfo info = ParseCommandLine();
  if (info.command == fw::ShellCommand::kFileOpen) {
    if (!OpenDocumentFile(info.fileName) && !ProcessShellCommand(fw::CommandLineInfo{})) return false;
  } else if (!ProcessShellCommand(info)) {
    return false;
  }
  // 6. Dropped files.
  if (MainWindow()) DragAcceptFiles(MainWindow(), TRUE);
  return MainWindow() != nullptr;
}

fw::Document* CBriselApp::OpenDocumentFile(std::u16string_view name) {
  HWND owner = MainWindow();
  auto fail = [&]() -> fw::Document* {
    const std::wstring text = module().String(IDS_FAILED_TO_OPEN_DOC);
    MessageBoxW(owner, text.c_str(), programName().c_str(), MB_OK | MB_ICONEXCLAMATION);
    return nullptr;
  };
  if (!template_) return fail();
  const auto argument = DocumentPathArgument(name);
  if (!argument) return fail();
  wchar_t full[MAX_PATH * 2] = {};
  const DWORD n = GetFullPathNameW(Wide(*argument).c_str(), MAX_PATH * 2, full, nullptr);
  if (n == 0 || n >= MAX_PATH * 2) return fail();
  std::wstring path(full, n);
  if (IsShortcutPath(U16(path))) {
    std::wstring target = ResolveShortcut(path);
    if (!target.empty()) path = std::move(target);
  }
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return fail();
  const std::u16string u = U16(path);
  fw::Document* doc = template_->OpenDocumentFile(&u);
  if (doc) NoteRecentFile();
  return doc;
}

bool CBriselApp::DoPromptFileName(std::wstring& name, unsigned titleId, DWORD flags, bool open) {
  CCustomFileDialog1 dialog(module(), open, settings_);
  dialog.title = module().String(titleId);
  dialog.flags = flags;
  dialog.defaultExtension = L"txt";
  dialog.filter = fw::FileDialogFilter(
      {{module().String(IDS_TEXT_FILTER), L"*.txt"}, {module().String(IDS_ALLFILTER), L"*.*"}});
  dialog.fileName = name;
  if (dialog.DoModal(MainWindow()) != IDOK) return false;
  name = dialog.fileName;
  return true;
}

void CBriselApp::OnFileOpen() {
  std::wstring name;
  if (!DoPromptFileName(name, IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, true)) return;
  OpenDocumentFile(U16(name));
}

// The page-setup dialog; OK keeps the margins and templates for printing
// and writes the section "PageSet". Its Help goes through the frame's WinHelp.
void CBriselApp::OnPageSetup() {
  RunPageSetup(MainWindow(), module(), pageSettings_, pageProfile_, [this](HWND, unsigned long topic) {
    if (CMainFrame* frame = MainFrame()) frame->WinHelp(topic, fw::kWinHelpContext);
  });
}

void CBriselApp::OpenRecentFile(unsigned id) {
  const std::u16string path(recentFiles_.EntryOfCommand(id));
  if (path.empty()) return;
  if (!OpenDocumentFile(path)) recentFiles_.Remove(id - fw::cmd::kFirstRecentFile);
}

// A document under a new path (opened, or saved under another name) goes
// to the top of the recent files.
void CBriselApp::NoteRecentFile() {
  fw::Document* doc = ActiveDocument();
  if (!doc || doc->PathName().empty() || doc->PathName() == lastPath_) return;
  lastPath_ = doc->PathName();
  recentFiles_.Add(lastPath_);
}

bool CBriselApp::OnCommand(unsigned id) {
  if (id >= fw::cmd::kFirstRecentFile && id <= fw::cmd::kLastRecentFile) {
    OpenRecentFile(id);
    return true;
  }
  switch (id) {
    case ID_FILE_OPEN: OnFileOpen(); return true;
    case ID_FILE_PAGE_SETUP: OnPageSetup(); return true;
    case ID_APP_ABOUT: {
      CAboutDlg about(module());
      about.DoModal(MainWindow());
      return true;
    }
    default: return fw::App::OnCommand(id);
  }
}

bool CBriselApp::OnUpdateCommand(unsigned id, fw::CommandState& state) {
  if (id >= fw::cmd::kFirstRecentFile && id <= fw::cmd::kLastRecentFile) {
    state.enabled = !recentFiles_.EntryOfCommand(id).empty();
    return true;
  }
  if (id == ID_FILE_OPEN || id == ID_FILE_PAGE_SETUP || id == ID_APP_ABOUT) return true;
  return fw::App::OnUpdateCommand(id, state);
}

bool CBriselApp::OnIdle(long count) {
  if (imeFlag_) {
    if (editorview::CBriselView* view = View()) view->ActivateImeForFont();
    imeFlag_ = false;
  }
  if (count == 0) {
    NoteRecentFile();
    // The code a plain save of the document writes.
    CMainFrame* frame = MainFrame();
    if (CBriselDoc* doc = ActiveDocument(); doc && frame) {
      const std::u16string name = SaveCodeName(doc->PlainSaveCode(), ModuleStrings(module().handle()));
      frame->ShowSaveCode(Wide(name));
    }
  }
  return fw::App::OnIdle(count);
}

void CBriselApp::TakeViewSettings() {
  settings_.pasteCode = viewSettings_.pasteCode;
  settings_.ksCopyFlag = viewSettings_.ksCopyRichText ? 1 : 0;
  settings_.gmCopyFlag = viewSettings_.gmCopyRichText ? 1 : 0;
  const std::wstring ks = fw::FromCodePage(932, viewSettings_.ksCopyFont);
  const std::wstring gm = fw::FromCodePage(932, viewSettings_.gmCopyFont);
  settings_.ksCopyFont = U16(ks);
  settings_.gmCopyFont = U16(gm);
}

// The font dialog's choice: kept and written to "Font"; a font of the other
// code sets the codes that named the old one back (string 62023 says so)
// and fills the paste-code box again.
void CBriselApp::FontChosen(const LOGFONTW& font, int fontType, bool codeChanged) {
  SetViewLogFont(font, fontType);
  if (!codeChanged) return;
  editorview::CodeSettings codes{viewSettings_.pasteCode, settings_.inFileType, settings_.outFileType};
  if (editorview::ResetCodesAfterFontCodeChange(codes)) {
    MessageBeep(MB_ICONEXCLAMATION);
    const std::wstring text = module().String(IDS_FONT_CODE_CHANGED);
    MessageBoxW(MainWindow(), text.c_str(), programName().c_str(), MB_OK | MB_ICONEXCLAMATION);
  }
  viewSettings_.pasteCode = codes.pasteCode;
  settings_.inFileType = codes.inFileType;
  settings_.outFileType = codes.outFileType;
  if (CMainFrame* frame = MainFrame()) frame->FillPasteCodeCombo();
}

bool CBriselApp::CanReread() const {
  const CBriselDoc* doc = ActiveDocument();
  return doc && !doc->PathName().empty() && !doc->IsModified();
}

void CBriselApp::Reread() {
  if (CBriselDoc* doc = ActiveDocument()) {
    const std::u16string path = doc->PathName();
    OpenDocumentFile(path);
  }
}

int CBriselApp::ExitInstance() {
  // The paste code as the box (or a font of another code) left it, the
  // copy settings as the settings dialog left them.
  TakeViewSettings();
  WriteControlSettings(profile_, settings_);
  recentFiles_.Write(profile_);
  CoUninitialize();
  return fw::App::ExitInstance();
}

}  // namespace brisel

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  brisel::CBriselApp app(fw::Module{instance});
  return app.Run();
}
