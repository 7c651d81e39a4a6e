#include "page_setup_dialog.h"

#include <commdlg.h>

#include <iterator>
#include <string>

#include "help.h"
#include "print_resources.h"

namespace brisel {

namespace {

constexpr wchar_t kDialogProp[] = L"brisel.CPageSetDlg";

std::wstring Wide(std::string_view s) { return std::wstring(s.begin(), s.end()); }

// The field each item of menu 189 puts into the edit.
const char* FieldOf(UINT id) {
  namespace f = editorview::field;
  switch (id) {
    case ID_FIELD_FILENAME: return f::kFileName;
    case ID_FIELD_PAGE: return f::kPageNumber;
    case ID_FIELD_TIME: return f::kTime;
    case ID_FIELD_DATE: return f::kDate;
    case ID_FIELD_LEFT: return f::kLeft;
    case ID_FIELD_CENTER: return f::kCenter;
    case ID_FIELD_RIGHT: return f::kRight;
    default: return nullptr;
  }
}

std::string EditText(HWND dialog, int id) {
  wchar_t buffer[kTemplateChars + 1] = {};
  GetDlgItemTextW(dialog, id, buffer, static_cast<int>(std::size(buffer)));
  // Korean typed there is kept as references that print as typed.
  const std::wstring typed(buffer);
  return editorview::TemplateFromUtf16(std::u16string(typed.begin(), typed.end()), codeconv::PlatformCodePages());
}

// A template in its edit as typed.
void SetTemplateText(HWND dialog, int id, const std::string& templ) {
  const std::u16string typed = editorview::TemplateToUtf16(templ, codeconv::PlatformCodePages());
  SetDlgItemTextW(dialog, id, std::wstring(typed.begin(), typed.end()).c_str());
}

}  // namespace

CPageSetDlg::CPageSetDlg(const fw::Module& module, const editorview::PageSettings& current,
                         fw::PrinterSettings& printer)
    : module_(module), current_(current), result_(current), printer_(printer) {}

bool CPageSetDlg::DoModal(HWND owner) {
  PAGESETUPDLGW psd{};
  psd.lStructSize = sizeof psd;
  psd.hwndOwner = owner;
  psd.hDevMode = printer_.DevMode();
  psd.hDevNames = printer_.DevNames();
  psd.Flags = PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS | PSD_ENABLEPAGESETUPTEMPLATE | PSD_ENABLEPAGESETUPHOOK;
  psd.rtMargin = RECT{MarginToHundredths(current_.leftMargin), MarginToHundredths(current_.topMargin),
                      MarginToHundredths(current_.rightMargin), MarginToHundredths(current_.bottomMargin)};
  psd.hInstance = module_.handle();
  psd.lpPageSetupTemplateName = MAKEINTRESOURCEW(IDD_PAGESET);
  psd.lpfnPageSetupHook = &CPageSetDlg::Hook;
  psd.lCustData = reinterpret_cast<LPARAM>(this);
  result_ = current_;
  const bool ok = PageSetupDlgW(&psd) != FALSE;
  // The dialog may have replaced the handles even when cancelled.
  printer_.Take(psd.hDevMode, psd.hDevNames);
  if (fieldIcon_) {
    DestroyIcon(fieldIcon_);
    fieldIcon_ = nullptr;
  }
  if (!ok) {
    result_ = current_;
    return false;
  }
  result_.leftMargin = MarginFromHundredths(psd.rtMargin.left);
  result_.topMargin = MarginFromHundredths(psd.rtMargin.top);
  result_.rightMargin = MarginFromHundredths(psd.rtMargin.right);
  result_.bottomMargin = MarginFromHundredths(psd.rtMargin.bottom);
  return true;
}

UINT_PTR CALLBACK CPageSetDlg::Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CPageSetDlg*>(reinterpret_cast<PAGESETUPDLGW*>(lParam)->lCustData);
    SetPropW(dialog, kDialogProp, self);
    self->OnInit(dialog);
    return TRUE;
  }
  auto* self = static_cast<CPageSetDlg*>(GetPropW(dialog, kDialogProp));
  if (!self) return FALSE;
  switch (message) {
    case WM_COMMAND:
      return self->OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_DESTROY:
      RemovePropW(dialog, kDialogProp);
      return FALSE;
    default:
      return FALSE;
  }
}

void CPageSetDlg::OnInit(HWND dialog) {
  SetTemplateText(dialog, IDC_PAGESET_HEADER, current_.header);
  SetTemplateText(dialog, IDC_PAGESET_FOOTER, current_.footer);
  SendDlgItemMessageW(dialog, IDC_PAGESET_HEADER, EM_LIMITTEXT, kTemplateChars, 0);
  SendDlgItemMessageW(dialog, IDC_PAGESET_FOOTER, EM_LIMITTEXT, kTemplateChars, 0);
  fieldIcon_ = static_cast<HICON>(
      LoadImageW(module_.handle(), MAKEINTRESOURCEW(IDI_PAGESET_FIELD), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  for (int id : {IDC_PAGESET_HEADER_FIELD, IDC_PAGESET_FOOTER_FIELD}) {
    SendDlgItemMessageW(dialog, id, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(fieldIcon_));
  }
}

void CPageSetDlg::OpenFieldMenu(HWND dialog, UINT button) {
  fieldEdit_ = GetDlgItem(dialog, button == IDC_PAGESET_HEADER_FIELD ? IDC_PAGESET_HEADER : IDC_PAGESET_FOOTER);
  HMENU menu = LoadMenuW(module_.handle(), MAKEINTRESOURCEW(IDR_HEADFOOT));
  if (!menu) return;
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, static_cast<int>(button)), &r);
  // The item's command comes back to the dialog (OnCommand).
  if (HMENU popup = GetSubMenu(menu, 0)) TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, r.left, r.bottom, 0, dialog, nullptr);
  DestroyMenu(menu);
}

bool CPageSetDlg::OnCommand(HWND dialog, UINT id, UINT code) {
  if ((id == IDC_PAGESET_HEADER_FIELD || id == IDC_PAGESET_FOOTER_FIELD) && code == BN_CLICKED) {
    OpenFieldMenu(dialog, id);
    return true;
  }
  if (const char* field = FieldOf(id)) {
    if (fieldEdit_) {
      const std::wstring text = fw::FromCodePage(932, field);
      SendMessageW(fieldEdit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
      SetFocus(fieldEdit_);
    }
    return true;
  }
  if (id == IDC_PAGESET_HELP && code == BN_CLICKED) {
    if (onHelp) {
      onHelp(dialog, HELP_TOPIC_PAGESET);
    } else {
      fw::CurrentHelpViewer().ShowContext(dialog, helpFile, HELP_TOPIC_PAGESET);
    }
    return true;
  }
  if (id == IDOK) {
    // The templates before the dialog goes; the system's side takes OK on.
    result_.header = EditText(dialog, IDC_PAGESET_HEADER);
    result_.footer = EditText(dialog, IDC_PAGESET_FOOTER);
    return false;
  }
  return false;
}

bool RunPageSetup(HWND owner, const fw::Module& module, editorview::PageSettings& settings, ProfileStore& profile,
                  std::function<void(HWND dialog, unsigned long topic)> onHelp) {
  CPageSetDlg dialog(module, settings);
  dialog.onHelp = std::move(onHelp);
  if (!dialog.DoModal(owner)) return false;
  settings = dialog.Result();
  SavePageSet(profile, settings);
  return true;
}

int IniProfile::GetInt(std::string_view section, std::string_view key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntW(Wide(section).c_str(), Wide(key).c_str(), fallback, path_.c_str()));
}

std::string IniProfile::GetString(std::string_view section, std::string_view key, std::string_view fallback) {
  // Room for a template of 300 characters written as references.
  wchar_t buffer[4096] = {};
  const std::wstring def = fw::FromCodePage(932, std::string(fallback));
  GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), def.c_str(), buffer,
                           static_cast<DWORD>(std::size(buffer)), path_.c_str());
  return fw::ToCodePage(932, buffer);
}

bool IniProfile::WriteInt(std::string_view section, std::string_view key, int value) {
  return WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), std::to_wstring(value).c_str(),
                                    path_.c_str()) != FALSE;
}

bool IniProfile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  return WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                    fw::FromCodePage(932, std::string(value)).c_str(), path_.c_str()) != FALSE;
}

}  // namespace brisel
