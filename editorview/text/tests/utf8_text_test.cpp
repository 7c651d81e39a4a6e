#include "utf8_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace editorview;

namespace {

std::string Bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s.push_back(static_cast<char>(b));
  return s;
}

// The bytes in a heap block of exactly their size, so that the sanitizer
// sees any read past them.
std::unique_ptr<char[]> Exact(const std::string& s) {
  std::unique_ptr<char[]> p(new char[s.empty() ? 1 : s.size()]);
  std::memcpy(p.get(), s.data(), s.size());
  return p;
}

std::u16string Decode(const std::string& s) {
  auto p = Exact(s);
  std::vector<char16_t> out(s.size() + 1, u'\xFFFF');
  const int n = Utf8ToUtf16(p.get(), out.data(), static_cast<int>(s.size()));
  EXPECT_EQ(Utf16LengthOfUtf8(p.get(), static_cast<int>(s.size())), n);  // no NUL in these cases
  EXPECT_EQ(out[n], u'\xFFFF') << "nothing is written after the units";
  return std::u16string(out.data(), static_cast<size_t>(n));
}

std::string Encode(const std::u16string& u) {
  std::string out(3 * u.size() + 1, '\x7F');
  const int n = Utf16ToUtf8(u.data(), out.data(), static_cast<int>(u.size()));
  EXPECT_EQ(Utf8LengthOfUtf16(u.data(), static_cast<int>(u.size())), n);
  EXPECT_EQ(out[n], '\x7F') << "no NUL when the count runs out";
  return out.substr(0, static_cast<size_t>(n));
}

}  // namespace

TEST(Utf16ToUtf8, EncodesEachUnitByItsRange) {
  struct Case {
    char16_t unit;
    std::string bytes;
  } cases[] = {
      {u'\x0001', Bytes({0x01})},
      {u'A', "A"},
      {u'\x007F', Bytes({0x7F})},
      {u'\x0080', Bytes({0xC2, 0x80})},
      {u'\x00E9', Bytes({0xC3, 0xA9})},
      {u'\x07FF', Bytes({0xDF, 0xBF})},
      {u'\x0800', Bytes({0xE0, 0xA0, 0x80})},
      {u'\xAC00', Bytes({0xEA, 0xB0, 0x80})},
      {u'\xD800', Bytes({0xED, 0xA0, 0x80})},  // a lone surrogate on its own
      {u'\xDFFF', Bytes({0xED, 0xBF, 0xBF})},
      {u'\xFFFF', Bytes({0xEF, 0xBF, 0xBF})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Encode(std::u16string(1, c.unit)), c.bytes) << std::hex << int(c.unit);
    EXPECT_EQ(Decode(c.bytes), std::u16string(1, c.unit)) << std::hex << int(c.unit);
  }
}

TEST(Utf16ToUtf8, NulEndsTheWorkAndIsWritten) {
  const char16_t text[] = u"\xAC00" u"a\0b";
  char out[16];
  std::memset(out, 0x7F, sizeof out);
  EXPECT_EQ(Utf16ToUtf8(text, out, 4), 4);
  EXPECT_EQ(std::string(out, 5), Bytes({0xEA, 0xB0, 0x80, 'a', 0}));
  EXPECT_EQ(out[5], '\x7F');
  EXPECT_EQ(Utf8LengthOfUtf16(text, 4), 5);  // the NUL lies within the count
  EXPECT_EQ(Utf8LengthOfUtf16(text, 2), 4);  // it does not
  EXPECT_EQ(Utf8LengthOfUtf16(text, -1), 5);
  EXPECT_EQ(Utf8LengthOfUtf16(text, 0), 0);

  std::memset(out, 0x7F, sizeof out);
  EXPECT_EQ(Utf16ToUtf8(text, out, -1), 4);
  EXPECT_EQ(out[4], '\0');
  EXPECT_EQ(Utf16ToUtf8(text, out, 0), 0);
}

TEST(Utf8ToUtf16, EveryBmpUnitRoundTrips) {
  std::u16string all;
  for (unsigned u = 1; u <= 0xFFFF; ++u) all.push_back(static_cast<char16_t>(u));
  const std::string utf8 = Encode(all);
  EXPECT_EQ(utf8.size(), 0x7Fu + 2 * (0x800u - 0x80u) + 3 * (0x10000u - 0x800u));
  EXPECT_EQ(Decode(utf8), all);
}

TEST(Utf8ToUtf16, DamagedSequences) {
  const char16_t X = kUndecodableUnit;
  struct Case {
    const char* what;
    std::string bytes;
    std::u16string units;
  } cases[] = {
      {"4-byte sequence: one mark, 4 bytes consumed", Bytes({0xF0, 0x9F, 0x98, 0x80, 'a'}), {X, u'a'}},
      {"5-byte sequence", Bytes({0xF8, 0x88, 0x80, 0x80, 0x80, 'a'}), {X, u'a'}},
      {"6-byte sequence", Bytes({0xFC, 0x84, 0x80, 0x80, 0x80, 0x80, 'a'}), {X, u'a'}},
      {"stray continuation byte", Bytes({'a', 0x80, 'b'}), {u'a', X, u'b'}},
      {"stray continuation bytes in a row count as one character", Bytes({0x80, 0x80, 'b'}), {X, u'b'}},
      {"2-byte lead without its continuation", Bytes({0xC3, 'A', 'B', 'C', 'D', 'E'}), u"\x3013" u"ABCDE"},
      {"3-byte lead with one continuation", Bytes({0xEA, 0xB0, 'A'}), {X, X, u'A'}},
      {"4-byte lead without continuations", Bytes({0xF0, 'A', 'B', 'C'}), u"\x3013" u"ABC"},
      {"bytes FE and FF", Bytes({0xFE, 0xFF, 'z'}), {X, X, u'z'}},
      {"overlong 2-byte form decodes by its bits", Bytes({0xC1, 0x81}), u"A"},
      {"valid text after damage", Bytes({0xFF, 0xEA, 0xB0, 0x80}), {X, u'\xAC00'}},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.bytes), c.units) << c.what;
}

TEST(Utf8ToUtf16, NeverReadsPastTheCount) {
  // Each sequence cut by the count: the sanitizer checks that no byte after
  // the heap block is read; the cut bytes decode as damaged ones.
  const char16_t X = kUndecodableUnit;
  EXPECT_EQ(Decode(Bytes({'a', 0xEA, 0xB0})), (std::u16string{u'a', X, X}));
  EXPECT_EQ(Decode(Bytes({0xC3})), std::u16string(1, X));
  // F0 alone, then 9F 98 (a stray byte with the continuation it marks).
  EXPECT_EQ(Decode(Bytes({0xF0, 0x9F, 0x98})), (std::u16string{X, X}));
  EXPECT_EQ(Decode(Bytes({0xFC, 0x84, 0x80, 0x80, 0x80})), (std::u16string{X, X, X}));
  EXPECT_EQ(Decode(Bytes({0x80})), std::u16string(1, X));
  // A count shorter than the text leaves the rest unread and undecoded.
  const std::string text = Bytes({0xEA, 0xB0, 0x80, 0xEA, 0xB0, 0x80});
  auto p = Exact(text);
  char16_t out[4] = {1, 1, 1, 1};
  EXPECT_EQ(Utf8ToUtf16(p.get(), out, 4), 2);
  EXPECT_EQ(out[0], u'\xAC00');
  EXPECT_EQ(out[1], X);
  EXPECT_EQ(out[2], 1);
}

TEST(Utf8ToUtf16, NulStopsAndIsWritten) {
  const std::string text = Bytes({'a', 0xC3, 0xA9, 0, 'b'});
  auto p = Exact(text);
  char16_t out[8];
  std::fill(std::begin(out), std::end(out), u'\xFFFF');
  EXPECT_EQ(Utf8ToUtf16(p.get(), out, 5), 2);
  EXPECT_EQ(out[2], 0);
  EXPECT_EQ(out[3], u'\xFFFF');
  EXPECT_EQ(Utf16LengthOfUtf8(p.get(), 5), 3);

  // Up to the NUL: a damaged sequence before the NUL does not skip over it.
  const std::string damaged = Bytes({0xFC, 0x84, 0});
  auto q = Exact(damaged);
  EXPECT_EQ(Utf8ToUtf16(q.get(), out, -1), 2);
  EXPECT_EQ(out[0], kUndecodableUnit);
  EXPECT_EQ(out[1], kUndecodableUnit);
  EXPECT_EQ(out[2], 0);
  EXPECT_EQ(Utf16LengthOfUtf8(q.get(), -1), 3);
  EXPECT_EQ(Utf8ToUtf16(q.get(), out, 0), 0);
  EXPECT_EQ(Utf16LengthOfUtf8(q.get(), 0), 0);
}

TEST(Utf8CharLength, ByMarkerAndContinuations) {
  struct Case {
    std::string bytes;  // NUL-terminated by std::string
    int length;
  } cases[] = {
      {"A", 1},
      {Bytes({0xC3, 0xA9}), 2},
      {Bytes({0xC3, 'A'}), 1},
      {Bytes({0xEA, 0xB0, 0x80}), 3},
      {Bytes({0xEA, 0xB0}), 1},
      {Bytes({0xF0, 0x9F, 0x98, 0x80}), 4},
      {Bytes({0xF8, 0x88, 0x80, 0x80, 0x80}), 5},
      {Bytes({0xFC, 0x84, 0x80, 0x80, 0x80, 0x80}), 6},
      {Bytes({0xFC, 0x84, 0x80, 0x80, 0x80}), 1},
      // A stray continuation byte counts alone unless continuation bytes
      // follow it: its clear bit 5 (0x80-0x9F) or 4 (0xA0-0xAF) marks a length.
      {Bytes({0x80, 'A'}), 1},
      {Bytes({0x80, 0x80}), 2},
      {Bytes({0xA0, 0x80, 0x80}), 3},
      {Bytes({0xBF, 0x80}), 1},
      {Bytes({0xFE, 0x80}), 1},
      {Bytes({0xFF, 0x80}), 1},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8CharLength(c.bytes.c_str()), c.length) << std::hex << int(uint8_t(c.bytes[0]));
}

TEST(Utf8PrevChar, FindsTheStartOfTheCharacterBefore) {
  const std::string text = Bytes({'a', 0xEA, 0xB0, 0x80, 0xC3, 0xA9, 0x80, 0x80, 'z'});
  const char* s = text.c_str();
  EXPECT_EQ(Utf8PrevChar(s, s), s);
  EXPECT_EQ(Utf8PrevChar(s, s + 1), s);
  EXPECT_EQ(Utf8PrevChar(s, s + 4), s + 1);  // after the 3-byte character: its first byte
  EXPECT_EQ(Utf8PrevChar(s, s + 3), s + 1);  // inside it: its first byte too
  EXPECT_EQ(Utf8PrevChar(s, s + 6), s + 4);
  // C3 A9 80 80: C3 A9 is one character, the two stray bytes another.
  EXPECT_EQ(Utf8PrevChar(s, s + 8), s + 6);
  EXPECT_EQ(Utf8PrevChar(s, s + 9), s + 8);
  // Continuation bytes at the very start.
  const std::string lead = Bytes({0x80, 0x80, 0x80, 'b'});
  EXPECT_EQ(Utf8PrevChar(lead.c_str(), lead.c_str() + 3), lead.c_str() + 2);
  EXPECT_EQ(Utf8PrevChar(lead.c_str(), lead.c_str() + 2), lead.c_str());
}
