// Shared by the engine's tests: the generated dictionary, texts in the
// engine's codes, and user dictionary files kept in memory.
#pragma once
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "code_page.h"
#include "lomi_dictionary.h"
#include "lomi_userdic.h"

namespace lomi_test {

inline std::u16string Utf8To16(const std::string& s) {
  return codeconv::PlatformCodePages().ToUtf16(65001, s);
}
inline std::string Sjis(const std::string& utf8) { return codeconv::PlatformCodePages().FromUtf16(932, Utf8To16(utf8)); }
inline std::string Ks(const std::string& utf8) { return codeconv::PlatformCodePages().FromUtf16(949, Utf8To16(utf8)); }

inline const lomi::SystemDictionary& Dictionary() {
  static std::vector<uint8_t> bytes = [] {
    std::ifstream in(LOMI_DICTIONARY, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }();
  static lomi::SystemDictionary dictionary = [] {
    lomi::SystemDictionary d;
    d.Load(bytes);
    return d;
  }();
  return dictionary;
}

class MemoryFiles : public lomi::UserDicFiles {
 public:
  bool Exists(const std::string& path) const override { return files.count(path) != 0; }
  bool Read(const std::string& path, std::vector<uint8_t>& bytes) const override {
    auto it = files.find(path);
    if (it == files.end()) return false;
    bytes = it->second;
    return true;
  }
  bool Replace(const std::string& path, const std::vector<uint8_t>& bytes) const override {
    ++replaces;
    if (failWrites) return false;
    files[path] = bytes;
    return true;
  }
  mutable std::map<std::string, std::vector<uint8_t>> files;
  mutable int replaces = 0;
  bool failWrites = false;
};

}  // namespace lomi_test
