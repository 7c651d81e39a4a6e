// The contents tree and the word search of the listening program, over the
// Shift-JIS texts of the scans: item labels, the search words, the
// character-wise find, and the level rules by which heading rows nest. The
// tree control stands behind ContentsTree so that the rules are tested on a
// tree of our own.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "example_db.h"

namespace ferlin {

// True for the Shift-JIS lead bytes 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsSjisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Bytes of the character at offset: 2 for a lead byte followed by another
// byte, else 1 (a lead byte at the very end is one byte, so a walk never
// steps past the text).
size_t SjisCharLength(std::string_view text, size_t offset);

// A Japanese sentence of at most 30 bytes as it is; a longer one cut to its
// longest prefix of whole characters of at most 29 bytes, then "...".
std::string MakeItemLabel(std::string_view japanese);

// Whether needle occurs in text starting on a character boundary of text
// (a needle never matches from a trail byte). An empty needle is found.
bool SjisContains(std::string_view text, std::string_view needle);

inline constexpr int kMaxSearchWords = 5;
struct SearchTerms {
  std::array<std::string, kMaxSearchWords> words;
  int count = 0;      // position of the last non-empty word + 1
  std::string query;  // the query, rewritten as the words joined by one blank when count >= 2
};
// Splits a query at half-width (0x20) and full-width (0x81 0x40) blanks into
// at most five words; text after the fifth word is ignored.
SearchTerms SplitSearchWords(std::string_view query);

// Word modes of the search (AndOrSel).
inline constexpr int kAllWords = 0;
inline constexpr int kAnyWord = 1;
// Whether a Japanese sentence matches the words: any word (kAnyWord) or
// every word (any other mode; with no words every sentence matches).
bool MatchesWords(std::string_view japanese, const SearchTerms& words, int andOrSel);

// The tree the contents are built into: nodes are opaque, kTopLevel stands
// for the control's top level.
class ContentsTree {
 public:
  using Node = uintptr_t;
  static constexpr Node kTopLevel = 0;
  virtual ~ContentsTree() = default;
  virtual bool HasItems() = 0;
  // Collapses the root and deletes every item.
  virtual void Clear() = 0;
  // Inserts label as the last child of parent (kTopLevel: at the top
  // level); expanded opens it. Returns the new node (kTopLevel when the
  // control refused it).
  virtual Node InsertLast(Node parent, const std::string& label, long data, bool expanded) = 0;
  // The parent of a node, kTopLevel for a top-level one.
  virtual Node ParentOf(Node node) = 0;
};

// The root's text of the full contents: "目次" in code page 932.
inline constexpr char kContentsRootLabel[] = "\x96\xda\x8e\x9f";

// Builds the contents row by row, in "ID" order.
class ContentsBuilder {
 public:
  // Clears the tree when it holds items, inserts the root (expanded, data 0)
  // and makes it the current parent.
  ContentsBuilder(ContentsTree& tree, const std::string& rootLabel);
  // An item row (item number not empty) goes under the current parent with
  // its label and ItemDataOf its number; a heading row climbs as many levels
  // as its Japanese sentence says (atoi, held to the int range; the climb
  // ends at the top level once it passes the root), goes in as the last
  // child there and becomes the current parent.
  void AddRow(const ExampleItemRow& row);
  ContentsTree::Node Root() const { return root_; }
  ContentsTree::Node CurrentParent() const { return parent_; }

 private:
  ContentsTree& tree_;
  ContentsTree::Node root_;
  ContentsTree::Node parent_;
};

// The number of levels a heading row climbs: its Japanese sentence read as
// atoi reads it, held to the int range; 0 for an empty or non-numeric text,
// and a negative count climbs nothing.
int HeadingClimb(std::string_view japanese);

}  // namespace ferlin
