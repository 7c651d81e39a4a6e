#include "window_placement.h"

#include <algorithm>

namespace brisel {

namespace {

bool ReadNumber(std::u16string_view text, size_t& i, int& out) {
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  const size_t start = i;
  long long value = 0;
  while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
    value = value * 10 + (text[i++] - u'0');
    if (value > 1000000000) return false;  // no screen is that large
  }
  if (i == start) return false;
  while (i < text.size() && text[i] == u' ') ++i;
  out = static_cast<int>(negative ? -value : value);
  return true;
}

}  // namespace

std::optional<PlaceRect> ParseWindowRect(std::u16string_view text) {
  int v[4] = {};
  size_t i = 0;
  for (int n = 0; n < 4; ++n) {
    if (n > 0) {
      if (i >= text.size() || text[i] != u',') return std::nullopt;
      ++i;
    }
    if (!ReadNumber(text, i, v[n])) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  const PlaceRect r{v[0], v[1], v[2], v[3]};
  if (r.right <= r.left || r.bottom <= r.top) return std::nullopt;
  return r;
}

std::u16string FormatWindowRect(const PlaceRect& r) {
  const std::string s =
      std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," + std::to_string(r.bottom);
  return std::u16string(s.begin(), s.end());
}

PlaceRect DefaultWindowRect(const ScreenMetrics& s) {
  const int w = std::min(s.vscrollWidth + 80 * s.dialogBaseWidth + 4 * s.frameWidth, s.fullScreenWidth);
  const int h = s.fullScreenHeight * 9 / 10;
  return {0, 0, w, h};
}

PlaceRect ClampToWorkArea(const PlaceRect& rect, const PlaceRect& work) {
  if (work.right <= work.left || work.bottom <= work.top) return rect;
  // No larger than the work area, then moved into it.
  PlaceRect cut = rect;
  cut.right = cut.left + std::min(rect.right - rect.left, work.right - work.left);
  cut.bottom = cut.top + std::min(rect.bottom - rect.top, work.bottom - work.top);
  return fw::MoveInto(cut, work);
}

int FirstShowCommand(int requested, int stored) {
  if (requested != kShowNormal) return requested;
  return stored == kShowNormal || stored == kShowMaximized ? stored : kShowNormal;
}

WindowPlacementPlan PlanWindowPlacement(fw::Profile& profile, int requestedShow, const ScreenMetrics& screen) {
  WindowPlacementPlan plan;
  const auto stored = ParseWindowRect(profile.GetString(kWindowSection, u"Rect", u""));
  plan.normal = stored ? ClampToWorkArea(*stored, screen.workArea) : DefaultWindowRect(screen);
  plan.showCmd = FirstShowCommand(requestedShow, profile.GetInt(kWindowSection, u"showCmd", kShowNormal));
  plan.restoreToMaximized = plan.showCmd != kShowNormal;
  plan.maxX = -screen.borderWidth;
  plan.maxY = -screen.borderHeight;
  plan.toolBar = profile.GetInt(kWindowSection, u"tool", 1) != 0;
  plan.statusBar = profile.GetInt(kWindowSection, u"status", 1) != 0;
  return plan;
}

bool WriteWindowPlacement(fw::Profile& profile, const PlaceRect& normal, int showCmd, bool toolBar, bool statusBar) {
  bool ok = profile.WriteString(kWindowSection, u"Rect", FormatWindowRect(normal));
  ok = profile.WriteInt(kWindowSection, u"showCmd", showCmd) && ok;
  ok = profile.WriteInt(kWindowSection, u"tool", toolBar ? 1 : 0) && ok;
  ok = profile.WriteInt(kWindowSection, u"status", statusBar ? 1 : 0) && ok;
  return ok;
}

}  // namespace brisel
