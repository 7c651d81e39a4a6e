#include "part_of_speech.h"

namespace workbench {
namespace {

constexpr std::string_view kNoName = "********";

struct Named {
  uint8_t type;
  int subtype;  // -1: any
  std::string_view chooser, list;
};

// Adjectives (type 3) are told apart by the third byte, below.
constexpr Named kNames[] = {
    {2, -1, "動詞    ", "動詞"},         {6, 1, "普通名詞", "普通名詞"}, {6, 2, "サ変名詞", "サ変名詞"},
    {6, 3, "固有名詞", "固有名詞"},     {6, 4, "地名    ", "地名"},     {6, 5, "人名    ", "人名"},
    {6, 6, "組織名  ", "組織名"},       {6, 10, "時間名詞", "時間名詞"}, {8, -1, "副詞    ", "副詞"},
    {10, -1, "接続詞  ", "接続詞"},     {11, -1, "連体詞  ", "連体詞"}, {12, 1, "感嘆詞  ", "感嘆詞"},
    {12, 2, "擬声語  ", "擬声詞"},      {12, 3, "成語    ", "成語"},
};

const Named* Find(PartOfSpeechBytes pos) {
  for (const Named& n : kNames)
    if (n.type == pos.type && (n.subtype < 0 || n.subtype == pos.subtype)) return &n;
  return nullptr;
}

constexpr NounClass kClasses[kNounClassCount] = {
    {"普通名詞", 1}, {"サ変名詞", 2}, {"固有名詞", 3}, {"人名", 5}, {"地名", 4}, {"組織名", 6}, {"時間名詞", 10},
};

}  // namespace

std::string_view ChooserPartOfSpeechName(PartOfSpeechBytes pos) {
  if (pos.type == 3) return pos.third > 20 ? "形容動詞" : "形容詞  ";
  const Named* n = Find(pos);
  return n ? n->chooser : kNoName;
}

std::string_view ListPartOfSpeechName(PartOfSpeechBytes pos) {
  if (pos.type == 3) return pos.third > 20 ? "形動詞" : "形容詞";
  const Named* n = Find(pos);
  return n ? n->list : "****";
}

const NounClass& NounClassAt(std::size_t index) { return kClasses[index < kNounClassCount ? index : 0]; }

std::size_t NounClassIndexOf(uint8_t type, uint8_t subtype) {
  if (type != kNounType) return 0;
  for (std::size_t i = 0; i < kNounClassCount; ++i)
    if (kClasses[i].subtype == subtype) return i;
  return kNounClassCount - 1;
}

std::string_view EditorClassName(uint8_t type, uint8_t subtype) {
  if (type != kNounType) return kNoName;
  for (const NounClass& c : kClasses)
    if (c.subtype == subtype) return ChooserPartOfSpeechName({type, subtype, 0});
  return kNoName;
}

}  // namespace workbench
