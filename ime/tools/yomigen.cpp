// Writes the reading tables of the three arrangements (KS2YOMI.bin,
// KS3YOMI.bin, RMYOMI.bin) into the folder given on the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "reading_table.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: yomigen <output folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  for (int inputMode = 0; inputMode <= 2; ++inputMode) {
    std::vector<uint8_t> table = ime::BuildReadingTable(inputMode);
    std::string path = folder + "/" + ime::ReadingTableName(inputMode) + ".bin";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
      std::perror(path.c_str());
      return 1;
    }
    size_t written = std::fwrite(table.data(), 1, table.size(), f);
    if (std::fclose(f) != 0 || written != table.size()) {
      std::fprintf(stderr, "%s: write failed\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
