#include "own_layout.h"

#include "ime_config.h"

namespace ime {

int OwnLayoutToActivate(const std::string& activeImeFile, const std::vector<LayoutFile>& layouts,
                        const std::string& ownFileName) {
  const std::string own = OwnFileName(ownFileName);
  if (own.empty() || OwnFileName(activeImeFile) == own) return -1;
  for (size_t i = 0; i < layouts.size() && i < kMaxLayouts; ++i) {
    if (OwnFileName(layouts[i].imeFile) == own) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace ime
