#include "doc_notices.h"

#include <string>

#include "app.h"

namespace brisel {

void ShowDocNotice(HWND owner, const wchar_t* caption, DocNotice notice) {
  if (notice == DocNotice::kOutOfMemory) {
    MessageBeep(0);
    return;
  }
  const std::u16string_view text = NoticeText(notice);
  const std::wstring wide(text.begin(), text.end());
  MessageBoxW(owner, wide.c_str(), caption, MB_OK | MB_ICONEXCLAMATION);
}

StringSource ModuleStrings(HINSTANCE module) {
  return [module](unsigned id) {
    const wchar_t* text = nullptr;
    const int n = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 && text ? std::u16string(text, text + n) : std::u16string();
  };
}

namespace {

std::wstring Wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

StringSource AppStrings() {
  fw::App* app = fw::App::Current();
  return app ? ModuleStrings(app->module().handle()) : StringSource();
}

}  // namespace

void ShowReadChanged(HWND owner, const wchar_t* caption, const ReadOutcome& read, const StringSource& strings) {
  MessageBoxW(owner, Wide(ReadChangedMessage(read, strings)).c_str(), caption, MB_OK | MB_ICONEXCLAMATION);
}

MissingAnswer AskMissingBox(HWND owner, const wchar_t* caption, const MissingCharacters& missing, int outFileType,
                            const StringSource& strings) {
  const std::wstring text = Wide(MissingCharactersMessage(missing, outFileType, strings));
  return MessageBoxW(owner, text.c_str(), caption, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK ? MissingAnswer::kOtherCode
                                                                                           : MissingAnswer::kCancel;
}

void Win32DocumentHost::Notify(DocNotice notice) {
  fw::App* app = fw::App::Current();
  HWND owner = app ? app->MainWindow() : nullptr;
  const wchar_t* caption = app ? app->programName().c_str() : L"";
  if (notice == DocNotice::kSaveOutOfMemory) {
    // The program's string table has the text.
    std::u16string text = AppStrings() ? AppStrings()(kIdsSaveOutOfMemory) : std::u16string();
    if (text.empty()) text = DefaultDocString(kIdsSaveOutOfMemory);
    MessageBoxW(owner, Wide(text).c_str(), caption, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  ShowDocNotice(owner, caption, notice);
}

void Win32DocumentHost::NotifyReadChanged(const ReadOutcome& read) {
  fw::App* app = fw::App::Current();
  ShowReadChanged(app ? app->MainWindow() : nullptr, app ? app->programName().c_str() : L"", read, AppStrings());
}

MissingAnswer Win32DocumentHost::AskAboutMissing(const MissingCharacters& missing, int outFileType) {
  fw::App* app = fw::App::Current();
  return AskMissingBox(app ? app->MainWindow() : nullptr, app ? app->programName().c_str() : L"", missing, outFileType,
                       AppStrings());
}

}  // namespace brisel
