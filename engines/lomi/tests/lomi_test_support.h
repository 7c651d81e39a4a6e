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

// Files in memory, writing in the steps of a replacement; failAt makes the
// step of that number (counted from 1 over all writes) fail, a failing
// write having written half its bytes.
class MemoryFiles : public lomi::UserDicFiles {
 public:
  bool Exists(const std::string& path) const override { return files.count(path) != 0; }
  bool Read(const std::string& path, std::vector<uint8_t>& bytes) const override {
    auto it = files.find(path);
    if (it == files.end()) return false;
    bytes = it->second;
    return true;
  }
  bool OpenTemporary(const std::string& temporary) const override {
    ++replaces;
    if (failWrites || Fails()) return false;
    open = temporary;
    files[open].clear();
    return true;
  }
  bool WriteTemporary(const uint8_t* data, std::size_t size) const override {
    if (open.empty()) return false;
    const bool fail = Fails();
    files[open].insert(files[open].end(), data, data + (fail ? size / 2 : size));
    return !fail;
  }
  bool FlushTemporary() const override { return !open.empty() && !Fails(); }
  bool CloseTemporary() const override {
    const bool was = !open.empty();
    open.clear();
    return !Fails() && was;
  }
  bool MoveOver(const std::string& temporary, const std::string& path) const override {
    auto it = files.find(temporary);
    if (it == files.end() || Fails()) return false;
    files[path] = it->second;
    files.erase(temporary);
    return true;
  }
  void Remove(const std::string& path) const override { files.erase(path); }

  mutable std::map<std::string, std::vector<uint8_t>> files;
  mutable int replaces = 0;
  mutable int steps = 0;  // steps done so far
  int failAt = 0;         // 0: none fails
  bool failWrites = false;

 private:
  bool Fails() const { return ++steps == failAt; }
  mutable std::string open;
};

}  // namespace lomi_test
