#include "lomi_engine.h"

#include <algorithm>
#include <cstring>

#include "ks_gm.h"

namespace lomi {
namespace {

constexpr std::size_t kSourceLimit = 0x10000;  // the longest source text read
constexpr uint16_t kKsQuestion = 0xA3BF;       // full-width question mark
constexpr uint16_t kKsJamoN = 0xA4A4;          // ㄴ
constexpr uint16_t kKsJamoS = 0xA4B5;          // ㅅ

uint32_t Get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
void Set32(uint8_t* p, uint32_t x) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(x >> (8 * i));
}

std::size_t CharLength(std::string_view s, std::size_t i) {
  return IsSjisLead(static_cast<uint8_t>(s[i])) && i + 1 < s.size() ? 2 : 1;
}
uint16_t CharAt(std::string_view s, std::size_t i) {
  return static_cast<uint16_t>(static_cast<uint8_t>(s[i]) << 8 | static_cast<uint8_t>(s[i + 1]));
}
void PutChar(std::string& s, uint16_t c) {
  s.push_back(static_cast<char>(c >> 8));
  s.push_back(static_cast<char>(c & 0xFF));
}

bool IsHiragana(uint16_t c) { return c >= 0x829F && c <= 0x82F1; }
bool IsKatakana(uint16_t c) { return c >= 0x8340 && c <= 0x8396; }
bool IsKana(uint16_t c) { return IsHiragana(c) || IsKatakana(c) || c == 0x815B; }
// JIS X 0208 kanji rows 16-84, and the repetition mark 々.
bool IsKanji(uint16_t c) { return (c >= 0x889F && c <= 0x9FFC) || (c >= 0xE040 && c <= 0xEAA4) || c == 0x8158; }

// The hiragana of a katakana (ヴ as ぶ, ヵ ヶ as か け).
uint16_t ToHiragana(uint16_t c) {
  if (!IsKatakana(c)) return c;
  if (c == 0x8394) return 0x82D4;
  if (c == 0x8395) return 0x82A9;
  if (c == 0x8396) return 0x82AF;
  return c <= 0x837E ? static_cast<uint16_t>(c - 0x8340 + 0x829F) : static_cast<uint16_t>(c - 0x8380 + 0x82DE);
}

bool IsAsciiWordByte(uint8_t b) { return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }

}  // namespace

std::string KsToGmText(std::string_view ks) {
  std::string out;
  for (std::size_t i = 0; i < ks.size(); ++i) {
    const uint8_t b = static_cast<uint8_t>(ks[i]);
    if (codeconv::IsHighBitByte(b) && i + 1 < ks.size()) {
      PutChar(out, codeconv::KsCharToGm(codeconv::MakeDb(b, static_cast<uint8_t>(ks[i + 1]))));
      ++i;
    } else {
      out.push_back(ks[i]);
    }
  }
  return out;
}

std::string GmToKsText(std::string_view gm) {
  std::string out;
  for (std::size_t i = 0; i < gm.size(); ++i) {
    const uint8_t b = static_cast<uint8_t>(gm[i]);
    if (codeconv::IsGmLeadByte(b) && i + 1 < gm.size()) {
      PutChar(out, codeconv::GmCharToKs(codeconv::MakeDb(b, static_cast<uint8_t>(gm[i + 1]))));
      ++i;
    } else {
      out.push_back(gm[i]);
    }
  }
  return out;
}

void Engine::Configure(const JKTransConfig& config, const UserDicFiles& files) {
  files_ = &files;
  for (int slot = 0; slot < kUserDicSlots; ++slot) {
    user_[slot] = UserDictionary();
    paths_[slot].clear();
    const char* path = config.userDic[slot];
    const std::size_t length = strnlen(path, kUserDicPathBytes);
    if (length == 0 || length == kUserDicPathBytes) continue;  // unused, or no terminated path
    UserDictionary dic;
    if (LoadUserDic(files, std::string(path, length), dic)) {
      user_[slot] = std::move(dic);
      paths_[slot].assign(path, length);
    }
  }
}

std::vector<WordValue> Engine::SystemValues(std::string_view key) const {
  auto it = systemOrder_.find(key);
  if (it != systemOrder_.end()) return it->second;
  return key.size() > dictionary_.LongestKey() ? std::vector<WordValue>{} : dictionary_.Find(key);
}

// The longest word of the user dictionaries (slot order) or the system
// dictionary at the start of rest, ending on a character boundary.
bool Engine::MatchWord(std::string_view rest, std::size_t maxBytes, Token& token) const {
  std::vector<std::size_t> ends;
  for (std::size_t i = 0; i < rest.size() && i < maxBytes;) {
    i += CharLength(rest, i);
    ends.push_back(i);
  }
  for (auto it = ends.rbegin(); it != ends.rend(); ++it) {
    const std::string_view key = rest.substr(0, *it);
    for (int slot = 0; slot < kUserDicSlots; ++slot) {
      const int found = user_[slot].Find(key);
      if (found < 0) continue;
      const UserEntry& e = user_[slot].Entries()[static_cast<std::size_t>(found)];
      token.japaneseLength = key.size();
      token.korean = e.korean;
      token.pos = e.pos;
      token.source = kFromUser;
      token.dictionary = static_cast<uint8_t>(slot);
      return true;
    }
    const std::vector<WordValue> values = SystemValues(key);
    if (values.empty()) continue;
    const WordValue& v = values.front();
    token.japaneseLength = key.size();
    token.korean = v.korean;
    token.afterFinal = v.afterFinal;
    token.kind = v.kind;
    token.rule = v.rule;
    token.pos = v.pos;
    token.source = v.source;
    return true;
  }
  return false;
}

// The Hangul of a kana run: syllables of up to three kana (the longest the
// kana table knows), ー left out, a lone っ or ん as its consonant.
std::string Engine::KanaReading(std::string_view kana) const {
  std::string hiragana;
  for (std::size_t i = 0; i + 1 < kana.size(); i += 2) {
    const uint16_t c = CharAt(kana, i);
    if (c != 0x815B) PutChar(hiragana, ToHiragana(c));
  }
  std::string out;
  for (std::size_t i = 0; i < hiragana.size();) {
    bool matched = false;
    for (std::size_t n = std::min<std::size_t>(6, hiragana.size() - i); n >= 2; n -= 2) {
      std::string reading;
      if (dictionary_.KanaReading(std::string_view(hiragana).substr(i, n), reading)) {
        out += reading;
        i += n;
        matched = true;
        break;
      }
    }
    if (matched) continue;
    const uint16_t c = CharAt(hiragana, i);
    PutChar(out, c == 0x82F1 ? kKsJamoN : c == 0x82C1 ? kKsJamoS : kKsQuestion);
    i += 2;
  }
  return out;
}

std::vector<Token> Engine::Tokenize(std::string_view s) const {
  std::vector<Token> tokens;
  enum class Run { kNone, kKanji, kKana, kAscii } run = Run::kNone;
  std::size_t i = 0;
  while (i < s.size()) {
    const uint8_t b = static_cast<uint8_t>(s[i]);
    const std::size_t n = CharLength(s, i);
    const uint16_t c = n == 2 ? CharAt(s, i) : b;
    Token t;
    t.japaneseOffset = i;
    if (b == ' ' || b == '\t' || b == '\r' || b == '\n' || c == 0x8140) {
      t.japaneseLength = n;
      t.kind = TokenKind::kSpace;
      tokens.push_back(t);
      run = Run::kNone;
      i += n;
      continue;
    }
    if (MatchWord(s.substr(i), s.size() - i, t)) {
      tokens.push_back(t);
      run = Run::kNone;
      i += t.japaneseLength;
      continue;
    }
    // Unknown: runs of kanji (their readings), kana (their sound) and
    // Latin letters and digits (as they are) make one word each.
    Run kind = Run::kNone;
    std::string korean;
    if (n == 2 && IsKanji(c)) {
      kind = Run::kKanji;
      uint16_t k = 0;
      if (dictionary_.KanjiReading(c, k) || dictionary_.KoreanCharacter(c, k))
        PutChar(korean, k);
      else
        PutChar(korean, kKsQuestion);
    } else if (n == 2 && IsKana(c)) {
      kind = Run::kKana;
    } else if (n == 1 && IsAsciiWordByte(b)) {
      kind = Run::kAscii;
      korean.push_back(static_cast<char>(b));
    } else if (n == 2) {
      uint16_t k = 0;
      PutChar(korean, dictionary_.KoreanCharacter(c, k) ? k : kKsQuestion);
    } else {
      korean.push_back(b < 0x80 ? static_cast<char>(b) : '?');
      t.kind = TokenKind::kClose;
    }
    if (kind != Run::kNone && kind == run && !tokens.empty()) {
      Token& last = tokens.back();
      last.japaneseLength += n;
      if (kind == Run::kKana)
        last.korean = KanaReading(s.substr(last.japaneseOffset, last.japaneseLength));
      else
        last.korean += korean;
    } else {
      t.japaneseLength = n;
      t.korean = kind == Run::kKana ? KanaReading(s.substr(i, n)) : korean;
      t.pos.type = kind == Run::kNone ? 0 : 6;
      tokens.push_back(t);
    }
    run = kind;
    i += n;
  }
  return tokens;
}

Assembled Engine::Assemble(const std::vector<Token>& tokens) const {
  Assembled out;
  bool afterOpen = true;  // at the start or after an opening bracket: no blank
  for (const Token& t : tokens) {
    if (t.kind == TokenKind::kSpace) {
      out.ranges.emplace_back(out.text.size(), 0);
      continue;
    }
    if ((t.kind == TokenKind::kWord || t.kind == TokenKind::kOpen) && !afterOpen) out.text.push_back(' ');
    std::string_view form = t.korean;
    if (t.rule != Alternation::kNone && !t.afterFinal.empty() && out.text.size() >= 2) {
      const std::size_t end = out.text.size();
      const uint16_t last = static_cast<uint16_t>(static_cast<uint8_t>(out.text[end - 2]) << 8 |
                                                  static_cast<uint8_t>(out.text[end - 1]));
      const int final = codeconv::IsHighBitByte(static_cast<uint8_t>(out.text[end - 2])) ? dictionary_.FinalOf(last) : -1;
      if (final > 0 && !(t.rule == Alternation::kFinalR && final == 8)) form = t.afterFinal;
    }
    out.ranges.emplace_back(out.text.size(), form.size());
    out.text += form;
    afterOpen = t.kind == TokenKind::kOpen;
  }
  return out;
}

int Engine::Transfer(int mode, int sourceCodePage, int outputCodePage, const char* source, char* output,
                     int* length, void* alignment, int* alignmentCount) const {
  if (!source || !output || !length || *length < 0 || sourceCodePage != kJapaneseCodePage ||
      (outputCodePage != kKsCodePage && outputCodePage != kGmCodePage))
    return kLomiBadArgument;
  if (!Configured()) return kLomiNotConfigured;
  const std::string_view text(source, strnlen(source, kSourceLimit));
  const bool gm = outputCodePage == kGmCodePage;
  if (mode == kModeTranslate) return Translate(text, gm, output, length, alignment, alignmentCount);
  if (mode == kModeCharacters) return Characters(text, gm, output, length);
  return kLomiBadArgument;
}

namespace {

// Writes text into output of *length bytes (a NUL only when it fits).
int PutOutput(const std::string& text, char* output, int* length) {
  if (text.size() > static_cast<std::size_t>(*length)) return kLomiOutputFull;
  std::memcpy(output, text.data(), text.size());
  if (text.size() < static_cast<std::size_t>(*length)) output[text.size()] = '\0';
  *length = static_cast<int>(text.size());
  return kLomiOk;
}

// Copies a string and its NUL into an entry field of room bytes; false
// when it does not fit.
bool PutField(uint8_t* field, std::size_t room, std::string_view s) {
  if (s.size() + 1 > room) return false;
  std::memcpy(field, s.data(), s.size());
  field[s.size()] = 0;
  return true;
}

}  // namespace

int Engine::Translate(std::string_view source, bool gm, char* output, int* length, void* alignment,
                      int* alignmentCount) const {
  const std::vector<Token> tokens = Tokenize(source);
  const Assembled assembled = Assemble(tokens);
  const std::string text = gm ? KsToGmText(assembled.text) : assembled.text;
  if (text.size() > static_cast<std::size_t>(*length)) return kLomiOutputFull;
  std::size_t words = 0;
  for (const Token& t : tokens) words += t.kind != TokenKind::kSpace;
  if (alignment) {
    if (!alignmentCount || *alignmentCount < 1 || words + 1 > static_cast<std::size_t>(*alignmentCount))
      return kLomiAlignmentFull;
    auto* table = static_cast<uint8_t*>(alignment);
    const std::size_t room = static_cast<std::size_t>(*alignmentCount);
    std::memset(table, 0, (words + 1) * kEntrySize);
    Set32(table, static_cast<uint32_t>(words));
    std::memcpy(table + 4, kTableMark, 4);
    Set32(table + 8, static_cast<uint32_t>(room));
    std::size_t e = 0;
    for (std::size_t k = 0; k < tokens.size(); ++k) {
      const Token& t = tokens[k];
      if (t.kind == TokenKind::kSpace) continue;
      ++e;
      uint8_t* entry = table + e * kEntrySize;
      Set32(entry + kKoreanOffset, static_cast<uint32_t>(assembled.ranges[k].first));
      Set32(entry + kKoreanLength, static_cast<uint32_t>(assembled.ranges[k].second));
      Set32(entry + kJapaneseOffset, static_cast<uint32_t>(t.japaneseOffset));
      Set32(entry + kJapaneseLength, static_cast<uint32_t>(t.japaneseLength));
      Set32(entry + kDataIndex, static_cast<uint32_t>(e));
      entry[kTokenKind] = static_cast<uint8_t>(t.kind);
      const std::string form = assembled.text.substr(assembled.ranges[k].first, assembled.ranges[k].second);
      const std::string word = KsToGmText(form);
      if (!PutField(entry + kWordData, kWordDataBytes, word)) return kLomiOutputFull;
      // Both forms, for a text rebuilt after another word before this one
      // changed; a pair that does not fit keeps the chosen form alone.
      const std::string first = KsToGmText(t.korean), second = KsToGmText(t.afterFinal);
      if (t.rule != Alternation::kNone && first.size() + second.size() + 2 <= kFormsBytes) {
        entry[kAlternation] = static_cast<uint8_t>(t.rule);
        PutField(entry + kForms, kFormsBytes, first);
        PutField(entry + kForms + first.size() + 1, kFormsBytes - first.size() - 1, second);
      }
      entry[kWordAttributes] = t.source;
      entry[kWordAttributes + 1] = t.dictionary;
      entry[kWordAttribute] = t.source == kFromHanjaList ? 1 : 0;
      entry[kPartOfSpeech] = t.pos.type;
      entry[kPartOfSpeech + 1] = t.pos.subtype;
      entry[kPartOfSpeech + 2] = t.pos.third;
    }
    *alignmentCount = static_cast<int>(words + 1);
  }
  return PutOutput(text, output, length);
}

int Engine::Characters(std::string_view source, bool gm, char* output, int* length) const {
  std::string ks;
  for (std::size_t i = 0; i < source.size();) {
    const std::size_t n = CharLength(source, i);
    if (n == 2) {
      uint16_t k = 0;
      const uint16_t c = CharAt(source, i);
      PutChar(ks, dictionary_.KoreanCharacter(c, k) || dictionary_.KanjiReading(c, k) ? k : kKsQuestion);
    } else {
      const uint8_t b = static_cast<uint8_t>(source[i]);
      ks.push_back(b < 0x80 ? static_cast<char>(b) : '?');
    }
    i += n;
  }
  return PutOutput(gm ? KsToGmText(ks) : ks, output, length);
}

int Engine::Regenerate(char* output, int capacity, void* tablePointer) const {
  if (!output || capacity < 1 || !tablePointer) return kLomiBadArgument;
  output[0] = '\0';
  auto* table = static_cast<uint8_t*>(tablePointer);
  const uint32_t n = Get32(table);
  if (std::memcmp(table + 4, kTableMark, 4) != 0 || n >= Get32(table + 8)) return kLomiBadTable;
  std::vector<Token> tokens;
  for (uint32_t e = 1; e <= n; ++e) {
    const uint8_t* entry = table + e * kEntrySize;
    const uint32_t data = Get32(entry + kDataIndex);
    if (data < 1 || data > n) return kLomiBadTable;
    const uint8_t* carrier = table + data * kEntrySize;
    const void* nul = std::memchr(carrier + kWordData, 0, kWordDataBytes);
    if (!nul || entry[kTokenKind] > static_cast<uint8_t>(TokenKind::kOpen)) return kLomiBadTable;
    const std::string word(reinterpret_cast<const char*>(carrier + kWordData),
                           static_cast<const uint8_t*>(nul) - (carrier + kWordData));
    Token t;
    t.kind = static_cast<TokenKind>(entry[kTokenKind]);
    t.korean = GmToKsText(word);
    // A word still one of its two forms takes the form its new neighbour
    // asks for; a word the chooser replaced is used as it is.
    const uint8_t rule = carrier[kAlternation];
    const char* forms = reinterpret_cast<const char*>(carrier + kForms);
    const std::size_t firstLength = strnlen(forms, kFormsBytes);
    if (rule != 0 && rule <= 2 && firstLength < kFormsBytes) {
      const std::string first(forms, firstLength);
      const std::size_t secondLength = strnlen(forms + firstLength + 1, kFormsBytes - firstLength - 1);
      const std::string second(forms + firstLength + 1, secondLength);
      if (word == first || word == second) {
        t.korean = GmToKsText(first);
        t.afterFinal = GmToKsText(second);
        t.rule = static_cast<Alternation>(rule);
      }
    }
    tokens.push_back(std::move(t));
  }
  const Assembled assembled = Assemble(tokens);
  const std::string text = KsToGmText(assembled.text);
  if (text.size() + 1 > static_cast<std::size_t>(capacity)) return kLomiOutputFull;
  for (uint32_t e = 1; e <= n; ++e) {
    uint8_t* entry = table + e * kEntrySize;
    Set32(entry + kKoreanOffset, static_cast<uint32_t>(assembled.ranges[e - 1].first));
    Set32(entry + kKoreanLength, static_cast<uint32_t>(assembled.ranges[e - 1].second));
  }
  std::memcpy(output, text.data(), text.size());
  output[text.size()] = '\0';
  return static_cast<int>(text.size());
}

}  // namespace lomi
