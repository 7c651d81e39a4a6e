// The dictionary's data builder: reads the public sources (libhangul-data's
// hanja.txt, Unihan's variant and kanji lists, EDICT), pairs Sino-Korean
// words with Japanese headwords, and writes the seven scrambled files of
// each direction, examples.dat and the pictures.
#pragma once
#include <cstdint>
#include <istream>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace ombrel::data {

// ---- what the files hold ----
struct EntryText {
  std::u16string text;  // HTML with the entry markup and link placeholders (below)
  std::u16string tag;   // what links to this entry name it by (with its headword's key)
};
// In entry texts before writing: kSelfId stands for the entry's own idlist
// index (7 digits); kLinkOpen key kLinkSep tag kLinkClose for the index of
// the entry with that tag under the headword with that key (or, when there
// is none, the link is written as its plain text).
inline constexpr char16_t kSelfId = 0x0004;
inline constexpr char16_t kLinkOpen = 0x0001;
inline constexpr char16_t kLinkSep = 0x0003;
inline constexpr char16_t kLinkClose = 0x0002;

struct Headword {
  std::u16string key;
  std::u16string display;
  // Further keys that lead to the same entries, each with its display text.
  std::vector<std::pair<std::u16string, std::u16string>> extraKeys;
  std::vector<EntryText> entries;
};

struct WrittenFiles {
  std::size_t keys = 0;
  std::size_t entries = 0;
  std::map<std::string, std::size_t> bytes;  // file name -> size
};

// Sorts the keys by the program's comparator of the direction and writes the
// seven files into folder (which must exist).
WrittenFiles WriteDirection(const std::vector<Headword>& headwords, int direction, const std::string& folder);

// ---- the sources ----
struct KanjiForms {
  // For each hanja the characters that may stand for it in Japanese, the
  // likeliest first (its Joyo form, itself, its variants).
  std::unordered_map<char16_t, std::vector<char16_t>> forms;
  std::vector<char16_t> FormsOf(char16_t c) const;
};
// Unihan_Variants.txt and Unihan_OtherMappings.txt (kJoyoKanji,
// kJinmeiyoKanji); only characters of code page 932 are kept as forms.
KanjiForms ReadKanjiForms(std::istream& variants, std::istream& otherMappings);

struct EdictWord {
  std::u16string word;
  std::vector<std::u16string> readings;
  std::set<std::string> tags;  // part-of-speech tags ("n", "vs", "adj-na" ...)
  bool common = false;         // (P)
};
// EDICT lines (already converted to UTF-8).
std::unordered_map<std::u16string, EdictWord> ReadEdict(std::istream& utf8);

struct HanjaLine {
  std::u16string hangul, hanja, gloss;
};
// hanja.txt: "reading:hanja:gloss" lines; comments and malformed lines left out.
std::vector<HanjaLine> ReadHanjaList(std::istream& in);

struct WordPair {
  std::u16string hangul, hanja, japanese;
  const EdictWord* edict = nullptr;
};
// Each Sino-Korean word (Hangul syllables only, hanja only, of the same
// length, at most 31 units) whose hanja in a Japanese form is an EDICT
// headword.
std::vector<WordPair> PairWords(const std::vector<HanjaLine>& hanja, const KanjiForms& forms,
                                const std::unordered_map<std::u16string, EdictWord>& edict);

// The Korean gloss of a single hanja read as a syllable ("집 가"), from the
// single-character lines of hanja.txt.
using HanjaGlosses = std::map<std::pair<char16_t, char16_t>, std::u16string>;  // (hanja, syllable) -> gloss
HanjaGlosses CollectGlosses(const std::vector<HanjaLine>& hanja);

std::vector<Headword> BuildKoreanToJapanese(const std::vector<WordPair>& pairs, const HanjaGlosses& glosses);
// The same pairs from the Japanese side, plus each single kanji with its
// Korean readings and glosses.
std::vector<Headword> BuildJapaneseToKorean(const std::vector<WordPair>& pairs, const HanjaGlosses& glosses,
                                            const KanjiForms& forms,
                                            const std::unordered_map<std::u16string, EdictWord>& edict);

// ---- examples ----
struct Example {
  std::u16string japanese, korean;
  std::u16string heading;                // "greetings > meeting"
  std::vector<std::u16string> headwords;  // what it illustrates (optional)
};
// The project's example text: "* heading > sub-heading" lines set the
// heading; "japanese | korean | word,word" lines are examples (the words
// optional); '#' starts a comment line.
std::vector<Example> ReadExamples(std::istream& utf8);
// examples.dat: "japanese<TAB>korean<LF>" in UTF-16LE, scrambled; '&', '<'
// and '>' written as entities.
std::string EncodeExampleFile(const std::vector<Example>& examples);

// ---- pictures ----
// A GIF (one frame, 256-colour palette, the first colour transparent) of
// 0xRRGGBB pixels.
std::string EncodeGif(int width, int height, const std::vector<uint32_t>& pixels, uint32_t transparent);

// ---- text helpers ----
std::u16string FromUtf8(const std::string& s);
std::string ToUtf8(const std::u16string& s);
bool IsHangulSyllable(char16_t c);
bool IsHanja(char16_t c);

}  // namespace ombrel::data
