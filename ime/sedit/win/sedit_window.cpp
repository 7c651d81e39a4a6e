#include "sedit_window.h"

#include <imm.h>

#include <cstring>
#include <string>

#include "code_page.h"
#include "sedit_editor.h"

namespace sedit {

const char kSEditClassName[] = "SEDIT_CLASS";

namespace {

static_assert(sizeof(LOGFONTA) == kLogFontSize, "the record keeps a LOGFONTA");

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kSelectionBack = 0x800000;
// Arrow keys and characters reach the control inside a dialog.
constexpr LRESULT kDlgCode = DLGC_WANTARROWS | DLGC_WANTCHARS;  // 129

struct ModuleState {
  InstanceTable* table = nullptr;
  SEditHost* host = nullptr;
  HMENU menu = nullptr;    // shared by all controls; lives with record 0
  bool keepCaret = false;  // a click: the coming focus keeps caret and selection
};

ModuleState g;

enum class Note { kChanged, kFocusGained, kFocusLost, kTextSet, kComposition };

const Variant& V() { return g.table->variant(); }

Editor EditorOf(Record& r) { return Editor(r, V(), codeconv::PlatformCodePages()); }

void Notify(HWND hwnd, Note note) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  const WORD id = static_cast<WORD>(GetDlgCtrlID(hwnd));
  if (V().notify == NotifyStyle::kPostEnChange) {
    if (note == Note::kChanged) {
      PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, kEnChange), reinterpret_cast<LPARAM>(hwnd));
    }
    return;
  }
  const unsigned code = note == Note::kFocusGained ? kNotifyFocusGained
                        : note == Note::kFocusLost ? kNotifyFocusLost
                                                   : kNotifyChanged;
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
}

// Text of the editor's UTF-8 copy as it is drawn: UTF-16, or the ANSI code page.
std::u16string Utf16Of(const char* bytes, int count) { return Utf8ToUtf16(bytes, count); }
std::string AnsiOf(const char* bytes, int count) {
  return codeconv::PlatformCodePages().FromUtf16(932, Utf16Of(bytes, count));
}

bool DrawsUtf16(const Record& r) { return V().leadRule == LeadRule::kUtf8 && !r.ansiDrawing; }
bool DrawsConvertedAnsi(const Record& r) { return V().leadRule == LeadRule::kUtf8 && r.ansiDrawing; }

class GdiMeasurer final : public TextMeasurer {
 public:
  GdiMeasurer(HDC dc, const Record& r) : dc_(dc), r_(r) {}
  int Width(const char* bytes, int count) override {
    if (count <= 0) return 0;
    SIZE size{};
    if (DrawsUtf16(r_)) {
      const std::u16string w = Utf16Of(bytes, count);
      GetTextExtentPoint32W(dc_, reinterpret_cast<LPCWSTR>(w.data()), static_cast<int>(w.size()), &size);
    } else if (DrawsConvertedAnsi(r_)) {
      const std::string a = AnsiOf(bytes, count);
      GetTextExtentPoint32A(dc_, a.data(), static_cast<int>(a.size()), &size);
    } else {
      GetTextExtentPoint32A(dc_, bytes, count, &size);
    }
    return size.cx;
  }

 private:
  HDC dc_;
  const Record& r_;
};

// A device context of the control with its font selected.
class FontDc {
 public:
  FontDc(HWND hwnd, const Record& r) : hwnd_(hwnd), dc_(GetDC(hwnd)) {
    if (dc_ && r.font) old_ = SelectObject(dc_, reinterpret_cast<HFONT>(r.font));
  }
  ~FontDc() {
    if (!dc_) return;
    if (old_) SelectObject(dc_, old_);
    ReleaseDC(hwnd_, dc_);
  }
  FontDc(const FontDc&) = delete;
  FontDc& operator=(const FontDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

RECT ContentArea(HWND hwnd) {
  RECT c{};
  GetClientRect(hwnd, &c);
  return RECT{c.left + kTextLeft, c.top + kTextTop, c.right - kInsetRight, c.bottom - kInsetBottom};
}

// Gives the input method the control's font and, with x, places its
// composition window at the caret.
void SetComposition(HWND hwnd, const Record& r, const int* x) {
  HIMC himc = ImmGetContext(hwnd);
  if (!himc) return;
  if (r.hasLogFont) {
    LOGFONTA lf;
    std::memcpy(&lf, r.logFont.data(), sizeof lf);
    ImmSetCompositionFontA(himc, &lf);
  }
  if (x) {
    COMPOSITIONFORM form{};
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos = POINT{*x, kTextTop};
    ImmSetCompositionWindow(himc, &form);
  }
  ImmReleaseContext(hwnd, himc);
}

void DrawFrame(HDC dc, const RECT& c) {
  const int w = c.right - c.left;
  const int h = c.bottom - c.top;
  HPEN grey = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
  HPEN black = CreatePen(PS_SOLID, 1, kBlack);
  HPEN light = CreatePen(PS_SOLID, 1, RGB(192, 192, 192));
  HGDIOBJ old = SelectObject(dc, grey);
  MoveToEx(dc, 0, h - 1, nullptr);
  LineTo(dc, 0, 0);
  LineTo(dc, w - 1, 0);
  SelectObject(dc, black);
  MoveToEx(dc, 1, h - 2, nullptr);
  LineTo(dc, 1, 1);
  LineTo(dc, w - 2, 1);
  SelectObject(dc, light);
  MoveToEx(dc, w - 1, 0, nullptr);
  LineTo(dc, w - 1, h - 1);
  LineTo(dc, -1, h - 1);
  SelectObject(dc, old);
  DeleteObject(grey);
  DeleteObject(black);
  DeleteObject(light);
}

// Draws one run of the text at x; returns its width.
int DrawRun(HDC dc, const Record& r, const char* bytes, int count, int x, const RECT& area, bool selected,
            GdiMeasurer& measure) {
  if (count <= 0 || x >= area.right) return 0;
  SetTextColor(dc, selected ? kWhite : kBlack);
  SetBkColor(dc, selected ? kSelectionBack : kWhite);
  SetBkMode(dc, OPAQUE);
  RECT rc{x, area.top, area.right, area.bottom};
  if (DrawsUtf16(r)) {
    const std::u16string w = Utf16Of(bytes, count);
    ExtTextOutW(dc, x, area.top, ETO_CLIPPED, &rc, reinterpret_cast<LPCWSTR>(w.data()), static_cast<UINT>(w.size()),
                nullptr);
  } else if (DrawsConvertedAnsi(r)) {
    const std::string a = AnsiOf(bytes, count);
    DrawTextA(dc, a.data(), static_cast<int>(a.size()), &rc, DT_SINGLELINE | DT_NOPREFIX);
  } else {
    DrawTextA(dc, bytes, count, &rc, DT_SINGLELINE | (V().noPrefix ? DT_NOPREFIX : 0));
  }
  return measure.Width(bytes, count);
}

void DrawContent(HDC dc, const Record& r, const RECT& area, GdiMeasurer& measure) {
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const int len = static_cast<int>(strnlen(r.text, static_cast<size_t>(V().bufferSize - 1)));
  const int first = r.firstVisible < len ? r.firstVisible : len;
  int x = area.left;
  if (r.focus && r.HasSelection() && r.selEnd > first) {
    const int s = r.selStart > first ? r.selStart : first;
    const int e = r.selEnd < len ? r.selEnd : len;
    x += DrawRun(dc, r, r.text + first, s - first, x, area, false, measure);
    x += DrawRun(dc, r, r.text + s, e - s, x, area, true, measure);
    DrawRun(dc, r, r.text + e, len - e, x, area, false, measure);
  } else {
    DrawRun(dc, r, r.text + first, len - first, x, area, false, measure);
  }
}

void Paint(HWND hwnd, Record& r) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (!dc) return;
  RECT client{};
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawFrame(dc, client);
  HGDIOBJ old = r.font ? SelectObject(dc, reinterpret_cast<HFONT>(r.font)) : nullptr;
  const RECT area = ContentArea(hwnd);
  HRGN clip = CreateRectRgn(area.left, area.top, area.right, area.bottom);
  SelectClipRgn(dc, clip);
  GdiMeasurer measure(dc, r);
  CaretPlace place;
  if (r.focus) place = EditorOf(r).UpdateCaret(measure, area.right);  // scrolls before the text is drawn
  DrawContent(dc, r, area, measure);
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
  if (old) SelectObject(dc, old);
  EndPaint(hwnd, &ps);
  if (r.focus) {
    SetCaretPos(place.x, kTextTop);
    SetComposition(hwnd, r, &place.x);
  }
}

void Repaint(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
}

void BeepTimes(int n) {
  for (int i = 0; i < n; ++i) g.host->Beep();
}

// --- clipboard ---

HGLOBAL GlobalCopy(const void* data, size_t bytes, size_t terminator) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes + terminator);
  if (!block) return nullptr;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(p, data, bytes);
  GlobalUnlock(block);
  return block;
}

bool PutClipboard(HWND hwnd, const ClipboardText& t) {
  HGLOBAL text = nullptr;
  HGLOBAL unicode = nullptr;
  bool ok = true;
  if (t.bytes && !(text = GlobalCopy(t.bytes->data(), t.bytes->size(), 1))) ok = false;
  if (ok && t.unicode && !(unicode = GlobalCopy(t.unicode->data(), 2 * t.unicode->size(), 2))) ok = false;
  if (ok && !OpenClipboard(hwnd)) ok = false;
  if (ok) {
    EmptyClipboard();
    if (text) {
      if (SetClipboardData(CF_TEXT, text)) text = nullptr;  // the clipboard owns it now
      else ok = false;
    }
    if (unicode) {
      if (SetClipboardData(CF_UNICODETEXT, unicode)) unicode = nullptr;
      else ok = false;
    }
    CloseClipboard();
  }
  if (text) GlobalFree(text);
  if (unicode) GlobalFree(unicode);
  return ok;
}

template <typename Char>
std::basic_string<Char> ReadBlock(UINT format) {
  std::basic_string<Char> out;
  HANDLE h = GetClipboardData(format);
  if (!h) return out;
  const Char* p = static_cast<const Char*>(GlobalLock(h));
  if (!p) return out;
  const size_t room = GlobalSize(h) / sizeof(Char);
  size_t n = 0;
  while (n < room && p[n]) ++n;
  out.assign(p, n);
  GlobalUnlock(h);
  return out;
}

ClipboardText ReadClipboard(HWND hwnd) {
  ClipboardText t;
  if (!OpenClipboard(hwnd)) return t;
  if (IsClipboardFormatAvailable(CF_UNICODETEXT)) t.unicode = ReadBlock<char16_t>(CF_UNICODETEXT);
  if (IsClipboardFormatAvailable(CF_TEXT)) t.bytes = ReadBlock<char>(CF_TEXT);
  CloseClipboard();
  return t;
}

void CopySelection(HWND hwnd, Editor& ed) {
  const ClipboardText t = ed.Copy();
  if (!t.bytes && !t.unicode) return;
  if (!PutClipboard(hwnd, t)) g.host->Beep();
}

// --- input method ---

FeedResult ReadImeResult(HWND hwnd, Editor& ed) {
  FeedResult result;
  const ImeReadMode mode = ed.ImeResultMode(g.host->ImeUnicodeInterface());
  HIMC himc = ImmGetContext(hwnd);
  if (!himc) return result;
  if (mode.utf16) {
    const LONG n = ImmGetCompositionStringW(himc, GCS_RESULTSTR, nullptr, 0);
    if (n > 0 && !ed.ImeResultTooLong(n)) {
      std::u16string text(static_cast<size_t>(n) / 2, u'\0');
      const LONG got = ImmGetCompositionStringW(himc, GCS_RESULTSTR, text.data(), static_cast<DWORD>(n));
      text.resize(got > 0 ? static_cast<size_t>(got) / 2 : 0);
      result = ed.FeedImeResult(text, mode);
    }
  } else {
    const LONG n = ImmGetCompositionStringA(himc, GCS_RESULTSTR, nullptr, 0);
    if (n > 0 && !ed.ImeResultTooLong(n)) {
      std::string bytes(static_cast<size_t>(n), '\0');
      const LONG got = ImmGetCompositionStringA(himc, GCS_RESULTSTR, bytes.data(), static_cast<DWORD>(n));
      bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
      result = ed.FeedImeResult(bytes);
    }
  }
  ImmReleaseContext(hwnd, himc);
  return result;
}

// --- menu ---

void BuildMenu() {
  g.menu = CreatePopupMenu();
  if (!g.menu) return;
  AppendMenuW(g.menu, MF_STRING, kMenuUndo, L"元に戻す(&U)");
  AppendMenuW(g.menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(g.menu, MF_STRING, kMenuCut, L"切り取り(&T)");
  AppendMenuW(g.menu, MF_STRING, kMenuCopy, L"ｺﾋﾟｰ(&C)");
  AppendMenuW(g.menu, MF_STRING, kMenuPaste, L"貼り付け(&P)");
  AppendMenuW(g.menu, MF_STRING, kMenuDelete, L"削除(&D)");
  AppendMenuW(g.menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(g.menu, MF_STRING, kMenuSelectAll, L"すべて選択(&A)");
}

void UpdateMenu(const Editor& ed) {
  const MenuState m = ed.Menu(IsClipboardFormatAvailable(CF_TEXT) != FALSE);
  auto set = [](UINT id, bool on) { EnableMenuItem(g.menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  set(kMenuUndo, m.undo);
  set(kMenuCut, m.cut);
  set(kMenuCopy, m.copy);
  set(kMenuPaste, m.paste);
  set(kMenuDelete, m.clear);
  set(kMenuSelectAll, m.selectAll);
}

// --- focus ---

void OnSetFocus(HWND hwnd, Record& r, HWND from) {
  Editor ed = EditorOf(r);
  CreateCaret(hwnd, nullptr, 2, r.lineHeight);
  // Tabbing in from a sibling selects the whole text; a click, the control
  // itself or another window leave caret and selection.
  const bool sibling = from && from != hwnd && GetParent(from) == GetParent(hwnd);
  ed.FocusGained(sibling && !g.keepCaret);
  Repaint(hwnd);  // places the caret
  ShowCaret(hwnd);
  SetComposition(hwnd, r, nullptr);
  g.keepCaret = false;
  Notify(hwnd, Note::kFocusGained);
}

void OnKillFocus(HWND hwnd, Record& r) {
  HideCaret(hwnd);
  EditorOf(r).FocusLost();
  if (r.HasSelection()) Repaint(hwnd);
  DestroyCaret();
  Notify(hwnd, Note::kFocusLost);
}

// Whether size bytes at address lie in committed memory that may be read.
bool ReadableMemory(std::uintptr_t address, std::size_t size) {
  const std::uintptr_t end = address + size;
  if (end < address) return false;
  while (address < end) {
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(reinterpret_cast<LPCVOID>(address), &info, sizeof info) == 0) return false;
    constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if (info.State != MEM_COMMIT || (info.Protect & kReadable) == 0 || (info.Protect & PAGE_GUARD) != 0) {
      return false;
    }
    address = reinterpret_cast<std::uintptr_t>(info.BaseAddress) + info.RegionSize;
  }
  return true;
}

void OnSetFont(HWND hwnd, Record& r, HFONT font, LPARAM lParam) {
  Editor ed = EditorOf(r);
  const unsigned char* lf = LogFontFromParam(static_cast<std::uintptr_t>(lParam), ReadableMemory);
  ed.ApplyFont(reinterpret_cast<std::uintptr_t>(font), lf, lf ? reinterpret_cast<const LOGFONTA*>(lf)->lfCharSet : 0);
  if (font) {
    FontDc dc(hwnd, r);
    TEXTMETRICA tm{};
    if (dc.get() && GetTextMetricsA(dc.get(), &tm)) r.lineHeight = tm.tmHeight;
  }
  SetComposition(hwnd, r, nullptr);
  Repaint(hwnd);
}

int HitTestAt(HWND hwnd, Record& r, LPARAM lParam) {
  FontDc dc(hwnd, r);
  GdiMeasurer measure(dc.get(), r);
  return EditorOf(r).HitTest(static_cast<short>(LOWORD(lParam)), measure);
}

void OnKeyDown(HWND hwnd, Record& r, WPARAM key) {
  Editor ed = EditorOf(r);
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  switch (key) {
    case VK_RIGHT:
      ed.KeyRight(shift);
      Repaint(hwnd);
      break;
    case VK_LEFT:
      ed.KeyLeft(shift);
      Repaint(hwnd);
      break;
    case VK_DELETE:
      ed.DeleteForward();
      Repaint(hwnd);
      Notify(hwnd, Note::kChanged);
      break;
    case 'V':
      if (ctrl) PostMessageA(hwnd, WM_PASTE, 0, 0);
      break;
    case 'C':
      if (ctrl) PostMessageA(hwnd, WM_COPY, 0, 0);
      break;
    case 'X':
      if (ctrl) PostMessageA(hwnd, WM_CUT, 0, 0);
      break;
    case 'Z':
      if (ctrl) PostMessageA(hwnd, WM_UNDO, 0, 0);
      break;
    default:
      break;
  }
}

LRESULT OnMessage(HWND hwnd, Record& r, UINT msg, WPARAM wParam, LPARAM lParam) {
  Editor ed = EditorOf(r);
  switch (msg) {
    case WM_DESTROY:
      if (g.table->Release(reinterpret_cast<std::uintptr_t>(hwnd)) == 0 && g.menu) {
        DestroyMenu(g.menu);
        g.menu = nullptr;
      }
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SETFOCUS:
      OnSetFocus(hwnd, r, reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_KILLFOCUS:
      OnKillFocus(hwnd, r);
      return 0;
    case WM_SETTEXT:
      ed.SetText(reinterpret_cast<const char*>(lParam));
      Repaint(hwnd);
      Notify(hwnd, Note::kTextSet);
      return 1;
    case WM_GETTEXT:
      return ed.GetText(reinterpret_cast<char*>(lParam), static_cast<size_t>(wParam));
    case WM_GETTEXTLENGTH:
      return ed.Length();
    case WM_PAINT:
      Paint(hwnd, r);
      return 0;
    case WM_SETFONT:
      OnSetFont(hwnd, r, reinterpret_cast<HFONT>(wParam), lParam);
      return 0;
    case WM_GETDLGCODE:
      return kDlgCode;
    case WM_IME_CHAR:
      return 0;
    case WM_IME_COMPOSITION:
      if (lParam & GCS_RESULTSTR) {
        const FeedResult fed = ReadImeResult(hwnd, ed);
        BeepTimes(fed.beeps);
        if (fed.chars > 0) Repaint(hwnd);
        for (int i = 0; i < fed.chars; ++i) Notify(hwnd, Note::kChanged);
        Notify(hwnd, Note::kComposition);
      }
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_KEYDOWN:
      OnKeyDown(hwnd, r, wParam);
      return 0;
    case WM_CHAR:
      if (!ed.TypeByte(static_cast<unsigned char>(wParam & 0xFF))) g.host->Beep();
      Repaint(hwnd);
      Notify(hwnd, Note::kChanged);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kMenuUndo: PostMessageA(hwnd, WM_UNDO, 0, 0); break;
        case kMenuCut: PostMessageA(hwnd, WM_CUT, 0, 0); break;
        case kMenuCopy: PostMessageA(hwnd, WM_COPY, 0, 0); break;
        case kMenuPaste: PostMessageA(hwnd, WM_PASTE, 0, 0); break;
        case kMenuDelete: PostMessageA(hwnd, WM_CLEAR, 0, 0); break;
        case kMenuSelectAll: PostMessageA(hwnd, EM_SETSEL, 0, -1); break;
        default: break;
      }
      return 0;
    case WM_LBUTTONDOWN:
      g.keepCaret = true;
      SetFocus(hwnd);
      g.keepCaret = false;  // also when the control had the focus already
      r.ClearSelection();
      SetCapture(hwnd);
      r.caret = HitTestAt(hwnd, r, lParam);
      Repaint(hwnd);
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd) {
        ed.ExtendSelection(HitTestAt(hwnd, r, lParam));
        Repaint(hwnd);
        if (msg == WM_LBUTTONUP) ReleaseCapture();
      }
      return 0;
    case WM_RBUTTONDOWN:
      if (g.menu) {
        UpdateMenu(ed);
        POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(hwnd, &pt);
        TrackPopupMenu(g.menu, TPM_LEFTALIGN | TPM_TOPALIGN, pt.x, pt.y, 0, hwnd, nullptr);
      }
      return 0;
    case WM_CUT:
      CopySelection(hwnd, ed);
      ed.DeleteSelection();
      Repaint(hwnd);
      Notify(hwnd, Note::kChanged);
      return 0;
    case WM_COPY:
      CopySelection(hwnd, ed);
      return 0;
    case WM_PASTE:
      ed.DeleteSelection();
      ed.Paste(ReadClipboard(hwnd));
      Repaint(hwnd);
      Notify(hwnd, Note::kChanged);
      return 0;
    case WM_CLEAR:
      ed.DeleteSelection();
      Repaint(hwnd);
      Notify(hwnd, Note::kChanged);
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      ed.Undo();
      Repaint(hwnd);
      Notify(hwnd, Note::kChanged);
      return 0;
    case EM_SETSEL:
      ed.SetSel(static_cast<int>(wParam), static_cast<int>(lParam));
      Repaint(hwnd);
      return 0;
    case EM_LIMITTEXT:
      ed.LimitText(static_cast<std::uint64_t>(wParam));
      return 0;
    case EM_CANUNDO:
      return ed.CanUndo() ? 1 : 0;
    case WM_ENABLE:
      if (!V().enableAndGetFont) break;
      r.enabled = wParam != 0;
      Repaint(hwnd);
      return 0;
    case WM_GETFONT:
      if (!V().enableAndGetFont) break;
      if (lParam) {
        *reinterpret_cast<LOGFONTA**>(lParam) = r.hasLogFont ? reinterpret_cast<LOGFONTA*>(r.logFont.data()) : nullptr;
      }
      return static_cast<LRESULT>(r.font);
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Messages of the table that a control without a record ignores.
bool IgnoredWithoutRecord(UINT msg) {
  switch (msg) {
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_SETTEXT: case WM_GETTEXT: case WM_SETFONT:
    case WM_GETDLGCODE: case WM_IME_CHAR: case WM_KEYDOWN: case WM_CHAR: case WM_COMMAND:
    case WM_LBUTTONDOWN: case WM_MOUSEMOVE: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_CUT:
    case WM_COPY: case WM_PASTE: case WM_CLEAR: case WM_UNDO: case EM_UNDO: case EM_SETSEL:
    case EM_LIMITTEXT: case EM_CANUNDO:
      return true;
    default:
      return false;
  }
}

}  // namespace

LRESULT CALLBACK SEditWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!g.table) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_CREATE) {
    const int index = g.table->Claim(reinterpret_cast<std::uintptr_t>(hwnd));
    if (index < 0) {
      g.host->ShowMessage("Create Error", "SEdit");  // the window lives on without a record
    } else if (index == 0 && !g.menu) {
      BuildMenu();
    }
    g.keepCaret = false;
    return 0;
  }
  Record* r = g.table->Find(reinterpret_cast<std::uintptr_t>(hwnd));
  if (!r) {
    if (msg == WM_SETTEXT) return 1;
    if (IgnoredWithoutRecord(msg)) return 0;
    // Painting included: the default validates the window, so an inert
    // control is not asked to paint again and again.
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  return OnMessage(hwnd, *r, msg, wParam, lParam);
}

ATOM RegisterSEditClass(HINSTANCE instance, InstanceTable& table, SEditHost& host) {
  g.table = &table;
  g.host = &host;
  g.keepCaret = false;
  table.Clear();
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = SEditWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kSEditClassName;
  return RegisterClassA(&wc);
}

void UnregisterSEditClass(HINSTANCE instance) {
  UnregisterClassA(kSEditClassName, instance);
  if (g.menu) {
    DestroyMenu(g.menu);
    g.menu = nullptr;
  }
  g.table = nullptr;
  g.host = nullptr;
}

}  // namespace sedit
