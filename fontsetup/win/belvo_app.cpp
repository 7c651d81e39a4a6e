// The font environment setup Belvo4.exe: the main dialog; on OK the links of
// the GM fonts' EUDC files written under HKEY_CURRENT_USER "EUDC\932" with
// the progress window showing each face; then the finishing dialog, whose
// choice decides the log-off, or a box that says why nothing (or not all)
// was linked.
//
// The log-off goes through one function: where the environment names
// GEULMARU_NO_LOGOFF (every test prefix), it is held back and the program
// ends with kLogOffHeldBack instead, so that a test sees the choice without
// ending its session.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "belvo_resource.h"
#include "dialog.h"
#include "eudc_setup.h"
#include "module.h"

namespace belvo {

namespace {

constexpr wchar_t kCaption[] = L"GeulmaruV6 環境設定";
constexpr int kLogOffHeldBack = 3;

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
std::u16string U(std::wstring_view s) { return std::u16string(s.begin(), s.end()); }

// Every queued message dispatched, so that the windows stay painted.
void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Pause() {
  Sleep(100);
  PumpMessages();
}

class SystemRegistry final : public SetupRegistry {
 public:
  ~SystemRegistry() override { CloseLinkKey(); }

  std::optional<std::u16string> InstallDirectory() override {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(kSuiteKeyPath).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::optional<std::u16string> found;
    for (DWORD index = 0;; ++index) {
      Pause();
      wchar_t name[256];
      DWORD nameLength = 256;
      DWORD type = 0;
      DWORD size = 0;
      const LONG r = RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size);
      if (r == ERROR_NO_MORE_ITEMS || (r != ERROR_SUCCESS && r != ERROR_MORE_DATA)) break;
      if (r != ERROR_SUCCESS) continue;  // a name longer than any the suite writes
      if (CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, name, static_cast<int>(nameLength),
                         W(kInstallDirectoryValue).c_str(), static_cast<int>(kInstallDirectoryValue.size())) !=
          CSTR_EQUAL) {
        continue;
      }
      if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes) == ERROR_SUCCESS) {
          text.resize(std::wcslen(text.c_str()));  // the data may or may not hold its NUL
          found = U(text);
        }
      }
      break;
    }
    RegCloseKey(key);
    return found;
  }

  bool OpenLinkKey() override {
    CloseLinkKey();
    // Opened with full access, or made when it is missing.
    return RegCreateKeyExW(HKEY_CURRENT_USER, W(kLinkKeyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, &key_, nullptr) == ERROR_SUCCESS;
  }

  bool SetLink(std::u16string_view face, std::u16string_view path) override {
    if (!key_) return false;
    const std::wstring text = W(path);
    // The text with its terminating NUL.
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key_, W(face).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes) ==
           ERROR_SUCCESS;
  }

  void CloseLinkKey() override {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

class SystemFiles final : public FileProbe {
 public:
  bool Exists(std::u16string_view path) override {
    const DWORD a = GetFileAttributesW(W(path).c_str());
    PumpMessages();
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }
};

// The modeless window that names the face being linked.
class CFontProgressWnd final : public fw::Dialog {
 public:
  explicit CFontProgressWnd(const fw::Module& module) : fw::Dialog(module, IDD_FONT_PROGRESS) {}
  void DrawFontName(const std::u16string& face) {
    if (!hwnd()) return;
    SetDlgItemTextW(hwnd(), IDC_PROGRESS_TEXT, L"以下のフォントを設定しています。");
    SetDlgItemTextW(hwnd(), IDC_FONT_NAME, W(face).substr(0, 255).c_str());
    UpdateWindow(hwnd());
  }
};

class CLogoffDlg final : public fw::Dialog {
 public:
  explicit CLogoffDlg(const fw::Module& module) : fw::Dialog(module, IDD_LOGOFF) {}
  int choice = 0;  // 0: log off now, 1: later

 protected:
  void DoDataExchange(fw::DataExchange& dx) override { dx.Radio(IDC_LOGOFF_NOW, 2, choice); }
};

std::wstring FailureText(const SetupReport& report) {
  switch (report.outcome) {
    case SetupOutcome::kNoFolder:
      return L"GeulmaruV6 のインストール先 (\"Install Directory\") が見つかりません。\n"
             L"フォントの設定は行われませんでした。";
    case SetupOutcome::kNoFontFiles:
      return L"外字ファイル (.TTE) が次のフォルダーにありません。\n" + W(report.programFolder) +
             L"Gaiji\\\nフォントの設定は行われませんでした。";
    case SetupOutcome::kLinksFailed: {
      std::wstring text = L"次のフォントのリンクをレジストリ (HKEY_CURRENT_USER\\EUDC\\932) に書き込めませんでした。\n";
      for (const FontLink& link : report.failed) text += W(link.face) + L"\n";
      return text;
    }
    case SetupOutcome::kLinked: break;
  }
  return {};
}

class CEnvSetupDlg final : public fw::Dialog {
 public:
  explicit CEnvSetupDlg(const fw::Module& module) : fw::Dialog(module, IDD_ENV_SETUP) {}
  int logOffChoice = 1;
  bool finishedOk = false;
  SetupOutcome outcome = SetupOutcome::kNoFolder;

 protected:
  bool OnInitDialog() override {
    icon_ = LoadIconW(module().handle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    return fw::Dialog::OnInitDialog();
  }

  void OnOK() override {
    ShowWindow(hwnd(), SW_MINIMIZE);
    SystemRegistry registry;
    SystemFiles files;
    CFontProgressWnd progress(module());
    progress.CreateModeless(nullptr);
    if (progress.hwnd()) ShowWindow(progress.hwnd(), SW_SHOW);
    const SetupReport report = RunSetup(registry, files, [&](const FontLink& link) {
      progress.DrawFontName(link.face);
      Pause();
    });
    if (progress.hwnd()) DestroyWindow(progress.hwnd());
    PumpMessages();
    outcome = report.outcome;
    if (report.outcome == SetupOutcome::kLinked) {
      CLogoffDlg finishing(module());
      if (finishing.DoModal(nullptr) == IDOK) {
        finishedOk = true;
        logOffChoice = finishing.choice;
      }
    } else {
      MessageBoxW(nullptr, FailureText(report).c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
    }
    EndDialog(IDOK);
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_QUERYDRAGICON) {
      result = reinterpret_cast<LRESULT>(icon_);
      return true;
    }
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }

 private:
  HICON icon_ = nullptr;
};

// ExitWindowsEx, held back in a test prefix.
int LogOff() {
  if (GetEnvironmentVariableW(L"GEULMARU_NO_LOGOFF", nullptr, 0) > 0) return kLogOffHeldBack;
  ExitWindowsEx(EWX_LOGOFF, 0);
  return 0;
}

}  // namespace

}  // namespace belvo

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&icc);
  belvo::CEnvSetupDlg dialog{fw::Module{instance}};
  if (dialog.DoModal(nullptr) == IDOK &&
      belvo::ShouldLogOff(dialog.outcome, dialog.finishedOk, dialog.logOffChoice)) {
    return belvo::LogOff();
  }
  return 0;
}
