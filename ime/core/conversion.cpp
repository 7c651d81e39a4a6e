// Hanja conversion and the candidate list: the reading before the cursor is
// looked up in the dictionary (in GM95), the longest known prefix becomes a
// converted first clause, and a second request opens the list of its words.
#include <algorithm>
#include <cstring>

#include "engine.h"
#include "pair_walk.h"

namespace ime {

namespace {

constexpr uint32_t kMaxReadingBytes = 32;
constexpr uint32_t kMaxLearnedWordBytes = 18;
constexpr uint32_t kCandPageSize = 9;
constexpr uint32_t kCandListSize = 2844;
constexpr uint32_t kCandListOffset = 144;
constexpr uint32_t kCandFirstStringOffset = 540;  // from the start of the list
constexpr uint32_t kCandStyleRead = 1;            // IME_CAND_READ
constexpr uint8_t kAttrTargetConverted = 1;
constexpr uint8_t kAttrConverted = 2;

std::string SlotText(const ImeCandInfo& ci, uint32_t index) {
  const char* slot = reinterpret_cast<const char*>(ci.slots + index * kCandSlotSize);
  return std::string(slot, strnlen(slot, kCandSlotSize - 1));
}

}  // namespace

// ---- code of the dictionary ---------------------------------------------------

std::string ImeEngine::ToDbCode(const Text& t) const {
  if (settings_.Unicode()) {
    std::u16string u;
    for (const Ch& c : t) u.push_back(static_cast<char16_t>(c.v));
    return codePages_.FromUtf16(949, u);
  }
  std::string out;
  for (const Ch& c : t) {
    if (c.w == 2) out.push_back(static_cast<char>(codeconv::Lead(c.v)));
    out.push_back(static_cast<char>(c.v & 0xFF));
  }
  return out;
}

ImeEngine::Text ImeEngine::FromDbCode(const std::string& bytes) const {
  if (settings_.Unicode()) {
    Text t;
    for (char16_t c : codePages_.ToUtf16(949, bytes)) t.push_back({c, 1});
    return t;
  }
  return ReadUnits(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()));
}

// Double bytes of the code in use to GM95 and back; single bytes stay.
std::string ImeEngine::DbToGm95(const std::string& bytes) const {
  std::string out = bytes;
  auto* p = reinterpret_cast<uint8_t*>(out.data());
  codeconv::ConvertPairs(p, p, out.size(), [this](uint8_t b) { return IsLead(b); },
                         [this](codeconv::DbChar c) { return ToGm95(c); });
  return out;
}

std::string ImeEngine::Gm95ToDb(const std::string& gm95) const {
  std::string out = gm95;
  auto* p = reinterpret_cast<uint8_t*>(out.data());
  codeconv::ConvertPairs(p, p, out.size(), codeconv::IsGmLeadByte,
                         [this](codeconv::DbChar c) { return FromGm95(c); });
  return out;
}

// Number of leading characters of t whose double-byte form fills bytes.
size_t ImeEngine::CharsOfDbBytes(const Text& t, size_t bytes) const {
  size_t n = 0, used = 0;
  while (n < t.size()) {
    size_t w = ToDbCode(Text{t[n]}).size();
    if (used + w > bytes) break;
    used += w;
    ++n;
  }
  return n;
}

// ---- the composition of a conversion ----------------------------------------

// composition = word + the reading after its first readWordChars characters;
// attributes 1 over the word and 2 over the rest (1 everywhere when
// allTarget); the reading is kept. False, with nothing written, when the
// composition would not fit its area.
bool ImeEngine::WriteConversion(ImeCompString& cs, const Text& word, const Text& reading,
                                size_t readWordChars, bool allTarget) const {
  Text comp = word;
  comp.insert(comp.end(), reading.begin() + static_cast<long>(readWordChars), reading.end());
  const uint32_t unitBytes = settings_.Unicode() ? 2 : 1;
  if (ByteLength(comp) + unitBytes > sizeof cs.compStr) return false;

  CompStrHeader& h = cs.h;
  const uint32_t wordUnits = UnitCount(word, word.size());
  const uint32_t units = WriteUnits(cs.compStr, sizeof cs.compStr, comp);
  h.dwCompStrLen = h.dwCompAttrLen = units;
  std::memset(cs.compAttr, kAttrTargetConverted, wordUnits);
  std::memset(cs.compAttr + wordUnits, allTarget ? kAttrTargetConverted : kAttrConverted, units - wordUnits);

  const uint32_t readUnits = WriteUnits(cs.compReadStr, sizeof cs.compReadStr, reading);
  const uint32_t readWordUnits = UnitCount(reading, readWordChars);
  h.dwCompReadStrLen = h.dwCompReadAttrLen = readUnits;
  std::memset(cs.compReadAttr, 0, readUnits);

  PutU32(cs.compClause, 0);
  PutU32(cs.compReadClause, 0);
  if (wordUnits < units) {
    PutU32(cs.compClause + 4, wordUnits);
    PutU32(cs.compClause + 8, units);
    PutU32(cs.compReadClause + 4, readWordUnits);
    PutU32(cs.compReadClause + 8, readUnits);
    h.dwCompClauseLen = h.dwCompReadClauseLen = 12;
  } else {
    PutU32(cs.compClause + 4, units);
    PutU32(cs.compReadClause + 4, readUnits);
    h.dwCompClauseLen = h.dwCompReadClauseLen = 8;
  }
  h.dwCursorPos = 0;
  h.dwDeltaStart = 0;
  return true;
}

int ImeEngine::ConvertToHanja(ImeContextBlocks& ctx) {
  if (dictionary_ == nullptr || !dictionary_->Available()) {
    feedback_.Beep(kBeepDefault);
    return 0;
  }
  if (!Valid(ctx) || !IsComposing(ctx)) return 0;
  ImeCompString& cs = *ctx.comp;
  const Text reading = ReadReading(cs);

  if (!IsCompConverted(ctx)) {
    // First request: the longest known prefix of the reading before the cursor.
    const Text comp = ReadComp(cs);
    const size_t cursorChars = CharIndexOfUnit(comp, cs.h.dwCursorPos);
    const std::string before = ToDbCode(Text(reading.begin(), reading.begin() + static_cast<long>(std::min(cursorChars, reading.size()))));
    size_t n = std::min<size_t>(before.size(), kMaxReadingBytes);
    if (n < 1) {
      feedback_.Beep(kBeepDefault);
      return 0;
    }
    std::string word;
    size_t chars = 0;
    for (;;) {
      chars = CharsOfDbBytes(reading, n);
      std::string prefix = ToDbCode(Text(reading.begin(), reading.begin() + static_cast<long>(chars)));
      if (!prefix.empty() && dictionary_->Lookup(DbToGm95(prefix), ctx.conversionMode, &word)) break;
      if (n <= 2) {
        dictionary_->EndAccess();
        feedback_.Beep(kBeepDefault);
        return 0;
      }
      n -= 2;
    }
    const uint32_t oldCursor = cs.h.dwCursorPos;
    if (!WriteConversion(cs, FromDbCode(Gm95ToDb(word)), reading, chars, false)) {
      dictionary_->EndAccess();
      feedback_.Beep(kBeepDefault);
      return 0;
    }
    savedCursorPos = oldCursor;
    SendComposition(ctx, kGcsCompEight);
    return 1;
  }

  // Next request: the list of every word of the first clause's reading.
  if (ctx.cand == nullptr || ctx.candSize < kCandInfoSize || IsCandidateOpen(ctx)) return 0;
  const size_t readWordChars = cs.h.dwCompReadClauseLen >= 12
                                   ? CharIndexOfUnit(reading, GetU32(cs.compReadClause + 4))
                                   : reading.size();
  std::string word;
  if (!dictionary_->Lookup(DbToGm95(ToDbCode(Text(reading.begin(), reading.begin() + static_cast<long>(readWordChars)))),
                          ctx.conversionMode, &word)) {
    dictionary_->EndAccess();
    feedback_.Beep(kBeepDefault);
    return 0;
  }
  ImeCandInfo& ci = *ctx.cand;
  std::memset(&ci, 0, sizeof ci);
  uint32_t count = 0;
  do {
    // A word that does not fit its slot with the terminator is left out.
    std::string bytes = Gm95ToDb(word);
    if (!bytes.empty() && bytes.size() < kCandSlotSize) {
      std::memcpy(ci.slots + count * kCandSlotSize, bytes.data(), bytes.size());
      ++count;
    }
  } while (count < kMaxCandidates && dictionary_->LookupNext(&word));
  if (count == 0) {
    dictionary_->EndAccess();
    feedback_.Beep(kBeepDefault);
    return 0;
  }
  ci.info.dwSize = kCandInfoSize;
  ci.info.dwCount = 1;
  ci.info.dwOffset[0] = kCandListOffset;
  ci.list.dwSize = kCandListSize;
  ci.list.dwStyle = kCandStyleRead;
  ci.list.dwCount = count;
  ci.list.dwSelection = 0;
  ci.list.dwPageStart = 0;
  ci.list.dwPageSize = std::min(count, kCandPageSize);
  for (uint32_t i = 0; i < count; ++i) ci.list.dwOffset[i] = kCandFirstStringOffset + i * kCandSlotSize;
  Send(ctx, kWmImeNotify, kImnOpenCandidate, 1);
  MoveCandidateSelection(ctx, -1);
  return 1;
}

// The candidate index replaces the first clause of the composition.
void ImeEngine::ShowCandidate(ImeContextBlocks& ctx, uint32_t index, bool allTarget) {
  ImeCompString& cs = *ctx.comp;
  const Text reading = ReadReading(cs);
  const size_t readWordChars = cs.h.dwCompReadClauseLen >= 12
                                   ? CharIndexOfUnit(reading, GetU32(cs.compReadClause + 4))
                                   : reading.size();
  if (!WriteConversion(cs, FromDbCode(SlotText(*ctx.cand, index)), reading, readWordChars, allTarget)) {
    feedback_.Beep(kBeepDefault);
  }
}

int ImeEngine::MoveCandidateSelection(ImeContextBlocks& ctx, int move) {
  if (!Valid(ctx) || !IsCandidateOpen(ctx)) return 0;
  CandListHeader& l = ctx.cand->list;
  const uint32_t count = l.dwCount;
  uint32_t sel = std::min(l.dwSelection, count - 1);
  uint32_t page = l.dwPageStart;
  switch (move) {
    case -1:
    case -5:
      if (sel + 1 >= count) {
        if (move == -5) return 0;
        sel = 0;
        page = 0;
      } else {
        ++sel;
        if (sel >= page + kCandPageSize && page + kCandPageSize < count) ++page;
      }
      break;
    case -2:
    case -6:
      if (sel == 0) {
        if (move == -6) return 0;
        sel = count - 1;
        page = count > kCandPageSize ? count - kCandPageSize : 0;
      } else {
        --sel;
        if (sel < page) --page;
      }
      break;
    case -3:
      if (sel == count - 1) return 1;
      if (page + 2 * kCandPageSize <= count) {
        page += kCandPageSize;
        sel += kCandPageSize;
      } else if (count > kCandPageSize) {
        page = count - kCandPageSize;
        sel = std::min(sel + kCandPageSize, count - 1);
      } else {
        page = 0;
        sel = count - 1;
      }
      break;
    case -4:
      if (sel == 0) return 1;
      if (page < kCandPageSize) {
        page = 0;
        sel = sel < kCandPageSize ? 0 : sel - kCandPageSize;
      } else {
        page -= kCandPageSize;
        sel -= kCandPageSize;
      }
      break;
    default: {
      if (move < 0) return 0;
      uint32_t index;
      if (move < 512) {
        index = std::min<uint32_t>(static_cast<uint32_t>(count * static_cast<uint64_t>(move) / 256), count - 1);
      } else {
        index = page + static_cast<uint32_t>(move - 512);
      }
      if (index >= count) return 1;  // past the list: nothing changes
      SelectCandidate(ctx, index);
      return 1;
    }
  }
  l.dwSelection = sel;
  l.dwPageStart = page;
  Send(ctx, kWmImeNotify, kImnChangeCandidate, 1);
  ShowCandidate(ctx, sel, false);
  SendComposition(ctx, kGcsCompEight);
  return 1;
}

int ImeEngine::SelectCandidate(ImeContextBlocks& ctx, uint32_t index) {
  if (!Valid(ctx) || !IsCandidateOpen(ctx) || index >= ctx.cand->list.dwCount) return 0;
  CandListHeader& l = ctx.cand->list;
  if (index < l.dwPageStart) {
    l.dwPageStart = index;
  } else if (index >= l.dwPageStart + kCandPageSize) {
    l.dwPageStart = index - (kCandPageSize - 1);
  }
  l.dwSelection = index;
  Send(ctx, kWmImeNotify, kImnChangeCandidate, 1);
  ShowCandidate(ctx, index, false);
  SendComposition(ctx, kGcsCompEight);
  return 1;
}

int ImeEngine::CloseCandidateList(ImeContextBlocks& ctx) {
  if (!IsCandidateOpen(ctx)) return 0;
  CloseCandidates(ctx);
  return 1;
}

int ImeEngine::SelectCandidateByDigit(ImeContextBlocks& ctx, int n) {
  if (!Valid(ctx) || !IsCandidateOpen(ctx) || n < 0) return 0;
  const uint32_t index = ctx.cand->list.dwPageStart + static_cast<uint32_t>(n);
  if (index >= ctx.cand->list.dwCount) return 0;
  ctx.cand->list.dwSelection = index;
  ShowCandidate(ctx, index, true);
  DetermineComposition(ctx, true);
  return 1;
}

// Keys while the candidate list is open: every key is taken.
int ImeEngine::DispatchCandidateKey(ImeContextBlocks& ctx, unsigned key) {
  const unsigned vk = key & 0xFF;
  const bool shift = settings_.shiftHeld;
  switch (vk) {
    case 0x08: case 0x1B: BackToReading(ctx); break;
    case 0x09: case 0x0D: case 0x1D: DetermineComposition(ctx, true); break;
    case 0x19: case 0x1C: MoveCandidateSelection(ctx, shift ? -2 : -1); break;
    case 0x20: MoveCandidateSelection(ctx, shift ? -1 : -2); break;
    case 0x21: MoveCandidateSelection(ctx, -4); break;
    case 0x22: MoveCandidateSelection(ctx, -3); break;
    case 0x26: MoveCandidateSelection(ctx, -2); break;
    case 0x28: MoveCandidateSelection(ctx, -1); break;
    case 0x27: DetermineFirstClause(ctx); break;
    default: {
      char ch = static_cast<char>(key >> 8 & 0xFF);
      int digit = 0;
      if (settings_.inputMode == 2 && shift) {
        // 3-set with Shift: the shifted keys M < > J K L U I O stand for 1 to 9.
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
        const char* p = ch != 0 ? std::strchr("M<>JKLUIO", ch) : nullptr;
        if (p) digit = static_cast<int>(p - "M<>JKLUIO") + 1;
      }
      if (digit == 0 && ch >= '1' && ch <= '9') digit = ch - '0';
      if (digit > 0 && static_cast<uint32_t>(digit) <= ctx.cand->list.dwCount) {
        SelectCandidateByDigit(ctx, digit - 1);
      }
      break;
    }
  }
  return 1;
}

void ImeEngine::DicLearnChoice(ImeCompString& cs, unsigned conversionMode) {
  if (dictionary_ == nullptr) return;
  if (settings_.learning && cs.h.dwCompStrLen > 0 && cs.compAttr[0] == kAttrTargetConverted) {
    const Text comp = ReadComp(cs);
    const Text reading = ReadReading(cs);
    const uint32_t wordEnd = cs.h.dwCompClauseLen >= 8 ? GetU32(cs.compClause + 4) : 0;
    const uint32_t readEnd = cs.h.dwCompReadClauseLen >= 8 ? GetU32(cs.compReadClause + 4) : 0;
    if (wordEnd >= 1 && wordEnd <= kMaxLearnedWordBytes && readEnd >= 1 && readEnd <= kMaxReadingBytes) {
      std::string word = ToDbCode(Text(comp.begin(), comp.begin() + static_cast<long>(CharIndexOfUnit(comp, wordEnd))));
      std::string read = ToDbCode(Text(reading.begin(), reading.begin() + static_cast<long>(CharIndexOfUnit(reading, readEnd))));
      if (word.size() <= kMaxLearnedWordBytes && read.size() <= kMaxReadingBytes &&
          !dictionary_->Learn(DbToGm95(read), DbToGm95(word), conversionMode)) {
        feedback_.Beep(kBeepDefault);
      }
    }
  }
  dictionary_->EndAccess();
}

void ImeEngine::EndDictionaryAccess() {
  if (dictionary_) dictionary_->EndAccess();
}

}  // namespace ime
