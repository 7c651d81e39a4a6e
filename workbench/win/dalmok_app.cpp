// DALMOK.EXE, the translation workbench: an always-on-top frame that the
// input method's toolbar starts for the application the user types in. A
// static splitter holds the Japanese pane (an ANSI edit view) above the
// Korean pane (the Hangul editor view's workbench variant); the commands
// translate through LomiDLL.dll, convert characters (the engine's character
// mode, Tibrel.dll's hanja to Hangul, Omidel.dll's kana reading) and send
// the Korean text to the input method's UI window, which puts it into the
// application.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dalmok_resource.h"
#include "dalmok_help.h"
#include "dialog.h"
#include "control_views.h"
#include "frame.h"
#include "gm_converter.h"
#include "hangul_view.h"
#include "ime_layouts.h"
#include "ime_link.h"
#include "lines_document.h"
#include "lomi_api.h"
#include "rtf_clip.h"
#include "settings_dialog.h"
#include "text_codes.h"
#include "settings_sheet.h"
#include "sdi.h"
#include "shared_settings_win32.h"
#include "sonavo_engine.h"
#include "speech_wrapper.h"
#include "splitter.h"
#include "statusbar.h"
#include "tibrel_api.h"
#include "toolbar.h"
#include "user_dic_dialogs.h"
#include "user_dic_editor.h"
#include "user_dic_win.h"
#include "view_resources.h"
#include "workbench_core.h"
#include "sedit_window.h"
#include "word_choice.h"
#include "word_select_dlg.h"

extern "C" {
int LOMI_API Set_JKTrans_Configure(lomi::JKTransConfig config);
int LOMI_API JK_Transfer(int mode, int sourceCodePage, int outputCodePage, const char* source, char* output,
                         int* length, void* alignment, int* alignmentCount);
int LOMI_API Lomi_ReKrnGenerate(char* output, int capacity, void* table);
int LOMI_API CheckIfUDicFile_JK(const char* path);
int TIBREL_API HanjaToHangeul(wchar_t* text, int reserved);
}

namespace dalmok {
namespace {

constexpr char kCaption[] = "DAL-MOK";
constexpr char kDalmokKey[] = "SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok";
constexpr char kUserDicKey[] = "SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok\\DMUserDic";
constexpr UINT kResultClosed = WM_APP + 1;  // wParam: the result window's kind
constexpr std::size_t kConversionLimit = 10000;

LOGFONTW WideFont(const LOGFONTA& a) {
  LOGFONTW w{};
  std::memcpy(&w, &a, offsetof(LOGFONTA, lfFaceName));
  MultiByteToWideChar(CP_ACP, 0, a.lfFaceName, -1, w.lfFaceName, LF_FACESIZE);
  return w;
}

// A font slot of the workbench's registry key as the panes use it.
LOGFONTW ReadFont(int slot) {
  const auto setting = workbench::sheet::ReadFontSetting(settings::SystemSettings(), slot, kCaption);
  LOGFONTA font{};
  static_assert(sizeof font == sizeof setting.font);
  std::memcpy(&font, &setting.font, sizeof font);
  return WideFont(font);
}

void Message(HWND owner, const wchar_t* text, UINT icon = MB_ICONEXCLAMATION) {
  MessageBoxW(owner, text, L"DAL-MOK", MB_OK | icon);
}

// The SEdit controls of the workbench's dialogs.
sedit::StaticTable<sedit::kWorkbenchVariant> g_seditTable;
sedit::SEditHost g_seditHost;

// ---- the document: the Korean pane's lines with line 0's table ----
using CDalmokDoc = editorview::LinesDocumentOf<workbench::PaneLines>;

class WorkbenchUi final : public fw::Win32DocumentUi {
 public:
  using fw::Win32DocumentUi::Win32DocumentUi;
  fw::SaveAnswer AskToSave(std::u16string_view) override { return fw::SaveAnswer::kNo; }
  std::optional<std::u16string> PromptSaveName(std::u16string_view, unsigned) override { return std::nullopt; }
};

class CMainFrame;

// ---- the Japanese pane ----
class CJapanese final : public fw::EditView {
 public:
  CJapanese(fw::Document& document, CMainFrame& frame, const LOGFONTW& font, bool charOffsets)
      : fw::EditView(document, false), frame_(frame), logFont_(font), charOffsets_(charOffsets) {}

  std::string Bytes() const { return GetTextBytes(932); }
  // The selection in Shift-JIS byte offsets.
  void GetSelBytes(int& start, int& end) const {
    GetSel(start, end);
    if (!charOffsets_) return;
    const std::string text = Bytes();
    start = workbench::CharToByteOffset(text, start);
    end = workbench::CharToByteOffset(text, end);
  }
  // The display font rebuilt from the settings (after the settings sheet).
  void ApplyFont(const LOGFONTW& font) {
    logFont_ = font;
    HFONT old = font_;
    font_ = CreateFontIndirectW(&logFont_);
    if (HIMC imc = ImmGetContext(hwnd())) {
      ImmSetCompositionFontW(imc, &logFont_);
      ImmReleaseContext(hwnd(), imc);
    }
    if (font_) SetFont(font_, true);
    if (old) DeleteObject(old);
  }
  // The chosen Japanese input method, activated when the pane takes the focus.
  void SetImeName(std::string name) { imeName_ = std::move(name); }
  void ActivateJapaneseIme() {
    if (imeName_.empty()) return;
    HKL layout = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName(imeName_));
    if (!layout || layout == GetKeyboardLayout(0)) return;
    ActivateKeyboardLayout(layout, 0);
    if (HIMC imc = ImmGetContext(hwnd())) {
      if (!ImmGetOpenStatus(imc)) ImmSetOpenStatus(imc, TRUE);
      DWORD conversion = 0, sentence = 0;
      if (ImmGetConversionStatus(imc, &conversion, &sentence) && conversion == 0)
        ImmSetConversionStatus(imc, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN, sentence);
      ImmReleaseContext(hwnd(), imc);
    }
  }

  void SetSelBytes(int start, int end) {
    if (charOffsets_) {
      const std::string text = Bytes();
      start = workbench::ByteToCharOffset(text, start);
      end = workbench::ByteToCharOffset(text, end);
    }
    SetSel(start, end, true);
  }

 protected:
  void OnCreated() override {
    font_ = CreateFontIndirectW(&logFont_);
    if (font_) SetFont(font_, false);
  }
  void OnTextChanged() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnCommand(unsigned id) override;

 private:
  CMainFrame& frame_;
  LOGFONTW logFont_;
  bool charOffsets_;
  HFONT font_ = nullptr;
  std::string imeName_;

 public:
  ~CJapanese() override {
    if (font_) DeleteObject(font_);
  }
};

// ---- the result windows (hanja to Hangul, kana reading) ----
class CResultWnd final : public fw::Dialog {
 public:
  enum Kind { kKana = 0, kHanja = 1 };
  CResultWnd(const fw::Module& module, HWND frame, Kind kind, const LOGFONTW& font)
      : fw::Dialog(module, IDD_RESULT), frame_(frame), kind_(kind), logFont_(font) {}
  ~CResultWnd() override {
    if (font_) DeleteObject(font_);
  }
  // Shows text (UTF-16) in the text control, whole whatever its length.
  void ShowText(const std::wstring& text) { SetWindowTextW(text_, text.c_str()); }
  HWND TextControl() const { return text_; }

 protected:
  bool OnInitDialog() override {
    SetWindowTextW(hwnd(), kind_ == kHanja ? L"漢字ハングル変換" : L"カナ読み変換");
    text_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_NOHIDESEL |
                                ES_AUTOVSCROLL,
                            2, 2, 10, 10, hwnd(), reinterpret_cast<HMENU>(IDC_RESULT_TEXT), nullptr, nullptr);
    SendMessageW(text_, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    font_ = CreateFontIndirectW(&logFont_);
    if (font_) SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    // Centred on the screen.
    RECT r{};
    GetWindowRect(hwnd(), &r);
    initial_ = r;
    SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Layout();
    return true;
  }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_SIZE:
        Layout();
        break;
      case WM_SIZING: {
        // At least half the first width and two thirds of the first height.
        auto* r = reinterpret_cast<RECT*>(lParam);
        const long minWidth = (initial_.right - initial_.left) / 2;
        const long minHeight = (initial_.bottom - initial_.top) * 2 / 3;
        if (r->right - r->left < minWidth) {
          if (wParam == WMSZ_LEFT || wParam == WMSZ_TOPLEFT || wParam == WMSZ_BOTTOMLEFT)
            r->left = r->right - minWidth;
          else
            r->right = r->left + minWidth;
        }
        if (r->bottom - r->top < minHeight) {
          if (wParam == WMSZ_TOP || wParam == WMSZ_TOPLEFT || wParam == WMSZ_TOPRIGHT)
            r->top = r->bottom - minHeight;
          else
            r->bottom = r->top + minHeight;
        }
        result = TRUE;
        return true;
      }
      case WM_COMMAND:
        if (LOWORD(wParam) == IDC_RESULT_COPY) {
          DWORD start = 0, end = 0;
          SendMessageW(text_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
          if (start == end) {
            SendMessageW(text_, EM_SETSEL, 0, -1);
            SendMessageW(text_, WM_COPY, 0, 0);
            SendMessageW(text_, EM_SETSEL, 0, 0);
          } else {
            SendMessageW(text_, WM_COPY, 0, 0);
          }
          result = 0;
          return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
          // A modeless window: destroyed, not only hidden.
          DestroyWindow(hwnd());
          result = 0;
          return true;
        }
        break;
      case WM_DESTROY:
        PostMessageW(frame_, kResultClosed, static_cast<WPARAM>(kind_), 0);
        break;
      default:
        break;
    }
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }

 private:
  void Layout() {
    RECT c{};
    GetClientRect(hwnd(), &c);
    HWND copy = GetDlgItem(hwnd(), IDC_RESULT_COPY);
    HWND close = GetDlgItem(hwnd(), IDCANCEL);
    RECT b{};
    GetWindowRect(close, &b);
    const int bw = b.right - b.left, bh = b.bottom - b.top;
    const int buttonTop = c.bottom - bh - 6;
    MoveWindow(close, c.right - bw - 6, buttonTop, bw, bh, TRUE);
    MoveWindow(copy, c.right - 2 * bw - 14, buttonTop, bw, bh, TRUE);
    MoveWindow(text_, 2, 2, c.right - 5 - 2, buttonTop - 5 - 2, TRUE);
  }

  HWND frame_;
  Kind kind_;
  LOGFONTW logFont_;
  HFONT font_ = nullptr;
  HWND text_ = nullptr;
  RECT initial_{};
};

// ---- the frame ----
struct Program {
  workbench::StartArguments arguments;
  bool charOffsets = false;
  std::string folder;       // the program folder, with its backslash
  std::string installPath;  // INSTPATH, or empty
  codeconv::GmCodeConverter gm;
  editorview::RtfClipBuilder rtf;
  editorview::ViewSettings viewSettings;
  editorview::ViewResources viewResources;
  LOGFONTW koreanFont{}, japaneseFont{};
  std::string userDic[lomi::kUserDicSlots];
  lomi::JKTransConfig config{};
  workbench::WindowPos windowPos;
  std::string wavPath;
  bool speechLoaded = false;
  int speaker = 0, volume = 100, rate = 100, pitch = 100;
  std::string selectIme;  // the Japanese pane's input method ("SelectIME")
};

speech::SpeechEngineWrapper& Speech() {
  static speech::SpeechEngineWrapper wrapper(speech::SonavoEngine(), speech::kWorkbenchSpeech);
  return wrapper;
}

class CMainFrame final : public fw::FrameWindow {
 public:
  CMainFrame(const fw::Module& module, Program& program)
      : fw::FrameWindow(module), toolBar_(module), statusBar_(module), splitter_(module), program_(program) {
    title_ = L"ＤＡＬＭＯＫ(パリスク) － ";
    title_ += program.arguments.codeMode == 1 ? L"ＫＳ" : L"ＧＭ";
  }

  CJapanese* japanese = nullptr;
  editorview::CTavrinView* korean = nullptr;

  bool OnCreateClient(fw::Document& document) override {
    doc_ = &static_cast<CDalmokDoc&>(document);
    RECT c{};
    GetClientRect(hwnd(), &c);
    const int rowHeight = c.bottom - GetSystemMetrics(SM_CYICON) - 16;
    if (!splitter_.CreateStatic(*this, 2, 1)) return false;
    japanese = splitter_.CreateView<CJapanese>(0, 0, SIZE{0, rowHeight / 2},
                                               [&](fw::FrameWindow& frame, const fw::PaneSite& site) {
                                                 auto v = std::make_unique<CJapanese>(
                                                     document, *this, program_.japaneseFont, program_.charOffsets);
                                                 v->Create(frame, &site);
                                                 return v;
                                               });
    korean = splitter_.CreateView<editorview::CTavrinView>(
        1, 0, SIZE{0, 0}, [&](fw::FrameWindow& frame, const fw::PaneSite& site) {
          auto v = std::make_unique<editorview::CTavrinView>(editorview::kWorkbenchViewParams, document, *doc_,
                                                             program_.viewResources, program_.koreanFont);
          v->Create(frame, site);
          return v;
        });
    if (!japanese || !korean) return false;
    japanese->SetImeName(program_.selectIme);
    return splitter_.SetActivePane(0, 0);
  }

  // ---- commands ----
  bool OnCommand(unsigned id) override {
    switch (id) {
      case ID_TRANSLATE: Translate(); return true;
      case ID_CHAR_CONVERT: ConvertCharacters(false); return true;
      case ID_KANJI_TO_HANGUL: ConvertCharacters(true); return true;
      case ID_KOREAN_HANJA_TO_HANGUL: ShowResult(CResultWnd::kHanja); return true;
      case ID_KANA_READING: ShowResult(CResultWnd::kKana); return true;
      case ID_SEND_TO_APPLICATION: OnTransferToApplication(); return true;
      case ID_SEND_ENTER: OnSendEnter(); return true;
      case ID_CLEAR_ALL: ClearAll(); return true;
      case ID_COUNTERPART: Counterpart(ActiveView() == korean); return true;
      case ID_WORD_CHOICE: OnSelectWord(); return true;
      case ID_DICTIONARY_PROGRAM: OnDictionaryLookup(); return true;
      case ID_READ_ALOUD: OnSpeak(); return true;
      case ID_STOP_READING: StopPlayback(); return true;
      case ID_SETTINGS: OnSettings(); return true;
      case ID_HELP_INDEX: ShowHelp(workbench::help::kHelpContextMain); return true;
      case ID_DICTIONARY_CHOICE: OnDictionaryChoice(); return true;
      case ID_DICTIONARY_EDIT: OnDictionaryEdit(); return true;
      case ID_APP_ABOUT: fw::Dialog(module(), IDD_ABOUTBOX).DoModal(hwnd()); return true;
      case ID_APP_EXIT: PostMessageW(hwnd(), WM_CLOSE, 0, 0); return true;
      default: break;
    }
    return fw::FrameWindow::OnCommand(id);
  }

  bool OnUpdateCommand(unsigned id, fw::CommandState& state) override {
    switch (id) {
      case ID_COUNTERPART:
        state.enabled = Table() != nullptr;
        return true;
      // While the frame's dictionary editor is open, the commands that
      // use or change the dictionaries wait for it.
      case ID_DICTIONARY_EDIT:
      case ID_DICTIONARY_CHOICE:
      case ID_WORD_CHOICE:
        state.enabled = FrameUserDicEditor() == nullptr;
        return true;
      case ID_TRANSLATE:
        state.enabled = FrameUserDicEditor() == nullptr;
        return true;
      case ID_READ_ALOUD:
        state.enabled = program_.speechLoaded && !playing_;
        return true;
      case ID_STOP_READING:
        state.enabled = program_.speechLoaded && playing_;
        return true;
      case ID_CHAR_CONVERT: case ID_KANJI_TO_HANGUL: case ID_KOREAN_HANJA_TO_HANGUL:
      case ID_KANA_READING: case ID_SEND_TO_APPLICATION: case ID_SEND_ENTER: case ID_CLEAR_ALL:
      case ID_APP_ABOUT: case ID_APP_EXIT: case ID_DICTIONARY_PROGRAM: case ID_SETTINGS: case ID_HELP_INDEX:
        state.enabled = true;
        return true;
      default:
        return fw::FrameWindow::OnUpdateCommand(id, state);
    }
  }

  void DropTable() {
    if (doc_) doc_->lines.SetLineData(0, nullptr);
  }

  // Japanese side (from the pane's byte offset) or Korean side.
  void Counterpart(bool koreanSide, int offset = -1) {
    const workbench::AlignmentTable* table = Table();
    if (!table) return;
    if (offset < 0) {
      if (koreanSide) {
        korean->Engine().CommitLineBuffer();
        offset = korean->Engine().Caret().offset;
      } else {
        int start = 0, end = 0;
        japanese->GetSelBytes(start, end);
        offset = end;
      }
    }
    const auto side = koreanSide ? workbench::AlignmentTable::Side::kKorean : workbench::AlignmentTable::Side::kJapanese;
    const workbench::AlignedPair* pair = table->Counterpart(side, static_cast<uint32_t>(offset));
    if (!pair) return;
    japanese->SetSelBytes(static_cast<int>(pair->japaneseOffset),
                          static_cast<int>(pair->japaneseOffset + pair->japaneseLength));
    korean->Engine().SetSelection({0, static_cast<int>(pair->koreanOffset)},
                                  {0, static_cast<int>(pair->koreanOffset + pair->koreanLength)});
    InvalidateRect(korean->hwnd(), nullptr, FALSE);
  }

  void TranslateFromPane() { Translate(); }

  // The user dictionary editor's window while one is open.
  HWND EditorWindow() const { return FrameUserDicEditor(); }

  // Word choice: the pair under the active pane's selection goes to the
  // chooser; a translation written there rebuilds the Korean text.
  void OnSelectWord() {
    if (EditorWindow()) return;
    const bool japaneseActive = ActiveView() != korean;
    int start = -1, end = -1;
    auto& engine = korean->Engine();
    engine.CommitLineBuffer();
    if (japaneseActive) {
      japanese->GetSelBytes(start, end);
    } else if (engine.HasSelection() && engine.SelectionStart().line == 0 && engine.SelectionEnd().line == 0) {
      start = engine.SelectionStart().offset;
      end = engine.SelectionEnd().offset;
    }
    const std::string line = doc_ && doc_->lines.LineCount() > 0 ? std::string(doc_->lines.GetLine(0)) : std::string();
    dalmok::WordSelectInputs inputs;
    inputs.codeMode = program_.arguments.codeMode;
    inputs.gm = &program_.gm;
    inputs.pair = workbench::choice::MakeWordPair(Table(), japanese->Bytes(), line, japaneseActive, start, end,
                                                  program_.gm);
    inputs.imeName = program_.selectIme;
    inputs.frameEditor = [this] { return EditorWindow(); };
    // The chooser's editor is the frame's while it is open.
    inputs.openEditor = [](HWND parent, const std::string& word) {
      HWND editor = CreateUserDicEditor(parent, word);
      if (editor) SetFrameUserDicEditor(editor);
      return editor;
    };
    CWordSelectDlg dialog(module(), std::move(inputs), *DicContext().engine);
    dialog.DoModal(hwnd());
    // Whatever the result: a written entry is always shown (an order
    // change refused after the replacement ends the dialog with 3).
    if (!dialog.Replaced()) return;
    engine.CommitLineBuffer();
    if (workbench::AlignmentTable* table = Table()) RegenerateKorean(*table);
  }

  // The Korean pane's line 0 rebuilt from the table's words; the table
  // stays the line's data and the selection keeps its place.
  void RegenerateKorean(workbench::AlignmentTable& table) {
    auto& engine = korean->Engine();
    const bool selected = engine.HasSelection();
    const editorview::TextPosition from = engine.SelectionStart(), to = engine.SelectionEnd();
    std::vector<char> output(0x8000, '\0');
    if (Lomi_ReKrnGenerate(output.data(), 0x7FFF, table.Buffer().data()) < 0) return;
    std::string text(output.data(), strnlen(output.data(), 0x7FFF));
    if (Ks()) text = GmToKs(text);
    auto kept = std::make_unique<workbench::AlignmentTable>(table);
    kept->Refresh(text.size());
    doc_->lines.SetText(text, std::move(kept));
    engine.OnUpdate(0);
    if (selected) {
      const int length = static_cast<int>(text.size());
      engine.SetSelection({0, std::min(from.offset, length)}, {0, std::min(to.offset, length)});
    }
    InvalidateRect(korean->hwnd(), nullptr, FALSE);
  }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_CREATE: {
        // The tool bar with its 13 pictures of 24 x 24 (the image list the
        // bar makes from the bitmap: 24-bit colour, masked).
        if (!toolBar_.Create(*this, fw::kToolBarId, L"ﾂｰﾙ ﾊﾞｰ") || !toolBar_.LoadToolBar(IDR_MAINFRAME)) {
          result = -1;
          return true;
        }
        const fw::StatusPane panes[] = {{0, L""}, {0, L"999999 /9999"}, {0, L"GM   "}, {0, L"CAP"}, {0, L"NUM"}};
        if (!statusBar_.Create(*this, fw::kStatusBarId) || !statusBar_.SetPanes(panes)) {
          result = -1;
          return true;
        }
        SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        // The workbench announces itself to the input method.
        PostMessageW(NotifyWindow(), imelink::WM_WORKBENCH_CHAR, imelink::kAnnounce,
                     reinterpret_cast<LPARAM>(hwnd()));
        if (HIMC context = ImmGetContext(hwnd())) {
          if (!ImmGetOpenStatus(context)) ImmSetOpenStatus(context, TRUE);
          ImmReleaseContext(hwnd(), context);
        }
        SetWindowTextW(hwnd(), title_.c_str());
        dictionaryPath_ = workbench::JoinPath(
            program_.installPath.empty() ? program_.folder : program_.installPath, "Ombrel.exe");
        LoadDictionaryProgramSettings();
        result = 0;
        return true;
      }
      case WM_CLOSE:
        // The dictionary programs it started end with it; the position is kept.
        for (uintptr_t h : processes_.Handles()) {
          DWORD code = 0;
          GetExitCodeProcess(reinterpret_cast<HANDLE>(h), &code);
          TerminateProcess(reinterpret_cast<HANDLE>(h), code);
          CloseHandle(reinterpret_cast<HANDLE>(h));
        }
        processes_ = workbench::DictionaryProcesses();
        StopPlayback();
        SaveWindowPos();
        break;
      case WM_TIMER:
        if (wParam == kPlaybackTimer) {
          // The end of playback (the file stays until the next one or exit).
          if (timer_) KillTimer(hwnd(), kPlaybackTimer);
          timer_ = 0;
          playing_ = false;
          result = 0;
          return true;
        }
        break;
      case WM_SETTEXT:
        // The title never carries the document's name.
        result = DefWindowProcW(hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title_.c_str()));
        return true;
      case WM_DESTROY:
        // Withdraws the announcement as the frame goes.
        PostMessageW(NotifyWindow(), imelink::WM_WORKBENCH_CHAR, imelink::kAnnounce, 0);
        for (auto& w : results_) {
          if (w && w->hwnd()) DestroyWindow(w->hwnd());
          w.reset();
        }
        break;
      case WM_HELP:
        // F1 anywhere in the frame and its panes.
        ShowHelp(workbench::help::kHelpContextMain);
        result = TRUE;
        return true;
      case kResultClosed:
        if (wParam < 2) results_[wParam].reset();
        result = 0;
        return true;
      default:
        break;
    }
    return fw::FrameWindow::OnMessage(message, wParam, lParam, result);
  }

  bool PreTranslateMessage(MSG& msg) override {
    // Enter in the Korean pane sends its text.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && korean && msg.hwnd == korean->hwnd()) {
      OnTransferToApplication();
      return true;
    }
    return fw::FrameWindow::PreTranslateMessage(msg);
  }

 private:
  HWND NotifyWindow() const { return imelink::NumberHandle<HWND>(static_cast<int32_t>(program_.arguments.notifyWindow)); }
  HWND TargetWindow() const { return imelink::NumberHandle<HWND>(static_cast<int32_t>(program_.arguments.targetWindow)); }
  bool Ks() const { return program_.arguments.codeMode == 1; }

  workbench::AlignmentTable* Table() const { return doc_ ? doc_->lines.LineData(0) : nullptr; }

  // The Japanese pane's text when it is 1 to limit bytes long (the pane's
  // selection removed and its caret shown), else nothing.
  std::optional<std::string> CheckInputLength(int limit) {
    std::string text = japanese->Bytes();
    switch (workbench::CheckInputLength(text.size(), limit)) {
      case workbench::InputCheck::kEmpty:
        return std::nullopt;
      case workbench::InputCheck::kTooLong: {
        wchar_t message[80];
        wsprintfW(message, L"全角%d文字以下で入力してください。", limit / 2);
        Message(hwnd(), message);
        return std::nullopt;
      }
      case workbench::InputCheck::kOk:
        break;
    }
    int start = 0, end = 0;
    japanese->GetSel(start, end);
    japanese->SetSel(end, end, true);
    return text;
  }

  // The Korean pane's text replaced (kind 0 keeps table, kind 1 none).
  void SetKorean(const std::string& text, std::unique_ptr<workbench::AlignmentTable> table) {
    doc_->lines.SetText(text, std::move(table));
    korean->Engine().OnUpdate(0);
    InvalidateRect(korean->hwnd(), nullptr, FALSE);
    SetActiveView(korean, true);
  }

  void Translate() {
    const std::optional<std::string> source = CheckInputLength(workbench::kInputLimit);
    if (!source) return;
    const int n = static_cast<int>(source->size());
    int count = 2 * n + 2;
    std::vector<uint8_t> table(static_cast<std::size_t>(count) * lomi::kEntrySize, 0);
    std::vector<char> output(2048, '\0');
    int length = 3 * n + 2;
    const int result = JK_Transfer(lomi::kModeTranslate, 932, 949, source->c_str(), output.data(), &length,
                                   table.data(), &count);
    // The length told back must lie inside what the engine was given.
    if (result != 0 || length < 0 || length > 3 * n + 2) {
      Message(hwnd(), L"翻訳に失敗しました!");
      return;
    }
    std::string korean(output.data(), static_cast<std::size_t>(length));
    if (!Ks()) program_.gm.KsToGm(korean.data(), static_cast<unsigned>(korean.size()));
    auto alignment = workbench::AlignmentTable::Read(std::move(table), source->size(), korean.size());
    SetKorean(korean, alignment ? std::make_unique<workbench::AlignmentTable>(std::move(*alignment)) : nullptr);
  }

  // The engine's character mode over the widened Japanese text, optionally
  // with the hanja turned into Hangul.
  void ConvertCharacters(bool hangul) {
    const std::optional<std::string> source = CheckInputLength(workbench::kInputLimit);
    if (!source) return;
    const std::size_t room = 2 * source->size() + 2;
    std::vector<char> wide(room, '\0');
    program_.gm.WidenSjisText(wide.data(), room, source->c_str(), static_cast<unsigned>(source->size()));
    std::vector<char> output(room, '\0');
    int length = static_cast<int>(room);
    if (JK_Transfer(lomi::kModeCharacters, 932, 949, wide.data(), output.data(), &length, nullptr, nullptr) != 0 ||
        length < 0 || static_cast<std::size_t>(length) > room) {
      Message(hwnd(), L"変換に失敗しました!");
      return;
    }
    std::string ks(output.data(), static_cast<std::size_t>(length));
    if (hangul) ks = HanjaToHangul(ks);
    if (!Ks()) program_.gm.KsToGm(ks.data(), static_cast<unsigned>(ks.size()));
    SetKorean(ks, nullptr);
  }

  // KS text with its hanja turned into Hangul (every buffer sized from the text).
  static std::string HanjaToHangul(const std::string& ks) {
    std::wstring text = Wide(949, ks);
    text.push_back(L'\0');
    HanjaToHangeul(text.data(), 0);
    text.resize(wcslen(text.c_str()));
    return Narrow(949, text);
  }

  void ShowResult(CResultWnd::Kind kind) {
    korean->Engine().CommitLineBuffer();
    std::string text = korean->Engine().HasSelection() ? korean->Engine().SelectedText() : korean->Engine().GetAllText();
    if (text.size() > kConversionLimit) {
      Message(hwnd(),
              L"原文の長さが 10,000バイトを超えているため、変換できません。\n原文を適当な長さに分割してください。");
      return;
    }
    std::unique_ptr<CResultWnd>& window = results_[kind];
    if (window && window->hwnd()) {
      SetActiveWindow(window->hwnd());
    } else {
      const LOGFONTW& font = kind == CResultWnd::kHanja ? program_.koreanFont : program_.japaneseFont;
      window = std::make_unique<CResultWnd>(module(), hwnd(), kind, font);
      if (!window->CreateModeless(hwnd())) {
        window.reset();
        return;
      }
      ShowWindow(window->hwnd(), SW_SHOW);
    }
    if (text.empty()) return;
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    std::string ks = Ks() ? text : GmToKs(text);
    ks = HanjaToHangul(ks);
    if (kind == CResultWnd::kHanja) {
      window->ShowText(Wide(949, ks));
    } else {
      window->ShowText(Wide(932, KanaReading(ks)));
    }
    SetCursor(old);
  }

  std::string GmToKs(const std::string& gm) const {
    std::string ks(gm.size() + 1, '\0');
    program_.gm.GmToKs(ks.data(), gm.c_str(), static_cast<unsigned>(gm.size()));
    ks.resize(gm.size());
    return ks;
  }

  // The katakana reading of KS text through Omidel.dll (measured, then
  // converted into a buffer of that size).
  std::string KanaReading(const std::string& ks) {
    using KnChangeFn = int(WINAPI*)(int, const char**, char*, int, int);
    static KnChangeFn knChange = [] {
      HMODULE omidel = LoadLibraryA("Omidel.dll");
      return omidel ? reinterpret_cast<KnChangeFn>(reinterpret_cast<void*>(GetProcAddress(omidel, "KNChange")))
                    : nullptr;
    }();
    if (!knChange) return {};
    const char* text = ks.c_str();
    const int n = knChange(0, &text, nullptr, 1, 1);
    if (n <= 0) return {};
    std::vector<char> out(static_cast<std::size_t>(n) + 1, '\0');
    text = ks.c_str();
    knChange(0, &text, out.data(), 1, 1);
    return std::string(out.data(), strnlen(out.data(), out.size()));
  }

  void ClearAll() {
    japanese->SetText(L"");
    SetKorean(std::string(), nullptr);
    SetActiveView(japanese, true);
  }

  bool TransferToApplication(const std::string& text) {
    HWND target = TargetWindow();
    if (!target) return false;
    const bool ks = Ks();
    const auto plan = workbench::PlanSend(text, [ks](uint8_t b) {
      return ks ? (b >= 0x80 && b != 0xFF) : IsDBCSLeadByte(b) != FALSE;
    });
    if (!plan) {
      Message(hwnd(), L"転送が可能なのは128文字までです");
      return false;
    }
    SetForegroundWindow(target);
    Sleep(40);
    for (std::size_t i = 0; i + 1 < plan->size(); ++i) {
      PostMessageW(NotifyWindow(), imelink::WM_WORKBENCH_CHAR, (*plan)[i], 0);
      Sleep(40);
    }
    PostMessageW(NotifyWindow(), imelink::WM_WORKBENCH_CHAR, imelink::kCommit, 0);
    return true;
  }

  void OnTransferToApplication() {
    korean->Engine().CommitLineBuffer();
    const std::string text = korean->Engine().GetAllText();
    if (text.empty()) {
      Message(hwnd(), L"転送する韓国語がありません。");
      return;
    }
    if (TransferToApplication(text)) {
      japanese->SetText(L"");
      doc_->lines.ClearLines();
      korean->Engine().OnUpdate(0);
      SetForegroundWindow(hwnd());
      ClickWindowCentre(hwnd());
    }
    SetActiveView(japanese, true);
  }

  void OnSendEnter() {
    HWND target = TargetWindow();
    if (!target) return;
    SetForegroundWindow(target);
    Sleep(100);
    const BYTE scan = static_cast<BYTE>(MapVirtualKeyW(VK_RETURN, 0));
    keybd_event(VK_RETURN, scan, 0, 0);
    keybd_event(VK_RETURN, scan, KEYEVENTF_KEYUP, 0);
    SetForegroundWindow(hwnd());
  }

  static void ClickWindowCentre(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    const int width = dc ? GetDeviceCaps(dc, HORZRES) : GetSystemMetrics(SM_CXSCREEN);
    const int height = dc ? GetDeviceCaps(dc, VERTRES) : GetSystemMetrics(SM_CYSCREEN);
    if (dc) DeleteDC(dc);
    const workbench::ClickPoint p = workbench::AbsoluteClickPoint(r.left, r.top, r.right, r.bottom, width, height);
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    mouse_event(MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE, static_cast<DWORD>(p.x), static_cast<DWORD>(p.y), 0, 0);
    mouse_event(MOUSEEVENTF_ABSOLUTE | (swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                static_cast<DWORD>(p.x), static_cast<DWORD>(p.y), 0, 0);
    mouse_event(MOUSEEVENTF_ABSOLUTE | (swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP), static_cast<DWORD>(p.x),
                static_cast<DWORD>(p.y), 0, 0);
  }

  static constexpr UINT_PTR kPlaybackTimer = 1;

  void OnSpeak() {
    settings::workbench::LoadVoiceSettings(kCaption, &program_.speaker, &program_.volume, &program_.rate,
                                           &program_.pitch);
    korean->Engine().CommitLineBuffer();
    const std::string text = korean->Engine().GetAllText();
    if (text.empty()) {
      Message(hwnd(), L"読み上げる文章がありません。");
      return;
    }
    const std::string ks = Ks() ? text : GmToKs(text);
    const int r = Speech().SpeakToWaveFile(ks.c_str(), program_.wavPath.c_str(), program_.speaker, program_.volume,
                                           program_.rate, program_.pitch);
    if (r == 1 || r == 2) return;
    if (r == 3) {
      Message(hwnd(), L"韓国語音声合成に失敗しました");
      return;
    }
    playing_ = true;
    const int32_t length = Speech().GetWaveDurationMs(program_.wavPath.c_str());
    SetFileAttributesA(program_.wavPath.c_str(), FILE_ATTRIBUTE_HIDDEN);
    timer_ = SetTimer(hwnd(), kPlaybackTimer, static_cast<UINT>(length > 0 ? length : 1), nullptr);
    PlaySoundA(program_.wavPath.c_str(), nullptr, SND_ASYNC | SND_FILENAME);
  }

  void StopPlayback() {
    if (!playing_) return;
    if (timer_) KillTimer(hwnd(), kPlaybackTimer);
    timer_ = 0;
    PlaySoundA(nullptr, nullptr, SND_ASYNC);
    SetFileAttributesA(program_.wavPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(program_.wavPath.c_str());
    playing_ = false;
  }

  // "辞書指定": on OK the engine is given the three dictionaries again.
  void OnDictionaryChoice() {
    workbench::DicSlots slots;
    for (int i = 0; i < lomi::kUserDicSlots; ++i) slots[static_cast<std::size_t>(i)] = AnsiToUtf8(program_.userDic[i]);
    const int answer = RunDicChoiceDialog(hwnd(), slots);
    for (int i = 0; i < lomi::kUserDicSlots; ++i) program_.userDic[i] = Utf8ToAnsi(slots[static_cast<std::size_t>(i)]);
    if (answer < 0) MessageBeep(MB_ICONHAND);  // the dialog could not be made
    if (answer != 1) return;
    program_.config = workbench::MakeTranslationConfig(program_.userDic);
    Set_JKTrans_Configure(program_.config);
  }

  // "辞書編集": the editor with the Japanese pane's selected text.
  void OnDictionaryEdit() {
    if (FrameUserDicEditor()) return;
    std::string word;
    if (japanese) {
      int start = 0, end = 0;
      japanese->GetSelBytes(start, end);
      const std::string text = japanese->Bytes();
      if (start >= 0 && end > start && static_cast<std::size_t>(end) <= text.size())
        word = text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
    }
    HWND editor = CreateUserDicEditor(hwnd(), word);
    if (!editor) {
      MessageBeep(MB_ICONHAND);
      return;
    }
    SetFrameUserDicEditor(editor);
  }

  void SaveWindowPos() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(hwnd(), &wp) || !workbench::SavesWindowPos(static_cast<int>(wp.showCmd))) return;
    const workbench::WindowPos pos{static_cast<int>(wp.flags), static_cast<int>(wp.showCmd),
                                   wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right,
                                   wp.rcNormalPosition.bottom};
    HKEY key = nullptr;
    if (settings::OpenOrCreateRegKey(kDalmokKey, &key, kCaption) < 0) return;
    const std::string text = workbench::FormatWindowPos(pos);
    RegSetValueExA(key, "WindowPos", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
  }

  void OnSettings() {
    StopPlayback();
    settings::workbench::LoadVoiceSettings(kCaption, &program_.speaker, &program_.volume, &program_.rate,
                                           &program_.pitch);
    SheetValues v;
    v.codeMode = program_.arguments.codeMode;
    v.speech = program_.speechLoaded ? &Speech() : nullptr;
    v.wavPath = program_.wavPath;
    v.gmSample = "Sample\xB9\xAE\xC0\xDA";  // "문자" in KS code, turned into GM below
    program_.gm.KsToGm(v.gmSample.data() + 6, 4);
    v.selectIme = program_.selectIme;
    v.speaker = program_.speaker, v.volume = program_.volume, v.rate = program_.rate, v.pitch = program_.pitch;
    v.searchMethod = searchMethod_ >= 0 && searchMethod_ <= 2 ? searchMethod_ : 0;
    v.newWindow = handOver_ ? 1 : 0;
    if (RunSettingsSheet(module(), hwnd(), v) == IDOK) {
      program_.selectIme = v.selectIme;
      DicContext().japaneseIme = program_.selectIme;
      japanese->SetImeName(program_.selectIme);
      if (program_.speechLoaded)
        program_.speaker = v.speaker, program_.volume = v.volume, program_.rate = v.rate, program_.pitch = v.pitch;
      program_.japaneseFont = ReadFont(workbench::sheet::kSlotJapanese);
      japanese->ApplyFont(program_.japaneseFont);
      program_.koreanFont = ReadFont(workbench::sheet::KoreanSlot(program_.arguments.codeMode));
      korean->SetViewFont(program_.koreanFont);
      searchMethod_ = v.searchMethod;
      handOver_ = v.newWindow == 1;
      SaveDictionaryProgramSettings();
    }
    StopPlayback();
  }

  void SaveDictionaryProgramSettings() {
    HKEY key = nullptr;
    if (settings::OpenOrCreateRegKey("SOFTWARE\\Valdrimo\\GeulmaruV6\\Ombrel", &key, kCaption) < 0) return;
    char method[16];
    wsprintfA(method, "%d", searchMethod_);
    const char* window = handOver_ ? "1" : "0";
    RegSetValueExA(key, "SearchMethod", 0, REG_SZ, reinterpret_cast<const BYTE*>(method),
                   static_cast<DWORD>(std::strlen(method)));
    RegSetValueExA(key, "NotNwWindow", 0, REG_SZ, reinterpret_cast<const BYTE*>(window), 1);
    RegCloseKey(key);
  }

  void LoadDictionaryProgramSettings() {
    HKEY key = nullptr;
    const int opened = settings::OpenOrCreateRegKey("SOFTWARE\\Valdrimo\\GeulmaruV6\\Ombrel", &key, kCaption);
    if (opened < 0) return;
    if (opened == 1) {
      RegSetValueExA(key, "SearchMethod", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
      RegSetValueExA(key, "NotNwWindow", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    }
    char text[8] = {};
    DWORD size = 4, type = 0;
    if (RegQueryValueExA(key, "SearchMethod", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
        type == REG_SZ)
      searchMethod_ = settings::ParseDecimal(text);
    std::memset(text, 0, sizeof text);
    size = 4;
    if (RegQueryValueExA(key, "NotNwWindow", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
        type == REG_SZ)
      handOver_ = text[0] != '0';
    RegCloseKey(key);
  }

  void OnDictionaryLookup() {
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    bool fromJapanese = false;
    std::wstring text;
    if (ActiveView() == japanese) {
      int start = 0, end = 0;
      japanese->GetSelBytes(start, end);
      const std::string bytes = japanese->Bytes();
      if (start >= 0 && end > start && static_cast<std::size_t>(end) <= bytes.size()) {
        text = Wide(932, std::string_view(bytes).substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
        fromJapanese = true;
      }
    } else if (ActiveView() == korean && korean->Engine().HasSelection()) {
      const std::string selected = korean->Engine().SelectedText();
      text = Wide(949, Ks() ? selected : GmToKs(selected));
    }
    LaunchDictionary(text, fromJapanese);
    SetCursor(old);
  }

  void LaunchDictionary(const std::wstring& text, bool fromJapanese) {
    if (processes_.Full()) {
      Message(hwnd(), L"DAL-MOKからのミルダ韓日・日韓辞典の起動は50までです。");
      return;
    }
    std::string line = workbench::DictionaryCommandLine(
        dictionaryPath_, std::u16string(text.begin(), text.end()), fromJapanese, searchMethod_, handOver_);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      char message[400];
      wsprintfA(message, "%s\nexeFile = %s\n", "Not File!", dictionaryPath_.c_str());
      MessageBoxA(hwnd(), message, kCaption, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    CloseHandle(pi.hThread);
    if (!processes_.Record(reinterpret_cast<uintptr_t>(pi.hProcess), handOver_)) CloseHandle(pi.hProcess);
  }

  fw::ToolBar toolBar_;
  fw::StatusBar statusBar_;
  fw::SplitterWindow splitter_;
  Program& program_;
  std::string dictionaryPath_;
  int searchMethod_ = 0;
  bool handOver_ = true;
  UINT_PTR timer_ = 0;
  bool playing_ = false;
  workbench::DictionaryProcesses processes_;
  CDalmokDoc* doc_ = nullptr;
  std::wstring title_;
  std::unique_ptr<CResultWnd> results_[2];
};

void CJapanese::OnTextChanged() { frame_.DropTable(); }

bool CJapanese::OnCommand(unsigned id) {
  if (id == ID_EDIT_PASTE) {
    // A text with a line break is refused whole.
    std::string text;
    if (OpenClipboard(hwnd())) {
      if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
          text = p;
          GlobalUnlock(data);
        }
      }
      CloseClipboard();
    }
    if (text.empty()) {
      MessageBeep(MB_ICONEXCLAMATION);
      return true;
    }
    if (text.find('\r') != std::string::npos || text.find('\n') != std::string::npos) {
      MessageBeep(MB_ICONEXCLAMATION);
      Message(hwnd(), L"改行を含まない文章を指定してください。");
      return true;
    }
    Send(WM_PASTE);
    return true;
  }
  return fw::EditView::OnCommand(id);
}

bool CJapanese::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SETFOCUS:
      fw::EditView::OnMessage(message, wParam, lParam, result);
      ActivateJapaneseIme();
      if (font_) SetFont(font_, false);
      return true;
    case WM_CHAR:
      if (wParam == '\t') {
        frame_.SetActiveView(frame_.korean, true);
        result = 0;
        return true;
      }
      if (wParam == '\n') {
        result = 0;
        return true;
      }
      if (wParam == '\r') {
        frame_.TranslateFromPane();
        result = 0;
        return true;
      }
      break;
    case WM_LBUTTONDBLCLK: {
      const int position = CharFromPos(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      if (position >= 0) {
        const int offset = charOffsets_ ? workbench::CharToByteOffset(Bytes(), position) : position;
        frame_.Counterpart(false, offset);
      }
      result = 0;
      return true;
    }
    default:
      break;
  }
  return fw::EditView::OnMessage(message, wParam, lParam, result);
}

// ---- the application ----
class CDalmokApp final : public fw::App {
 public:
  CDalmokApp(const fw::Module& module, const char* arguments)
      : fw::App(module, L"Dalmok"), ui_(module), arguments_(arguments ? arguments : "") {}

 protected:
  bool InitInstance() override {
    const auto arguments = workbench::ParseStartArguments(arguments_.c_str());
    if (!arguments) {
      MessageBoxW(nullptr, L"Geul Maru のコードセットがＳＪでは Ｄａｌｍｏｋ を使用できません！", L"DAL-MOK",
                  MB_OK | MB_ICONWARNING);
      return false;
    }
    program_.arguments = *arguments;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    sedit::RegisterSEditClass(module().handle(), g_seditTable.table, g_seditHost);

    editorview::LoadGmTables(program_.gm, module());
    editorview::LoadRtfParts(program_.rtf, module());
    program_.viewResources.module = module();
    program_.viewResources.gm = &program_.gm;
    program_.viewResources.rtf = &program_.rtf;
    program_.viewResources.settings = &program_.viewSettings;

    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&version);
#pragma GCC diagnostic pop
    program_.charOffsets = version.dwMajorVersion > 5 || version.dwMinorVersion == 1;

    program_.folder = ProgramFolder();
    program_.installPath = settings::ReadMachineRegValue("SOFTWARE\\Valdrimo\\GeulmaruV6", "INSTPATH");

    std::string speechData = settings::ReadMachineRegValue("SOFTWARE\\VALDRIMO\\Sonavo50", "DICPATH");
    if (speechData.empty()) speechData = program_.folder + "SonavoDDB\\";
    program_.wavPath =
        workbench::JoinPath(program_.installPath.empty() ? program_.folder : program_.installPath, "speech.wav");
    program_.speechLoaded = Speech().LoadSpeechEngine(speechData.c_str(), 16000, 0) == 0;

    program_.koreanFont = ReadFont(workbench::sheet::KoreanSlot(program_.arguments.codeMode));
    program_.japaneseFont = ReadFont(workbench::sheet::kSlotJapanese);

    LoadUserDictionaries();
    if (!ConfigureTranslationEngine()) return false;

    ReadWindowPos();
    if (auto name = workbench::sheet::LoadSelectIme(settings::SystemSettings(), kCaption)) program_.selectIme = *name;
    static LomiUserDicEngine userDicEngine;
    UserDicContext& dictionaries = DicContext();
    dictionaries.module = module().handle();
    dictionaries.ks = program_.arguments.codeMode == 1;
    dictionaries.japaneseIme = program_.selectIme;
    dictionaries.engine = &userDicEngine;
    const bool placed = program_.windowPos.showCommand != -1;
    place_ = RECT{program_.windowPos.left, program_.windowPos.top, program_.windowPos.right,
                  program_.windowPos.bottom};
    frames_ = std::make_unique<fw::SdiFrames>(
        fw::SdiFrames::Resources{L"Dalmok", IDR_MAINFRAME, IDR_MAINFRAME,
                                 placed ? program_.windowPos.showCommand : SW_SHOW, placed ? &place_ : nullptr},
        [this] { return std::make_unique<CMainFrame>(module(), program_); }, nullptr);
    template_ = std::make_unique<fw::SingleDocTemplate>(
        [this] { return std::make_unique<CDalmokDoc>(ui_); }, *frames_);
    SetDocTemplate(template_.get());
    if (!template_->OpenDocumentFile(nullptr)) return false;
    SetMainWindow(frames_->Frame()->hwnd());
    return true;
  }

 private:
  // The three "User Dic" values: those the engine accepts fill their slots,
  // the others are forgotten.
  void LoadUserDictionaries() {
    HKEY key = nullptr;
    const int opened = settings::OpenOrCreateRegKey(kUserDicKey, &key, kCaption);
    if (opened < 0) return;
    const std::string base = program_.installPath.empty() ? program_.folder : program_.installPath;
    if (opened == 1) {
      const std::string folder = workbench::JoinPath(base, "DMUserdic");
      const std::string first = workbench::JoinPath(folder, "DMUserdic");
      RegSetValueExA(key, "FOLDER", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>(folder.size() + 1));
      RegSetValueExA(key, "User Dic1", 0, REG_SZ, reinterpret_cast<const BYTE*>(first.c_str()),
                     static_cast<DWORD>(first.size() + 1));
      RegSetValueExA(key, "User Dic2", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
      RegSetValueExA(key, "User Dic3", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    }
    for (int i = 0; i < lomi::kUserDicSlots; ++i) {
      char name[16];
      wsprintfA(name, "User Dic%d", i + 1);
      char path[lomi::kUserDicPathBytes] = {};
      DWORD size = sizeof path - 1, type = 0;
      if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(path), &size) != ERROR_SUCCESS ||
          type != REG_SZ || path[0] == '\0')
        continue;
      if (CheckIfUDicFile_JK(path)) {
        program_.userDic[i] = path;
      } else {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
      }
    }
    RegCloseKey(key);
  }

  int ExitInstance() override {
    if (program_.speechLoaded) Speech().UnloadSpeechEngine();
    if (!program_.wavPath.empty()) {
      SetFileAttributesA(program_.wavPath.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(program_.wavPath.c_str());
    }
    return fw::App::ExitInstance();
  }

  // "WindowPos": a new key gets the defaults written, a missing value
  // takes them without writing.
  void ReadWindowPos() {
    program_.windowPos =
        workbench::DefaultWindowPos(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    HKEY key = nullptr;
    const int opened = settings::OpenOrCreateRegKey(kDalmokKey, &key, kCaption);
    if (opened < 0) return;
    if (opened == 1) {
      const std::string text = workbench::FormatWindowPos(program_.windowPos);
      RegSetValueExA(key, "WindowPos", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
    } else {
      char text[96] = {};
      DWORD size = sizeof text - 1, type = 0;
      if (RegQueryValueExA(key, "WindowPos", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
          type == REG_SZ) {
        if (auto pos = workbench::ParseWindowPos(text)) program_.windowPos = *pos;
      }
    }
    RegCloseKey(key);
  }

  bool ConfigureTranslationEngine() {
    program_.config = workbench::MakeTranslationConfig(program_.userDic);
    return (Set_JKTrans_Configure(program_.config) & 0xFF) != 0;
  }

  WorkbenchUi ui_;
  std::string arguments_;
  Program program_;
  RECT place_{};
  std::unique_ptr<fw::SdiFrames> frames_;
  std::unique_ptr<fw::SingleDocTemplate> template_;
};

}  // namespace
}  // namespace dalmok

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  dalmok::CDalmokApp app(fw::Module{instance}, arguments);
  return app.Run();
}
