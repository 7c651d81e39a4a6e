// The reading of the input method's result string that the Win32 view does,
// over input method managers that answer as the cases say.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ime_result.h"

namespace editorview {
namespace {

// An input method manager's GCS_RESULTSTR: it reports reported bytes, and
// writes what the buffer holds of its text (bytes), then says it wrote
// claimed bytes (none: as many as it copied).
struct FakeResult {
  std::string text;  // the bytes it holds
  long reported;     // its answer to the length question
  std::optional<long> claimed;
  int calls = 0;
  long operator()(void* buffer, unsigned long bytes) {
    ++calls;
    if (!buffer) return reported;
    const size_t n = std::min<size_t>(bytes, text.size());
    std::memcpy(buffer, text.data(), n);
    return claimed ? *claimed : static_cast<long>(n);
  }
};

std::string Units(std::u16string_view s) {
  return std::string(reinterpret_cast<const char*>(s.data()), s.size() * 2);
}

TEST(ImeResultString, TheWideCallTakesUpTo511Units) {
  const ImeResultRead wide{true, 512};
  const std::u16string korean300(300, u'\xD55C');
  const std::u16string units511(511, u'\xAC00');
  struct Case {
    const char* what;
    std::string held;
    long reported;
    std::optional<long> claimed;
    std::optional<size_t> units;
  } cases[] = {
      {"300 Korean characters (600 bytes)", Units(korean300), 600, std::nullopt, 300},
      {"511 units", Units(units511), 1022, std::nullopt, 511},
      {"512 units", Units(std::u16string(512, u'a')), 1024, std::nullopt, std::nullopt},
      {"nothing", "", 0, std::nullopt, std::nullopt},
      {"a failed call", "", -1, std::nullopt, std::nullopt},
      {"an odd byte count", Units(u"ab") + "c", 5, std::nullopt, 2},
      {"a claim beyond the buffer", Units(u"abc"), 6, 4000, 3},
      {"fewer bytes on the second call", Units(u"ab"), 8, std::nullopt, 2},
      {"a NUL inside", Units(std::u16string(u"ab\0cd", 5)), 10, std::nullopt, 2},
      {"the second call fails", Units(u"abc"), 6, -2, std::nullopt},
  };
  for (Case& c : cases) {
    FakeResult ime{c.held, c.reported, c.claimed};
    const auto text = ReadImeResultString<char16_t>(wide, ime);
    EXPECT_EQ(text.has_value(), c.units.has_value()) << c.what;
    if (text && c.units) {
      EXPECT_EQ(text->size(), *c.units) << c.what;
    }
    // Nothing is read when the length already refuses it.
    if (c.reported <= 0 || c.reported >= 1024) {
      EXPECT_EQ(ime.calls, 1) << c.what;
    }
  }
  FakeResult ime{Units(korean300), 600, std::nullopt};
  EXPECT_EQ(ReadImeResultString<char16_t>(wide, ime), korean300);
}

TEST(ImeResultString, TheAnsiCallTakesUpTo511Bytes) {
  const ImeResultRead ansi{false, 512};
  struct Case {
    long length;
    bool taken;
  } cases[] = {{1, true}, {511, true}, {512, false}, {900, false}};
  for (const Case& c : cases) {
    FakeResult ime{std::string(static_cast<size_t>(c.length), '\x94'), c.length, std::nullopt};
    const auto text = ReadImeResultString<char>(ansi, ime);
    EXPECT_EQ(text.has_value(), c.taken) << c.length;
    if (text) {
      EXPECT_EQ(text->size(), static_cast<size_t>(c.length));
    }
  }
}

}  // namespace
}  // namespace editorview
