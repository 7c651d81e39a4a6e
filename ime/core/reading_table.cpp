#include "reading_table.h"

#include <cstring>

#include "code_page.h"

namespace ime {

namespace {

constexpr int kJamoFirstOrdinal = 282;        // row 4, cell 1
constexpr int kSyllableOrdinalBase = 1316;    // entry i >= 94 is ordinal 1316 + i
constexpr int kFirstSyllableOrdinal = kSyllableOrdinalBase + kReadingJamoEntries;  // row 16, cell 1
constexpr int kLastSyllableOrdinal = kSyllableOrdinalBase + kReadingEntries - 1;   // row 40, cell 94
constexpr int kCompatJamoEntries = 51;        // 30 consonants and 21 vowels lead row 4
constexpr int kCompatConsonantEntries = 30;
constexpr size_t kTableBytes = static_cast<size_t>(kReadingEntries) * kReadingEntrySize;
constexpr uint8_t kEndOfFile = 0x1A;

int EntryOrdinal(int entry) {
  return entry < kReadingJamoEntries ? kJamoFirstOrdinal + entry : kSyllableOrdinalBase + entry;
}

// Keys that begin a vowel: a final consonant in front of one of them belongs
// to the next syllable.
bool IsVowelKey(int inputMode, char key) {
  // By table: the search asks this for every entry it tries.
  struct Table {
    bool vowel[128] = {};
    explicit Table(const char* keys) {
      for (const char* k = keys; *k != 0; ++k) vowel[static_cast<unsigned char>(*k)] = true;
    }
  };
  static const Table roman("ayrouei"), other("yuiophjklbnmYUIOPHJKLBNM");
  const auto k = static_cast<unsigned char>(key);
  return k < 128 && (inputMode == 0 ? roman : other).vowel[k];
}

// Whether the first n letters are the same; n is at most an entry's five.
bool SameLetters(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

}  // namespace

const char* ReadingTableName(int inputMode) {
  switch (inputMode) {
    case 0: return "RMYOMI";
    case 2: return "KS3YOMI";
    default: return "KS2YOMI";
  }
}

std::vector<uint8_t> BuildReadingTable(int inputMode) {
  const JamoAutomaton& automaton = AutomatonFor(inputMode);
  const codeconv::CodePageConverter& pages = codeconv::PlatformCodePages();
  std::vector<uint8_t> table(kTableBytes, ' ');
  for (int entry = 0; entry < kReadingEntries; ++entry) {
    int ordinal = EntryOrdinal(entry);
    std::string ks = {static_cast<char>(ordinal / 94 + 0xA1), static_cast<char>(ordinal % 94 + 0xA1)};
    std::u16string text = pages.ToUtf16(949, ks);
    if (text.size() != 1) continue;
    std::string keys = automaton.SyllableToKeys(text[0]);
    // A key string that does not fit the entry cannot be stored; the entry is
    // left blank so that the character is never produced from a cut-off string.
    if (keys.size() > static_cast<size_t>(kReadingEntrySize)) continue;
    std::memcpy(&table[static_cast<size_t>(entry) * kReadingEntrySize], keys.data(), keys.size());
  }
  if (inputMode != 0) table.push_back(kEndOfFile);
  return table;
}

const char* ReadingTable::EntryLetters(int entry) const {
  return reinterpret_cast<const char*>(&data_[static_cast<size_t>(entry) * kReadingEntrySize]);
}

// Letters of an entry end at its first blank (counted once when loading).
size_t ReadingTable::EntryLength(int entry) const {
  if (!lengths_.empty()) return lengths_[static_cast<size_t>(entry)];
  const char* slot = EntryLetters(entry);
  size_t n = 0;
  while (n < static_cast<size_t>(kReadingEntrySize) && slot[n] != ' ') ++n;
  return n;
}

std::string ReadingTable::EntryKeys(int entry) const { return std::string(EntryLetters(entry), EntryLength(entry)); }

std::string ReadingTable::ContinuingKeys(const std::string& prefix) const {
  std::string keys;
  if (!loaded_) return keys;
  for (int entry = 0; entry < kReadingEntries; ++entry) {
    const std::string e = EntryKeys(entry);
    if (e.size() <= prefix.size() || e.compare(0, prefix.size(), prefix) != 0) continue;
    if (keys.find(e[prefix.size()]) == std::string::npos) keys.push_back(e[prefix.size()]);
  }
  return keys;
}

// Key groups, chosen so that the search gives what the jamo automaton gives:
//  - 2-set and roman: a key that starts syllables searches the run of those
//    syllables; its default is the lone consonant of that key (the automaton
//    makes a lone consonant from one key only, so the compound consonant
//    entries such as "rt" stay out of the group). A key that starts no
//    syllable (vowel keys, the roman y) searches the jamo entries starting
//    with it; the default is the jamo typed by that one key, if any.
//  - 3-set: a key searches every entry starting with it, syllables and jamo
//    alike, since the automaton's lone consonant is a longest match too (AA
//    gives the tense consonant). The default of a final-consonant letter f..z
//    is the consonant whose final-letter form is that letter.
// Groups are index ranges; entries inside a range that do not start with the
// key never fit, so a range may span entries of other keys.
bool ReadingTable::Load(const uint8_t* data, size_t size, int inputMode, bool indexed) {
  loaded_ = false;
  data_.clear();
  lengths_.clear();
  start_.clear();
  byKeys_.clear();
  for (Group& g : groups_) g = Group{};
  if (data == nullptr) return false;
  if (size != kTableBytes && !(size == kTableBytes + 1 && data[kTableBytes] == kEndOfFile)) return false;
  for (size_t i = 0; i < kTableBytes; ++i) {
    if (data[i] < 0x20 || data[i] > 0x7E) return false;
  }
  data_.assign(data, data + kTableBytes);
  lengths_.clear();
  std::vector<uint8_t> lengths(kReadingEntries);
  for (int entry = 0; entry < kReadingEntries; ++entry) lengths[static_cast<size_t>(entry)] = static_cast<uint8_t>(EntryLength(entry));
  lengths_ = std::move(lengths);
  inputMode_ = inputMode;
  const bool threeSet = inputMode == 2;

  int firstSyllable[128], lastSyllable[128], firstJamo[128], lastJamo[128];
  for (int k = 0; k < 128; ++k) firstSyllable[k] = lastSyllable[k] = firstJamo[k] = lastJamo[k] = -1;
  for (int entry = 0; entry < kReadingEntries; ++entry) {
    // Row 4 past the compatibility jamo has no characters to type.
    if (entry >= kCompatJamoEntries && entry < kReadingJamoEntries) continue;
    std::string keys = EntryKeys(entry);
    if (keys.empty()) continue;
    int k = static_cast<unsigned char>(keys[0]);
    int* first = entry < kReadingJamoEntries ? firstJamo : firstSyllable;
    int* last = entry < kReadingJamoEntries ? lastJamo : lastSyllable;
    if (first[k] < 0) first[k] = entry;
    last[k] = entry;
    if (entry < kReadingJamoEntries && keys.size() == 1) groups_[k].fallback = entry;
  }
  for (int k = 0; k < 128; ++k) {
    Group& g = groups_[k];
    int first = -1, last = -1;
    if (threeSet) {
      first = firstJamo[k] >= 0 ? firstJamo[k] : firstSyllable[k];
      last = lastSyllable[k] >= 0 ? lastSyllable[k] : lastJamo[k];
    } else if (firstSyllable[k] >= 0) {
      first = firstSyllable[k];
      last = lastSyllable[k];
    } else {
      first = firstJamo[k];
      last = lastJamo[k];
    }
    if (last >= 0) {
      g.last = last;
      g.count = last - first + 1;
    }
  }
  if (threeSet) {
    // A final-consonant letter alone stands for the consonant it is the final
    // of. Row 4 starts with the 30 consonants in compatibility-jamo order, so
    // a consonant's slot is also its entry.
    const char* finals = ThreeSetKeyTables.finalConsonants;
    for (int slot = 0; slot < kCompatConsonantEntries; ++slot) {
      const char* s = finals + slot * kConsonantWidth;
      if (s[0] >= 'f' && s[0] <= 'z' && s[1] == ' ') groups_[static_cast<unsigned char>(s[0])].fallback = slot;
    }
  }
  if (indexed) BuildKeyPairIndex();
  loaded_ = true;
  return true;
}

void ReadingTable::BuildKeyPairIndex() {
  start_.assign(128 * 128 + 1, 0);
  for (int k0 = 0; k0 < 128; ++k0) {
    const Group& g = groups_[k0];
    for (int k1 = 0; k1 < 128; ++k1) {
      start_[static_cast<size_t>(k0 * 128 + k1)] = static_cast<uint16_t>(byKeys_.size());
      for (int entry = g.last, n = 0; n < g.count; --entry, ++n) {
        const char* letters = EntryLetters(entry);
        if (static_cast<unsigned char>(letters[0]) != k0) continue;
        if (EntryLength(entry) >= 2 && static_cast<unsigned char>(letters[1]) != k1) continue;
        byKeys_.push_back(static_cast<int16_t>(entry));
      }
    }
  }
  start_.back() = static_cast<uint16_t>(byKeys_.size());
}

std::string ReadingTable::GetKeyStringOfChar(codeconv::DbChar gm95) const {
  char keys[kReadingEntrySize + 1];
  return std::string(keys, PutKeyStringOfChar(keys, gm95));
}

size_t ReadingTable::PutKeyStringOfChar(char* out, codeconv::DbChar gm95) const {
  int entry = -1;
  if (loaded_) {
    const int ordinal = codeconv::Gm95ToOrdinal(gm95);
    if (ordinal >= kJamoFirstOrdinal && ordinal < kJamoFirstOrdinal + kCompatJamoEntries) {
      entry = ordinal - kJamoFirstOrdinal;
    } else if (ordinal >= kFirstSyllableOrdinal && ordinal <= kLastSyllableOrdinal) {
      entry = ordinal - kSyllableOrdinalBase;
    }
  }
  const size_t n = entry < 0 ? 0 : EntryLength(entry);
  if (n != 0) std::memcpy(out, EntryLetters(entry), n);
  out[n] = 0;
  return n;
}

// Appends to out (and marks); an unloaded table produces nothing.
void ReadingTable::KeysToGm95(std::string_view keys, std::vector<codeconv::DbChar>& out,
                              KeyMarks* marks, UserFeedback* feedback) const {
  if (!loaded_) return;
  const bool threeSet = inputMode_ == 2;
  size_t pos = 0;
  while (pos < keys.size()) {
    unsigned char key = static_cast<unsigned char>(keys[pos]);
    const Group* g = key < 128 ? &groups_[key] : nullptr;
    int found = -1;
    size_t used = 0;
    if (g != nullptr) {
      // Whether an entry fits the keys at pos.
      auto fits = [&](int entry) {
        const char* letters = EntryLetters(entry);
        if (letters[0] != keys[pos]) return false;
        size_t length = EntryLength(entry);
        if (length > keys.size() - pos) return false;
        if (!SameLetters(letters, keys.data() + pos, length)) return false;
        if (!threeSet) {
          char next = pos + length < keys.size() ? keys[pos + length] : 0;
          if (IsVowelKey(inputMode_, next) && !IsVowelKey(inputMode_, letters[length - 1])) return false;
        }
        found = entry;
        used = length;
        return true;
      };
      const auto second = static_cast<unsigned char>(pos + 1 < keys.size() ? keys[pos + 1] : 0);
      if (!start_.empty() && second < 128) {
        const size_t at = key * 128u + second;
        for (size_t i = start_[at]; i < start_[at + 1] && !fits(byKeys_[i]); ++i) {
        }
      } else {
        for (int entry = g->last, n = 0; n < g->count && !fits(entry); --entry, ++n) {
        }
      }
      if (found < 0 && g->fallback >= 0) {
        found = g->fallback;
        used = 1;
      }
    }
    if (found < 0) {
      if (feedback) feedback->Beep(kBeepExclamation);
      ++pos;
      continue;
    }
    if (threeSet && marks) {
      KeyMark mark;
      if (found < kCompatConsonantEntries && used == 1 && key >= 'f' && key <= 'z') {
        mark.b0 = ' ';
        mark.b1 = key;
      }
      marks->push_back(mark);
    }
    out.push_back(codeconv::OrdinalToGm95(EntryOrdinal(found)));
    pos += used;
  }
}

}  // namespace ime
