// An in-memory registry for the settings tests: values by root, path and
// name; every write is kept in order and also stored for HKEY_CURRENT_USER.
#pragma once
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "ime_config.h"

namespace ime::test {

struct FakeRegistry : RegistryReader, RegistryWriter {
  std::map<std::tuple<int, std::string, std::string>, std::string> values;
  std::vector<std::tuple<std::string, std::string, std::string>> written;

  void Set(int root, const std::string& path, const std::string& value, const std::string& text) {
    values[{root, path, value}] = text;
  }
  bool Read(int root, const std::string& path, const std::string& value, std::string* out) override {
    auto it = values.find({root, path, value});
    if (it == values.end()) return false;
    *out = it->second;
    return true;
  }
  bool Write(const std::string& path, const std::string& value, const std::string& text) override {
    written.emplace_back(path, value, text);
    values[{kRootCurrentUser, path, value}] = text;
    return true;
  }
};

}  // namespace ime::test
