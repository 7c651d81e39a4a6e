#include "help.h"

#include "help_route.h"

namespace fw {

namespace {

// HH_FTS_QUERYA of htmlhelp.h: the search pane's query.
struct FtsQuery {
  int cbStruct;
  BOOL fUniCodeStrings;
  LPCSTR pszSearchQuery;
  LONG iProximity;
  BOOL fStemmedSearch;
  BOOL fTitleOnly;
  BOOL fExecute;
  LPCSTR pszWindow;
};

class HtmlHelp final : public HelpViewer {
 public:
  void ShowContext(HWND caller, const std::string& file, unsigned long context) override {
    Call(caller, file, kHhHelpContext, context);
  }
  void Show(HWND caller, const std::string& file, unsigned command, unsigned long data) override {
    if (command == kHhDisplaySearch) {
      FtsQuery query{};
      query.cbStruct = sizeof query;
      query.pszSearchQuery = "";
      query.iProximity = -1;  // HH_FTS_DEFAULT_PROXIMITY
      Call(caller, file, command, reinterpret_cast<DWORD_PTR>(&query));
      return;
    }
    Call(caller, file, command, data);
  }

 private:
  void Call(HWND caller, const std::string& file, UINT command, DWORD_PTR data) {
    using HtmlHelpA = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    if (!library_) library_ = LoadLibraryW(L"hhctrl.ocx");
    if (!library_) return;
    auto fn = reinterpret_cast<HtmlHelpA>(reinterpret_cast<void*>(GetProcAddress(library_, "HtmlHelpA")));
    if (fn) fn(caller, file.c_str(), command, data);
  }

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

void HelpViewer::Show(HWND caller, const std::string& file, unsigned command, unsigned long data) {
  if (command == kHhHelpContext) ShowContext(caller, file, data);
}

void RouteWinHelpToViewer(HWND caller, const std::string& file, unsigned command, unsigned long data) {
  const HtmlHelpRequest request = RouteWinHelp(command, data);
  if (request.show) CurrentHelpViewer().Show(caller, file, request.command, request.data);
}

std::string HelpFileOf(HMODULE module) {
  // In UTF-16 first: a trail byte of the ANSI path may be a backslash.
  wchar_t path[MAX_PATH * 2] = {};
  const DWORD n = GetModuleFileNameW(module, path, MAX_PATH * 2);
  if (n == 0 || n >= MAX_PATH * 2) return {};
  std::wstring file(path, n);
  const size_t slash = file.find_last_of(L"\\/");
  const size_t dot = file.rfind(L'.');
  if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) file.resize(dot);
  file += L".chm";
  const int bytes = WideCharToMultiByte(CP_ACP, 0, file.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string ansi(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, file.c_str(), -1, ansi.data(), bytes, nullptr, nullptr);
  ansi.resize(static_cast<size_t>(bytes - 1));
  return ansi;
}

}  // namespace fw
