#include "dic_list.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace workbench {
namespace {

std::string ListedSource(const DicCandidateRecord& r) {
  return std::string(r.listedSource, strnlen(r.listedSource, sizeof r.listedSource));
}

}  // namespace

int DicListPager::DigitArgument(bool backward) const {
  const int low = static_cast<uint8_t>(digit_);
  return backward ? static_cast<int>(0xFFFFFF00u | static_cast<unsigned>(low)) : low;
}

int DicListPager::Read(int start, int step, int count, std::vector<DicCandidateRecord>& out) {
  out.assign(static_cast<std::size_t>(std::max(count, 1)), DicCandidateRecord{});
  out[0].number = start;
  const int n = engine_.ListData(name_, DigitArgument(step < 0), step, out.data(), count);
  out.resize(n > 0 ? static_cast<std::size_t>(std::min(n, count)) : 0);
  return n;
}

bool DicListPager::Open() {
  int count = 0;
  std::string name = name_;
  digit_ = '0';
  if (engine_.GetUserDicInfo(digit_, name, count) < 0 || count < 0) return false;
  total_ = count;
  firstRow_ = 0;
  rows_.clear();
  selection_ = -1;
  if (total_ == 0) return true;
  std::vector<DicCandidateRecord> read;
  if (Read(-1, 2, kListPageRows, read) <= 0) return true;
  rows_ = std::move(read);
  firstRow_ = 1;
  selection_ = 0;
  return true;
}

void DicListPager::Select(int row) {
  if (rows_.empty()) {
    selection_ = -1;
    return;
  }
  selection_ = std::clamp(row, 0, static_cast<int>(rows_.size()) - 1);
}

bool DicListPager::PageForward() {
  if (rows_.empty() || !CanPageForward()) return false;
  std::vector<DicCandidateRecord> read;
  if (Read(rows_.back().number, 2, kListPageRows, read) <= 0) return false;
  rows_ = std::move(read);
  firstRow_ += kListPageRows;
  Select(selection_);
  return true;
}

bool DicListPager::PageBackward() {
  if (rows_.empty() || !CanPageBackward()) return false;
  std::vector<DicCandidateRecord> read;
  const int wanted = std::min(kListPageRows, firstRow_ - 1);
  if (Read(rows_.front().number, -2, wanted, read) <= 0) return false;
  std::reverse(read.begin(), read.end());  // the engine reads backward nearest first
  rows_ = std::move(read);
  firstRow_ = std::max(1, firstRow_ - kListPageRows);
  Select(selection_);
  return true;
}

bool DicListPager::MoveUp() {
  if (rows_.empty()) return false;
  if (selection_ > 0) {
    --selection_;
    return true;
  }
  if (firstRow_ <= 1) return false;
  std::vector<DicCandidateRecord> read;
  if (Read(rows_.front().number, -2, 1, read) <= 0) return false;
  rows_.insert(rows_.begin(), read[0]);
  if (rows_.size() > static_cast<std::size_t>(kListPageRows)) rows_.pop_back();
  --firstRow_;
  selection_ = 0;
  return true;
}

bool DicListPager::MoveDown() {
  if (rows_.empty()) return false;
  if (selection_ + 1 < static_cast<int>(rows_.size())) {
    ++selection_;
    return true;
  }
  if (firstRow_ + static_cast<int>(rows_.size()) - 1 >= total_) return false;
  std::vector<DicCandidateRecord> read;
  if (Read(rows_.back().number, 2, 1, read) <= 0) return false;
  rows_.push_back(read[0]);
  if (rows_.size() > static_cast<std::size_t>(kListPageRows)) {
    rows_.erase(rows_.begin());
    ++firstRow_;
  }
  selection_ = static_cast<int>(rows_.size()) - 1;
  return true;
}

int DicListPager::DeleteSelected() {
  if (selection_ < 0 || selection_ >= static_cast<int>(rows_.size())) return -1;
  DicCandidateRecord record = rows_[static_cast<std::size_t>(selection_)];
  const int deleted = record.number;
  const int result = engine_.UpdateUserDic(name_, digit_, record, 2);
  if (result < 0) return result;  // nothing deleted: the page stays as it is
  changed_ = true;
  --total_;
  rows_.erase(rows_.begin() + selection_);
  // Entry numbers are places: those after the deleted one move up by one.
  for (DicCandidateRecord& r : rows_)
    if (r.number > deleted) --r.number;
  const int shownEnd = firstRow_ + static_cast<int>(rows_.size()) - 1;  // place of the last row shown
  std::vector<DicCandidateRecord> read;
  if (shownEnd < total_) {
    // More entries follow: the next one fills the page's end.
    const int after = rows_.empty() ? deleted - 1 : rows_.back().number;
    if (Read(after, 2, 1, read) > 0) rows_.push_back(read[0]);
  } else if (rows_.empty() && total_ > 0) {
    // The page's only row was the dictionary's last entry: show the one before it.
    if (Read(deleted, -2, 1, read) > 0) {
      rows_.push_back(read[0]);
      firstRow_ = std::max(1, firstRow_ - 1);
    }
  }
  if (total_ == 0 || rows_.empty()) {
    rows_.clear();
    firstRow_ = 0;
    selection_ = -1;
  } else {
    Select(selection_);
  }
  return 0;
}

DicListPager::Found DicListPager::Find(const std::string& sjis) {
  Found found;
  if (sjis.empty()) return found;
  int start = -1;
  for (;;) {
    std::vector<DicCandidateRecord> page;
    if (Read(start, 2, kListPageRows, page) <= 0) return found;
    for (const DicCandidateRecord& r : page) {
      const std::string source = ListedSource(r);
      if (source == sjis) {
        if (found.count == 0) found.number = r.number;
        ++found.count;
        continue;
      }
      if (found.count > 0) return found;  // the equal entries end here
      if (std::strncmp(source.c_str(), sjis.c_str(), sjis.size()) > 0) return found;  // sorts after: none
    }
    start = page.back().number;
  }
}

bool DicListPager::ShowEntry(int number) {
  if (number < 1 || number > total_) return false;
  const int first = std::max(1, number - 2);
  std::vector<DicCandidateRecord> read;
  if (Read(first, 1, kListPageRows, read) <= 0) return false;
  rows_ = std::move(read);
  firstRow_ = first;
  Select(number - first);
  return true;
}

std::string DicListPager::RowNumberText() const {
  char text[16];
  std::snprintf(text, sizeof text, "%5d", selection_ < 0 ? 0 : firstRow_ + selection_);
  return text;
}

std::string FoundMessage(int count) {
  if (count <= 0) return "指定された文字列が見つかりません";
  return "指定された文字列が " + std::to_string(count) + " 個見つかりました";
}

}  // namespace workbench
