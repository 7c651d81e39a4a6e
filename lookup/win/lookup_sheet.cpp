// The sheet CRabeko_Dlg, the placeholder page, and what every lookup page shares.
#include <windows.h>
#include <imm.h>

#include <algorithm>
#include <cstring>

#include "lookup_config.h"
#include "lookup_ids.h"
#include "lookup_pages.h"
#include "lookup_state.h"

namespace lookup {

namespace {
// "ＭＳ 明朝" in code page 932.
constexpr char kJapaneseFace[] = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";
constexpr UINT kImeNotify = 0x282;
constexpr WPARAM kCloseStatusWindow = 1;
constexpr WPARAM kOpenStatusWindow = 2;
}  // namespace

// ---- fonts ----

void PageFonts::Create(HWND page) {
  const LookupState& s = State();
  korean = LOGFONTA{};
  korean.lfHeight = -16;
  korean.lfWeight = FW_NORMAL;
  korean.lfCharSet = static_cast<BYTE>(s.charset);
  std::strncpy(korean.lfFaceName, s.koreanFace.c_str(), LF_FACESIZE - 1);
  // The line height: the text height less its internal leading, at least 16.
  {
    fw::Font probe(CreateFontIndirectA(&korean));
    fw::ClientDc dc(page);
    fw::Selection sel(dc.get(), probe.get());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.get(), &tm);
    lineHeight = std::max<int>(16, tm.tmHeight - tm.tmInternalLeading);
  }
  korean.lfHeight = -lineHeight;
  koreanFont.reset(CreateFontIndirectA(&korean));
  LOGFONTA large = korean;
  large.lfHeight = -4 * lineHeight;
  largeFont.reset(CreateFontIndirectA(&large));
  japanese = LOGFONTA{};
  japanese.lfHeight = -lineHeight;
  japanese.lfWeight = FW_NORMAL;
  japanese.lfCharSet = SHIFTJIS_CHARSET;
  std::strncpy(japanese.lfFaceName, kJapaneseFace, LF_FACESIZE - 1);
  japaneseFont.reset(CreateFontIndirectA(&japanese));
  minCell = lineHeight + 2;
  maxCell = lineHeight + 12;
}

// ---- the pages' common part ----

LookupPage::LookupPage(unsigned templateId, bool tracksTarget, unsigned long helpContext, PageButtons buttons)
    : PropertyPage(State().module, templateId),
      brush_(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))),
      tracksTarget_(tracksTarget),
      helpContext_(helpContext),
      buttons_(buttons) {}

bool LookupPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case kLookupCharMessage:
      State().imeWindow = reinterpret_cast<HWND>(wParam);
      result = 0;
      return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      result = reinterpret_cast<LRESULT>(brush_.get());
      return true;
    case WM_ERASEBKGND: {
      RECT r{};
      GetClientRect(hwnd(), &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, brush_.get());
      result = 1;
      return true;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      result = 0;
      if (OnCommand(id, HIWORD(wParam), lParam)) return true;
      if (id == buttons_.confirm || id == IDOK) {
        Confirm();
        return true;
      }
      if (id == buttons_.close || id == IDCANCEL) {
        CloseSheet();
        return true;
      }
      if (id == buttons_.help) {
        OnHelp();
        return true;
      }
      return false;
    }
    case WM_MOUSEACTIVATE:
      if (tracksTarget_) {
        // A click into the sheet from the user's typing: the focus goes back
        // there with the next character.
        HWND focus = GetFocus();
        if (focus && focus != hwnd() && !IsChild(hwnd(), focus)) State().target = focus;
      }
      return false;
    default:
      return PropertyPage::OnMessage(message, wParam, lParam, result);
  }
}

void LookupPage::OnHelp() { ShowHelp(helpContext_); }

void LookupPage::SendCharacter(DbChar c) {
  if (c == 0) {
    MessageBeep(0);
    return;
  }
  LookupState& s = State();
  const HWND target = tracksTarget_ ? s.target : nullptr;
  SendMessageA(s.imeWindow, kLookupCharMessage, CharParam(c), reinterpret_cast<LPARAM>(target));
  s.target = nullptr;
}

void LookupPage::Enable(int id, bool on) {
  HWND button = Item(id);
  HWND focus = GetFocus();
  // A disabled button cannot keep the focus: it goes to the list the user
  // works in, and comes back to the button once the button can take it.
  if (!on && focus == button && lastList_) SetFocus(lastList_);
  EnableWindow(button, on ? TRUE : FALSE);
  if (on && focus && focus == lastList_) SetFocus(button);
}

void LookupPage::CloseSheet() {
  if (State().sheet) State().sheet->OnClose();
}

void LookupPage::DictionaryError(const wchar_t* caption, const wchar_t* text) {
  MessageBoxW(hwnd(), text, caption, MB_OK | MB_ICONERROR);
}

std::string LookupPage::EditText(int id, int max) const {
  std::string text(static_cast<std::size_t>(max) + 1, '\0');
  const LRESULT n = SendMessageA(Item(id), WM_GETTEXT, static_cast<WPARAM>(max + 1), reinterpret_cast<LPARAM>(text.data()));
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return text;
}

// ---- the placeholder ----

CDummy_Page::CDummy_Page() : PropertyPage(State().module, IDD_DUMMY) {}

// ---- the sheet ----

CRabeko_Dlg::CRabeko_Dlg() : PropSheet(State().module, State().module.String(IDS_SHEET_CAPTION)) {
  ++State().liveSheets;
  AddPage(busyu_);
  AddPage(jiso_);
  AddPage(code_);
  // Under dialog units of other proportions a fourth page keeps room; it
  // goes again once the sheet stands.
  if (LOWORD(GetDialogBaseUnits()) != 8) {
    AddPage(dummy_);
    placeholder_ = true;
  }
}

CRabeko_Dlg::~CRabeko_Dlg() { --State().liveSheets; }

HWND CRabeko_Dlg::Create(HWND owner) { return CreateModeless(owner, kSheetStyle); }

void CRabeko_Dlg::OnInitDialog() {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left + 10, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const std::wstring base = fw::WindowText(hwnd());
  const std::u16string caption = SheetCaption(std::u16string(base.begin(), base.end()), State().koreanCode);
  SetWindowTextW(hwnd(), std::wstring(caption.begin(), caption.end()).c_str());
  if (placeholder_) RemovePage(3);
  fw::KeepInWorkArea(hwnd());
}

bool CRabeko_Dlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CLOSE:
      OnClose();
      result = 0;
      return true;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        OnClose();  // Esc
        result = 0;
        return true;
      }
      if (LOWORD(wParam) == IDOK) {
        // Enter where no button took it: the page's confirm.
        if (fw::PropertyPage* page = ActivePage()) SendMessageW(page->hwnd(), WM_COMMAND, wParam, lParam);
        result = 0;
        return true;
      }
      return PropSheet::OnMessage(message, wParam, lParam, result);
    case kLookupCharMessage:
      // The input method tells the sheet where to send; the pages keep it.
      if (fw::PropertyPage* page = ActivePage()) SendMessageW(page->hwnd(), message, wParam, lParam);
      else State().imeWindow = reinterpret_cast<HWND>(wParam);
      result = 0;
      return true;
    default:
      return PropSheet::OnMessage(message, wParam, lParam, result);
  }
}

void CRabeko_Dlg::OnClose() {
  if (closing_ || !hwnd()) return;
  closing_ = true;
  HWND ime = State().imeWindow;
  PostMessageA(ime, kImeNotify, kCloseStatusWindow, 0);
  PostMessageA(ime, kImeNotify, kOpenStatusWindow, 0);
  SendMessageA(ime, kLookupCharMessage, 0, 0);
  DestroyWindow(hwnd());
}

void CRabeko_Dlg::OnFinalMessage() {
  // The one place where a sheet ends: the library forgets it, the object
  // goes once no message of its windows is being handled.
  if (State().sheet == this) State().sheet = nullptr;
  DeleteLater(this);
}

}  // namespace lookup
