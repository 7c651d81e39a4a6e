// Reading tables of the ANSI interface (resources KS2YOMI, KS3YOMI, RMYOMI):
// 2444 entries of 5 bytes, the key string of one KS X 1001 character padded
// with blanks. Entry i is the character of ordinal 282 + i for i < 94 (row 4,
// the Hangul jamo) and 1316 + i after that (the 2350 syllables of rows 16-40).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "feedback.h"
#include "jamo_automaton.h"
#include "ks_gm.h"

namespace ime {

constexpr int kReadingEntries = 2444;
constexpr int kReadingEntrySize = 5;
constexpr int kReadingJamoEntries = 94;

// Resource name of the reading table of an input mode (0 roman, 1 2-set, 2 3-set).
const char* ReadingTableName(int inputMode);

class ReadingTable {
 public:
  // Takes the resource bytes (2444 x 5, optionally followed by 0x1A) of the
  // given input mode and builds the key-group index. False when malformed.
  // indexed: the entries of a group that can fit are also listed by the key
  // after the group's key, so that a search tries only those (what the
  // input method uses); otherwise every entry of the group is tried.
  bool Load(const uint8_t* data, size_t size, int inputMode, bool indexed = true);
  bool Loaded() const { return loaded_; }
  int InputMode() const { return inputMode_; }

  // Key string of a GM95 character; empty when it has none.
  std::string GetKeyStringOfChar(codeconv::DbChar gm95) const;
  // The same written to out (kReadingEntrySize + 1 bytes, zero-terminated); its length.
  size_t PutKeyStringOfChar(char* out, codeconv::DbChar gm95) const;

  // The keys that may follow prefix: the next key of every entry whose key
  // string extends it (for an empty prefix the first keys of all entries),
  // each once, in table order.
  std::string ContinuingKeys(const std::string& prefix) const;

  // Converts a key string into GM95 characters by the group search; keys that
  // no entry or default takes are skipped with a beep. Under the 3-set
  // arrangement marks (when not null) receives one mark per character.
  void KeysToGm95(std::string_view keys, std::vector<codeconv::DbChar>& out,
                  KeyMarks* marks, UserFeedback* feedback) const;

 private:
  struct Group {
    int last = -1;   // last entry of the group
    int count = 0;   // entries searched backwards from last
    int fallback = -1;  // default entry when none fits
  };
  const char* EntryLetters(int entry) const;
  size_t EntryLength(int entry) const;
  std::string EntryKeys(int entry) const;

  // The entries of group k0 whose second letter is k1 or that have one
  // letter, from the last to the first: byKeys_[start_[k0 * 128 + k1] ..
  // start_[k0 * 128 + k1 + 1]). k1 0 stands for the end of the keys. Empty
  // when the table is not indexed.
  void BuildKeyPairIndex();
  std::vector<uint16_t> start_;
  std::vector<int16_t> byKeys_;

  std::vector<uint8_t> data_;
  std::vector<uint8_t> lengths_;  // of every entry's letters
  Group groups_[128];
  int inputMode_ = 1;
  bool loaded_ = false;
};

// Builds the resource bytes of a reading table from the jamo automaton and
// the KS X 1001 order (used by the generator and by tests).
std::vector<uint8_t> BuildReadingTable(int inputMode);

}  // namespace ime
