#include "recent_files.h"

#include <algorithm>
#include <string>

namespace fw {

namespace {

char16_t Fold(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool SamePath(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Fold(x) == Fold(y); });
}

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

std::u16string Key(size_t index) {
  const std::string digits = std::to_string(index + 1);
  return u"File" + std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string AbbreviatePath(std::u16string_view path, size_t maxLength, bool atLeastName) {
  if (path.size() <= maxLength) return std::u16string(path);
  size_t nameStart = path.size();
  while (nameStart > 0 && !IsSeparator(path[nameStart - 1]) && path[nameStart - 1] != u':') --nameStart;
  const std::u16string_view name = path.substr(nameStart);
  const std::u16string onlyName = atLeastName ? std::u16string(name) : std::u16string();
  if (maxLength < name.size()) return onlyName;

  // The volume: "C:" or "\\server\share", then the first folder when the
  // name does not sit right in the root.
  size_t volume = 2;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    while (volume < path.size() && !IsSeparator(path[volume])) ++volume;
  }
  if (volume >= nameStart) return onlyName;  // no folder to leave out
  if (nameStart > 3) {
    size_t next = volume + 1;
    while (next < nameStart && !IsSeparator(path[next])) ++next;
    if (next < nameStart) volume = next;
  }
  constexpr std::u16string_view kEllipsis = u"\\...";
  if (maxLength < volume + kEllipsis.size() + 1 + name.size()) return onlyName;
  // The shortest tail "\<folders>\<name>" that fits after the volume and the
  // ellipsis; the name's own separator always stays.
  size_t tail = volume;
  while (volume + kEllipsis.size() + (path.size() - tail) > maxLength) {
    ++tail;
    while (tail < nameStart && !IsSeparator(path[tail])) ++tail;
    if (tail >= nameStart) {
      tail = nameStart - 1;
      break;
    }
  }
  return std::u16string(path.substr(0, volume)) + std::u16string(kEllipsis) + std::u16string(path.substr(tail));
}

std::u16string RecentFileMenuText(std::u16string_view path, size_t index, std::u16string_view currentFolder) {
  std::u16string_view folder = currentFolder;
  while (!folder.empty() && IsSeparator(folder.back())) folder.remove_suffix(1);
  size_t nameStart = path.size();
  while (nameStart > 0 && !IsSeparator(path[nameStart - 1])) --nameStart;
  std::u16string shown;
  if (!folder.empty() && nameStart > 0 && SamePath(path.substr(0, nameStart - 1), folder)) {
    shown = std::u16string(path.substr(nameStart));
  } else {
    shown = AbbreviatePath(path, kRecentNameLength);
  }
  const std::string number = std::to_string(index + 1);
  std::u16string text = u"&" + std::u16string(number.begin(), number.end()) + u" ";
  for (char16_t c : shown) {
    if (c == u'&') text.push_back(u'&');
    text.push_back(c);
  }
  return text;
}

void RecentFileList::Add(std::u16string_view path) {
  if (path.empty() || size_ == 0) return;
  auto it = std::find_if(entries_.begin(), entries_.end(), [&](const std::u16string& e) { return SamePath(e, path); });
  if (it != entries_.end()) entries_.erase(it);
  entries_.insert(entries_.begin(), std::u16string(path));
  if (entries_.size() > size_) entries_.resize(size_);
}

void RecentFileList::Remove(size_t index) {
  if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::u16string_view RecentFileList::EntryOfCommand(unsigned id) const {
  if (id < cmd::kFirstRecentFile || id > cmd::kLastRecentFile) return {};
  const size_t index = id - cmd::kFirstRecentFile;
  return index < entries_.size() ? std::u16string_view(entries_[index]) : std::u16string_view();
}

void RecentFileList::Read(Profile& profile) {
  entries_.clear();
  for (size_t i = 0; i < size_; ++i) {
    std::u16string path = profile.GetString(kRecentFileSection, Key(i), u"");
    if (!path.empty()) entries_.push_back(std::move(path));
  }
}

bool RecentFileList::Write(Profile& profile) const {
  bool ok = profile.RemoveSection(kRecentFileSection);
  for (size_t i = 0; i < entries_.size(); ++i) ok = profile.WriteString(kRecentFileSection, Key(i), entries_[i]) && ok;
  return ok;
}

}  // namespace fw
