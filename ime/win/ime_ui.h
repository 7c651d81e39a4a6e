// Shared pieces of the UI window and its child windows: the UiPrivate
// block of each UI window, the window longs, text measuring with GDI and
// the operations of the composition and candidate windows.
#pragma once
#include <windows.h>

#include <cstdint>

#include "ime_context.h"
#include "ime_state.h"
#include "comp_paint.h"
#include "window_layout.h"

namespace ime {

extern const char kCompClassName[];
extern const char kCandClassName[];
extern const char kStatusClassName[];
extern const char kGuideClassName[];

// Window longs, by their place in 32-bit units (one pointer wide each).
constexpr int Long(int slot32) { return slot32 * static_cast<int>(sizeof(LONG_PTR)); }
constexpr int kUiLongContext = 0;           // IMMGWL_IMC, set by the IMM
constexpr int kUiLongPrivate = Long(1);     // IMMGWL_PRIVATE: the UiPrivate block
constexpr int kLongMouseState = Long(1);    // composition window: 1 down, 2 dragging
constexpr int kLongUiWindow = Long(2);      // every child window
constexpr int kLongCompFont = Long(3);      // caret window
constexpr int kLongSliceOffset = Long(4);
constexpr int kLongSliceLength = Long(5);
constexpr int kLongBitmap = Long(7);        // the framed window's close box
constexpr int kLongPressed = Long(8);       // 1 close box pressed under the pointer, 2 away
constexpr int kChildExtraBytes = Long(10);
// Status toolbar.
constexpr int kStatusLongMouse = Long(1);   // 0 idle, 1 button down, 1|2 dragging, 4 hovering with capture
constexpr int kStatusLongTooltip = Long(3);
constexpr int kStatusLongMenu = Long(5);    // menu 112
constexpr int kStatusLongBitmap = Long(6);
constexpr int kStatusLongPress = Long(8);   // hit mask of the press in progress
constexpr int kStatusLongHover = Long(9);   // hit mask hovered

// UiPrivate: 80 32-bit slots. Handles are kept in 32 bits (window and GDI
// handles are 32-bit values also in 64-bit processes).
enum UiSlot : int {
  kSlotContext = 0,
  kSlotStatus = 1,
  kSlotStatusShown = 2,
  kSlotCand = 5,
  kSlotCandShown = 6,
  kSlotCandX = 7,
  kSlotCandY = 8,
  kSlotCompStyle = 9,
  kSlotCompFont = 10,
  kSlotVertical = 11,
  kSlotComp = 12,
  kSlotCompShown = 13,
  kSlotCompX = 14,
  kSlotCompY = 15,
  kSlotCaret = 16,  // ten records of six: window, shown, x, y, width, height
  kSlotGuide = 76,
  kSlotGuideShown = 77,
  kSlotGuideX = 78,
  kSlotGuideY = 79,
};
constexpr int kUiPrivateSlots = 80;

inline uint32_t HandleSlot(const void* h) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h)); }
template <typename H>
H SlotHandle(uint32_t v) {
  return reinterpret_cast<H>(static_cast<intptr_t>(static_cast<int32_t>(v)));
}

// The UiPrivate block of a UI window, locked while this lives.
class UiPrivate {
 public:
  explicit UiPrivate(HWND ui);
  ~UiPrivate();
  UiPrivate(const UiPrivate&) = delete;
  UiPrivate& operator=(const UiPrivate&) = delete;
  bool ok() const { return slots_ != nullptr; }
  uint32_t& operator[](int i) { return slots_[i]; }
  int Int(int i) const { return static_cast<int32_t>(slots_[i]); }
  HWND Window(int i) const { return SlotHandle<HWND>(slots_[i]); }
  HWND ui() const { return ui_; }

 private:
  HWND ui_;
  HGLOBAL block_;
  uint32_t* slots_ = nullptr;
};

// Text extents in the font selected into a device context.
class GdiMeasurer final : public TextMeasurer {
 public:
  explicit GdiMeasurer(HDC dc) : dc_(dc) {}
  Size Extent(const char* text, size_t n) const override;
  int LineHeight() const;

 private:
  HDC dc_;
};

// A screen device context with a font selected, for measuring.
class MeasureDc {
 public:
  explicit MeasureDc(HFONT font);
  ~MeasureDc();
  MeasureDc(const MeasureDc&) = delete;
  MeasureDc& operator=(const MeasureDc&) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

EdgeMetrics Edges();
Rect WorkArea();
Rect ToRect(const RECT& r);
LeadTest EditionLeadTest();
// Messages that every child window answers with 0.
bool IsImeMessage(UINT msg);

// The input context of a UI window: the one that the input method manager
// keeps in window long 0.  Wine 8 keeps a record of its own there, not the
// handle; a value that does not lock as a context then stands for the
// context of this thread's focus window, for which the manager is sending.
// On Windows the handle always locks and is used as it is.
HIMC UiContext(HWND ui);
// The application window of a context: its hWnd, or the focus window where
// the input method manager has cleared it (Wine 8 does when the keyboard
// layout changes and sets it again only at the next focus change).
HWND ContextWindow(LPINPUTCONTEXT ic);
// The UI window that a child window belongs to.
inline HWND ChildUi(HWND child) { return reinterpret_cast<HWND>(GetWindowLongPtrA(child, kLongUiWindow)); }

// Composition windows.
LRESULT CALLBACK CompStrWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void CreateCompWindows(UiPrivate& priv, LPINPUTCONTEXT ic);
void UpdateCompWindows(UiPrivate& priv, LPINPUTCONTEXT ic);
void HideCompWindows(UiPrivate& priv);
void SetCompFont(UiPrivate& priv, LPINPUTCONTEXT ic);
bool CompWindowsShown(UiPrivate& priv);
int DisplayLineHeight();

// Candidate window.
LRESULT CALLBACK CandWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void CreateCandWindow(UiPrivate& priv, LPINPUTCONTEXT ic);
void SizeCandWindow(UiPrivate& priv, LPINPUTCONTEXT ic);
void PlaceCandWindow(UiPrivate& priv, HIMC himc, LPINPUTCONTEXT ic, int mode);
void HideCandWindow(UiPrivate& priv);
bool CandidateListOpen(LPINPUTCONTEXT ic);

// Status toolbar and guide window procedures.
LRESULT CALLBACK StatusWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK GuideWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The inverted frame that follows the cursor while a window is dragged.
void DrawDragFrame(const RECT& r);

// A drag of one window by the mouse: the window's rectangle and the cursor's
// offset in it when the button went down, and the frame drawn since.
class WindowDrag {
 public:
  void Begin(HWND w);
  // Moves the frame to the cursor (drawing it the first time).
  void Follow();
  bool Moved() const { return frameShown_; }
  // Erases the frame; the rectangle at the cursor.
  RECT End();
  RECT AtCursor() const;

 private:
  RECT start_{};
  POINT offset_{};
  RECT frame_{};
  bool frameShown_ = false;
};

// The cursor in a window's client coordinates.
Point CursorInClient(HWND w);
// A mouse button message: direct, or carried by WM_SETCURSOR to a disabled
// window (the message in the high word of lParam).
inline UINT CarriedMouseMessage(UINT msg, LPARAM lParam) {
  return msg == WM_SETCURSOR ? HIWORD(lParam) : msg;
}
inline bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK; }
inline bool IsButtonDown(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK;
}
inline bool IsButtonUp(UINT msg) { return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP; }
// The KS edition on Windows NT clears the Kana/Hangul key in the thread's
// keyboard state whenever the open status shows.
void ClearHangulKeyState();
// The status toolbar and the guide window of a UI window.
HWND StatusWindowOf(HWND ui);
HWND GuideWindowOf(HWND ui);

}  // namespace ime
