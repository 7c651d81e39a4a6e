#include "ime_layouts.h"

#include <algorithm>

namespace codeconv {

namespace {

constexpr size_t kEditionPrefix = 5;
constexpr std::string_view kNeverByPrefix[] = {"TILBEN95.IME", "ZORARER2.OVI"};

// Names answered without the installed layouts.
bool IsFixedName(std::string_view fileName) { return fileName.empty() || fileName == kTextServicesName; }

char Fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b, size_t limit) {
  for (size_t i = 0; i < limit; ++i) {
    const char x = i < a.size() ? Fold(a[i]) : '\0';
    const char y = i < b.size() ? Fold(b[i]) : '\0';
    if (x != y) return false;
    if (x == '\0') return true;
  }
  return true;
}

std::string_view FileNamePart(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

uintptr_t SelectImeLayout(std::string_view fileName, std::span<const ImeLayoutEntry> layouts) {
  if (fileName == kTextServicesName) return kTextServicesLayout;
  if (fileName.empty()) return 0;
  const auto examined = layouts.first(std::min(layouts.size(), kMaxExaminedLayouts));
  for (const ImeLayoutEntry& e : examined) {
    if (EqualIgnoringCase(e.fileName, fileName)) return e.layout;
  }
  for (const ImeLayoutEntry& e : examined) {
    const bool excluded = std::any_of(std::begin(kNeverByPrefix), std::end(kNeverByPrefix),
                                      [&](std::string_view n) { return EqualIgnoringCase(e.fileName, n); });
    if (!excluded && EqualIgnoringCase(e.fileName, fileName, kEditionPrefix)) return e.layout;
  }
  return 0;
}

uintptr_t FindImeLayoutByName(const KeyboardLayoutSystem& system, std::string_view fileName) {
  if (IsFixedName(fileName)) return SelectImeLayout(fileName, {});
  const std::vector<ImeLayoutEntry> layouts = system.InstalledLayouts();
  return SelectImeLayout(fileName, layouts);
}

void ActivateImeByName(KeyboardLayoutSystem& system, uintptr_t window, std::string_view fileName) {
  const uintptr_t layout = FindImeLayoutByName(system, fileName);
  if (layout == 0) return;
  if (EqualIgnoringCase(system.FileNameOf(layout), system.FileNameOf(system.CurrentLayout()))) return;
  const bool open = system.IsOpen(window);
  if (open) system.SetOpen(window, false);
  system.Activate(layout);
  if (open) system.SetOpen(window, true);
}

}  // namespace codeconv
