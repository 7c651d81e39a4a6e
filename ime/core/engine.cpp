#include "engine.h"

#include <algorithm>
#include <cstring>

#include "ime_code.h"

namespace ime {

namespace {

constexpr uint32_t kLetterLimitBytes = 111;

// Half-width katakana 0xA1..0xDF in full width: KS X 1001 cells (row 10
// hiragana of the same sound, and a few symbols).
constexpr uint16_t kFullWidthKana[63] = {
    0xA3AE, 0xA1B8, 0xA1B9, 0xA3AC, 0xA1A4, 0xAAF2, 0xAAA1, 0xAAA3, 0xAAA5, 0xAAA7, 0xAAA9,
    0xAAE3, 0xAAE5, 0xAAE7, 0xAAC3, 0xA1AA, 0xAAA2, 0xAAA4, 0xAAA6, 0xAAA8, 0xAAAA, 0xAAAB,
    0xAAAD, 0xAAAF, 0xAAB1, 0xAAB3, 0xAAB5, 0xAAB7, 0xAAB9, 0xAABB, 0xAABD, 0xAABF, 0xAAC1,
    0xAAC4, 0xAAC6, 0xAAC8, 0xAACA, 0xAACB, 0xAACC, 0xAACD, 0xAACE, 0xAACF, 0xAAD2, 0xAAD5,
    0xAAD8, 0xAADB, 0xAADE, 0xAADF, 0xAAE0, 0xAAE1, 0xAAE2, 0xAAE4, 0xAAE6, 0xAAE8, 0xAAE9,
    0xAAEA, 0xAAEB, 0xAAEC, 0xAAED, 0xAAEF, 0xAAF3, 0xA2A9, 0xA2AA,
};

// KS X 1001 cell of a single-byte character in full width; 0 when none.
uint16_t FullWidthKs(uint8_t b) {
  if (b == 0x20) return 0xA1A1;
  if (b >= 0x21 && b <= 0x7E) return static_cast<uint16_t>(0xA300 | (b - 0x20 + 0xA0));
  if (b >= 0xA1 && b <= 0xDF) return kFullWidthKana[b - 0xA1];
  return 0;
}

bool IsAnyAttributeSet(const ImeCompString& cs) {
  for (uint32_t i = 0; i < cs.h.dwCompAttrLen && i < sizeof cs.compAttr; ++i) {
    if (cs.compAttr[i] != 0) return true;
  }
  return false;
}


}  // namespace

bool IsCharacterKey(unsigned c) { return (c >= 0x20 && c <= 0x7F) || (c >= 0xA1 && c <= 0xDF); }

bool IsComposing(const ImeContextBlocks& ctx) {
  return ctx.comp != nullptr && ctx.compSize >= kCompStrHeaderSize && ctx.comp->h.dwCompStrLen > 0;
}

bool IsCompConverted(const ImeContextBlocks& ctx) {
  return Valid(ctx) && ctx.compSize == kCompStrSize && ctx.comp->h.dwCompStrLen > 0 &&
         ctx.comp->compAttr[0] != 0;
}

bool IsCandidateOpen(const ImeContextBlocks& ctx) {
  return ctx.cand != nullptr && ctx.candSize >= kCandInfoSize && ctx.cand->list.dwCount > 0;
}

ImeEngine::ImeEngine(ImeSettings& settings, UserFeedback& feedback,
                     const codeconv::CodePageConverter& codePages)
    : settings_(settings), feedback_(feedback), codePages_(codePages) {}

// ---- record access -------------------------------------------------------

bool ImeEngine::IsLead(uint8_t b) const {
  return codeconv::IsCodeLeadByte(settings_.koreanCode, b);
}

ImeEngine::Text ImeEngine::ReadUnits(const uint8_t* area, uint32_t units) const {
  Text t;
  if (settings_.Unicode()) {
    Ch* out = t.extend(units);
    for (uint32_t i = 0; i < units; ++i) out[i] = {static_cast<uint16_t>(area[2 * i] | area[2 * i + 1] << 8), 1};
    return t;
  }
  for (uint32_t i = 0; i < units; ++i) {
    if (IsLead(area[i]) && i + 1 < units) {
      t.push_back({codeconv::MakeDb(area[i], area[i + 1]), 2});
      ++i;
    } else {
      t.push_back({area[i], 1});
    }
  }
  return t;
}

ImeEngine::Text ImeEngine::ReadComp(const ImeCompString& cs) const {
  uint32_t max = settings_.Unicode() ? sizeof cs.compStr / 2 : sizeof cs.compStr;
  return ReadUnits(cs.compStr, std::min(cs.h.dwCompStrLen, max));
}

ImeEngine::Text ImeEngine::ReadReading(const ImeCompString& cs) const {
  uint32_t max = settings_.Unicode() ? sizeof cs.compReadStr / 2 : sizeof cs.compReadStr;
  return ReadUnits(cs.compReadStr, std::min(cs.h.dwCompReadStrLen, max));
}

// What ByteLength(ReadReading(cs)) gives, without reading the characters:
// every unit of the reading counts once.
uint32_t ImeEngine::ReadingBytes(const ImeCompString& cs) const {
  const uint32_t unitBytes = settings_.Unicode() ? 2 : 1;
  return std::min<uint32_t>(cs.h.dwCompReadStrLen, sizeof cs.compReadStr / unitBytes) * unitBytes;
}

uint32_t ImeEngine::WriteUnits(uint8_t* area, size_t capacity, const Text& t) const {
  // Leaves room for the terminator; characters that would not fit are left out.
  if (settings_.Unicode()) {
    // One unit of two bytes per character.
    const size_t n = std::min(t.size(), capacity < 2 ? 0 : capacity / 2 - 1);
    for (size_t i = 0; i < n; ++i) {
      area[2 * i] = static_cast<uint8_t>(t[i].v & 0xFF);
      area[2 * i + 1] = static_cast<uint8_t>(t[i].v >> 8);
    }
    area[2 * n] = area[2 * n + 1] = 0;
    return static_cast<uint32_t>(n);
  }
  size_t pos = 0;
  for (const Ch& c : t) {
    if (pos + c.w + 1 > capacity) break;
    if (c.w == 2) {
      area[pos] = codeconv::Lead(c.v);
      area[pos + 1] = codeconv::Trail(c.v);
    } else {
      area[pos] = static_cast<uint8_t>(c.v);
    }
    pos += c.w;
  }
  area[pos] = 0;
  return static_cast<uint32_t>(pos);
}

uint32_t ImeEngine::UnitCount(const Text& t, size_t chars) {
  uint32_t n = 0;
  for (size_t i = 0; i < chars && i < t.size(); ++i) n += t[i].w;
  return n;
}

size_t ImeEngine::CharIndexOfUnit(const Text& t, uint32_t unit) const {
  uint32_t n = 0;
  size_t i = 0;
  while (i < t.size() && n + t[i].w <= unit) n += t[i++].w;
  return i;
}

uint32_t ImeEngine::ByteLength(const Text& t) const {
  uint32_t units = UnitCount(t, t.size());
  return settings_.Unicode() ? units * 2 : units;
}

void ImeEngine::WriteComposition(ImeCompString& cs, const Text& comp, size_t cursor,
                                 size_t deltaStart) const {
  CompStrHeader& h = cs.h;
  uint32_t units = WriteUnits(cs.compStr, sizeof cs.compStr, comp);
  WriteUnits(cs.compReadStr, sizeof cs.compReadStr, comp);
  h.dwCompStrLen = h.dwCompReadStrLen = units;
  h.dwCompAttrLen = h.dwCompReadAttrLen = units;
  std::memset(cs.compAttr, 0, units);
  std::memset(cs.compReadAttr, 0, units);
  if (units > 0) {
    PutU32(cs.compClause, 0);
    PutU32(cs.compClause + 4, units);
    PutU32(cs.compReadClause, 0);
    PutU32(cs.compReadClause + 4, units);
    h.dwCompClauseLen = h.dwCompReadClauseLen = 8;
  } else {
    h.dwCompClauseLen = h.dwCompReadClauseLen = 0;
  }
  h.dwCursorPos = std::min(UnitCount(comp, cursor), units);
  h.dwDeltaStart = std::min(UnitCount(comp, deltaStart), units);
}

void ImeEngine::WriteResult(ImeCompString& cs, const Text& result, const Text& reading) const {
  CompStrHeader& h = cs.h;
  h.dwResultStrLen = WriteUnits(cs.resultStr, sizeof cs.resultStr, result);
  h.dwResultReadStrLen = WriteUnits(cs.resultReadStr, sizeof cs.resultReadStr, reading);
  PutU32(cs.resultClause, 0);
  PutU32(cs.resultClause + 4, h.dwResultStrLen);
  PutU32(cs.resultReadClause, 0);
  PutU32(cs.resultReadClause + 4, h.dwResultReadStrLen);
  h.dwResultClauseLen = h.dwResultReadClauseLen = 8;
}

void ImeEngine::ReplaceMarks(size_t start, size_t count, const KeyMarks& with) {
  marks_.erase(marks_.begin() + static_cast<long>(start), marks_.begin() + static_cast<long>(start + count));
  marks_.insert(marks_.begin() + static_cast<long>(start), with.begin(), with.end());
}

void ImeEngine::InitComposition(ImeCompString& cs) {
  InitCompStr(cs, kCompositionPart);
  marks_.clear();
}

// ---- keys and characters ---------------------------------------------------

CursorCharacter ImeEngine::CharacterBeforeCursor(const ImeContextBlocks& ctx) const {
  CursorCharacter out;
  if (!Valid(ctx) || !IsComposing(ctx)) return out;
  out.composing = true;
  out.converted = IsCompConverted(ctx);
  const Text comp = ReadComp(*ctx.comp);
  const size_t cursor = CharIndexOfUnit(comp, ctx.comp->h.dwCursorPos);
  if (cursor == 0) return out;
  out.character = comp[cursor - 1].v;
  out.keys = KeysOf(comp[cursor - 1], cursor - 1);
  return out;
}

uint16_t ImeEngine::ToGm95(uint16_t c) const {
  switch (settings_.koreanCode) {
    case 1: return codeconv::KsCharToGm(c & 0x7FFF);
    case 2: return codeconv::ConvertGmVariant(gmTables_, codeconv::kFromGmV3, c);
    default: return c;
  }
}

uint16_t ImeEngine::FromGm95(uint16_t c) const {
  switch (settings_.koreanCode) {
    case 1: return codeconv::GmCharToKs(c);
    case 2: return codeconv::ConvertGmVariant(gmTables_, codeconv::kToGmV3, c);
    default: return c;
  }
}

std::string ImeEngine::KeysOf(const Ch& c, size_t markIndex) const {
  char keys[kKeyBufferSize];
  return std::string(keys, PutKeysOf(keys, c, markIndex));
}

size_t ImeEngine::PutKeysOf(char* out, const Ch& c, size_t markIndex) const {
  if (settings_.inputMode == 2 && markIndex < marks_.size() && marks_[markIndex].IsFinalKey()) {
    out[0] = static_cast<char>(marks_[markIndex].b1);
    out[1] = 0;
    return 1;
  }
  if (settings_.Unicode()) return static_cast<size_t>(AutomatonFor(settings_.inputMode).SyllableToKeys(out, c.v));
  static_assert(kReadingEntrySize <= kMostKeysPerCharacter);
  if (c.w == 2 && table_ != nullptr) return table_->PutKeyStringOfChar(out, ToGm95(c.v));
  out[0] = 0;
  return 0;
}

ImeEngine::Text ImeEngine::Compose(const std::string& keys, KeyMarks* marks) {
  Text out;
  ComposeInto(out, keys.c_str(), keys.size(), marks);
  return out;
}

void ImeEngine::ComposeInto(Text& out, const char* keys, size_t length, KeyMarks* marks) {
  if (settings_.Unicode()) {
    // One character at most per key.
    char16_t few[32];
    std::u16string many(length > std::size(few) ? length : 0, u'\0');
    char16_t* chars = many.empty() ? few : many.data();
    const int n = AutomatonFor(settings_.inputMode).KeysToSyllables(chars, keys, marks, &feedback_);
    Ch* added = out.extend(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) added[i] = {chars[i], 1};
  } else if (table_ != nullptr) {
    // Kept between keys, so that its room is allocated once.
    composedGm95_.clear();
    table_->KeysToGm95(std::string_view(keys, length), composedGm95_, marks, &feedback_);
    for (codeconv::DbChar g : composedGm95_) out.push_back({FromGm95(g), 2});
  }
}

ImeEngine::Ch ImeEngine::WidenCharacter(uint8_t b) const {
  uint16_t ks = settings_.FullWidth() ? FullWidthKs(b) : 0;
  if (ks != 0) {
    if (settings_.Unicode()) {
      std::string bytes{static_cast<char>(ks >> 8), static_cast<char>(ks & 0xFF)};
      std::u16string u = codePages_.ToUtf16(949, bytes);
      if (u.size() == 1) return {u[0], 1};
    } else {
      return {FromGm95(codeconv::KsCharToGm(ks & 0x7FFF)), 2};
    }
  }
  if (settings_.Unicode() && b >= 0xA1 && b <= 0xDF) return {static_cast<uint16_t>(0xFF61 + b - 0xA1), 1};
  return {b, 1};
}

// ---- messages --------------------------------------------------------------

void ImeEngine::Send(ImeContextBlocks& ctx, uint32_t message, uint64_t wParam, int64_t lParam,
                     bool straight) {
  if (ctx.sink) ctx.sink->Send({message, wParam, lParam}, straight ? false : settings_.indirectMode);
}

void ImeEngine::SendComposition(ImeContextBlocks& ctx, uint32_t flags, bool straight) {
  Send(ctx, kWmImeComposition, 0, flags, straight);
}

void ImeEngine::CloseCandidates(ImeContextBlocks& ctx) {
  if (!IsCandidateOpen(ctx)) return;
  ResetCandInfo(*ctx.cand);
  Send(ctx, kWmImeNotify, kImnCloseCandidate, 1);
}

// ---- character input -------------------------------------------------------

void ImeEngine::InputCharKey(ImeContextBlocks& ctx, uint8_t ch, unsigned virtualKey) {
  if (!Valid(ctx)) return;
  ImeCompString& cs = *ctx.comp;
  uint8_t key = ch;
  if (settings_.inputMode == 2 && settings_.Hangul()) {
    // Letters are raised first, so that Shift alone decides: with Caps Lock on
    // and Shift held Windows gives a lower-case letter, which still reads as
    // shifted.
    const uint8_t raised = ch >= 'a' && ch <= 'z' ? static_cast<uint8_t>(ch - 'a' + 'A') : ch;
    key = static_cast<uint8_t>(
        MapThreeSetKey(static_cast<char>(raised), virtualKey, settings_.shiftHeld, settings_.keyboardType));
  }
  if (!IsCharacterKey(key)) return;
  const bool letter = IsAsciiLetter(key);
  const bool jamoKey = letter && settings_.Hangul();
  if (jamoKey && !settings_.Unicode() && table_ == nullptr) {
    feedback_.Beep(kBeepDefault);
    return;
  }

  Text comp = ReadComp(cs);
  if (letter && (ByteLength(comp) >= kLetterLimitBytes || ReadingBytes(cs) >= kLetterLimitBytes)) {
    feedback_.Beep(kBeepDefault);
    return;
  }

  uint32_t carry = 0;
  const bool wasComposing = IsComposing(ctx);
  if (!wasComposing) {
    InitCompStr(cs, kBothParts);
    marks_.clear();
    comp.clear();
    Send(ctx, kWmImeStartComposition, 0, 0);
  } else if (jamoKey && IsCompConverted(ctx)) {
    DetermineComposition(ctx, false);
    InitComposition(cs);
    comp.clear();
    if (settings_.indirectMode) {
      // The result has gone out with its own end message; open a new composition.
      Send(ctx, kWmImeStartComposition, 0, 0);
    } else {
      carry = kGcsResultFour;
    }
  }
  if (settings_.inputMode == 2) marks_.resize(comp.size());

  if (jamoKey) {
    size_t cursor = CharIndexOfUnit(comp, cs.h.dwCursorPos);
    size_t start = cursor >= 2 ? cursor - 2 : 0;
    // A character without keys (not Hangul) is never recomposed.
    // The keys of the (at most two) characters and the new key's one or two
    // letters, zero-terminated (with the room that SyllableToKeys may write
    // past the keys of the second).
    char keys[kMostKeysPerCharacter + kKeyBufferSize + 2];
    size_t n = 0;
    while (start < cursor && (n = PutKeysOf(keys, comp[start], start)) == 0) ++start;
    for (size_t i = start + 1; i < cursor; ++i) n += PutKeysOf(keys + n, comp[i], i);

    const size_t index = n;
    char k = static_cast<char>(key);
    switch (settings_.inputMode) {
      case 0: {  // roman: y is typed as y a; a following a, r, o, u replaces that a
        k = static_cast<char>(k >= 'A' && k <= 'Z' ? k - 'A' + 'a' : k);
        bool afterYa = n >= 2 && keys[n - 2] == 'y' && keys[n - 1] == 'a';
        if (k == 'y') {
          keys[n++] = 'y';
          keys[n++] = 'a';
        } else if (afterYa && (k == 'a' || k == 'r' || k == 'o' || k == 'u')) {
          keys[n - 1] = k;
        } else {
          keys[n++] = k;
        }
        break;
      }
      case 2: {
        std::string combined(keys, n);
        combined += k;
        CombineThreeSetFinal(combined, index, static_cast<int>(cursor - start));
        n = combined.size();
        std::memcpy(keys, combined.data(), n);
        break;
      }
      default: {  // 2-set: lower case; Shift raises the tense consonants and two vowels
        k = static_cast<char>(k >= 'A' && k <= 'Z' ? k - 'A' + 'a' : k);
        if (settings_.shiftHeld && std::strchr("qwertop", k) != nullptr) k = static_cast<char>(k - 'a' + 'A');
        keys[n++] = k;
        break;
      }
    }
    keys[n] = 0;

    // The characters before the recomposed ones, the recomposed ones, and
    // what stood after the cursor.
    KeyMarks newMarks;
    Text next(comp.begin(), comp.begin() + static_cast<long>(start));
    ComposeInto(next, keys, n, &newMarks);
    const size_t produced = next.size() - start;
    next.insert(next.end(), comp.begin() + static_cast<long>(cursor), comp.end());
    if (settings_.inputMode == 2) {
      newMarks.resize(produced);
      ReplaceMarks(start, cursor - start, newMarks);
    }
    size_t newCursor = start + produced;
    size_t deltaStart = start;

    // Under the KS code only Mikaku characters stay unconfirmed.
    if (settings_.koreanCode == 1 && !next.empty() &&
        ByteLength(next) > static_cast<uint32_t>(std::max(settings_.mikakuBytes, 0))) {
      Text result{next.front()};
      if (carry & kGcsResultStr) {
        Text earlier = ReadUnits(cs.resultStr, cs.h.dwResultStrLen);
        earlier.push_back(next.front());
        result = earlier;
      }
      WriteResult(cs, result, result);
      next.erase(next.begin());
      if (!marks_.empty()) marks_.erase(marks_.begin());
      newCursor = newCursor > 0 ? newCursor - 1 : 0;
      deltaStart = 0;
      if (settings_.indirectMode) {
        SendComposition(ctx, kGcsResultFour, true);
      } else {
        carry |= kGcsResultFour;
      }
    }
    WriteComposition(cs, next, newCursor, deltaStart);
    SendComposition(ctx, kGcsCompEight | carry);
    return;
  }

  // Any other character commits the composition with it.
  const size_t cursor = CharIndexOfUnit(comp, cs.h.dwCursorPos);
  if (!IsCompConverted(ctx) && cursor != comp.size()) {
    feedback_.Beep(settings_.Unicode() ? kBeepExclamation : kBeepDefault);
    return;
  }
  const Ch c = WidenCharacter(key);
  if (settings_.Unicode() && !wasComposing) {
    Text result{c};
    WriteResult(cs, result, result);
    InitComposition(cs);
    SendComposition(ctx, kGcsResultFour);
    Send(ctx, kWmImeEndComposition, 0, 0);
    return;
  }
  const size_t deltaStart = comp.size();
  comp.push_back(c);
  if (settings_.inputMode == 2) marks_.push_back(KeyMark{});
  WriteComposition(cs, comp, comp.size(), deltaStart);
  SendComposition(ctx, kGcsCompSix);
  DetermineComposition(ctx, true);
}

void ImeEngine::DeleteKey(ImeContextBlocks& ctx, unsigned virtualKey) {
  if (!Valid(ctx) || !IsComposing(ctx)) return;
  ImeCompString& cs = *ctx.comp;
  Text comp = ReadComp(cs);
  size_t cursor = CharIndexOfUnit(comp, cs.h.dwCursorPos);
  const bool backspace = virtualKey == 0x08;
  if (backspace ? cursor == 0 : cursor >= comp.size()) return;
  if (settings_.inputMode == 2) marks_.resize(comp.size());

  size_t deltaStart;
  if (!backspace) {
    comp.erase(comp.begin() + static_cast<long>(cursor));
    if (settings_.inputMode == 2) marks_.erase(marks_.begin() + static_cast<long>(cursor));
    deltaStart = cursor;
  } else if (!settings_.jisoTaniBack) {
    --cursor;
    comp.erase(comp.begin() + static_cast<long>(cursor));
    if (settings_.inputMode == 2) marks_.erase(marks_.begin() + static_cast<long>(cursor));
    deltaStart = cursor;
  } else {
    size_t start = cursor >= 2 ? cursor - 2 : 0;
    while (start + 1 < cursor && KeysOf(comp[start], start).empty()) ++start;
    std::string keys;
    for (size_t i = start; i < cursor; ++i) keys += KeysOf(comp[i], i);
    if (!keys.empty()) keys.pop_back();
    if (settings_.inputMode == 0 && !keys.empty() && keys.back() == 'y') keys.pop_back();
    KeyMarks newMarks;
    Text produced = Compose(keys, &newMarks);
    comp.erase(comp.begin() + static_cast<long>(start), comp.begin() + static_cast<long>(cursor));
    comp.insert(comp.begin() + static_cast<long>(start), produced.begin(), produced.end());
    if (settings_.inputMode == 2) {
      newMarks.resize(produced.size());
      ReplaceMarks(start, cursor - start, newMarks);
    }
    cursor = start + produced.size();
    deltaStart = start;
  }

  if (!comp.empty()) {
    WriteComposition(cs, comp, cursor, deltaStart);
    SendComposition(ctx, kGcsCompEight);
    return;
  }
  CloseCandidates(ctx);
  InitComposition(cs);
  SendComposition(ctx, kGcsCompSix);
  Send(ctx, kWmImeEndComposition, 0, 0);
}

// ---- edit keys ---------------------------------------------------------------

int ImeEngine::DispatchEditKey(ImeContextBlocks& ctx, unsigned key) {
  const unsigned vk = key & 0xFF;
  if (IsCandidateOpen(ctx)) return DispatchCandidateKey(ctx, key);
  // Asked only by the keys that need it: most keys are characters.
  auto converted = [&] { return IsCompConverted(ctx); };

  bool spaceConverted = false;
  switch (vk) {
    case 0x08:
      if (converted()) BackToReading(ctx); else DeleteKey(ctx, vk);
      break;
    case 0x09: case 0x0D: case 0x1D:
      DetermineComposition(ctx, true);
      break;
    case 0x19: case 0x1C:
      ConvertToHanja(ctx);
      break;
    case 0x1B:
      if (converted()) BackToReading(ctx); else CancelComposition(ctx);
      break;
    case 0x20:
      if (settings_.shiftHeld) spaceConverted = ConvertToHanja(ctx) != 0;
      break;
    case 0x25:
      MoveCompositionCursor(ctx, vk);
      break;
    case 0x27:
      if (converted()) DetermineFirstClause(ctx); else MoveCompositionCursor(ctx, vk);
      break;
    case 0x2E:
      DeleteKey(ctx, vk);
      break;
    default:
      break;
  }
  if (vk == 0x20) return spaceConverted ? 1 : 0;
  if ((vk >= 0x30 && vk <= 0x39) || (vk >= 0x41 && vk <= 0x5A) || (vk >= 0x60 && vk <= 0x6F) ||
      (vk >= 0xBA && vk <= 0xE0) || vk == 0xE2 || vk == 0x92) {
    return 0;
  }
  return 1;
}

int ImeEngine::DetermineComposition(ImeContextBlocks& ctx, bool sendEnd) {
  if (!Valid(ctx) || !IsComposing(ctx)) return 0;
  ImeCompString& cs = *ctx.comp;
  if (IsCandidateOpen(ctx)) {
    ResetCandInfo(*ctx.cand);
    Send(ctx, kWmImeNotify, kImnCloseCandidate, 1);
    DicLearnChoice(cs, ctx.conversionMode);
  }
  WriteResult(cs, ReadComp(cs), ReadReading(cs));
  InitComposition(cs);
  if (settings_.indirectMode) {
    Send(ctx, kWmImeStartComposition, 0, 0, true);
  } else if (!sendEnd) {
    return 1;
  }
  SendComposition(ctx, kGcsResultFour, true);
  Send(ctx, kWmImeEndComposition, 0, 0, true);
  if (settings_.indirectMode) Send(ctx, kWmImeEndComposition, 0, 0);
  return 1;
}

void ImeEngine::DetermineFirstClause(ImeContextBlocks& ctx) {
  if (!Valid(ctx) || !IsComposing(ctx)) return;
  ImeCompString& cs = *ctx.comp;
  if (cs.h.dwCompClauseLen < 9) {
    DetermineComposition(ctx, true);
    return;
  }
  if (IsCandidateOpen(ctx)) {
    CloseCandidates(ctx);
    DicLearnChoice(cs, ctx.conversionMode);
  }
  Text comp = ReadComp(cs);
  Text reading = ReadReading(cs);
  size_t word = CharIndexOfUnit(comp, GetU32(cs.compClause + 4));
  size_t readWord = CharIndexOfUnit(reading, GetU32(cs.compReadClause + 4));
  Text result(comp.begin(), comp.begin() + static_cast<long>(word));
  Text resultReading(reading.begin(), reading.begin() + static_cast<long>(readWord));
  Text rest(comp.begin() + static_cast<long>(word), comp.end());
  WriteResult(cs, result, resultReading);
  if (settings_.indirectMode) {
    ClearCompStr(cs, kCompositionPart);
    Send(ctx, kWmImeStartComposition, 0, 0, true);
    SendComposition(ctx, kGcsResultFour, true);
  }
  InitComposition(cs);
  WriteComposition(cs, rest, rest.size(), 0);
  SendComposition(ctx, kGcsResultFour | kGcsCompEight);
}

void ImeEngine::BackToReading(ImeContextBlocks& ctx) {
  if (!Valid(ctx) || !IsComposing(ctx)) return;
  ImeCompString& cs = *ctx.comp;
  CloseCandidates(ctx);
  Text reading = ReadReading(cs);
  uint32_t length = UnitCount(reading, reading.size());
  uint32_t cursor = savedCursorPos >= 1 && savedCursorPos <= length ? static_cast<uint32_t>(savedCursorPos) : length;
  WriteComposition(cs, reading, CharIndexOfUnit(reading, cursor), 0);
  SendComposition(ctx, kGcsCompEight);
}

void ImeEngine::RevertComposition(ImeContextBlocks& ctx) {
  if (!Valid(ctx) || !IsComposing(ctx)) return;
  ImeCompString& cs = *ctx.comp;
  CloseCandidates(ctx);
  Text reading = ReadReading(cs);
  size_t cursor = std::min(CharIndexOfUnit(reading, cs.h.dwCursorPos), reading.size());
  WriteComposition(cs, reading, cursor, 0);
  SendComposition(ctx, kGcsCompEight);
}

void ImeEngine::CancelComposition(ImeContextBlocks& ctx) {
  // Nothing to cancel: no end message for a composition that never started.
  if (!Valid(ctx) || !IsComposing(ctx)) return;
  if (IsCandidateOpen(ctx)) {
    ResetCandInfo(*ctx.cand);
    Send(ctx, kWmImeNotify, kImnCloseCandidate, 1);
  }
  InitCompStr(*ctx.comp, kBothParts);
  marks_.clear();
  SendComposition(ctx, kGcsCompSix);
  Send(ctx, kWmImeEndComposition, 0, 0);
}

void ImeEngine::MoveCompositionCursor(ImeContextBlocks& ctx, unsigned virtualKey) {
  if (!Valid(ctx) || !IsComposing(ctx)) return;
  ImeCompString& cs = *ctx.comp;
  if (IsAnyAttributeSet(cs)) return;
  Text comp = ReadComp(cs);
  size_t cursor = CharIndexOfUnit(comp, cs.h.dwCursorPos);
  if (virtualKey == 0x27) {
    if (cursor < comp.size()) ++cursor;
  } else {
    // Under the KS code the cursor never goes before the end of the first character.
    size_t first = settings_.koreanCode == 1 ? 1 : 0;
    if (cursor > first) --cursor;
  }
  cs.h.dwCursorPos = UnitCount(comp, cursor);
  cs.h.dwDeltaStart = cs.h.dwCompStrLen;
  SendComposition(ctx, kGcsCompEight);
}

}  // namespace ime
