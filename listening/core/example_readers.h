// The five readers of the example database over one reader's record source
// (its own connection, command and record set): the item lookups, the
// contents scan and the word search. The source stands for the ADO objects
// of the Windows shell, so that the readers' flow, their failures included,
// is tested on a source of our own.
//
// Every failure is told to the user once and leaves what was shown: a
// source whose objects cannot be created is a failure (not an empty success),
// and a search whose reading fails outside its row loops keeps the tree and
// the panes.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "contents.h"
#include "example_db.h"

namespace ferlin {

// What went wrong in a step of a record source: the text the message box
// shows (AdoErrorText of the result code).
struct ReadFailure {
  uint32_t code = 0;
  std::string text;
};

class RecordSource {
 public:
  virtual ~RecordSource() = default;
  // Initialises COM, creates the three objects (releasing the old ones),
  // opens the connection, sets the command text and opens the record set
  // (static cursor, read-only).
  virtual bool Open(const std::u16string& connection, const std::u16string& commandText, ReadFailure& failure) = 0;
  virtual bool RecordCount(long& count, ReadFailure& failure) = 0;
  virtual bool MoveFirst(ReadFailure& failure) = 0;
  virtual bool MoveNext(ReadFailure& failure) = 0;
  // The named column of the current record; a value that is not a string
  // arrives changed to one.
  virtual bool Read(std::u16string_view column, ColumnValue& value, ReadFailure& failure) = 0;
  // Closes what is open, releases the three objects and uninitialises COM.
  virtual void Close() = 0;
};

// The messages of the readers.
class ReaderMessages {
 public:
  virtual ~ReaderMessages() = default;
  // A failed step: its text in a box captioned with the application's name.
  virtual void ShowFailure(const std::string& text) = 0;
  // "指定された言葉は辞典上に存在しませんでした。"
  virtual void ShowNotFound() = 0;
};

enum class ReadOutcome {
  kDone,      // read (a lookup found its record, a scan built the tree)
  kNothing,   // no record: a lookup found none, a scan read no rows, a search matched nothing
  kFailed,    // a failure outside the row loops was shown; what was shown stays
};

struct LookupResult {
  ReadOutcome outcome = ReadOutcome::kNothing;
  ColumnValue value;  // the column of the first record when done
};
// One column of one item: the reader's query with the item number.
LookupResult LookupItem(RecordSource& source, ReaderMessages& messages, const std::u16string& connection,
                        ExampleReader reader, std::u16string_view itemNumber);

// The full contents in ID order. Nothing happens to the tree until the
// record set is open, counted and at its first record; a record count
// below 1 leaves the tree as it is. A failure while reading a row is shown
// and the scan goes on with the next row.
ReadOutcome FillContents(RecordSource& source, ReaderMessages& messages, const std::u16string& connection,
                         const codeconv::CodePageConverter& pages, unsigned codePage, ContentsTree& tree);

struct SearchResult {
  ReadOutcome outcome = ReadOutcome::kNothing;
  std::string query;  // the query as the result's root shows it
};
// The items whose Japanese sentence holds the words (andOrSel: kAllWords or
// kAnyWord), in ID order under a root that shows the query. No match: the
// not-found message, the tree as it was.
SearchResult SearchWords(RecordSource& source, ReaderMessages& messages, const std::u16string& connection,
                         const codeconv::CodePageConverter& pages, unsigned codePage, ContentsTree& tree,
                         std::string_view query, int andOrSel);

}  // namespace ferlin
