#include "dic_engine.h"

#include <algorithm>
#include <cstdio>

namespace ime::dic {

namespace {

// Entries a walk over one level may visit before the file counts as broken
// (a cycle of level links): every block of the file full of entries.
constexpr uint32_t kMostEntriesPerBlock = 28;

bool Equal(const char* key, const std::string& reading) { return DicCompareKeys(key, reading.c_str()) == 0; }

bool StorableText(const std::string& s, size_t most) {
  return !s.empty() && s.size() <= most && s.find('\0') == std::string::npos;
}

}  // namespace

DicEngine::DicEngine(BlockFileOpener& files, UserFeedback& feedback, int slot)
    : files_(files), feedback_(feedback), slot_(slot != 0 ? 1 : 0) {}

// ---- errors -------------------------------------------------------------------

void DicEngine::DicReportError(int code) {
  std::string text;
  switch (code) {
    case kErrMemory:  // メモリが確保できません
      text = "\x83\x81\x83\x82\x83\x8a\x82\xaa\x8a\x6d\x95\xdb\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1";
      break;
    case kErrOpen: {  // 辞書がオープンできません(state path)
      text = "\x8e\xab\x8f\x91\x82\xaa\x83\x49\x81\x5b\x83\x76\x83\x93\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1";
      char state[16];
      std::snprintf(state, sizeof state, "(%d ", static_cast<int>(Slot().state));
      text += state + Slot().path + ")";
      break;
    }
    case kErrRead:  // 辞書が読み込みできません
      text = "\x8e\xab\x8f\x91\x82\xaa\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1";
      break;
    case kErrWrite:  // 辞書が書き込みできません
      text = "\x8e\xab\x8f\x91\x82\xaa\x8f\x91\x82\xab\x8d\x9e\x82\xdd\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1";
      break;
    case kErrUnusable:  // この辞書は使用できません
      text = "\x82\xb1\x82\xcc\x8e\xab\x8f\x91\x82\xcd\x8e\x67\x97\x70\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1";
      break;
    case kErrExists:  // 辞書は存在します
      text = "\x8e\xab\x8f\x91\x82\xcd\x91\xb6\x8d\xdd\x82\xb5\x82\xdc\x82\xb7";
      break;
    case kErrBadWord:  // 登録できる単語ではありません
      text = "\x93\x6f\x98\x5e\x82\xc5\x82\xab\x82\xe9\x92\x50\x8c\xea\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";
      break;
    default:
      return;
  }
  feedback_.ShowMessage(text, kMbIconExclamation | kMbTaskModal);
}

int DicEngine::Fail(int code) {
  lastError_ = static_cast<uint16_t>(code);
  DicReportError(code);
  return -1;
}

int DicEngine::Settle(DicRequest& r, int rc) {
  r.error = 0;
  if (rc == 0) {
    r.result = kFound;
  } else if (rc == kNotFound) {
    r.result = kNotFound;
  } else {
    r.result = kFailed;
    r.error = lastError_;
    rc = -1;
  }
  return rc;
}

// ---- slot state ---------------------------------------------------------------

void DicEngine::ClearTreeCache(int tree) {
  DicSlot::TreePath& p = S().trees[tree];
  p.offset.fill(0);
  p.index.fill(0);
  p.level = 0;
}

void DicEngine::ClearCaches() {
  for (int t = 0; t < kTreeCount; ++t) ClearTreeCache(t);
  S().dataOffset = 0;
}

void DicEngine::CloseFile() {
  S().file.reset();
  S().fileSize = 0;
}

// Another process holds the file only for one operation: try again at
// growing intervals, for a bounded time.
std::unique_ptr<BlockFile> DicEngine::OpenWaiting(const std::string& path, bool* busy) {
  unsigned waited = 0;
  unsigned pause = kBusyPauseMs;
  for (;;) {
    OpenFailure why = OpenFailure::kNone;
    std::unique_ptr<BlockFile> file = files_.Open(path, !ReadOnly(), &why);
    *busy = why == OpenFailure::kBusy;
    if (file || !*busy || waited >= kBusyWaitMs) return file;
    files_.Pause(pause);
    waited += pause;
    pause = std::min(pause * 2, kBusyPauseMostMs);
  }
}

int DicEngine::DicOpen(const std::string& path) {
  lastError_ = 0;
  return OpenSlot(path);
}

int DicEngine::OpenSlot(const std::string& path) {
  DicSlot& s = S();
  CloseFile();
  s.state = kSlotUnusable;
  s.reopen = false;
  if (&path != &s.path) s.path = path;
  if (s.path.size() > 259) return Fail(kErrOpen);
  bool busy = false;
  s.file = OpenWaiting(s.path, &busy);
  if (!s.file) {
    if (!busy) return Fail(kErrOpen);
    // Still held by another process: not a fault of the file; the next
    // access tries again.
    s.reopen = true;
    lastError_ = kErrOpen;
    return -1;
  }
  s.fileSize = s.file->Size();
  int code = 0;
  if (DicReadHeader() != 0) {
    code = kErrRead;
  } else if (s.header.Check(s.fileSize) != 0) {
    code = kErrUnusable;
  }
  if (code != 0) {
    CloseFile();
    return Fail(code);
  }
  ClearCaches();
  for (int t = 0; t < kTreeCount; ++t) {
    if (DicReadNode(t, 0, s.header.Root(t)) != 0) {
      CloseFile();
      return -1;
    }
  }
  CloseFile();
  s.state = kSlotClosed;
  return 0;
}

void DicEngine::DicInvalidate() {
  CloseFile();
  S().state = kSlotUnusable;
  S().reopen = false;  // nor opened again at the next access
}

int DicEngine::DicBeginAccess() {
  DicSlot& s = S();
  if (s.state == kSlotUnusable) {
    if (!s.reopen) {
      lastError_ = kErrUnusable;
      return -1;
    }
    if (OpenSlot(s.path) != 0) return s.reopen ? Fail(kErrOpen) : -1;
  }
  if (s.state == kSlotOpen) return 0;
  bool busy = false;
  s.file = OpenWaiting(s.path, &busy);
  if (!s.file) return Fail(kErrOpen);
  s.fileSize = s.file->Size();
  // What was cached belongs to the file as it was at the last operation.
  ClearCaches();
  if (DicReadHeader() != 0) {
    CloseFile();
    return Fail(kErrRead);
  }
  if (s.header.Check(s.fileSize) != 0) {
    CloseFile();
    s.state = kSlotUnusable;
    return Fail(kErrUnusable);
  }
  s.state = kSlotOpen;
  return 0;
}

int DicEngine::DicEndAccess() {
  CloseFile();
  if (S().state == kSlotOpen) S().state = kSlotClosed;
  return 0;
}

// ---- block I/O ----------------------------------------------------------------

int DicEngine::DicReadHeader() {
  DicSlot& s = S();
  if (!s.file) return -1;
  return s.file->ReadAt(0, s.header.raw.data(), kBlockSize) == static_cast<long>(kBlockSize) ? 0 : -1;
}

int DicEngine::DicWriteHeader() {
  DicSlot& s = S();
  if (!s.file || s.file->WriteAt(0, s.header.raw.data(), kBlockSize) != static_cast<long>(kBlockSize)) return -1;
  s.fileSize = std::max<uint64_t>(s.fileSize, kBlockSize);
  return 0;
}

int DicEngine::DicReadNode(int tree, int level, uint32_t offset) {
  if (offset == 0) return -1;
  DicSlot& s = S();
  DicSlot::TreePath& p = s.trees[tree];
  if (p.offset[level] == offset) return 0;
  p.offset[level] = 0;
  if (!s.file) return Fail(kErrRead);
  if (!IsBlockIn(offset, s.fileSize)) {
    char text[96];
    std::snprintf(text, sizeof text, "Ffno=%llx level=%d read_pos=%u l=%llu",
                  static_cast<unsigned long long>(s.file->Handle()), level, offset,
                  static_cast<unsigned long long>(s.fileSize));
    feedback_.ShowCaptionedMessage(text, "Read_tree", 0);
    return Fail(kErrRead);
  }
  const size_t bytes = Shape(tree).NodeBytes();
  uint8_t block[kBlockSize] = {};
  if (s.file->ReadAt(offset, block, bytes) != static_cast<long>(bytes)) return Fail(kErrRead);
  if (!p.node[level].Load(tree, block)) return Fail(kErrRead);
  p.offset[level] = offset;
  return 0;
}

int DicEngine::WriteBlock(uint32_t offset, const uint8_t* bytes) {
  DicSlot& s = S();
  if (offset == 0 || offset % kBlockSize != 0 || offset > kMaxFileSize - kBlockSize || !s.file) return Fail(kErrWrite);
  if (s.file->WriteAt(offset, bytes, kBlockSize) != static_cast<long>(kBlockSize)) return Fail(kErrWrite);
  s.fileSize = std::max<uint64_t>(s.fileSize, uint64_t{offset} + kBlockSize);
  return 0;
}

int DicEngine::DicWriteNode(int kind, int level, uint32_t offset) {
  if (offset == 0 || kind < 1 || kind > kBlockData) return -1;
  DicSlot& s = S();
  uint8_t block[kBlockSize];
  if (kind == kBlockData) {
    std::memcpy(block, s.data.raw.data(), kBlockSize);
  } else {
    s.trees[kind - 1].node[level].Store(block);
  }
  if (WriteBlock(offset, block) != 0) return -1;
  if (kind == kBlockData) {
    s.dataOffset = offset;
  } else {
    s.trees[kind - 1].offset[level] = offset;
  }
  return 0;
}

void DicEngine::DicInitBlock(int kind, int level) {
  DicSlot& s = S();
  if (kind == kBlockHeader) {
    s.header = DicHeader::New();
  } else if (kind == kBlockData) {
    s.data.Init();
    s.dataOffset = 0;
  } else if (kind >= 1 && kind <= kTreeCount) {
    s.trees[kind - 1].node[level].Init(kind - 1);
    s.trees[kind - 1].offset[level] = 0;
  }
}

// A node outside the search path (a neighbour on the same level), not cached.
int DicEngine::ReadSideNode(int tree, uint32_t offset, DicIndexNode& node) {
  DicSlot& s = S();
  if (!s.file || !IsBlockIn(offset, s.fileSize)) return Fail(kErrRead);
  const size_t bytes = Shape(tree).NodeBytes();
  uint8_t block[kBlockSize] = {};
  if (s.file->ReadAt(offset, block, bytes) != static_cast<long>(bytes) || !node.Load(tree, block)) {
    return Fail(kErrRead);
  }
  return 0;
}

int DicEngine::ReadDataBlock(uint32_t offset) {
  DicSlot& s = S();
  if (s.dataOffset == offset && offset != 0) return 0;
  s.dataOffset = 0;
  if (!s.file || !IsBlockIn(offset, s.fileSize)) return Fail(kErrRead);
  if (s.file->ReadAt(offset, s.data.raw.data(), kBlockSize) != static_cast<long>(kBlockSize) || !s.data.Check()) {
    return Fail(kErrRead);
  }
  s.dataOffset = offset;
  return 0;
}

int DicEngine::ReadRecord(uint32_t offset, DicRecord& out, size_t* pos) {
  const uint32_t block = offset / kBlockSize * kBlockSize;
  if (offset - block < DicDataBlock::kHead) return Fail(kErrRead);
  if (ReadDataBlock(block) != 0) return -1;
  *pos = offset - block - DicDataBlock::kHead;
  if (!S().data.Read(*pos, out)) return Fail(kErrRead);
  S().last = out;
  return 0;
}

// New blocks go past the end of the file, whatever the header says.
uint32_t DicEngine::AllocateBlock() {
  DicSlot& s = S();
  const uint32_t at = static_cast<uint32_t>(std::max<uint64_t>(s.header.NextFree(), BlockEnd(s.fileSize)));
  s.header.SetNextFree(at + kBlockSize);
  s.fileSize = std::max<uint64_t>(s.fileSize, uint64_t{at} + kBlockSize);
  return at;
}

uint32_t DicEngine::BlockBudget() const { return static_cast<uint32_t>(Slot().fileSize / kBlockSize) + 1; }

// ---- tree operations ----------------------------------------------------------

// Goes down from the root to the leaf where the reading is or would stand:
// on each level the first entry whose key is not below the reading. A
// reading above every key follows the last entry down, to the end of the
// last leaf.
int DicEngine::Descend(int tree, const std::string& reading, bool* exact) {
  DicSlot& s = S();
  DicSlot::TreePath& p = s.trees[tree];
  uint32_t offset = s.header.Root(tree);
  for (int level = 0;; ++level) {
    if (level >= kPathLevels) return Fail(kErrRead);  // deeper than any tree this engine writes
    if (DicReadNode(tree, level, offset) != 0) {
      if (level == 0) feedback_.ShowMessage("root read error", kMbIconExclamation | kMbTaskModal);
      return -1;
    }
    const DicIndexNode& n = p.node[level];
    size_t i = 0;
    while (i < n.Count() && DicCompareKeys(n.Key(i), reading.c_str()) < 0) ++i;
    if (n.IsLeaf()) {
      p.index[level] = static_cast<uint16_t>(i);
      p.level = level;
      *exact = i < n.Count() && Equal(n.Key(i), reading);
      return 0;
    }
    if (i == n.Count()) i = n.Count() - 1;
    p.index[level] = static_cast<uint16_t>(i);
    offset = n.Child(i);
  }
}

int DicEngine::SearchTree(int tree, DicRequest& r) {
  bool exact = false;
  if (Descend(tree, r.reading, &exact) != 0) return -1;
  DicSlot::TreePath& p = S().trees[tree];
  const int level = p.level;
  const DicCursor at{static_cast<uint16_t>(level), p.offset[level], p.index[level]};
  r.cursor = at;
  if (!exact) {
    r.result = kNotFound;
    return kNotFound;
  }
  DicRecord rec;
  size_t pos = 0;
  if (ReadRecord(p.node[level].Record(at.index), rec, &pos) != 0) return -1;
  if (rec.reading != r.reading) return Fail(kErrRead);
  if (!Offered(rec)) return NextInTree(tree, r, at, 1);
  r.foundWord = rec.word;
  r.found = at;
  r.foundValue = rec.value;
  r.foundKind = rec.kind;
  r.foundState = rec.state;
  r.result = kFound;
  return kFound;
}

int DicEngine::NextInTree(int tree, DicRequest& r, DicCursor from, int step) {
  if (step < 0 || from.level >= kPathLevels) return -1;
  DicSlot::TreePath& p = S().trees[tree];
  const int level = from.level;
  if (DicReadNode(tree, level, from.node) != 0) return -1;
  uint32_t offset = from.node;
  size_t i = size_t{from.index} + static_cast<size_t>(step);
  uint32_t budget = BlockBudget();
  const DicIndexNode& n = p.node[level];
  for (;;) {
    if (i >= n.Count()) {
      // The end of the last node of the level: no further entry.
      const uint32_t next = n.Next();
      if (next == 0) break;
      if (--budget == 0) return Fail(kErrRead);
      if (DicReadNode(tree, level, next) != 0) return -1;
      offset = next;
      i = 0;
      continue;
    }
    r.cursor = DicCursor{static_cast<uint16_t>(level), offset, static_cast<uint16_t>(i)};
    if (!Equal(n.Key(i), r.reading)) break;
    if (!n.IsLeafEntry(i)) return Fail(kErrRead);
    DicRecord rec;
    size_t pos = 0;
    if (ReadRecord(n.Record(i), rec, &pos) != 0) return -1;
    if (rec.reading != r.reading) return Fail(kErrRead);
    if (Offered(rec)) {
      r.foundWord = rec.word;
      r.found = r.cursor;
      r.foundValue = rec.value;
      r.foundKind = rec.kind;
      r.foundState = rec.state;
      r.result = kFound;
      return kFound;
    }
    ++i;
  }
  r.result = kNotFound;
  return kNotFound;
}

// The offered entry of (reading, word); 0, 2 or -1.
int DicEngine::FindWord(int tree, DicRequest& r) {
  int rc = SearchTree(tree, r);
  uint64_t budget = uint64_t{BlockBudget()} * kMostEntriesPerBlock;
  while (rc == kFound && r.foundWord != r.word) {
    if (--budget == 0) return Fail(kErrRead);
    rc = NextInTree(tree, r, r.found, 1);
  }
  return rc;
}

// Exchanges the entry of the word with the entries of the same reading
// before it until it comes first, following the level's previous links.
int DicEngine::LearnInTree(int tree, DicRequest& r) {
  int rc = FindWord(tree, r);
  if (rc != kFound) return rc;
  DicSlot::TreePath& p = S().trees[tree];
  const int level = r.found.level;
  DicIndexNode& cur = p.node[level];
  DicIndexNode& side = p.node[kScratchLevel];
  uint32_t offset = r.found.node;
  size_t i = r.found.index;
  bool dirty = false;
  uint32_t budget = BlockBudget();
  rc = 0;
  for (;;) {
    if (i > 0) {
      if (!Equal(cur.Key(i - 1), r.reading)) break;
      cur.SwapEntries(i - 1, i);
      dirty = true;
      --i;
      continue;
    }
    const uint32_t prev = cur.Prev();
    if (prev == 0 || --budget == 0) break;
    p.offset[kScratchLevel] = 0;
    if (ReadSideNode(tree, prev, side) != 0) {
      rc = -1;
      break;
    }
    if (side.Count() == 0 || !side.IsLeaf() || !Equal(side.Key(side.Count() - 1), r.reading)) break;
    const size_t j = side.Count() - 1u;
    cur.SwapEntries(0, side, j);
    if (DicWriteNode(tree + 1, level, offset) != 0) {
      rc = -1;
      break;
    }
    cur = side;
    offset = prev;
    p.offset[level] = prev;
    i = j;
    dirty = true;
  }
  if (rc == 0 && dirty && DicWriteNode(tree + 1, level, offset) != 0) rc = -1;
  ClearTreeCache(tree);
  return rc;
}

// Inserts the leaf entry at the position of the last descent, keeps the
// routing keys on the path equal to the highest key below them, and splits
// the nodes that fill up, raising the tree when the root splits.
int DicEngine::InsertInTree(int tree, uint32_t record, const std::string& reading) {
  DicSlot& s = S();
  DicSlot::TreePath& p = s.trees[tree];
  const TreeShape& shape = Shape(tree);
  const int leaf = p.level;
  std::array<bool, kPathLevels + 1> dirty{};

  const size_t at = p.index[leaf];
  const bool last = at == p.node[leaf].Count();
  p.node[leaf].Insert(at, 0, record, reading);
  dirty[leaf] = true;
  if (last) {
    for (int l = leaf - 1; l >= 0; --l) {
      DicIndexNode& n = p.node[l];
      const size_t j = p.index[l];
      if (DicCompareKeys(n.Key(j), reading.c_str()) < 0) {
        n.SetKey(j, reading);
        dirty[l] = true;
      }
      if (j + 1 != n.Count()) break;
    }
  }

  for (int l = leaf; l >= 0 && p.node[l].Count() >= shape.capacity; --l) {
    DicIndexNode& old = p.node[l];
    DicIndexNode& low = p.node[kScratchLevel];
    p.offset[kScratchLevel] = 0;
    low.Init(tree);
    old.SplitLow(shape.half, low);
    const uint32_t lowOffset = AllocateBlock();
    low.SetPrev(old.Prev());
    low.SetNext(p.offset[l]);
    old.SetPrev(lowOffset);
    if (low.Prev() != 0) {
      DicIndexNode before;
      if (ReadSideNode(tree, low.Prev(), before) != 0) return -1;
      before.SetNext(lowOffset);
      uint8_t block[kBlockSize];
      before.Store(block);
      if (WriteBlock(low.Prev(), block) != 0) return -1;
    }
    const std::string separator = low.Key(low.Count() - 1u);
    if (DicWriteNode(tree + 1, kScratchLevel, lowOffset) != 0) return -1;
    p.offset[kScratchLevel] = 0;
    if (DicWriteNode(tree + 1, l, p.offset[l]) != 0) return -1;
    dirty[l] = false;
    if (l == 0) {
      DicIndexNode& root = p.node[kScratchLevel];
      root.Init(tree);
      root.Insert(0, lowOffset, 0, separator);
      root.Insert(1, p.offset[0], 0, old.Key(old.Count() - 1u));
      const uint32_t rootOffset = AllocateBlock();
      if (DicWriteNode(tree + 1, kScratchLevel, rootOffset) != 0) return -1;
      p.offset[kScratchLevel] = 0;
      s.header.SetRoot(tree, rootOffset);
    } else {
      p.node[l - 1].Insert(p.index[l - 1], lowOffset, 0, separator);
      dirty[l - 1] = true;
    }
  }
  for (int l = 0; l <= leaf; ++l) {
    if (dirty[l] && DicWriteNode(tree + 1, l, p.offset[l]) != 0) return -1;
  }
  return 0;
}

// ---- operations ---------------------------------------------------------------

int DicEngine::DicSearch(DicRequest& r) {
  lastError_ = 0;
  const int tree = TreeForReading(r.reading.size());
  if (tree < 0) return Settle(r, -1);
  if (DicBeginAccess() != 0) return Settle(r, -1);
  return Settle(r, SearchTree(tree, r));
}

int DicEngine::DicSearchNext(DicRequest& r, int step) {
  lastError_ = 0;
  const int tree = TreeForReading(r.reading.size());
  if (tree < 0) return Settle(r, -1);
  if (DicBeginAccess() != 0) return Settle(r, -1);
  return Settle(r, NextInTree(tree, r, r.cursor, step));
}

int DicEngine::DicLookup(const std::string& reading, std::string* word, unsigned conversionMode) {
  SetKindMask(conversionMode);
  request_.reading = reading;
  const int rc = DicSearch(request_);
  if (rc == kFound && word) *word = request_.foundWord;
  return rc;
}

int DicEngine::DicLookupNext(const std::string& reading, std::string* word, int step) {
  request_.reading = reading;
  const int rc = DicSearchNext(request_, step);
  if (rc == kFound && word) *word = request_.foundWord;
  return rc;
}

int DicEngine::DicLearnWord(const std::string& reading, const std::string& word) {
  lastError_ = 0;
  request_.reading = reading;
  request_.word = word;
  const int tree = TreeForReading(reading.size());
  if (tree < 0 || word.empty() || word.size() > kMaxWord) return Settle(request_, -1);
  if (DicBeginAccess() != 0) return Settle(request_, -1);
  if (ReadOnly()) return Settle(request_, Fail(kErrWrite));
  return Settle(request_, LearnInTree(tree, request_));
}

int DicEngine::DicAddWord(DicRequest& r) {
  lastError_ = 0;
  return Settle(r, AddWord(r));
}

int DicEngine::DicDeleteWord(DicRequest& r) {
  lastError_ = 0;
  return Settle(r, DeleteWord(r));
}

int DicEngine::AddWord(DicRequest& r) {
  if (r.reading.empty() || !StorableText(r.word, kMaxWord) || r.reading.find('\0') != std::string::npos) {
    return Fail(kErrBadWord);
  }
  const int tree = TreeForReading(r.reading.size());
  if (tree < 0) return -1;
  if (DicBeginAccess() != 0) return -1;
  if (ReadOnly()) return Fail(kErrWrite);
  DicSlot& s = S();
  DicSlot::TreePath& p = s.trees[tree];
  bool exact = false;
  if (Descend(tree, r.reading, &exact) != 0) return -1;

  // Refuse before writing anything when the root would rise past the path
  // cache or the file past its offsets.
  const int leaf = p.level;
  int splits = 0;
  while (splits <= leaf && p.node[leaf - splits].Count() + 1u >= Shape(tree).capacity) ++splits;
  if (splits == leaf + 1 && leaf + 1 >= kPathLevels) return Fail(kErrWrite);
  const uint64_t blocks = static_cast<uint64_t>(splits) + (splits == leaf + 1 ? 1 : 0) + 1;
  if (BlockEnd(s.fileSize) + blocks * kBlockSize > kMaxFileSize) return Fail(kErrWrite);

  DicRecord rec;
  rec.value = r.value;
  rec.kind = r.kind;
  rec.state = ' ';
  rec.word = r.word;
  rec.reading = r.reading;
  if (ReadDataBlock(s.header.DataBlock()) != 0) return -1;
  if (!s.data.Fits(rec)) {
    s.header.SetDataBlock(AllocateBlock());
    s.data.Init();
  }
  const uint32_t block = s.header.DataBlock();
  const size_t pos = s.data.Append(rec);
  if (DicWriteNode(kBlockData, 0, block) != 0) return -1;
  if (InsertInTree(tree, block + static_cast<uint32_t>(DicDataBlock::kHead + pos), r.reading) != 0) {
    ClearTreeCache(tree);
    DicWriteHeader();
    return -1;
  }
  s.header.SetLiveCount(s.header.LiveCount() + 1);
  s.header.SetTreeCount(tree, s.header.TreeCount(tree) + 1);
  ClearTreeCache(tree);
  if (DicWriteHeader() != 0) return Fail(kErrWrite);
  return 0;
}

int DicEngine::DeleteWord(DicRequest& r) {
  const int tree = TreeForReading(r.reading.size());
  if (tree < 0 || r.word.empty()) return -1;
  if (DicBeginAccess() != 0) return -1;
  if (ReadOnly()) return Fail(kErrWrite);
  const int rc = FindWord(tree, r);
  if (rc != kFound) return rc;
  DicSlot& s = S();
  DicSlot::TreePath& p = s.trees[tree];
  if (DicReadNode(tree, r.found.level, r.found.node) != 0) return -1;
  DicRecord rec;
  size_t pos = 0;
  if (ReadRecord(p.node[r.found.level].Record(r.found.index), rec, &pos) != 0) return -1;
  s.data.SetState(pos, '*');
  if (DicWriteNode(kBlockData, 0, s.dataOffset) != 0) return -1;
  if (s.header.LiveCount() > 0) s.header.SetLiveCount(s.header.LiveCount() - 1);
  if (s.header.TreeCount(tree) > 0) s.header.SetTreeCount(tree, s.header.TreeCount(tree) - 1);
  if (DicWriteHeader() != 0) return Fail(kErrWrite);
  return 0;
}

}  // namespace ime::dic
