// Which keyboard layout makes this input method the thread's active one
// again: the first layout whose input-method file is our own file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ime {

struct LayoutFile {
  uintptr_t layout = 0;
  std::string imeFile;  // as the input method manager reports it (may be a path)
};

constexpr size_t kMaxLayouts = 100;

// Index into layouts of the layout to activate, or -1 when the active one is
// already ours or none of the first kMaxLayouts is. Names are compared by
// their file-name part, upper-cased.
int OwnLayoutToActivate(const std::string& activeImeFile, const std::vector<LayoutFile>& layouts,
                        const std::string& ownFileName);

}  // namespace ime
