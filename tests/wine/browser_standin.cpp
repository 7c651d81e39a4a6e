// A stand-in web browser object for the Wine tests, registered under the web
// browser control's CLSID in the test prefix only (Wine has no HTML engine
// here). It serves what a host of the control uses: IOleObject and
// IOleInPlaceObject for in-place activation, IWebBrowser2 (Navigate to a
// blank page, the document, the drop-target flag), DWebBrowserEvents2 through
// its connection point (DocumentComplete, BeforeNavigate2 for a clicked
// link), and a document whose IHTMLDocument2::write takes the page. The page
// is drawn plainly: text in the colours of its .jp and .kr styles, bold,
// line breaks, links underlined, pictures from their files. Its window text
// is the page's text followed by "\n[links]\n" and one link address a line,
// and message WM_APP + 1 (wParam n) clicks link n, so that a test in another
// process can read the page and follow its links.
#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <ocidl.h>
#include <olectl.h>

#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "browser_ids.h"
#include "browser_stubs.h"

namespace {

using namespace browserids;

constexpr wchar_t kWindowClass[] = L"GeulmaruTestBrowser";
constexpr UINT kDocumentCompleteMessage = WM_APP + 10;
constexpr UINT kClickLinkMessage = WM_APP + 1;

HINSTANCE g_module = nullptr;
LONG g_objects = 0;

// ---- the page model ----

struct Run {
  std::wstring text;
  COLORREF color = 0;
  bool korean = false;
  bool bold = false;
  bool lineBreak = false;
  int link = -1;
  std::wstring image;  // picture file
  int width = 0, height = 0;
};

struct Page {
  std::vector<Run> runs;
  std::vector<std::wstring> links;
  COLORREF jp = 0, kr = RGB(0, 0, 255);
  std::wstring jpFace, krFace;
  int points = 12;
};

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

// The value of attribute name in a tag ("href=\"...\"", "width=\"12\"", "color=red").
std::wstring Attribute(const std::wstring& tag, const wchar_t* name) {
  const std::wstring lower = Lower(tag);
  const std::wstring key = std::wstring(name) + L"=";
  size_t p = lower.find(key);
  if (p == std::wstring::npos) return {};
  p += key.size();
  if (p < tag.size() && (tag[p] == L'"' || tag[p] == L'\'')) {
    const wchar_t q = tag[p];
    const size_t end = tag.find(q, p + 1);
    return tag.substr(p + 1, end == std::wstring::npos ? std::wstring::npos : end - p - 1);
  }
  const size_t end = tag.find_first_of(L" >", p);
  return tag.substr(p, end == std::wstring::npos ? std::wstring::npos : end - p);
}

COLORREF StyleColor(const std::wstring& html, const wchar_t* selector, COLORREF fallback, std::wstring* face,
                    int* points) {
  const size_t s = html.find(selector);
  if (s == std::wstring::npos) return fallback;
  const size_t end = html.find(L'}', s);
  const std::wstring rule = html.substr(s, end - s);
  const size_t ff = rule.find(L"font-family:");
  if (ff != std::wstring::npos && face != nullptr) {
    const size_t semi = rule.find(L';', ff);
    *face = rule.substr(ff + 12, semi - ff - 12);
    while (!face->empty() && face->front() == L' ') face->erase(face->begin());
  }
  const size_t fs = rule.find(L"font-size:");
  if (fs != std::wstring::npos && points != nullptr) *points = _wtoi(rule.c_str() + fs + 10);
  const size_t c = rule.find(L"color: #");
  if (c == std::wstring::npos) return fallback;
  const unsigned v = wcstoul(rule.substr(c + 8, 6).c_str(), nullptr, 16);
  return RGB(v >> 16 & 0xFF, v >> 8 & 0xFF, v & 0xFF);
}

std::wstring Entities(std::wstring s) {
  static const std::pair<const wchar_t*, wchar_t> kNames[] = {{L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'},
                                                              {L"&quot;", L'"'}, {L"&nbsp;", L' '}};
  for (const auto& [name, c] : kNames) {
    for (size_t p; (p = s.find(name)) != std::wstring::npos;) s.replace(p, wcslen(name), 1, c);
  }
  return s;
}

Page Parse(const std::wstring& html) {
  Page page;
  page.jp = StyleColor(html, L".jp", 0, &page.jpFace, &page.points);
  page.kr = StyleColor(html, L".kr", RGB(0, 0, 255), &page.krFace, nullptr);
  size_t body = Lower(html).find(L"<body>");
  size_t i = body == std::wstring::npos ? 0 : body + 6;
  std::vector<std::pair<COLORREF, bool>> colors{{page.jp, false}};
  bool bold = false;
  int link = -1;
  while (i < html.size()) {
    if (html[i] == L'<') {
      const size_t end = html.find(L'>', i);
      if (end == std::wstring::npos) break;
      const std::wstring tag = html.substr(i + 1, end - i - 1);
      const std::wstring name = Lower(tag.substr(0, tag.find(L' ')));
      if (name == L"span") {
        const bool kr = Attribute(tag, L"class") == L"kr";
        colors.push_back({kr ? page.kr : page.jp, kr});
      } else if (name == L"/span" || name == L"/font") {
        if (colors.size() > 1) colors.pop_back();
      } else if (name == L"font") {
        const std::wstring c = Lower(Attribute(tag, L"color"));
        colors.push_back({c == L"red" ? RGB(255, 0, 0) : colors.back().first, colors.back().second});
      } else if (name == L"b") {
        bold = true;
      } else if (name == L"/b") {
        bold = false;
      } else if (name == L"br") {
        Run r;
        r.lineBreak = true;
        page.runs.push_back(r);
      } else if (name == L"a") {
        const std::wstring href = Attribute(tag, L"href");
        if (!href.empty()) {
          page.links.push_back(href);
          link = static_cast<int>(page.links.size()) - 1;
        }
      } else if (name == L"/a") {
        link = -1;
      } else if (name == L"img") {
        Run r;
        r.image = Attribute(tag, L"src");
        r.width = _wtoi(Attribute(tag, L"width").c_str());
        r.height = _wtoi(Attribute(tag, L"height").c_str());
        r.link = link;
        page.runs.push_back(r);
      }
      i = end + 1;
      continue;
    }
    size_t next = html.find(L'<', i);
    if (next == std::wstring::npos) next = html.size();
    std::wstring text = Entities(html.substr(i, next - i));
    for (wchar_t& c : text)
      if (c == L'\n' || c == L'\r' || c == L'\t') c = L' ';
    if (!text.empty()) {
      Run r;
      r.text = text;
      r.color = colors.back().first;
      r.korean = colors.back().second;
      r.bold = bold;
      r.link = link;
      page.runs.push_back(r);
    }
    i = next;
  }
  return page;
}

std::wstring PlainText(const Page& page) {
  std::wstring out;
  for (const Run& r : page.runs) out += r.lineBreak ? L"\n" : r.text;
  out += L"\n[links]\n";
  for (const std::wstring& l : page.links) out += l + L"\n";
  return out;
}

// ---- the document ----

class Browser;

class Document final : public StubHtmlDocument2 {
 public:
  explicit Document(Browser* browser) : browser_(browser) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kIidHtmlDocument || riid == kIidHtmlDocument2) {
      *out = static_cast<IHTMLDocument2*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  STDMETHODIMP write(SAFEARRAY* array) override;
  STDMETHODIMP writeln(SAFEARRAY* array) override { return write(array); }
  STDMETHODIMP open(BSTR, VARIANT, VARIANT, VARIANT, IDispatch** window) override {
    text_.clear();
    if (window != nullptr) *window = nullptr;
    return S_OK;
  }
  STDMETHODIMP close() override;
  STDMETHODIMP clear() override {
    text_.clear();
    return S_OK;
  }
  void Detach() { browser_ = nullptr; }

 private:
  ~Document() = default;
  LONG refs_ = 1;
  Browser* browser_;
  std::wstring text_;
};

// ---- the browser ----

class Browser;

class EventPoint final : public IConnectionPoint {
 public:
  explicit EventPoint(IConnectionPointContainer* owner) : owner_(owner) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
      *out = static_cast<IConnectionPoint*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return owner_->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return owner_->Release(); }
  STDMETHODIMP GetConnectionInterface(IID* iid) override {
    *iid = kDiidWebBrowserEvents2;
    return S_OK;
  }
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** c) override {
    *c = owner_;
    owner_->AddRef();
    return S_OK;
  }
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
    if (sink == nullptr || cookie == nullptr) return E_POINTER;
    if (sink_ != nullptr) return CONNECT_E_ADVISELIMIT;
    if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&sink_)))) return CONNECT_E_CANNOTCONNECT;
    *cookie = 1;
    return S_OK;
  }
  STDMETHODIMP Unadvise(DWORD cookie) override {
    if (cookie != 1 || sink_ == nullptr) return CONNECT_E_NOCONNECTION;
    sink_->Release();
    sink_ = nullptr;
    return S_OK;
  }
  STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
  IDispatch* Sink() const { return sink_; }

 private:
  IConnectionPointContainer* owner_;
  IDispatch* sink_ = nullptr;
};

class Browser final : public StubWebBrowser2,
                      public StubOleObject,
                      public StubOleInPlaceObject,
                      public IConnectionPointContainer {
 public:
  Browser() : events_(this), document_(new Document(this)) { InterlockedIncrement(&g_objects); }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleObject) *out = static_cast<IOleObject*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject) *out = static_cast<IOleInPlaceObject*>(this);
    else if (riid == IID_IDispatch || riid == kIidWebBrowser2 || riid == kIidWebBrowser || riid == kIidWebBrowserApp)
      *out = static_cast<IWebBrowser2*>(this);
    else if (riid == IID_IConnectionPointContainer) *out = static_cast<IConnectionPointContainer*>(this);
    if (*out == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }

  // IDispatch of IWebBrowser2
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override {
    if (site_ != nullptr) site_->Release();
    site_ = site;
    if (site_ != nullptr) site_->AddRef();
    return S_OK;
  }
  STDMETHODIMP GetClientSite(IOleClientSite** site) override {
    *site = site_;
    if (site_ != nullptr) site_->AddRef();
    return S_OK;
  }
  STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT rect) override {
    if (hwnd_ != nullptr) return S_OK;
    RECT r = rect != nullptr ? *rect : RECT{0, 0, 100, 100};
    hwnd_ = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, parent, nullptr, g_module, this);
    return hwnd_ != nullptr ? S_OK : E_FAIL;
  }
  STDMETHODIMP Close(DWORD) override {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    return S_OK;
  }
  STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }

  // IOleInPlaceObject
  STDMETHODIMP GetWindow(HWND* w) override {
    *w = hwnd_;
    return hwnd_ != nullptr ? S_OK : E_FAIL;
  }
  STDMETHODIMP InPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP UIDeactivate() override { return S_OK; }
  STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT) override {
    if (hwnd_ != nullptr && pos != nullptr)
      MoveWindow(hwnd_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
    return S_OK;
  }

  // IWebBrowser2
  STDMETHODIMP Navigate(BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
    // A blank page is ready at once, but the event comes later, as the control's does.
    if (hwnd_ != nullptr) PostMessageW(hwnd_, kDocumentCompleteMessage, 0, 0);
    return S_OK;
  }
  STDMETHODIMP get_Document(IDispatch** doc) override {
    *doc = document_;
    document_->AddRef();
    return S_OK;
  }
  STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL) override { return S_OK; }
  STDMETHODIMP get_HWND(SHANDLE_PTR* w) override {
    *w = reinterpret_cast<SHANDLE_PTR>(hwnd_);
    return S_OK;
  }

  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    if (riid != kDiidWebBrowserEvents2) {
      *point = nullptr;
      return CONNECT_E_NOCONNECTION;
    }
    *point = &events_;
    events_.AddRef();
    return S_OK;
  }

  void SetPage(const std::wstring& html) {
    page_ = Parse(html);
    scroll_ = 0;
    if (hwnd_ != nullptr) {
      SetWindowTextW(hwnd_, PlainText(page_).c_str());
      InvalidateRect(hwnd_, nullptr, TRUE);
    }
  }

  // An event to the sink with its arguments, last first as IDispatch takes them.
  void Fire(DISPID id, VARIANTARG* args, UINT count) {
    IDispatch* sink = events_.Sink();
    if (sink == nullptr) return;
    DISPPARAMS params{args, nullptr, count, 0};
    AddRef();
    sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    Release();
  }

  // BeforeNavigate2: (browser, URL, flags, frame, post data, headers, cancel);
  // true when the host let the navigation go on.
  bool FireBeforeNavigate(const std::wstring& url) {
    VARIANT values[5];  // headers, post data, frame, flags, URL
    for (VARIANT& v : values) VariantInit(&v);
    values[4].vt = VT_BSTR;
    values[4].bstrVal = SysAllocString(url.c_str());
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANTARG args[7];
    for (VARIANTARG& a : args) VariantInit(&a);
    args[6].vt = VT_DISPATCH;
    args[6].pdispVal = static_cast<IWebBrowser2*>(this);
    for (int k = 0; k < 5; ++k) {
      args[1 + k].vt = VT_BYREF | VT_VARIANT;
      args[1 + k].pvarVal = &values[k];
    }
    args[0].vt = VT_BYREF | VT_BOOL;
    args[0].pboolVal = &cancel;
    Fire(DISPID_BEFORENAVIGATE2, args, 7);
    SysFreeString(values[4].bstrVal);
    return cancel == VARIANT_FALSE;
  }

  // DocumentComplete: (browser, URL).
  void FireDocumentComplete() {
    VARIANT url;
    VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = SysAllocString(L"about:blank");
    VARIANTARG args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    args[1].vt = VT_DISPATCH;
    args[1].pdispVal = static_cast<IWebBrowser2*>(this);
    args[0].vt = VT_BYREF | VT_VARIANT;
    args[0].pvarVal = &url;
    Fire(DISPID_DOCUMENTCOMPLETE, args, 2);
    SysFreeString(url.bstrVal);
  }

  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  ~Browser() {
    document_->Detach();
    document_->Release();
    if (site_ != nullptr) site_->Release();
    for (auto& [path, picture] : pictures_)
      if (picture != nullptr) picture->Release();
    InterlockedDecrement(&g_objects);
  }
  void Paint(HDC dc, const RECT& client);
  IPicture* PictureOf(const std::wstring& path);

  LONG refs_ = 1;
  EventPoint events_;
  Document* document_;
  IOleClientSite* site_ = nullptr;
  HWND hwnd_ = nullptr;
  Page page_;
  int scroll_ = 0;
  std::vector<std::pair<RECT, int>> linkRects_;
  std::map<std::wstring, IPicture*> pictures_;
};

STDMETHODIMP Document::write(SAFEARRAY* array) {
  if (array == nullptr) return E_POINTER;
  VARIANT* items = nullptr;
  if (FAILED(SafeArrayAccessData(array, reinterpret_cast<void**>(&items)))) return E_FAIL;
  const ULONG n = array->rgsabound[0].cElements;
  for (ULONG i = 0; i < n; ++i) {
    if (items[i].vt == VT_BSTR && items[i].bstrVal != nullptr)
      text_.append(items[i].bstrVal, SysStringLen(items[i].bstrVal));
  }
  SafeArrayUnaccessData(array);
  return S_OK;
}

STDMETHODIMP Document::close() {
  if (browser_ != nullptr) browser_->SetPage(text_);
  return S_OK;
}

IPicture* Browser::PictureOf(const std::wstring& path) {
  const auto it = pictures_.find(path);
  if (it != pictures_.end()) return it->second;
  IPicture* picture = nullptr;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    const DWORD size = GetFileSize(file, nullptr);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    DWORD read = 0;
    if (memory != nullptr && ReadFile(file, GlobalLock(memory), size, &read, nullptr) && read == size) {
      GlobalUnlock(memory);
      IStream* stream = nullptr;
      if (SUCCEEDED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
        stream->Release();
        memory = nullptr;
      }
    }
    if (memory != nullptr) GlobalFree(memory);
    CloseHandle(file);
  }
  pictures_[path] = picture;
  return picture;
}

void Browser::Paint(HDC dc, const RECT& client) {
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  linkRects_.clear();
  const int px = MulDiv(page_.points > 0 ? page_.points : 12, GetDeviceCaps(dc, LOGPIXELSY), 72);
  std::map<int, HFONT> fonts;
  auto font = [&](bool korean, bool bold, bool underline) {
    const int key = (korean ? 1 : 0) | (bold ? 2 : 0) | (underline ? 4 : 0);
    HFONT& f = fonts[key];
    if (f == nullptr) {
      f = CreateFontW(-px, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, underline, 0,
                      korean ? HANGEUL_CHARSET : SHIFTJIS_CHARSET, 0, 0, 0, 0,
                      (korean ? page_.krFace : page_.jpFace).c_str());
    }
    return f;
  };
  const int margin = 6, lineHeight = px + 6;
  int x = margin, y = margin - scroll_;
  SetBkMode(dc, TRANSPARENT);
  for (const Run& r : page_.runs) {
    if (r.lineBreak) {
      x = margin;
      y += lineHeight;
      continue;
    }
    if (!r.image.empty()) {
      const int w = r.width > 0 ? r.width : px, h = r.height > 0 ? r.height : px;
      if (x + w > client.right - margin && x > margin) {
        x = margin;
        y += lineHeight;
      }
      RECT box{x, y + (lineHeight - h) / 2, x + w, y + (lineHeight - h) / 2 + h};
      if (IPicture* p = PictureOf(r.image)) {
        OLE_XSIZE_HIMETRIC hw = 0;
        OLE_YSIZE_HIMETRIC hh = 0;
        p->get_Width(&hw);
        p->get_Height(&hh);
        p->Render(dc, box.left, box.top, w, h, 0, hh, hw, -hh, nullptr);
      } else {
        FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
      }
      if (r.link >= 0) linkRects_.push_back({box, r.link});
      x += w + 2;
      continue;
    }
    SetTextColor(dc, r.link >= 0 ? RGB(0, 0, 238) : r.color);
    size_t start = 0;
    while (start < r.text.size()) {
      // Hangul in the Korean face and the rest in the Japanese one, as a
      // browser falls back to a face that has the characters.
      auto hangul = [](wchar_t c) { return (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0x3131 && c <= 0x318E); };
      const bool korean = hangul(r.text[start]);
      size_t same = start;
      while (same < r.text.size() && hangul(r.text[same]) == korean) ++same;
      SelectObject(dc, font(korean, r.bold, r.link >= 0));
      // As many characters as fit on the line.
      int fit = 0;
      SIZE size{};
      GetTextExtentExPointW(dc, r.text.c_str() + start, static_cast<int>(same - start),
                            std::max<int>(1, client.right - margin - x), &fit, nullptr, &size);
      if (fit == 0) {
        if (x > margin) {
          x = margin;
          y += lineHeight;
          continue;
        }
        fit = 1;
      }
      SIZE extent{};
      GetTextExtentPoint32W(dc, r.text.c_str() + start, fit, &extent);
      TextOutW(dc, x, y, r.text.c_str() + start, fit);
      if (r.link >= 0) linkRects_.push_back({RECT{x, y, x + extent.cx, y + extent.cy}, r.link});
      x += extent.cx;
      start += static_cast<size_t>(fit);
      if (start < same) {
        x = margin;
        y += lineHeight;
      }
    }
  }
  for (auto& [key, f] : fonts) DeleteObject(f);
}

LRESULT Browser::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client;
      GetClientRect(hwnd, &client);
      // Drawn off screen, then shown at once.
      HDC memory = CreateCompatibleDC(dc);
      HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
      HGDIOBJ old = SelectObject(memory, bitmap);
      Paint(memory, client);
      BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
      SelectObject(memory, old);
      DeleteObject(bitmap);
      DeleteDC(memory);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_VSCROLL:
      if (LOWORD(wParam) == SB_LINEDOWN || LOWORD(wParam) == SB_PAGEDOWN) scroll_ += 40;
      if (LOWORD(wParam) == SB_LINEUP || LOWORD(wParam) == SB_PAGEUP) scroll_ = std::max(0, scroll_ - 40);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_LBUTTONUP: {
      const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      for (const auto& [rect, link] : linkRects_) {
        if (PtInRect(&rect, pt)) {
          FireBeforeNavigate(page_.links[static_cast<size_t>(link)]);
          return 0;
        }
      }
      return 0;
    }
    case kClickLinkMessage:
      if (wParam < page_.links.size()) {
        FireBeforeNavigate(page_.links[wParam]);
        return 1;
      }
      return 0;
    case kDocumentCompleteMessage:
      FireDocumentComplete();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK BrowserWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* browser = reinterpret_cast<Browser*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (browser != nullptr) return browser->WindowProc(hwnd, message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

class Factory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    WNDCLASSW wc{};
    if (!GetClassInfoW(g_module, kWindowClass, &wc)) {
      wc.lpfnWndProc = BrowserWindowProc;
      wc.hInstance = g_module;
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.lpszClassName = kWindowClass;
      RegisterClassW(&wc);
    }
    auto* browser = new Browser;
    const HRESULT hr = static_cast<IOleObject*>(browser)->QueryInterface(riid, out);
    static_cast<IOleObject*>(browser)->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  return TRUE;
}

__declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (clsid != kClsidWebBrowser) {
    *out = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return g_factory.QueryInterface(riid, out);
}

__declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

}  // extern "C"
