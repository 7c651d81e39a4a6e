#include "page_set.h"

#include <algorithm>

namespace brisel {

editorview::PageSettings LoadPageSet(ProfileStore& profile) {
  const editorview::PageSettings d = editorview::DefaultPageSettings();
  editorview::PageSettings s;
  const auto margin = [&](const char* key, int fallback) {
    return std::max(profile.GetInt(kPageSetSection, key, fallback), 0);
  };
  s.leftMargin = margin(kLeftMarginKey, d.leftMargin);
  s.rightMargin = margin(kRightMarginKey, d.rightMargin);
  s.topMargin = margin(kTopMarginKey, d.topMargin);
  s.bottomMargin = margin(kBottomMarginKey, d.bottomMargin);
  s.header = profile.GetString(kPageSetSection, kHeaderKey, d.header);
  s.footer = profile.GetString(kPageSetSection, kFooterKey, d.footer);
  return s;
}

bool SavePageSet(ProfileStore& profile, const editorview::PageSettings& s) {
  bool ok = profile.WriteInt(kPageSetSection, kLeftMarginKey, s.leftMargin);
  ok = profile.WriteInt(kPageSetSection, kRightMarginKey, s.rightMargin) && ok;
  ok = profile.WriteInt(kPageSetSection, kTopMarginKey, s.topMargin) && ok;
  ok = profile.WriteInt(kPageSetSection, kBottomMarginKey, s.bottomMargin) && ok;
  ok = profile.WriteString(kPageSetSection, kHeaderKey, s.header) && ok;
  ok = profile.WriteString(kPageSetSection, kFooterKey, s.footer) && ok;
  return ok;
}

long MarginToHundredths(int millimetres) { return static_cast<long>(std::max(millimetres, 0)) * 100; }

int MarginFromHundredths(long hundredths) { return hundredths > 0 ? static_cast<int>(hundredths / 100) : 0; }

}  // namespace brisel
