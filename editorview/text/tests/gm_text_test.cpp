#include "gm_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fixtures.h"

using namespace editorview;
using codeconv::DbChar;

namespace {

// The program's converter with the generated code tables.
const codeconv::GmCodeConverter& Converter() { return codeconv::test::GeneratedConverter(); }

std::string Bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s.push_back(static_cast<char>(b));
  return s;
}

std::string ToGm(const std::u16string& text, int room = 64) {
  std::vector<char> out(static_cast<size_t>(room) + 1, '\x7F');
  const int n = UnicodeToGm(Converter(), text.c_str(), static_cast<int>(text.size()), out.data(), room);
  EXPECT_EQ(out[static_cast<size_t>(n)], '\0');
  EXPECT_EQ(out[static_cast<size_t>(room)], '\x7F') << "nothing written past the room";
  return std::string(out.data(), static_cast<size_t>(n));
}

std::u16string FromGm(std::string gm, int room = 64) {
  std::vector<char16_t> out(static_cast<size_t>(room) + 1, u'\xFFFF');
  const int n = GmToUnicode(Converter(), gm.data(), out.data(), room);
  EXPECT_EQ(out[static_cast<size_t>(n)], u'\0');
  EXPECT_EQ(out[static_cast<size_t>(room)], u'\xFFFF') << "nothing written past the room";
  return std::u16string(out.data(), static_cast<size_t>(n));
}

}  // namespace

TEST(GmText, TablesArePresent) {
  ASSERT_TRUE(Converter().Tables().toV3.Present());
  ASSERT_TRUE(Converter().Tables().fromV3.Present());
}

TEST(GmText, HangulToGmAndBack) {
  // U+D55C U+AE00: KS C7 D1 B1 DB, rows 39 and 17, which GM places straight.
  const std::string gm = Bytes({0x94, 0x70, 0x89, 0x7A});
  EXPECT_EQ(ToGm(u"\xD55C\xAE00"), gm);
  EXPECT_EQ(ToGm(u"a\xD55C b"), Bytes({'a', 0x94, 0x70, ' ', 'b'}));
  EXPECT_EQ(FromGm(gm), u"\xD55C\xAE00");
  EXPECT_EQ(FromGm("x" + gm + "y"), u"x\xD55C\xAE00y");
}

TEST(GmText, GmToUnicodeLeavesKsInThePlaceOfTheGmText) {
  std::string text = Bytes({0x94, 0x70, 0x89, 0x7A});
  char16_t out[8];
  EXPECT_EQ(GmToUnicode(Converter(), text.data(), out, 8), 2);
  EXPECT_EQ(text, Bytes({0xC7, 0xD1, 0xB1, 0xDB}));
}

TEST(GmText, UsesTheGmV3Layout) {
  // Row 1 symbols move through the code table, not by the GM95 arithmetic.
  const auto& pages = codeconv::PlatformCodePages();
  int differing = 0;
  for (int cell = 1; cell <= 94; ++cell) {
    const DbChar ks = codeconv::MakeDb(0xA1, static_cast<uint8_t>(0xA0 + cell));
    const std::u16string unit = pages.ToUtf16(949, Bytes({0xA1, 0xA0 + cell}));
    if (unit.size() != 1) continue;
    const DbChar v3 = Converter().KsCharToGm(ks);
    EXPECT_EQ(ToGm(unit), Bytes({codeconv::Lead(v3), codeconv::Trail(v3)})) << cell;
    if (v3 != codeconv::KsCharToGm(ks)) ++differing;
  }
  EXPECT_GT(differing, 0);
}

TEST(GmText, EveryKsCharacterRoundTrips) {
  const auto& pages = codeconv::PlatformCodePages();
  const auto& cells = codeconv::test::AssignedKsCells();
  ASSERT_GT(cells.size(), 8000u);
  for (DbChar ks : cells) {
    const std::u16string unit = pages.ToUtf16(949, codeconv::test::Pair(ks));
    const std::string gm = ToGm(unit);
    ASSERT_EQ(gm.size(), 2u) << std::hex << ks;
    EXPECT_EQ(FromGm(gm), unit) << std::hex << ks;
  }
}

TEST(GmText, RoomHoldsTheTextAndItsNul) {
  const std::u16string text = u"\xD55C\xAE00";  // 4 bytes in GM
  EXPECT_EQ(ToGm(text, 5), Bytes({0x94, 0x70, 0x89, 0x7A}));
  EXPECT_EQ(ToGm(text, 4), "");
  EXPECT_EQ(ToGm(text, 1), "");
  char untouched = 'q';
  EXPECT_EQ(UnicodeToGm(Converter(), text.c_str(), 2, &untouched, 0), 0);
  EXPECT_EQ(untouched, 'q');

  const std::string gm = Bytes({0x94, 0x70, 0x89, 0x7A});
  EXPECT_EQ(FromGm(gm, 3), u"\xD55C\xAE00");
  EXPECT_EQ(FromGm(gm, 2), u"");
}

TEST(GmText, CountUpToTheNul) {
  const char16_t text[] = u"\xD55C\0\xAE00";
  char out[8];
  EXPECT_EQ(UnicodeToGm(Converter(), text, -1, out, 8), 2);
  EXPECT_EQ(std::string(out), Bytes({0x94, 0x70}));
  EXPECT_EQ(UnicodeToGm(Converter(), text, 0, out, 8), 0);
  EXPECT_EQ(out[0], '\0');
}

TEST(GmText, ExtensionSyllablesOfCodePage949BecomeQuestionMarks) {
  // Of the 11172 syllables, KS X 1001 holds 2350; the other 8822 come out of
  // code page 949 as extension pairs, which have no GM place.
  int marks = 0;
  int pairs = 0;
  for (char16_t s = 0xAC00; s <= 0xD7A3; ++s) {
    const std::u16string unit(1, s);
    const std::string gm = ToGm(unit);
    if (gm == "?") {
      ++marks;
      continue;
    }
    ASSERT_EQ(gm.size(), 2u) << std::hex << static_cast<int>(s);
    EXPECT_EQ(FromGm(gm), unit) << std::hex << static_cast<int>(s);
    ++pairs;
  }
  EXPECT_EQ(marks, 8822);
  EXPECT_EQ(pairs, 2350);
  // U+AC02 lies outside KS X 1001: one "?" between the neighbours.
  EXPECT_EQ(ToGm(u"a\xAC02\xD55C"), "a?" + Bytes({0x94, 0x70}));
}

TEST(GmText, KsToGmTextTakesEveryByteShape) {
  const std::string hangul = Bytes({0xC7, 0xD1});  // KS X 1001 row 39
  const struct {
    std::string ks, gm;
  } cases[] = {
      {"abc", "abc"},
      {hangul, Bytes({0x94, 0x70})},
      {Bytes({0x81, 0x41}), "?"},             // extension pair, trail below 0xA1
      {Bytes({0xA1, 0x41}) + "x", "?x"},      // lead in the KS range, trail not
      {Bytes({0x81, 0xA1}), "?"},             // lead below the KS rows
      {"x" + Bytes({0xC7}), "x?"},            // lead without its trail at the end
      {Bytes({0x80}) + "a", "?a"},            // bytes that lead nothing stay alone
      {Bytes({0xFF}) + "a", "?a"},
  };
  for (const auto& c : cases) EXPECT_EQ(KsToGmText(Converter(), c.ks), c.gm);
}

// The whole-text conversion against the converter's own pair conversion:
// every pair with a lead of code page 949, each after an ASCII byte, in one
// text; pairs of KS X 1001 (both bytes 0xA1 to 0xFE) take their GM pair,
// all others one "?".
TEST(GmText, KsToGmTextOfEveryPairEqualsThePairConversion) {
  std::string ks, expected;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x20; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      ks += 'a';
      expected += 'a';
      ks += Bytes({lead, trail});
      if (lead >= 0xA1 && trail >= 0xA1) {
        const DbChar gm = Converter().KsCharToGm(codeconv::MakeDb(static_cast<uint8_t>(lead), static_cast<uint8_t>(trail)));
        expected += Bytes({codeconv::Lead(gm), codeconv::Trail(gm)});
      } else {
        expected += '?';
      }
    }
  }
  EXPECT_EQ(KsToGmText(Converter(), ks), expected);
  // And without the ASCII bytes between them: pair after pair.
  std::string pairs, pairsExpected;
  for (int lead = 0xA1; lead <= 0xFE; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      pairs += Bytes({lead, trail});
      const DbChar gm = Converter().KsCharToGm(codeconv::MakeDb(static_cast<uint8_t>(lead), static_cast<uint8_t>(trail)));
      pairsExpected += Bytes({codeconv::Lead(gm), codeconv::Trail(gm)});
    }
  }
  EXPECT_EQ(KsToGmText(Converter(), pairs), pairsExpected);
}
