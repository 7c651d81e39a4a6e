#include "word_typing.h"

#include <fstream>
#include <unordered_set>

#include "guide_keyboard.h"
#include "key_tables.h"

namespace ime::bench {

namespace {

constexpr int k106KeyKeyboard = 0;

// The letter that a typed character enters on an arrangement, as the
// character-key path reads it (3-set through the key map); 0 for none.
char LetterOfKey(int inputMode, char typed, unsigned vk, bool shift) {
  if (inputMode == 2) {
    const char raised = typed >= 'a' && typed <= 'z' ? static_cast<char>(typed - 'a' + 'A') : typed;
    const char letter = MapThreeSetKey(raised, vk, shift, k106KeyKeyboard);
    return IsAsciiLetter(static_cast<unsigned char>(letter)) ? letter : 0;
  }
  if (!IsAsciiLetter(static_cast<unsigned char>(typed))) return 0;
  const char lower = typed >= 'A' && typed <= 'Z' ? static_cast<char>(typed - 'A' + 'a') : typed;
  if (inputMode == 1 && shift && std::string_view("qwertop").find(lower) != std::string_view::npos) {
    return static_cast<char>(lower - 'a' + 'A');
  }
  return lower;
}

// The key of the 106-key keyboard that enters letter; false when none does.
bool KeyForLetter(int inputMode, char letter, PhysicalKey* out) {
  for (int index = 0; index < kGuideKeys; ++index) {
    const GuideKeyChars chars = GuideKeyCharacters(k106KeyKeyboard, index);
    const unsigned vk = GuideVirtualKey(k106KeyKeyboard, index);
    for (bool shift : {false, true}) {
      const char typed = shift ? chars.shifted : chars.plain;
      if (typed == 0 || vk == 0) continue;
      if (LetterOfKey(inputMode, typed, vk, shift) == letter) {
        *out = {typed, vk, shift};
        return true;
      }
    }
  }
  return false;
}

// The letters that the keys enter under the roman arrangement: a typed y
// enters "y a", and a, r, o or u after it replaces that a. So "ya" is typed
// as y alone.
std::string RomanTypedLetters(const std::string& letters) {
  std::string typed;
  for (size_t i = 0; i < letters.size(); ++i) {
    typed.push_back(letters[i]);
    if (letters[i] == 'y' && i + 1 < letters.size() && letters[i + 1] == 'a') ++i;
  }
  return typed;
}

void AppendUtf8Decoded(const std::string& s, std::u16string* out, bool* ok) {
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    char32_t c = 0;
    size_t n = 0;
    if (b < 0x80) {
      c = b;
      n = 1;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F;
      n = 2;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F;
      n = 3;
    } else {
      *ok = false;
      return;
    }
    if (i + n > s.size()) {
      *ok = false;
      return;
    }
    for (size_t k = 1; k < n; ++k) c = c << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out->push_back(static_cast<char16_t>(c));
    i += n;
  }
}

// The key of every letter of an arrangement, searched once.
struct LetterKeys {
  PhysicalKey key[128];
  bool found[128] = {};
  explicit LetterKeys(int inputMode) {
    for (int c = 0; c < 128; ++c) found[c] = KeyForLetter(inputMode, static_cast<char>(c), &key[c]);
  }
};

const LetterKeys& LetterKeysOf(int inputMode) {
  static const LetterKeys roman(0), twoSet(1), threeSet(2);
  return inputMode == 0 ? roman : inputMode == 2 ? threeSet : twoSet;
}

}  // namespace

bool KeysForText(int inputMode, const std::u16string& text, std::vector<PhysicalKey>* keys) {
  const JamoAutomaton& automaton = AutomatonFor(inputMode);
  const LetterKeys& letterKeys = LetterKeysOf(inputMode);
  for (char16_t c : text) {
    std::string letters = automaton.SyllableToKeys(c);
    if (letters.empty()) return false;
    if (inputMode == 0) letters = RomanTypedLetters(letters);
    for (char letter : letters) {
      const auto l = static_cast<unsigned char>(letter);
      if (l >= 128 || !letterKeys.found[l]) return false;
      keys->push_back(letterKeys.key[l]);
    }
  }
  return true;
}

PhysicalKey EnterKey() { return {'\r', 0x0D, false}; }

bool CommitSink::Send(const ImeMessage& m, bool) {
  // Field by field, as a message list entry is written.
  Entry& e = last_[messages++ % 8];
  e.message = m.message;
  e.wParam = m.wParam;
  e.lParam = m.lParam;
  if (!capture || comp_ == nullptr || m.message != kWmImeComposition || (m.lParam & kGcsResultStr) == 0) {
    return true;
  }
  const uint8_t* p = comp_->resultStr;
  for (uint32_t i = 0; i < comp_->h.dwResultStrLen; ++i) {
    committed.push_back(unicode_ ? static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8) : p[i]);
  }
  return true;
}

Typist::Typist(int inputMode, bool unicode) {
  settings.inputMode = inputMode;
  settings.interfaceCodePage = unicode ? 949 : 0;
  if (!unicode) {
    const std::vector<uint8_t> data = BuildReadingTable(inputMode);
    table_.Load(data.data(), data.size(), inputMode);
  }
  engine_ = std::make_unique<ImeEngine>(settings, feedback_, codeconv::PlatformCodePages());
  if (!unicode) engine_->SetReadingTable(&table_);
  InitCompStr(comp_, kBothParts);
  cand_.info.dwSize = kCandInfoSize;
  sink.Attach(&comp_, unicode);
  ctx_ = {&comp_, sizeof comp_, &cand_, sizeof cand_, &sink};
}

void Typist::Press(const PhysicalKey& key) {
  keyState_[0x10] = key.shift ? 0x80 : 0;
  settings.shiftHeld = key.shift;
  if (!ProcessKeyDecision(key.vk, keyState_, IsComposing(ctx_))) return;
  const uint32_t withChar = key.vk | static_cast<uint32_t>(static_cast<unsigned char>(key.ch)) << 16;
  ImeKeyDownCore(*engine_, ctx_, PackKeyCharacter(withChar, settings.Unicode()), false);
}

std::u16string Typist::TypeWord(const std::vector<PhysicalKey>& keys) {
  sink.capture = true;
  sink.committed.clear();
  for (const PhysicalKey& k : keys) Press(k);
  Press(EnterKey());
  sink.capture = false;
  return sink.committed;
}

std::vector<std::u16string> HanjaReadings(const std::string& path) {
  std::vector<std::u16string> readings;
  std::unordered_set<std::u16string> seen;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0) continue;
    std::u16string reading;
    bool ok = true;
    AppendUtf8Decoded(line.substr(0, colon), &reading, &ok);
    for (char16_t c : reading) ok = ok && c >= kFirstSyllable && c <= kLastSyllable;
    if (ok && seen.insert(reading).second) readings.push_back(reading);
  }
  return readings;
}

}  // namespace ime::bench
