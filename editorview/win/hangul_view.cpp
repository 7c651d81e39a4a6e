#include "hangul_view.h"

#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <string>

#include "dialog.h"
#include "frame.h"
#include "ime_result.h"
#include "ime_layouts.h"
#include "view_choices.h"
#include "view_resources.h"

namespace editorview {

namespace {

constexpr std::wstring_view kNotFoundText = L"検索文字列が見つかりません";
constexpr int kTitleBytes = 100;  // of the active window's text that titles the not-found box

// The commands the view carries out itself, and those it answers only
// where its variant has find and replace.
constexpr unsigned kViewCommands[] = {kCmdUndo,   kCmdCut,   kCmdDelete, kCmdSelectAll,
                                      kCmdKsCopy, kCmdGmCopy, kCmdPaste};
constexpr unsigned kFindCommands[] = {kCmdFindNext, kCmdFindPrevious};

bool IsIn(std::span<const unsigned> ids, unsigned id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

bool KeyDown(int vk) { return GetKeyState(vk) < 0; }

// The text of a window, cut to at most limit bytes of the ANSI code page
// (932) on a character boundary.
std::wstring WindowTitle(HWND hwnd, int limit) {
  if (!hwnd) return {};
  const std::wstring text = fw::WindowText(hwnd);
  std::wstring out;
  int bytes = 0;
  for (wchar_t c : text) {
    const std::string b = fw::ToCodePage(932, std::wstring(1, c));
    const int n = b.empty() ? 1 : static_cast<int>(b.size());
    if (bytes + n > limit) break;
    bytes += n;
    out.push_back(c);
  }
  return out;
}

}  // namespace

void LoadRtfParts(RtfClipBuilder& builder, const fw::Module& module) {
  builder.LoadRtfParts([&](const char* name) { return module.Resource(RtfClipBuilder::kResourceType, name); });
}

void LoadGmTables(codeconv::GmCodeConverter& converter, const fw::Module& module) {
  static const codeconv::ModuleResourceFinder cvdata("CVDATA");
  converter.LoadTables(reinterpret_cast<uintptr_t>(module.handle()), cvdata);
}

// ---- the engine's window ----

class HangulView::Host final : public ViewHost {
 public:
  explicit Host(HangulView& view) : view_(view) {}

  void Beep(BeepKind kind) override { MessageBeep(BeepType(kind)); }

  void Notify(Notice notice) override {
    // Every box comes after its beep.
    if (notice == Notice::kNotFound) {
      MessageBeep(MB_ICONASTERISK);
      HWND active = GetActiveWindow();
      MessageBoxW(active, std::wstring(kNotFoundText).c_str(), WindowTitle(active, kTitleBytes).c_str(),
                  MB_OK | MB_ICONINFORMATION);
      return;
    }
    MessageBeep(MB_ICONEXCLAMATION);
    const std::wstring text = view_.resources_.module.String(StringOf(notice));
    HWND owner = view_.frame() ? view_.frame()->hwnd() : view_.hwnd();
    const std::wstring caption = fw::App::Current() ? fw::App::Current()->programName() : std::wstring();
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
  }

  void Invalidate() override {
    if (view_.hwnd()) InvalidateRect(view_.hwnd(), nullptr, FALSE);
  }

  void SetScrollBar(const ScrollBarState& s) override {
    HWND bar = view_.scrollBar_;
    if (!bar) return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = s.max;
    info.nPos = s.position;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    EnableScrollBar(bar, SB_CTL, s.enabled ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
  }

  // The engine places the caret more than once in an edit; only a change
  // reaches the system (the composition form goes to the input method).
  void PlaceCaret(int x, int y) override {
    if (!view_.focus_ || (caretPlaced_ && x == caretX_ && y == caretY_)) return;
    SetCaretPos(x, y);
    caretPlaced_ = true;
    caretX_ = x;
    caretY_ = y;
  }

  void PlaceComposition(int x, int y, const Rect& area) override {
    if (formPlaced_ && x == formX_ && y == formY_ && area == formArea_) return;
    HIMC himc = ImmGetContext(view_.hwnd());
    if (!himc) return;
    formPlaced_ = true;
    formX_ = x;
    formY_ = y;
    formArea_ = area;
    COMPOSITIONFORM form{};
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos = POINT{x, y};
    form.rcArea = RECT{area.left, area.top, area.right, area.bottom};
    ImmSetCompositionWindow(himc, &form);
    ImmReleaseContext(view_.hwnd(), himc);
  }

  void LineStatusChanged() override {
    const std::string text = view_.engine_->LineStatusText();
    view_.SetStatusPane(1, std::wstring(text.begin(), text.end()));
  }

  void CaptureMouse(bool capture) override {
    if (capture) {
      SetCapture(view_.hwnd());
    } else if (GetCapture() == view_.hwnd()) {
      ReleaseCapture();
    }
  }

  void BeginWait() override {
    if (waits_++ == 0) before_ = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  }
  void EndWait() override {
    if (waits_ > 0 && --waits_ == 0) SetCursor(before_);
  }
  bool Waiting() const { return waits_ > 0; }
  // A new caret or input context: the next placement goes through.
  void ForgetPlacement() { caretPlaced_ = formPlaced_ = false; }

 private:
  static UINT BeepType(BeepKind kind) {
    switch (kind) {
      case BeepKind::kExclamation: return MB_ICONEXCLAMATION;
      case BeepKind::kAsterisk: return MB_ICONASTERISK;
      default: return 0;
    }
  }
  static unsigned StringOf(Notice notice) {
    switch (notice) {
      case Notice::kClipboardWriteError: return IDS_CLIPBOARD_WRITE_ERROR;
      case Notice::kClipboardReadError: return IDS_CLIPBOARD_READ_ERROR;
      case Notice::kRtfInvalid: return IDS_RTF_INVALID;
      case Notice::kRtfUnconvertible: return IDS_RTF_UNCONVERTIBLE;
      case Notice::kFontCodeChanged: return IDS_FONT_CODE_CHANGED;
      default: return 0;
    }
  }

  HangulView& view_;
  int waits_ = 0;
  HCURSOR before_ = nullptr;
  bool caretPlaced_ = false;
  int caretX_ = 0, caretY_ = 0;
  bool formPlaced_ = false;
  int formX_ = 0, formY_ = 0;
  Rect formArea_;
};

// ---- the view ----

HangulView::HangulView(const ViewWindowParams& params, fw::Document& document, LineDocument& lines,
                       const ViewResources& resources, const LOGFONTW& font)
    : fw::View(document), params_(params), resources_(resources), logFont_(font), host_(std::make_unique<Host>(*this)) {
  static const codeconv::GmCodeConverter noTables;
  measureDc_ = CreateCompatibleDC(nullptr);
  measurer_.SetDc(measureDc_);
  ViewEngine::Services services{measurer_, *host_, resources_.gm ? *resources_.gm : noTables};
  services.clipboard = &clipboard_;
  services.detector = resources_.detector;
  services.rtfBuilder = resources_.rtf;
  services.settings = resources_.settings;
  engine_ = std::make_unique<ViewEngine>(*params_.variant, lines, services);
  printing_ = std::make_unique<ViewPrinting>(*engine_, resources_.module);
}

HangulView::~HangulView() {
  printing_.reset();
  engine_.reset();
  if (measureDc_) {
    if (measureDcFont_) SelectObject(measureDc_, measureDcFont_);
    DeleteDC(measureDc_);
  }
}

HWND HangulView::Create(fw::FrameWindow& frame) {
  fw::PaneSite site{frame.hwnd(), fw::kFirstPaneId, {}};
  GetClientRect(frame.hwnd(), &site.rect);
  return Create(frame, site);
}

HWND HangulView::Create(fw::FrameWindow& frame, const fw::PaneSite& site) {
  const fw::Module& module = resources_.module;
  WNDCLASSW existing{};
  if (!GetClassInfoW(module.handle(), kClassName, &existing) &&
      !fw::Window::RegisterWindowClass(module, kClassName, 0, LoadCursor(nullptr, IDC_IBEAM), nullptr)) {
    return nullptr;
  }
  return CreateView(module, kClassName, frame, site, WS_VISIBLE | WS_CLIPCHILDREN);
}

ViewFont HangulView::MeasureFont() {
  ViewFont f;
  TEXTMETRICW tm{};
  SelectObject(measureDc_, measuringFont_.get());
  GetTextMetricsW(measureDc_, &tm);
  f.averageCharWidth = tm.tmAveCharWidth;
  SelectObject(measureDc_, font_.get());
  GetTextMetricsW(measureDc_, &tm);
  f.lineHeight = tm.tmHeight;
  f.charset = logFont_.lfCharSet;
  f.lfHeight = logFont_.lfHeight;
  f.face = fw::ToCodePage(932, logFont_.lfFaceName);
  HDC screen = GetDC(nullptr);
  f.logPixelsY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return f;
}

bool HangulView::SetViewFont(const LOGFONTW& font) {
  fw::Font rebuilt(CreateFontIndirectW(&font));
  if (!rebuilt) return false;  // the font in use stays
  logFont_ = font;
  // The memory DC lets go of the old font before it is deleted.
  HGDIOBJ before = SelectObject(measureDc_, rebuilt.get());
  if (!measureDcFont_) measureDcFont_ = before;
  font_ = std::move(rebuilt);
  const bool codeChanged = engine_->SetFont(MeasureFont());
  if (focus_) {
    // A caret one line high again.
    DestroyCaret();
    CreateCaret(hwnd(), nullptr, 2, engine_->LineHeight());
    host_->ForgetPlacement();
    engine_->SetFocus();
    ShowCaret(hwnd());
    GiveCompositionFont();
  }
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateCodeStatus();
  return codeChanged;
}

bool HangulView::OnCreate() {
  colours_.background = GetSysColor(COLOR_WINDOW);
  colours_.text = GetSysColor(COLOR_WINDOWTEXT);
  colours_.selectionBackground = GetSysColor(COLOR_HIGHLIGHT);
  colours_.selectionText = GetSysColor(COLOR_HIGHLIGHTTEXT);
  clipboard_.SetOwner(hwnd());
  measuringFont_.reset(CreateFontW(0, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, L"FixedSys"));
  scrollBarWidth_ = GetSystemMetrics(SM_CXHTHUMB);
  RECT c{};
  GetClientRect(hwnd(), &c);
  scrollBar_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, c.right - scrollBarWidth_, 0,
                               scrollBarWidth_, c.bottom, hwnd(), nullptr, resources_.module.handle(), nullptr);
  SetViewFont(logFont_);
  return static_cast<bool>(font_);
}

void HangulView::OnSize(int width, int height) {
  if (scrollBar_) MoveWindow(scrollBar_, width - scrollBarWidth_, 0, scrollBarWidth_, height, TRUE);
  engine_->Resize(width, height, scrollBarWidth_);
}

void HangulView::OnDraw(HDC dc) {
  RECT c{};
  GetClientRect(hwnd(), &c);
  const int width = std::max<int>(c.right - scrollBarWidth_, 1);
  const int height = std::max<int>(c.bottom, 1);
  // Painted in a bitmap first, so that rows never flicker.
  if (!backBuffer_ || backBufferSize_.cx != width || backBufferSize_.cy != height) {
    backBuffer_.reset(CreateCompatibleBitmap(dc, width, height));
    backBufferSize_ = SIZE{width, height};
  }
  fw::MemoryDc mem(dc);
  bool first = false;
  {
    fw::Selection bitmap(mem.get(), backBuffer_.get());
    fw::Selection font(mem.get(), font_.get());
    GdiCanvas canvas(mem.get(), colours_, engine_->LineHeight(), height);
    first = engine_->Paint(canvas);
    BitBlt(dc, 0, 0, width, height, mem.get(), 0, 0, SRCCOPY);
  }
  // The input method has the composition font from the first paint on.
  if (first) GiveCompositionFont();
}

void HangulView::GiveCompositionFont() {
  HIMC himc = ImmGetContext(hwnd());
  if (!himc) return;
  LOGFONTW lf = logFont_;
  ImmSetCompositionFontW(himc, &lf);
  ImmReleaseContext(hwnd(), himc);
}

void HangulView::SetStatusPane(int pane, const std::wstring& text) {
  HWND frameWindow = frame() ? frame()->hwnd() : GetParent(hwnd());
  HWND status = frameWindow ? GetDlgItem(frameWindow, fw::kStatusBarId) : nullptr;
  if (status) SendMessageW(status, SB_SETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text.c_str()));
}

void HangulView::UpdateCodeStatus() {
  SetStatusPane(2, resources_.module.String(CodeStatusStringId(logFont_.lfCharSet)));
}

void HangulView::LookUpEditions() {
  const std::vector<codeconv::ImeLayoutEntry> layouts = codeconv::Win32KeyboardLayouts().InstalledLayouts();
  unicodeEdition_ = reinterpret_cast<HKL>(FindLayoutByImeFile(kUnicodeEditionFiles, layouts));
  gmEdition_ = reinterpret_cast<HKL>(FindLayoutByImeFile(kGmEditionFiles, layouts));
}

void HangulView::ActivateImeForFont() {
  HKL want = nullptr;
  if (logFont_.lfCharSet == kGmCharset) want = gmEdition_;
  if (logFont_.lfCharSet == kHangeulCharset) want = unicodeEdition_;
  codeconv::KeyboardLayoutSystem& layouts = codeconv::Win32KeyboardLayouts();
  if (want && layouts.CurrentLayout() != reinterpret_cast<uintptr_t>(want)) {
    layouts.Activate(reinterpret_cast<uintptr_t>(want));
  }
  HIMC himc = ImmGetContext(hwnd());
  if (!himc) return;
  LOGFONTW lf = logFont_;
  ImmSetCompositionFontW(himc, &lf);
  ImmSetOpenStatus(himc, TRUE);
  ImmReleaseContext(hwnd(), himc);
}

void HangulView::OnInitialUpdate() {
  if (params_.ime == ImeChoice::kFontEdition) {
    LookUpEditions();
    ActivateImeForFont();
  }
  UpdateCodeStatus();
  fw::View::OnInitialUpdate();
}

void HangulView::OnUpdate(fw::DocumentView*, long hint) {
  engine_->OnUpdate(static_cast<int>(hint));
  pendingHighSurrogate_ = 0;
}

bool HangulView::OnCommand(unsigned id) {
  if (fw::View::OnCommand(id)) return true;  // printing
  if (DialogCommand(id)) return true;
  const bool find = params_.variant->findReplace && IsIn(kFindCommands, id);
  if (!find && !IsIn(kViewCommands, id)) return false;
  return engine_->Command(id);
}

bool HangulView::OnUpdateCommand(unsigned id, fw::CommandState& state) {
  if (fw::View::OnUpdateCommand(id, state)) return true;
  if (DialogCommand(id, &state)) return true;
  const bool find = params_.variant->findReplace && IsIn(kFindCommands, id);
  if (!find && !IsIn(kViewCommands, id)) return false;
  state.enabled = engine_->CommandEnabled(id);
  return true;
}

bool HangulView::OnPreparePrinting(fw::PrintInfo& info) { return DoPreparePrinting(info); }

void HangulView::OnBeginPrinting(HDC printerDc, fw::PrintInfo& info) {
  if (!params_.variant->printing) return fw::View::OnBeginPrinting(printerDc, info);
  static const PageSettings defaults = DefaultPageSettings();
  const PageSettings& settings = resources_.pageSettings ? *resources_.pageSettings : defaults;
  const std::u16string& title = document().Title();
  printing_->Begin(printerDc, info, logFont_, settings, std::wstring(title.begin(), title.end()));
}

void HangulView::OnPrepareDC(HDC dc, fw::PrintInfo* info) {
  if (!params_.variant->printing || !info) return fw::View::OnPrepareDC(dc, info);
  printing_->PrepareDc(frame() ? frame()->hwnd() : GetAncestor(hwnd(), GA_ROOT), *info);
}

void HangulView::OnPrint(HDC dc, fw::PrintInfo& info) {
  if (!params_.variant->printing) return fw::View::OnPrint(dc, info);
  printing_->Print(dc, info);
}

void HangulView::OnEndPrinting(HDC printerDc, fw::PrintInfo& info) {
  if (!params_.variant->printing) return fw::View::OnEndPrinting(printerDc, info);
  printing_->End();
}

void HangulView::OnChar(wchar_t unit) {
  if (unit < 0x80) {
    pendingHighSurrogate_ = 0;
    engine_->Char(static_cast<unsigned char>(unit), KeyDown(VK_SHIFT));
    return;
  }
  // A character of a Unicode keyboard path (half-width kana, or anything an
  // input method sends without a result string), in the line's code.
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    pendingHighSurrogate_ = unit;
    return;
  }
  std::u16string units;
  if (unit >= 0xDC00 && unit <= 0xDFFF && pendingHighSurrogate_) units.push_back(pendingHighSurrogate_);
  pendingHighSurrogate_ = 0;
  units.push_back(static_cast<char16_t>(unit));
  const std::string text = engine_->Code().FromUtf16(units);
  if (!text.empty()) engine_->InsertText(text);
}

void HangulView::ReadImeResult() {
  const ImeResultRead mode = engine_->ImeResultMode();
  HIMC himc = ImmGetContext(hwnd());
  if (!himc) return;
  // The length first, the limit (512 units wide, 512 bytes ANSI), a buffer
  // of the string's own length, ended here (ime_result.h).
  if (mode.wide) {
    const auto text = ReadImeResultString<char16_t>(mode, [&](void* buffer, unsigned long bytes) {
      return ImmGetCompositionStringW(himc, GCS_RESULTSTR, buffer, bytes);
    });
    if (text) engine_->InsertImeResult(std::u16string_view(*text));
  } else {
    const auto text = ReadImeResultString<char>(mode, [&](void* buffer, unsigned long bytes) {
      return ImmGetCompositionStringA(himc, GCS_RESULTSTR, buffer, bytes);
    });
    if (text) engine_->InsertImeResult(std::string_view(*text));
  }
  ImmReleaseContext(hwnd(), himc);
}

void HangulView::OpenContextMenu(POINT screen) {
  // Owned by the frame, which routes its update-UI and its commands.
  HWND owner = frame() ? frame()->hwnd() : GetAncestor(hwnd(), GA_ROOT);
  SetActiveWindow(GetAncestor(owner, GA_ROOT));
  HMENU menu = LoadMenuW(resources_.module.handle(), MAKEINTRESOURCEW(params_.contextMenu));
  if (!menu) return;
  if (HMENU popup = GetSubMenu(menu, 0)) {
    TrackPopupMenu(popup, TPM_CENTERALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
  }
  DestroyMenu(menu);
}

bool HangulView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const auto x = static_cast<short>(LOWORD(lParam));
  const auto y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_CREATE:
      result = OnCreate() ? 0 : -1;
      return true;
    case WM_SIZE:
      OnSize(x, y);
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 1;  // the paint covers everything
      return true;
    case WM_SETFOCUS:
      focus_ = true;
      CreateCaret(hwnd(), nullptr, 2, engine_->LineHeight());
      host_->ForgetPlacement();
      engine_->SetFocus();
      GiveCompositionFont();
      ShowCaret(hwnd());
      result = 0;
      return true;
    case WM_KILLFOCUS:
      focus_ = false;
      engine_->KillFocus();
      HideCaret(hwnd());
      DestroyCaret();
      result = 0;
      return true;
    case WM_KEYDOWN:
      engine_->KeyDown(static_cast<unsigned>(wParam), KeyDown(VK_SHIFT), KeyDown(VK_CONTROL));
      return false;  // and the default handling
    case WM_CHAR:
      OnChar(static_cast<wchar_t>(wParam));
      result = 0;
      return true;
    case WM_IME_COMPOSITION:
      if (lParam & GCS_RESULTSTR) ReadImeResult();
      return false;
    case WM_IME_CHAR:
      result = 0;  // the result string came with WM_IME_COMPOSITION
      return true;
    case WM_LBUTTONDOWN:
      if (GetFocus() != hwnd()) SetFocus(hwnd());
      lastMouse_ = POINT{x, y};
      engine_->LeftButtonDown(x, y, (wParam & MK_SHIFT) != 0);
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      lastMouse_ = POINT{x, y};
      engine_->MouseMove(x, y);
      result = 0;
      return true;
    case WM_LBUTTONUP:
      lastMouse_ = POINT{x, y};
      engine_->LeftButtonUp(x, y);
      result = 0;
      return true;
    case WM_CAPTURECHANGED:
      // Capture taken away in a drag: the drag ends where the mouse was last.
      if (reinterpret_cast<HWND>(lParam) != hwnd()) engine_->LeftButtonUp(lastMouse_.x, lastMouse_.y);
      return false;
    case WM_RBUTTONDOWN: {
      POINT p{x, y};
      ClientToScreen(hwnd(), &p);
      OpenContextMenu(p);
      result = 0;
      return true;
    }
    case WM_CONTEXTMENU:
      // The menu key or Shift+F10 (the mouse's menu opened on the button's press).
      if (lParam == -1) {
        POINT p{engine_->CaretX(), engine_->CaretY() + engine_->LineHeight()};
        ClientToScreen(hwnd(), &p);
        OpenContextMenu(p);
      }
      result = 0;
      return true;
    case WM_MOUSEWHEEL:
      engine_->MouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      result = 0;
      return true;
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lParam) != scrollBar_) return false;
      engine_->VScroll(LOWORD(wParam), HIWORD(wParam));
      result = 0;
      return true;
    case WM_SETCURSOR:
      if (host_->Waiting()) {
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        result = TRUE;
        return true;
      }
      return false;
    case WM_DESTROY:
      if (focus_) DestroyCaret();
      focus_ = false;
      scrollBar_ = nullptr;
      return fw::View::OnMessage(message, wParam, lParam, result);
    default:
      return fw::View::OnMessage(message, wParam, lParam, result);
  }
}

}  // namespace editorview
