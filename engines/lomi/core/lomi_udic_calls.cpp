// The engine's user-dictionary calls: candidates of a word, their order,
// and the entries of the user dictionaries by number.
#include <algorithm>
#include <cstring>

#include "lomi_engine.h"

namespace lomi {
namespace {

uint32_t Get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
void Set32(uint8_t* p, uint32_t x) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(x >> (8 * i));
}

// A NUL-terminated field of a record.
std::string_view Field(const uint8_t* record, std::size_t offset) {
  const char* p = reinterpret_cast<const char*>(record + offset);
  return {p, strnlen(p, kCandidateWordBytes)};
}

// Copies text into a word field, cut to whole double-byte characters.
void PutWord(uint8_t* field, std::string_view text) {
  std::size_t n = 0;
  while (n < text.size()) {
    const std::size_t c = static_cast<uint8_t>(text[n]) >= 0x80 && n + 1 < text.size() ? 2 : 1;
    if (n + c > kCandidateWordBytes - 1) break;
    n += c;
  }
  std::memcpy(field, text.data(), n);
  field[n] = 0;
}

struct Candidate {
  std::string_view japanese, korean;
  PartOfSpeech pos;
  uint8_t source = kFromGlossary;
  int dictionary = kSystemDictionary;
  bool hanja = false;
  uint32_t number = 0;
};

void FillRecord(uint8_t* record, const Candidate& c) {
  std::memset(record, 0, kCandidateSize);
  PutWord(record + kCandidateSource, c.japanese);
  PutWord(record + kCandidateListedSource, c.japanese);
  PutWord(record + kCandidateKorean, c.korean);
  record[kCandidateCarried] = c.source;
  record[kCandidateCarried + 1] = static_cast<uint8_t>(c.dictionary);
  record[kCandidateCarried + 8] = c.hanja ? 1 : 0;
  record[kCandidatePartOfSpeech] = c.pos.type;
  record[kCandidatePartOfSpeech + 1] = c.pos.subtype;
  record[kCandidatePartOfSpeech + 2] = c.pos.third;
  Set32(record + kCandidateHanjaFlag, c.hanja ? 1 : 0);
  Set32(record + kCandidateDictionary, static_cast<uint32_t>(c.dictionary));
  Set32(record + kCandidateNumber, c.number);
}

Candidate UserCandidate(const UserEntry& e, int slot, std::size_t index) {
  Candidate c;
  c.japanese = e.japanese;
  c.korean = e.korean;
  c.pos = e.pos;
  c.source = kFromUser;
  c.dictionary = slot;
  c.hanja = e.hanja;
  c.number = static_cast<uint32_t>(index + 1);
  return c;
}

// The source word of a record: at its first field, or where listed records
// carry it.
std::string_view RecordSource(const uint8_t* record) {
  const std::string_view first = Field(record, kCandidateSource);
  return first.empty() ? Field(record, kCandidateListedSource) : first;
}

bool Inflecting(uint8_t type) { return type == 2 || type == 3; }

int DigitValue(int digit) {
  const int low = digit & 0xFF;
  if (low >= '0' && low <= '9') return low - '0';
  return low;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

}  // namespace

int Engine::SlotOf(int digit, const char* name) const {
  const int slot = DigitValue(digit);
  if (slot < 0 || slot >= kUserDicSlots || paths_[slot].empty()) return -1;
  if (name && name[0] && !SameName(std::string_view(name, strnlen(name, kUserDicPathBytes)), paths_[slot]))
    return -1;
  return slot;
}

int Engine::ReadCandidates(const char* word, int dictionary, uint8_t* records, int capacity) const {
  if (!word || capacity < 0 || (capacity > 0 && !records)) return kLomiBadArgument;
  const std::string_view key(word, strnlen(word, 200));
  if (key.empty()) return 0;
  std::vector<Candidate> found;
  std::vector<WordValue> values;
  if (dictionary == kSystemDictionary) {
    values = SystemValues(key);
    for (std::size_t i = 0; i < values.size(); ++i) {
      Candidate c;
      c.japanese = key;
      c.korean = values[i].korean;
      c.pos = values[i].pos;
      c.source = values[i].source;
      c.hanja = values[i].source == kFromHanjaList;
      c.number = static_cast<uint32_t>(i + 1);
      found.push_back(c);
    }
  } else if (dictionary >= 0 && dictionary < kUserDicSlots) {
    const auto& entries = user_[dictionary].Entries();
    const int first = user_[dictionary].Find(key);
    for (std::size_t i = first < 0 ? entries.size() : static_cast<std::size_t>(first);
         i < entries.size() && entries[i].japanese == key; ++i)
      found.push_back(UserCandidate(entries[i], dictionary, i));
  } else {
    return kLomiBadArgument;
  }
  const std::size_t fill = std::min(found.size(), static_cast<std::size_t>(capacity));
  for (std::size_t i = 0; i < fill; ++i) FillRecord(records + i * kCandidateSize, found[i]);
  return static_cast<int>(found.size());
}

int Engine::OrderChange(int digit, const uint8_t* records, int count, int index, int to) {
  if (!records || count < 2 || index < 0 || index >= count || to < 0 || to >= count || (to != index - 1 && to != index + 1))
    return kLomiBadArgument;
  const uint8_t* a = records + static_cast<std::size_t>(index) * kCandidateSize;
  const uint8_t* b = records + static_cast<std::size_t>(to) * kCandidateSize;
  const std::string_view word = RecordSource(a);
  if (word.empty() || RecordSource(b) != word) return kLomiBadArgument;
  if (Inflecting(a[kCandidatePartOfSpeech]) != Inflecting(b[kCandidatePartOfSpeech])) return kLomiMixedInflecting;
  const std::string_view ka = Field(a, kCandidateKorean), kb = Field(b, kCandidateKorean);
  const int number = DigitValue(digit);
  if (number == kSystemDictionary) {
    std::vector<WordValue> values = SystemValues(word);
    auto at = [&](std::string_view k) {
      for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i].korean == k) return static_cast<int>(i);
      return -1;
    };
    const int ia = at(ka), ib = at(kb);
    if (ia < 0 || ib < 0 || (ia - ib != 1 && ib - ia != 1)) return kLomiStale;
    std::swap(values[static_cast<std::size_t>(ia)], values[static_cast<std::size_t>(ib)]);
    systemOrder_[std::string(word)] = std::move(values);
    return kLomiOk;
  }
  const int slot = SlotOf(number, nullptr);
  if (slot < 0 || !files_) return kLomiBadArgument;
  UserDictionary dic;
  if (!LoadUserDic(*files_, paths_[slot], dic)) return kLomiFileError;
  const int ia = dic.FindPair(word, ka), ib = dic.FindPair(word, kb);
  if (ia < 0 || ib < 0 || (ia - ib != 1 && ib - ia != 1)) return kLomiStale;
  if (!dic.SwapWithNext(static_cast<std::size_t>(std::min(ia, ib)))) return kLomiStale;
  if (!SaveUserDic(*files_, paths_[slot], dic)) return kLomiFileError;
  user_[slot] = std::move(dic);
  return kLomiOk;
}

int Engine::GetUserDicInfo(char* digit, char* name, int* count) const {
  if (!digit || !name || !count) return kLomiBadArgument;
  const std::string_view given(name, strnlen(name, kUserDicPathBytes));
  if (!given.empty() && given.size() < kUserDicPathBytes) {
    for (int slot = 0; slot < kUserDicSlots; ++slot) {
      if (!paths_[slot].empty() && SameName(given, paths_[slot])) {
        *digit = static_cast<char>('0' + slot);
        *count = static_cast<int>(user_[slot].Entries().size());
        return kLomiOk;
      }
    }
  }
  const int slot = DigitValue(static_cast<uint8_t>(*digit));
  if (slot < 0 || slot >= kUserDicSlots) return kLomiBadArgument;
  const std::string& path = paths_[slot];
  std::memcpy(name, path.c_str(), path.size() + 1);
  *count = static_cast<int>(user_[slot].Entries().size());
  return kLomiOk;
}

int Engine::ListUserDic(const char* name, int digit, int step, uint8_t* records, int count) const {
  const int slot = SlotOf(digit, name);
  if (slot < 0 || !records || count < 1) return kLomiBadArgument;
  if (step != kListForward && step != kListBackward && step != kListAtForward && step != kListAtBackward)
    return kLomiBadArgument;
  const auto& entries = user_[slot].Entries();
  const long long size = static_cast<long long>(entries.size());
  const long long start = static_cast<int32_t>(Get32(records + kCandidateNumber));
  const bool backward = step < 0;
  long long k = 0;
  if (start < 0)
    k = backward ? size : 1;
  else
    k = step == kListForward ? start + 1 : step == kListBackward ? start - 1 : start;
  int filled = 0;
  for (; filled < count && k >= 1 && k <= size; ++filled, k += backward ? -1 : 1) {
    const std::size_t i = static_cast<std::size_t>(k - 1);
    FillRecord(records + static_cast<std::size_t>(filled) * kCandidateSize, UserCandidate(entries[i], slot, i));
  }
  return filled;
}

int Engine::UpdateUserDic(const char* name, int digit, uint8_t* record, int operation) {
  const int slot = SlotOf(digit, name);
  if (slot < 0 || !record || !files_ || operation < kUdicAdd || operation > kUdicDelete) return kLomiBadArgument;
  UserDictionary dic;
  if (!LoadUserDic(*files_, paths_[slot], dic)) return kLomiFileError;
  const std::string japanese(RecordSource(record));
  const std::string_view korean = Field(record, kCandidateKorean);
  const uint32_t number = Get32(record + kCandidateNumber);
  const std::size_t size = dic.Entries().size();
  const bool numbered = number >= 1 && number <= size;
  int at = -1;
  if (operation == kUdicDelete) {
    if (!numbered) return kLomiStale;
    const UserEntry& e = dic.Entries()[number - 1];
    // A record read back carries the KS translation, one being written the GM one.
    if ((!japanese.empty() && e.japanese != japanese) ||
        (!korean.empty() && e.korean != korean && e.korean != GmToKsText(korean)))
      return kLomiStale;
    dic.Remove(number - 1);
  } else {
    UserEntry entry;
    entry.japanese = japanese;
    entry.korean = GmToKsText(korean);
    entry.pos = {record[kCandidatePartOfSpeech], record[kCandidatePartOfSpeech + 1], record[kCandidatePartOfSpeech + 2]};
    entry.hanja = Get32(record + kCandidateHanjaFlag) != 0;
    const int same = dic.FindPair(entry.japanese, entry.korean);
    if (same >= 0 && !(operation == kUdicModify && static_cast<uint32_t>(same) + 1 == number)) {
      Set32(record + kCandidateNumber, static_cast<uint32_t>(same + 1));
      return kLomiDuplicate;
    }
    if (operation == kUdicModify) {
      if (!numbered || dic.Entries()[number - 1].japanese != entry.japanese) return kLomiStale;
      if (!dic.Replace(number - 1, entry)) return kLomiBadArgument;
    } else if (!dic.Add(entry)) {
      return kLomiBadArgument;
    }
    at = dic.FindPair(entry.japanese, entry.korean);
  }
  if (!SaveUserDic(*files_, paths_[slot], dic)) return kLomiFileError;
  user_[slot] = std::move(dic);
  if (at >= 0) Set32(record + kCandidateNumber, static_cast<uint32_t>(at + 1));
  return kLomiOk;
}

}  // namespace lomi
