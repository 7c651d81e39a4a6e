// History, word book and search-box history: the lists' rules and their files.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data_files.h"

namespace ombrel {

inline constexpr std::size_t kWordbookLimit = 1000;
inline constexpr std::size_t kHistoryLimit = 100;
inline constexpr std::size_t kSearchBoxHistoryLimit = 10;
inline constexpr std::size_t kListHeadwordBytes = 255;
inline constexpr char kWordbookFileName[] = "wordbook.dat";
inline constexpr char kHistoryFileName[] = "history.dat";

struct ListItem {
  EntryRef ref;          // only the direction and the id index are known from a file
  std::string headword;  // bytes of the direction's code page
};

// Row of the first item with that id index, or -1.
int FindListEntry(const std::vector<ListItem>& items, int32_t idIndex);
// New item at row 0.
void InsertAtTop(std::vector<ListItem>& items, ListItem item);

// Every item of the same entry leaves; at the limit the last one too; the
// entry goes to the top.
void AddToHistory(std::vector<ListItem>& items, ListItem item);

enum class WordbookAdd { kAdded, kAlreadyThere, kFull };
WordbookAdd AddToWordbook(std::vector<ListItem>& items, ListItem item);

// Removes a row; the row to select afterwards (the same row number, the one
// before when the last went), -1 when the list is empty. Rows outside the
// list change nothing and give -1.
int RemoveRow(std::vector<ListItem>& items, int row);

// ListFileRecord: 4-byte id index, the headword bytes, LF; written from the
// last row to the first.
std::string EncodeListFile(const std::vector<ListItem>& items);
// Reads records back (each inserted at the top): an id index outside
// 0 ... entryCount - 1 drops its record; the list stops at its limit, at the
// end of the data, or at a cut-off id index; a headword line is read with at
// most 255 bytes (a longer one is cut and the rest of the line passed over).
std::vector<ListItem> DecodeListFile(std::string_view bytes, int direction, int32_t entryCount, std::size_t limit);

// ---- search-box history ----
struct SearchBoxHistory {
  std::vector<std::string> texts[2];  // per direction, newest first
};
// "##d\t0\n" headers, one text per line.
std::string EncodeSearchBoxHistory(const SearchBoxHistory& history);
// A header is "##", a digit 0-1, TAB, a digit 0-8; lines before the first
// header are ignored; other lines (at most 255 bytes, without their LF or CR
// LF) join that direction's list, at most ten.
SearchBoxHistory DecodeSearchBoxHistory(std::string_view text);
// An empty text is ignored; an equal one moves to the top; an eleventh leaves.
void RememberSearchText(std::vector<std::string>& texts, const std::string& text);

// Reads a whole small file; false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string& out);
// Writes a file whole through a temporary file beside it, so that a failure
// never leaves it half-written; creates it when missing.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace ombrel
