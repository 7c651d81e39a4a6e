// The decisions of the entry points that do not need the platform: which keys
// the input method takes, how a key's character is packed for the engine, the
// key-down path, the application's notifications and the escapes it answers.
#pragma once
#include <cstdint>

#include "engine.h"

namespace ime {

// Which keys the input method takes: six tables of 256 entries indexed by
// virtual key (Shift, plain, Control; each not composing and composing).
struct ProcessKeyTables {
  uint8_t shift[2][256];
  uint8_t plain[2][256];
  uint8_t control[2][256];
  static const ProcessKeyTables& Get();
};

// 1 when the input method takes the key. keyState is the 256-byte key state.
int ProcessKeyDecision(unsigned virtualKey, const uint8_t* keyState, bool composing);

// The character of ImeToAsciiEx's virtual key moved into bits 8-15 beside the
// virtual key: under the Unicode interface U+0000-U+007F as their byte,
// U+FF61-U+FF9F as 0xA1-0xDF, anything else as 0.
unsigned PackKeyCharacter(uint32_t virtualKeyWithChar, bool unicode);

// The key-down path once the key has been packed. controlHeld suppresses all
// input. Returns 1.
int ImeKeyDownCore(ImeEngine& engine, ImeContextBlocks& ctx, unsigned packedKey, bool controlHeld);

// NotifyIME actions on an input context; fOpen is the context's open flag.
int NotifyImeCore(ImeEngine& engine, ImeContextBlocks& ctx, bool open, uint32_t action,
                  uint32_t index, uint32_t value);

// ImeEscape: only IME_ESC_QUERY_SUPPORT about itself is answered with 1.
long EscapeAnswer(unsigned escape, const void* data);

constexpr uint32_t kNiContextUpdated = 3;
constexpr uint32_t kNiOpenCandidate = 16;
constexpr uint32_t kNiCloseCandidate = 17;
constexpr uint32_t kNiSelectCandidateStr = 18;
constexpr uint32_t kNiChangeCandidateList = 19;
constexpr uint32_t kNiCompositionStr = 21;
constexpr uint32_t kNiSetCandidatePageStart = 22;
constexpr uint32_t kNiSetCandidatePageSize = 23;
constexpr uint32_t kImcSetOpenStatus = 6;
constexpr uint32_t kCpsComplete = 1, kCpsConvert = 2, kCpsRevert = 3, kCpsCancel = 4;
constexpr unsigned kImeEscQuerySupport = 3;

}  // namespace ime
