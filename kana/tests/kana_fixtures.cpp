#include "kana_fixtures.h"

#include <fstream>
#include <iterator>
#include <map>

#include "code_page.h"
#include "ime_code.h"
#include "kana_reading.h"

namespace kana::test {

namespace {
const codeconv::CodePageConverter& Pages() { return codeconv::PlatformCodePages(); }

// Each table in its own buffer of exactly its size.
std::vector<std::vector<uint8_t>> GeneratedBytes() {
  std::vector<std::vector<uint8_t>> bytes;
  const char* const files[kKanaTableCount] = {"HAN-JP.bin",  "HAN2-JP.bin",  "KS-JIS.bin",  "gm95_V3.tbl",
                                              "gmV3_95.tbl", "FSHAN-JP.bin", "LHAN-JP.bin", "KNTRAN.bin"};
  for (const char* f : files) bytes.push_back(GeneratedFile(f));
  return bytes;
}

void SetAll(CKanaTables& tables, const std::vector<std::vector<uint8_t>>& bytes) {
  for (int slot = 0; slot < kKanaTableCount; ++slot) tables.Set(static_cast<KanaTableSlot>(slot), bytes[slot]);
}
}  // namespace

const std::vector<uint8_t>& GeneratedFile(const std::string& name) {
  static std::map<std::string, std::vector<uint8_t>> files;
  auto it = files.find(name);
  if (it == files.end()) {
    std::ifstream in(std::string(KANA_DATA_DIR) + "/" + name, std::ios::binary);
    it = files.emplace(name, std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {})).first;
  }
  return it->second;
}

const CKanaTables& GeneratedTables() {
  static const TableSet set = GeneratedTablesWith(kHanJp, GeneratedFile("HAN-JP.bin"));
  return set.tables;
}

TableSet GeneratedTablesWith(KanaTableSlot slot, std::vector<uint8_t> replacement) {
  TableSet set;
  set.bytes = GeneratedBytes();
  set.bytes[slot] = std::move(replacement);
  SetAll(set.tables, set.bytes);
  return set;
}

std::string Ks(const std::string& utf8) { return Pages().FromUtf16(949, Pages().ToUtf16(65001, utf8)); }
std::string Sjis(const std::string& utf8) { return Pages().FromUtf16(932, Pages().ToUtf16(65001, utf8)); }
std::string Utf8(const std::string& sjis) { return Pages().FromUtf16(65001, Pages().ToUtf16(932, sjis)); }

std::string Gm(const std::string& utf8) { return GmFromKs(Ks(utf8)); }

std::string GmFromKs(std::string ks) {
  auto* p = reinterpret_cast<uint8_t*>(ks.data());
  codeconv::KsTextToGm(p, p, ks.size());
  codeconv::Gm95TextToV3(&GeneratedTables().GmTables(), p, p, ks.size());
  return ks;
}

std::string Reading(const std::string& utf8, int kanjiForm, bool keepFullWidth) {
  return HangulToKana(GeneratedTables(), kanjiForm, Ks(utf8), true, keepFullWidth);
}

}  // namespace kana::test
