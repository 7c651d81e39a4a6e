#include "contents.h"

#include <string>

#include "shared_settings.h"

namespace ferlin {

size_t SjisCharLength(std::string_view text, size_t offset) {
  if (offset + 1 < text.size() && IsSjisLeadByte(static_cast<unsigned char>(text[offset]))) return 2;
  return 1;
}

std::string MakeItemLabel(std::string_view japanese) {
  constexpr size_t kWhole = 30;
  constexpr size_t kCut = 29;
  if (japanese.size() <= kWhole) return std::string(japanese);
  size_t end = 0;
  while (end < japanese.size()) {
    const size_t next = end + SjisCharLength(japanese, end);
    if (next > kCut) break;
    end = next;
  }
  std::string label(japanese.substr(0, end));
  label += "...";
  return label;
}

bool SjisContains(std::string_view text, std::string_view needle) {
  if (needle.empty()) return true;
  for (size_t at = 0; at < text.size(); at += SjisCharLength(text, at)) {
    if (text.size() - at < needle.size()) return false;
    if (text.compare(at, needle.size(), needle) == 0) return true;
  }
  return false;
}

namespace {

// The first blank on a character boundary at or after from: its offset and
// its length in bytes, or npos.
std::pair<size_t, size_t> FindSeparator(std::string_view text) {
  for (size_t at = 0; at < text.size(); at += SjisCharLength(text, at)) {
    if (text[at] == ' ') return {at, 1};
    if (SjisCharLength(text, at) == 2 && static_cast<unsigned char>(text[at]) == 0x81 &&
        static_cast<unsigned char>(text[at + 1]) == 0x40)
      return {at, 2};
  }
  return {std::string_view::npos, 0};
}

}  // namespace

SearchTerms SplitSearchWords(std::string_view query) {
  SearchTerms out;
  out.query = std::string(query);
  std::string_view rest = query;
  int taken = 0;
  if (FindSeparator(rest).first == std::string_view::npos) {
    out.words[taken++] = std::string(rest);
  } else {
    while (taken < kMaxSearchWords) {
      const auto [p, length] = FindSeparator(rest);
      if (p == std::string_view::npos) {
        out.words[taken++] = std::string(rest);
        break;
      }
      if (p > 0) out.words[taken++] = std::string(rest.substr(0, p));
      rest.remove_prefix(p + length);
    }
  }
  for (int i = kMaxSearchWords - 1; i >= 0; --i) {
    if (!out.words[i].empty()) {
      out.count = i + 1;
      break;
    }
  }
  if (out.count >= 2) {
    std::string joined;
    for (int i = 0; i < out.count; ++i) {
      if (i > 0) joined += ' ';
      joined += out.words[i];
    }
    out.query = joined;
  }
  return out;
}

bool MatchesWords(std::string_view japanese, const SearchTerms& words, int andOrSel) {
  if (andOrSel == kAnyWord) {
    for (int i = 0; i < words.count; ++i)
      if (SjisContains(japanese, words.words[i])) return true;
    return false;
  }
  for (int i = 0; i < words.count; ++i)
    if (!SjisContains(japanese, words.words[i])) return false;
  return true;
}

int HeadingClimb(std::string_view japanese) {
  const std::string text(japanese);
  return settings::ParseDecimal(text.c_str());
}

ContentsBuilder::ContentsBuilder(ContentsTree& tree, const std::string& rootLabel) : tree_(tree) {
  if (tree_.HasItems()) tree_.Clear();
  root_ = tree_.InsertLast(ContentsTree::kTopLevel, rootLabel, 0, true);
  parent_ = root_;
}

void ContentsBuilder::AddRow(const ExampleItemRow& row) {
  if (!row.itemNumber.empty()) {
    tree_.InsertLast(parent_, MakeItemLabel(row.japanese), ItemDataOf(row.itemNumber), false);
    return;
  }
  ContentsTree::Node at = parent_;
  for (int n = HeadingClimb(row.japanese); n > 0 && at != ContentsTree::kTopLevel; --n) at = tree_.ParentOf(at);
  const ContentsTree::Node heading = tree_.InsertLast(at, row.headingText, 0, false);
  // A heading the control refused leaves the current parent where it was.
  if (heading != ContentsTree::kTopLevel) parent_ = heading;
}

}  // namespace ferlin
