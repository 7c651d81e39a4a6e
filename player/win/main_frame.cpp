#include "main_frame.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <array>
#include <string_view>

#include "code_page.h"
#include "font_set_dlg.h"
#include "omidel_library.h"
#include "shared_settings_win32.h"
#include "speech_service.h"
#include "tessaly_resource.h"

namespace tessaly {

namespace {

constexpr wchar_t kProgramTitle[] = L"テサリー";
constexpr COLORREF kPictureGround = RGB(255, 0, 255);
constexpr SIZE kPictureSize{21, 21};

std::wstring Wide(const std::string& cp932) { return fw::FromCodePage(932, cp932); }
std::string Narrow(const std::wstring& text) { return fw::ToCodePage(932, text); }

std::string TempFolder() {
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathA(MAX_PATH, path);
  return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
}


// CR LF of clipboard text as the editor's line breaks (LF).
std::string EditorLines(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  return out;
}

class CAboutDlg final : public fw::Dialog {
 public:
  explicit CAboutDlg(const fw::Module& module) : fw::Dialog(module, IDD_ABOUTBOX) {}
};

}  // namespace

CMainFrame::CMainFrame(const fw::Module& module, const FrameServices& services)
    : fw::FrameWindow(module), services_(services), statusBar_(module), toolBar_(module), splitter_(module) {
  settings::SettingsPlatform& platform = settings::SystemSettings();
  readAloud_ = std::make_unique<PlayerReadAloud>(PlayerReadAloud::Services{
      services_.wrapper, sound_, timer_, kana::Omidel(), platform, *this, TempFolder()});
  // The engine with its data folder; without one the player runs silent.
  if (readAloud_->LoadEngine(ReadEngineDataFolder(platform)) == PlayerReadAloud::EngineLoad::kFailed) {
    MessageBoxW(nullptr, L"TTS DB Loading Error!", kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
  }
  voiceCode_ = 0;
  SetDocumentInTitle(false);
}

CMainFrame::~CMainFrame() {
  // The engine goes once, whether a failed synthesis let it go already or not.
  readAloud_->UnloadEngine();
}

bool CMainFrame::FrameFirst(unsigned id) const {
  return id == ID_SPEAK || id == ID_STOP_SPEAKING || id == ID_FONT_SETTING;
}

bool CMainFrame::OnCreate() {
  if (!toolBar_.Create(*this, fw::kToolBarId, module().String(IDS_TOOLBAR_CAPTION))) return false;
  if (!toolBar_.LoadPictureBar(IDR_MAINFRAME, IDB_TOOLBAR, IDB_TOOLBAR_DISABLED, kPictureSize, kPictureGround))
    return false;
  if (!statusBar_.Create(*this, fw::kStatusBarId)) return false;
  const fw::StatusPane panes[] = {
      {0, L""}, {0, L"999999 /9999"}, {0, L"GM   "}, {fw::kIndicatorCaps, L""}, {fw::kIndicatorNum, L""}};
  return statusBar_.SetPanes(panes);
}

LOGFONTW CMainFrame::KoreanFont() const {
  return fontdlg::KoreanPaneFont(settings_.fontHeight, Wide(settings_.koreanFace));
}

bool CMainFrame::OnCreateClient(fw::Document& document) {
  timer_.SetWindow(hwnd());
  // The stored place and fonts; the place applied unless showCmd is -1.
  settings_ = LoadWindowSettings(settings::SystemSettings(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (AppliesPlacement(settings_)) {
    settings::ApplyFramePlacement(hwnd(), settings_);
  }
  UpdateWindow(hwnd());
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int h = static_cast<int>(client.bottom - client.top) - GetSystemMetrics(SM_CYICON) - 16;
  if (!splitter_.CreateStatic(*this, 2, 1)) return false;
  SetClientWindow(&splitter_);
  auto& doc = static_cast<CTessalyDoc&>(document);
  const LOGFONTW korean = KoreanFont();
  view_ = splitter_.CreateView<editorview::CTavrinView>(
      0, 0, SIZE{-1, h / 2}, [&](fw::FrameWindow& frame, const fw::PaneSite& site) {
        auto v = std::make_unique<editorview::CTavrinView>(editorview::kPlayerViewParams, doc, doc,
                                                            services_.viewResources, korean);
        if (!v->Create(frame, site)) v.reset();
        return v;
      });
  kana_ = splitter_.CreateView<kana::CKanaYomi>(1, 0, SIZE{-1, -1}, [&](fw::FrameWindow& frame, const fw::PaneSite& site) {
    auto k = std::make_unique<kana::CKanaYomi>(doc);
    if (!k->Create(frame, site)) k.reset();
    return k;
  });
  if (!view_ || !kana_) return false;
  kana_->SetFontChoice(settings_.fontHeight, Wide(settings_.japaneseFace));
  view_->SetViewFont(korean);
  splitter_.RecalcLayout();
  return splitter_.SetActivePane(0, 0);
}

bool CMainFrame::HoldsText() {
  if (!view_) return false;
  const CTessalyDoc& doc = static_cast<const CTessalyDoc&>(view_->document());
  if (doc.LineCount() > 1) return true;
  editorview::ViewEngine& engine = view_->Engine();
  if (engine.LineDirty() && engine.Caret().line == 0) return !engine.LineBuffer().empty();
  return !doc.GetLine(0).empty();
}

std::string CMainFrame::GetSpeechText() {
  if (!view_) return {};
  editorview::ViewEngine& engine = view_->Engine();
  return engine.HasSelection() ? engine.SelectedText() : engine.GetAllText();
}

void CMainFrame::OnSpeak() {
  const std::string text = GetSpeechText();
  if (text.empty()) return;
  readAloud_->OnSpeak(text);
}

void CMainFrame::OnFontSetting() {
  fontdlg::FontSide japanese{Wide(settings_.japaneseFace), settings_.fontHeight, SHIFTJIS_CHARSET, FIXED_PITCH};
  fontdlg::FontSide korean{Wide(settings_.koreanFace), settings_.fontHeight, HANGEUL_CHARSET, FIXED_PITCH};
  fontdlg::CFontSetDlg dialog(module(), fontdlg::kPlayerFontDialog, japanese, korean);
  if (dialog.DoModal(hwnd()) != IDOK) return;
  settings_.fontHeight = dialog.Japanese().height;
  settings_.japaneseFace = Narrow(dialog.Japanese().face);
  settings_.koreanFace = Narrow(dialog.Korean().face);
  if (kana_) {
    kana_->SetFontChoice(settings_.fontHeight, dialog.Japanese().face);
    if (!kana_->Reading().empty()) kana_->ApplyFontAndText();
  }
  if (view_) {
    LOGFONTW lf{};
    lf.lfHeight = dialog.Korean().height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = dialog.Korean().charset;
    lf.lfPitchAndFamily = dialog.Korean().pitchAndFamily;
    lstrcpynW(lf.lfFaceName, dialog.Korean().face.c_str(), LF_FACESIZE);
    view_->SetViewFont(lf);
  }
}

void CMainFrame::ReplaceText(const std::string& ks) {
  if (!view_) return;
  view_->ClearText();
  view_->InsertText(EditorLines(ks));
}

void CMainFrame::SpeakClipboard() {
  if (!IsClipboardFormatAvailable(CF_TEXT)) return;
  RegisterClipboardFormatA("Rich Text Format");
  if (!OpenClipboard(hwnd())) {
    MessageBoxW(nullptr, L"クリップボードがオープンできません。", kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  ClipboardSpeech speech;
  bool unicode = false;
  if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
    if (const void* units = GlobalLock(block)) {
      // The text ends at its NUL or with the block, whichever comes first.
      const std::u16string_view text(static_cast<const char16_t*>(units), GlobalSize(block) / sizeof(char16_t));
      speech = SpeechFromUnicode(text, voiceCode_, codeconv::PlatformCodePages(), services_.gm);
      GlobalUnlock(block);
      unicode = true;
    }
  }
  if (!unicode) {
    HANDLE block = GetClipboardData(CF_TEXT);
    const void* bytes = block ? GlobalLock(block) : nullptr;
    if (!bytes) {
      CloseClipboard();
      OnSpeak();
      return;
    }
    speech = SpeechFromBytes(std::string_view(static_cast<const char*>(bytes), GlobalSize(block)), voiceCode_,
                             services_.gm);
    GlobalUnlock(block);
  }
  CloseClipboard();
  if (speech.verdict == ClipboardSpeech::Verdict::kTooLong) {
    MessageBoxW(nullptr,
                unicode ? L"範囲指定で選択された文章が長すぎます。60000文字以下にしてください。"
                        : L"範囲指定で選択された文章が長すぎます。半角文字で60000文字以下にしてください。",
                L"ロメッタ", MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
    return;
  }
  ReplaceText(speech.ks);
  OnSpeak();
}

void CMainFrame::OnCopyData(const COPYDATASTRUCT* data) {
  voiceCode_ = ReadVoiceCode(settings::SystemSettings());
  const ServiceRequest request = data ? ParseServiceRequest(data->lpData, data->cbData) : ServiceRequest::kNone;
  if (request == ServiceRequest::kSpeak) {
    if (readAloud_->Speaking()) StopSpeaking();
    SpeakClipboard();
  } else if (request == ServiceRequest::kStop) {
    StopSpeaking();
  }
}

void CMainFrame::SaveWindowSettings() {
  if (!settings::TakeFramePlacement(hwnd(), settings_)) return;
  tessaly::SaveWindowSettings(settings::SystemSettings(), settings_);
}

// ---- ReadAloudUi ----

void CMainFrame::ShowSpeaking(bool speaking) {
  toolBar_.SetSlot(0, speaking ? ID_STOP_SPEAKING : ID_SPEAK, speaking ? 1 : 0);
}

void CMainFrame::ShowKana(const std::string& reading) {
  if (kana_) kana_->ShowReading(reading);
}

void CMainFrame::BeginWait() { cursorBefore_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }

void CMainFrame::EndWait() { SetCursor(cursorBefore_ ? cursorBefore_ : LoadCursorW(nullptr, IDC_ARROW)); }

void CMainFrame::ShowSynthesisFailed() {
  MessageBoxW(hwnd(), L"韓国語音声合成に失敗しました", kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
}

void CMainFrame::SendStopNotice() {
  // Only a window that exists hears it; the command line never named 0 or
  // the broadcast handle.
  HWND client = reinterpret_cast<HWND>(static_cast<INT_PTR>(services_.requesterWindow));
  if (services_.requesterWindow == 0 || !IsWindow(client)) return;
  static std::array<unsigned char, kNoticeSize> notice;
  notice = StopNotice();
  COPYDATASTRUCT data{};
  data.dwData = 0;
  data.cbData = static_cast<DWORD>(notice.size());
  data.lpData = notice.data();
  SendMessageW(client, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd()), reinterpret_cast<LPARAM>(&data));
}

// ---- commands and messages ----

bool CMainFrame::OnCommand(unsigned id) {
  switch (id) {
    case ID_SPEAK: OnSpeak(); return true;
    case ID_STOP_SPEAKING: StopSpeaking(); return true;
    case ID_FONT_SETTING: OnFontSetting(); return true;
    case ID_APP_ABOUT: {
      CAboutDlg about(module());
      about.DoModal(hwnd());
      return true;
    }
    default: return fw::FrameWindow::OnCommand(id);
  }
}

bool CMainFrame::OnUpdateCommand(unsigned id, fw::CommandState& state) {
  switch (id) {
    case ID_SPEAK: state.enabled = !readAloud_->Speaking() && HoldsText(); return true;
    case ID_STOP_SPEAKING: state.enabled = readAloud_->Speaking(); return true;
    case ID_FONT_SETTING:
    case ID_APP_ABOUT: state.enabled = true; return true;
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
    case WM_COPYDATA:
      OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      result = 0;
      return true;
    case WM_TIMER:
      if (wParam == timer_.id()) {
        readAloud_->OnTimer();
        result = 0;
        return true;
      }
      return false;
    case WM_CLOSE:
      // No questions about the text: the read-aloud stops, the settings
      // are kept and the window goes.
      StopSpeaking();
      SaveWindowSettings();
      DestroyWindow(hwnd());
      result = 0;
      return true;
    case WM_DESTROY:
      StopSpeaking();
      SaveWindowSettings();
      return fw::FrameWindow::OnMessage(message, wParam, lParam, result);
    default: return fw::FrameWindow::OnMessage(message, wParam, lParam, result);
  }
}

}  // namespace tessaly
