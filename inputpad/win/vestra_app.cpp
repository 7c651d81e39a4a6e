// Vestra.EXE, the translation input pad: a one-line always-on-top dialog
// that the input method's toolbar starts for the application the user types
// in. Enter translates the Japanese in its SEdit control through
// "LomiDLL.DLL" (bound at run time); a second Enter sends the Korean to the
// input method's UI window with WM_PAD_CHAR, which puts it into the
// application. The pad reads the workbench's settings and writes none.
#include <windows.h>
#include <imm.h>

#include <cstring>
#include <string>

#include "dialog.h"
#include "ime_layouts.h"
#include "ime_link.h"
#include "lomi_api.h"
#include "pad_core.h"
#include "sedit_window.h"
#include "shared_settings_win32.h"
#include "vestra_resource.h"
#include "workbench_core.h"

namespace vestra {
namespace {

constexpr wchar_t kCaption[] = L"日韓翻訳入力";
constexpr wchar_t kTooLong[] = L"転送できる韓国語の文字数は128文字までです。";
constexpr wchar_t kGm95Refused[] =
    L"Geul Maru のコードセットがＳＪでは日韓翻訳入力を使用できません。ＫＳかＧＭのコードセットでお使いください。";
constexpr int kReadBytes = 1024;
constexpr int kSendReadBytes = 512;
constexpr int kTextLimit = 256;
constexpr DWORD kConversionNativeFullRoman = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN;  // 25

sedit::StaticTable<sedit::kPadVariant> g_seditTable;
sedit::SEditHost g_seditHost;

struct Engine {
  HMODULE module = nullptr;
  SetJKTransConfigureFn configure = nullptr;
  JKTransferFn transfer = nullptr;
};

struct Program {
  inputpad::PadArguments arguments;
  bool ks = true;
  Engine engine;
  HWND ImeWindow() const { return imelink::NumberHandle<HWND>(arguments.imeWindow); }
  HWND TargetWindow() const { return imelink::NumberHandle<HWND>(arguments.targetWindow); }
};

// The folder of "Vestra.dll" when such a module is loaded, else of the
// program itself, with its backslash.
std::string EngineFolder() {
  HMODULE self = GetModuleHandleA("Vestra.dll");
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::string folder(path, n);
  folder.resize(folder.find_last_of('\\') + 1);
  return folder;
}

bool BindEngine(Engine& engine) {
  const std::string path = EngineFolder() + "LomiDLL.DLL";
  engine.module = LoadLibraryA(path.c_str());
  if (!engine.module) return false;
  engine.configure = reinterpret_cast<SetJKTransConfigureFn>(
      reinterpret_cast<void*>(GetProcAddress(engine.module, "Set_JKTrans_Configure")));
  engine.transfer =
      reinterpret_cast<JKTransferFn>(reinterpret_cast<void*>(GetProcAddress(engine.module, "JK_Transfer")));
  if (engine.configure && engine.transfer) return true;
  FreeLibrary(engine.module);
  engine.module = nullptr;
  return false;
}

// The engine's record: the user dictionaries as read (not checked), the
// first option word and the last word 1, everything else zero.
void ConfigureEngine(const Engine& engine, const inputpad::PadSettings& s) {
  lomi::JKTransConfig config;
  std::memset(&config, 0, sizeof config);
  for (int i = 0; i < lomi::kUserDicSlots; ++i)
    std::strncpy(config.userDic[i], s.userDic[i].c_str(), lomi::kUserDicPathBytes - 1);
  config.option[0] = 1;
  config.lastOption = 1;
  engine.configure(config);
}

LOGFONTA MakeFont(int height, BYTE charset, const std::string& face) {
  LOGFONTA f{};
  f.lfHeight = height;
  f.lfCharSet = charset;
  std::strncpy(f.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return f;
}

HKL FindImeLayout(const std::string& name) {
  return reinterpret_cast<HKL>(codeconv::FindImeLayoutByName(name));
}

// Makes layout current and its input method open, in the conversion mode
// 25 (native, full shape, roman) when none was set.
void ActivateImeLayout(HWND window, HKL layout) {
  if (!layout) return;
  if (GetKeyboardLayout(0) != layout) {
    ActivateKeyboardLayout(layout, 0);
    if (HIMC imc = ImmGetContext(window)) {
      ImmSetOpenStatus(imc, TRUE);
      ImmReleaseContext(window, imc);
    }
  }
  HIMC imc = ImmGetContext(window);
  if (!imc) return;
  if (!ImmGetOpenStatus(imc)) ImmSetOpenStatus(imc, TRUE);
  DWORD conversion = 0, sentence = 0;
  if (ImmGetConversionStatus(imc, &conversion, &sentence) && conversion == 0)
    ImmSetConversionStatus(imc, kConversionNativeFullRoman, sentence);
  ImmReleaseContext(window, imc);
}

// A click in the middle of the window's client area, so that the window
// the user sees in front also has the keyboard.
void ClickWindowCentre(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  const workbench::ClickPoint p = workbench::AbsoluteClickPoint(
      r.left, r.top, r.right, r.bottom, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
  INPUT in[3]{};
  const DWORD flags[3] = {static_cast<DWORD>(MOUSEEVENTF_MOVE),
                          static_cast<DWORD>(swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                          static_cast<DWORD>(swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)};
  for (int i = 0; i < 3; ++i) {
    in[i].type = INPUT_MOUSE;
    in[i].mi.dx = p.x;
    in[i].mi.dy = p.y;
    in[i].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | flags[i];
  }
  SendInput(3, in, sizeof(INPUT));
}

class CVestraDlg final : public fw::Dialog {
 public:
  CVestraDlg(const fw::Module& module, Program& program) : fw::Dialog(module, IDD_VESTRA_DIALOG), program_(program) {}
  ~CVestraDlg() override {
    if (japaneseFont_) DeleteObject(japaneseFont_);
    if (koreanFont_) DeleteObject(koreanFont_);
  }

 protected:
  bool OnInitDialog() override {
    icon_ = LoadIconW(module().handle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    HICON small = static_cast<HICON>(LoadImageW(module().handle(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small ? small : icon_));
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(program_.ImeWindow(), imelink::WM_PAD_CHAR, imelink::kAnnounce, reinterpret_cast<LPARAM>(hwnd()));

    const inputpad::PadSettings s = inputpad::ReadPadSettings(settings::SystemSettings(), program_.ks);
    japaneseLog_ = MakeFont(s.fontHeight, SHIFTJIS_CHARSET, s.japaneseFace);
    koreanLog_ = MakeFont(s.fontHeight, program_.ks ? HANGUL_CHARSET : SHIFTJIS_CHARSET, s.koreanFace);
    japaneseFont_ = CreateFontIndirectA(&japaneseLog_);
    koreanFont_ = CreateFontIndirectA(&koreanLog_);
    fontHeight_ = s.WindowFontHeight();
    FitToFont();

    text_ = GetDlgItem(hwnd(), IDC_PAD_TEXT);
    SetTextFont(japaneseFont_, japaneseLog_);
    SendMessageA(text_, EM_LIMITTEXT, kTextLimit, 0);
    phase_ = 0;

    japaneseLayout_ = FindImeLayout(s.japaneseIme);
    koreanLayout_ = FindImeLayout(program_.ks ? inputpad::kKsImeFile : inputpad::kGmImeFile);
    ActivateImeLayout(text_, japaneseLayout_);
    return true;
  }

  void OnOK() override {
    if (phase_ == 0)
      Translate();
    else
      Send();
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case imelink::WM_PAD_CHAR:
        // Another input method window takes the pad over.
        program_.arguments.imeWindow = imelink::HandleNumber(reinterpret_cast<HWND>(wParam));
        MessageBeep(MB_ICONEXCLAMATION);
        result = 0;
        return true;
      case WM_PAINT:
        if (IsIconic(hwnd())) {
          PAINTSTRUCT ps;
          HDC dc = BeginPaint(hwnd(), &ps);
          SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
          RECT r{};
          GetClientRect(hwnd(), &r);
          DrawIcon(dc, (r.right - GetSystemMetrics(SM_CXICON) + 1) / 2, (r.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2,
                   icon_);
          EndPaint(hwnd(), &ps);
          result = 0;
          return true;
        }
        break;
      case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(icon_);
        return true;
      default:
        break;
    }
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }

 private:
  void SetTextFont(HFONT font, const LOGFONTA& log) {
    SendMessageA(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font), reinterpret_cast<LPARAM>(&log));
  }

  std::string ControlText(int bytes) const {
    std::string buffer(static_cast<std::size_t>(bytes), '\0');
    const int n = GetWindowTextA(text_, buffer.data(), bytes);
    buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return buffer;
  }

  void FitToFont() {
    RECT w{};
    GetWindowRect(hwnd(), &w);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const inputpad::Metrics m{GetSystemMetrics(SM_CYSMCAPTION), GetSystemMetrics(SM_CXFRAME),
                              GetSystemMetrics(SM_CYFRAME)};
    const inputpad::Placement p =
        inputpad::FitToFont(w.left, w.top, fontHeight_, m, inputpad::Rect{work.left, work.top, work.right, work.bottom});
    MoveWindow(hwnd(), p.window.left, p.window.top, p.window.Width(), p.window.Height(), TRUE);
    if (HWND text = GetDlgItem(hwnd(), IDC_PAD_TEXT)) MoveWindow(text, 0, 0, p.controlWidth, p.controlHeight, TRUE);
  }

  void Translate() {
    const std::string japanese = ControlText(kReadBytes);
    const inputpad::BlankLayout blanks = inputpad::MeasureBlanks(japanese);
    if (blanks.empty) return;
    char output[inputpad::kOutputBytes] = {};
    int length = static_cast<int>(blanks.Capacity());
    int alignmentCount = 0;
    char* translation = output + blanks.leading;
    const int r = program_.engine.transfer(lomi::kModeTranslate, lomi::kJapaneseCodePage,
                                           program_.ks ? lomi::kKsCodePage : lomi::kGmCodePage, japanese.c_str(),
                                           translation, &length, nullptr, &alignmentCount);
    if (r != 0) return;
    const std::size_t written = length < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(length), blanks.Capacity());
    const std::string korean =
        inputpad::LayOutTranslation(blanks, std::string_view(translation, strnlen(translation, written)));
    SetTextFont(koreanFont_, koreanLog_);
    SetWindowTextA(text_, korean.c_str());
    phase_ = 1;
    ActivateImeLayout(text_, koreanLayout_);
  }

  void Send() {
    const std::string korean = ControlText(kSendReadBytes);
    SetForegroundWindow(program_.TargetWindow());
    bool cut = false;
    if (!korean.empty()) {
      Sleep(40);
      const bool ks = program_.ks;
      const inputpad::SendPlan plan = inputpad::PlanPadSend(
          korean, [ks](uint8_t b) { return IsDBCSLeadByte(b) != FALSE || (ks && (b & 0x80) != 0); });
      for (uint32_t param : plan.messages) SendMessageW(program_.ImeWindow(), imelink::WM_PAD_CHAR, param, 0);
      cut = plan.cut;
    }
    FitToFont();
    SetWindowTextA(text_, "");
    SetTextFont(japaneseFont_, japaneseLog_);
    phase_ = 0;
    SetForegroundWindow(hwnd());
    ClickWindowCentre(hwnd());
    SetFocus(text_);
    ActivateImeLayout(text_, japaneseLayout_);
    if (cut) MessageBoxW(hwnd(), kTooLong, kCaption, MB_OK);
  }

  Program& program_;
  HWND text_ = nullptr;
  HICON icon_ = nullptr;
  int phase_ = 0;
  LOGFONTA japaneseLog_{}, koreanLog_{};
  HFONT japaneseFont_ = nullptr, koreanFont_ = nullptr;
  int fontHeight_ = inputpad::kDefaultFontHeight;
  HKL japaneseLayout_ = nullptr, koreanLayout_ = nullptr;
};

int Run(HINSTANCE instance, const char* commandLine) {
  Program program;
  program.arguments = inputpad::ParsePadArguments(commandLine);
  if (program.arguments.mode == inputpad::CodeMode::kGm95) {
    // The engine writes KS or GM V3 code only; GM95 text would reach the
    // application with its remapped rows wrong.
    MessageBoxW(nullptr, kGm95Refused, kCaption, MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  program.ks = program.arguments.mode == inputpad::CodeMode::kKs;
  if (!BindEngine(program.engine)) return 0;
  sedit::RegisterSEditClass(instance, g_seditTable.table, g_seditHost);
  ConfigureEngine(program.engine, inputpad::ReadPadSettings(settings::SystemSettings(), program.ks));
  {
    CVestraDlg dialog(fw::Module{instance}, program);
    dialog.DoModal(nullptr);
  }
  FreeLibrary(program.engine.module);
  PostMessageW(program.ImeWindow(), imelink::WM_PAD_CHAR, imelink::kAnnounce, 0);
  return 0;
}

}  // namespace
}  // namespace vestra

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) { return vestra::Run(instance, commandLine); }
