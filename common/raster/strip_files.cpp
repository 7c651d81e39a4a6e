#include "strip_files.h"

#include <cstdio>
#include <vector>

#include "bmp_file.h"

namespace raster {
namespace {

bool Write(const char* path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path, "wb");
  if (!f) {
    std::perror(path);
    return false;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

bool WriteToolBarStrips(const char* normalPath, const Canvas& normal, const char* disabledPath, const Canvas& disabled) {
  std::vector<uint32_t> palette;
  std::vector<uint8_t> indexes;
  for (uint32_t colour : disabled.ColorRefs()) {
    size_t i = 0;
    while (i < palette.size() && palette[i] != colour) ++i;
    if (i == palette.size()) palette.push_back(colour);
    indexes.push_back(static_cast<uint8_t>(i));
  }
  return Write(normalPath, Bmp24(normal.w, normal.h, normal.ColorRefs())) &&
         Write(disabledPath, Bmp8(disabled.w, disabled.h, palette, indexes));
}

int ToolBarStripsMain(int argc, char** argv, const Canvas& normal, const Canvas& disabled) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <normal .bmp> <disabled .bmp>\n", argv[0]);
    return 2;
  }
  return WriteToolBarStrips(argv[1], normal, argv[2], disabled) ? 0 : 1;
}

}  // namespace raster
