#include "word_choice.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "code_page.h"
#include "text_utils.h"

namespace workbench::choice {
namespace {

bool IsSjisLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Bytes up to the first NUL within n.
std::string Bounded(const void* p, std::size_t n) {
  const char* s = static_cast<const char*>(p);
  return std::string(s, strnlen(s, n));
}

}  // namespace

WordPair MakeWordPair(AlignmentTable* table, std::string_view japaneseText, std::string_view koreanLine,
                      bool japaneseActive, int start, int end, const codeconv::GmCodeConverter& gm) {
  WordPair pair;
  const AlignedPair* aligned =
      table ? table->ExactPair(japaneseActive ? AlignmentTable::Side::kJapanese : AlignmentTable::Side::kKorean,
                               start, end)
            : nullptr;
  if (!aligned) {
    if (japaneseActive && start >= 0 && end > start && static_cast<std::size_t>(end) <= japaneseText.size())
      pair.japanese = std::string(japaneseText.substr(static_cast<std::size_t>(start),
                                                      static_cast<std::size_t>(end - start)));
    return pair;
  }
  pair.japanese = std::string(japaneseText.substr(aligned->japaneseOffset, aligned->japaneseLength));
  if (aligned->koreanOffset <= koreanLine.size())
    pair.korean = std::string(koreanLine.substr(aligned->koreanOffset, aligned->koreanLength));
  if (pair.japanese.empty() || pair.japanese.size() > kMaxPairWordBytes || pair.korean.size() > kMaxPairWordBytes)
    return pair;
  pair.noPair = false;
  std::vector<char> spaced(pair.japanese.size() + 1, '\0');
  gm.NormalizeSpacing(pair.japanese.c_str(), spaced.data(), codeconv::kSpacingShiftJis);
  pair.japanese = spaced.data();

  WordPairInfo& info = pair.info;
  info.table = table;
  info.entryIndex = static_cast<int>(aligned->dataIndex);
  const uint8_t* entry = table->Buffer().data() + aligned->dataIndex * lomi::kEntrySize;
  std::memcpy(info.attributes, entry + lomi::kWordAttributes, sizeof info.attributes);
  std::memcpy(info.partOfSpeech, entry + lomi::kPartOfSpeech, sizeof info.partOfSpeech);
  std::memcpy(info.wordData, entry + lomi::kWordData, sizeof info.wordData);
  info.wordData[sizeof info.wordData - 1] = '\0';
  const std::string word = info.wordData;
  std::vector<char> ks(word.size() + 1, '\0');
  gm.GmToKs(ks.data(), word.data(), static_cast<unsigned>(word.size()));
  pair.korean.assign(ks.data(), word.size());
  return pair;
}

std::string RecordKorean(const Record& r) { return Bounded(r.korean, sizeof r.korean); }
int RecordDictionary(const Record& r) { return r.dictionary; }
uint8_t RecordType(const Record& r) { return r.partOfSpeech[0]; }
uint8_t RecordSubtype(const Record& r) { return r.partOfSpeech[1]; }
int8_t RecordThird(const Record& r) { return static_cast<int8_t>(r.partOfSpeech[2]); }

std::string SearchWord(std::string_view typed, const codeconv::GmCodeConverter& gm, bool* cut) {
  std::size_t first = 0, last = typed.size();
  while (first < last && typed[first] == ' ') ++first;
  while (last > first && typed[last - 1] == ' ') --last;
  const std::string trimmed(typed.substr(first, last - first));
  std::vector<char> wide(2 * trimmed.size() + 1, '\0');
  const int n = gm.WidenSjisText(wide.data(), wide.size(), trimmed.data(), static_cast<unsigned>(trimmed.size()));
  std::string word(wide.data(), static_cast<std::size_t>(n > 0 ? n : 0));
  if (cut) *cut = word.size() > kMaxSearchBytes;
  if (word.size() > kMaxSearchBytes) {
    std::size_t keep = 0;
    while (keep < word.size()) {
      const std::size_t step = IsSjisLead(static_cast<uint8_t>(word[keep])) ? 2 : 1;
      if (keep + step > kMaxSearchBytes) break;
      keep += step;
    }
    word.resize(keep);
  }
  return word;
}

std::optional<std::string> FixedVerbKorean(std::string_view sjisWord) {
  const codeconv::CodePageConverter& pages = codeconv::PlatformCodePages();
  const std::u16string word = pages.ToUtf16(932, std::string(sjisWord));
  const char16_t* korean = nullptr;
  if (word == u"くる" || word == u"来る")
    korean = u"오다";
  else if (word == u"する")
    korean = u"하다";
  else if (word == u"ずる")
    korean = u"어긋나다";
  if (!korean) return std::nullopt;
  return pages.FromUtf16(949, korean);
}

bool Candidates::LookUp(const std::string& word) {
  Clear();
  for (int g = 0; g < 4; ++g) {
    Record scratch{};
    const int count = engine_.ReadCandidates(word, kDictionaries[g], &scratch, 0);
    if (count <= 0) continue;
    std::vector<Record> records;
    try {
      records.resize(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
      return false;
    }
    const int filled = engine_.ReadCandidates(word, kDictionaries[g], records.data(), count);
    // Only the records the engine filled become rows.
    records.resize(static_cast<std::size_t>(std::clamp(filled, 0, count)));
    groups_[g] = std::move(records);
  }
  return true;
}

void Candidates::Clear() {
  for (auto& g : groups_) g.clear();
}

int Candidates::RowCount() const {
  int n = 0;
  for (const auto& g : groups_) n += static_cast<int>(g.size());
  return n;
}

std::array<int32_t, 4> Candidates::Boundaries() const {
  std::array<int32_t, 4> b{};
  int32_t sum = 0;
  for (int g = 0; g < 4; ++g) b[static_cast<std::size_t>(g)] = sum += static_cast<int32_t>(groups_[g].size());
  return b;
}

int Candidates::GroupOf(int row) const {
  if (row < 0) return -1;
  for (int g = 0; g < 4; ++g) {
    if (row < static_cast<int>(groups_[g].size())) return g;
    row -= static_cast<int>(groups_[g].size());
  }
  return -1;
}

int Candidates::IndexInGroup(int row) const {
  const int g = GroupOf(row);
  if (g < 0) return -1;
  for (int i = 0; i < g; ++i) row -= static_cast<int>(groups_[i].size());
  return row;
}

const Record* Candidates::RowRecord(int row) const {
  const int g = GroupOf(row);
  return g < 0 ? nullptr : &groups_[g][static_cast<std::size_t>(IndexInGroup(row))];
}

int Candidates::RowOf(std::string_view korean) const {
  for (int row = 0, n = RowCount(); row < n; ++row)
    if (RecordKorean(*RowRecord(row)) == korean) return row;
  return -1;
}

MoveOutcome Candidates::Move(int row, bool up) {
  MoveOutcome out;
  const int rows = RowCount();
  if (row < 0 || row >= rows || (up && row == 0) || (!up && row == rows - 1)) return out;
  const int neighbour = up ? row - 1 : row + 1;
  const int g = GroupOf(row);
  if (GroupOf(neighbour) != g) {
    out.kind = MoveOutcome::kOtherDictionary;
    return out;
  }
  std::vector<Record>& records = groups_[g];
  const int index = IndexInGroup(row);
  const int to = up ? index - 1 : index + 1;
  // The engine gets a copy: whatever it does with it, the chooser's own
  // records change only by the swap below, after the engine moved them.
  std::vector<Record> copy = records;
  ++orderChanges_;
  const int code = engine_.OrderChange(static_cast<char>('0' + kDictionaries[g]), copy.data(),
                                       static_cast<int>(copy.size()), index, to);
  if (code < 0) {
    out.kind = MoveOutcome::kRefused;
    out.code = code;
    return out;
  }
  std::swap(records[static_cast<std::size_t>(index)], records[static_cast<std::size_t>(to)]);
  out.kind = MoveOutcome::kMoved;
  out.row = neighbour;
  return out;
}

MoveOutcome Candidates::Learn(int row) {
  MoveOutcome out;
  if (!RowRecord(row)) return out;
  out.kind = MoveOutcome::kMoved;
  out.row = row;
  while (out.row > 0 && GroupOf(out.row - 1) == GroupOf(out.row)) {
    out = Move(out.row, true);
    if (out.kind != MoveOutcome::kMoved) break;
  }
  return out;
}

std::u16string OrderChangeRefusal(int code) {
  switch (code) {
    case -11:
      return u"日本語の品詞がカ変動詞・サ変動詞と、それ以外の品詞とで優先順位を変更することはできません。";
    case -12:
      return u"動詞・形容詞・形容動詞の品詞と、それ以外の品詞とで優先順位を変更することはできません。";
    case -13:
      return u"システム辞書の訳語順序ファイルの 読み込みでエラーが発生しました！\n訳語順序を初期化してよろしいですか？";
    default:
      return u"エラーが発生しました！辞書順序を変更できません。";
  }
}

bool WriteCandidate(std::vector<uint8_t>& table, int index, const Record& record,
                    const codeconv::GmCodeConverter& gm) {
  const std::size_t entries = table.size() / lomi::kEntrySize;
  if (index < 1 || static_cast<std::size_t>(index) >= entries) return false;
  uint8_t* entry = table.data() + static_cast<std::size_t>(index) * lomi::kEntrySize;
  std::string word = RecordKorean(record);
  word.resize(std::min(word.size(), lomi::kWordDataBytes - 1));
  std::vector<char> gmWord(word.begin(), word.end());
  gmWord.push_back('\0');
  gm.KsToGm(gmWord.data(), static_cast<unsigned>(word.size()));
  std::memset(entry + lomi::kWordData, 0, lomi::kWordDataBytes);
  std::memcpy(entry + lomi::kWordData, gmWord.data(), word.size());
  std::memcpy(entry + lomi::kWordAttributes, record.carried, 8);
  entry[lomi::kWordAttribute] = record.carried[8];
  std::memcpy(entry + lomi::kPartOfSpeech, record.partOfSpeech, 3);
  return true;
}

}  // namespace workbench::choice
