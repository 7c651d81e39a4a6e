// Draws the font setup's icon, a 32 x 32 .ico: a page with a large "字" cell
// outlined, in 32-bit colour with its mask.
//
//   belvo_icon <output .ico>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "canvas.h"

namespace {

constexpr int kSide = 32;

void Put16(std::vector<uint8_t>& b, int v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output .ico>\n", argv[0]);
    return 2;
  }
  constexpr uint32_t kClear = 0xFF000000;  // not drawn: transparent
  raster::Canvas c(kSide, kSide, kClear);
  c.Fill(raster::Box{5, 2, 27, 30}, raster::Rgb(0, 0, 0));
  c.Fill(raster::Box{6, 3, 26, 29}, raster::Rgb(255, 255, 255));
  // A grid cell with a character-like stroke pattern.
  c.Fill(raster::Box{9, 7, 23, 8}, raster::Rgb(0, 0, 160));
  c.Fill(raster::Box{9, 7, 10, 24}, raster::Rgb(0, 0, 160));
  c.Fill(raster::Box{22, 7, 23, 24}, raster::Rgb(0, 0, 160));
  c.Fill(raster::Box{9, 23, 23, 24}, raster::Rgb(0, 0, 160));
  c.Fill(raster::Box{12, 11, 20, 13}, raster::Rgb(200, 0, 0));
  c.Fill(raster::Box{15, 11, 17, 21}, raster::Rgb(200, 0, 0));
  c.Fill(raster::Box{12, 16, 20, 18}, raster::Rgb(200, 0, 0));

  const int maskRow = 4;  // 32 bits, already a multiple of 4 bytes
  const uint32_t imageBytes = 40 + kSide * kSide * 4 + maskRow * kSide;
  std::vector<uint8_t> b;
  Put16(b, 0);
  Put16(b, 1);  // an icon
  Put16(b, 1);  // one image
  b.push_back(kSide);
  b.push_back(kSide);
  b.push_back(0);  // no palette
  b.push_back(0);
  Put16(b, 1);   // planes
  Put16(b, 32);  // bits
  Put32(b, imageBytes);
  Put32(b, 22);  // where the image starts
  // BITMAPINFOHEADER: the height counts the colour rows and the mask rows.
  Put32(b, 40);
  Put32(b, kSide);
  Put32(b, 2 * kSide);
  Put16(b, 1);
  Put16(b, 32);
  Put32(b, 0);
  Put32(b, kSide * kSide * 4 + maskRow * kSide);
  for (int i = 0; i < 4; ++i) Put32(b, 0);
  for (int y = kSide - 1; y >= 0; --y) {
    for (int x = 0; x < kSide; ++x) {
      const uint32_t p = c.Get(x, y);
      const bool clear = p == kClear;
      b.push_back(static_cast<uint8_t>(p));        // blue
      b.push_back(static_cast<uint8_t>(p >> 8));   // green
      b.push_back(static_cast<uint8_t>(p >> 16));  // red
      b.push_back(clear ? 0 : 255);                // alpha
    }
  }
  for (int y = kSide - 1; y >= 0; --y) {
    uint32_t bits = 0;
    for (int x = 0; x < kSide; ++x)
      if (c.Get(x, y) == kClear) bits |= 1u << (31 - x);
    for (int i = 3; i >= 0; --i) b.push_back(static_cast<uint8_t>(bits >> (8 * i)));
  }
  FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  return std::fclose(f) == 0 && ok ? 0 : 1;
}
