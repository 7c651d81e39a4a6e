// The hanja dictionary file: 512-byte blocks holding a header, four B+ trees
// of index nodes (one per reading width class) and data blocks of records.
// Readings and words are zero-terminated GM95 byte strings. Everything read
// from a file goes through the checks here before it is used.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace ime::dic {

constexpr uint32_t kBlockSize = 512;
constexpr int kTreeCount = 4;
constexpr size_t kMaxReading = 32;
constexpr size_t kMaxWord = 20;

// Layout of a new file.
constexpr uint32_t kFirstRoot = 49152;
constexpr uint32_t kFirstDataBlock = 51200;
constexpr uint32_t kFirstFreeBlock = 51712;

// Blocks are addressed by 32-bit offsets; files stay well inside that.
constexpr uint32_t kMaxFileSize = 0x7FFF0000;

// Error codes shown by the engine (see DicEngine::DicReportError).
enum DicError : int {
  kErrMemory = 1,
  kErrOpen = 2,
  kErrRead = 3,
  kErrWrite = 4,
  kErrUnusable = 5,
  kErrExists = 6,
  kErrBadWord = 7,
};

inline uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t Get32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
inline void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Bytewise unsigned comparison of zero-terminated strings: -1, 0 or 1.
int DicCompareKeys(const char* a, const char* b);

// One tree's entry layout: {u32 child, u32 record, key of width + 1 bytes}.
struct TreeShape {
  static constexpr size_t kNodeHead = 21;
  const char* tag;
  uint16_t keyWidth;
  size_t entrySize;
  uint16_t capacity;  // a node that reaches this many entries is split
  uint16_t half;      // entries that a split moves into the new node
  // Bytes of a node with a full set of entries: what is read of a node block.
  size_t NodeBytes() const { return kNodeHead + capacity * entrySize; }
};
const TreeShape& Shape(int tree);
// The tree of a reading of this length; -1 when it cannot be stored.
int TreeForReading(size_t length);

// The end of a file of this many bytes rounded up to whole blocks.
inline uint64_t BlockEnd(uint64_t fileSize) { return (fileSize + kBlockSize - 1) / kBlockSize * kBlockSize; }
// A block offset that can be read from a file of fileSize bytes (0 is the header).
inline bool IsBlockIn(uint32_t offset, uint64_t fileSize) {
  return offset != 0 && offset % kBlockSize == 0 && offset < fileSize;
}

// Header block, kept as its bytes so that fields no operation uses survive.
struct DicHeader {
  std::array<uint8_t, kBlockSize> raw{};

  uint32_t LiveCount() const { return Get32(&raw[60]); }
  void SetLiveCount(uint32_t v) { Put32(&raw[60], v); }
  uint16_t KeyWidth(int tree) const { return Get16(&raw[66 + 10 * tree]); }
  uint32_t TreeCount(int tree) const { return Get32(&raw[68 + 10 * tree]); }
  void SetTreeCount(int tree, uint32_t v) { Put32(&raw[68 + 10 * tree], v); }
  uint32_t Root(int tree) const { return Get32(&raw[72 + 10 * tree]); }
  void SetRoot(int tree, uint32_t v) { Put32(&raw[72 + 10 * tree], v); }
  uint32_t DataBlock() const { return Get32(&raw[106]); }
  void SetDataBlock(uint32_t v) { Put32(&raw[106], v); }
  uint32_t NextFree() const { return Get32(&raw[110]); }
  void SetNextFree(uint32_t v) { Put32(&raw[110], v); }

  // The header of a new file whose four roots start at firstRoot, followed
  // by the first data block and the first free block.
  static DicHeader New(uint32_t firstRoot = kFirstRoot);
  // Tag "HEAD " and version "002".
  bool Recognised() const;
  // 0, or kErrUnusable for a header this engine cannot work with: tag,
  // version, geometry, or block offsets outside a file of fileSize bytes.
  int Check(uint64_t fileSize) const;
};

// An index node, with room for one entry past its capacity, which an insert
// into a full node needs before the split.
class DicIndexNode {
 public:
  static constexpr size_t kBufferSize = kBlockSize + 64;

  void Init(int tree);  // empty node of the tree
  // Takes the node bytes of a block and checks tag, width, count, key
  // terminators and entry kinds; false for a node that cannot be used.
  bool Load(int tree, const uint8_t* block);
  // The block to write: the node's bytes, zero beyond them.
  void Store(uint8_t* block) const;

  int Tree() const { return tree_; }
  const TreeShape& Shape() const { return dic::Shape(tree_); }
  uint16_t Count() const { return Get16(&b_[7]); }
  uint32_t Prev() const { return Get32(&b_[9]); }
  uint32_t Next() const { return Get32(&b_[13]); }
  void SetPrev(uint32_t v) { Put32(&b_[9], v); }
  void SetNext(uint32_t v) { Put32(&b_[13], v); }
  uint32_t Child(size_t i) const { return Get32(Entry(i)); }
  uint32_t Record(size_t i) const { return Get32(Entry(i) + 4); }
  const char* Key(size_t i) const { return reinterpret_cast<const char*>(Entry(i) + 8); }
  bool IsLeafEntry(size_t i) const { return Record(i) != 0; }
  // A node of leaf entries; an empty node counts as a leaf.
  bool IsLeaf() const { return Count() == 0 || IsLeafEntry(0); }

  // Inserts at index i (0..Count()); the caller keeps Count() <= capacity.
  void Insert(size_t i, uint32_t child, uint32_t record, std::string_view key);
  void SetKey(size_t i, std::string_view key);
  void SwapEntries(size_t i, size_t j);
  void SwapEntries(size_t i, DicIndexNode& other, size_t j);
  // Moves the first n entries into the empty node `low`; this node keeps the rest.
  void SplitLow(size_t n, DicIndexNode& low);

 private:
  uint8_t* Entry(size_t i) { return &b_[TreeShape::kNodeHead + i * Shape().entrySize]; }
  const uint8_t* Entry(size_t i) const { return &b_[TreeShape::kNodeHead + i * Shape().entrySize]; }
  void SetCount(uint16_t v) { Put16(&b_[7], v); }

  int tree_ = 0;
  std::array<uint8_t, kBufferSize> b_{};
};

// A record as stored: head, word and reading.
struct DicRecord {
  uint16_t value = 0;
  uint8_t kind = 0;
  uint8_t state = ' ';  // ' ' live, '*' deleted
  std::string word;
  std::string reading;
  bool Deleted() const { return state == '*'; }
  size_t Size() const { return reading.size() + word.size() + 12; }
};

// A data block, kept as its bytes.
struct DicDataBlock {
  static constexpr size_t kHead = 9;
  static constexpr size_t kArea = kBlockSize - kHead;  // 503
  static constexpr size_t kRecordHead = 10;
  std::array<uint8_t, kBlockSize> raw{};

  void Init();
  bool Check() const;  // tag and bytes used
  uint16_t Records() const { return Get16(&raw[5]); }
  uint16_t Used() const { return Get16(&raw[7]); }
  // The record at a position in the record area; false for a record that
  // does not lie within the bytes used or whose fields disagree.
  bool Read(size_t pos, DicRecord& out) const;
  bool Fits(const DicRecord& r) const { return Used() + r.Size() <= kArea; }
  // Appends a record that fits; its position in the record area.
  size_t Append(const DicRecord& r);
  // Sets the state byte of the record at pos (which Read accepted).
  void SetState(size_t pos, uint8_t state) { raw[kHead + pos + 9] = state; }
};

// The bytes of a new, empty dictionary file: the header, four empty roots
// from firstRoot on and an empty data block after them.
std::vector<uint8_t> NewDictionaryImage(uint32_t firstRoot = kFirstRoot);

}  // namespace ime::dic
