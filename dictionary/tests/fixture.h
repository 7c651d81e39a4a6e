// Small data roots written by the data builder's own writer, and the built
// data root of the suite.
#pragma once
#include <string>
#include <vector>

#include "data_files.h"
#include "dictionary_data.h"

namespace ombrel::test {

// A fresh folder below the system's temporary folder, ending in '/'.
std::string TempRoot(const std::string& name);

// Writes both directions into root (TASKEL for Japanese headwords, OMBREL for
// Korean ones) and an examples file when given.
void WriteRoot(const std::string& root, const std::vector<data::Headword>& japanese,
               const std::vector<data::Headword>& korean, const std::string& examplesDat = {});

// A headword with plain one-line entries.
data::Headword Word(const std::u16string& key, std::vector<std::u16string> entries, const std::u16string& display = {});

// The suite's built data root, opened once.
DictionaryFileSet& BuiltData();

}  // namespace ombrel::test
