#include <gtest/gtest.h>

#include <algorithm>

#include "fake_context.h"
#include "gm_layout.h"

namespace ime {
namespace {

using test::EngineFixture;
using test::Syl;

const ImeMessage kStart{kWmImeStartComposition, 0, 0};
const ImeMessage kEnd{kWmImeEndComposition, 0, 0};
ImeMessage Comp(uint32_t flags) { return {kWmImeComposition, 0, flags}; }

TEST(Engine, TwoSetTypingComposesWithCursorAndDelta) {
  EngineFixture f;
  f.settings.mikakuBytes = 20;  // keep everything unconfirmed
  f.Type("r");
  EXPECT_EQ(f.ctx.CompW(), u"\u3131");
  f.Type("k");
  EXPECT_EQ(f.ctx.CompW(), u"\uAC00");
  f.Type("s");
  EXPECT_EQ(f.ctx.CompW(), u"\uAC04");
  f.Type("k");
  EXPECT_EQ(f.ctx.CompW(), u"\uAC00\uB098");
  EXPECT_EQ(f.ctx.ReadW(), f.ctx.CompW());
  EXPECT_EQ(f.ctx.comp.h.dwCursorPos, 2u);
  EXPECT_EQ(f.ctx.comp.h.dwDeltaStart, 0u);  // both characters were recomposed
  f.Type("s");
  EXPECT_EQ(f.ctx.CompW(), u"\uAC00\uB09C");
  EXPECT_EQ(f.ctx.comp.h.dwDeltaStart, 0u);
  f.Type("r");
  EXPECT_EQ(f.ctx.CompW(), u"\uAC00\uB09C\u3131");
  EXPECT_EQ(f.ctx.comp.h.dwDeltaStart, 0u);
  f.Type("k");  // only the two characters before the cursor are recomposed
  EXPECT_EQ(f.ctx.CompW(), u"\uAC00\uB09C\uAC00");
  EXPECT_EQ(f.ctx.comp.h.dwDeltaStart, 1u);
  EXPECT_EQ(f.ctx.comp.h.dwCursorPos, 3u);
  const auto& h = f.ctx.comp.h;
  EXPECT_EQ(h.dwCompAttrLen, 3u);
  EXPECT_EQ(h.dwCompClauseLen, 8u);
  EXPECT_EQ(GetU32(f.ctx.comp.compClause + 4), 3u);
  EXPECT_EQ(h.dwResultStrLen, 0u);

  std::vector<ImeMessage> expected{kStart};
  for (int i = 0; i < 7; ++i) expected.push_back(Comp(kGcsCompEight));
  EXPECT_EQ(f.ctx.sink.Messages(), expected);
}

TEST(Engine, MikakuOneUnderKsCommitsTheFirstSyllable) {
  EngineFixture f;  // KS code, Unicode interface, Mikaku 1
  f.Type("rksk");
  EXPECT_EQ(f.ctx.CompW(), u"\uB098");
  EXPECT_EQ(f.ctx.ResultW(), u"\uAC00");
  EXPECT_EQ(f.ctx.comp.h.dwCursorPos, 1u);
  EXPECT_EQ(f.ctx.comp.h.dwDeltaStart, 0u);
  EXPECT_EQ(f.ctx.sink.Messages().back(), Comp(kGcsCompEight | kGcsResultFour));
  // The next key no longer carries the old result.
  f.Type("s");
  EXPECT_EQ(f.ctx.CompW(), u"\uB09C");
  EXPECT_EQ(f.ctx.sink.Messages().back(), Comp(kGcsCompEight));
}

TEST(Engine, MikakuDoesNotApplyToTheGmCode) {
  EngineFixture f;
  f.settings.koreanCode = 2;
  f.settings.interfaceCodePage = 0;
  auto table = BuildReadingTable(1);
  ReadingTable rt;
  ASSERT_TRUE(rt.Load(table.data(), table.size(), 1));
  f.engine.SetReadingTable(&rt);
  f.Type("rksk");
  EXPECT_EQ(f.ctx.CompA().size(), 4u);
  EXPECT_EQ(f.ctx.comp.h.dwResultStrLen, 0u);
}

TEST(Engine, DigitCommitsTheCompositionWithIt) {
  EngineFixture f;
  f.Type("rk1");
  EXPECT_EQ(f.ctx.ResultW(), u"\uAC001");
  EXPECT_EQ(f.ctx.comp.h.dwCompStrLen, 0u);
  std::vector<ImeMessage> expected{kStart, Comp(kGcsCompEight), Comp(kGcsCompEight),
                                   Comp(kGcsCompSix), Comp(kGcsResultFour), kEnd};
  EXPECT_EQ(f.ctx.sink.Messages(), expected);
}

TEST(Engine, CharacterWithoutCompositionIsAResultAtOnce) {
  EngineFixture f;
  f.Type(" ");
  EXPECT_EQ(f.ctx.ResultW(), u" ");
  std::vector<ImeMessage> expected{kStart, Comp(kGcsResultFour), kEnd};
  EXPECT_EQ(f.ctx.sink.Messages(), expected);
}

TEST(Engine, FullWidthTurnsCharactersIntoKsCells) {
  EngineFixture f;
  f.settings.conversionMode = kConvNative | kConvFullShape;
  f.Type("1");
  EXPECT_EQ(f.ctx.ResultW(), u"\uFF11");
  f.engine.InputCharKey(f.ctx.blocks, 0xB1, 0);  // half-width katakana a: hiragana a (KS row 10)
  EXPECT_EQ(f.ctx.ResultW(), u"\u3042");
  f.settings.conversionMode = kConvNative;
  f.engine.InputCharKey(f.ctx.blocks, 0xB1, 0);
  EXPECT_EQ(f.ctx.ResultW(), u"\uFF71");
}

TEST(Engine, LettersOutsideHangulModeCommit) {
  EngineFixture f;
  f.settings.conversionMode = 0;
  f.Type("r");
  EXPECT_EQ(f.ctx.ResultW(), u"r");
}

TEST(Engine, LetterLimitOf111BytesBeepsButADigitStillCommits) {
  EngineFixture f;
  f.settings.mikakuBytes = 200;
  std::string keys;
  for (int i = 0; i < 56; ++i) keys += "rk";  // 56 syllables = 112 bytes
  f.Type(keys);
  ASSERT_EQ(f.ctx.comp.h.dwCompStrLen, 56u);
  size_t sent = f.ctx.sink.sent.size();
  f.Type("r");
  EXPECT_EQ(f.ctx.comp.h.dwCompStrLen, 56u);
  EXPECT_EQ(f.ctx.sink.sent.size(), sent);
  ASSERT_FALSE(f.feedback.beeps.empty());
  EXPECT_EQ(f.feedback.beeps.back(), kBeepDefault);
  f.Type("1");
  EXPECT_EQ(f.ctx.comp.h.dwResultStrLen, 57u);
  EXPECT_EQ(f.ctx.ResultW().back(), u'1');
}

TEST(Engine, BackspaceTakesBackOneJamo) {
  EngineFixture f;
  f.Type("rks");
  f.Key(0x08);
  EXPECT_EQ(f.ctx.CompW(), u"\uAC00");
  f.Key(0x08);
  EXPECT_EQ(f.ctx.CompW(), u"\u3131");
  f.Key(0x08);
  EXPECT_EQ(f.ctx.comp.h.dwCompStrLen, 0u);
  auto m = f.ctx.sink.Messages();
  ASSERT_GE(m.size(), 2u);
  EXPECT_EQ(m[m.size() - 2], Comp(kGcsCompSix));
  EXPECT_EQ(m.back(), kEnd);
}

TEST(Engine, BackspaceWithoutJamoStepsRemovesTheSyllable) {
  EngineFixture f;
  f.settings.jisoTaniBack = false;
  f.settings.mikakuBytes = 20;
  f.Type("rksk");
  f.Key(0x08);
  EXPECT_EQ(f.ctx.CompW(), u"\uAC00");
}

TEST(Engine, RomanBackspaceDropsALoneY) {
  EngineFixture f;
  f.settings.inputMode = 0;
  f.Type("fy");  // y is typed as y a: 야
  EXPECT_EQ(f.ctx.CompW(), std::u16string(1, Syl(11, 2)));
  f.Type("o");   // y a then o: 요
  EXPECT_EQ(f.ctx.CompW(), std::u16string(1, Syl(11, 12)));
  f.Key(0x08);   // removes o, then the lone y
  EXPECT_EQ(f.ctx.CompW(), u"\u3147");
}

TEST(Engine, DigitInsideTheCompositionBeeps) {
  EngineFixture f;
  f.settings.mikakuBytes = 20;
  f.Type("rkrk");
  f.Key(0x25);  // Left
  size_t sent = f.ctx.sink.sent.size();
  f.Type("1");
  EXPECT_EQ(f.ctx.sink.sent.size(), sent);
  ASSERT_FALSE(f.feedback.beeps.empty());
  EXPECT_EQ(f.feedback.beeps.back(), kBeepExclamation);
  EXPECT_EQ(f.ctx.CompW(), u"\uAC00\uAC00");
}

TEST(Engine, LeftStopsAfterTheFirstCharacterUnderKs) {
  EngineFixture f;
  f.settings.mikakuBytes = 20;
  f.Type("rkrk");
  f.Key(0x25);
  EXPECT_EQ(f.ctx.comp.h.dwCursorPos, 1u);
  f.Key(0x25);
  EXPECT_EQ(f.ctx.comp.h.dwCursorPos, 1u);
  EXPECT_EQ(f.ctx.comp.h.dwDeltaStart, 2u);
  f.Key(0x27);
  EXPECT_EQ(f.ctx.comp.h.dwCursorPos, 2u);
  f.Key(0x27);
  EXPECT_EQ(f.ctx.comp.h.dwCursorPos, 2u);
}

TEST(Engine, TypingInTheMiddleKeepsTheTextAfterTheCursor) {
  EngineFixture f;
  f.settings.mikakuBytes = 20;
  f.Type("rkrk");
  f.Key(0x25);
  f.Type("s");  // 간 before the cursor, 가 stays behind
  EXPECT_EQ(f.ctx.CompW(), u"\uAC04\uAC00");
  EXPECT_EQ(f.ctx.comp.h.dwCursorPos, 1u);
}

TEST(Engine, EnterDeterminesAndEscCancels) {
  EngineFixture f;
  f.settings.mikakuBytes = 20;
  f.Type("rk");
  f.ctx.sink.sent.clear();
  EXPECT_EQ(f.engine.DispatchEditKey(f.ctx.blocks, 0x0D), 1);
  EXPECT_EQ(f.ctx.ResultW(), u"\uAC00");
  std::vector<ImeMessage> determined{Comp(kGcsResultFour), kEnd};
  EXPECT_EQ(f.ctx.sink.Messages(), determined);

  f.ctx.sink.sent.clear();
  EXPECT_EQ(f.engine.DispatchEditKey(f.ctx.blocks, 0x0D), 1);  // nothing composing: taken, nothing sent
  EXPECT_TRUE(f.ctx.sink.sent.empty());

  f.Type("rk");
  f.ctx.sink.sent.clear();
  f.Key(0x1B);
  EXPECT_EQ(f.ctx.comp.h.dwCompStrLen, 0u);
  EXPECT_EQ(f.ctx.comp.h.dwResultStrLen, 0u);
  std::vector<ImeMessage> cancelled{Comp(kGcsCompSix), kEnd};
  EXPECT_EQ(f.ctx.sink.Messages(), cancelled);
}

TEST(Engine, EditKeyResults) {
  EngineFixture f;
  struct { unsigned vk; int taken; } cases[] = {
      {0x30, 0}, {0x41, 0}, {0x5A, 0}, {0x60, 0}, {0x6F, 0}, {0xBA, 0}, {0xE0, 0}, {0xE2, 0},
      {0x92, 0}, {0x20, 0}, {0x0D, 1}, {0x2E, 1}, {0x21, 1}, {0x70, 1}, {0xF0, 1},
  };
  for (auto c : cases) EXPECT_EQ(f.engine.DispatchEditKey(f.ctx.blocks, c.vk), c.taken) << std::hex << c.vk;
  // Shift+Space asks for a conversion; without a dictionary it beeps and is not taken.
  f.settings.shiftHeld = true;
  f.Type("rk");
  EXPECT_EQ(f.engine.DispatchEditKey(f.ctx.blocks, 0x20), 0);
  EXPECT_EQ(f.feedback.beeps.back(), kBeepDefault);
}

TEST(Engine, ThreeSetFinalKeysCombineAndKeepTheirMarks) {
  EngineFixture f;
  f.settings.inputMode = 2;
  f.settings.mikakuBytes = 20;
  // k = ㄱ initial, f = ㅏ, w = ㄹ final (3-set physical keys), then x = ㄱ final.
  f.Type("kfw");
  EXPECT_EQ(f.ctx.CompW(), std::u16string(1, Syl(0, 0, 8)));
  f.Type("x");
  EXPECT_EQ(f.ctx.CompW(), std::u16string(1, Syl(0, 0, 9)));  // 갉: one syllable, not 갈ㄱ
  // A lone final key keeps its mark, so the next final key combines with it.
  EngineFixture g;
  g.settings.inputMode = 2;
  g.settings.mikakuBytes = 20;
  g.Type("w");
  EXPECT_EQ(g.ctx.CompW(), u"\u3139");
  ASSERT_EQ(g.engine.Marks().size(), 1u);
  EXPECT_TRUE(g.engine.Marks()[0].IsFinalKey());
  g.Type("x");
  EXPECT_EQ(g.ctx.CompW(), u"\u313A");  // ㄺ
}

// Under the 3-set arrangement Shift alone decides which half of a letter key
// is typed: Caps Lock (which swaps the case Windows gives) makes no difference.
TEST(Engine, ThreeSetLettersFollowShiftNotCapsLock) {
  struct Case {
    char typed;  // the character Windows gives
    bool shift;
    char16_t expected;
  } cases[] = {
      {'a', false, u'\u3147'},  // a: final ㅇ
      {'A', false, u'\u3147'},  // Caps Lock on, no Shift: still ㅇ
      {'A', true, u'\u3137'},   // Shift+A: final ㄷ
      {'a', true, u'\u3137'},   // Caps Lock on and Shift: Windows gives 'a', still ㄷ
  };
  for (const Case& c : cases) {
    EngineFixture f;
    f.settings.inputMode = 2;
    f.settings.shiftHeld = c.shift;
    f.engine.InputCharKey(f.ctx.blocks, static_cast<uint8_t>(c.typed), 'A');
    EXPECT_EQ(f.ctx.CompW(), std::u16string(1, c.expected)) << c.typed << " shift " << c.shift;
  }
}

// What the on-screen keyboard reads: the character before the cursor and
// the keys that typed it.
TEST(Engine, CharacterBeforeCursor) {
  EngineFixture f;
  f.settings.mikakuBytes = 20;
  EXPECT_FALSE(f.engine.CharacterBeforeCursor(f.ctx.blocks).composing);
  f.Type("rhrk");  // 고가
  CursorCharacter c = f.engine.CharacterBeforeCursor(f.ctx.blocks);
  EXPECT_TRUE(c.composing);
  EXPECT_FALSE(c.converted);
  EXPECT_EQ(c.character, Syl(0, 0));
  EXPECT_EQ(c.keys, "rk");
  f.Key(0x25);  // Left: the cursor stands after 고
  c = f.engine.CharacterBeforeCursor(f.ctx.blocks);
  EXPECT_EQ(c.character, Syl(0, 8));
  EXPECT_EQ(c.keys, "rh");
  // 3-set: a lone final-key consonant reads as its final letter.
  EngineFixture g;
  g.settings.inputMode = 2;
  g.Type("w");
  c = g.engine.CharacterBeforeCursor(g.ctx.blocks);
  EXPECT_EQ(c.character, 0x3139);
  EXPECT_EQ(c.keys, "k");
}

TEST(Engine, ThreeSetMarksFollowCommittedCharacters) {
  EngineFixture f;
  f.settings.inputMode = 2;  // Mikaku 1: the first character is committed
  f.Type("kf");   // 가
  f.Type("w");    // 갈
  f.Type("k");    // 갈 + ㄱ initial: 갈 committed
  EXPECT_EQ(f.ctx.ResultW(), std::u16string(1, Syl(0, 0, 8)));
  EXPECT_EQ(f.ctx.CompW(), u"\u3131");
  ASSERT_EQ(f.engine.Marks().size(), 1u);
  EXPECT_FALSE(f.engine.Marks()[0].IsFinalKey());
}

TEST(Engine, IndirectModeSendsTheDeterminedResultStraight) {
  EngineFixture f;
  f.settings.indirectMode = true;
  f.settings.mikakuBytes = 20;
  f.Type("rk");
  f.ctx.sink.sent.clear();
  f.engine.DetermineComposition(f.ctx.blocks, false);
  auto& s = f.ctx.sink.sent;
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(s[0].m, kStart);
  EXPECT_FALSE(s[0].indirect);
  EXPECT_EQ(s[1].m, Comp(kGcsResultFour));
  EXPECT_FALSE(s[1].indirect);
  EXPECT_EQ(s[2].m, kEnd);
  EXPECT_FALSE(s[2].indirect);
  EXPECT_EQ(s[3].m, kEnd);
  EXPECT_TRUE(s[3].indirect);
}

TEST(Engine, RecordNotSizedBySelectIsLeftAlone) {
  EngineFixture f;
  f.ctx.blocks.compSize = 100;
  f.Type("rk");
  EXPECT_TRUE(f.ctx.sink.sent.empty());
}

// The ANSI route gives the same text as the Unicode route, in KS bytes.
TEST(Engine, AnsiRouteMatchesUnicodeRoute) {
  const char* words[3][4] = {
      {"hangugeo", "annyeonghaseyo", "kamsahamnida", "seoul"},
      {"dkssudgktpdy", "rkatkgkqslek", "gksrnrdj", "dhkswjs"},
      {"jfsjDbjfoj", "kfwx", "uhlfs", "kfsjdoz"},
  };
  for (int mode = 0; mode < 3; ++mode) {
    auto table = BuildReadingTable(mode);
    ReadingTable rt;
    ASSERT_TRUE(rt.Load(table.data(), table.size(), mode));
    for (const char* w : words[mode]) {
      EngineFixture u, a;
      u.settings.inputMode = a.settings.inputMode = mode;
      u.settings.mikakuBytes = a.settings.mikakuBytes = 100;
      a.settings.interfaceCodePage = 0;
      a.engine.SetReadingTable(&rt);
      u.Type(w);
      a.Type(w);
      std::string ks = codeconv::PlatformCodePages().FromUtf16(949, u.ctx.CompW());
      EXPECT_EQ(a.ctx.CompA(), ks) << "mode " << mode << " keys " << w;
      EXPECT_EQ(a.ctx.comp.h.dwCursorPos, ks.size());
      u.Key(0x08);
      a.Key(0x08);
      // A syllable outside KS X 1001 cannot come out of the reading table.
      std::string after = codeconv::PlatformCodePages().FromUtf16(949, u.ctx.CompW());
      bool ksX1001 = std::all_of(after.begin(), after.end(), [](char b) { return (b & 0xFF) >= 0xA1; });
      if (ksX1001) {
        EXPECT_EQ(a.ctx.CompA(), after) << "after Backspace, mode " << mode << " keys " << w;
      }
    }
  }
}

// Under GM V3 the jamo of GM95 row 4 are shown in row 41 and read back from
// there when the next key recomposes them; symbols go through the code tables.
TEST(Engine, GmV3ComposesJamoAndConvertsSymbols) {
  const codeconv::GmLayout layout = codeconv::BuildGmLayout(codeconv::PlatformCodePages());
  const std::vector<uint8_t> toV3 = codeconv::BuildGm95ToV3Table(layout);
  const std::vector<uint8_t> fromV3 = codeconv::BuildGmV3To95Table(layout);
  const codeconv::GmTables tables{{toV3.data(), toV3.size()}, {fromV3.data(), fromV3.size()}};
  auto table = BuildReadingTable(1);
  ReadingTable rt;
  ASSERT_TRUE(rt.Load(table.data(), table.size(), 1));
  EngineFixture f;
  f.settings.koreanCode = 2;
  f.settings.interfaceCodePage = 0;
  f.engine.SetReadingTable(&rt);
  f.engine.SetGmTables(&tables);
  f.Type("r");
  EXPECT_EQ(f.ctx.CompA(), "\x95\x40");  // ㄱ: row 41, cell 1
  f.Type("k");
  EXPECT_EQ(f.ctx.CompA(), "\x88\x9F");  // 가
  f.Type("r");
  EXPECT_EQ(f.ctx.CompA(), "\x88\xA0");  // 각
  f.Type("k");
  EXPECT_EQ(f.ctx.CompA(), "\x88\x9F\x88\x9F");  // 가가
  f.Key(0x0D);
  f.settings.conversionMode = kConvNative | kConvFullShape;
  f.engine.InputCharKey(f.ctx.blocks, '!', 0x31);
  EXPECT_EQ(f.ctx.ResultA(), "\x81\x49");  // KS A3A1 at its Shift-JIS place, not GM95 82 40
}

TEST(Engine, AnsiWithoutReadingTableBeeps) {
  EngineFixture f;
  f.settings.interfaceCodePage = 0;
  f.Type("r");
  EXPECT_TRUE(f.ctx.sink.sent.empty());
  ASSERT_EQ(f.feedback.beeps.size(), 1u);
  EXPECT_EQ(f.feedback.beeps[0], kBeepDefault);
}

TEST(Engine, AnsiCharacterWithoutCompositionStillGoesThroughTheComposition) {
  EngineFixture f;
  f.settings.interfaceCodePage = 0;
  f.Type("1");
  EXPECT_EQ(f.ctx.ResultA(), "1");
  std::vector<ImeMessage> expected{kStart, Comp(kGcsCompSix), Comp(kGcsResultFour), kEnd};
  EXPECT_EQ(f.ctx.sink.Messages(), expected);
}

}  // namespace
}  // namespace ime
