// Writes the tables of the kana-reading library into the folder given first
// (HAN-JP.bin, HAN2-JP.bin, KS-JIS.bin, FSHAN-JP.bin, LHAN-JP.bin,
// KNTRAN.bin) and the romanization table that its code includes
// (kana_key_table.inc), from UnicodeData.txt and Unihan_OtherMappings.txt.
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "kana_data.h"

namespace {

bool Write(const std::string& path, const void* data, size_t size) {
  std::ofstream f(path, std::ios::binary);
  f.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  return static_cast<bool>(f.flush());
}

bool WriteTable(const std::string& path, const std::vector<uint8_t>& bytes) {
  return Write(path, bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: kanagen OUTPUT-FOLDER UnicodeData.txt Unihan_OtherMappings.txt\n");
    return 2;
  }
  using namespace kana::data;
  const std::string folder = argv[1];
  std::ifstream unicodeFile(argv[2]);
  std::ifstream unihanFile(argv[3]);
  if (!unicodeFile || !unihanFile) {
    std::fprintf(stderr, "kanagen: cannot read %s or %s\n", argv[2], argv[3]);
    return 1;
  }
  try {
    const codeconv::CodePageConverter& pages = codeconv::PlatformCodePages();
    const UnicodeDecompositions unicode = ReadUnicodeData(unicodeFile);
    const JapaneseKanji kanji = ReadUnihanKanji(unihanFile);
    const std::string keys = KanaKeyTableSource(BuildKanaKeyTable(pages, unicode));
    const bool ok =
        WriteTable(folder + "/HAN-JP.bin", BuildHanJp(pages)) && WriteTable(folder + "/HAN2-JP.bin", BuildHan2Jp()) &&
        WriteTable(folder + "/KS-JIS.bin", BuildKsJis(pages, unicode, kanji)) &&
        WriteTable(folder + "/FSHAN-JP.bin", BuildFsHanJp()) && WriteTable(folder + "/LHAN-JP.bin", BuildLHanJp()) &&
        WriteTable(folder + "/KNTRAN.bin", BuildKnTran(pages, unicode)) &&
        Write(folder + "/kana_key_table.inc", keys.data(), keys.size());
    if (!ok) {
      std::fprintf(stderr, "kanagen: cannot write into %s\n", folder.c_str());
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kanagen: %s\n", e.what());
    return 1;
  }
  return 0;
}
