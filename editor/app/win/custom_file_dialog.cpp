#include "custom_file_dialog.h"

#include "brisel_resource.h"
#include "editor_settings.h"

namespace brisel {

namespace {

// The box's items; the open dialog has "自動識別" in front.
constexpr const wchar_t* kCodeItems[] = {L"UTF-8", L"Unicode", L"使用中のフォントコード", L"KSコード", L"GMコード"};

}  // namespace

CCustomFileDialog1::CCustomFileDialog1(const fw::Module& module, bool open, EditorSettings& settings)
    : fw::FileDialog(module, open), settings_(settings) {
  templateId = IDD_FILE_CODE;
}

void CCustomFileDialog1::OnInitDone(HWND child) {
  HWND box = GetDlgItem(child, IDC_FILE_CODE);
  if (!box) return;
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  if (IsOpen()) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"自動識別"));
  for (const wchar_t* item : kCodeItems) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(IsOpen() ? settings_.inFileType : settings_.outFileType), 0);
}

bool CCustomFileDialog1::OnFileNameOk(HWND child) {
  const LRESULT index = SendDlgItemMessageW(child, IDC_FILE_CODE, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return true;
  if (IsOpen()) {
    if (index < kInFileTypeCount) settings_.inFileType = static_cast<int>(index);
  } else if (index < kOutFileTypeCount) {
    settings_.outFileType = static_cast<int>(index);
  }
  return true;
}

}  // namespace brisel
