// Reading tables of the ANSI interface: their layout, and the group search
// checked against the jamo automaton (the Unicode route) through CP949.
#include "reading_table.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "code_page.h"

namespace ime {
namespace {

using codeconv::DbChar;

constexpr int kRoman = 0;
constexpr int kTwoSet = 1;
constexpr int kThreeSet = 2;
constexpr int kModes[] = {kRoman, kTwoSet, kThreeSet};

class CountingFeedback : public UserFeedback {
 public:
  void Beep(unsigned type) override { beeps.push_back(type); }
  int ShowMessage(const std::string&, unsigned) override { return 1; }
  std::vector<unsigned> beeps;
};

// GM95 of every Unicode character of the Hangul rows of KS X 1001, found by
// encoding each character to CP949 (independently of the table builder).
class KsHangul {
 public:
  static const KsHangul& Get() {
    static const KsHangul instance;
    return instance;
  }
  std::optional<DbChar> Gm95(char16_t ch) const {
    DbChar gm = gm95_[ch];
    if (gm == 0) return std::nullopt;
    return gm;
  }
  char16_t Unicode(DbChar gm95) const {
    auto it = unicode_.find(gm95);
    return it == unicode_.end() ? 0 : it->second;
  }
  const std::vector<char16_t>& Syllables() const { return syllables_; }

 private:
  KsHangul() : gm95_(0x10000, 0) {
    const auto& pages = codeconv::PlatformCodePages();
    auto add = [&](char16_t ch) {
      std::string ks = pages.FromUtf16(949, std::u16string(1, ch));
      // CP949 also codes the syllables outside KS X 1001 (below 0xA1).
      if (ks.size() != 2 || static_cast<unsigned char>(ks[0]) < 0xA1 ||
          static_cast<unsigned char>(ks[1]) < 0xA1) {
        return false;
      }
      int row = static_cast<unsigned char>(ks[0]) - 0xA0;
      int cell = static_cast<unsigned char>(ks[1]) - 0xA0;
      gm95_[ch] = codeconv::OrdinalToGm95((row - 1) * 94 + (cell - 1));
      unicode_[gm95_[ch]] = ch;
      return true;
    };
    for (char16_t ch = kFirstCompatConsonant; ch <= kLastCompatVowel; ++ch) add(ch);
    for (char32_t ch = kFirstSyllable; ch <= kLastSyllable; ++ch) {
      if (add(static_cast<char16_t>(ch))) syllables_.push_back(static_cast<char16_t>(ch));
    }
  }
  std::vector<DbChar> gm95_;
  std::map<DbChar, char16_t> unicode_;
  std::vector<char16_t> syllables_;
};

const ReadingTable& TableFor(int inputMode) {
  static const std::array<ReadingTable, 3> tables = [] {
    std::array<ReadingTable, 3> t;
    for (int mode : kModes) {
      std::vector<uint8_t> bytes = BuildReadingTable(mode);
      EXPECT_TRUE(t[mode].Load(bytes.data(), bytes.size(), mode));
    }
    return t;
  }();
  return tables[inputMode];
}

// One route's result; marks only under the 3-set arrangement.
struct Route {
  std::vector<DbChar> chars;
  KeyMarks marks;
  size_t beeps = 0;
  bool operator==(const Route&) const = default;
};

void PrintTo(const Route& r, std::ostream* os) {
  *os << std::hex;
  for (DbChar c : r.chars) *os << c << ' ';
  *os << "marks";
  for (const KeyMark& m : r.marks) *os << ' ' << int(m.b0) << ':' << int(m.b1);
  *os << " beeps " << r.beeps << std::dec;
}

Route Ansi(int mode, const std::string& keys) {
  Route r;
  CountingFeedback feedback;
  TableFor(mode).KeysToGm95(keys, r.chars, mode == kThreeSet ? &r.marks : nullptr, &feedback);
  r.beeps = feedback.beeps.size();
  return r;
}

// The automaton's result in GM95; nullopt when a character is not one the
// table can give (outside KS X 1001, or without a key string in the table).
std::optional<Route> Unicode(int mode, const std::string& keys) {
  Route r;
  CountingFeedback feedback;
  std::u16string text;
  AutomatonFor(mode).KeysToSyllables(text, keys, mode == kThreeSet ? &r.marks : nullptr, &feedback);
  r.beeps = feedback.beeps.size();
  for (char16_t ch : text) {
    std::optional<DbChar> gm = KsHangul::Get().Gm95(ch);
    if (!gm || TableFor(mode).GetKeyStringOfChar(*gm).empty()) return std::nullopt;
    r.chars.push_back(*gm);
  }
  return r;
}

std::vector<DbChar> Gm95Of(const std::u16string& text) {
  std::vector<DbChar> out;
  for (char16_t ch : text) out.push_back(KsHangul::Get().Gm95(ch).value_or(0));
  return out;
}

std::string KeysOf(int mode, const std::u16string& text) {
  std::string keys;
  for (char16_t ch : text) keys += AutomatonFor(mode).SyllableToKeys(ch);
  return keys;
}

// Letters a key string of the arrangement is made of.
std::string Alphabet(int mode) {
  switch (mode) {
    case kRoman: return "abcdefghijklmnopqrstuvwxyz";
    case kTwoSet: return "abcdefghijklmnopqrstuvwxyzQWERTOP";
    default: return "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  }
}

TEST(ReadingTableTest, NamesFollowTheInputMode) {
  EXPECT_STREQ(ReadingTableName(kRoman), "RMYOMI");
  EXPECT_STREQ(ReadingTableName(kTwoSet), "KS2YOMI");
  EXPECT_STREQ(ReadingTableName(kThreeSet), "KS3YOMI");
}

TEST(ReadingTableTest, SizeAndEndOfFileByte) {
  for (int mode : kModes) {
    SCOPED_TRACE(mode);
    std::vector<uint8_t> bytes = BuildReadingTable(mode);
    if (mode == kRoman) {
      ASSERT_EQ(bytes.size(), 12220u);
    } else {
      ASSERT_EQ(bytes.size(), 12221u);
      EXPECT_EQ(bytes.back(), 0x1A);
    }
    // Row 4 after the 51 compatibility jamo (the filler and the old jamo) has no keys.
    for (size_t i = 51 * 5; i < 94 * 5; ++i) EXPECT_EQ(bytes[i], ' ') << i;
  }
}

TEST(ReadingTableTest, LoadRejectsMalformedTables) {
  std::vector<uint8_t> good = BuildReadingTable(kTwoSet);
  ReadingTable table;
  EXPECT_TRUE(table.Load(good.data(), good.size(), kTwoSet));
  EXPECT_TRUE(table.Load(good.data(), 12220, kTwoSet));  // without the end-of-file byte

  std::vector<uint8_t> noEof = good;
  noEof.back() = ' ';
  std::vector<uint8_t> longer = good;
  longer.push_back(0x1A);
  std::vector<uint8_t> control = good;
  control[700] = '\n';
  std::vector<uint8_t> high = good;
  high[5 * 100] = 0xB0;
  for (const auto* bad : {&noEof, &longer, &control, &high}) {
    EXPECT_FALSE(table.Load(bad->data(), bad->size(), kTwoSet));
    EXPECT_FALSE(table.Loaded());
    EXPECT_EQ(table.GetKeyStringOfChar(0x889F), "");
  }
  EXPECT_FALSE(table.Load(good.data(), 12219, kTwoSet));
  EXPECT_FALSE(table.Load(nullptr, 0, kTwoSet));

  std::vector<DbChar> out;
  CountingFeedback feedback;
  table.KeysToGm95("rk", out, nullptr, &feedback);
  EXPECT_TRUE(out.empty());
}

TEST(ReadingTableTest, KnownEntries) {
  struct Case {
    int mode;
    DbChar gm95;
    const char* keys;
  } cases[] = {
      {kTwoSet, 0x829F, "r"},     // first consonant
      {kTwoSet, 0x82D1, "l"},     // last compatibility vowel
      {kTwoSet, 0x889F, "rk"},    // first syllable
      {kTwoSet, 0x94FC, "gld"},   // last syllable
      {kTwoSet, 0x82D2, ""},      // the filler
      {kTwoSet, 0x8140, ""},      // a row 1 symbol
      {kTwoSet, 0x889E, ""},      // just before the syllables
      {kTwoSet, 0x9540, ""},      // the first hanja
      {kRoman, 0x889F, "ka"},
      {kRoman, 0x829F, "k"},
      {kThreeSet, 0x889F, "AO"},
      {kThreeSet, 0x82A0, "AA"},  // tense consonant as its doubled initial letter
      {kThreeSet, 0x94FC, "Nct"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    EXPECT_EQ(TableFor(c.mode).GetKeyStringOfChar(c.gm95), c.keys) << std::hex << c.gm95;
  }
}

// Row 4 past the compatibility jamo has no key string, and the search never
// gives it, even when a table holds letters there.
TEST(ReadingTableTest, RowFourPastTheJamoHasNoKeys) {
  std::vector<uint8_t> bytes = BuildReadingTable(kTwoSet);
  for (int entry : {51, 93}) bytes[static_cast<size_t>(entry) * 5] = 'r';
  ReadingTable table;
  ASSERT_TRUE(table.Load(bytes.data(), bytes.size(), kTwoSet));
  EXPECT_EQ(table.GetKeyStringOfChar(0x82D1), "l");
  EXPECT_EQ(table.GetKeyStringOfChar(0x82D2), "");
  EXPECT_EQ(table.GetKeyStringOfChar(codeconv::OrdinalToGm95(282 + 93)), "");
  std::vector<DbChar> out;
  table.KeysToGm95("r", out, nullptr, nullptr);
  EXPECT_EQ(out, std::vector<DbChar>{0x829F});
}

// Each entry holds the key string of the character at its place in
// KS X 1001 (located here from the Unicode side), and none is too long.
TEST(ReadingTableTest, EntriesHoldTheKeysOfTheirCharacter) {
  for (int mode : kModes) {
    SCOPED_TRACE(mode);
    const ReadingTable& table = TableFor(mode);
    std::u16string tooLong;
    auto check = [&](char16_t ch) {
      std::string keys = AutomatonFor(mode).SyllableToKeys(ch);
      ASSERT_FALSE(keys.empty());
      if (keys.size() > 5) tooLong.push_back(ch);
      EXPECT_EQ(table.GetKeyStringOfChar(*KsHangul::Get().Gm95(ch)), keys.size() > 5 ? "" : keys)
          << std::hex << int(ch);
    };
    for (char16_t ch = kFirstCompatConsonant; ch <= kLastCompatVowel; ++ch) check(ch);
    ASSERT_EQ(KsHangul::Get().Syllables().size(), 2350u);
    for (char16_t ch : KsHangul::Get().Syllables()) check(ch);
    EXPECT_TRUE(tooLong.empty());
  }
}

// The key string of every character types that character again, except the
// compound consonants of 2-set and roman: there a consonant key alone is
// always a lone consonant, so their keys give two jamo, as in the automaton.
TEST(ReadingTableTest, KeyStringOfEveryCharacterTypesItBack) {
  const std::u16string compound = u"ㄳㄵㄶㄺㄻㄼㄽㄾㄿㅀㅄ";
  for (int mode : kModes) {
    SCOPED_TRACE(mode);
    const ReadingTable& table = TableFor(mode);
    int typed = 0;
    for (int ordinal = 0; ordinal < 94 * 94; ++ordinal) {
      DbChar gm = codeconv::OrdinalToGm95(ordinal);
      std::string keys = table.GetKeyStringOfChar(gm);
      if (keys.empty()) continue;
      ++typed;
      ASSERT_LE(keys.size(), 5u);
      EXPECT_EQ(keys.find(' '), std::string::npos);
      Route r = Ansi(mode, keys);
      EXPECT_EQ(r, Unicode(mode, keys).value()) << keys;
      bool split = mode != kThreeSet && compound.find(KsHangul::Get().Unicode(gm)) != std::u16string::npos;
      if (split) {
        EXPECT_EQ(r.chars.size(), 2u) << keys;
      } else {
        EXPECT_EQ(r.chars, std::vector<DbChar>{gm}) << keys;
      }
      EXPECT_EQ(r.beeps, 0u) << keys;
    }
    EXPECT_EQ(typed, 51 + 2350);
  }
}

// Words typed as one run of keys, and every prefix of the run as it is typed
// key by key (so a final consonant moves on to the next syllable).
TEST(ReadingTableTest, TypedWordsMatchTheAutomaton) {
  struct Word {
    int mode;
    const char* keys;  // nullptr: the keys of the word's syllables
    std::u16string text;
  } words[] = {
      {kTwoSet, "dkssudgktpdy", u"안녕하세요"},
      {kTwoSet, "rksk", u"가나"},
      {kTwoSet, "ekfrrhrl", u"닭고기"},
      {kTwoSet, "dlfrek", u"읽다"},
      {kTwoSet, "dkswdkdy", u"앉아요"},
      {kTwoSet, "aksgdl", u"많이"},
      {kTwoSet, "djqtdjdy", u"없어요"},
      {kTwoSet, "rhoscksgdkdy", u"괜찮아요"},
      {kTwoSet, "Qkffl", u"빨리"},
      {kTwoSet, "EjrqhRdl", u"떡볶이"},
      {kTwoSet, "dmltk", u"의사"},
      {kTwoSet, "anjdPdy", u"뭐예요"},
      {kTwoSet, "gnjfTls", u"훨씬"},
      {kTwoSet, "ehowl", u"돼지"},
      {kTwoSet, "rkqtdl", u"값이"},
      {kRoman, "fannyrfhasrifyo", u"안녕하세요"},
      {kRoman, "kana", u"가나"},
      {kRoman, "kaksa", u"각사"},
      {kRoman, nullptr, u"닭고기"},
      {kRoman, nullptr, u"괜찮아요"},
      {kRoman, nullptr, u"없어요"},
      {kRoman, nullptr, u"뭐예요"},
      {kRoman, nullptr, u"떡볶이"},
      {kRoman, nullptr, u"왜"},
      {kThreeSet, "NOhAak", u"한글"},
      {kThreeSet, nullptr, u"안녕하세요"},
      {kThreeSet, nullptr, u"닭고기"},
      {kThreeSet, nullptr, u"괜찮아요"},
      {kThreeSet, nullptr, u"없어요"},
      {kThreeSet, nullptr, u"떡볶이"},
      {kThreeSet, nullptr, u"쌀"},
      {kThreeSet, nullptr, u"짜장면"},
      {kThreeSet, nullptr, u"꽃"},
  };
  for (const Word& w : words) {
    std::string keys = w.keys ? w.keys : KeysOf(w.mode, w.text);
    SCOPED_TRACE(std::to_string(w.mode) + " " + keys);
    std::optional<Route> unicode = Unicode(w.mode, keys);
    ASSERT_TRUE(unicode.has_value());
    ASSERT_EQ(unicode->chars, Gm95Of(w.text));
    EXPECT_EQ(Ansi(w.mode, keys), *unicode);
    for (size_t n = 1; n < keys.size(); ++n) {
      std::string prefix = keys.substr(0, n);
      // A roman y is always typed as "ya", so no key string ends in y alone.
      if (w.mode == kRoman && prefix.back() == 'y') continue;
      if (std::optional<Route> u = Unicode(w.mode, prefix)) {
        EXPECT_EQ(Ansi(w.mode, prefix), *u) << prefix;
      }
    }
  }
}

// Short runs of any letters exercise the groups of vowel keys, lone
// consonants and (3-set) final-consonant letters with their marks.
TEST(ReadingTableTest, ShortKeyRunsMatchTheAutomaton) {
  for (int mode : kModes) {
    SCOPED_TRACE(mode);
    const std::string letters = Alphabet(mode);
    int compared = 0;
    auto check = [&](const std::string& keys) {
      std::optional<Route> unicode = Unicode(mode, keys);
      if (!unicode) return;
      ++compared;
      EXPECT_EQ(Ansi(mode, keys), *unicode) << keys;
    };
    for (char a : letters) {
      check(std::string(1, a));
      for (char b : letters) {
        check(std::string{a, b});
        for (char c : letters) check(std::string{a, b, c});
      }
    }
    EXPECT_GT(compared, static_cast<int>(letters.size() * letters.size()));
  }
}

// Two adjacent KS syllables typed as one run: every first syllable against
// three second syllables of every initial consonant, which covers every
// meeting of a final with the next initial.
TEST(ReadingTableTest, SyllablePairsMatchTheAutomaton) {
  const std::vector<char16_t>& syllables = KsHangul::Get().Syllables();
  std::vector<std::vector<char16_t>> byInitial(19);
  for (char16_t s : syllables) byInitial[(s - kFirstSyllable) / 588].push_back(s);
  for (int mode : kModes) {
    SCOPED_TRACE(mode);
    int compared = 0;
    for (size_t i = 0; i < syllables.size(); ++i) {
      for (const std::vector<char16_t>& seconds : byInitial) {
        for (size_t k = 0; k < 3; ++k) {
          char16_t second = seconds[(i * 7 + k * 101) % seconds.size()];
          std::u16string pair = {syllables[i], second};
          std::string keys = KeysOf(mode, pair);
          std::optional<Route> unicode = Unicode(mode, keys);
          if (!unicode) continue;
          ++compared;
          ASSERT_EQ(Ansi(mode, keys), *unicode) << keys;
        }
      }
    }
    EXPECT_GT(compared, 2350 * 19 * 3 * 9 / 10);
  }
}

TEST(ReadingTableTest, KeysWithoutEntryBeepAndAreSkipped) {
  struct Case {
    int mode;
    std::string keys;
    std::u16string text;
    size_t beeps;
  } cases[] = {
      {kRoman, "y", u"", 1},
      {kRoman, "yka", u"가", 1},
      {kTwoSet, "1rk", u"가", 1},
      {kTwoSet, "rk#", u"가", 1},
      {kTwoSet, "K", u"", 1},
      {kThreeSet, "AO9", u"가", 1},
      {kThreeSet, "\xB0" "AO", u"가", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    std::vector<DbChar> out;
    CountingFeedback feedback;
    TableFor(c.mode).KeysToGm95(c.keys, out, nullptr, &feedback);
    EXPECT_EQ(out, Gm95Of(c.text));
    EXPECT_EQ(feedback.beeps, std::vector<unsigned>(c.beeps, kBeepExclamation));
    TableFor(c.mode).KeysToGm95(c.keys, out, nullptr, nullptr);  // no feedback: still skips
    EXPECT_EQ(out.size(), 2 * c.text.size());
  }
}

TEST(ReadingTableTest, ThreeSetMarksTellFinalKeys) {
  struct Case {
    std::string keys;
    std::u16string text;
    KeyMarks marks;
  };
  const KeyMark square;
  auto finalKey = [](char letter) { return KeyMark{' ', static_cast<uint8_t>(letter)}; };
  Case cases[] = {
      {"f", u"ㄱ", {finalKey('f')}},
      {"A", u"ㄱ", {square}},
      {"AA", u"ㄲ", {square}},
      {"fr", u"ㄳ", {square}},
      {"i", u"ㄶ", {finalKey('i')}},
      {"kz", u"ㄹㅎ", {finalKey('k'), finalKey('z')}},
      {"NOhf", u"한ㄱ", {square, finalKey('f')}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    Route r = Ansi(kThreeSet, c.keys);
    EXPECT_EQ(r.chars, Gm95Of(c.text));
    EXPECT_EQ(r.marks, c.marks);
  }
}

}  // namespace
}  // namespace ime
