#include "fixtures.h"

#include <fstream>
#include <iterator>
#include <map>

#include "code_page.h"

namespace codeconv::test {

const std::vector<uint8_t>& GeneratedFile(const std::string& name) {
  static std::map<std::string, std::vector<uint8_t>> files;
  auto it = files.find(name);
  if (it == files.end()) {
    std::ifstream in(std::string(CODECONV_DATA_DIR) + "/" + name, std::ios::binary);
    it = files.emplace(name, std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {})).first;
  }
  return it->second;
}

const GmTables& GeneratedTables() {
  static const GmTables tables{
      CodeTable(GeneratedFile("gm95_V3.tbl").data(), GeneratedFile("gm95_V3.tbl").size()),
      CodeTable(GeneratedFile("gmV3_95.tbl").data(), GeneratedFile("gmV3_95.tbl").size())};
  return tables;
}

const GmCodeConverter& GeneratedConverter() {
  static const GmCodeConverter converter = [] {
    GmCodeConverter c;
    c.SetTables(GeneratedTables());
    return c;
  }();
  return converter;
}

const std::vector<DbChar>& AssignedKsCells() {
  static const std::vector<DbChar> cells = [] {
    std::vector<DbChar> out;
    const CodePageConverter& pages = PlatformCodePages();
    for (int row = 1; row <= 94; ++row) {
      for (int column = 0; column < 94; ++column) {
        const DbChar ks = EncodeEucShape({row, column});
        const std::u16string u = pages.ToUtf16(949, Pair(ks));
        if (u.size() == 1 && pages.FromUtf16(949, u) == Pair(ks)) out.push_back(ks);
      }
    }
    return out;
  }();
  return cells;
}

}  // namespace codeconv::test
