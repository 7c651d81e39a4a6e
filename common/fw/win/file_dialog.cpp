#include "file_dialog.h"

#include <commdlg.h>

namespace fw {

namespace {
constexpr wchar_t kProperty[] = L"fw.FileDialog";
constexpr DWORD kNameBuffer = 4096;
}  // namespace

std::wstring FileDialogFilter(const std::vector<std::pair<std::wstring, std::wstring>>& entries) {
  std::wstring filter;
  for (const auto& [name, pattern] : entries) {
    filter += name;
    filter.push_back(L'\0');
    filter += pattern;
    filter.push_back(L'\0');
  }
  filter.push_back(L'\0');
  return filter;
}

int FileDialog::DoModal(HWND owner) {
  std::wstring buffer = fileName;
  buffer.resize(kNameBuffer, L'\0');
  buffer[kNameBuffer - 1] = L'\0';
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.hInstance = module_.handle();
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = kNameBuffer;
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
  ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK;
  ofn.lpfnHook = &FileDialog::HookProc;
  ofn.lCustData = reinterpret_cast<LPARAM>(this);
  if (templateId) {
    ofn.Flags |= OFN_ENABLETEMPLATE;
    ofn.lpTemplateName = MAKEINTRESOURCEW(templateId);
  }
  const BOOL ok = open_ ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
  if (!ok) return CommDlgExtendedError() == 0 ? IDCANCEL : 0;
  fileName.assign(buffer.c_str());
  return IDOK;
}

UINT_PTR CALLBACK FileDialog::HookProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* ofn = reinterpret_cast<const OPENFILENAMEW*>(lParam);
    SetPropW(child, kProperty, reinterpret_cast<HANDLE>(ofn->lCustData));
    return TRUE;
  }
  auto* self = static_cast<FileDialog*>(GetPropW(child, kProperty));
  if (!self) return 0;
  switch (message) {
    case WM_NOTIFY: {
      const auto* note = reinterpret_cast<const OFNOTIFYW*>(lParam);
      if (note->hdr.code == CDN_INITDONE) {
        self->OnInitDone(child);
      } else if (note->hdr.code == CDN_FILEOK) {
        const bool accept = self->OnFileNameOk(child);
        SetWindowLongPtrW(child, DWLP_MSGRESULT, accept ? 0 : 1);
        return TRUE;
      }
      return 0;
    }
    case WM_COMMAND:
      self->OnCommand(child, wParam, lParam);
      return 0;
    case WM_DESTROY:
      RemovePropW(child, kProperty);
      return 0;
    default:
      return 0;
  }
}

}  // namespace fw
