#include "jamo_automaton.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace ime {

// The tables, slot for slot; blanks pad the slots.
const ArrangementTables TwoSetKeyTables = {
    "rRseEfaqQtTdwWczxvg", 1,
    "k o i O j p u P h hkhohly n njnpnlb m mll ", 2,
    "r R rts swsge f frfafqftfxfvfga q qtt T d w c z x v g ",
    "r R rts swsge E f frfafqftfxfvfga q Q qtt T d w W c z x v g ",
    nullptr,
};

const ArrangementTables RomanKeyTables = {
    "kgndwlmbvsqfjzcxtph", 1,
    "a  ai ya yair  ri yr yrio  oa oaioi yo u  ur uriui yu e  ei i  ", 3,
    "k g ksn njnhd l lklmlblsltlplhm b bss q f j c x t p h ",
    "k g ksn njnhd w l lklmlblsltlplhm b v bss q f j z c x t p h ",
    nullptr,
};

const ArrangementTables ThreeSetKeyTables = {
    "A AAB C CCD E F FFG GGH I IIJ K L M N ", 2,
    "O P Q R S T U V W WOWPWcX Y YSYTYcZ a b c ", 2,
    "f g frh hui j k l m kpkrkxkyn o p q r s t u v w x y z ",
    "A AAfrB hui C CCD l m kpkrkxkyn E F FFq G GGH I IIJ K L M N ",
    "f g frh hui j CCk l m kpkrkxkyn o p FFq r s t u IIv w x y z ",
};

namespace {

constexpr int kInitials = 19;
constexpr int kVowels = 21;
constexpr int kFinals = 27;
constexpr int kConsonants = 30;

// Letters of slot i (up to the first blank) when they begin keys; 0 otherwise.
int SlotMatch(const char* table, int width, int i, const char* keys) {
  const char* slot = table + i * width;
  int n = 0;
  while (n < width && slot[n] != ' ') {
    if (keys[n] != slot[n]) return 0;
    ++n;
  }
  return n;
}

// Slots tried from the last to the first; the first that begins keys wins.
int MatchFromLast(const char* table, int width, int count, const char* keys, int* length) {
  for (int i = count - 1; i >= 0; --i) {
    if (int n = SlotMatch(table, width, i, keys)) {
      *length = n;
      return i;
    }
  }
  *length = 0;
  return -1;
}

// The slots whose first letter is each letter, from the last slot to the
// first (or from the first, for ConsonantJamo's first-slot search).
template <class Lists>
void BuildSlotLists(Lists& lists, const char* table, int width, int count, bool fromLast) {
  for (auto& l : lists) l.fill(-1);
  if (table == nullptr) return;
  for (int n = 0; n < count; ++n) {
    const int i = fromLast ? count - 1 - n : n;
    const auto first = static_cast<unsigned char>(table[i * width]);
    if (first == ' ' || first >= lists.size()) continue;
    auto& l = lists[first];
    size_t k = 0;
    while (l[k] >= 0) ++k;
    if (k + 1 >= l.size()) std::abort();  // a table this index cannot hold
    l[k] = static_cast<int8_t>(i);
  }
}

// Writes the letters of slot i at out; returns the end of what was written.
char* PutSlotLetters(char* out, const char* table, int width, int i) {
  const char* slot = table + i * width;
  for (int n = 0; n < width && slot[n] != ' '; ++n) *out++ = slot[n];
  return out;
}

}  // namespace

JamoAutomaton::JamoAutomaton(const ArrangementTables& t, bool indexed) : t_(t) {
  if (!indexed) return;
  auto index = std::make_unique<Index>();
  BuildSlotLists(index->initials, t.initials, t.initialWidth, kInitials, true);
  BuildSlotLists(index->vowels, t.vowels, t.vowelWidth, kVowels, true);
  BuildSlotLists(index->consonants, t.consonants, kConsonantWidth, kConsonants, t.finalConsonants != nullptr);
  BuildSlotLists(index->finalConsonants, t.finalConsonants, kConsonantWidth, kConsonants, true);
  for (int i = 0; i < kVowels; ++i) {
    const char* slot = t.vowels + i * t.vowelWidth;
    const auto first = static_cast<unsigned char>(slot[0]);
    if (first == ' ' || first >= index->vowelStart.size()) continue;
    const bool alone = t.vowelWidth == 1 || slot[1] == ' ';
    if (alone) {
      index->vowelStart[first] = 1;
    } else if (index->vowelStart[first] == 0) {
      index->vowelStart[first] = 2;
    }
  }
  auto letters = [](auto& out, const char* table, int width, int count, int first) {
    for (int i = 0; i < count; ++i) {
      auto& l = out[static_cast<size_t>(i + first)];
      const char* end = PutSlotLetters(l.letters, table, width, i);
      l.length = static_cast<uint8_t>(end - l.letters);
    }
  };
  letters(index->initialLetters, t.initials, t.initialWidth, kInitials, 0);
  letters(index->vowelLetters, t.vowels, t.vowelWidth, kVowels, 0);
  letters(index->finalLetters, t.finals, kFinalWidth, kFinals, 1);
  letters(index->consonantLetters, t.consonants, kConsonantWidth, kConsonants, 0);
  index_ = std::move(index);
  BuildPairTables();
}

void JamoAutomaton::BuildPairTables() {
  auto p = std::make_unique<PairTables>();
  std::string alphabet(1, '\0');  // code 0: no letter
  for (const char* table : {t_.initials, t_.vowels, t_.finals, t_.consonants, t_.finalConsonants}) {
    for (const char* s = table; s != nullptr && *s != 0; ++s) {
      const auto c = static_cast<unsigned char>(*s);
      if (c == ' ' || c >= p->code.size() || p->code[c] != 0) continue;
      p->code[c] = static_cast<uint8_t>(alphabet.size());
      alphabet += *s;
    }
  }
  p->codes = alphabet.size();
  // Every table is read by the plain search on each pair of keys.
  auto byPairs = [&](std::vector<PairMatch>& out, const char* table, int width, int count) {
    if (table == nullptr) return;
    for (int i = 0; i < count; ++i) {
      if (width > 2 && table[i * width + 2] != ' ') return;  // a slot of three letters
    }
    out.resize(p->codes * p->codes);
    for (size_t c0 = 1; c0 < p->codes; ++c0) {
      for (size_t c1 = 0; c1 < p->codes; ++c1) {
        const char keys[3] = {alphabet[c0], alphabet[c1], 0};
        int length = 0;
        const int slot = MatchFromLast(table, width, count, keys, &length);
        out[c0 * p->codes + c1] = {static_cast<int8_t>(slot), static_cast<uint8_t>(length)};
      }
    }
  };
  byPairs(p->initials, t_.initials, t_.initialWidth, kInitials);
  byPairs(p->vowels, t_.vowels, t_.vowelWidth, kVowels);
  byPairs(p->consonants, t_.consonants, kConsonantWidth, kConsonants);
  byPairs(p->finalConsonants, t_.finalConsonants, kConsonantWidth, kConsonants);
  p->finals.resize(p->codes * p->codes);
  for (size_t c0 = 1; c0 < p->codes; ++c0) {
    for (size_t c1 = 0; c1 < p->codes; ++c1) {
      const char keys[3] = {alphabet[c0], alphabet[c1], 0};
      auto& candidates = p->finals[c0 * p->codes + c1];
      size_t k = 0;
      for (int i = kFinals - 1; i >= 0; --i) {
        if (int n = SlotMatch(t_.finals, kFinalWidth, i, keys)) {
          if (k == candidates.size()) std::abort();  // a table this index cannot hold
          candidates[k++] = {static_cast<int8_t>(i), static_cast<uint8_t>(n)};
        }
      }
    }
  }
  const auto& vowelStart = index_->vowelStart;
  if (std::find(vowelStart.begin(), vowelStart.end(), 2) == vowelStart.end()) {
    p->finalByVowelAfter.resize(p->finals.size());
    for (size_t c0 = 1; c0 < p->codes; ++c0) {
      for (size_t c1 = 0; c1 < p->codes; ++c1) {
        const size_t at = c0 * p->codes + c1;
        const bool vowelAfterOne = vowelStart[static_cast<unsigned char>(alphabet[c1])] == 1;
        for (int vowelAfterTwo = 0; vowelAfterTwo < 2; ++vowelAfterTwo) {
          for (const PairMatch& m : p->finals[at]) {
            if (m.slot < 0) break;
            if (m.length == 1 ? vowelAfterOne : vowelAfterTwo != 0) continue;
            p->finalByVowelAfter[at][static_cast<size_t>(vowelAfterTwo)] = m;
            break;
          }
        }
      }
    }
  }
  pairs_ = std::move(p);
}

size_t JamoAutomaton::PairTables::At(const char* keys) const {
  const auto k0 = static_cast<unsigned char>(keys[0]);
  const size_t c0 = k0 < code.size() ? code[k0] : 0;
  if (c0 == 0) return 0;  // also the end of the keys: keys[1] is not read
  const auto k1 = static_cast<unsigned char>(keys[1]);
  return c0 * codes + (k1 < code.size() ? code[k1] : 0);
}

bool JamoAutomaton::VowelFollows(const char* keys) const {
  const auto first = static_cast<unsigned char>(keys[0]);
  if (index_ && first < index_->vowelStart.size() && index_->vowelStart[first] != 2) {
    return index_->vowelStart[first] == 1;
  }
  int length = 0;
  return MatchVowelKeys(keys, &length) >= 0;
}

// The first slot (in the lists' order, or from the last) whose letters begin keys.
int JamoAutomaton::Match(const SlotLists* lists, const std::vector<PairMatch>* pairs, const char* table, int width,
                         int count, const char* keys, int* length) const {
  if (lists == nullptr) return MatchFromLast(table, width, count, keys, length);
  if (pairs != nullptr && !pairs->empty()) {
    const size_t at = pairs_->At(keys);
    const PairMatch m = at == 0 ? PairMatch{} : (*pairs)[at];
    *length = m.length;
    return m.slot;
  }
  const auto first = static_cast<unsigned char>(keys[0]);
  if (first < lists->size()) {
    for (int8_t i : (*lists)[first]) {
      if (i < 0) break;
      if (int n = SlotMatch(table, width, i, keys)) {
        *length = n;
        return i;
      }
    }
  }
  *length = 0;
  return -1;
}

int JamoAutomaton::MatchInitialKeys(const char* keys, int* length) const {
  return Match(index_ ? &index_->initials : nullptr, pairs_ ? &pairs_->initials : nullptr, t_.initials,
               t_.initialWidth, kInitials, keys, length);
}

int JamoAutomaton::InitialIndex(char key) const {
  const char keys[2] = {key, 0};
  int length = 0;
  return MatchInitialKeys(keys, &length);
}

int JamoAutomaton::MatchVowelKeys(const char* keys, int* length) const {
  return Match(index_ ? &index_->vowels : nullptr, pairs_ ? &pairs_->vowels : nullptr, t_.vowels, t_.vowelWidth,
               kVowels, keys, length);
}

int JamoAutomaton::MatchFinalKeys(const char* keys, int* length) const {
  // A slot that begins keys is taken unless the keys after it begin a vowel
  // (then it starts the next syllable). The indexed automata know the slots
  // that begin each pair of keys.
  if (pairs_ && !pairs_->finalByVowelAfter.empty()) {
    const size_t at = pairs_->At(keys);
    if (at != 0) {
      // A second key that is a letter: the keys go on at least to a third.
      const bool letterSecond = at % pairs_->codes != 0;
      const auto third = static_cast<unsigned char>(letterSecond ? keys[2] : 0);
      const bool vowelAfterTwo = third < index_->vowelStart.size() && index_->vowelStart[third] == 1;
      const PairMatch m = pairs_->finalByVowelAfter[at][vowelAfterTwo ? 1 : 0];
      if (m.slot >= 0) {
        *length = m.length;
        return m.slot + 1;
      }
    }
  } else if (pairs_) {
    const size_t at = pairs_->At(keys);
    if (at != 0) {
      for (const PairMatch& m : pairs_->finals[at]) {
        if (m.slot < 0) break;
        if (!VowelFollows(keys + m.length)) {
          *length = m.length;
          return m.slot + 1;
        }
      }
    }
  } else {
    for (int i = kFinals - 1; i >= 0; --i) {
      const int n = SlotMatch(t_.finals, kFinalWidth, i, keys);
      if (n == 0 || VowelFollows(keys + n)) continue;
      *length = n;
      return i + 1;
    }
  }
  *length = 0;
  return 0;
}

int JamoAutomaton::VowelJamo(char16_t* out, const char* keys) const {
  int length = 0;
  int v = MatchVowelKeys(keys, &length);
  if (v < 0) return 0;
  *out = static_cast<char16_t>(kFirstCompatVowel + v);
  return length;
}

int JamoAutomaton::ConsonantJamo(char16_t* out, const char* keys) const {
  if (!IsThreeSet()) {
    // The first slot that starts with the key.
    const auto first = static_cast<unsigned char>(keys[0]);
    int slot = -1;
    if (index_) {
      if (first < index_->consonants.size()) slot = index_->consonants[first][0];
    } else {
      for (int i = 0; i < kConsonants && slot < 0; ++i) {
        if (t_.consonants[i * kConsonantWidth] == keys[0] && keys[0] != 0) slot = i;
      }
    }
    if (slot < 0) return 0;
    *out = static_cast<char16_t>(kFirstCompatConsonant + slot);
    return 1;
  }
  int length = 0;
  int i = Match(index_ ? &index_->consonants : nullptr, pairs_ ? &pairs_->consonants : nullptr, t_.consonants,
                kConsonantWidth, kConsonants, keys, &length);
  if (i < 0) {
    i = Match(index_ ? &index_->finalConsonants : nullptr, pairs_ ? &pairs_->finalConsonants : nullptr,
              t_.finalConsonants, kConsonantWidth, kConsonants, keys, &length);
  }
  if (i < 0) return 0;
  *out = static_cast<char16_t>(kFirstCompatConsonant + i);
  return length;
}

int JamoAutomaton::KeysToSyllables(std::u16string& out, const std::string& keys, KeyMarks* marks,
                                   UserFeedback* feedback) const {
  const size_t before = out.size();
  out.resize(before + keys.size());
  const int emitted = KeysToSyllables(out.data() + before, keys.c_str(), marks, feedback);
  out.resize(before + static_cast<size_t>(emitted));
  return emitted;
}

// The parse is the hot path of every key: its matches are inlined into it.
#if defined(__GNUC__)
[[gnu::flatten]]
#endif
int JamoAutomaton::KeysToSyllables(char16_t* out, const char* keys, KeyMarks* marks, UserFeedback* feedback) const {
  int emitted = 0;
  size_t pos = 0;
  while (keys[pos] != 0) {
    char16_t ch = 0;
    int used = 0;
    bool fromConsonantJamo = false;
    int initialLength = 0;
    int initial = MatchInitialKeys(keys + pos, &initialLength);
    if (initial >= 0) {
      int vowelLength = 0;
      int vowel = MatchVowelKeys(keys + pos + initialLength, &vowelLength);
      if (vowel >= 0) {
        int finalLength = 0;
        int final = MatchFinalKeys(keys + pos + initialLength + vowelLength, &finalLength);
        ch = static_cast<char16_t>(kFirstSyllable + (initial * 21 + vowel) * 28 + final);
        used = initialLength + vowelLength + finalLength;
      } else {
        used = ConsonantJamo(&ch, keys + pos);
        fromConsonantJamo = true;
      }
    } else {
      used = VowelJamo(&ch, keys + pos);
      if (used == 0 && IsThreeSet()) {
        used = ConsonantJamo(&ch, keys + pos);
        fromConsonantJamo = true;
      }
    }
    if (used == 0) {
      if (feedback) feedback->Beep(kBeepExclamation);
      ++pos;
      continue;
    }
    if (IsThreeSet() && marks) {
      KeyMark mark;
      char letter = keys[pos];
      if (fromConsonantJamo && used == 1 && letter >= 'f' && letter <= 'z') {
        mark.b0 = ' ';
        mark.b1 = static_cast<uint8_t>(letter);
      }
      marks->push_back(mark);
    }
    out[emitted++] = ch;
    pos += used;
  }
  return emitted;
}

std::string JamoAutomaton::SyllableToKeys(char16_t ch) const {
  char keys[kKeyBufferSize];
  const int n = SyllableToKeys(keys, ch);
  return std::string(keys, static_cast<size_t>(n));
}

int JamoAutomaton::SyllableToKeys(char* out, char16_t ch) const {
  if (index_) {
    // Four bytes of letters at a time, advanced by their count.
    auto put = [](char* at, const Index::Letters& l) {
      std::memcpy(at, l.letters, 4);
      return at + l.length;
    };
    char* end = out;
    if (ch >= kFirstSyllable && ch <= kLastSyllable) {
      const int s = ch - kFirstSyllable;
      end = put(end, index_->initialLetters[static_cast<size_t>(s / 588)]);
      end = put(end, index_->vowelLetters[static_cast<size_t>(s % 588 / 28)]);
      end = put(end, index_->finalLetters[static_cast<size_t>(s % 28)]);
    } else if (ch >= kFirstCompatConsonant && ch < kFirstCompatVowel) {
      end = put(end, index_->consonantLetters[static_cast<size_t>(ch - kFirstCompatConsonant)]);
    } else if (ch >= kFirstCompatVowel && ch <= kLastCompatVowel) {
      end = put(end, index_->vowelLetters[static_cast<size_t>(ch - kFirstCompatVowel)]);
    }
    *end = 0;
    return static_cast<int>(end - out);
  }
  char* end = out;
  if (ch >= kFirstSyllable && ch <= kLastSyllable) {
    int s = ch - kFirstSyllable;
    int initial = s / 588;
    int vowel = (s % 588) / 28;
    int final = s % 28;
    end = PutSlotLetters(end, t_.initials, t_.initialWidth, initial);
    end = PutSlotLetters(end, t_.vowels, t_.vowelWidth, vowel);
    if (final > 0) end = PutSlotLetters(end, t_.finals, kFinalWidth, final - 1);
  } else if (ch >= kFirstCompatConsonant && ch < kFirstCompatVowel) {
    end = PutSlotLetters(end, t_.consonants, kConsonantWidth, ch - kFirstCompatConsonant);
  } else if (ch >= kFirstCompatVowel && ch <= kLastCompatVowel) {
    end = PutSlotLetters(end, t_.vowels, t_.vowelWidth, ch - kFirstCompatVowel);
  }
  *end = 0;
  return static_cast<int>(end - out);
}

namespace {
// Built at start-up, so that finding one costs no check of a guard on every key.
const JamoAutomaton kRoman(RomanKeyTables);
const JamoAutomaton kTwoSet(TwoSetKeyTables);
const JamoAutomaton kThreeSet(ThreeSetKeyTables);
}  // namespace

const JamoAutomaton& AutomatonFor(int inputMode) {
  switch (inputMode) {
    case 0: return kRoman;
    case 2: return kThreeSet;
    default: return kTwoSet;
  }
}

bool CombineThreeSetFinal(std::string& keys, size_t index, int limit) {
  if (index < 1 || index >= keys.size()) return false;
  struct Pair { char earlier, added, compound; };
  static constexpr Pair kPairs[] = {
      {'f', 'f', 'g'}, {'h', 'z', 'i'}, {'k', 'f', 'l'}, {'k', 'o', 'm'},
      {'k', 'z', 'n'}, {'p', 'r', 'q'}, {'r', 'r', 's'},
  };
  for (const Pair& p : kPairs) {
    if (keys[index - 1] != p.earlier || keys[index] != p.added) continue;
    std::string copy = keys;
    copy[index - 1] = p.compound;
    copy.erase(index, 1);
    std::u16string parsed;
    if (AutomatonFor(2).KeysToSyllables(parsed, copy, nullptr, nullptr) > limit) return false;
    keys = copy;
    return true;
  }
  return false;
}

char MapThreeSetKey(char ch, unsigned virtualKey, bool shiftHeld, int keyboardType) {
  if (virtualKey >= 0x60 && virtualKey <= 0x6F) return ch;
  unsigned char c = static_cast<unsigned char>(ch);
  if (c < 33 || c > 126) return ch;
  if (c >= 'A' && c <= 'Z' && !shiftHeld) c = static_cast<unsigned char>(c - 'A' + 'a');
  auto swap = [&](unsigned char x) -> unsigned char {
    if (keyboardType != 2) return x;
    if (x == '\'') return ':';
    if (x == ':') return '\'';
    return x;
  };
  c = swap(c);
  // Keys not listed map to themselves.
  static const struct { char key, letter; } kPairs[] = {
      {'!', 'u'}, {'/', 'W'}, {'0', 'K'}, {'1', 'z'}, {'2', 's'}, {'3', 'p'}, {'4', 'X'},
      {'5', 'Z'}, {'6', 'Q'}, {'7', 'V'}, {'8', 'b'}, {'9', 'Y'}, {':', 'L'}, {';', 'F'},
      {'<', '2'}, {'>', '3'}, {'A', 'j'}, {'B', '!'}, {'C', 'm'}, {'D', 'l'}, {'E', 'w'},
      {'F', 'g'}, {'G', '/'}, {'H', ':'}, {'I', '8'}, {'J', '4'}, {'K', '5'}, {'L', '6'},
      {'M', '1'}, {'N', '0'}, {'O', '9'}, {'P', '>'}, {'Q', 'y'}, {'R', 'R'}, {'S', 'i'},
      {'T', ';'}, {'U', '7'}, {'V', 'n'}, {'W', 'x'}, {'X', 'q'}, {'Y', '<'}, {'Z', 'v'},
      {'a', 't'}, {'b', 'Y'}, {'c', 'T'}, {'d', 'c'}, {'e', 'U'}, {'f', 'O'}, {'g', 'a'},
      {'h', 'B'}, {'i', 'E'}, {'j', 'H'}, {'k', 'A'}, {'l', 'I'}, {'m', 'N'}, {'n', 'G'},
      {'o', 'J'}, {'p', 'M'}, {'q', 'r'}, {'r', 'P'}, {'s', 'h'}, {'t', 'S'}, {'u', 'C'},
      {'v', 'W'}, {'w', 'k'}, {'x', 'f'}, {'y', 'D'}, {'z', 'o'},
  };
  for (const auto& p : kPairs) {
    if (static_cast<unsigned char>(p.key) == c) {
      c = static_cast<unsigned char>(p.letter);
      break;
    }
  }
  return static_cast<char>(swap(c));
}

}  // namespace ime
