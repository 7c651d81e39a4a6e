// Writes the GM V3 code tables (gm95_V3.tbl, gmV3_95.tbl) and the
// romanisation table (HANGLYMR.tbl) into the folder given on the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "gm_layout.h"

namespace {

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gmtablegen OUTPUT-FOLDER\n");
    return 2;
  }
  using namespace codeconv;
  const CodePageConverter& pages = PlatformCodePages();
  const GmLayout layout = BuildGmLayout(pages);
  if (!TablesUndoEachOther(layout)) {
    std::fprintf(stderr, "gmtablegen: the two tables do not undo each other\n");
    return 1;
  }
  const std::string folder = argv[1];
  if (!Write(folder + "/gm95_V3.tbl", BuildGm95ToV3Table(layout)) ||
      !Write(folder + "/gmV3_95.tbl", BuildGmV3To95Table(layout)) ||
      !Write(folder + "/HANGLYMR.tbl", BuildRomanisationTable(pages))) {
    std::fprintf(stderr, "gmtablegen: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
