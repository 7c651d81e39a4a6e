// The code page CCodeDlg (dialog 22002 "コード入力"): the 94 rows and the
// 94 cells of the chosen row in grids of 20 x 5, the code entry (a row-cell
// number, a user-defined code, or a typed character), and the large view.
#include <windows.h>

#include <cstdio>

#include "code_entry.h"
#include "lookup_config.h"
#include "lookup_ids.h"
#include "lookup_pages.h"
#include "lookup_state.h"

namespace lookup {

namespace {
constexpr unsigned long kHelpContext = 3;
constexpr int kGridColumns = 20;
constexpr int kGridRows = 5;
// Ctrl+C, Tab, Enter, Ctrl+V and Ctrl+X as characters: the entry swallows them.
bool Swallowed(WPARAM c) { return c == 3 || c == 9 || c == 13 || c == 22 || c == 24; }

// A dotted frame drawn pixel by pixel around the focused cell.
void DottedFrame(HDC dc, const RECT& r) {
  const COLORREF black = RGB(0, 0, 0);
  for (int x = r.left; x < r.right; x += 2) {
    SetPixel(dc, x, r.top, black);
    SetPixel(dc, x, r.bottom - 1, black);
  }
  for (int y = r.top; y < r.bottom; y += 2) {
    SetPixel(dc, r.left, y, black);
    SetPixel(dc, r.right - 1, y, black);
  }
}
}  // namespace

CCodeDlg::CCodeDlg() : LookupPage(IDD_CODE, false, kHelpContext, {IDC_CODE_OK, IDC_CODE_CLOSE, IDC_CODE_HELP}) {}

bool CCodeDlg::Entry::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_GETDLGCODE: {
      // Enter and Tab are the entry's own keys, not the dialog's.
      result = CallDefault(message, wParam, lParam);
      const auto* m = reinterpret_cast<const MSG*>(lParam);
      if (m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) && (m->wParam == VK_RETURN || m->wParam == VK_TAB))
        result |= DLGC_WANTMESSAGE;
      return true;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_TAB) {
        PostMessageW(page, WM_COMMAND, IDOK, static_cast<LPARAM>(wParam));
        if (wParam == VK_TAB) {
          // The field shows the code, and the focus moves on as Tab moves it.
          const bool back = GetKeyState(VK_SHIFT) < 0;
          PostMessageW(GetAncestor(hwnd(), GA_ROOT), WM_NEXTDLGCTL, back ? 1 : 0, 0);
        }
        result = 0;
        return true;
      }
      return false;  // the control's own keys, Ctrl+C/V/X/Z included
    case WM_CHAR:
      if (Swallowed(wParam)) {
        result = 0;
        return true;
      }
      return false;
    default:
      return false;
  }
}

bool CCodeDlg::OnInitDialog() {
  fonts_.Create(hwnd());
  HWND ok = Item(IDC_CODE_OK);
  rows_.Attach(Item(IDC_CODE_ROWS), ok, &lastList_, [this](HDC dc, const RECT& r, const Cell& c, int, UINT state) {
    fw::Selection sel(dc, fonts_.japaneseFont.get());
    if (c.kind == CellKind::kBlank) {
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      return;
    }
    DrawButtonFace(dc, r, c.code, (state & ODS_SELECTED) != 0, nullptr, TextMode::kUnicode);
  });
  cells_.Attach(Item(IDC_CODE_CELLS), ok, &lastList_, [this](HDC dc, const RECT& r, const Cell& c, int, UINT state) {
    const bool selected = (state & ODS_SELECTED) != 0;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    if (c.kind == CellKind::kItem) {
      fw::Selection sel(dc, fonts_.koreanFont.get());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
      DrawCentred(dc, r, DrawnText(CodeBytes(c.code), TextMode::kInputCode));
    }
    if (state & ODS_FOCUS) {
      RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
      DottedFrame(dc, inner);
    }
  }, CaptureRule::kAnyChange);
  rows_.Layout(kGridColumns, kGridRows, fonts_.minCell, fonts_.maxCell);
  cells_.Layout(kGridColumns, kGridRows, fonts_.minCell, fonts_.maxCell);
  view_.Attach(Item(IDC_CODE_VIEW), fonts_.largeFont.get(), fonts_.koreanFont.get(), fonts_.japaneseFont.get(), nullptr);

  // The entry: the Korean face at 12 points, so that a typed character
  // arrives in the input method's code.
  entryLogFont_ = fonts_.korean;
  {
    fw::ClientDc dc(hwnd());
    entryLogFont_.lfHeight = -MulDiv(12, GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
  }
  entryFont_.reset(CreateFontIndirectA(&entryLogFont_));
  HWND entry = Item(IDC_CODE_ENTRY);
  SendMessageA(entry, WM_SETFONT, reinterpret_cast<WPARAM>(entryFont_.get()), reinterpret_cast<LPARAM>(&entryLogFont_));
  SendMessageA(entry, EM_LIMITTEXT, 5, 0);
  entry_.page = hwnd();
  entry_.Subclass(entry);

  rows_.SetCells(RowGrid());
  Enable(IDC_CODE_OK, false);
  return true;
}

void CCodeDlg::FillCells(int row) {
  row_ = row;
  cells_.SetCells(CellGrid(row + 1));
}

void CCodeDlg::ChooseRow(bool byUser) {
  const int sel = rows_.Selection();
  if (sel < 0) return;
  const int number = GridNumber(sel);
  if (number == row_ || number > 93) return;
  FillCells(number);
  view_.Clear();
  if (byUser) {
    cells_.Select(GridItem(1));
    ChooseCell();
  }
}

void CCodeDlg::ChooseCell() {
  const int sel = cells_.Selection();
  if (sel < 0 || row_ < 0) return;
  char text[8];
  std::snprintf(text, sizeof text, "%02d%02d", row_ + 1, GridNumber(sel));
  SendMessageA(Item(IDC_CODE_ENTRY), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  const DbChar c = SelectedCell();
  view_.Show(c, GetCharReading(c, State().readings));
  Enable(IDC_CODE_OK, true);
}

DbChar CCodeDlg::SelectedCell() const {
  const int sel = cells_.Selection();
  // Every cell of the row is sent, the ideographic space of row 1 too.
  return row_ >= 0 && GridSendable(sel) ? cells_.cells()[static_cast<std::size_t>(sel)].code : 0;
}

void CCodeDlg::Confirm() { SendCharacter(SelectedCell()); }

void CCodeDlg::OnEntry(LPARAM key) {
  const std::string text = EditText(IDC_CODE_ENTRY, 10);
  const CodeEntry entry = ParseCodeEntry(text, State().koreanCode, &State().tables);
  if (entry.result == kEntryInvalid) {
    MessageBoxW(hwnd(), L"コードが不正です", L"コード入力", MB_OK | MB_ICONERROR);
    return;
  }
  const DbChar c = EntryCharacter(entry);
  const int row = entry.value / 100;
  if ((entry.result == kEntryRowCell || entry.result == kEntryTyped) && row < 95) {
    // Shown in place: the row in the row grid, the cell in the cell grid.
    rows_.Select(GridItem(row - 1));
    if (row - 1 != row_) FillCells(row - 1);
    cells_.Select(GridItem(entry.value % 100));
    view_.Show(c, GetCharReading(c, State().readings));
    Enable(IDC_CODE_OK, true);
  } else {
    view_.Show(c, GetCharReading(c, State().readings));
  }
  // A row-cell number or a code is sent on Enter; Tab only shows it, and a
  // typed character is never sent.
  if (key == VK_RETURN && (entry.result == kEntryRowCell || entry.result == kEntryUserCode)) SendCharacter(c);
}

bool CCodeDlg::OnCommand(int id, int code, LPARAM lParam) {
  switch (id) {
    case IDC_CODE_ROWS:
      if (code == LBN_SELCHANGE) ChooseRow(true);
      return true;
    case IDC_CODE_CELLS:
      if (code == LBN_SELCHANGE) ChooseCell();
      if (code == LBN_DBLCLK) Confirm();
      return true;
    case IDOK:
      // From the entry (Enter or Tab), or Enter where no button took it,
      // which counts only while the entry has the focus.
      if (lParam == VK_TAB || GetFocus() == Item(IDC_CODE_ENTRY)) OnEntry(lParam);
      return true;
    default:
      return false;
  }
}

}  // namespace lookup
