// Windows .bmp files: 24-bit, or 8-bit with a palette. Pixels are COLORREF
// values (0x00BBGGRR), given top row first.
#pragma once
#include <cstdint>
#include <vector>

namespace raster {

std::vector<uint8_t> Bmp24(int width, int height, const std::vector<uint32_t>& pixels);
// palette: at most 256 COLORREF entries; indexes: one per pixel. rle: the
// pixels run-length encoded (BI_RLE8), for pictures of flat colours.
std::vector<uint8_t> Bmp8(int width, int height, const std::vector<uint32_t>& palette,
                          const std::vector<uint8_t>& indexes, bool rle = false);

}  // namespace raster
