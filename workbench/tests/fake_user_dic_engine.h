// A user-dictionary engine for the dialogs' tests: dictionaries as lists of
// records in memory, results that a test can script, and a log of calls.
#pragma once
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "user_dic_engine.h"

namespace workbench_test {

// Paths compared as a Windows file system does: without regard to case.
struct CaseBlindLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
  }
};

class FakeUserDicEngine : public workbench::UserDicEngine {
 public:
  bool IsUserDicFile(const std::string& path) override {
    checked.push_back(path);
    return dictionaries.count(path) != 0;
  }
  int CreateUserDic(const std::string& path) override {
    created.push_back(path);
    if (createResult == 0) dictionaries.insert(path);
    return createResult;
  }
  int ReadCandidates(const std::string&, int, workbench::DicCandidateRecord*, int) override { return 0; }
  int OrderChange(char, workbench::DicCandidateRecord*, int, int, int) override { return 0; }
  int GetUserDicInfo(char& digit, std::string& name, int& count) override {
    if (!name.empty()) {
      for (auto& [d, info] : infos)
        if (info.first == name) {
          digit = d;
          count = static_cast<int>(entries.size());
          return 0;
        }
    }
    auto it = infos.find(digit);
    name = it == infos.end() ? "" : it->second.first;
    count = it == infos.end() ? 0 : static_cast<int>(entries.size());
    return 0;
  }
  // Entries of the listed dictionary, by number from 1.
  int ListData(const std::string&, int digit, int step, workbench::DicCandidateRecord* records, int count) override {
    listCalls.push_back({digit, step, records[0].number, count});
    if (listResult < 0) return listResult;
    const long long size = static_cast<long long>(entries.size());
    const int start = records[0].number;
    const bool backward = step < 0;
    long long k = start < 0 ? (backward ? size : 1) : step == 2 ? start + 1 : step == -2 ? start - 1 : start;
    int n = 0;
    for (; n < count && k >= 1 && k <= size; ++n, k += backward ? -1 : 1) {
      records[n] = entries[static_cast<std::size_t>(k - 1)];
      records[n].number = static_cast<int32_t>(k);
    }
    return n;
  }
  int UpdateUserDic(const std::string&, char, workbench::DicCandidateRecord& record, int operation) override {
    updates.push_back({operation, record.number});
    if (updateResult != 0) return updateResult;
    if (operation == 2 && record.number >= 1 && static_cast<std::size_t>(record.number) <= entries.size())
      entries.erase(entries.begin() + (record.number - 1));
    return 0;
  }
  int ConvertCharacters(const std::string&, std::string&, int) override { return -1; }

  // A dictionary entry with its source word.
  void AddEntry(const std::string& source) {
    workbench::DicCandidateRecord r{};
    std::strncpy(r.listedSource, source.c_str(), sizeof r.listedSource - 1);
    std::strncpy(r.source, source.c_str(), sizeof r.source - 1);
    r.partOfSpeech[0] = 6;
    r.partOfSpeech[1] = 1;
    entries.push_back(r);
  }

  struct ListCall {
    int digit, step, start, count;
  };
  struct Update {
    int operation, number;
  };
  std::set<std::string, CaseBlindLess> dictionaries;  // paths without extension the engine accepts
  std::vector<std::string> checked, created;
  int createResult = 0;
  std::map<char, std::pair<std::string, int>> infos;  // digit: name
  std::vector<workbench::DicCandidateRecord> entries;
  std::vector<ListCall> listCalls;
  std::vector<Update> updates;
  int listResult = 0, updateResult = 0;
};

}  // namespace workbench_test
