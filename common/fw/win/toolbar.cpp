#include "toolbar.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "bar_resource.h"
#include "dock.h"
#include "frame.h"
#include "gdi.h"

namespace fw {

HIMAGELIST PictureList(const Module& module, unsigned bitmapId, SIZE size, COLORREF ground, UINT colourFlag) {
  HBITMAP bitmap = module.LoadBitmapResource(bitmapId);
  if (!bitmap) return nullptr;
  HIMAGELIST list = ImageList_Create(size.cx, size.cy, colourFlag | ILC_MASK, 12, 4);
  if (list && ImageList_AddMasked(list, bitmap, ground) < 0) {
    ImageList_Destroy(list);
    list = nullptr;
  }
  DeleteObject(bitmap);
  return list;
}

namespace {

constexpr wchar_t kBarClass[] = L"fw.ToolBar";
constexpr int kGripper = 9;  // the gripper's strip, across the bar's length
constexpr int kPad = 2;      // around the buttons
constexpr int kDefaultSeparator = 8;
// While a button's prompt shows: the check that the mouse is still on the bar.
constexpr UINT_PTR kFlyByTimer = 0xE800;
constexpr UINT kFlyByCheckMs = 200;
// Grey of the bitmaps' ground, which the button face shows through.
constexpr COLORREF kPictureGround = RGB(192, 192, 192);
// RT_TOOLBAR.
const wchar_t* const kToolBarType = MAKEINTRESOURCEW(241);

}  // namespace

ToolBar::~ToolBar() {
  if (frame_) frame_->RemoveToolBar(*this);
  // A control that outlives this object draws no pictures that are gone.
  if (buttons_ && IsWindow(buttons_)) {
    SendMessageW(buttons_, TB_SETIMAGELIST, 0, 0);
    SendMessageW(buttons_, TB_SETDISABLEDIMAGELIST, 0, 0);
  }
  if (pictures_) ImageList_Destroy(pictures_);
  if (disabledPictures_) ImageList_Destroy(disabledPictures_);
  std::unique_ptr<FloatingBarWindow> floating(floating_);
  floating_ = nullptr;
  if (floating && floating->hwnd()) {
    if (hwnd() && frame_ && frame_->hwnd()) SetParent(hwnd(), frame_->hwnd());
    DestroyWindow(floating->hwnd());
  }
}

bool ToolBar::Create(FrameWindow& frame, UINT id, const std::wstring& title) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  if (!EnsureWindowClass(module_, kBarClass, CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                         reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
    return false;
  frame_ = &frame;
  id_ = id;
  const RECT r{0, 0, 100, 30};
  if (!Window::Create(module_, kBarClass, title.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, r,
                      frame.hwnd(), id)) {
    frame_ = nullptr;
    return false;
  }
  if (!buttons_) {
    DestroyWindow(hwnd());
    frame_ = nullptr;
    return false;
  }
  frame.AddToolBar(*this);
  frame.RecalcLayout();
  return true;
}

bool ToolBar::LoadPictureBar(unsigned resourceId, unsigned normalBitmap, unsigned disabledBitmap, SIZE pictureSize,
                             COLORREF ground) {
  const auto bar = ParseToolBarResource(module_.Resource(kToolBarType, MAKEINTRESOURCEW(resourceId)));
  HIMAGELIST normal = PictureList(module_, normalBitmap, pictureSize, ground, ILC_COLOR24);
  HIMAGELIST disabled = PictureList(module_, disabledBitmap, pictureSize, ground, ILC_COLOR8);
  if (!bar || !normal || !disabled || !SetButtons(bar->slots)) {
    if (normal) ImageList_Destroy(normal);
    if (disabled) ImageList_Destroy(disabled);
    return false;
  }
  SetImageLists(normal, disabled, pictureSize);
  return true;
}

bool ToolBar::LoadToolBar(unsigned resourceId) {
  const auto parsed = ParseToolBarResource(module_.Resource(kToolBarType, MAKEINTRESOURCEW(resourceId)));
  if (!parsed || !buttons_) return false;
  HBITMAP bitmap = module_.LoadBitmapResource(resourceId);
  if (!bitmap) return false;
  const int count = static_cast<int>(std::count_if(parsed->slots.begin(), parsed->slots.end(), [](unsigned id) { return id != 0; }));
  HIMAGELIST pictures = ImageList_Create(parsed->width, parsed->height, ILC_COLOR24 | ILC_MASK, std::max(count, 1), 0);
  if (!pictures || ImageList_AddMasked(pictures, bitmap, kPictureGround) < 0) {
    if (pictures) ImageList_Destroy(pictures);
    DeleteObject(bitmap);
    return false;
  }
  DeleteObject(bitmap);
  SendMessageW(buttons_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pictures));
  if (pictures_) ImageList_Destroy(pictures_);
  pictures_ = pictures;
  pictureSize_ = {parsed->width, parsed->height};
  SendMessageW(buttons_, TB_SETBITMAPSIZE, 0, MAKELPARAM(parsed->width, parsed->height));
  SendMessageW(buttons_, TB_SETBUTTONSIZE, 0, MAKELPARAM(parsed->width + 7, parsed->height + 7));
  return SetButtons(parsed->slots);
}

bool ToolBar::SetButtons(std::span<const unsigned> ids) {
  if (!buttons_) return false;
  for (Slot& s : slots_)
    if (s.control) ShowWindow(s.control, SW_HIDE);
  slots_.clear();
  const std::vector<int> pictures = SlotPictures(ids);
  for (std::size_t i = 0; i < ids.size(); ++i) slots_.push_back({ids[i], pictures[i], 0, nullptr});
  ArrangeButtons();
  return true;
}

void ToolBar::SetImageLists(HIMAGELIST normal, HIMAGELIST disabled, SIZE pictureSize) {
  if (!buttons_) return;
  SendMessageW(buttons_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal));
  SendMessageW(buttons_, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabled));
  if (pictures_ && pictures_ != normal) ImageList_Destroy(pictures_);
  if (disabledPictures_ && disabledPictures_ != disabled) ImageList_Destroy(disabledPictures_);
  pictures_ = normal;
  disabledPictures_ = disabled;
  pictureSize_ = pictureSize;
  SendMessageW(buttons_, TB_SETBITMAPSIZE, 0, MAKELPARAM(pictureSize.cx, pictureSize.cy));
  SendMessageW(buttons_, TB_SETBUTTONSIZE, 0, MAKELPARAM(pictureSize.cx + 7, pictureSize.cy + 7));
  ArrangeButtons();
}

void ToolBar::SetSlot(int index, unsigned id, int picture) {
  if (index < 0 || index >= SlotCount()) return;
  Slot& s = slots_[static_cast<std::size_t>(index)];
  s.id = id;
  s.picture = picture;
  ArrangeButtons();
}

unsigned ToolBar::SlotId(int index) const {
  return index >= 0 && index < SlotCount() ? slots_[static_cast<std::size_t>(index)].id : 0;
}

RECT ToolBar::SlotRect(int index) const {
  RECT r{};
  if (!buttons_ || index < 0 || index >= SlotCount()) return r;
  SendMessageW(buttons_, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  MapWindowPoints(buttons_, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ToolBar::SetSeparatorSlot(int index, UINT id, int width, HWND control) {
  if (index < 0 || index >= SlotCount()) return;
  Slot& s = slots_[static_cast<std::size_t>(index)];
  s.id = id;
  s.picture = -1;
  s.width = width;
  s.control = control;
  if (control) {
    // Its tool tip comes through this window, like the buttons'.
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    if (HWND tips = reinterpret_cast<HWND>(SendMessageW(buttons_, TB_GETTOOLTIPS, 0, 0))) {
      SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));  // placed once more: one tool
      SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  ArrangeButtons();
}

void ToolBar::ArrangeButtons() {
  if (!buttons_) return;
  const bool vertical = IsVertical(side_);
  while (SendMessageW(buttons_, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageW(buttons_, TB_DELETEBUTTON, 0, 0);
  // Standing upright, the control draws its separators across the column.
  const LONG style = GetWindowLongW(buttons_, GWL_STYLE);
  SetWindowLongW(buttons_, GWL_STYLE, vertical ? (style | CCS_VERT) : (style & ~CCS_VERT));
  std::vector<TBBUTTON> list(slots_.size());
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    const Slot& s = slots_[i];
    TBBUTTON& b = list[i];
    b.idCommand = static_cast<int>(s.id);
    b.fsState = TBSTATE_ENABLED | (vertical ? TBSTATE_WRAP : 0);
    if (s.picture < 0) {
      b.fsStyle = BTNS_SEP;
      // A slot that holds a control is an ordinary separator in a column.
      b.iBitmap = (s.width > 0 && !vertical) ? s.width : kDefaultSeparator;
    } else {
      b.fsStyle = BTNS_BUTTON;
      b.iBitmap = s.picture;
    }
  }
  if (!list.empty()) SendMessageW(buttons_, TB_ADDBUTTONSW, list.size(), reinterpret_cast<LPARAM>(list.data()));
  shown_.Forget();  // the new buttons start enabled: show the states again
  PlaceInner();
  if (frame_) UpdateUi(*frame_);
}

SIZE ToolBar::Extent(bool vertical) const {
  int right = 0, bottom = 0;
  for (int i = 0; i < SlotCount(); ++i) {
    RECT r{};
    SendMessageW(buttons_, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    right = std::max(right, static_cast<int>(r.right));
    bottom = std::max(bottom, static_cast<int>(r.bottom));
    const HWND control = slots_[static_cast<std::size_t>(i)].control;
    if (control && !vertical) {
      RECT c{};
      GetWindowRect(control, &c);
      bottom = std::max(bottom, static_cast<int>(c.bottom - c.top));
    }
  }
  if (right == 0) right = pictureSize_.cx + 7;
  if (bottom == 0) bottom = pictureSize_.cy + 7;
  return vertical ? SIZE{right + 2 * kPad, bottom + kGripper + kPad} : SIZE{right + kGripper + kPad, bottom + 2 * kPad};
}

int ToolBar::Thickness() const {
  const bool vertical = IsVertical(side_);
  const SIZE s = Extent(vertical);
  return vertical ? s.cx : s.cy;
}

void ToolBar::PlaceInner() {
  const bool vertical = IsVertical(side_);
  const SIZE s = Extent(vertical);
  const SIZE inner = vertical ? SIZE{s.cx - 2 * kPad, s.cy - kGripper - kPad} : SIZE{s.cx - kGripper - kPad, s.cy - 2 * kPad};
  const POINT at = vertical ? POINT{kPad, kGripper} : POINT{kGripper, kPad};
  SetWindowPos(buttons_, nullptr, at.x, at.y, inner.cx, inner.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  for (int i = 0; i < SlotCount(); ++i) {
    const HWND control = slots_[static_cast<std::size_t>(i)].control;
    if (!control) continue;
    if (vertical) {
      ShowWindow(control, SW_HIDE);
      continue;
    }
    const RECT slot = SlotRect(i);
    RECT c{};
    GetWindowRect(control, &c);
    const int height = c.bottom - c.top;
    const int top = slot.top + (slot.bottom - slot.top - height) / 2;
    SetWindowPos(control, HWND_TOP, slot.left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  if (floating_) floating_->FitBar();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

HWND ToolBar::floatingWindow() const { return floating_ ? floating_->hwnd() : nullptr; }

void ToolBar::Dock(DockSide side) {
  if (side == DockSide::kFloat || !frame_ || !hwnd()) return;
  side_ = side;
  lastDocked_ = side;
  if (floating_) {
    // A hidden floating bar stays hidden when it docks.
    const bool shown = IsShown();
    std::unique_ptr<FloatingBarWindow> floating(floating_);
    floating_ = nullptr;
    SetParent(hwnd(), frame_->hwnd());
    ShowWindow(hwnd(), shown ? SW_SHOWNA : SW_HIDE);
    DestroyWindow(floating->hwnd());
  }
  ArrangeButtons();
  frame_->RecalcLayout();
}

void ToolBar::Float(POINT topLeft) {
  if (!frame_ || !hwnd()) return;
  const bool shown = IsShown();
  if (!floating_) {
    auto floating = std::make_unique<FloatingBarWindow>(*this);
    if (!floating->Create(frame_->hwnd(), topLeft)) return;
    floating_ = floating.release();
    SetParent(hwnd(), floating_->hwnd());
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(floating_->hwnd(), nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  side_ = DockSide::kFloat;
  ArrangeButtons();
  KeepInWorkArea(floating_->hwnd());
  ShowWindow(hwnd(), SW_SHOWNA);
  if (shown) ShowWindow(floating_->hwnd(), SW_SHOWNA);
  frame_->RecalcLayout();
}

bool ToolBar::IsShown() const {
  if (floating_) return (GetWindowLongW(floating_->hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
  return hwnd() && (GetWindowLongW(hwnd(), GWL_STYLE) & WS_VISIBLE);
}

void ToolBar::Show(bool show) {
  if (floating_) {
    ShowWindow(floating_->hwnd(), show ? SW_SHOWNA : SW_HIDE);
  } else if (hwnd()) {
    ShowWindow(hwnd(), show ? SW_SHOWNA : SW_HIDE);
  }
}

void ToolBar::UpdateUi(FrameWindow& frame) {
  if (!buttons_) return;
  for (const Slot& s : slots_) {
    if (s.picture < 0 || s.id == 0) continue;
    const CommandState state = frame.QueryCommand(s.id);
    if (!shown_.Changed(s.id, state)) continue;
    SendMessageW(buttons_, TB_ENABLEBUTTON, s.id, MAKELPARAM(state.enabled ? TRUE : FALSE, 0));
    if (state.checked) SendMessageW(buttons_, TB_CHECKBUTTON, s.id, MAKELPARAM(*state.checked ? TRUE : FALSE, 0));
  }
}

DockSide ToolBar::SideAt(POINT screen) const {
  if (!frame_) return DockSide::kFloat;
  RECT c{};
  GetClientRect(frame_->hwnd(), &c);
  MapWindowPoints(frame_->hwnd(), nullptr, reinterpret_cast<POINT*>(&c), 2);
  return DockSideAt({c.left, c.top, c.right, c.bottom}, screen.x, screen.y, HorizontalThickness());
}

SIZE ToolBar::ShapeFor(bool vertical) const {
  const LRESULT size = SendMessageW(buttons_, TB_GETBUTTONSIZE, 0, 0);
  const int bw = LOWORD(size), bh = HIWORD(size);
  int length = 0, across = vertical ? bw : bh;
  for (const Slot& s : slots_) {
    if (s.picture >= 0) {
      length += vertical ? bh : bw;
      continue;
    }
    length += (s.width > 0 && !vertical) ? s.width : kDefaultSeparator;
    if (s.control && !vertical) {
      RECT c{};
      GetWindowRect(s.control, &c);
      across = std::max(across, static_cast<int>(c.bottom - c.top));
    }
  }
  return vertical ? SIZE{across + 2 * kPad, length + kGripper + kPad} : SIZE{length + kGripper + kPad, across + 2 * kPad};
}

RECT ToolBar::DropOutline(POINT screen) const {
  // The bar's shape there, the mouse on its gripper.
  const SIZE s = ShapeFor(IsVertical(SideAt(screen)));
  const RECT r{screen.x - kGripper / 2, screen.y - kGripper / 2, screen.x - kGripper / 2 + s.cx,
               screen.y - kGripper / 2 + s.cy};
  return r;
}

void ToolBar::DropAt(POINT screen) {
  if (!frame_) return;
  const DockSide side = SideAt(screen);
  if (side != DockSide::kFloat) {
    Dock(side);
  } else if (!floating_) {
    Float(screen);
  }
}

std::wstring ToolBar::TipText(unsigned id) const {
  const std::wstring full = module_.String(id);
  const CommandTexts texts = SplitCommandString(std::u16string(full.begin(), full.end()));
  return std::wstring(texts.tip.begin(), texts.tip.end());
}

void ToolBar::ShowFlyBy(int commandId) {
  if (frame_) frame_->ShowPrompt(static_cast<unsigned>(commandId));
  // The control does not always tell when the mouse leaves it.
  if (commandId) SetTimer(hwnd(), kFlyByTimer, kFlyByCheckMs, nullptr);
  else KillTimer(hwnd(), kFlyByTimer);
}

int ToolBar::HorizontalThickness() const {
  const LRESULT size = SendMessageW(buttons_, TB_GETBUTTONSIZE, 0, 0);
  return HIWORD(size) + 2 * kPad;
}

RECT ToolBar::GripperRect() const {
  RECT c{};
  GetClientRect(hwnd(), &c);
  if (IsVertical(side_)) c.bottom = std::min<LONG>(c.bottom, kGripper);
  else c.right = std::min<LONG>(c.right, kGripper);
  return c;
}

void ToolBar::DrawGripper(HDC dc) const {
  RECT g = GripperRect();
  // Two raised ridges along the bar's width.
  for (int k = 0; k < 2; ++k) {
    RECT ridge = g;
    if (IsVertical(side_)) {
      ridge.left += kPad;
      ridge.right -= kPad;
      ridge.top = 2 + 3 * k;
      ridge.bottom = ridge.top + 3;
    } else {
      ridge.top += kPad;
      ridge.bottom -= kPad;
      ridge.left = 2 + 3 * k;
      ridge.right = ridge.left + 3;
    }
    DrawEdge(dc, &ridge, BDR_RAISEDINNER, BF_RECT);
  }
}

bool ToolBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      buttons_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                                     CCS_NORESIZE | CCS_NOPARENTALIGN,
                                 kGripper, kPad, 10, 10, hwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id_)),
                                 module_.handle(), nullptr);
      if (!buttons_) {
        result = -1;
        return true;
      }
      SendMessageW(buttons_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
      SendMessageW(buttons_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
      result = 0;
      return true;
    case WM_COMMAND: {
      // A button's click: the frame's command. The slots' controls are the
      // derived bar's to answer.
      if (!frame_ || reinterpret_cast<HWND>(lParam) != buttons_) return false;
      result = SendMessageW(frame_->hwnd(), WM_COMMAND, MAKEWPARAM(LOWORD(wParam), BN_CLICKED),
                            reinterpret_cast<LPARAM>(hwnd()));
      return true;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        UINT_PTR id = info->hdr.idFrom;
        if (info->uFlags & TTF_IDISHWND) id = static_cast<UINT_PTR>(GetDlgCtrlID(reinterpret_cast<HWND>(id)));
        tip_ = TipText(static_cast<unsigned>(id));
        info->lpszText = tip_.data();
        info->hinst = nullptr;
        result = 0;
        return true;
      }
      if (header->code == TBN_HOTITEMCHANGE && header->hwndFrom == buttons_) {
        const auto* hot = reinterpret_cast<const NMTBHOTITEM*>(lParam);
        ShowFlyBy((hot->dwFlags & HICF_LEAVING) ? 0 : hot->idNew);
        result = 0;
        return true;
      }
      return false;
    }
    case WM_TIMER: {
      if (wParam != kFlyByTimer) return false;
      POINT p{};
      GetCursorPos(&p);
      if (WindowFromPoint(p) != buttons_) ShowFlyBy(0);
      result = 0;
      return true;
    }
    case WM_PAINT: {
      PaintDc dc(hwnd());
      DrawGripper(dc.get());
      result = 0;
      return true;
    }
    case WM_LBUTTONDOWN: {
      const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const RECT g = GripperRect();
      if (!PtInRect(&g, p) || !frame_) return false;
      dragging_ = true;
      dragDrawn_ = false;
      SetCapture(hwnd());
      result = 0;
      return true;
    }
    case WM_MOUSEMOVE: {
      if (!dragging_) return false;
      POINT p{};
      GetCursorPos(&p);
      HDC screen = GetDC(nullptr);
      if (dragDrawn_) DrawFocusRect(screen, &dragRect_);
      dragRect_ = DropOutline(p);
      DrawFocusRect(screen, &dragRect_);
      dragDrawn_ = true;
      ReleaseDC(nullptr, screen);
      result = 0;
      return true;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED: {
      if (!dragging_) return false;
      dragging_ = false;
      if (dragDrawn_) {
        HDC screen = GetDC(nullptr);
        DrawFocusRect(screen, &dragRect_);
        ReleaseDC(nullptr, screen);
        dragDrawn_ = false;
      }
      if (message == WM_LBUTTONUP) {
        ReleaseCapture();
        POINT p{};
        GetCursorPos(&p);
        DropAt(p);
      }
      result = 0;
      return true;
    }
    case WM_SETCURSOR: {
      POINT p{};
      GetCursorPos(&p);
      ScreenToClient(hwnd(), &p);
      const RECT g = GripperRect();
      if (reinterpret_cast<HWND>(wParam) != hwnd() || !PtInRect(&g, p)) return false;
      SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
      result = TRUE;
      return true;
    }
    case WM_NCDESTROY:
      if (frame_) frame_->RemoveToolBar(*this);
      frame_ = nullptr;
      buttons_ = nullptr;
      return false;
    default:
      return false;
  }
}

}  // namespace fw
