// The COLORBUTTON control of the colour dialog: a swatch of colour with a
// light grey border inside a 3-D frame, raised or pressed, with its window
// text on the swatch; a click is told to the parent as WM_COMMAND. Each
// button's colours and pressed state are a record of the process's table of
// 32; WM_USER sets the swatch colour, WM_USER + 1 the text colour.
#include "ime_state.h"

namespace ime {

namespace {

constexpr char kColorButtonClass[] = "COLORBUTTON";
constexpr UINT WM_SET_SWATCH = WM_USER;
constexpr UINT WM_SET_TEXT_COLOUR = WM_USER + 1;
constexpr COLORREF kWhite = 0xFFFFFF, kGrey = 0x808080, kBlack = 0x000000, kLightGrey = 0xC0C0C0;

ColorButtonTable g_records;

ColorButtonRecord* RecordOf(HWND w) { return g_records.Find(reinterpret_cast<uintptr_t>(w)); }

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// Two lines on each side: raised, white at the top left and grey and black
// at the bottom right; pressed, the other way round.
void Frame(HDC dc, int w, int h, bool pressed) {
  const COLORREF outerLight = pressed ? kGrey : kWhite, outerDark = pressed ? kWhite : kBlack;
  const COLORREF innerDark = pressed ? kLightGrey : kGrey, innerLight = pressed ? kBlack : kLightGrey;
  Line(dc, 0, h - 1, 0, 0, outerLight);
  Line(dc, 0, 0, w - 1, 0, outerLight);
  Line(dc, w - 1, 0, w - 1, h - 1, outerDark);
  Line(dc, w - 1, h - 1, -1, h - 1, outerDark);
  Line(dc, 1, h - 2, 1, 1, innerLight);
  Line(dc, 1, 1, w - 2, 1, innerLight);
  Line(dc, w - 2, 1, w - 2, h - 2, innerDark);
  Line(dc, w - 2, h - 2, 0, h - 2, innerDark);
}

void Paint(HWND w, HDC dc) {
  RECT rc;
  GetClientRect(w, &rc);
  char text[41] = {};
  GetWindowTextA(w, text, sizeof text);
  HGDIOBJ oldFont = nullptr;
  if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(GetParent(w), WM_GETFONT, 0, 0))) {
    oldFont = SelectObject(dc, font);
  }
  const ColorButtonRecord* r = RecordOf(w);
  if (!r) {
    // Out of records: the text alone.
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  } else {
    Frame(dc, rc.right, rc.bottom, r->pressed);
    const Rect s = ColorButtonSwatch({rc.right, rc.bottom}, r->pressed);
    HPEN pen = CreatePen(PS_SOLID, 1, kLightGrey);
    HBRUSH brush = CreateSolidBrush(r->swatch);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Rectangle(dc, s.left, s.top, s.right, s.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
    RECT inside{s.left + 1, s.top + 1, s.right - 1, s.bottom - 1};
    SetTextColor(dc, r->text);
    SetBkColor(dc, r->swatch);
    SetBkMode(dc, OPAQUE);
    DrawTextA(dc, text, -1, &inside, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  if (oldFont) SelectObject(dc, oldFont);
}

LRESULT CALLBACK ColorButtonWndProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      g_records.Claim(reinterpret_cast<uintptr_t>(w), Module().feedback);
      return 0;
    case WM_NCDESTROY:
      // The record serves the next button.
      g_records.Release(reinterpret_cast<uintptr_t>(w));
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      Paint(w, dc);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetFocus(w);
      return 0;
    case WM_LBUTTONUP:
      SendMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), BN_CLICKED), reinterpret_cast<LPARAM>(w));
      return 0;
    case WM_KEYUP:
      return 0;
    case WM_SET_SWATCH:
      if (ColorButtonRecord* r = RecordOf(w)) r->swatch = static_cast<uint32_t>(lParam);
      return 0;
    case WM_SET_TEXT_COLOUR:
      if (ColorButtonRecord* r = RecordOf(w)) r->text = static_cast<uint32_t>(lParam);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(w, msg, wParam, lParam);
}

}  // namespace

bool RegisterColorButtonClass(HINSTANCE instance) {
  g_records.Clear();
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = ColorButtonWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  wc.lpszClassName = kColorButtonClass;
  return RegisterClassA(&wc) != 0;
}

void UnregisterColorButtonClass(HINSTANCE instance) { UnregisterClassA(kColorButtonClass, instance); }

void RegisterSettingsControlClasses(HINSTANCE instance) { RegisterColorButtonClass(instance); }

void SetColorButtonPressed(HWND dialog, int id, bool pressed) {
  // A button the dialog does not hold has no window and so no record.
  HWND w = GetDlgItem(dialog, id);
  ColorButtonRecord* r = RecordOf(w);
  if (!r || r->pressed == pressed) return;
  r->pressed = pressed;
  InvalidateRect(w, nullptr, TRUE);
}

void ClearColorButtons() { g_records.Clear(); }

}  // namespace ime
