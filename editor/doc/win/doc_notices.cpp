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

void Win32DocumentHost::Notify(DocNotice notice) {
  fw::App* app = fw::App::Current();
  ShowDocNotice(app ? app->MainWindow() : nullptr, app ? app->programName().c_str() : L"", notice);
}

}  // namespace brisel
