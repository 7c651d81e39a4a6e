#include "dic_format.h"

#include <algorithm>

namespace ime::dic {

namespace {

constexpr TreeShape kShapes[kTreeCount] = {
    {"IND8 ", 8, 17, 28, 14},
    {"IND16", 16, 25, 18, 9},
    {"IND24", 24, 33, 14, 7},
    {"IND32", 32, 41, 10, 5},
};

}  // namespace

int DicCompareKeys(const char* a, const char* b) {
  int c = std::strcmp(a, b);  // compares as unsigned char
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

const TreeShape& Shape(int tree) { return kShapes[tree]; }

int TreeForReading(size_t length) {
  if (length == 0 || length > kMaxReading) return -1;
  return static_cast<int>((length - 1) / 8);
}

DicHeader DicHeader::New(uint32_t firstRoot) {
  DicHeader h;
  std::memcpy(&h.raw[0], "HEAD ", 5);
  std::memcpy(&h.raw[5], "400960229002", 12);
  std::memcpy(&h.raw[17], "Geul Maru 95", 12);
  Put16(&h.raw[58], kBlockSize);
  Put16(&h.raw[64], kTreeCount);
  for (int t = 0; t < kTreeCount; ++t) {
    Put16(&h.raw[66 + 10 * t], kShapes[t].keyWidth);
    h.SetRoot(t, firstRoot + kBlockSize * static_cast<uint32_t>(t));
    Put32(&h.raw[114 + 8 * t], 0xFFFFFFFF);
  }
  h.SetDataBlock(firstRoot + kBlockSize * kTreeCount);
  h.SetNextFree(firstRoot + kBlockSize * (kTreeCount + 1));
  return h;
}

bool DicHeader::Recognised() const {
  return std::memcmp(&raw[0], "HEAD ", 5) == 0 && std::memcmp(&raw[14], "002", 3) == 0;
}

int DicHeader::Check(uint64_t fileSize) const {
  if (!Recognised() || fileSize > kMaxFileSize) return kErrUnusable;
  if (Get16(&raw[58]) != kBlockSize || Get16(&raw[64]) != kTreeCount) return kErrUnusable;
  for (int t = 0; t < kTreeCount; ++t) {
    if (KeyWidth(t) != kShapes[t].keyWidth || !IsBlockIn(Root(t), fileSize)) return kErrUnusable;
  }
  if (!IsBlockIn(DataBlock(), fileSize)) return kErrUnusable;
  // Blocks from NextFree on are free: a NextFree past the end of the file
  // would claim blocks that the file does not have.
  if (NextFree() % kBlockSize != 0 || NextFree() > BlockEnd(fileSize)) return kErrUnusable;
  return 0;
}

void DicIndexNode::Init(int tree) {
  tree_ = tree;
  b_.fill(0);
  std::memcpy(&b_[0], kShapes[tree].tag, 5);
  Put16(&b_[5], kShapes[tree].keyWidth);
}

bool DicIndexNode::Load(int tree, const uint8_t* block) {
  const TreeShape& s = kShapes[tree];
  if (std::memcmp(block, s.tag, 5) != 0 || Get16(block + 5) != s.keyWidth) return false;
  uint16_t count = Get16(block + 7);
  if (count > s.capacity) return false;
  tree_ = tree;
  b_.fill(0);
  std::memcpy(b_.data(), block, TreeShape::kNodeHead + count * s.entrySize);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = Entry(i);
    if (std::memchr(e + 8, 0, s.keyWidth + 1u) == nullptr) return false;
    bool leaf = Get32(e + 4) != 0;
    if (leaf == (Get32(e) != 0)) return false;  // exactly one of child and record
    if (leaf != IsLeafEntry(0)) return false;   // one kind per node
  }
  return true;
}

void DicIndexNode::Store(uint8_t* block) const {
  std::memset(block, 0, kBlockSize);
  std::memcpy(block, b_.data(), std::min<size_t>(kBlockSize, TreeShape::kNodeHead + Count() * Shape().entrySize));
}

void DicIndexNode::Insert(size_t i, uint32_t child, uint32_t record, std::string_view key) {
  const size_t es = Shape().entrySize;
  uint8_t* at = Entry(i);
  std::memmove(at + es, at, (Count() - i) * es);
  std::memset(at, 0, es);
  Put32(at, child);
  Put32(at + 4, record);
  SetCount(static_cast<uint16_t>(Count() + 1));
  SetKey(i, key);
}

void DicIndexNode::SetKey(size_t i, std::string_view key) {
  uint8_t* k = Entry(i) + 8;
  std::memset(k, 0, Shape().keyWidth + 1u);
  std::memcpy(k, key.data(), std::min<size_t>(key.size(), Shape().keyWidth));
}

void DicIndexNode::SwapEntries(size_t i, size_t j) {
  std::swap_ranges(Entry(i), Entry(i) + Shape().entrySize, Entry(j));
}

void DicIndexNode::SwapEntries(size_t i, DicIndexNode& other, size_t j) {
  std::swap_ranges(Entry(i), Entry(i) + Shape().entrySize, other.Entry(j));
}

void DicIndexNode::SplitLow(size_t n, DicIndexNode& low) {
  const size_t es = Shape().entrySize;
  std::memcpy(low.Entry(0), Entry(0), n * es);
  low.SetCount(static_cast<uint16_t>(n));
  const size_t rest = Count() - n;
  std::memmove(Entry(0), Entry(n), rest * es);
  std::memset(Entry(rest), 0, n * es);
  SetCount(static_cast<uint16_t>(rest));
}

void DicDataBlock::Init() {
  raw.fill(0);
  std::memcpy(&raw[0], "DATA ", 5);
}

bool DicDataBlock::Check() const {
  return std::memcmp(&raw[0], "DATA ", 5) == 0 && Used() <= kArea;
}

bool DicDataBlock::Read(size_t pos, DicRecord& out) const {
  if (pos + kRecordHead > Used()) return false;
  const uint8_t* r = &raw[kHead + pos];
  const size_t size = Get16(r), readingLen = Get16(r + 2), wordLen = Get16(r + 4);
  if (readingLen == 0 || readingLen > kMaxReading || wordLen == 0 || wordLen > kMaxWord) return false;
  if (size != readingLen + wordLen + 12 || pos + size > Used()) return false;
  const char* word = reinterpret_cast<const char*>(r + kRecordHead);
  const char* reading = word + wordLen + 1;
  if (strnlen(word, wordLen + 1) != wordLen || strnlen(reading, readingLen + 1) != readingLen) return false;
  out.value = Get16(r + 6);
  out.kind = r[8];
  out.state = r[9];
  out.word.assign(word, wordLen);
  out.reading.assign(reading, readingLen);
  return true;
}

size_t DicDataBlock::Append(const DicRecord& rec) {
  const size_t pos = Used();
  uint8_t* r = &raw[kHead + pos];
  std::memset(r, 0, rec.Size());
  Put16(r, static_cast<uint16_t>(rec.Size()));
  Put16(r + 2, static_cast<uint16_t>(rec.reading.size()));
  Put16(r + 4, static_cast<uint16_t>(rec.word.size()));
  Put16(r + 6, rec.value);
  r[8] = rec.kind;
  r[9] = rec.state;
  std::memcpy(r + kRecordHead, rec.word.data(), rec.word.size());
  std::memcpy(r + kRecordHead + rec.word.size() + 1, rec.reading.data(), rec.reading.size());
  Put16(&raw[5], static_cast<uint16_t>(Records() + 1));
  Put16(&raw[7], static_cast<uint16_t>(pos + rec.Size()));
  return pos;
}

std::vector<uint8_t> NewDictionaryImage(uint32_t firstRoot) {
  const DicHeader h = DicHeader::New(firstRoot);
  std::vector<uint8_t> bytes(h.NextFree(), 0);
  std::memcpy(bytes.data(), h.raw.data(), kBlockSize);
  for (int t = 0; t < kTreeCount; ++t) {
    DicIndexNode n;
    n.Init(t);
    n.Store(&bytes[h.Root(t)]);
  }
  DicDataBlock d;
  d.Init();
  std::memcpy(&bytes[h.DataBlock()], d.raw.data(), kBlockSize);
  return bytes;
}

}  // namespace ime::dic
