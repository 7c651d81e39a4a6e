#include <gtest/gtest.h>

#include <cstring>

#include "bmp_file.h"

namespace ime {
namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

// Reads BI_RLE8 pixels as the format defines them (rows bottom-up; encoded
// runs, absolute runs padded to a word, end of line, end of bitmap).
std::vector<uint8_t> DecodeRle8(const uint8_t* p, size_t n, int width, int height) {
  std::vector<uint8_t> out(static_cast<size_t>(width) * height, 0xEE);
  int x = 0, y = height - 1;
  size_t i = 0;
  while (i + 1 < n) {
    const uint8_t a = p[i], b = p[i + 1];
    i += 2;
    if (a > 0) {
      for (int k = 0; k < a; ++k) out[static_cast<size_t>(y) * width + x++] = b;
    } else if (b == 0) {
      x = 0;
      --y;
    } else if (b == 1) {
      return out;
    } else if (b == 2) {
      return {};  // delta: not written
    } else {
      for (int k = 0; k < b; ++k) out[static_cast<size_t>(y) * width + x++] = p[i++];
      if (b & 1) ++i;
    }
  }
  return {};  // no end of bitmap
}

TEST(BmpFile, Rle8RoundTrip) {
  struct Case {
    const char* what;
    int width, height;
    std::vector<uint8_t> pixels;
  } cases[] = {
      {"flat", 7, 2, std::vector<uint8_t>(14, 5)},
      {"all different, odd width", 5, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {"pairs between runs", 9, 1, {1, 1, 2, 2, 2, 2, 3, 4, 4}},
      {"a run longer than 255", 300, 1, std::vector<uint8_t>(300, 9)},
      {"two differing then a run", 6, 1, {1, 2, 3, 3, 3, 3}},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> bmp = raster::Bmp8(c.width, c.height, {0, 0xFFFFFF}, c.pixels, true);
    ASSERT_GT(bmp.size(), 54u + 8u) << c.what;
    EXPECT_EQ(U32(bmp, 30), 1u) << c.what;  // BI_RLE8
    const uint32_t offset = U32(bmp, 10);
    EXPECT_EQ(offset, 54u + 8u) << c.what;
    EXPECT_EQ(U32(bmp, 34), bmp.size() - offset) << c.what;
    EXPECT_EQ(DecodeRle8(bmp.data() + offset, bmp.size() - offset, c.width, c.height), c.pixels) << c.what;
  }
}

TEST(BmpFile, Uncompressed8BitRowsArePadded) {
  const std::vector<uint8_t> bmp = raster::Bmp8(3, 2, {0x0000FF, 0x00FF00}, {0, 1, 0, 1, 1, 1});
  ASSERT_EQ(bmp.size(), 54u + 8u + 8u);
  EXPECT_EQ(U32(bmp, 30), 0u);
  EXPECT_EQ(U32(bmp, 46), 2u);   // colours used
  EXPECT_EQ(bmp[54], 0x00);      // blue, green, red of COLORREF 0x0000FF (red)
  EXPECT_EQ(bmp[56], 0xFF);
  const std::vector<uint8_t> rows(bmp.begin() + 62, bmp.end());
  EXPECT_EQ(rows, (std::vector<uint8_t>{1, 1, 1, 0, 0, 1, 0, 0}));  // bottom row first
}

}  // namespace
}  // namespace ime
