// Dictionary files for the engine tests: a new file in memory or on disk, an
// engine over it, and the words of a reading as lookup offers them.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "block_file.h"
#include "dic_check.h"
#include "dic_engine.h"
#include "fake_context.h"

namespace ime::test {

// A temporary folder, removed with its files afterwards.
class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/dictest.XXXXXX";
    const char* d = mkdtemp(tmpl);
    path_ = d ? d : "/tmp";
  }
  ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// An engine and its feedback over one file of an opener.
struct DicUser {
  CountingFeedback feedback;
  dic::DicEngine engine;
  DicUser(BlockFileOpener& files, int slot = 0) : engine(files, feedback, slot) {}

  int Add(const std::string& reading, const std::string& word, uint8_t kind = dic::kKindUserWord) {
    dic::DicRequest r;
    r.reading = reading;
    r.word = word;
    r.kind = kind;
    int rc = engine.DicAddWord(r);
    engine.DicEndAccess();
    return rc;
  }
  // Deletion and learning find the word among those of the kind mask of the
  // mode, as lookup does.
  int Delete(const std::string& reading, const std::string& word, unsigned mode = 0) {
    engine.SetKindMask(mode);
    dic::DicRequest r;
    r.reading = reading;
    r.word = word;
    int rc = engine.DicDeleteWord(r);
    engine.DicEndAccess();
    return rc;
  }
  int Learn(const std::string& reading, const std::string& word, unsigned mode = 0) {
    engine.SetKindMask(mode);
    int rc = engine.DicLearnWord(reading, word);
    engine.DicEndAccess();
    return rc;
  }
  // Every word that lookup offers, in its order; ends the access.
  std::vector<std::string> Words(const std::string& reading, unsigned mode = 0) {
    std::vector<std::string> out;
    std::string w;
    for (int rc = engine.DicLookup(reading, &w, mode); rc == dic::kFound; rc = engine.DicLookupNext(reading, &w)) {
      out.push_back(w);
      if (out.size() > 100000) break;
    }
    engine.DicEndAccess();
    return out;
  }
};

// A new dictionary in memory with one engine over it.
struct MemDic {
  MemoryBlockFiles files;
  std::unique_ptr<DicUser> user;
  explicit MemDic(uint32_t firstRoot = dic::kFirstRoot) {
    files.Bytes("d") = dic::NewDictionaryImage(firstRoot);
    user = std::make_unique<DicUser>(files);
    EXPECT_EQ(user->engine.DicOpen("d"), 0);
  }
  std::vector<uint8_t>& Bytes() { return files.Bytes("d"); }
  std::string Check(std::vector<dic::DicEntry>* entries = nullptr, dic::DicTreeShapeInfo* shapes = nullptr) {
    return dic::DicCheckImage(Bytes(), entries, shapes);
  }
  dic::DicHeader Header() {
    dic::DicHeader h;
    std::memcpy(h.raw.data(), Bytes().data(), dic::kBlockSize);
    return h;
  }
};

// Words by reading, newest first: what the file should offer.
using DicModel = std::map<std::string, std::vector<std::string>>;

inline void ExpectModel(DicUser& u, const DicModel& model, const std::string& when) {
  for (const auto& [reading, words] : model) {
    ASSERT_EQ(u.Words(reading), words) << when << ", reading of " << reading.size() << " bytes";
  }
}

}  // namespace ime::test
