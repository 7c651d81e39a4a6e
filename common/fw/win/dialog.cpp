#include "dialog.h"

#include "data_exchange_rules.h"
#include "modeless_keys.h"

namespace fw {

namespace {
std::wstring Wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

// Messages whose result a dialog procedure returns itself instead of
// through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}
}  // namespace

std::wstring WindowText(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

INT_PTR Dialog::DoModal(HWND parent) {
  modal_ = true;
  return DialogBoxParamW(module_.handle(), MAKEINTRESOURCEW(templateId_), parent, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

HWND Dialog::CreateModeless(HWND parent) {
  modal_ = false;
  HWND dialog = CreateDialogParamW(module_.handle(), MAKEINTRESOURCEW(templateId_), parent, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
  if (dialog) {
    AddModelessWindow(dialog, false);
    keys_ = true;
  }
  return dialog;
}

void Dialog::EndDialog(INT_PTR result) {
  if (!hwnd()) return;
  if (modal_) ::EndDialog(hwnd(), result);
  else DestroyWindow(hwnd());
}

bool Dialog::UpdateData(bool save) {
  if (!hwnd()) return false;
  DataExchange dx(hwnd(), save);
  DoDataExchange(dx);
  return !dx.failed();
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      result = OnInitDialog() ? TRUE : FALSE;
      return true;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return false;
      if (LOWORD(wParam) == IDOK) {
        OnOK();
        return true;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        OnCancel();
        return true;
      }
      return false;
    default:
      return false;
  }
}

INT_PTR Dialog::DispatchDialog(UINT message, WPARAM wParam, LPARAM lParam) {
  DispatchScope scope;
  LRESULT result = 0;
  const bool handled = Route(message, wParam, lParam, result);
  if (message == WM_NCDESTROY) {
    if (keys_) RemoveModelessWindow(hwnd());
    keys_ = false;
    Detach();
    OnFinalMessage();
    return FALSE;
  }
  if (!handled) return FALSE;
  if (ReturnsDirectly(message)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<Dialog*>(FromHandle(hwnd));
  if (!self && message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    if (self) self->Attach(hwnd, Kind::kDialog);
  }
  if (!self) return FALSE;
  return self->DispatchDialog(message, wParam, lParam);
}

// ---- data exchange ----

void DataExchange::Refuse(int id, const std::wstring& message) {
  failed_ = true;
  const std::wstring caption = WindowText(dialog_);
  MessageBoxW(dialog_, message.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
  HWND control = GetDlgItem(dialog_, id);
  if (control) {
    SetFocus(control);
    SendMessageW(control, EM_SETSEL, 0, -1);
  }
}

void DataExchange::Text(int id, std::wstring& value, int maxLength) {
  if (failed_) return;
  HWND control = GetDlgItem(dialog_, id);
  if (!control) return;
  if (save_) {
    value = WindowText(control);
    return;
  }
  if (maxLength > 0) SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
  SetWindowTextW(control, value.c_str());
}

void DataExchange::Int(int id, int& value, int min, int max) {
  if (failed_) return;
  HWND control = GetDlgItem(dialog_, id);
  if (!control) return;
  if (!save_) {
    SetWindowTextW(control, Wide(FormatInteger(value)).c_str());
    return;
  }
  const std::wstring text = WindowText(control);
  const auto parsed = ParseIntegerField(std::u16string(text.begin(), text.end()));
  if (!parsed) {
    Refuse(id, Wide(IntegerRequiredMessage()));
    return;
  }
  if (*parsed < min || *parsed > max) {
    Refuse(id, Wide(IntegerRangeMessage(min, max)));
    return;
  }
  value = static_cast<int>(*parsed);
}

void DataExchange::Check(int id, bool& value) {
  if (failed_) return;
  if (save_) value = IsDlgButtonChecked(dialog_, id) == BST_CHECKED;
  else CheckDlgButton(dialog_, id, value ? BST_CHECKED : BST_UNCHECKED);
}

void DataExchange::Radio(int firstId, int count, int& index) {
  if (failed_) return;
  if (save_) {
    index = -1;
    for (int i = 0; i < count; ++i) {
      if (IsDlgButtonChecked(dialog_, firstId + i) == BST_CHECKED) index = i;
    }
    return;
  }
  for (int i = 0; i < count; ++i) CheckDlgButton(dialog_, firstId + i, i == index ? BST_CHECKED : BST_UNCHECKED);
}

}  // namespace fw
