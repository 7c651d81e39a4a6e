#include "help.h"

namespace fw {

namespace {

constexpr UINT kHelpContext = 0x000F;  // HH_HELP_CONTEXT

class HtmlHelp final : public HelpViewer {
 public:
  void ShowContext(HWND caller, const std::string& file, unsigned long context) override {
    using HtmlHelpA = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    if (!library_) library_ = LoadLibraryW(L"hhctrl.ocx");
    if (!library_) return;
    auto fn = reinterpret_cast<HtmlHelpA>(reinterpret_cast<void*>(GetProcAddress(library_, "HtmlHelpA")));
    if (fn) fn(caller, file.c_str(), kHelpContext, context);
  }

 private:
  HMODULE library_ = nullptr;
};

HelpViewer* g_viewer = nullptr;

}  // namespace

HelpViewer& HtmlHelpViewer() {
  static HtmlHelp viewer;
  return viewer;
}

HelpViewer& CurrentHelpViewer() { return g_viewer ? *g_viewer : HtmlHelpViewer(); }
void SetHelpViewer(HelpViewer* viewer) { g_viewer = viewer; }

}  // namespace fw
