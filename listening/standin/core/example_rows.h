// The example database as a file of our own: the two tables of the example
// database as UTF-8 text, and the few SELECT forms the listening program
// sends, run over them. The test prefix's stand-in for the database
// provider reads this file where Windows opens the .mdb.
//
// File: lines "table NAME", then "columns" and TAB-separated "name:int" or
// "name:text", then one TAB-separated line per row; "\N" is NULL, and "\\",
// "\t", "\n", "\r" stand for themselves inside values. '#' starts a comment.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace exdb {

struct Cell {
  enum class Kind { Null, Integer, Text };
  Kind kind = Kind::Null;
  long long integer = 0;
  std::u16string text;
  static Cell Null() { return {}; }
  static Cell Int(long long v) { return {Kind::Integer, v, {}}; }
  static Cell Str(std::u16string t) { return {Kind::Text, 0, std::move(t)}; }
  // The value as text (an integer in decimal); empty for NULL.
  std::u16string AsText() const;
  bool operator==(const Cell&) const = default;
};

struct Column {
  std::u16string name;
  bool integer = false;
};

struct Table {
  std::u16string name;
  std::vector<Column> columns;
  std::vector<std::vector<Cell>> rows;
  int ColumnIndex(std::u16string_view column) const;  // -1 when absent
};

struct Database {
  std::vector<Table> tables;
  const Table* Find(std::u16string_view name) const;
};

// Reads the file; nothing (and a reason in error) when it is malformed.
std::optional<Database> ReadRows(std::string_view utf8, std::string& error);
std::string WriteRows(const Database& db);

struct QueryResult {
  std::vector<std::u16string> columns;  // the selected columns' own names
  std::vector<std::vector<Cell>> rows;
};

// Runs "SELECT t.c,... FROM t [LEFT JOIN u ON t.c = u.c] [WHERE t.c = "text"]
// [ORDER BY t.c [ASC|DESC]]". The WHERE compares the value's text with the
// quoted text exactly. False with a reason for anything else (a syntax it
// does not take, an unknown table or column).
bool RunQuery(const Database& db, std::u16string_view sql, QueryResult& result, std::u16string& error);

}  // namespace exdb
