// The sound changes between two romanized syllables, one row per rule.
#include <gtest/gtest.h>

#include "kana_reading.h"

namespace kana {
namespace {

struct RuleCase {
  const char* rule;
  const char* previous;
  const char* next;
  const char* previousAfter;
  const char* nextAfter;
};

class SoundRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(SoundRule, RewritesTheJunction) {
  const RuleCase& c = GetParam();
  std::string previous = c.previous;
  std::string next = c.next;
  ApplySoundRule(previous, next);
  EXPECT_EQ(previous, c.previousAfter) << c.rule;
  EXPECT_EQ(next, c.nextAfter) << c.rule;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SoundRule,
    ::testing::Values(
        // Not applied: previous shorter than 3 letters, next shorter than 2.
        RuleCase{"short previous", "ka", "fi", "ka", "fi"}, RuleCase{"short next", "kat", "f", "kat", "f"},
        RuleCase{"next not romanized", "kat", "\x81\x40", "kat", "\x81\x40"},
        // A: next starts with a vowel.
        RuleCase{"A d", "kud", "fa", "ku", "da"}, RuleCase{"A d palatal", "kud", "fi", "ku", "ji"},
        RuleCase{"A t", "vat", "fe", "va", "te"}, RuleCase{"A t palatal", "kat", "fyr", "ka", "cyr"},
        RuleCase{"A h after n", "fanh", "fa", "fa", "na"}, RuleCase{"A h after l", "filh", "fr", "fi", "lr"},
        RuleCase{"A h", "joh", "fa", "jo", "fa"}, RuleCase{"A n", "san", "fa", "sa", "na"},
        RuleCase{"A n before yo", "san", "fyo", "san", "nyo"}, RuleCase{"A final ng", "kaf", "fa", "kaf", "fa"},
        RuleCase{"A vowel end", "sri", "fyo", "sri", "fyo"}, RuleCase{"A other", "mrk", "fr", "mr", "kr"},
        RuleCase{"A double final", "frvs", "fr", "frv", "sr"},
        // B: next starts with ㅎ.
        RuleCase{"B d", "mad", "ha", "ma", "ta"}, RuleCase{"B j palatal", "fanj", "hi", "fan", "ci"},
        RuleCase{"B n", "jrn", "hoa", "jr", "noa"}, RuleCase{"B l", "kyrl", "hon", "kyr", "lon"},
        RuleCase{"B h after n", "manh", "ha", "ma", "na"}, RuleCase{"B h", "noh", "ha", "no", "ha"},
        RuleCase{"B k", "kuk", "hoa", "ku", "xoa"}, RuleCase{"B v", "fiv", "hak", "fi", "pak"},
        RuleCase{"B other", "kaf", "ha", "kaf", "ha"},
        // C: any other initial.
        RuleCase{"C h before n", "noh", "ne", "non", "ne"}, RuleCase{"C t before m", "vat", "mrl", "van", "mrl"},
        RuleCase{"C lt before n", "halt", "ne", "halt", "le"}, RuleCase{"C l before n", "srl", "nal", "srl", "lal"},
        RuleCase{"C l before j", "hal", "ji", "hal", "zi"}, RuleCase{"C lk before k", "filk", "ko", "fil", "go"},
        RuleCase{"C g before l", "kag", "li", "kaf", "li"}, RuleCase{"C k before l", "kuk", "liv", "kuf", "niv"},
        RuleCase{"C lk before l", "dalk", "li", "daf", "ni"}, RuleCase{"C ng before l", "jof", "lo", "jof", "no"},
        RuleCase{"C n before l", "sin", "la", "sil", "la"}, RuleCase{"C v before l", "hyrv", "lyrk", "hyrm", "nyrk"},
        RuleCase{"C lv before l", "valv", "lo", "vam", "no"}, RuleCase{"C ks before l", "nrks", "la", "nrf", "na"},
        RuleCase{"C vs before l", "frvs", "la", "frm", "na"}, RuleCase{"C s before l", "fos", "la", "fon", "na"},
        RuleCase{"C c before l", "koc", "la", "kon", "na"}, RuleCase{"C j before n", "maj", "ne", "man", "ne"},
        RuleCase{"C q before n", "fiq", "ne", "fin", "ne"}, RuleCase{"C g before m", "kag", "ne", "kaf", "ne"},
        RuleCase{"C k before m", "kuk", "mul", "kuf", "mul"}, RuleCase{"C lk before n", "filk", "ne", "fif", "ne"},
        RuleCase{"C v before m", "vav", "mul", "vam", "mul"}, RuleCase{"C lv before n", "valv", "ne", "vam", "ne"},
        RuleCase{"C ks before m", "nrks", "man", "nrf", "man"}, RuleCase{"C vs before n", "frvs", "ne", "frm", "ne"},
        RuleCase{"C s before m", "fos", "man", "fon", "man"}, RuleCase{"C k before k", "hak", "kyo", "has", "kyo"},
        RuleCase{"C v before v", "vav", "vo", "vas", "vo"}, RuleCase{"C p before b", "fap", "ba", "fas", "ba"},
        RuleCase{"C lv before v", "valv", "va", "valv", "va"}, RuleCase{"C k before v", "kuk", "vav", "kuk", "vav"}));

}  // namespace
}  // namespace kana
