#include "kana_pane.h"

namespace kana {

HWND CKanaYomi::Create(fw::FrameWindow& frame, const fw::PaneSite& site) {
  return fw::RichEditView::Create(frame, &site, kStyle);
}

void CKanaYomi::SetFontChoice(int height, std::wstring face) {
  height_ = height;
  face_ = std::move(face);
}

void CKanaYomi::ApplyFontAndText() {
  if (hwnd() == nullptr) return;
  LOGFONTW lf{};
  lf.lfHeight = height_;
  lf.lfWidth = height_;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  lstrcpynW(lf.lfFaceName, face_.c_str(), LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  if (font != nullptr) SetFont(font, true);
  SetTextBytes(932, text_);
  // The control made its character format from the font; it keeps no handle.
  if (font != nullptr) DeleteObject(font);
}

void CKanaYomi::ShowReading(std::string sjis) {
  text_ = std::move(sjis);
  if (text_.empty()) {
    SetTextBytes(932, text_);
  } else {
    ApplyFontAndText();
  }
}

}  // namespace kana
