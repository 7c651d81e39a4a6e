// Writes bitmap 111 of the input method (the composition window's close
// box) as CLOSEBOX.bmp into the folder given.
#include <cstdio>
#include <string>

#include "comp_paint.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: closebox <output folder>\n");
    return 2;
  }
  const std::string path = std::string(argv[1]) + "/CLOSEBOX.bmp";
  const std::vector<uint8_t> bmp = ime::CloseBoxBmp();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror(path.c_str());
    return 1;
  }
  const bool ok = std::fwrite(bmp.data(), 1, bmp.size(), f) == bmp.size();
  return std::fclose(f) == 0 && ok ? 0 : 1;
}
