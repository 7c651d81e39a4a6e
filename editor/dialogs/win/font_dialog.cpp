#include "font_dialog.h"

#include "app.h"
#include "dialogs_resources.h"
#include "display_faces.h"
#include "help.h"
#include "view_choices.h"

namespace brisel {

namespace {

constexpr COLORREF kSampleBackground = RGB(192, 192, 192);
constexpr int kChosenWeight = 400;
constexpr wchar_t kNoKoreanFont[] =
    L"韓国語のﾌｫﾝﾄが見つかりません。\nﾌｫﾝﾄは変更されません。";

LRESULT ListSelection(HWND list) { return SendMessageW(list, LB_GETCURSEL, 0, 0); }

}  // namespace

CFontSetDlg::CFontSetDlg(const fw::Module& module, const codeconv::GmCodeConverter& gm, LOGFONTW& font, int& fontType,
                         std::string helpFile, FaceSource faces)
    : fw::Dialog(module, IDD_FONT_SET),
      gm_(gm),
      font_(font),
      fontType_(fontType),
      helpFile_(std::move(helpFile)),
      source_(std::move(faces)) {}

void CFontSetDlg::CentreOverMainWindow() {
  HWND main = fw::App::Current() ? fw::App::Current()->MainWindow() : nullptr;
  if (!main) main = GetWindow(hwnd(), GW_OWNER);
  if (!main) return;
  RECT over{}, self{};
  GetWindowRect(main, &over);
  GetWindowRect(hwnd(), &self);
  const int w = self.right - self.left;
  const int h = self.bottom - self.top;
  SetWindowPos(hwnd(), nullptr, over.left + (over.right - over.left - w) / 2, over.top + (over.bottom - over.top - h) / 2,
               0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  fw::KeepInWorkArea(hwnd());
}

bool CFontSetDlg::OnInitDialog() {
  CentreOverMainWindow();
  logPixelsY_ = DisplayLogPixelsY();
  faces_ = FacesFrom(source_);
  HWND list = GetDlgItem(hwnd(), IDC_FONT_LIST);
  for (size_t i = 0; i < faces_.Faces().size(); ++i) {
    const LRESULT at =
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(faces_.Faces()[i].name).c_str()));
    if (at >= 0) SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(i));
  }
  if (faces_.empty()) {
    // Nothing to choose from: the font in use stays.
    MessageBoxW(hwnd(), kNoKoreanFont, fw::WindowText(hwnd()).c_str(), MB_OK | MB_ICONINFORMATION);
    return true;
  }
  // The current face (its charset first, then by name alone).
  const std::u16string current = U16(font_.lfFaceName);
  int found = -1;
  for (size_t i = 0; i < faces_.Faces().size() && found < 0; ++i) {
    const FaceEntry& f = faces_.Faces()[i];
    if (f.charset == font_.lfCharSet && SameFaceName(f.name, current)) found = static_cast<int>(i);
  }
  for (size_t i = 0; i < faces_.Faces().size() && found < 0; ++i) {
    if (SameFaceName(faces_.Faces()[i].name, current)) found = static_cast<int>(i);
  }
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int at = 0; at < count; ++at) {
    if (static_cast<int>(SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(at), 0)) == found) {
      SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
    }
  }
  face_ = found;
  points_ = PointsOfHeight(font_.lfHeight, logPixelsY_);
  height_ = font_.lfHeight;
  if (face_ >= 0) FaceChosen(true);
  return true;
}

const FaceEntry* CFontSetDlg::ChosenFace() const {
  return face_ >= 0 && face_ < static_cast<int>(faces_.Faces().size()) ? &faces_.Faces()[static_cast<size_t>(face_)]
                                                                        : nullptr;
}

void CFontSetDlg::FaceChosen(bool keepHeight) {
  const FaceEntry* face = ChosenFace();
  if (!face) return;
  sizes_ = PointSizesOf(*face, logPixelsY_);
  HWND list = GetDlgItem(hwnd(), IDC_SIZE_LIST);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (int p : sizes_) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(SizeText(p)).c_str()));
  int at = FindSize(sizes_, points_);
  if (at < 0) {
    at = 0;
    keepHeight = false;
  }
  if (!sizes_.empty()) {
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
    points_ = sizes_[static_cast<size_t>(at)];
  }
  if (!keepHeight) height_ = HeightOfPoints(points_, logPixelsY_);
  const std::u16string label =
      std::u16string(kCodeLabelPrefix) + U16(module().String(editorview::CodeStatusStringId(face->charset)));
  SetDlgItemTextW(hwnd(), IDC_CODE_LABEL, Wide(label).c_str());
  InvalidateRect(GetDlgItem(hwnd(), IDC_SAMPLE), nullptr, TRUE);
}

void CFontSetDlg::SizeChosen() {
  const LRESULT at = ListSelection(GetDlgItem(hwnd(), IDC_SIZE_LIST));
  if (at < 0 || at >= static_cast<LRESULT>(sizes_.size())) return;
  points_ = sizes_[static_cast<size_t>(at)];
  height_ = HeightOfPoints(points_, logPixelsY_);
  InvalidateRect(GetDlgItem(hwnd(), IDC_SAMPLE), nullptr, TRUE);
}

void CFontSetDlg::DrawSample(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  fw::Brush grey(CreateSolidBrush(kSampleBackground));
  FillRect(dc, &r, grey.get());
  const FaceEntry* face = ChosenFace();
  if (!face) return;
  LOGFONTW lf{};
  lf.lfHeight = height_;
  lf.lfWeight = kChosenWeight;
  lf.lfCharSet = static_cast<BYTE>(face->charset);
  lf.lfPitchAndFamily = static_cast<BYTE>(face->pitchAndFamily);
  lstrcpynW(lf.lfFaceName, Wide(face->name).c_str(), LF_FACESIZE);
  fw::Font font(CreateFontIndirectW(&lf));
  if (!font) return;
  fw::Selection selected(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  const std::string bytes = SampleTextBytes(face->code, gm_);
  constexpr UINT kFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  if (face->code == FaceCode::kGm) {
    // GM bytes through the Japanese code page of the GM font.
    DrawTextA(dc, bytes.c_str(), static_cast<int>(bytes.size()), &r, kFormat);
  } else {
    const std::wstring text = fw::FromCodePage(949, bytes);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, kFormat);
  }
}

void CFontSetDlg::OnOK() {
  const FaceEntry* face = ChosenFace();
  if (!face) {
    EndDialog(IDCANCEL);
    return;
  }
  font_.lfHeight = height_;
  font_.lfWeight = kChosenWeight;
  font_.lfCharSet = static_cast<BYTE>(face->charset);
  font_.lfPitchAndFamily = static_cast<BYTE>(face->pitchAndFamily);
  lstrcpynW(font_.lfFaceName, Wide(face->name).c_str(), LF_FACESIZE);
  fontType_ = face->fontType;
  EndDialog(IDOK);
}

bool CFontSetDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_FONT_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
        HWND list = GetDlgItem(hwnd(), IDC_FONT_LIST);
        const LRESULT at = ListSelection(list);
        if (at >= 0) {
          face_ = static_cast<int>(SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(at), 0));
          FaceChosen(false);
        }
        result = 0;
        return true;
      }
      if (LOWORD(wParam) == IDC_SIZE_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
        SizeChosen();
        result = 0;
        return true;
      }
      if (LOWORD(wParam) == IDC_FONT_HELP && HIWORD(wParam) == BN_CLICKED) {
        fw::CurrentHelpViewer().ShowContext(hwnd(), helpFile_, HELP_FONT_SET);
        result = 0;
        return true;
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item && item->CtlID == IDC_SAMPLE) {
        DrawSample(*item);
        result = TRUE;
        return true;
      }
      break;
    }
    default: break;
  }
  return fw::Dialog::OnMessage(message, wParam, lParam, result);
}

}  // namespace brisel
