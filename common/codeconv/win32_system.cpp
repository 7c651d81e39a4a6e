// The Win32 side of the library: module resources and keyboard layouts.
#include <windows.h>
#include <imm.h>

#include "ime_layouts.h"
#include "resources.h"

namespace codeconv {

namespace {

class Win32Layouts final : public KeyboardLayoutSystem {
 public:
  std::vector<ImeLayoutEntry> InstalledLayouts() const override {
    HKL list[kMaxExaminedLayouts + 1];
    const int n = GetKeyboardLayoutList(static_cast<int>(kMaxExaminedLayouts + 1), list);
    std::vector<ImeLayoutEntry> out;
    for (int i = 0; i < n && static_cast<size_t>(i) < kMaxExaminedLayouts; ++i) {
      const auto layout = reinterpret_cast<uintptr_t>(list[i]);
      out.push_back({layout, FileNameOf(layout)});
    }
    return out;
  }
  uintptr_t CurrentLayout() const override { return reinterpret_cast<uintptr_t>(GetKeyboardLayout(0)); }
  std::string FileNameOf(uintptr_t layout) const override {
    char name[MAX_PATH] = {};
    const UINT n = ImmGetIMEFileNameA(reinterpret_cast<HKL>(layout), name, MAX_PATH);
    if (n == 0) return std::string();
    // Some input method managers give the whole path; the choice is by file name.
    return std::string(FileNamePart(name));
  }
  bool IsOpen(uintptr_t window) const override {
    HWND w = reinterpret_cast<HWND>(window);
    HIMC context = ImmGetContext(w);
    if (context == nullptr) return false;
    const bool open = ImmGetOpenStatus(context) != FALSE;
    ImmReleaseContext(w, context);
    return open;
  }
  void SetOpen(uintptr_t window, bool open) override {
    HWND w = reinterpret_cast<HWND>(window);
    HIMC context = ImmGetContext(w);
    if (context == nullptr) return;
    ImmSetOpenStatus(context, open ? TRUE : FALSE);
    ImmReleaseContext(w, context);
  }
  void Activate(uintptr_t layout) override { ActivateKeyboardLayout(reinterpret_cast<HKL>(layout), KLF_REORDER); }
};

}  // namespace

std::span<const uint8_t> ModuleResourceFinder::Find(uintptr_t module, const char* name) const {
  HMODULE m = reinterpret_cast<HMODULE>(module);
  HRSRC found = FindResourceA(m, name, type_);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(m, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return {static_cast<const uint8_t*>(data), static_cast<size_t>(SizeofResource(m, found))};
}

const ResourceFinder& ModuleResources() {
  static const ModuleResourceFinder finder("TEXT");
  return finder;
}

KeyboardLayoutSystem& Win32KeyboardLayouts() {
  static Win32Layouts layouts;
  return layouts;
}

}  // namespace codeconv
