#include "dic_check.h"

#include <cstdio>
#include <set>

namespace ime::dic {

namespace {

class Checker {
 public:
  Checker(const std::vector<uint8_t>& bytes, std::vector<DicEntry>* entries) : b_(bytes), entries_(entries) {}

  std::string Run(DicTreeShapeInfo* shapes) {
    if (b_.size() < kBlockSize) return "file shorter than a block";
    std::memcpy(h_.raw.data(), b_.data(), kBlockSize);
    if (h_.Check(b_.size()) != 0) return "header refused";
    if (b_.size() % kBlockSize != 0) return "file size not a multiple of the block size";
    uint64_t live = 0;
    for (int t = 0; t < kTreeCount; ++t) {
      tree_ = t;
      levels_.clear();
      liveInTree_ = 0;
      entriesInTree_ = 0;
      std::string maxKey;
      if (!Walk(h_.Root(t), 0, &maxKey)) return fault_;
      if (!CheckLinks()) return fault_;
      if (h_.TreeCount(t) != liveInTree_) {
        return Fault("tree %d: header counts %u, tree holds %u live entries", t, h_.TreeCount(t), liveInTree_);
      }
      live += liveInTree_;
      if (shapes) {
        shapes[t].depth = static_cast<int>(levels_.size());
        shapes[t].nodes = 0;
        for (const auto& l : levels_) shapes[t].nodes += static_cast<uint32_t>(l.size());
        shapes[t].entries = entriesInTree_;
      }
    }
    if (h_.LiveCount() != live) return Fault("header live count %u, trees hold %llu", h_.LiveCount(), (unsigned long long)live);
    return "";
  }

 private:
  template <typename... A>
  std::string Fault(const char* format, A... args) {
    char text[256];
    std::snprintf(text, sizeof text, format, args...);
    fault_ = text;
    return fault_;
  }

  bool LoadNode(uint32_t offset, DicIndexNode& n) {
    if (!IsBlockIn(offset, b_.size())) return Fault("tree %d: node offset %u outside the file", tree_, offset), false;
    if (!seen_.insert(offset).second) return Fault("tree %d: block %u reached twice", tree_, offset), false;
    if (!n.Load(tree_, &b_[offset])) return Fault("tree %d: node %u refused", tree_, offset), false;
    return true;
  }

  bool Walk(uint32_t offset, int depth, std::string* maxKey) {
    if (depth >= 8) return Fault("tree %d: deeper than 8 levels", tree_), false;
    DicIndexNode n;
    if (!LoadNode(offset, n)) return false;
    if (static_cast<int>(levels_.size()) <= depth) levels_.resize(depth + 1);
    levels_[depth].push_back({offset, n.Prev(), n.Next()});
    const TreeShape& s = Shape(tree_);
    if (n.Count() >= s.capacity) return Fault("tree %d: node %u holds %u entries", tree_, offset, n.Count()), false;
    if (n.Count() == 0 && !(depth == 0 && n.IsLeaf())) return Fault("tree %d: empty node %u", tree_, offset), false;
    for (size_t i = 1; i < n.Count(); ++i) {
      if (DicCompareKeys(n.Key(i - 1), n.Key(i)) > 0) return Fault("tree %d: node %u keys out of order at %zu", tree_, offset, i), false;
    }
    if (n.IsLeaf()) {
      if (leafDepth_ < 0 || depth == 0) leafDepth_ = depth;
      if (depth != leafDepth_) return Fault("tree %d: leaf %u at depth %d, others at %d", tree_, offset, depth, leafDepth_), false;
      for (size_t i = 0; i < n.Count(); ++i) {
        if (!lastKey_.empty() && DicCompareKeys(lastKey_.c_str(), n.Key(i)) > 0) {
          return Fault("tree %d: leaf %u starts below the leaf before it", tree_, offset), false;
        }
        lastKey_ = n.Key(i);
        DicEntry e;
        if (!ReadRecord(n.Record(i), e)) return Fault("tree %d: record %u of leaf %u unreadable", tree_, n.Record(i), offset), false;
        if (e.reading != n.Key(i)) return Fault("tree %d: record %u reading differs from its key", tree_, n.Record(i)), false;
        if (TreeForReading(e.reading.size()) != tree_) return Fault("tree %d: reading of %zu bytes", tree_, e.reading.size()), false;
        ++entriesInTree_;
        if (e.state != '*') ++liveInTree_;
        if (entries_) entries_->push_back(std::move(e));
      }
    } else {
      for (size_t i = 0; i < n.Count(); ++i) {
        std::string childMax;
        if (!Walk(n.Child(i), depth + 1, &childMax)) return false;
        if (childMax != n.Key(i)) {
          return Fault("tree %d: routing key %zu of node %u is not the highest key of its child", tree_, i, offset), false;
        }
      }
    }
    *maxKey = n.Count() > 0 ? n.Key(n.Count() - 1u) : "";
    return true;
  }

  bool ReadRecord(uint32_t offset, DicEntry& e) {
    const uint32_t block = offset / kBlockSize * kBlockSize;
    if (!IsBlockIn(block, b_.size()) || offset - block < DicDataBlock::kHead) return false;
    DicDataBlock d;
    std::memcpy(d.raw.data(), &b_[block], kBlockSize);
    DicRecord r;
    if (!d.Check() || !d.Read(offset - block - DicDataBlock::kHead, r)) return false;
    e.tree = tree_;
    e.reading = r.reading;
    e.word = r.word;
    e.value = r.value;
    e.kind = r.kind;
    e.state = r.state;
    return true;
  }

  bool CheckLinks() {
    for (size_t d = 0; d < levels_.size(); ++d) {
      const auto& l = levels_[d];
      for (size_t i = 0; i < l.size(); ++i) {
        const uint32_t prev = i > 0 ? l[i - 1].offset : 0;
        const uint32_t next = i + 1 < l.size() ? l[i + 1].offset : 0;
        if (l[i].prev != prev || l[i].next != next) {
          return Fault("tree %d level %zu: links of node %u are %u/%u, should be %u/%u", tree_, d, l[i].offset,
                       l[i].prev, l[i].next, prev, next), false;
        }
      }
    }
    lastKey_.clear();
    leafDepth_ = -1;
    return true;
  }

  struct Placed {
    uint32_t offset, prev, next;
  };
  const std::vector<uint8_t>& b_;
  std::vector<DicEntry>* entries_;
  DicHeader h_;
  int tree_ = 0;
  std::vector<std::vector<Placed>> levels_;
  std::set<uint32_t> seen_;
  std::string lastKey_;
  int leafDepth_ = -1;
  uint32_t liveInTree_ = 0;
  uint32_t entriesInTree_ = 0;
  std::string fault_;
};

}  // namespace

std::string DicCheckImage(const std::vector<uint8_t>& bytes, std::vector<DicEntry>* entries, DicTreeShapeInfo* shapes) {
  Checker c(bytes, entries);
  return c.Run(shapes);
}

}  // namespace ime::dic
