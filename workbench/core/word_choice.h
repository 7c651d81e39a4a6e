// The translation-word chooser's rules free of the window system: the word
// pair the frame hands over, the candidates of the four dictionaries kept
// in step with the list's rows, order changes within one dictionary (also
// the learning after a replacement), the fixed words of four verbs, and the
// replacement written into the alignment entry.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gm_converter.h"
#include "lomi_api.h"
#include "user_dic_engine.h"
#include "workbench_core.h"

namespace workbench::choice {

// ---- the word pair ----
inline constexpr std::size_t kMaxPairWordBytes = 80;

// What the frame gives the chooser: the pair's words and, for a valid
// pair, the alignment entry that carries the Korean word's data.
struct WordPairInfo {
  AlignmentTable* table = nullptr;
  int entryIndex = 0;                         // the entry that carries the data
  uint8_t attributes[9] = {};                 // entry bytes 166-174
  uint8_t partOfSpeech[9] = {};               // entry bytes 244-252
  char wordData[lomi::kWordDataBytes] = {};   // entry bytes 24-123 (GM code)
};

struct WordPair {
  std::string japanese;  // Shift-JIS
  std::string korean;    // KS code
  WordPairInfo info;
  bool noPair = true;    // set: look-up only
};

// The pair of a word choice. japaneseActive: the Japanese pane is active
// and [start, end) is its selection in bytes; otherwise [start, end) is the
// Korean pane's selection, which stands for its highlight. A valid pair
// needs the range to be exactly one aligned word's on that side, a
// Japanese word of 1 to 80 bytes and a Korean word of at most 80; its
// Japanese word has the blanks between characters removed and its Korean
// word is the entry's word data in KS code. Otherwise the flag is set and
// the Japanese word is the Japanese selection (if that pane is active).
WordPair MakeWordPair(AlignmentTable* table, std::string_view japaneseText, std::string_view koreanLine,
                      bool japaneseActive, int start, int end, const codeconv::GmCodeConverter& gm);

// ---- candidates ----
using Record = lomi::DicCandidateRecord;

// The dictionary numbers in the order of the rows: user dictionaries 1-3,
// then the system dictionary.
inline constexpr int kDictionaries[4] = {0, 1, 2, 4};

std::string RecordKorean(const Record& r);  // KS code
int RecordDictionary(const Record& r);      // 0-2 user, 4 system
uint8_t RecordType(const Record& r);
uint8_t RecordSubtype(const Record& r);
int8_t RecordThird(const Record& r);

// The search word as the chooser looks it up: blanks trimmed at both
// ends, widened to double-byte characters, cut to 40 bytes (at a whole
// character). cut tells that it was longer.
inline constexpr std::size_t kMaxSearchBytes = 40;
std::string SearchWord(std::string_view typed, const codeconv::GmCodeConverter& gm, bool* cut);

// The fixed Korean word (KS code) of "くる", "来る", "する" and "ずる", which
// are not looked up; nothing for any other word.
std::optional<std::string> FixedVerbKorean(std::string_view sjisWord);

// The result of an order change.
struct MoveOutcome {
  enum Kind { kBeep, kOtherDictionary, kMoved, kRefused } kind = kBeep;
  int row = -1;   // kMoved: the row the candidate is in now
  int code = 0;   // kRefused: the engine's result
};

class Candidates {
 public:
  explicit Candidates(UserDicEngine& engine) : engine_(engine) {}

  // Looks word up in the four dictionaries. False when the records cannot
  // be held (the look-up stops; what was read so far stays).
  bool LookUp(const std::string& word);
  void Clear();

  int RowCount() const;
  // The record shown in row (null outside the rows).
  const Record* RowRecord(int row) const;
  // The four group boundaries of the list.
  std::array<int32_t, 4> Boundaries() const;
  // The group (0-3) of a row and its index within that dictionary.
  int GroupOf(int row) const;
  int IndexInGroup(int row) const;
  // The first row whose translation is korean (KS code), or -1.
  int RowOf(std::string_view korean) const;

  // Moves the candidate of row one place up or down within its dictionary
  // (row -1: nothing selected). A move the engine makes moves the record
  // with its row, so the rows and the records always agree.
  MoveOutcome Move(int row, bool up);
  // Moves the candidate of row up while the row above is of the same
  // dictionary: the last outcome (kMoved with its row when it reached the
  // top of its dictionary or did not need to move; kRefused at a refusal).
  MoveOutcome Learn(int row);

  // The order changes asked of the engine (for tests and diagnostics).
  int OrderChanges() const { return orderChanges_; }

 private:
  UserDicEngine& engine_;
  std::vector<Record> groups_[4];
  int orderChanges_ = 0;
};

// The message of a refused order change.
std::u16string OrderChangeRefusal(int code);

// Writes a candidate into alignment entry index of table: its translation
// in GM code as the entry's word data, its bytes 126-133 at 166-173, 134
// at 174 and 136-138 at 244-246. False (nothing written) when the index is
// no entry of the table.
bool WriteCandidate(std::vector<uint8_t>& table, int index, const Record& record,
                    const codeconv::GmCodeConverter& gm);

}  // namespace workbench::choice
