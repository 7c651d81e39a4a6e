#include "key_tables.h"

#include <cstring>

namespace ime {

namespace {

void Mark(uint8_t* table, unsigned first, unsigned last) {
  for (unsigned k = first; k <= last; ++k) table[k] = 1;
}

ProcessKeyTables Build() {
  ProcessKeyTables t;
  std::memset(&t, 0, sizeof t);
  uint8_t* idle = t.plain[0];
  // Not composing: Space, digits, letters, the numeric keypad, the punctuation
  // and OEM keys.
  Mark(idle, 0x20, 0x20);
  Mark(idle, 0x30, 0x39);
  Mark(idle, 0x41, 0x5A);
  Mark(idle, 0x60, 0x6F);
  Mark(idle, 0x92, 0x92);
  Mark(idle, 0xBA, 0xC0);
  Mark(idle, 0xDB, 0xDF);
  Mark(idle, 0xE2, 0xE2);
  Mark(idle, 0xF0, 0xFD);
  uint8_t* composing = t.plain[1];
  std::memcpy(composing, idle, 256);
  // Composing: also the editing and conversion keys.
  for (unsigned k : {0x03u, 0x08u, 0x09u, 0x0Du, 0x19u, 0x1Bu, 0x1Cu, 0x1Du, 0x2Eu}) Mark(composing, k, k);
  Mark(composing, 0x21, 0x2A);
  std::memcpy(t.shift, t.plain, sizeof t.plain);
  return t;
}

}  // namespace

const ProcessKeyTables& ProcessKeyTables::Get() {
  static const ProcessKeyTables tables = Build();
  return tables;
}

int ProcessKeyDecision(unsigned virtualKey, const uint8_t* keyState, bool composing) {
  const ProcessKeyTables& t = ProcessKeyTables::Get();
  const unsigned vk = virtualKey & 0xFF;
  const int c = composing ? 1 : 0;
  if (keyState[0x12] & 0x80) return 0;  // Alt
  if (keyState[0x11] & 0x80) return t.control[c][vk];
  if (keyState[0x10] & 0x80) return t.shift[c][vk];
  return t.plain[c][vk];
}

unsigned PackKeyCharacter(uint32_t virtualKeyWithChar, bool unicode) {
  const unsigned vk = virtualKeyWithChar & 0xFF;
  // Windows gives an ANSI input method the character in bits 8-15. Wine gives
  // it in the high word as UTF-16 whatever the interface: where bits 8-15 are
  // empty, the high word is read as for the Unicode interface.
  if (!unicode && ((virtualKeyWithChar & 0xFF00) != 0 || (virtualKeyWithChar >> 16) == 0))
    return virtualKeyWithChar & 0xFFFF;
  const unsigned ch = virtualKeyWithChar >> 16;
  unsigned byte = 0;
  if (ch < 0x80) {
    byte = ch;
  } else if (ch >= 0xFF61 && ch <= 0xFF9F) {
    byte = (ch & 0xFF) + 0x40;
  }
  return vk | byte << 8;
}

int ImeKeyDownCore(ImeEngine& engine, ImeContextBlocks& ctx, unsigned packedKey, bool controlHeld) {
  const unsigned vk = packedKey & 0xFF;
  if (vk == 0x10 || vk == 0x11 || controlHeld) return 1;
  if (!engine.DispatchEditKey(ctx, packedKey)) {
    engine.InputCharKey(ctx, static_cast<uint8_t>(packedKey >> 8), vk);
  }
  // The dictionary file stays open only within one key, so that the input
  // method in other processes can use it between keys.
  engine.EndDictionaryAccess();
  return 1;
}

int NotifyImeCore(ImeEngine& engine, ImeContextBlocks& ctx, bool open, uint32_t action,
                  uint32_t index, uint32_t value) {
  const bool listOpen = IsCandidateOpen(ctx);
  switch (action) {
    case kNiContextUpdated:
      if (value != kImcSetOpenStatus) return 0;
      if (!open && IsComposing(ctx)) engine.CancelComposition(ctx);
      return 1;
    case kNiOpenCandidate: {
      if (!IsCompConverted(ctx) || listOpen) return 0;
      const int opened = engine.ConvertToHanja(ctx);
      engine.EndDictionaryAccess();
      return opened;
    }
    case kNiCloseCandidate:
      // The list closes in the record as well, so the next key composes
      // again and a second close is refused.
      return engine.CloseCandidateList(ctx);
    case kNiSelectCandidateStr:
      // The composition shows the selected word, which is what Enter commits.
      return engine.SelectCandidate(ctx, value);
    case kNiChangeCandidateList:
      return listOpen ? 1 : 0;
    case kNiCompositionStr:
      // The request (CPS_*) comes in the index argument.
      switch (index) {
        case kCpsComplete: engine.DetermineComposition(ctx, true); engine.EndDictionaryAccess(); return 1;
        case kCpsConvert: engine.ConvertToHanja(ctx); engine.EndDictionaryAccess(); return 1;
        case kCpsRevert: engine.RevertComposition(ctx); engine.EndDictionaryAccess(); return 1;
        case kCpsCancel: engine.CancelComposition(ctx); return 1;
        default: return 0;
      }
    case kNiSetCandidatePageStart:
    case kNiSetCandidatePageSize:
      // A page size of 0 would leave a list with no page.
      if (value > 9 || !listOpen || value >= ctx.cand->list.dwCount) return 0;
      if (action == kNiSetCandidatePageSize && value == 0) return 0;
      if (action == kNiSetCandidatePageStart) {
        ctx.cand->list.dwPageStart = value;
      } else {
        ctx.cand->list.dwPageSize = value;
      }
      if (ctx.sink) ctx.sink->Send({kWmImeNotify, kImnChangeCandidate, 1}, false);
      return 1;
    default:
      return 0;
  }
}

long EscapeAnswer(unsigned escape, const void* data) {
  if (escape != kImeEscQuerySupport || data == nullptr) return 0;
  unsigned asked;
  std::memcpy(&asked, data, sizeof asked);
  return asked == kImeEscQuerySupport ? 1 : 0;
}

}  // namespace ime
