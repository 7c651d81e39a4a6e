// Fixtures of the kana-reading tests: the generated tables (each in a buffer
// of exactly its size, so that a read past a table trips the sanitizer) and
// conversions of UTF-8 test text to KS, GM and Shift-JIS bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "kana_tables.h"

namespace kana::test {

const std::vector<uint8_t>& GeneratedFile(const std::string& name);
// The eight generated tables.
const CKanaTables& GeneratedTables();
// A copy of the generated tables in which one table is replaced.
struct TableSet {
  TableSet() = default;
  TableSet(TableSet&&) = default;
  TableSet(const TableSet&) = delete;
  std::vector<std::vector<uint8_t>> bytes;
  CKanaTables tables;
};
TableSet GeneratedTablesWith(KanaTableSlot slot, std::vector<uint8_t> replacement);

std::string Ks(const std::string& utf8);    // code page 949
std::string Sjis(const std::string& utf8);  // code page 932
// GM V3, through the input method's conversions.
std::string Gm(const std::string& utf8);
std::string GmFromKs(std::string ks);
std::string Utf8(const std::string& sjis);  // code page 932 back to UTF-8, for messages

// The reading of a UTF-8 text given in KS code.
std::string Reading(const std::string& utf8, int kanjiForm = 0, bool keepFullWidth = true);

}  // namespace kana::test
