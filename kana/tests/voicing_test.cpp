// The word-start form and the voicing after the character before.
#include <gtest/gtest.h>

#include "kana_fixtures.h"
#include "kana_reading.h"

namespace kana::test {
namespace {

struct VoicingCase {
  const char* before;  // Shift-JIS or romanized; empty: first of the text
  const char* syllable;
  const char* reading;   // UTF-8, table form
  const char* expected;  // UTF-8
};

class Voicing : public ::testing::TestWithParam<VoicingCase> {};

TEST_P(Voicing, GivesTheExpectedKana) {
  const VoicingCase& c = GetParam();
  std::string reading = Sjis(c.reading);
  if (*c.before == '\0') {
    AdjustVoicing(c.syllable, reading);
  } else {
    ApplyVoicing(Sjis(c.before), c.syllable, reading);
  }
  EXPECT_EQ(reading, Sjis(c.expected)) << c.before << " / " << c.syllable;
}

INSTANTIATE_TEST_SUITE_P(Cases, Voicing,
                         ::testing::Values(
                             // Word start: ㄱ ㄷ ㅈ lose their voicing, ㅂ takes the パ row; others stay.
                             VoicingCase{"", "ka", "ガ", "カ"}, VoicingCase{"", "da", "ダ", "タ"},
                             VoicingCase{"", "ja", "ヂャ", "チャ"}, VoicingCase{"", "je", "ヅ", "ツ"},
                             VoicingCase{"", "va", "バ", "パ"}, VoicingCase{"", "na", "ナ", "ナ"},
                             // After a blank or punctuation: word start.
                             VoicingCase{" ", "ka", "ガ", "カ"}, VoicingCase{",", "ka", "ガ", "カ"},
                             VoicingCase{"?", "va", "バ", "パ"}, VoicingCase{"「", "ka", "ガ", "カ"},
                             VoicingCase{"』", "da", "ダ", "タ"}, VoicingCase{"　", "ka", "ガ", "カ"},
                             VoicingCase{"、", "ka", "ガ", "カ"}, VoicingCase{"！", "ka", "ガ", "カ"},
                             // "・" and "？" are no word break; nor is another character.
                             VoicingCase{"・", "ka", "ガ", "ガ"}, VoicingCase{"？", "ka", "ガ", "ガ"},
                             VoicingCase{"漢", "ka", "ガ", "ガ"}, VoicingCase{"1", "ka", "ガ", "ガ"},
                             // After a romanized syllable ending in a vowel or a voiced final: voiced,
                             // with ジ and ズ for ㅈ.
                             VoicingCase{"fa", "ka", "ガ", "ガ"}, VoicingCase{"fan", "da", "ダ", "ダ"},
                             VoicingCase{"kal", "va", "バ", "バ"}, VoicingCase{"fa", "ja", "ヂャ", "ジャ"},
                             VoicingCase{"fa", "je", "ヅ", "ズ"}, VoicingCase{"kaf", "ji", "ヂ", "ジ"},
                             // After a voiceless final: word start.
                             VoicingCase{"hak", "kyo", "ギョ", "キョ"}, VoicingCase{"joh", "da", "ダ", "タ"},
                             VoicingCase{"has", "ja", "ヂャ", "チャ"}, VoicingCase{"kuk", "va", "バ", "パ"},
                             // Syllables of other initials are left alone after any syllable.
                             VoicingCase{"hak", "sa", "サ", "サ"}));

}  // namespace
}  // namespace kana::test
