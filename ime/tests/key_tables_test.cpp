#include <gtest/gtest.h>

#include <cstring>

#include "fake_context.h"
#include "key_tables.h"

namespace ime {
namespace {

using test::EngineFixture;

struct KeyState {
  uint8_t s[256] = {};
  KeyState& Hold(unsigned vk) {
    s[vk] = 0x80;
    return *this;
  }
};

TEST(ProcessKey, WhichKeysAreTaken) {
  struct Case {
    unsigned vk;
    bool idle;
    bool composing;
  } cases[] = {
      {0x20, true, true},   {0x41, true, true},   {0x39, true, true},   {0x6F, true, true},
      {0xBA, true, true},   {0xDF, true, true},   {0xF0, true, true},   {0xFD, true, true},
      {0x92, true, true},   {0xE2, true, true},
      {0x0D, false, true},  {0x08, false, true},  {0x1B, false, true},  {0x25, false, true},
      {0x28, false, true},  {0x2E, false, true},  {0x19, false, true},  {0x1C, false, true},
      {0x03, false, true},  {0x2A, false, true},
      {0x2B, false, false}, {0x70, false, false}, {0x10, false, false}, {0xFE, false, false},
      {0xC1, false, false},
  };
  KeyState none, shift;
  shift.Hold(0x10);
  for (const Case& c : cases) {
    EXPECT_EQ(ProcessKeyDecision(c.vk, none.s, false), c.idle) << std::hex << c.vk;
    EXPECT_EQ(ProcessKeyDecision(c.vk, none.s, true), c.composing) << std::hex << c.vk;
    EXPECT_EQ(ProcessKeyDecision(c.vk, shift.s, true), c.composing) << std::hex << c.vk;
  }
}

TEST(ProcessKey, ControlAndAltTakeNothing) {
  KeyState control, alt;
  control.Hold(0x11);
  alt.Hold(0x12);
  for (unsigned vk = 0; vk < 256; ++vk) {
    ASSERT_EQ(ProcessKeyDecision(vk, control.s, true), 0) << vk;
    ASSERT_EQ(ProcessKeyDecision(vk, alt.s, false), 0) << vk;
  }
}

TEST(KeyDown, UnicodeCharactersArePackedAsOneByte) {
  struct Case {
    uint32_t ch;
    unsigned byte;
  } cases[] = {{u'a', 'a'}, {0x7F, 0x7F}, {0xFF76, 0xB6}, {0xFF61, 0xA1}, {0xFF9F, 0xDF},
               {0x3042, 0}, {0x00E9, 0}, {0x0080, 0}, {0xAC00, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(PackKeyCharacter(0x41 | c.ch << 16, true), 0x41 | c.byte << 8) << std::hex << c.ch;
  }
  // The ANSI interface already has the character in bits 8-15.
  EXPECT_EQ(PackKeyCharacter(0x41 | 'r' << 8, false), 0x41u | 'r' << 8);
  EXPECT_EQ(PackKeyCharacter(0x20, false), 0x20u);
  // Where bits 8-15 are empty and the high word holds UTF-16 (as Wine gives
  // it to every input method), it is read as for the Unicode interface.
  for (const Case& c : cases) {
    EXPECT_EQ(PackKeyCharacter(0x41 | c.ch << 16, false), 0x41 | c.byte << 8) << std::hex << c.ch;
  }
}

TEST(KeyDown, ShiftAndControlKeysAndControlHeldDoNothing) {
  EngineFixture f;
  EXPECT_EQ(ImeKeyDownCore(f.engine, f.ctx.blocks, 0x10, false), 1);
  EXPECT_EQ(ImeKeyDownCore(f.engine, f.ctx.blocks, 0x52 | 'r' << 8, true), 1);
  EXPECT_TRUE(f.ctx.sink.sent.empty());
  ImeKeyDownCore(f.engine, f.ctx.blocks, 0x52 | 'r' << 8, false);
  EXPECT_EQ(f.ctx.CompW(), u"\u3131");
}

TEST(Notify, CompositionRequests) {
  EngineFixture f;
  f.Type("r");
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiCompositionStr, kCpsComplete, 0), 1);
  EXPECT_EQ(f.ctx.ResultW(), u"\u3131");
  f.Type("r");
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiCompositionStr, kCpsCancel, 0), 1);
  EXPECT_EQ(f.ctx.comp.h.dwCompStrLen, 0u);
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiCompositionStr, 9, 0), 0);
  // Closing the context cancels what is composing.
  f.Type("r");
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, false, kNiContextUpdated, 0, kImcSetOpenStatus), 1);
  EXPECT_EQ(f.ctx.comp.h.dwCompStrLen, 0u);
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiContextUpdated, 0, 1), 0);
}

TEST(Notify, CandidateActionsWithoutAListAreRefused) {
  EngineFixture f;
  for (uint32_t action : {kNiOpenCandidate, kNiCloseCandidate, kNiSelectCandidateStr, kNiChangeCandidateList,
                          kNiSetCandidatePageStart, kNiSetCandidatePageSize, 24u, 2u, 20u}) {
    EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, action, 1, 0), 0) << action;
  }
  EXPECT_TRUE(f.ctx.sink.sent.empty());
}

TEST(Notify, PageStartAboveNineIsRefusedEvenWithALongList) {
  EngineFixture f;
  f.ctx.cand.list.dwCount = 20;
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiSetCandidatePageStart, 1, 10), 0);
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiSetCandidatePageStart, 1, 9), 1);
  EXPECT_EQ(f.ctx.cand.list.dwPageStart, 9u);
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiSelectCandidateStr, 1, 20), 0);
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiSelectCandidateStr, 1, 19), 1);
  EXPECT_EQ(f.ctx.cand.list.dwSelection, 19u);
  EXPECT_EQ(NotifyImeCore(f.engine, f.ctx.blocks, true, kNiChangeCandidateList, 1, 0), 1);
}

TEST(Escape, OnlyQuerySupportAboutItself) {
  unsigned query = kImeEscQuerySupport, other = 0x1000;
  EXPECT_EQ(EscapeAnswer(kImeEscQuerySupport, &query), 1);
  EXPECT_EQ(EscapeAnswer(kImeEscQuerySupport, &other), 0);
  EXPECT_EQ(EscapeAnswer(kImeEscQuerySupport, nullptr), 0);
  EXPECT_EQ(EscapeAnswer(0x1000, &query), 0);
}

}  // namespace
}  // namespace ime
