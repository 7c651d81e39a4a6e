// The example database built from the project's example text: the heading
// table and the item table in the order the contents tree reads them, each
// group's heading rows carrying the number of levels to climb, each item its
// number, sentences and kana reading.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "dictionary_data.h"
#include "example_rows.h"

namespace ferlin {

// The reading of a Korean sentence.
using KanaReader = std::function<std::u16string(const std::u16string& korean)>;

// Headings are split at " > "; a heading path shared with the previous group
// is not repeated. Item numbers run from 1, "ID" from 1 over all rows.
exdb::Database BuildExampleDatabase(const std::vector<ombrel::data::Example>& examples, const KanaReader& reading);

}  // namespace ferlin
