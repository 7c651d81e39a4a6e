// Headword search over the key files: binary search with the nearest key,
// prefix and suffix search, and the wildcard search ('*' once, '?' any number
// of times) over the forward and the reversed keys.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "data_files.h"

namespace ombrel {

inline constexpr int kMaxQueryUnits = 199;
inline constexpr int kWildcardHitLimit = 1024;
// Rows of the headword list that a search fills at the most.
inline constexpr int kMaxListRows = 100;

// Cuts a search-box text (bytes of the direction's code page) at its first
// control byte and after the character that reaches byte 50, never inside a
// double-byte character (so at most 51 bytes).
std::string LimitQueryLength(std::string text, int direction);

class Searcher {
 public:
  explicit Searcher(DictionaryFileSet& files) : files_(files) {}

  // Binary search over the cursor's key file (keylist_rev.dat with flag bit
  // 2); the first of equal keys, or for forward keys the neighbour sharing
  // the longest prefix, else the last key below the query (0 when none).
  // -1 when the file holds no key.
  int32_t FindKey(const EntryRef& cursor, std::u16string_view query);
  // FindKey, then for forward keys the entry loaded into the cursor.
  bool FindHeadword(EntryRef& cursor, std::u16string_view query);

  // A first hit in the cursor (1) or none; then one hit per call.
  bool WildcardSearch(EntryRef& cursor, std::u16string pattern);
  bool NextWildcardHit(EntryRef& cursor);

  struct Result {
    bool searched = false;  // false: nothing ran (empty text, wildcard while typing, no keys)
    bool wildcard = false;
    std::vector<EntryRef> rows;
  };
  // A text search of the given direction and method: '*' added for the
  // prefix and suffix methods; a text with '*' or '?' is a wildcard search
  // (not run while typing); any other a direct search from the nearest key.
  // Fills at most rowsWanted (held to 1 ... kMaxListRows) distinct entries.
  Result RunTextSearch(int direction, int method, std::u16string text, bool typing, int rowsWanted);
  // The list from one idlist record on (a jump link, a history item).
  Result RunIdSearch(int direction, int32_t idIndex, int rowsWanted);

 private:
  struct WildcardState {
    std::u16string head, tail;
    size_t needed = 0;
    bool star = false;
    int direction = 0;
    int32_t first = 0, last = -1, next = 0;
    std::vector<int32_t> hits;
    size_t hitPos = 0;
    bool fromHits = false;
    std::vector<std::u16string> ahead;  // forward keys read ahead from aheadFirst on
    int32_t aheadFirst = 0;
  };
  bool KeyMatches(std::u16string key) const;
  bool ReversedKeyMatches(const std::u16string& reversedKey) const;
  bool ScanReversed(int32_t first, int32_t last);
  bool AppendRows(Result& result, EntryRef first, bool wildcard, int rowsWanted);

  DictionaryFileSet& files_;
  WildcardState wild_;
};

}  // namespace ombrel
