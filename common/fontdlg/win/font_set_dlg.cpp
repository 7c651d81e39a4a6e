#include "font_set_dlg.h"

#include <algorithm>
#include <cwchar>

namespace fontdlg {

namespace {

const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

std::wstring ListText(HWND list, int index) {
  const LRESULT n = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR || n < 0) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(n));
  return text;
}

}  // namespace

LOGFONTW KoreanPaneFont(int height, const std::wstring& face) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = HANGEUL_CHARSET;
  lf.lfPitchAndFamily = FIXED_PITCH;
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return lf;
}

COLORREF ColorOfIndex(int index) {
  return index >= 0 && index < kColorCount ? ColorAt(index).colorref : GetSysColor(COLOR_WINDOWTEXT);
}

CFontSetDlg::CFontSetDlg(const fw::Module& module, const FontDialogVariant& variant, FontSide japanese,
                         FontSide korean, bool fixedPitchOnly)
    : Dialog(module, variant.ids.templateId),
      variant_(variant),
      japanese_(std::move(japanese)),
      korean_(std::move(korean)),
      fixedPitchOnly_(fixedPitchOnly) {}

CFontSetDlg::~CFontSetDlg() {
  if (japaneseSampleFont_ != nullptr) DeleteObject(japaneseSampleFont_);
  if (koreanSampleFont_ != nullptr) DeleteObject(koreanSampleFont_);
}

int CFontSetDlg::Dpi() const {
  HDC dc = GetDC(hwnd());
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(hwnd(), dc);
  return dpi > 0 ? dpi : 96;
}

int CALLBACK CFontSetDlg::EnumFontFamProc(const LOGFONTW* lf, const TEXTMETRICW* tm, DWORD fontType, LPARAM self) {
  reinterpret_cast<CFontSetDlg*>(self)->AddFace(*lf, fontType, *tm);
  return 1;  // always on
}

void CFontSetDlg::AddFace(const LOGFONTW& lf, DWORD fontType, const TEXTMETRICW& tm) {
  const std::u16string_view face(reinterpret_cast<const char16_t*>(lf.lfFaceName));
  // TMPF_FIXED_PITCH set means a variable-pitch font.
  const bool fixed = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
  const FaceSide side =
      ClassifyFace({face, lf.lfCharSet, (fontType & TRUETYPE_FONTTYPE) != 0, fixed}, variant_.rules, fixedPitchOnly_);
  if (side == FaceSide::kNone) return;
  const bool korean = side == FaceSide::kKorean;
  HWND list = GetDlgItem(hwnd(), korean ? variant_.ids.koreanList : variant_.ids.japaneseList);
  if (SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(lf.lfFaceName)) !=
      LB_ERR) {
    return;
  }
  const LRESULT at = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lf.lfFaceName));
  if (at < 0) return;
  std::vector<BYTE>& pitch = korean ? koreanPitch_ : japanesePitch_;
  // The list is sorted: the byte goes where the entry went.
  pitch.insert(pitch.begin() + std::min<size_t>(static_cast<size_t>(at), pitch.size()), lf.lfPitchAndFamily);
}

void CFontSetDlg::FillFontLists() {
  HDC dc = GetDC(hwnd());
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(dc, &lf, reinterpret_cast<FONTENUMPROCW>(&CFontSetDlg::EnumFontFamProc),
                      reinterpret_cast<LPARAM>(this), 0);
  ReleaseDC(hwnd(), dc);
  for (bool korean : {false, true}) {
    HWND list = GetDlgItem(hwnd(), korean ? variant_.ids.koreanList : variant_.ids.japaneseList);
    const FontSide& side = korean ? korean_ : japanese_;
    if (!side.face.empty()) {
      const LRESULT i = SendMessageW(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(side.face.c_str()));
      if (i != LB_ERR) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
    }
  }
  HWND sizes = GetDlgItem(hwnd(), variant_.ids.sizeList);
  const int points = PointsForHeight(japanese_.height, Dpi());
  for (int s : kSizes) {
    const std::wstring text = std::to_wstring(s);
    const LRESULT i = SendMessageW(sizes, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (s == points) SendMessageW(sizes, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
  }
}

bool CFontSetDlg::OnInitDialog() {
  const bool result = Dialog::OnInitDialog();
  for (int id : {variant_.ids.japaneseColor, variant_.ids.koreanColor}) {
    if (id == 0) continue;
    HWND combo = GetDlgItem(hwnd(), id);
    if (combo == nullptr) continue;
    if (!variant_.colours) {
      ShowWindow(combo, SW_HIDE);
      EnableWindow(combo, FALSE);
      continue;
    }
    for (int i = 0; i < kColorCount; ++i) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(ColorAt(i).name)));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(AutoColorName())));
    // Selection field and items: the dialog font's text height + 2.
    HDC dc = GetDC(combo);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(combo, dc);
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), tm.tmHeight + 2);
    SendMessageW(combo, CB_SETITEMHEIGHT, 0, tm.tmHeight + 2);
    const int index = id == variant_.ids.japaneseColor ? japanese_.color : korean_.color;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(std::clamp(index, 0, kAutoColor)), 0);
  }
  FillFontLists();
  return result;
}

void CFontSetDlg::FaceChanged(bool korean) {
  HWND list = GetDlgItem(hwnd(), korean ? variant_.ids.koreanList : variant_.ids.japaneseList);
  const LRESULT i = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (i == LB_ERR) return;
  FontSide& side = korean ? korean_ : japanese_;
  const std::vector<BYTE>& pitch = korean ? koreanPitch_ : japanesePitch_;
  side.face = ListText(list, static_cast<int>(i));
  if (static_cast<size_t>(i) < pitch.size()) side.pitchAndFamily = pitch[static_cast<size_t>(i)];
  side.charset = korean ? HANGEUL_CHARSET : SHIFTJIS_CHARSET;
  InvalidateRect(GetDlgItem(hwnd(), korean ? variant_.ids.koreanSample : variant_.ids.japaneseSample), nullptr, TRUE);
}

void CFontSetDlg::SizeChanged() {
  HWND sizes = GetDlgItem(hwnd(), variant_.ids.sizeList);
  const LRESULT i = SendMessageW(sizes, LB_GETCURSEL, 0, 0);
  if (i == LB_ERR) return;
  const int points = _wtoi(ListText(sizes, static_cast<int>(i)).c_str());
  japanese_.height = korean_.height = HeightForPoints(points, Dpi());
  InvalidateRect(GetDlgItem(hwnd(), variant_.ids.japaneseSample), nullptr, TRUE);
  InvalidateRect(GetDlgItem(hwnd(), variant_.ids.koreanSample), nullptr, TRUE);
}

void CFontSetDlg::DrawSample(const DRAWITEMSTRUCT& di, const FontSide& side, HFONT& font) {
  LOGFONTW lf{};
  lf.lfHeight = side.height;
  lf.lfCharSet = side.charset;
  wcsncpy(lf.lfFaceName, side.face.c_str(), LF_FACESIZE - 1);
  HFONT made = CreateFontIndirectW(&lf);
  if (made != nullptr) {
    if (font != nullptr) DeleteObject(font);
    font = made;
  }
  FillRect(di.hDC, &di.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  wchar_t text[100]{};
  GetWindowTextW(di.hwndItem, text, 100);
  const int saved = SaveDC(di.hDC);
  if (font != nullptr) SelectObject(di.hDC, font);
  SetBkMode(di.hDC, TRANSPARENT);
  SetTextColor(di.hDC, variant_.colours ? ColorOfIndex(side.color) : GetSysColor(COLOR_WINDOWTEXT));
  RECT r = di.rcItem;
  DrawTextW(di.hDC, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RestoreDC(di.hDC, saved);
}

void CFontSetDlg::DrawColorItem(const DRAWITEMSTRUCT& di) {
  if (di.itemID == static_cast<UINT>(-1)) return;
  wchar_t text[32]{};
  SendMessageW(di.hwndItem, CB_GETLBTEXT, di.itemID, reinterpret_cast<LPARAM>(text));
  const bool selected = (di.itemState & ODS_SELECTED) != 0;
  const int saved = SaveDC(di.hDC);
  FillRect(di.hDC, &di.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if ((di.itemState & ODS_FOCUS) != 0) DrawFocusRect(di.hDC, &di.rcItem);
  SetBkMode(di.hDC, TRANSPARENT);
  SetTextColor(di.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  TextOutW(di.hDC, di.rcItem.left + 40, di.rcItem.top + 1, text, static_cast<int>(wcslen(text)));
  HBRUSH swatch = CreateSolidBrush(ColorOfIndex(static_cast<int>(di.itemID)));
  HGDIOBJ oldBrush = SelectObject(di.hDC, swatch);
  Rectangle(di.hDC, di.rcItem.left + 5, di.rcItem.top + 2, di.rcItem.left + 35, di.rcItem.bottom - 1);
  SelectObject(di.hDC, oldBrush);
  DeleteObject(swatch);
  RestoreDC(di.hDC, saved);
}

void CFontSetDlg::OnOK() {
  EndDialog(IDOK);
}

bool CFontSetDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const FontDialogIds& ids = variant_.ids;
  if (message == WM_COMMAND) {
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    if (code == LBN_SELCHANGE && id == ids.japaneseList) FaceChanged(false);
    if (code == LBN_SELCHANGE && id == ids.koreanList) FaceChanged(true);
    if (code == LBN_SELCHANGE && id == ids.sizeList) SizeChanged();
    if (code == CBN_SELENDOK && id != 0 && (id == ids.japaneseColor || id == ids.koreanColor)) {
      const LRESULT i = SendMessageW(reinterpret_cast<HWND>(lParam), CB_GETCURSEL, 0, 0);
      FontSide& side = id == ids.japaneseColor ? japanese_ : korean_;
      if (i != CB_ERR) side.color = static_cast<int>(i);
      InvalidateRect(GetDlgItem(hwnd(), id == ids.japaneseColor ? ids.japaneseSample : ids.koreanSample), nullptr,
                     TRUE);
    }
  } else if (message == WM_MEASUREITEM) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (mi->CtlType == ODT_COMBOBOX) {
      mi->itemHeight = 16;
      result = TRUE;
      return true;
    }
  } else if (message == WM_DRAWITEM) {
    const auto& di = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (static_cast<int>(di.CtlID) == ids.japaneseSample) DrawSample(di, japanese_, japaneseSampleFont_);
    else if (static_cast<int>(di.CtlID) == ids.koreanSample) DrawSample(di, korean_, koreanSampleFont_);
    else if (di.CtlType == ODT_COMBOBOX) DrawColorItem(di);
    else return Dialog::OnMessage(message, wParam, lParam, result);
    result = TRUE;
    return true;
  }
  return Dialog::OnMessage(message, wParam, lParam, result);
}

}  // namespace fontdlg
