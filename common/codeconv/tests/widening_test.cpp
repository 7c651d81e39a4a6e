#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code_page.h"
#include "fixtures.h"
#include "gm_converter.h"

namespace codeconv {
namespace {

using test::Pair;

std::string Widen(const GmCodeConverter& c, const std::string& in, bool ks, size_t capacity = 64) {
  std::vector<char> out(capacity, '\x7F');
  const int n = ks ? c.WidenKsText(out.data(), capacity, in.data(), static_cast<unsigned>(in.size()))
                   : c.WidenSjisText(out.data(), capacity, in.data(), static_cast<unsigned>(in.size()));
  if (capacity == 0) return {};
  EXPECT_EQ(out[static_cast<size_t>(n)], '\0');
  return std::string(out.data(), static_cast<size_t>(n));
}

struct WidenCase {
  std::string in, out;
};

TEST(Widening, ShiftJisCases) {
  GmCodeConverter c;
  const std::vector<WidenCase> cases = {
      {"\xB6\xDE", "\x83\x4B"},              // ｶﾞ -> ガ, both bytes taken
      {"\xCA\xDF", "\x83\x70"},              // ﾊﾟ -> パ
      {"\xB1\xDE", "\x83\x41\x81\x4A"},      // ｱﾞ -> ア ゛
      {"\xB3\xDE", "\x83\x94"},              // ｳﾞ -> ヴ
      {"\xB6\xDF", "\x83\x4A\x81\x4B"},      // ｶﾟ -> カ ゜
      {"\xB6", "\x83\x4A"},                  // a kana at the very end
      {"\"'`~", "\x81\x8D\x81\x8C\x81\x8C\x81\x60"},
      {"\xA0\xA1\xA5", "\x81\x45\x81\x42\x81\x45"},
      {" A0z\\", "\x81\x40\x82\x60\x82\x4F\x82\x9A\x81\x5F"},
      {"\x88\x9F" "a", "\x88\x9F\x82\x81"},  // a pair is copied
      {"a\x88", "\x82\x81\x88"},             // a lone lead byte at the end stays
      {"\r\n\x7F\xFD", "\r\n\x7F\xFD"},      // bytes without a full-width form stay single
      {"", ""},
  };
  for (const WidenCase& w : cases) EXPECT_EQ(Widen(c, w.in, false), w.out) << w.in;
}

TEST(Widening, EveryVoicedKanaMatchesCodePage932) {
  GmCodeConverter c;
  const CodePageConverter& pages = PlatformCodePages();
  const std::string voiced = "\xB6\xB7\xB8\xB9\xBA\xBB\xBC\xBD\xBE\xBF\xC0\xC1\xC2\xC3\xC4\xCA\xCB\xCC\xCD\xCE\xB3";
  for (char k : voiced) {
    const std::u16string plain = pages.ToUtf16(932, std::string(1, k));
    ASSERT_EQ(plain.size(), 1u);
    const std::u16string got = pages.ToUtf16(932, Widen(c, std::string(1, k) + "\xDE", false));
    const std::u16string base = pages.ToUtf16(932, Widen(c, std::string(1, k), false));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], k == '\xB3' ? u'\u30F4' : static_cast<char16_t>(base[0] + 1));
    if (static_cast<uint8_t>(k) >= 0xCA && static_cast<uint8_t>(k) <= 0xCE) {
      EXPECT_EQ(pages.ToUtf16(932, Widen(c, std::string(1, k) + "\xDF", false)),
                std::u16string(1, static_cast<char16_t>(base[0] + 2)));
    }
  }
}

TEST(Widening, KsTextEndsInKs) {
  GmCodeConverter c;
  c.SetTables(test::GeneratedTables());
  const CodePageConverter& pages = PlatformCodePages();
  // The backslash becomes the won sign; letters their full-width KS forms.
  EXPECT_EQ(pages.ToUtf16(949, Widen(c, "\\A~ ", true)), u"￦Ａ～　");
  EXPECT_EQ(Widen(c, "\xB0\xA1" "1", true), "\xB0\xA1\xA3\xB1");
  EXPECT_EQ(Widen(c, "1\xB0", true), "\xA3\xB1\xB0");  // lone lead at the end
}

TEST(Widening, StopsAtTheCapacityAndAlwaysTerminates) {
  GmCodeConverter c;
  EXPECT_EQ(Widen(c, "AB", false, 3), "\x82\x60");  // the second pair would leave no room
  EXPECT_EQ(Widen(c, "AB", false, 5), "\x82\x60\x82\x61");
  EXPECT_EQ(Widen(c, "AB", false, 1), "");
  char untouched = 'x';
  EXPECT_EQ(c.WidenSjisText(&untouched, 0, "AB", 2), 0);
  EXPECT_EQ(untouched, 'x');
}

TEST(Widening, CombineHalfKanaReportsTheAbsorbedMark) {
  uint8_t pair[2] = {0xC0, 0xDE};
  EXPECT_EQ(GmCodeConverter::CombineHalfKana(pair), 1);
  EXPECT_EQ(Pair(MakeDb(pair[0], pair[1])), "\x83\x5F");  // ダ
  uint8_t other[2] = {0x41, 0xDE};
  EXPECT_EQ(GmCodeConverter::CombineHalfKana(other), 0);
  EXPECT_EQ(other[0], 0x41);
}

}  // namespace
}  // namespace codeconv
