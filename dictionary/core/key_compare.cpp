#include "key_compare.h"

#include <array>
#include <string>

#include "code_page.h"
#include "data_files.h"

namespace ombrel {

namespace {

// ㄱ U+3131 ... ㅎ U+314E; the vowels after it all give 아.
constexpr char16_t kJamoFirst[] = {
    u'가', u'까', u'나', u'나', u'다', u'다', u'다', u'따', u'라', u'마', u'마', u'마', u'마', u'마', u'마', u'마',
    u'마', u'바', u'빠', u'사', u'사', u'싸', u'아', u'자', u'짜', u'차', u'카', u'타', u'파', u'하'};
static_assert(sizeof kJamoFirst / sizeof kJamoFirst[0] == 0x314F - 0x3131);

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// Half-width katakana U+FF66-U+FF9D as full-width katakana.
constexpr char16_t kHalfWidthKana[] =
    u"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン";
static_assert(sizeof kHalfWidthKana / sizeof(char16_t) - 1 == 0xFF9D - 0xFF66 + 1);

char16_t FoldForJapaneseOrder(char16_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<char16_t>(c - 0xFF01 + 0x21);  // full-width ASCII
  else if (c == 0x3000) c = 0x20;
  else if (c >= 0xFF66 && c <= 0xFF9D) c = kHalfWidthKana[c - 0xFF66];
  else if (c == 0xFF9E) c = 0x309B;
  else if (c == 0xFF9F) c = 0x309C;
  else if (c == 0xFF61) c = 0x3002;
  else if (c == 0xFF62) c = 0x300C;
  else if (c == 0xFF63) c = 0x300D;
  else if (c == 0xFF64) c = 0x3001;
  else if (c == 0xFF65) c = 0x30FB;
  if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c + 0x20);
  return FoldKatakanaUnit(c);
}

}  // namespace

bool IsCompatibilityJamo(char16_t c) { return c >= 0x3131 && c <= 0x3163; }

char16_t JamoFirstSyllable(char16_t jamo) {
  if (jamo < 0x3131 || jamo > 0x3163) return jamo;
  if (jamo >= 0x314F) return u'아';
  return kJamoFirst[jamo - 0x3131];
}

int CompareJamoWithSyllable(char16_t x, char16_t y) {
  const bool jx = IsCompatibilityJamo(x);
  const bool jy = IsCompatibilityJamo(y);
  if (jx == jy) return static_cast<int>(x) - static_cast<int>(y);
  if (jx) {
    const char16_t s = JamoFirstSyllable(x);
    if (s == y) return -1;
    return Sign(static_cast<int>(s) - static_cast<int>(y));
  }
  const char16_t s = JamoFirstSyllable(y);
  if (s == x) return 1;
  return Sign(static_cast<int>(x) - static_cast<int>(s));
}

int CompareHangulKeys(std::u16string_view a, std::u16string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return CompareJamoWithSyllable(a[i], b[i]);
  }
  return Sign(static_cast<int>(a.size()) - static_cast<int>(b.size()));
}

int CompareKanaFolded(std::u16string_view a, std::u16string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = FoldKatakanaUnit(a[i]);
    const char16_t y = FoldKatakanaUnit(b[i]);
    if (x != y) return static_cast<int>(x) - static_cast<int>(y);
  }
  return Sign(static_cast<int>(a.size()) - static_cast<int>(b.size()));
}

int CompareUnits(std::u16string_view a, std::u16string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return static_cast<int>(a[i]) - static_cast<int>(b[i]);
  }
  return Sign(static_cast<int>(a.size()) - static_cast<int>(b.size()));
}

uint16_t JapaneseSortWeight(char16_t c) {
  // Filled on first use of each unit: 0 means not looked up yet.
  static std::array<uint16_t, 0x10000> weights{};
  uint16_t& w = weights[c];
  if (w == 0) {
    const char16_t folded = FoldForJapaneseOrder(c);
    const std::string bytes = codeconv::PlatformCodePages().FromUtf16(932, std::u16string(1, folded));
    if (bytes.size() == 1) {
      w = static_cast<uint8_t>(bytes[0]);
    } else if (bytes.size() == 2) {
      w = static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) << 8 | static_cast<uint8_t>(bytes[1]));
    } else {
      w = '?';  // what the conversion puts for a character code page 932 lacks
    }
    if (w == 0) w = 1;  // U+0000 itself: keep 0 free as the mark of "not yet"
  }
  return w;
}

int CompareJapaneseKeys(std::u16string_view a, std::u16string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;
    const uint16_t x = JapaneseSortWeight(a[i]);
    const uint16_t y = JapaneseSortWeight(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return Sign(static_cast<int>(a.size()) - static_cast<int>(b.size()));
}

int CompareKeys(int32_t flags, std::u16string_view a, std::u16string_view b) {
  const bool korean = (flags & kFlagKorean) != 0;
  const bool reversed = (flags & kFlagReversed) != 0;
  if (!korean) return reversed ? CompareKanaFolded(a, b) : CompareJapaneseKeys(a, b);
  return reversed ? CompareUnits(a, b) : CompareHangulKeys(a, b);
}

}  // namespace ombrel
