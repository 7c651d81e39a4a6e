// The hanja dictionary engine: one dictionary file per process, opened for
// one operation at a time (between DicBeginAccess and DicEndAccess) so that
// the input method in other processes can use the same file in between.
// Lookup offers the words of a reading one after another; learning moves a
// word to the front of its reading; words can be added and deleted.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "block_file.h"
#include "dic_format.h"
#include "feedback.h"

namespace ime::dic {

constexpr uint16_t kSlotClosed = 0;
constexpr uint16_t kSlotOpen = 1;
constexpr uint16_t kSlotUnusable = 0xFFFF;

// Levels 0-7 hold a search path; level 8 is scratch space for a split.
constexpr int kPathLevels = 8;
constexpr int kScratchLevel = 8;

// Block kinds of DicWriteNode and DicInitBlock: 0 the header, 1-4 the trees
// (IND8 .. IND32), 5 the data block.
constexpr int kBlockHeader = 0;
constexpr int kBlockData = 5;

// Result codes of the operations (DicRequest::result): found, no such or no
// further entry, or failed (the DicError code is then in DicRequest::error).
constexpr uint16_t kFound = 0;
constexpr uint16_t kNotFound = 2;
constexpr uint16_t kFailed = 0xFFFF;

// A file that another process holds for its operation is tried again for
// this long before the operation fails, first at short intervals.
constexpr unsigned kBusyWaitMs = 1000;
constexpr unsigned kBusyPauseMs = 1;
constexpr unsigned kBusyPauseMostMs = 16;

// Record kinds: bit 0 and bit 1 say in which conversion mode a word is offered.
constexpr uint8_t kKindBothModes = 0x03;
constexpr uint8_t kKindUserWord = 0x11;
constexpr uint8_t kKindUserWordAlt = 0x12;
// Conversion-mode bit that selects the alternative kind mask.
constexpr unsigned kAltKindModeBit = 0x1000;

struct DicCursor {
  uint16_t level = 0;
  uint32_t node = 0;
  uint16_t index = 0;
};

// What an operation is given and what it finds.
struct DicRequest {
  std::string reading;  // at most 32 bytes
  std::string word;     // at most 20 bytes: learn, add and delete
  uint16_t value = 0;   // of a new record
  uint8_t kind = kKindUserWord;
  uint8_t state = ' ';
  DicCursor cursor;  // where a search or the last next stopped
  std::string foundWord;
  DicCursor found;
  uint16_t foundValue = 0;
  uint8_t foundKind = 0;
  uint8_t foundState = 0;
  uint16_t result = 0;  // kFound, kNotFound or kFailed
  uint16_t error = 0;   // the DicError code of a failure, 0 none
};

// One dictionary file with its path cache.
struct DicSlot {
  struct TreePath {
    std::array<DicIndexNode, kPathLevels + 1> node;
    std::array<uint32_t, kPathLevels + 1> offset{};  // block held by each level, 0 none
    std::array<uint16_t, kPathLevels + 1> index{};   // entry chosen on each level
    int level = 0;                                   // leaf level of the last search
  };

  uint16_t state = kSlotUnusable;
  // The last open failed because another process held the file: the next
  // access opens it again.
  bool reopen = false;
  std::string path;
  std::unique_ptr<BlockFile> file;
  uint64_t fileSize = 0;  // of the open file, grown by our writes
  DicHeader header;
  std::array<TreePath, kTreeCount> trees;
  DicDataBlock data;
  uint32_t dataOffset = 0;  // block held in data, 0 none
  DicRecord last;           // the last record read
};

class DicEngine {
 public:
  // slot: the protected-mode flag of the process (1: the file is opened for
  // reading only).
  DicEngine(BlockFileOpener& files, UserFeedback& feedback, int slot = 0);

  // 0 or -1. A file that another process still holds after the busy wait
  // leaves the slot unusable without a message; the next access opens it
  // again (OpenPending).
  int DicOpen(const std::string& path);
  void DicInvalidate();
  // Opens the file for one operation, waiting a little while another process
  // holds it. The header is read again and every cached block dropped, since
  // another process may have changed the file since the last operation.
  int DicBeginAccess();
  int DicEndAccess();

  // 0 found, 2 nothing (more) offered, -1 error. Access stays open.
  int DicLookup(const std::string& reading, std::string* word, unsigned conversionMode);
  int DicLookupNext(const std::string& reading, std::string* word, int step = 1);
  // 0 done, 2 the word is not stored under the reading, -1 error.
  int DicLearnWord(const std::string& reading, const std::string& word);
  // Adds request.word under request.reading before the reading's other
  // words; 0 or -1. The header is written back before it returns.
  int DicAddWord(DicRequest& request);
  // Marks the record of (reading, word) deleted; 0, 2 when not stored, -1.
  // Both leave their outcome in request.result and request.error.
  int DicDeleteWord(DicRequest& request);
  // 0 found (found word and cursor filled), 2 none, -1 error.
  int DicSearch(DicRequest& request);
  int DicSearchNext(DicRequest& request, int step = 1);

  int DicReadHeader();
  int DicWriteHeader();
  int DicReadNode(int tree, int level, uint32_t offset);
  int DicWriteNode(int kind, int level, uint32_t offset);
  void DicInitBlock(int kind, int level);
  void DicReportError(int code);

  void SetKindMask(unsigned conversionMode) { kindMask_ = (conversionMode & kAltKindModeBit) ? 2 : 1; }
  uint8_t KindMask() const { return kindMask_; }
  uint16_t State() const { return Slot().state; }
  bool OpenPending() const { return Slot().state == kSlotUnusable && Slot().reopen; }
  // The slot can serve operations now or after its pending open.
  bool Usable() const { return Slot().state != kSlotUnusable || Slot().reopen; }
  const DicSlot& Slot() const { return slots_[slot_]; }
  DicRequest& Request() { return request_; }
  bool ReadOnly() const { return slot_ != 0; }

 private:
  DicSlot& S() { return slots_[slot_]; }
  bool Offered(const DicRecord& r) const { return (r.kind & kindMask_) != 0 && !r.Deleted(); }
  void ClearCaches();
  void ClearTreeCache(int tree);
  void CloseFile();
  int Fail(int code);  // reports code, returns -1
  // Opens the slot's file, waiting while another open holds it.
  std::unique_ptr<BlockFile> OpenWaiting(const std::string& path, bool* busy);
  int OpenSlot(const std::string& path);
  // The outcome of an operation in its request: rc 0, 2 or -1.
  int Settle(DicRequest& r, int rc);

  // Tree operations; tree = TreeForReading(reading length).
  int Descend(int tree, const std::string& reading, bool* exact);
  int SearchTree(int tree, DicRequest& r);
  int NextInTree(int tree, DicRequest& r, DicCursor from, int step);
  int LearnInTree(int tree, DicRequest& r);
  int InsertInTree(int tree, uint32_t record, const std::string& reading);
  int SplitNode(int tree, int level, uint32_t* newNode);
  int ReadRecord(uint32_t offset, DicRecord& out, size_t* pos);
  int ReadDataBlock(uint32_t offset);
  int WriteBlock(uint32_t offset, const uint8_t* bytes);
  int ReadSideNode(int tree, uint32_t offset, DicIndexNode& node);
  uint32_t AllocateBlock();
  int FindWord(int tree, DicRequest& r);
  int AddWord(DicRequest& r);
  int DeleteWord(DicRequest& r);
  uint32_t BlockBudget() const;

  BlockFileOpener& files_;
  UserFeedback& feedback_;
  int slot_;
  std::array<DicSlot, 2> slots_;
  DicRequest request_;
  uint8_t kindMask_ = 1;
  uint16_t lastError_ = 0;  // of the operation in progress
};

}  // namespace ime::dic
