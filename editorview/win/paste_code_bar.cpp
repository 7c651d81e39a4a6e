#include "paste_code_bar.h"

#include "gdi.h"

namespace editorview {

namespace {

// Average character width and height of the stock font of control bars.
SIZE StockFontAverage() {
  fw::ClientDc screen(nullptr);
  fw::Selection font(screen.get(), GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW tm{};
  GetTextMetricsW(screen.get(), &tm);
  return {tm.tmAveCharWidth, tm.tmHeight};
}

}  // namespace

CPasteCodeBar::CPasteCodeBar(const fw::Module& module, int& setting, CodeBoxParams params)
    : fw::ToolBar(module), setting_(setting), params_(std::move(params)), averageChar_(StockFontAverage()) {}

void CPasteCodeBar::PositionCombo() {
  if (!combo_) return;
  RECT r{};
  GetWindowRect(combo_, &r);
  SetSeparatorSlot(params_.slot, params_.boxId, r.right - r.left, combo_);
}

void CPasteCodeBar::FillCombo() {
  if (!combo_) return;
  SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
  for (unsigned id : params_.items) {
    const std::wstring text = module().String(id);
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  // A value that names no item (a hand-edited profile) would leave the box
  // blank while the setting asks for a code that does not exist: it returns
  // to the first item, automatic.
  const int count = static_cast<int>(params_.items.size());
  if (setting_ < 0 || setting_ >= count) setting_ = 0;
  SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(setting_), 0);
}

bool CPasteCodeBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      fw::ToolBar::OnMessage(message, wParam, lParam, result);
      if (result == -1) return true;
      combo_ = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                               0, 30 * averageChar_.cx, 200, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(params_.boxId)), module().handle(), nullptr);
      if (!combo_) {
        result = -1;
        return true;
      }
      SendMessageW(combo_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
      result = 0;
      return true;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == combo_ && combo_) {
        if (HIWORD(wParam) == CBN_SELCHANGE) {
          const LRESULT chosen = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
          if (chosen != CB_ERR) setting_ = static_cast<int>(chosen);
        }
        result = 0;
        return true;
      }
      return fw::ToolBar::OnMessage(message, wParam, lParam, result);
    default:
      return fw::ToolBar::OnMessage(message, wParam, lParam, result);
  }
}

}  // namespace editorview
