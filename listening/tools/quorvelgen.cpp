// Writes the example database file of our own from the project's example
// text: quorvelgen OUTPUT EXAMPLES KANA_TABLE_FOLDER. The kana readings come
// from the suite's reading core over its generated tables.
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "code_page.h"
#include "example_database.h"
#include "kana_reading.h"
#include "kana_tables.h"

namespace {

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: quorvelgen OUTPUT EXAMPLES KANA_TABLE_FOLDER\n";
    return 2;
  }
  const std::string tableFiles[kana::kKanaTableCount] = {"HAN-JP.bin",  "HAN2-JP.bin",  "KS-JIS.bin",
                                                         "gm95_V3.tbl", "gmV3_95.tbl", "FSHAN-JP.bin",
                                                         "LHAN-JP.bin", "KNTRAN.bin"};
  std::vector<std::vector<uint8_t>> bytes(kana::kKanaTableCount);
  kana::CKanaTables tables;
  for (int slot = 0; slot < kana::kKanaTableCount; ++slot) {
    const std::string path = std::string(argv[3]) + "/" + tableFiles[slot];
    if (!ReadFile(path, bytes[slot]) || bytes[slot].size() < kana::kKanaTableInfo[slot].size) {
      std::cerr << "quorvelgen: the kana table " << path << " is missing or short\n";
      return 1;
    }
    tables.Set(static_cast<kana::KanaTableSlot>(slot), bytes[slot]);
  }
  std::ifstream text(argv[2], std::ios::binary);
  if (!text) {
    std::cerr << "quorvelgen: cannot read " << argv[2] << "\n";
    return 1;
  }
  try {
    const auto examples = ombrel::data::ReadExamples(text);
    const auto& pages = codeconv::PlatformCodePages();
    const exdb::Database db = ferlin::BuildExampleDatabase(examples, [&](const std::u16string& korean) {
      const std::string ks = pages.FromUtf16(949, korean);
      return pages.ToUtf16(932, kana::HangulToKana(tables, 0, ks, true, true));
    });
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << exdb::WriteRows(db);
    if (!out.flush()) {
      std::cerr << "quorvelgen: cannot write " << argv[1] << "\n";
      return 1;
    }
    std::cout << "quorvelgen: " << examples.size() << " examples written to " << argv[1] << "\n";
  } catch (const std::exception& e) {
    std::cerr << "quorvelgen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
