#include "bmp_file.h"

#include <cstddef>

namespace raster {

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
  void Headers(int width, int height, int bits, uint32_t colours, uint32_t pixelBytes, uint32_t compression = 0) {
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
    u32(compression);
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

namespace {

constexpr uint32_t kBiRle8 = 1;

// BI_RLE8 rows, bottom-up: runs of one index as (count, index); a stretch of
// differing indexes in absolute mode (0, count, indexes, padded to a word).
std::vector<uint8_t> Rle8(int width, int height, const std::vector<uint8_t>& indexes) {
  std::vector<uint8_t> out;
  for (int y = height - 1; y >= 0; --y) {
    const uint8_t* row = &indexes[static_cast<size_t>(y) * width];
    int x = 0;
    while (x < width) {
      int run = 1;
      while (x + run < width && run < 255 && row[x + run] == row[x]) ++run;
      if (run >= 3) {
        out.push_back(static_cast<uint8_t>(run));
        out.push_back(row[x]);
        x += run;
        continue;
      }
      // Differing pixels up to the next run of three.
      int n = 0;
      while (x + n < width && n < 255) {
        if (x + n + 2 < width && row[x + n] == row[x + n + 1] && row[x + n] == row[x + n + 2]) break;
        ++n;
      }
      if (n < 3) {
        for (int i = 0; i < n; ++i) {
          out.push_back(1);
          out.push_back(row[x + i]);
        }
      } else {
        out.push_back(0);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), row + x, row + x + n);
        if (n & 1) out.push_back(0);
      }
      x += n;
    }
    out.push_back(0);
    out.push_back(0);  // end of line
  }
  out.back() = 1;  // the last end of line becomes the end of the bitmap
  return out;
}

}  // namespace

std::vector<uint8_t> Bmp8(int width, int height, const std::vector<uint32_t>& palette,
                          const std::vector<uint8_t>& indexes, bool rle) {
  const int stride = (width + 3) & ~3;
  std::vector<uint8_t> pixels;
  if (rle) {
    pixels = Rle8(width, height, indexes);
  } else {
    for (int y = height - 1; y >= 0; --y) {
      const auto row = indexes.begin() + static_cast<long>(y) * width;
      pixels.insert(pixels.end(), row, row + width);
      pixels.resize(pixels.size() + static_cast<size_t>(stride - width), 0);
    }
  }
  Writer w;
  w.Headers(width, height, 8, static_cast<uint32_t>(palette.size()), static_cast<uint32_t>(pixels.size()),
            rle ? kBiRle8 : 0);
  for (uint32_t c : palette) {
    w.b.push_back(static_cast<uint8_t>(c >> 16));
    w.b.push_back(static_cast<uint8_t>(c >> 8));
    w.b.push_back(static_cast<uint8_t>(c));
    w.b.push_back(0);
  }
  w.b.insert(w.b.end(), pixels.begin(), pixels.end());
  return w.b;
}

}  // namespace raster
