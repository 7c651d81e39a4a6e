#include "example_readers.h"

namespace ferlin {
namespace {

// Closes the source when the reader is done with it, however it ends.
class OpenRead {
 public:
  explicit OpenRead(RecordSource& source) : source_(source) {}
  ~OpenRead() { source_.Close(); }
  OpenRead(const OpenRead&) = delete;
  OpenRead& operator=(const OpenRead&) = delete;

 private:
  RecordSource& source_;
};

// The four columns of a scan's current record; false (failure filled) when
// one cannot be read.
bool ReadScanRow(RecordSource& source, const codeconv::CodePageConverter& pages, unsigned codePage,
                 ExampleItemRow& row, ReadFailure& failure) {
  ColumnValue number, heading, item, japanese;
  if (!source.Read(kColumnHeadingNumber, number, failure) || !source.Read(kColumnHeadingText, heading, failure) ||
      !source.Read(kColumnItemNumber, item, failure) || !source.Read(kColumnJapanese, japanese, failure))
    return false;
  row = MapScanRow(pages, codePage, number, heading, item, japanese);
  return true;
}

// Opens and counts; false after showing the failure.
bool OpenAndCount(RecordSource& source, ReaderMessages& messages, const std::u16string& connection,
                  const std::u16string& command, long& count) {
  ReadFailure failure;
  if (!source.Open(connection, command, failure) || !source.RecordCount(count, failure)) {
    messages.ShowFailure(failure.text);
    return false;
  }
  return true;
}

// Moves to the first record; false after showing the failure.
bool First(RecordSource& source, ReaderMessages& messages) {
  ReadFailure failure;
  if (source.MoveFirst(failure)) return true;
  messages.ShowFailure(failure.text);
  return false;
}

// Walks count rows from the current one: each row read and handed to visit,
// a row that cannot be read shown and skipped.
template <class Visit>
void WalkRows(RecordSource& source, ReaderMessages& messages, const codeconv::CodePageConverter& pages,
              unsigned codePage, long count, Visit visit) {
  ReadFailure failure;
  for (long i = 0; i < count; ++i) {
    ExampleItemRow row;
    if (ReadScanRow(source, pages, codePage, row, failure)) visit(row);
    else messages.ShowFailure(failure.text);
    if (i + 1 < count && !source.MoveNext(failure)) messages.ShowFailure(failure.text);
  }
}

}  // namespace

LookupResult LookupItem(RecordSource& source, ReaderMessages& messages, const std::u16string& connection,
                        ExampleReader reader, std::u16string_view itemNumber) {
  LookupResult result;
  OpenRead open(source);
  long count = 0;
  if (!OpenAndCount(source, messages, connection, ItemLookupCommandText(reader, itemNumber), count)) {
    result.outcome = ReadOutcome::kFailed;
    return result;
  }
  if (count <= 0) return result;
  ReadFailure failure;
  if (!source.Read(LookupColumn(reader), result.value, failure)) {
    messages.ShowFailure(failure.text);
    result.outcome = ReadOutcome::kFailed;
    return result;
  }
  result.outcome = ReadOutcome::kDone;
  return result;
}

ReadOutcome FillContents(RecordSource& source, ReaderMessages& messages, const std::u16string& connection,
                         const codeconv::CodePageConverter& pages, unsigned codePage, ContentsTree& tree) {
  OpenRead open(source);
  long count = 0;
  if (!OpenAndCount(source, messages, connection, std::u16string(ExampleQuery(ExampleReader::Contents)), count))
    return ReadOutcome::kFailed;
  if (count < 1) return ReadOutcome::kNothing;
  // The builder clears the tree: only once the first record is there.
  if (!First(source, messages)) return ReadOutcome::kFailed;
  ContentsBuilder builder(tree, kContentsRootLabel);
  WalkRows(source, messages, pages, codePage, count, [&](const ExampleItemRow& row) { builder.AddRow(row); });
  return ReadOutcome::kDone;
}

SearchResult SearchWords(RecordSource& source, ReaderMessages& messages, const std::u16string& connection,
                         const codeconv::CodePageConverter& pages, unsigned codePage, ContentsTree& tree,
                         std::string_view query, int andOrSel) {
  SearchResult result;
  const SearchTerms words = SplitSearchWords(query);
  result.query = words.query;
  OpenRead open(source);
  long count = 0;
  if (!OpenAndCount(source, messages, connection, std::u16string(ExampleQuery(ExampleReader::Search)), count)) {
    result.outcome = ReadOutcome::kFailed;
    return result;
  }
  auto matches = [&](const ExampleItemRow& row) {
    return !row.itemNumber.empty() && MatchesWords(row.japanese, words, andOrSel);
  };
  long matched = 0;
  if (count > 0) {
    if (!First(source, messages)) {
      result.outcome = ReadOutcome::kFailed;
      return result;
    }
    WalkRows(source, messages, pages, codePage, count, [&](const ExampleItemRow& row) {
      if (matches(row)) ++matched;
    });
  }
  if (matched == 0) {
    messages.ShowNotFound();
    return result;
  }
  // The second pass starts at the first record before the tree is touched.
  if (!First(source, messages)) {
    result.outcome = ReadOutcome::kFailed;
    return result;
  }
  ContentsBuilder builder(tree, words.query);
  WalkRows(source, messages, pages, codePage, count, [&](const ExampleItemRow& row) {
    if (matches(row)) tree.InsertLast(builder.Root(), MakeItemLabel(row.japanese), ItemDataOf(row.itemNumber), false);
  });
  result.outcome = ReadOutcome::kDone;
  return result;
}

}  // namespace ferlin
