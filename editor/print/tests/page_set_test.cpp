// The "PageSet" section: defaults for missing keys, the six keys written,
// and the dialog's hundredths of a millimetre.
#include "page_set.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace brisel {
namespace {

// A profile in memory; every value kept as its text, as an INI file keeps it.
class MemoryProfile final : public ProfileStore {
 public:
  int GetInt(std::string_view section, std::string_view key, int fallback) override {
    auto it = values.find(Key(section, key));
    return it == values.end() ? fallback : std::stoi(it->second);
  }
  std::string GetString(std::string_view section, std::string_view key, std::string_view fallback) override {
    auto it = values.find(Key(section, key));
    return it == values.end() ? std::string(fallback) : it->second;
  }
  bool WriteInt(std::string_view section, std::string_view key, int value) override {
    values[Key(section, key)] = std::to_string(value);
    return true;
  }
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override {
    values[Key(section, key)] = std::string(value);
    return !failWrites;
  }
  static std::string Key(std::string_view section, std::string_view key) {
    return std::string(section) + "/" + std::string(key);
  }
  std::map<std::string, std::string> values;
  bool failWrites = false;
};

TEST(PageSet, DefaultsWhenTheSectionIsMissing) {
  MemoryProfile profile;
  const editorview::PageSettings s = LoadPageSet(profile);
  EXPECT_EQ(s.leftMargin, 15);
  EXPECT_EQ(s.rightMargin, 15);
  EXPECT_EQ(s.topMargin, 15);
  EXPECT_EQ(s.bottomMargin, 15);
  EXPECT_EQ(s.header, "&[\xCC\xA7\xB2\xD9\x96\xBC]");                                      // &[ﾌｧｲﾙ名]
  EXPECT_EQ(s.footer, "&[\xCD\xDF\xB0\xBC\xDE\x94\xD4\x8D\x86]&[\x92\x86\x89\x9B]");  // &[ﾍﾟｰｼﾞ番号]&[中央]
}

TEST(PageSet, WrittenAndReadBackUnderItsKeys) {
  MemoryProfile profile;
  editorview::PageSettings s;
  s.leftMargin = 12;
  s.rightMargin = 0;
  s.topMargin = 30;
  s.bottomMargin = 7;
  s.header = "";  // an empty header stays empty
  s.footer = "p.&[x]";
  ASSERT_TRUE(SavePageSet(profile, s));
  EXPECT_EQ(profile.values.at("PageSet/LeftMargin"), "12");
  EXPECT_EQ(profile.values.at("PageSet/RightMargin"), "0");
  EXPECT_EQ(profile.values.at("PageSet/TopMargin"), "30");
  EXPECT_EQ(profile.values.at("PageSet/BottomMargin"), "7");
  EXPECT_EQ(profile.values.at("PageSet/Header"), "");
  EXPECT_EQ(profile.values.at("PageSet/Footer"), "p.&[x]");
  EXPECT_EQ(LoadPageSet(profile), s);
  profile.failWrites = true;
  EXPECT_FALSE(SavePageSet(profile, s));
}

TEST(PageSet, NegativeMarginReadsAsZero) {
  MemoryProfile profile;
  profile.values["PageSet/LeftMargin"] = "-5";
  EXPECT_EQ(LoadPageSet(profile).leftMargin, 0);
}

TEST(PageSet, DialogMarginsInHundredthsOfAMillimetre) {
  EXPECT_EQ(MarginToHundredths(15), 1500);
  struct Case {
    long hundredths;
    int millimetres;
  } cases[] = {{1250, 12}, {1299, 12}, {1500, 15}, {99, 0}, {0, 0}, {-300, 0}};
  for (const auto& c : cases) EXPECT_EQ(MarginFromHundredths(c.hundredths), c.millimetres) << c.hundredths;
}

}  // namespace
}  // namespace brisel
