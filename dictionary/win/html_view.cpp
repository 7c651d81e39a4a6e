#include "html_view.h"

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <ole2.h>

#include <cwchar>

#include "browser_ids.h"
#include "ombrel_resource.h"

namespace ombrel::win {

namespace {

using namespace browserids;

template <typename T>
void SafeRelease(T*& p) {
  if (p != nullptr) p->Release();
  p = nullptr;
}

// The document of a browser as IHTMLDocument2 (caller releases), or null.
IHTMLDocument2* DocumentOf(IWebBrowser2* browser) {
  if (browser == nullptr) return nullptr;
  IDispatch* dispatch = nullptr;
  if (FAILED(browser->get_Document(&dispatch)) || dispatch == nullptr) return nullptr;
  IHTMLDocument2* doc = nullptr;
  dispatch->QueryInterface(kIidHtmlDocument2, reinterpret_cast<void**>(&doc));
  dispatch->Release();
  return doc;
}

}  // namespace

// The site of one browser control: container interfaces, the document host
// handler and the event sink, each forwarding to its view.
class BrowserSite final : public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleInPlaceFrame,
                          public IDocHostUIHandler,
                          public IDocHostShowUI,
                          public IDispatch {
 public:
  explicit BrowserSite(HtmlView* view) : view_(view) {}
  void Detach() { view_ = nullptr; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) *out = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleInPlaceFrame || riid == IID_IOleInPlaceUIWindow) *out = static_cast<IOleInPlaceFrame*>(this);
    else if (riid == kIidDocHostUIHandler) *out = static_cast<IDocHostUIHandler*>(this);
    else if (riid == kIidDocHostShowUI) *out = static_cast<IDocHostShowUI*>(this);
    else if (riid == IID_IDispatch || riid == kDiidWebBrowserEvents2) *out = static_cast<IDispatch*>(this);
    if (*out == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** c) override {
    *c = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (both IOleInPlaceSite's and IOleInPlaceFrame's)
  STDMETHODIMP GetWindow(HWND* hwnd) override {
    *hwnd = view_ != nullptr ? view_->hwnd() : nullptr;
    return *hwnd != nullptr ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO info) override {
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *doc = nullptr;
    RECT r{};
    if (view_ != nullptr) GetClientRect(view_->hwnd(), &r);
    *pos = r;
    *clip = r;
    info->fMDIApp = FALSE;
    info->hwndFrame = view_ != nullptr ? GetAncestor(view_->hwnd(), GA_ROOT) : nullptr;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow / IOleInPlaceFrame: no menus or tool bars of the browser
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IDocHostUIHandler
  STDMETHODIMP ShowContextMenu(DWORD id, POINT* pt, IUnknown*, IDispatch*) override {
    if (view_ != nullptr && pt != nullptr) view_->ShowContextMenu(id, *pt);
    return S_OK;
  }
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override {
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
  }
  STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                      IOleInPlaceUIWindow*) override {
    return S_OK;
  }
  STDMETHODIMP HideUI() override { return S_OK; }
  STDMETHODIMP UpdateUI() override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG msg, const GUID*, DWORD) override {
    if (msg == nullptr) return S_FALSE;
    const bool down = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (msg->wParam == VK_BACK && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP || msg->message == WM_CHAR))
      return S_OK;  // no "back" through Backspace
    if (down && (msg->wParam == VK_F5 || (control && (msg->wParam == 'O' || msg->wParam == 'N')))) return S_OK;
    return S_FALSE;
  }
  STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override {
    *key = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget**) override { return E_NOTIMPL; }
  STDMETHODIMP GetExternal(IDispatch** d) override {
    *d = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
    *out = nullptr;
    return S_FALSE;
  }
  STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override {
    *out = nullptr;
    return S_FALSE;
  }

  // IDocHostShowUI
  STDMETHODIMP ShowMessage(HWND, LPOLESTR, LPOLESTR, DWORD, LPOLESTR, DWORD, LRESULT*) override { return S_FALSE; }
  STDMETHODIMP ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*) override { return S_FALSE; }

  // IDispatch: DWebBrowserEvents2
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    if (view_ == nullptr || params == nullptr) return S_OK;
    if (id == DISPID_BEFORENAVIGATE2 && params->cArgs >= 7) {
      // Arguments arrive last first: [5] the URL, [0] the cancel flag.
      const VARIANT& urlArg = params->rgvarg[5];
      const VARIANT* url = (urlArg.vt & VT_BYREF) != 0 ? urlArg.pvarVal : &urlArg;
      if (url != nullptr && url->vt == VT_BSTR && url->bstrVal != nullptr) {
        const std::wstring u(url->bstrVal);
        if (u.size() >= 4 && _wcsnicmp(u.c_str(), L"app:", 4) == 0) {
          if (params->rgvarg[0].vt == (VT_BYREF | VT_BOOL) && params->rgvarg[0].pboolVal != nullptr)
            *params->rgvarg[0].pboolVal = VARIANT_TRUE;
          std::string ascii;
          for (wchar_t c : u.substr(4)) ascii.push_back(c < 0x80 ? static_cast<char>(c) : '?');
          HtmlView* view = view_;
          if (view->host_ != nullptr) view->host_->OnAppUrl(*view, ascii);
        }
      }
    } else if (id == DISPID_DOCUMENTCOMPLETE) {
      view_->DocumentReady();
    }
    return S_OK;
  }

 private:
  ~BrowserSite() = default;
  ULONG refs_ = 1;
  HtmlView* view_;
};

HtmlView::HtmlView() = default;

HtmlView::~HtmlView() { Release(); }

void HtmlView::Release() {
  if (browser_ != nullptr && cookie_ != 0) {
    IConnectionPointContainer* cpc = nullptr;
    if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)))) {
      IConnectionPoint* cp = nullptr;
      if (SUCCEEDED(cpc->FindConnectionPoint(kDiidWebBrowserEvents2, &cp))) {
        cp->Unadvise(cookie_);
        cp->Release();
      }
      cpc->Release();
    }
    cookie_ = 0;
  }
  if (ole_ != nullptr) {
    ole_->Close(OLECLOSE_NOSAVE);
    ole_->SetClientSite(nullptr);
  }
  SafeRelease(browser_);
  SafeRelease(ole_);
  if (site_ != nullptr) {
    site_->Detach();
    site_->Release();
    site_ = nullptr;
  }
}

bool HtmlView::CreateOnPlaceholder(const fw::Module& module, HWND dialog, int id, HtmlViewHost* host) {
  host_ = host;
  HWND placeholder = GetDlgItem(dialog, id);
  if (placeholder == nullptr) return false;
  RECT r{};
  GetWindowRect(placeholder, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  DestroyWindow(placeholder);
  if (!EnsureWindowClass(module, ClassName(), 0, LoadCursor(nullptr, IDC_ARROW),
                         reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))) {
    return false;
  }
  if (Create(module, ClassName(), L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN, 0, r, dialog,
             static_cast<UINT>(id)) == nullptr) {
    return false;
  }
  site_ = new BrowserSite(this);
  if (FAILED(CoCreateInstance(kClsidWebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              reinterpret_cast<void**>(&ole_))) ||
      ole_ == nullptr) {
    Release();
    DestroyWindow(hwnd());
    return false;
  }
  ole_->SetClientSite(static_cast<IOleClientSite*>(site_));
  RECT client{};
  GetClientRect(hwnd(), &client);
  ole_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_), 0, hwnd(), &client);
  if (FAILED(ole_->QueryInterface(kIidWebBrowser2, reinterpret_cast<void**>(&browser_))) || browser_ == nullptr) {
    Release();
    DestroyWindow(hwnd());
    return false;
  }
  IConnectionPointContainer* cpc = nullptr;
  if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)))) {
    IConnectionPoint* cp = nullptr;
    if (SUCCEEDED(cpc->FindConnectionPoint(kDiidWebBrowserEvents2, &cp))) {
      cp->Advise(static_cast<IDispatch*>(site_), &cookie_);
      cp->Release();
    }
    cpc->Release();
  }
  browser_->put_RegisterAsDropTarget(VARIANT_FALSE);
  ResizeBrowser();
  VARIANT empty;
  VariantInit(&empty);
  BSTR blank = SysAllocString(L"About:Blank");
  browser_->Navigate(blank, &empty, &empty, &empty, &empty);
  SysFreeString(blank);
  return true;
}

void HtmlView::ResizeBrowser() {
  if (ole_ == nullptr) return;
  RECT r{};
  GetClientRect(hwnd(), &r);
  IOleInPlaceObject* inPlace = nullptr;
  if (SUCCEEDED(ole_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) {
    inPlace->SetObjectRects(&r, &r);
    inPlace->Release();
  }
}

void HtmlView::DocumentReady() {
  ready_ = true;
  if (pending_) WriteNow();
}

void HtmlView::WritePage(const std::wstring& page) {
  page_ = page;
  pending_ = true;
  if (ready_) WriteNow();
}

bool HtmlView::WriteNow() {
  IHTMLDocument2* doc = DocumentOf(browser_);
  if (doc == nullptr) return false;
  pending_ = false;
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 1);
  bool ok = false;
  if (array != nullptr) {
    VARIANT* item = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(array, reinterpret_cast<void**>(&item)))) {
      item->vt = VT_BSTR;
      item->bstrVal = SysAllocStringLen(page_.data(), static_cast<UINT>(page_.size()));
      SafeArrayUnaccessData(array);
      BSTR type = SysAllocString(L"text/html");
      VARIANT none;
      VariantInit(&none);
      IDispatch* window = nullptr;
      if (SUCCEEDED(doc->open(type, none, none, none, &window)) && window != nullptr) window->Release();
      SysFreeString(type);
      ok = SUCCEEDED(doc->write(array));
      doc->close();
    }
    SafeArrayDestroy(array);  // frees the BSTR with it
  }
  doc->Release();
  return ok;
}

std::wstring HtmlView::SelectedText(int units) {
  std::wstring text;
  IHTMLDocument2* doc = DocumentOf(browser_);
  if (doc == nullptr) return text;
  IHTMLSelectionObject* selection = nullptr;
  if (SUCCEEDED(doc->get_selection(&selection)) && selection != nullptr) {
    IDispatch* rangeDispatch = nullptr;
    if (SUCCEEDED(selection->createRange(&rangeDispatch)) && rangeDispatch != nullptr) {
      IHTMLTxtRange* range = nullptr;
      if (SUCCEEDED(rangeDispatch->QueryInterface(kIidHtmlTxtRange, reinterpret_cast<void**>(&range))) && range) {
        BSTR b = nullptr;
        if (SUCCEEDED(range->get_text(&b)) && b != nullptr) {
          text.assign(b, SysStringLen(b));
          SysFreeString(b);
        }
        range->Release();
      }
      rangeDispatch->Release();
    }
    selection->Release();
  }
  doc->Release();
  if (units > 0 && text.size() > static_cast<size_t>(units - 1)) text.resize(static_cast<size_t>(units - 1));
  return text;
}

void HtmlView::ScrollToAnchor(const std::wstring& name) {
  IHTMLDocument2* doc = DocumentOf(browser_);
  if (doc == nullptr) return;
  IHTMLElementCollection* all = nullptr;
  if (SUCCEEDED(doc->get_all(&all)) && all != nullptr) {
    VARIANT key, index;
    key.vt = VT_BSTR;
    key.bstrVal = SysAllocString(name.c_str());
    index.vt = VT_I4;
    index.lVal = 0;
    IDispatch* item = nullptr;
    if (SUCCEEDED(all->item(key, index, &item)) && item != nullptr) {
      IHTMLElement* element = nullptr;
      if (SUCCEEDED(item->QueryInterface(kIidHtmlElement, reinterpret_cast<void**>(&element))) && element) {
        VARIANT top;
        top.vt = VT_BOOL;
        top.boolVal = VARIANT_TRUE;
        element->scrollIntoView(top);
        element->Release();
      }
      item->Release();
    }
    SysFreeString(key.bstrVal);
    all->Release();
  }
  doc->Release();
}

namespace {

HWND InnermostChild(HWND w) {
  for (HWND child = GetWindow(w, GW_CHILD); child != nullptr; child = GetWindow(w, GW_CHILD)) w = child;
  return w;
}

}  // namespace

void HtmlView::Print() { SendMessageW(InnermostChild(hwnd()), WM_COMMAND, 27, 0); }

bool HtmlView::Contains(HWND w) const { return w != nullptr && (w == hwnd() || IsChild(hwnd(), w)); }

bool HtmlView::TranslateAccelerator(MSG& msg) {
  if (ole_ == nullptr) return false;
  IOleInPlaceActiveObject* active = nullptr;
  if (FAILED(ole_->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active))) || !active)
    return false;
  const bool taken = active->TranslateAccelerator(&msg) == S_OK;
  active->Release();
  return taken;
}

namespace {

// The browser's window while its context menu is open: item 1064 enabled.
WNDPROC g_browserProc = nullptr;
LRESULT CALLBACK MenuOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITMENUPOPUP) {
    const LRESULT r = CallWindowProcW(g_browserProc, hwnd, message, wParam, lParam);
    EnableMenuItem(reinterpret_cast<HMENU>(wParam), ID_CONTEXT_SEARCH, MF_BYCOMMAND | MF_ENABLED);
    return r;
  }
  return CallWindowProcW(g_browserProc, hwnd, message, wParam, lParam);
}

}  // namespace

void HtmlView::ShowContextMenu(DWORD kind, POINT screen) {
  constexpr UINT kCopy = 15, kSelectAll = 31, kPrint = 27;
  HMODULE shdoclc = GetModuleHandleW(L"SHDOCLC.DLL");
  const bool loaded = shdoclc == nullptr;
  if (loaded) shdoclc = LoadLibraryExW(L"SHDOCLC.DLL", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HMENU resource = shdoclc != nullptr ? LoadMenuW(shdoclc, MAKEINTRESOURCEW(24641)) : nullptr;
  HMENU menu = resource != nullptr ? GetSubMenu(resource, static_cast<int>(kind)) : nullptr;
  HMENU own = nullptr;
  if (menu == nullptr) {
    // Without the browser's menu resource: the three items it would keep.
    own = CreatePopupMenu();
    AppendMenuW(own, MF_STRING, kCopy, L"コピー(&C)");
    AppendMenuW(own, MF_STRING, kSelectAll, L"すべて選択(&A)");
    AppendMenuW(own, MF_STRING, kPrint, L"印刷(&P)...");
    menu = own;
  } else {
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
      const UINT id = GetMenuItemID(menu, i);
      if (id != kCopy && id != kSelectAll && id != kPrint) DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
    }
  }
  if (kind == 4 /* CONTEXT_MENU_TEXTSELECT */) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, ID_CONTEXT_SEARCH, L"辞書検索");
  }
  HWND owner = InnermostChild(hwnd());
  g_browserProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuOwnerProc)));
  const UINT command = static_cast<UINT>(
      TrackPopupMenuEx(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_LEFTALIGN, screen.x, screen.y, owner, nullptr));
  SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_browserProc));
  if (own != nullptr) DestroyMenu(own);
  if (resource != nullptr) DestroyMenu(resource);
  if (loaded && shdoclc != nullptr) FreeLibrary(shdoclc);
  if (command == ID_CONTEXT_SEARCH) {
    const std::wstring selected = SelectedText(64);
    if (!selected.empty() && host_ != nullptr) host_->OnContextSearch(*this, selected);
  } else if (command != 0) {
    SendMessageW(owner, WM_COMMAND, command, 0);
  }
}

bool HtmlView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SIZE:
      ResizeBrowser();
      break;
    case WM_DESTROY:
      Release();
      page_.clear();
      break;
    case WM_ERASEBKGND:
      if (ole_ != nullptr) {
        result = 1;
        return true;
      }
      break;
    default:
      break;
  }
  return Window::OnMessage(message, wParam, lParam, result);
}

}  // namespace ombrel::win
