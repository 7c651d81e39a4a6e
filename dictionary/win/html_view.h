// CHTMLCtrl: a pane's browser view. The system's web browser control
// (CLSID {8856F961-340A-11D0-A96B-00C04FD705A2}) is hosted in place in a
// child window made where a placeholder control of the dialog stood; the
// site answers IOleClientSite, IOleInPlaceSite, IDocHostUIHandler and
// IDocHostShowUI, and sinks DWebBrowserEvents2. Pages are written whole
// through IHTMLDocument2::write; links of the "app:" scheme go to the host.
#pragma once
#include <windows.h>

#include <string>

#include "window.h"

struct IOleObject;
struct IWebBrowser2;
struct IOleInPlaceActiveObject;

namespace ombrel::win {

class HtmlView;

class HtmlViewHost {
 public:
  virtual ~HtmlViewHost() = default;
  // The text after "app:" of a clicked link.
  virtual void OnAppUrl(HtmlView& view, const std::string& text) = 0;
  // 辞書検索 of the context menu with the selected text.
  virtual void OnContextSearch(HtmlView& view, const std::wstring& selected) = 0;
};

class BrowserSite;

class HtmlView : public fw::Window {
 public:
  HtmlView();
  ~HtmlView() override;

  // Takes the place of the placeholder control id of the dialog; false (and
  // no view) when the browser control cannot be made.
  bool CreateOnPlaceholder(const fw::Module& module, HWND dialog, int id, HtmlViewHost* host);
  // Keeps the page and writes it now, or when the blank document is ready.
  void WritePage(const std::wstring& page);
  const std::wstring& Page() const { return page_; }
  // The selection of the document, at most units - 1 units.
  std::wstring SelectedText(int units);
  // Scrolls the element named name into view.
  void ScrollToAnchor(const std::wstring& name);
  // Print command of the browser's innermost window.
  void Print();
  // Offers a key message to the browser (its accelerators); true when it took it.
  bool TranslateAccelerator(MSG& msg);
  bool Contains(HWND hwnd) const;

  static const wchar_t* ClassName() { return L"OmbrelHtmlView"; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  friend class BrowserSite;
  void DocumentReady();
  bool WriteNow();
  void Release();
  void ShowContextMenu(DWORD kind, POINT screen);
  void ResizeBrowser();

  HtmlViewHost* host_ = nullptr;
  BrowserSite* site_ = nullptr;
  IOleObject* ole_ = nullptr;
  IWebBrowser2* browser_ = nullptr;
  DWORD cookie_ = 0;
  bool ready_ = false;
  bool pending_ = false;
  std::wstring page_;
};

}  // namespace ombrel::win
