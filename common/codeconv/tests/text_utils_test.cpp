#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gm_converter.h"
#include "ime_layouts.h"
#include "text_utils.h"

namespace codeconv {
namespace {

struct OrdinalCase {
  const char* text;
  int ordinal;
  int charClass;
};

TEST(CharClass, OrdinalsAndClasses) {
  const OrdinalCase cases[] = {
      {"A", 0x41, 0},         {"\xB1", 0xB1, 0},      {"\x81\x40", 256, 0},   {"\x81\x7E", 318, 0},
      {"\x81\x80", 319, 0},   {"\x81\xFC", 443, 0},   {"\x82\x9F", 538, 1},   {"\x82\xF1", 620, 1},
      {"\x82\xF2", 621, 0},   {"\x83\x40", 632, 2},   {"\x83\x96", 717, 2},   {"\x83\x97", 718, 0},
      {"\x81\x5C", 284, 2},   {"\x81\x58", 280, 3},   {"\x88\x9E", 1665, 0},  {"\x88\x9F", 1666, 3},
      {"\x9F\xFC", 6083, 3},  {"\xE0\x40", 6084, 3},  {"\x81\x7F", -1, 0},    {"\x81\x20", -1, 0},
      {"\x81", -1, 0},        {"", 0, 0},
  };
  for (const OrdinalCase& c : cases) {
    EXPECT_EQ(GetSjisCharOrdinal(c.text), c.ordinal) << c.text;
    EXPECT_EQ(GetSjisCharClass(c.text), c.charClass) << c.text;
  }
}

TEST(CharClass, StringClass) {
  EXPECT_EQ(GetStringCharClass("\x82\xA0\x82\xA2"), 1);
  EXPECT_EQ(GetStringCharClass("\x82\xA0\x83\x41"), -1);
  EXPECT_EQ(GetStringCharClass("\x81\x58"), 3);
  EXPECT_EQ(GetStringCharClass("\x88\x9F\x81\x58"), 3);
  EXPECT_EQ(GetStringCharClass(""), 0);
  EXPECT_EQ(GetStringCharClass("ab"), 0);
  EXPECT_EQ(GetStringCharClass("a\x82\xA0"), -1);
  EXPECT_EQ(GetStringCharClass("\x82\xA0\x82"), -1);  // a lone lead at the end is malformed
}

TEST(Trimming, WalksBackOverBlanksAndNuls) {
  const char text[] = "ab  \0 ";
  EXPECT_EQ(GetTrimmedLength(text, 5), 2);
  EXPECT_EQ(GetTrimmedLength(text, 1), 2);
  EXPECT_EQ(GetTrimmedLength(text, 0), 1);
  EXPECT_EQ(GetTrimmedLength("   ", 2), 0);
  EXPECT_EQ(GetTrimmedLength("a", -1), 0);
}

std::string Escape(const std::u16string& text, unsigned size, int* consumed = nullptr) {
  std::vector<char> out(size + 1, '\x7F');  // one guard byte after the given size
  const int n = EscapeForCommandLine(out.data(), size, text.data(), static_cast<int>(text.size()));
  if (consumed) *consumed = n;
  EXPECT_EQ(out[size], '\x7F');
  return size ? std::string(out.data()) : std::string();
}

TEST(Escaping, Cases) {
  struct Case {
    std::u16string text;
    std::string escaped;
  };
  const Case cases[] = {
      {u"a b", "%61+%62"},
      {u"\uAC00", "%uAC00"},
      {u"\x09", "% 9"},
      {u"\u0080", "%u  80"},
      {u"._-", "._-"},
      {u"A\u3042", "%41%u3042"},
  };
  for (const Case& c : cases) EXPECT_EQ(Escape(c.text, 64), c.escaped);
}

TEST(Escaping, StopsWhereTheOutputEndsAndAlwaysTerminates) {
  int consumed = 0;
  EXPECT_EQ(Escape(u"a\uAC00", 5, &consumed), "%61");
  EXPECT_EQ(consumed, 1);
  EXPECT_EQ(Escape(u"\uAC00", 6, &consumed), "");  // six characters leave no room for the NUL
  EXPECT_EQ(consumed, 0);
  EXPECT_EQ(Escape(u"\uAC00", 7, &consumed), "%uAC00");
  EXPECT_EQ(consumed, 1);
  EXPECT_EQ(Escape(u"ab", 4, &consumed), "%61");
  EXPECT_EQ(Escape(u"..", 2, &consumed), ".");
  EXPECT_EQ(Escape(u"a\0b", 64, &consumed), "%61");  // a NUL unit ends the text
  EXPECT_EQ(consumed, 1);
  char out[4] = "xyz";
  EXPECT_EQ(EscapeForCommandLine(out, sizeof out, u"a", 0), 0);
  EXPECT_EQ(out[0], '\0');
  EXPECT_EQ(EscapeForCommandLine(out, 0, u"a", 1), 0);
  EXPECT_EQ(EscapeForCommandLine(nullptr, 4, u"a", 1), 0);
}

std::u16string Unescape(const std::string& text, int units, size_t* stop = nullptr) {
  std::vector<char16_t> out(static_cast<size_t>(units) + 1, u'\x7F');
  const int n = UnescapePercentText(out.data(), units, text.data(), text.size(), stop);
  EXPECT_EQ(out[static_cast<size_t>(units)], u'\x7F');
  return std::u16string(out.data(), static_cast<size_t>(n));
}

TEST(Escaping, RoundTripThroughTheDecoder) {
  std::u16string every;
  for (char16_t u = 1; u < 0x80; ++u) every.push_back(u);
  for (const std::u16string& text : {every, std::u16string(u"\uAC00\uD7A3 \u3042\u30A2\uFF01\u0080\uFFFF")}) {
    std::vector<char> out(text.size() * 6 + 1);
    ASSERT_EQ(EscapeForCommandLine(out.data(), static_cast<unsigned>(out.size()), text.data(),
                                   static_cast<int>(text.size())),
              static_cast<int>(text.size()));
    const std::string escaped(out.data());
    EXPECT_EQ(Unescape(escaped, static_cast<int>(text.size()) + 1), text);
  }
}

TEST(Escaping, DecoderStopsAtMalformedEscapes) {
  struct Case {
    std::string text;
    std::u16string units;
    size_t stop;
  };
  const Case cases[] = {
      {"a%4", u"a", 1},       {"a%u12", u"a", 1},    {"%G1b", u"", 0},     {"%-1", u"", 0},
      {"%u+FFF", u"", 0},     {"%4 ", u"", 0},       {"x+y", u"x y", 3},   {std::string("ab\0c", 4), u"ab", 2},
      {"%UAC00", u"\uAC00", 6}, {"\xB0", u"\u00B0", 1},
  };
  for (const Case& c : cases) {
    size_t stop = 99;
    EXPECT_EQ(Unescape(c.text, 8, &stop), c.units) << c.text;
    EXPECT_EQ(stop, c.stop) << c.text;
  }
  size_t stop = 99;
  EXPECT_EQ(Unescape("abc", 2, &stop), u"ab");  // full: no room for the NUL
  EXPECT_EQ(stop, 2u);
  EXPECT_EQ(UnescapePercentText(nullptr, 4, "a", 1, &stop), 0);
  EXPECT_EQ(stop, 0u);
}

TEST(Spacing, NormaliserCases) {
  struct Case {
    int mode;
    std::string in, out;
  };
  const Case cases[] = {
      {0, "ab  cd", "ab cd"},
      {0, "ab cd ", "ab cd"},
      {0, "\x81\x42 \x81\x75", "\x81\x42\x81\x75"},        // 。 「
      {0, "\x88\x9F \x88\xA0", "\x88\x9F\x88\xA0"},        // between kanji
      {0, "\x88\x9F a", "\x88\x9F a"},                     // before a word
      {0, "a \x88\x9F", "a \x88\x9F"},                     // after a word
      {0, "\x82\xA0 \x82\xA2", "\x82\xA0 \x82\xA2"},       // hiragana are word characters
      {0, "a\x81\x40\x81\x40 b", "a\x81\x40" "b"},         // a full-width blank run shrinks to the first
      {0, "( a", "(a"},                                    // after a bracket: not a word character
      {0, "\x81\x75 a b", "\x81\x75" "a b"},
      {0, "\xB1 \xB2", "\xB1 \xB2"},                       // half-width kana are word characters
      {0, " ", ""},
      {0, "a\x88", "a\x88"},                               // lone lead at the end
      {1, "\xA3\xC1 \xB0\xA1", "\xA3\xC1 \xB0\xA1"},
      {1, "\xB0\xA1\xA1\xA1\xB0\xA2", "\xB0\xA1\xB0\xA2"},
      {2, "\xA4\x40\xA1\x40\xA4\x41", "\xA4\x40\xA4\x41"},
      {2, "\xA2\xCF\xA1\x40\xA4\x41", "\xA2\xCF\xA1\x40\xA4\x41"},
      {3, "a  b ", "a  b "},
  };
  GmCodeConverter converter;
  for (const Case& c : cases) {
    std::vector<char> out(c.in.size() + 1, '\x7F');
    converter.NormalizeSpacing(c.in.c_str(), out.data(), c.mode);
    EXPECT_EQ(std::string(out.data()), c.out) << c.mode << " '" << c.in << "'";
    std::string inPlace = c.in;
    NormalizeSpacing(inPlace.data(), inPlace.data(), c.mode);
    EXPECT_EQ(std::string(inPlace.c_str()), c.out);
  }
}

// A fake list of layouts and input contexts that records what is done to it.
class FakeLayouts final : public KeyboardLayoutSystem {
 public:
  std::vector<ImeLayoutEntry> installed;
  uintptr_t current = 0;
  bool open = true;
  mutable int listed = 0;
  std::vector<std::string> calls;

  std::vector<ImeLayoutEntry> InstalledLayouts() const override {
    ++listed;
    return installed;
  }
  uintptr_t CurrentLayout() const override { return current; }
  std::string FileNameOf(uintptr_t layout) const override {
    for (const auto& e : installed) {
      if (e.layout == layout) return e.fileName;
    }
    return {};
  }
  bool IsOpen(uintptr_t) const override { return open; }
  void SetOpen(uintptr_t, bool o) override {
    open = o;
    calls.push_back(o ? "open" : "close");
  }
  void Activate(uintptr_t layout) override {
    current = layout;
    calls.push_back("activate " + std::to_string(layout));
  }
};

FakeLayouts Installed() {
  FakeLayouts f;
  f.installed = {{0x04110411, ""},           {0xE0010411, "TILBEN95.IME"}, {0xE0020411, "ZORARER2.OVI"},
                 {0xE0030411, "warbenv7.ime"}, {0xE0040411, "WARBENV6.IME"}, {0xE0050411, "ZORBENV6.IME"}};
  f.current = 0x04110411;
  return f;
}

TEST(ImeLayouts, Selection) {
  const FakeLayouts f = Installed();
  struct Case {
    const char* name;
    uintptr_t layout;
  };
  const Case cases[] = {
      {"warbenv6.ime", 0xE0040411},  // exact beats the earlier prefix match
      {"WARBENV5.IME", 0xE0030411},  // a newer edition of the same input method
      {"TILBEN96.IME", 0},           // shares its prefix only with an excluded one
      {"ZORAR.IME", 0},
      {"ZORBENV9.IME", 0xE0050411},
      {"NOPE.IME", 0},
      {"", 0},
      {"WARB", 0},                   // too short to be a prefix of anything longer
  };
  for (const Case& c : cases) EXPECT_EQ(SelectImeLayout(c.name, f.installed), c.layout) << c.name;
  std::vector<ImeLayoutEntry> many(kMaxExaminedLayouts, {1, "OTHER.IME"});
  many.push_back({2, "LATE.IME"});
  EXPECT_EQ(SelectImeLayout("LATE.IME", many), 0u);
}

TEST(ImeLayouts, TextServicesNeedsNoList) {
  FakeLayouts f = Installed();
  EXPECT_EQ(FindImeLayoutByName(f, kTextServicesName), kTextServicesLayout);
  EXPECT_EQ(FindImeLayoutByName(f, ""), 0u);
  EXPECT_EQ(f.listed, 0);
  EXPECT_EQ(FindImeLayoutByName(f, "WARBENV6.IME"), 0xE0040411u);
  EXPECT_EQ(f.listed, 1);
}

TEST(ImeLayouts, SwitchKeepsTheOpenState) {
  FakeLayouts f = Installed();
  ActivateImeByName(f, 1, "WARBENV6.IME");
  EXPECT_EQ(f.calls, (std::vector<std::string>{"close", "activate " + std::to_string(0xE0040411), "open"}));
  f.calls.clear();
  ActivateImeByName(f, 1, "warbenv6.ime");  // already active: nothing at all
  EXPECT_TRUE(f.calls.empty());
  f.open = false;
  ActivateImeByName(f, 1, "ZORBENV6.IME");
  EXPECT_EQ(f.calls, (std::vector<std::string>{"activate " + std::to_string(0xE0050411)}));
  f.calls.clear();
  ActivateImeByName(f, 1, "MISSING.IME");
  EXPECT_TRUE(f.calls.empty());
}

// The tools' decoder: ASCII, 2-, 3- and 4-byte forms (U+00E9, U+AC00 가,
// U+1F600), and a sequence the text cuts off keeps the bits it has.
TEST(DecodeUtf8Unchecked, EachFormAndACutSequence) {
  EXPECT_EQ(DecodeUtf8Unchecked("a\xC3\xA9\xEA\xB0\x80\xF0\x9F\x98\x80"), (std::u32string{U'a', 0xE9, 0xAC00, 0x1F600}));
  EXPECT_EQ(DecodeUtf8Unchecked(""), std::u32string());
  EXPECT_EQ(DecodeUtf8Unchecked("x\xEA\xB0"), (std::u32string{U'x', (0xAu << 6) | 0x30}));
}

}  // namespace
}  // namespace codeconv
