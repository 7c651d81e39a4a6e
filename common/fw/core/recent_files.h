// The recent-file list of a document program: the last files opened or
// saved, newest first, kept in the profile, shown in the file menu as
// "&1 name" items with commands from kFirstRecentFile on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "profile.h"

namespace fw {

namespace cmd {
inline constexpr unsigned kFirstRecentFile = 57616;  // ..57631
inline constexpr unsigned kLastRecentFile = 57631;
}  // namespace cmd

inline constexpr std::u16string_view kRecentFileSection = u"Recent File List";
// The longest name a menu item shows before the path is shortened.
inline constexpr size_t kRecentNameLength = 30;

// A path shortened to at most maxLength characters: the whole path when it
// fits; else its volume ("C:" or "\\server\share", with the first folder
// when there is one more), "\..." and as many of the last folders as fit
// before the file name; when not even "<volume>\...\<name>" fits, the file
// name alone (with atLeastName) or nothing.
std::u16string AbbreviatePath(std::u16string_view path, size_t maxLength, bool atLeastName = true);

// The text of a recent-file menu item: "&<index + 1> " and the name, with
// every "&" of it doubled. A file in the current folder shows its file name
// alone; others their path shortened to kRecentNameLength.
std::u16string RecentFileMenuText(std::u16string_view path, size_t index, std::u16string_view currentFolder);

class RecentFileList {
 public:
  explicit RecentFileList(size_t size) : size_(size) {}

  size_t Size() const { return size_; }
  const std::vector<std::u16string>& Entries() const { return entries_; }
  // The path becomes the first entry: moved up when it is there already (the
  // same path without regard to case), else added, the oldest dropped.
  void Add(std::u16string_view path);
  void Remove(size_t index);
  // The entry of a command (kFirstRecentFile + index); empty when none.
  std::u16string_view EntryOfCommand(unsigned id) const;

  // "File1".."FileN" of the section; empty values are passed over.
  void Read(Profile& profile);
  // The section written anew: the entries as "File1".., nothing else.
  bool Write(Profile& profile) const;

 private:
  size_t size_;
  std::vector<std::u16string> entries_;
};

}  // namespace fw
