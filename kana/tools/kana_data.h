// The tables of the kana-reading library, built from the reading rules
// (kana_rules), the KS X 1001 and code page 932 maps (code page converter),
// UnicodeData.txt and the Japanese kanji lists of Unihan.
#pragma once
#include <cstdint>
#include <istream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "code_page.h"

namespace kana::data {

// From UnicodeData.txt: the canonical decompositions, the <narrow> forms,
// and the modern conjoining jamo of the same name as each compatibility jamo.
struct UnicodeDecompositions {
  std::map<char16_t, std::u16string> canonical;
  std::map<char16_t, char16_t> halfWidthOf;  // full-width character -> its <narrow> form
  std::map<char16_t, char16_t> compatOf;     // compatibility jamo -> conjoining jamo
};
UnicodeDecompositions ReadUnicodeData(std::istream& in);

// The Joyo kanji and, for each old form in the Jinmeiyo list, its Joyo form
// (kJoyoKanji and kJinmeiyoKanji of Unihan_OtherMappings.txt).
struct JapaneseKanji {
  std::set<char16_t> joyo;
  std::map<char16_t, char16_t> modernForm;  // old form -> Joyo form
};
JapaneseKanji ReadUnihanKanji(std::istream& in);

// The 2350 Hangul syllables of KS X 1001 in code order (rows 16-40).
std::vector<char16_t> KsSyllables(const codeconv::CodePageConverter& pages);

// KanaKeyTable: the jamo row (GM lead 0x95) then the syllables, romanized;
// and its text as the C++ initialiser list that the reading core includes.
std::vector<std::string> BuildKanaKeyTable(const codeconv::CodePageConverter& pages,
                                           const UnicodeDecompositions& unicode);
std::string KanaKeyTableSource(const std::vector<std::string>& table);

std::vector<uint8_t> BuildHanJp(const codeconv::CodePageConverter& pages);
std::vector<uint8_t> BuildHan2Jp();
std::vector<uint8_t> BuildFsHanJp();
std::vector<uint8_t> BuildLHanJp();
std::vector<uint8_t> BuildKsJis(const codeconv::CodePageConverter& pages, const UnicodeDecompositions& unicode,
                                const JapaneseKanji& kanji);
std::vector<uint8_t> BuildKnTran(const codeconv::CodePageConverter& pages, const UnicodeDecompositions& unicode);

}  // namespace kana::data
