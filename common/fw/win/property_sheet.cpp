#include "property_sheet.h"

#include "modeless_keys.h"

namespace fw {

namespace {

thread_local PropSheet* t_creating = nullptr;

}  // namespace

// ---- pages ----

HPROPSHEETPAGE PropertyPage::CreatePage() {
  PROPSHEETPAGEW psp{};
  psp.dwSize = sizeof psp;
  psp.dwFlags = PSP_DEFAULT | (sheet_ && sheet_->help_ ? PSP_HASHELP : 0);
  psp.hInstance = module().handle();
  psp.pszTemplate = MAKEINTRESOURCEW(templateId());
  psp.pfnDlgProc = PageProc;
  psp.lParam = reinterpret_cast<LPARAM>(this);
  return CreatePropertySheetPageW(&psp);
}

INT_PTR CALLBACK PropertyPage::PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<PropertyPage*>(FromHandle(hwnd));
  if (!self && message == WM_INITDIALOG) {
    const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    self = psp ? reinterpret_cast<PropertyPage*>(psp->lParam) : nullptr;
    if (self) self->Attach(hwnd, Kind::kDialog);
  }
  if (!self) return FALSE;
  return self->DispatchDialog(message, wParam, lParam);
}

bool PropertyPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      result = OnInitDialog() ? TRUE : FALSE;
      return true;
    case WM_HELP:
      OnHelp();
      result = TRUE;
      return true;
    case WM_NOTIFY: {
      const auto* h = reinterpret_cast<const NMHDR*>(lParam);
      if (!h || h->hwndFrom != GetParent(hwnd())) return false;
      switch (h->code) {
        case PSN_SETACTIVE: result = OnSetActive() ? 0 : -1; return true;
        case PSN_KILLACTIVE: result = OnKillActive() ? FALSE : TRUE; return true;
        case PSN_APPLY: result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE; return true;
        case PSN_RESET: OnReset(); result = 0; return true;
        case PSN_HELP: OnHelp(); result = 0; return true;
        default: return false;
      }
    }
    default:
      (void)wParam;
      return false;  // a page's IDOK and IDCANCEL belong to the sheet
  }
}

// ---- sheet ----

void PropSheet::AddPage(PropertyPage& page) {
  page.sheet_ = this;
  pages_.push_back(&page);
}

INT_PTR PropSheet::DoModal(HWND parent) { return Run(parent, false); }

HWND PropSheet::CreateModeless(HWND parent, DWORD style) {
  style_ = style;
  const INT_PTR r = Run(parent, true);
  HWND sheet = r != 0 && r != -1 ? reinterpret_cast<HWND>(r) : nullptr;
  if (sheet) AddModelessWindow(sheet, true);
  return sheet;
}

INT_PTR PropSheet::Run(HWND parent, bool modeless) {
  modeless_ = modeless;
  std::vector<HPROPSHEETPAGE> handles;
  for (PropertyPage* p : pages_) {
    HPROPSHEETPAGE h = p->CreatePage();
    if (!h) {
      for (HPROPSHEETPAGE made : handles) DestroyPropertySheetPage(made);
      return -1;
    }
    handles.push_back(h);
  }
  PROPSHEETHEADERW psh{};
  psh.dwSize = sizeof psh;
  psh.dwFlags = PSH_USECALLBACK | PSH_NOAPPLYNOW | (modeless ? PSH_MODELESS : 0) | (help_ ? PSH_HASHELP : 0);
  psh.hwndParent = parent;
  psh.hInstance = module_.handle();
  psh.pszCaption = caption_.c_str();
  psh.nPages = static_cast<UINT>(handles.size());
  psh.phpage = handles.data();
  psh.pfnCallback = SheetCallback;
  PropSheet* outer = t_creating;
  t_creating = this;
  const INT_PTR r = PropertySheetW(&psh);
  t_creating = outer;
  return r;
}

int CALLBACK PropSheet::SheetCallback(HWND hwnd, UINT message, LPARAM lParam) {
  PropSheet* self = t_creating;
  if (!self) return 0;
  if (message == PSCB_PRECREATE && self->style_ != 0 && lParam) {
    // The template is the sheet's own copy; DLGTEMPLATEEX starts with 1, 0xFFFF.
    auto* words = reinterpret_cast<WORD*>(lParam);
    DWORD* style = words[1] == 0xFFFF ? reinterpret_cast<DWORD*>(words + 6) : reinterpret_cast<DWORD*>(words);
    *style = self->style_ | (*style & DS_SETFONT);
  } else if (message == PSCB_INITIALIZED) {
    self->Subclass(hwnd);
    if (self->modeless_) self->HideStandardButtons();
    self->OnInitDialog();
  }
  return 0;
}

void PropSheet::HideStandardButtons() {
  constexpr int kButtons[] = {IDOK, IDCANCEL, IDHELP, 0x3021 /* Apply */};
  RECT window{};
  GetWindowRect(hwnd(), &window);
  LONG top = window.bottom;
  for (int id : kButtons) {
    HWND b = GetDlgItem(hwnd(), id);
    if (!b) continue;
    if (id == IDHELP && help_) continue;
    RECT r{};
    GetWindowRect(b, &r);
    if (r.top < top) top = r.top;
    ShowWindow(b, SW_HIDE);
    EnableWindow(b, FALSE);
  }
  if (help_ || top >= window.bottom) return;
  SetWindowPos(hwnd(), nullptr, 0, 0, window.right - window.left, top - window.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool PropSheet::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_NCDESTROY:
      if (modeless_) RemoveModelessWindow(hwnd());
      return false;
    case WM_CLOSE:
    case WM_COMMAND:
    case WM_SYSCOMMAND:
      // A modeless sheet that its own buttons or Esc ended has no current
      // page; nobody else would destroy it.
      if (!modeless_) return false;
      result = CallDefault(message, wParam, lParam);
      if (hwnd() && !SendMessageW(hwnd(), PSM_GETCURRENTPAGEHWND, 0, 0)) DestroyWindow(hwnd());
      return true;
    default:
      return false;
  }
}

bool PropSheet::RemovePage(int index) {
  if (!hwnd() || index < 0 || index >= PageCount()) return false;
  SendMessageW(hwnd(), PSM_REMOVEPAGE, static_cast<WPARAM>(index), 0);
  PropertyPage* p = pages_[static_cast<size_t>(index)];
  p->sheet_ = nullptr;
  pages_.erase(pages_.begin() + index);
  return true;
}

int PropSheet::PageCount() const { return static_cast<int>(pages_.size()); }

int PropSheet::ActiveIndex() const {
  if (!hwnd()) return -1;
  HWND tab = reinterpret_cast<HWND>(SendMessageW(hwnd(), PSM_GETTABCONTROL, 0, 0));
  return tab ? static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0)) : -1;
}

PropertyPage* PropSheet::ActivePage() const {
  HWND page = hwnd() ? reinterpret_cast<HWND>(SendMessageW(hwnd(), PSM_GETCURRENTPAGEHWND, 0, 0)) : nullptr;
  for (PropertyPage* p : pages_) {
    if (p->hwnd() && p->hwnd() == page) return p;
  }
  return nullptr;
}

}  // namespace fw
