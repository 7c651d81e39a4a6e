#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "charvane_detect.h"
#include "code_page.h"
#include "fixtures.h"

namespace {

// The editor's reading of the flag word (mask 992) and the view's (mask 96).
constexpr unsigned kFileMask = 992;
constexpr unsigned kPasteMask = 96;
constexpr unsigned kAnyUtf16 = 0x1B0318;
constexpr unsigned kAnyUtf8 = 0x48084;
constexpr unsigned kKsBit = 0x20;
constexpr unsigned kGmBit = 0x40;

enum class Seen { kNothing, kUtf16, kUtf8, kKs, kGm, kKsAndGm };

// What the editor makes of the flags: UTF-16 first, then UTF-8, then the
// byte codes.
Seen EditorSees(unsigned flags) {
  if (flags & kAnyUtf16) return Seen::kUtf16;
  if (flags & kAnyUtf8) return Seen::kUtf8;
  const bool ks = flags & kKsBit, gm = flags & kGmBit;
  if (ks && gm) return Seen::kKsAndGm;
  if (gm) return Seen::kGm;
  if (ks) return Seen::kKs;
  return Seen::kNothing;
}

unsigned Detect(const std::string& bytes, unsigned mask) {
  return charvane::Detect(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), mask);
}

std::string Utf16Le(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}
std::string Utf16Be(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c >> 8));
    out.push_back(static_cast<char>(c & 0xFF));
  }
  return out;
}

const std::u16string kKorean = u"한국어 문장입니다. 글자와 숫자 123, 그리고 漢字도 있습니다.\r\n";

std::string Ks() { return codeconv::PlatformCodePages().FromUtf16(949, kKorean); }
std::string Gm() {
  std::string ks = Ks();
  ks.push_back('\0');
  codeconv::test::GeneratedConverter().KsToGm(ks.data(), static_cast<unsigned>(ks.size() - 1));
  ks.pop_back();
  return ks;
}

struct Case {
  const char* name;
  std::string bytes;
  Seen file;   // mask 992
  bool pasteGm;  // mask 96: bit 0x40
};

TEST(Charvane, TableOfTexts) {
  const std::string ks = Ks(), gm = Gm();
  ASSERT_EQ(ks.substr(0, 2), "\xC7\xD1");  // U+D55C in code page 949
  ASSERT_NE(gm.substr(0, 2), ks.substr(0, 2));
  const std::vector<Case> cases = {
      {"empty", "", Seen::kNothing, false},
      {"ascii", "plain text\r\n\tend", Seen::kNothing, false},
      {"utf16le mark", "\xFF\xFE" + Utf16Le(kKorean), Seen::kUtf16, false},
      {"utf16be mark", "\xFE\xFF" + Utf16Be(kKorean), Seen::kUtf16, false},
      {"utf16le zeros", Utf16Le(u"Latin text, 123\r\n"), Seen::kUtf16, false},
      {"utf16be zeros", Utf16Be(u"Latin text, 123\r\n"), Seen::kUtf16, false},
      {"utf8", "ok \xED\x95\x9C\xEA\xB8\x80 ok", Seen::kUtf8, false},
      {"utf8 mark", "\xEF\xBB\xBF" "abc", Seen::kUtf8, false},
      {"utf8 cut in a character", "\xED\x95\x9C\xEA\xB8", Seen::kUtf8, false},
      {"utf8 surrogate unit (written unit by unit)", "\xED\xA0\xBD\xED\xB8\x80", Seen::kUtf8, false},
      {"utf8 overlong", "a\xC0\x80" "b", Seen::kNothing, false},
      {"ks", ks, Seen::kKs, false},
      {"ks cut after a lead", ks + "\xB0", Seen::kKs, false},
      {"gm", gm, Seen::kGm, true},
      // A GM pair whose bytes also form a code page 949 extension pair.
      {"gm that is also ks", "\x88\xA2\x88\xB0", Seen::kKsAndGm, true},
      {"nul bytes", std::string("\xC7\xD1\0\0\xB1\xDB", 6), Seen::kNothing, false},
      {"byte FF", "\xFF\xC7\xD1", Seen::kNothing, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(EditorSees(Detect(c.bytes, kFileMask)), c.file);
    const unsigned paste = Detect(c.bytes, kPasteMask);
    EXPECT_EQ((paste & kGmBit) != 0, c.pasteGm);
    EXPECT_EQ(paste & ~0x60u, 0u) << "only KS and GM bits under mask 96";
  }
}

TEST(Charvane, GmSampleOfALongerFileCutAnywhere) {
  // The editor hands over the first 1024 bytes: a cut after any byte still
  // reads as GM.
  std::string gm;
  while (gm.size() < 1100) gm += Gm();
  for (size_t cut = 1000; cut < 1010; ++cut) {
    SCOPED_TRACE(cut);
    EXPECT_EQ(EditorSees(Detect(gm.substr(0, cut), kFileMask)), Seen::kGm);
  }
}

TEST(Charvane, CodesOutsideTheMaskAreNotReported) {
  EXPECT_EQ(Detect("\xFF\xFE" "a", charvane::kKs), 0u);
  EXPECT_EQ(Detect(Utf16Le(u"Latin text"), charvane::kUtf16Be), 0u);
  EXPECT_EQ(Detect("\xEA\xB8\x80", charvane::kKs | charvane::kGm), 0u);
  EXPECT_EQ(Detect(Ks(), charvane::kGm), 0u);
}

// A file with the UTF-8 mark whose 1024-byte sample ends inside a character:
// the mark with valid UTF-8 before the cut is UTF-8, whatever came before
// (ASCII alone, or other characters) and wherever the cut falls.
TEST(Charvane, MarkedUtf8CutByTheSampleEnd) {
  constexpr size_t kSample = 1024;
  const std::string mark = "\xEF\xBB\xBF";
  const std::vector<std::pair<const char*, std::string>> characters = {
      {"2-byte U+00E9", "\xC3\xA9"},
      {"3-byte U+D55C", "\xED\x95\x9C"},
      {"3-byte U+0800", "\xE0\xA0\x80"},
      {"4-byte U+1F600", "\xF0\x9F\x98\x80"},
  };
  for (const auto& [name, character] : characters) {
    for (size_t present = 1; present < character.size(); ++present) {
      for (const char* before : {"ascii", "korean"}) {
        std::string text = std::string(before) == "korean" ? std::string("\xEA\xB8\x80 ") : std::string();
        text = mark + text;
        text.append(kSample - text.size() - present, 'a');
        text += character.substr(0, present);
        ASSERT_EQ(text.size(), kSample);
        SCOPED_TRACE(std::string(name) + ", " + before + ", bytes present " + std::to_string(present));
        const unsigned flags = Detect(text, kFileMask);
        EXPECT_EQ(flags, charvane::kUtf8Mark);
        EXPECT_EQ(EditorSees(flags), Seen::kUtf8);
      }
    }
    // The whole character one byte earlier reads the same.
    std::string whole = mark;
    whole.append(kSample - mark.size() - character.size(), 'a');
    whole += character;
    SCOPED_TRACE(name);
    EXPECT_EQ(Detect(whole, kFileMask), charvane::kUtf8Mark);
  }
  // Still not UTF-8 after the mark: a malformed sequence before the cut, a
  // lone byte that is no lead at the end.
  EXPECT_EQ(Detect(mark + "ab\xC3" "a\xEF", kFileMask), 0u);
  EXPECT_EQ(Detect(mark + "ab\x80", kFileMask), 0u);
  EXPECT_EQ(Detect(mark + "ab\xFF", kFileMask), 0u);
  // The minimal sample of the report: the mark, ASCII, a lead as last byte.
  EXPECT_EQ(Detect(mark + "a\xEF", kFileMask), charvane::kUtf8Mark);
  EXPECT_EQ(Detect(mark + "\xEF", kFileMask), charvane::kUtf8Mark);
  // Without UTF-8 in the mask the mark says nothing.
  EXPECT_EQ(Detect(mark + "a\xEF", kPasteMask), 0u);
}

}  // namespace
