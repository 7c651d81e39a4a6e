// A picture drawn in memory by the build's bitmap generators: pixels as
// 0xRRGGBB while drawing, handed out as COLORREF values (0x00BBGGRR) for
// the .bmp writer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace raster {

constexpr uint32_t Rgb(int r, int g, int b) { return static_cast<uint32_t>(r << 16 | g << 8 | b); }
// 0x00BBGGRR to 0xRRGGBB; the swap is its own inverse.
constexpr uint32_t FromColorRef(uint32_t c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

struct Box {
  int left, top, right, bottom;  // right and bottom outside
};

struct Canvas {
  int w, h;
  std::vector<uint32_t> px;
  Canvas(int width, int height, uint32_t ground)
      : w(width), h(height), px(static_cast<std::size_t>(width) * height, ground) {}
  void Set(int x, int y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < w && y < h) px[static_cast<std::size_t>(y) * w + x] = c;
  }
  uint32_t Get(int x, int y) const { return px[static_cast<std::size_t>(y) * w + x]; }
  void Fill(const Box& r, uint32_t c) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) Set(x, y, c);
  }
  // Any other rectangle with left, top, right and bottom.
  template <typename Rect>
  void Fill(const Rect& r, uint32_t c) {
    Fill(Box{r.left, r.top, r.right, r.bottom}, c);
  }
  void HLine(int x0, int x1, int y, uint32_t c) {
    for (int x = x0; x < x1; ++x) Set(x, y, c);
  }
  void VLine(int x, int y0, int y1, uint32_t c) {
    for (int y = y0; y < y1; ++y) Set(x, y, c);
  }
  // c over the pixel with alpha of 255.
  void Blend(int x, int y, uint32_t c, int alpha) {
    if (x < 0 || y < 0 || x >= w || y >= h || alpha <= 0) return;
    const uint32_t b = Get(x, y);
    auto mix = [alpha](uint32_t fg, uint32_t bg) { return (fg * alpha + bg * (255 - alpha) + 127) / 255; };
    Set(x, y, mix(c >> 16 & 0xFF, b >> 16 & 0xFF) << 16 | mix(c >> 8 & 0xFF, b >> 8 & 0xFF) << 8 | mix(c & 0xFF, b & 0xFF));
  }
  std::vector<uint32_t> ColorRefs() const {
    std::vector<uint32_t> out;
    out.reserve(px.size());
    for (uint32_t c : px) out.push_back(FromColorRef(c));
    return out;
  }
};

}  // namespace raster
