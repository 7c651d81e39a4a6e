#include "fixture.h"

#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace ombrel::test {

std::string TempRoot(const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path p = fs::temp_directory_path() / ("ombrel-" + name + "-" + std::to_string(::getpid()));
  fs::remove_all(p);
  fs::create_directories(p);
  return p.string() + "/";
}

void WriteRoot(const std::string& root, const std::vector<data::Headword>& japanese,
               const std::vector<data::Headword>& korean, const std::string& examplesDat) {
  namespace fs = std::filesystem;
  fs::create_directories(root + "TASKEL");
  fs::create_directories(root + "OMBREL");
  data::WriteDirection(japanese, 0, root + "TASKEL");
  data::WriteDirection(korean, 1, root + "OMBREL");
  if (!examplesDat.empty()) {
    std::ofstream out(root + "OMBREL/examples.dat", std::ios::binary);
    out.write(examplesDat.data(), static_cast<std::streamsize>(examplesDat.size()));
  }
}

data::Headword Word(const std::u16string& key, std::vector<std::u16string> entries, const std::u16string& display) {
  data::Headword h{key, display.empty() ? key : display, {}, {}};
  int n = 0;
  for (auto& e : entries) h.entries.push_back({std::move(e), std::u16string(1, static_cast<char16_t>(u'a' + n++))});
  return h;
}

DictionaryFileSet& BuiltData() {
  static DictionaryFileSet* files = [] {
    auto* f = new DictionaryFileSet;
    if (!f->Open(OMBREL_DATA_ROOT)) throw std::runtime_error("the built data root does not open: " OMBREL_DATA_ROOT);
    return f;
  }();
  return *files;
}

}  // namespace ombrel::test
