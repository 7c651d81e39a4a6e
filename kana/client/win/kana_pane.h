// CKanaYomi: the read-only rich-edit pane that shows a katakana reading
// (Shift-JIS text) in a font of its own face and height, the same in the text
// player and the listening program. The control keeps the character format
// it took from the font, so the font object is let go once it is applied.
#pragma once
#include <windows.h>

#include <string>

#include "control_views.h"

namespace kana {

class CKanaYomi : public fw::RichEditView {
 public:
  explicit CKanaYomi(fw::Document& document) : fw::RichEditView(document, true) {}

  // The framework's rich-edit style with a vertical scroll bar, read-only.
  static constexpr DWORD kStyle = fw::RichEditView::kDefaultStyle | WS_VSCROLL | ES_READONLY | ES_AUTOVSCROLL;
  HWND Create(fw::FrameWindow& frame, const fw::PaneSite& site);

  // The face and height (logical units) that ApplyFontAndText uses.
  void SetFontChoice(int height, std::wstring face);
  int FontHeight() const { return height_; }
  const std::wstring& Face() const { return face_; }

  // The text the pane shows (Shift-JIS).
  void SetReading(std::string sjis) { text_ = std::move(sjis); }
  const std::string& Reading() const { return text_; }

  // A font of the pane's height, as wide as it is high, weight 400,
  // Shift-JIS, fixed pitch of the modern family, the pane's face, given to
  // the control; then the text set again, so that it takes the font.
  void ApplyFontAndText();
  // The reading shown, in the pane's font when there is one to show.
  void ShowReading(std::string sjis);

 private:
  int height_ = -21;
  std::wstring face_;
  std::string text_;
};

}  // namespace kana
