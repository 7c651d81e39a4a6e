// Choosing and switching input methods by their file names. The choice works
// over a list of (layout, file name) pairs and the switch over a small system
// interface, so both run without Windows; the Win32 side supplies the real list.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace codeconv {

// The name that stands for the text-services keyboard layout, and its handle.
inline constexpr std::string_view kTextServicesName = "JP:Text Services Framework";
inline constexpr uintptr_t kTextServicesLayout = 0x04110411;
inline constexpr size_t kMaxExaminedLayouts = 100;

// Whether a and b are equal in their first limit characters (all of them by
// default), ASCII letters compared without regard to case; a shorter string
// only matches one that ends at the same place.
bool EqualIgnoringCase(std::string_view a, std::string_view b, size_t limit = std::string_view::npos);

// The file-name part of a path: what follows its last '\' or '/'.
std::string_view FileNamePart(std::string_view path);

struct ImeLayoutEntry {
  uintptr_t layout = 0;
  std::string fileName;  // empty for a layout without an input method
};

// The layout of fileName among layouts: an exact file name (without regard to
// case) first, then the first one that shares its first 5 characters (a newer
// edition of the same input method), never TILBEN95.IME or ZORARER2.OVI.
// Only the first 100 layouts count; 0 when none matches or the name is empty.
uintptr_t SelectImeLayout(std::string_view fileName, std::span<const ImeLayoutEntry> layouts);

// What switching needs from the system.
class KeyboardLayoutSystem {
 public:
  virtual ~KeyboardLayoutSystem() = default;
  virtual std::vector<ImeLayoutEntry> InstalledLayouts() const = 0;
  virtual uintptr_t CurrentLayout() const = 0;
  virtual std::string FileNameOf(uintptr_t layout) const = 0;
  virtual bool IsOpen(uintptr_t window) const = 0;
  virtual void SetOpen(uintptr_t window, bool open) = 0;
  virtual void Activate(uintptr_t layout) = 0;  // with reordering
};

// SelectImeLayout over the installed layouts; the text-services name and the
// empty name are answered without asking for them.
uintptr_t FindImeLayoutByName(const KeyboardLayoutSystem& system, std::string_view fileName);

// Switches to the input method of fileName unless it is not installed or is
// already the current one; the window's input context keeps its open state.
void ActivateImeByName(KeyboardLayoutSystem& system, uintptr_t window, std::string_view fileName);

#ifdef _WIN32
// The thread's keyboard layouts (GetKeyboardLayoutList, ImmGetIMEFileNameA).
KeyboardLayoutSystem& Win32KeyboardLayouts();
inline uintptr_t FindImeLayoutByName(std::string_view fileName) {
  return FindImeLayoutByName(Win32KeyboardLayouts(), fileName);
}
inline void ActivateImeByName(void* window, std::string_view fileName) {
  ActivateImeByName(Win32KeyboardLayouts(), reinterpret_cast<uintptr_t>(window), fileName);
}
#endif

}  // namespace codeconv
