#include "part_of_speech.h"

#include <gtest/gtest.h>

#include <string>

#include "code_page.h"

namespace {

using workbench::PartOfSpeechBytes;

std::string Sjis(std::string_view utf8) {
  auto& pages = codeconv::PlatformCodePages();
  return pages.FromUtf16(932, pages.ToUtf16(65001, std::string(utf8)));
}

struct Case {
  PartOfSpeechBytes pos;
  const char* chooser;
  const char* list;
};

// The two tables side by side: the chooser pads to 8 bytes, the list does
// not and has its own names for the nominal adjective and onomatopoeia.
const Case kCases[] = {
    {{2, 0, 0}, "動詞    ", "動詞"},
    {{2, 9, 0}, "動詞    ", "動詞"},
    {{3, 0, 21}, "形容動詞", "形動詞"},
    {{3, 0, 20}, "形容詞  ", "形容詞"},
    {{3, 5, -30}, "形容詞  ", "形容詞"},  // the third byte is signed: 0xE2 is no value above 20
    {{6, 1, 0}, "普通名詞", "普通名詞"},
    {{6, 2, 0}, "サ変名詞", "サ変名詞"},
    {{6, 3, 0}, "固有名詞", "固有名詞"},
    {{6, 4, 0}, "地名    ", "地名"},
    {{6, 5, 0}, "人名    ", "人名"},
    {{6, 6, 0}, "組織名  ", "組織名"},
    {{6, 10, 0}, "時間名詞", "時間名詞"},
    {{6, 7, 0}, "********", "****"},
    {{8, 3, 0}, "副詞    ", "副詞"},
    {{10, 0, 0}, "接続詞  ", "接続詞"},
    {{11, 1, 0}, "連体詞  ", "連体詞"},
    {{12, 1, 0}, "感嘆詞  ", "感嘆詞"},
    {{12, 2, 0}, "擬声語  ", "擬声詞"},
    {{12, 3, 0}, "成語    ", "成語"},
    {{12, 4, 0}, "********", "****"},
    {{0, 0, 0}, "********", "****"},
    {{7, 1, 0}, "********", "****"},
};

TEST(PartOfSpeech, ChooserAndListNames) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.pos.type) + "/" + std::to_string(c.pos.subtype) + "/" + std::to_string(c.pos.third));
    EXPECT_EQ(workbench::ChooserPartOfSpeechName(c.pos), c.chooser);
    EXPECT_EQ(workbench::ListPartOfSpeechName(c.pos), c.list);
    EXPECT_EQ(Sjis(workbench::ChooserPartOfSpeechName(c.pos)).size(), 8u);  // 8 bytes wide
  }
}

TEST(PartOfSpeech, NounClassesOfTheEditor) {
  const std::pair<const char*, int> classes[] = {{"普通名詞", 1}, {"サ変名詞", 2}, {"固有名詞", 3}, {"人名", 5},
                                                 {"地名", 4},     {"組織名", 6},   {"時間名詞", 10}};
  ASSERT_EQ(workbench::kNounClassCount, 7u);
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(workbench::NounClassAt(i).name, classes[i].first);
    EXPECT_EQ(workbench::NounClassAt(i).subtype, classes[i].second);
    EXPECT_EQ(workbench::NounClassIndexOf(6, static_cast<uint8_t>(classes[i].second)), i);
  }
  EXPECT_EQ(workbench::NounClassIndexOf(2, 4), 0u);   // no noun: the first class
  EXPECT_EQ(workbench::NounClassIndexOf(6, 7), 6u);   // a noun of no class: the last
  EXPECT_EQ(workbench::EditorClassName(6, 4), "地名    ");
  EXPECT_EQ(workbench::EditorClassName(6, 10), "時間名詞");
  EXPECT_EQ(workbench::EditorClassName(6, 7), "********");
  EXPECT_EQ(workbench::EditorClassName(2, 1), "********");
}

}  // namespace
