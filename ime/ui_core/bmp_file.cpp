#include "bmp_file.h"

#include <cstddef>

namespace ime {

namespace {

struct Writer {
  std::vector<uint8_t> b;
  void u16(uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
  }
  void u32(uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
  // File and info headers of a bottom-up bitmap.
  void Headers(int width, int height, int bits, uint32_t colours, uint32_t pixelBytes) {
    const uint32_t offset = 14 + 40 + 4 * colours;
    u16(0x4D42);
    u32(offset + pixelBytes);
    u32(0);
    u32(offset);
    u32(40);
    u32(static_cast<uint32_t>(width));
    u32(static_cast<uint32_t>(height));
    u16(1);
    u16(static_cast<uint32_t>(bits));
    u32(0);
    u32(pixelBytes);
    u32(2835);
    u32(2835);
    u32(colours);
    u32(0);
  }
};

}  // namespace

std::vector<uint8_t> Bmp24(int width, int height, const std::vector<uint32_t>& pixels) {
  const int stride = (width * 3 + 3) & ~3;
  Writer w;
  w.Headers(width, height, 24, 0, static_cast<uint32_t>(stride * height));
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t c = pixels[static_cast<size_t>(y) * width + x];
      w.b.push_back(static_cast<uint8_t>(c >> 16));  // blue
      w.b.push_back(static_cast<uint8_t>(c >> 8));
      w.b.push_back(static_cast<uint8_t>(c));
    }
    for (int pad = width * 3; pad < stride; ++pad) w.b.push_back(0);
  }
  return w.b;
}

std::vector<uint8_t> Bmp8(int width, int height, const std::vector<uint32_t>& palette,
                          const std::vector<uint8_t>& indexes) {
  const int stride = (width + 3) & ~3;
  Writer w;
  w.Headers(width, height, 8, static_cast<uint32_t>(palette.size()), static_cast<uint32_t>(stride * height));
  for (uint32_t c : palette) {
    w.b.push_back(static_cast<uint8_t>(c >> 16));
    w.b.push_back(static_cast<uint8_t>(c >> 8));
    w.b.push_back(static_cast<uint8_t>(c));
    w.b.push_back(0);
  }
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) w.b.push_back(indexes[static_cast<size_t>(y) * width + x]);
    for (int pad = width; pad < stride; ++pad) w.b.push_back(0);
  }
  return w.b;
}

}  // namespace ime
