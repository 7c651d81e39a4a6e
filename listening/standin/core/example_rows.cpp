#include "example_rows.h"

#include <algorithm>
#include <sstream>

#include "code_page.h"

namespace exdb {
namespace {

std::u16string FromUtf8(std::string_view s) { return codeconv::PlatformCodePages().ToUtf16(65001, std::string(s)); }
std::string ToUtf8(std::u16string_view s) { return codeconv::PlatformCodePages().FromUtf16(65001, std::u16string(s)); }

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return fields;
}

bool Unescape(const std::string& field, std::string& out) {
  out.clear();
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      out.push_back(field[i]);
      continue;
    }
    if (++i == field.size()) return false;
    switch (field[i]) {
      case '\\': out.push_back('\\'); break;
      case 't': out.push_back('\t'); break;
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      default: return false;
    }
  }
  return true;
}

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out.push_back(c);
  }
  return out;
}

bool ParseInteger(const std::string& text, long long& value) {
  if (text.empty()) return false;
  size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size() || text.size() > 19) return false;
  value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  if (text[0] == '-') value = -value;
  return true;
}

// ---- the query language ----

struct Token {
  enum class Kind { Word, Comma, Equals, Quoted, End } kind;
  std::u16string text;
};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\x3000'; }

bool Tokenize(std::u16string_view sql, std::vector<Token>& tokens, std::u16string& error) {
  size_t i = 0;
  while (i < sql.size()) {
    const char16_t c = sql[i];
    if (IsBlank(c)) {
      ++i;
    } else if (c == u',') {
      tokens.push_back({Token::Kind::Comma, u","});
      ++i;
    } else if (c == u'=') {
      tokens.push_back({Token::Kind::Equals, u"="});
      ++i;
    } else if (c == u'"' || c == u'\'') {
      const size_t close = sql.find(c, i + 1);
      if (close == std::u16string_view::npos) {
        error = u"unterminated string in the query";
        return false;
      }
      tokens.push_back({Token::Kind::Quoted, std::u16string(sql.substr(i + 1, close - i - 1))});
      i = close + 1;
    } else {
      size_t j = i;
      while (j < sql.size() && !IsBlank(sql[j]) && sql[j] != u',' && sql[j] != u'=' && sql[j] != u'"' &&
             sql[j] != u'\'')
        ++j;
      tokens.push_back({Token::Kind::Word, std::u16string(sql.substr(i, j - i))});
      i = j;
    }
  }
  tokens.push_back({Token::Kind::End, {}});
  return true;
}

bool IsKeyword(const Token& t, std::u16string_view keyword) {
  if (t.kind != Token::Kind::Word || t.text.size() != keyword.size()) return false;
  for (size_t i = 0; i < keyword.size(); ++i) {
    char16_t c = t.text[i];
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (c != keyword[i]) return false;
  }
  return true;
}

struct ColumnRef {
  std::u16string table;  // empty: the first table that has it
  std::u16string column;
};

ColumnRef SplitRef(const std::u16string& word) {
  const size_t dot = word.find(u'.');
  if (dot == std::u16string::npos) return {{}, word};
  return {word.substr(0, dot), word.substr(dot + 1)};
}

// Where a column of the joined row lives: which table (0 left, 1 joined)
// and which column of it.
struct Bound {
  int side = 0;
  int index = 0;
};

}  // namespace

std::u16string Cell::AsText() const {
  if (kind == Kind::Text) return text;
  if (kind == Kind::Integer) return FromUtf8(std::to_string(integer));
  return {};
}

int Table::ColumnIndex(std::u16string_view column) const {
  for (size_t i = 0; i < columns.size(); ++i)
    if (columns[i].name == column) return static_cast<int>(i);
  return -1;
}

const Table* Database::Find(std::u16string_view name) const {
  for (const Table& t : tables)
    if (t.name == name) return &t;
  return nullptr;
}

std::optional<Database> ReadRows(std::string_view utf8, std::string& error) {
  Database db;
  std::istringstream in{std::string(utf8)};
  std::string line;
  int lineNumber = 0;
  Table* table = nullptr;
  bool haveColumns = false;
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(lineNumber) + ": " + why;
    return std::nullopt;
  };
  while (std::getline(in, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("table ", 0) == 0) {
      db.tables.push_back({FromUtf8(line.substr(6)), {}, {}});
      table = &db.tables.back();
      haveColumns = false;
      continue;
    }
    if (!table) return fail("a row before any table");
    if (line.rfind("columns\t", 0) == 0) {
      for (const std::string& f : SplitTabs(line.substr(8))) {
        const size_t colon = f.rfind(':');
        if (colon == std::string::npos) return fail("a column without its type");
        const std::string type = f.substr(colon + 1);
        if (type != "int" && type != "text") return fail("an unknown column type " + type);
        table->columns.push_back({FromUtf8(f.substr(0, colon)), type == "int"});
      }
      haveColumns = true;
      continue;
    }
    if (!haveColumns) return fail("a row before the columns");
    const std::vector<std::string> fields = SplitTabs(line);
    if (fields.size() != table->columns.size()) return fail("a row with the wrong number of values");
    std::vector<Cell> row;
    for (size_t i = 0; i < fields.size(); ++i) {
      if (fields[i] == "\\N") {
        row.push_back(Cell::Null());
        continue;
      }
      std::string value;
      if (!Unescape(fields[i], value)) return fail("a bad escape");
      if (table->columns[i].integer) {
        long long n = 0;
        if (!ParseInteger(value, n)) return fail("a value that is not an integer");
        row.push_back(Cell::Int(n));
      } else {
        row.push_back(Cell::Str(FromUtf8(value)));
      }
    }
    table->rows.push_back(std::move(row));
  }
  return db;
}

std::string WriteRows(const Database& db) {
  std::string out = "# The example database, generated: tables, columns and rows.\n";
  for (const Table& t : db.tables) {
    out += "table " + ToUtf8(t.name) + "\ncolumns";
    for (const Column& c : t.columns) out += "\t" + ToUtf8(c.name) + (c.integer ? ":int" : ":text");
    out += "\n";
    for (const auto& row : t.rows) {
      for (size_t i = 0; i < row.size(); ++i) {
        if (i > 0) out += "\t";
        if (row[i].kind == Cell::Kind::Null) out += "\\N";
        else out += Escape(ToUtf8(row[i].AsText()));
      }
      out += "\n";
    }
  }
  return out;
}

bool RunQuery(const Database& db, std::u16string_view sql, QueryResult& result, std::u16string& error) {
  std::vector<Token> tokens;
  if (!Tokenize(sql, tokens, error)) return false;
  size_t at = 0;
  auto syntax = [&](std::u16string_view what) {
    error = u"syntax error in the query: expected ";
    error += what;
    return false;
  };
  if (!IsKeyword(tokens[at++], u"SELECT")) return syntax(u"SELECT");
  std::vector<ColumnRef> selected;
  while (true) {
    if (tokens[at].kind != Token::Kind::Word) return syntax(u"a column");
    selected.push_back(SplitRef(tokens[at++].text));
    if (tokens[at].kind != Token::Kind::Comma) break;
    ++at;
  }
  if (!IsKeyword(tokens[at++], u"FROM")) return syntax(u"FROM");
  if (tokens[at].kind != Token::Kind::Word) return syntax(u"a table");
  const Table* tables[2] = {db.Find(tokens[at].text), nullptr};
  if (!tables[0]) {
    error = u"no table " + tokens[at].text;
    return false;
  }
  ++at;
  ColumnRef joinLeft, joinRight;
  if (IsKeyword(tokens[at], u"LEFT")) {
    ++at;
    if (!IsKeyword(tokens[at++], u"JOIN")) return syntax(u"JOIN");
    if (tokens[at].kind != Token::Kind::Word) return syntax(u"a table");
    tables[1] = db.Find(tokens[at].text);
    if (!tables[1]) {
      error = u"no table " + tokens[at].text;
      return false;
    }
    ++at;
    if (!IsKeyword(tokens[at++], u"ON")) return syntax(u"ON");
    if (tokens[at].kind != Token::Kind::Word) return syntax(u"a column");
    joinLeft = SplitRef(tokens[at++].text);
    if (tokens[at++].kind != Token::Kind::Equals) return syntax(u"=");
    if (tokens[at].kind != Token::Kind::Word) return syntax(u"a column");
    joinRight = SplitRef(tokens[at++].text);
  }
  bool haveWhere = false;
  ColumnRef whereColumn;
  std::u16string whereText;
  if (IsKeyword(tokens[at], u"WHERE")) {
    ++at;
    if (tokens[at].kind != Token::Kind::Word) return syntax(u"a column");
    whereColumn = SplitRef(tokens[at++].text);
    if (tokens[at++].kind != Token::Kind::Equals) return syntax(u"=");
    if (tokens[at].kind != Token::Kind::Quoted) return syntax(u"a quoted text");
    whereText = tokens[at++].text;
    haveWhere = true;
  }
  bool haveOrder = false, descending = false;
  ColumnRef orderColumn;
  if (IsKeyword(tokens[at], u"ORDER")) {
    ++at;
    if (!IsKeyword(tokens[at++], u"BY")) return syntax(u"BY");
    if (tokens[at].kind != Token::Kind::Word) return syntax(u"a column");
    orderColumn = SplitRef(tokens[at++].text);
    if (IsKeyword(tokens[at], u"ASC")) ++at;
    else if (IsKeyword(tokens[at], u"DESC")) descending = true, ++at;
    haveOrder = true;
  }
  if (tokens[at].kind != Token::Kind::End) return syntax(u"the end of the query");

  auto bind = [&](const ColumnRef& ref, Bound& out) {
    for (int side = 0; side < 2; ++side) {
      const Table* t = tables[side];
      if (!t || (!ref.table.empty() && ref.table != t->name)) continue;
      const int index = t->ColumnIndex(ref.column);
      if (index >= 0) {
        out = {side, index};
        return true;
      }
    }
    error = u"no column " + (ref.table.empty() ? ref.column : ref.table + u"." + ref.column);
    return false;
  };
  std::vector<Bound> columns(selected.size());
  for (size_t i = 0; i < selected.size(); ++i)
    if (!bind(selected[i], columns[i])) return false;
  Bound left, right, where, order;
  if (tables[1]) {
    if (!bind(joinLeft, left) || !bind(joinRight, right)) return false;
    if (left.side == right.side) {
      error = u"the join does not link the two tables";
      return false;
    }
    if (left.side == 1) std::swap(left, right);
  }
  if (haveWhere && !bind(whereColumn, where)) return false;
  if (haveOrder && !bind(orderColumn, order)) return false;

  // The joined rows: each left row with the first matching right row, or
  // with NULLs.
  struct Joined {
    const std::vector<Cell>* row[2];
  };
  std::vector<Cell> nulls(tables[1] ? tables[1]->columns.size() : 0);
  std::vector<Joined> joined;
  for (const auto& row : tables[0]->rows) {
    Joined j{{&row, &nulls}};
    if (tables[1] && row[left.index].kind != Cell::Kind::Null) {
      for (const auto& other : tables[1]->rows) {
        if (other[right.index].kind != Cell::Kind::Null && other[right.index].AsText() == row[left.index].AsText()) {
          j.row[1] = &other;
          break;
        }
      }
    }
    auto cell = [&](const Bound& b) -> const Cell& { return (*j.row[b.side])[b.index]; };
    if (haveWhere && (cell(where).kind == Cell::Kind::Null || cell(where).AsText() != whereText)) continue;
    joined.push_back(j);
  }
  if (haveOrder) {
    auto less = [&](const Joined& a, const Joined& b) {
      const Cell& x = (*a.row[order.side])[order.index];
      const Cell& y = (*b.row[order.side])[order.index];
      if (x.kind == Cell::Kind::Null || y.kind == Cell::Kind::Null)
        return x.kind == Cell::Kind::Null && y.kind != Cell::Kind::Null;
      if (x.kind == Cell::Kind::Integer && y.kind == Cell::Kind::Integer) return x.integer < y.integer;
      return x.AsText() < y.AsText();
    };
    std::stable_sort(joined.begin(), joined.end(), [&](const Joined& a, const Joined& b) {
      return descending ? less(b, a) : less(a, b);
    });
  }
  result = {};
  for (size_t i = 0; i < selected.size(); ++i)
    result.columns.push_back(tables[columns[i].side]->columns[columns[i].index].name);
  for (const Joined& j : joined) {
    std::vector<Cell> row;
    for (const Bound& b : columns) row.push_back((*j.row[b.side])[b.index]);
    result.rows.push_back(std::move(row));
  }
  return true;
}

}  // namespace exdb
