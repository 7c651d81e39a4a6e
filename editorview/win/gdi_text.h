// The engine's text seams over GDI: widths from the text-extent calls of a
// device context that holds the view font, and painting with ExtTextOut,
// each character placed at the advance the layout measured for it.
#pragma once
#include <windows.h>

#include "view_seams.h"

namespace editorview {

class GdiMeasurer final : public TextMeasurer {
 public:
  // dc holds the view font for as long as the measurer is used.
  explicit GdiMeasurer(HDC dc = nullptr) : dc_(dc) {}
  void SetDc(HDC dc) { dc_ = dc; }
  int WidthOfUnits(std::u16string_view units) override;
  // Bytes go to the ANSI call, which reads them in the code page of the font's charset.
  int WidthOfBytes(std::string_view bytes) override;

 private:
  HDC dc_;
};

struct ViewColours {
  COLORREF background = RGB(255, 255, 255);
  COLORREF text = RGB(0, 0, 0);
  COLORREF selectionBackground = RGB(0, 0, 128);
  COLORREF selectionText = RGB(255, 255, 255);
};

// One paint on dc, which holds the view font; rows are lineHeight high, and
// rows wholly outside 0..visibleHeight are not drawn (a long line's rows
// below the window cost no text calls).
class GdiCanvas final : public Canvas {
 public:
  GdiCanvas(HDC dc, const ViewColours& colours, int lineHeight, int visibleHeight);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  void Fill(const Rect& area) override;
  void DrawUnits(int x, int y, std::u16string_view units, std::span<const int> advances, bool selected) override;
  void DrawBytes(int x, int y, std::string_view bytes, std::span<const int> advances, bool selected) override;

 private:
  RECT RunRect(int x, int y, std::span<const int> advances) const;
  bool Visible(int y) const { return y < visibleHeight_ && y + lineHeight_ > 0; }
  void Colours(bool selected);

  HDC dc_;
  ViewColours colours_;
  int lineHeight_;
  int visibleHeight_;
  HBRUSH background_;
};

}  // namespace editorview
