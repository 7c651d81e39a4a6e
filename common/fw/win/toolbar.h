// A tool bar of the frame: a window of its own that holds comctl32's
// ToolbarWindow32 (its buttons, pictures and tool tips) and the controls that
// sit in separator slots, with a gripper by which the user drags it to
// another side of the frame or off it into a small floating window.
//
// Buttons come from a tool-bar resource (RT_TOOLBAR) and the bitmap of the
// same id; a click reaches the frame as WM_COMMAND with the button's id; at
// idle the frame's command routing decides which buttons are enabled and
// checked. Each command's string (id = command id) gives the tool tip (after
// "\n") and the prompt that the status bar shows while the mouse is on the
// button (before it).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <span>
#include <string>
#include <vector>

#include "bar_layout.h"
#include "command_target.h"
#include "window.h"

namespace fw {

class FrameWindow;
class FloatingBarWindow;

// The picture strip of a bitmap resource as an image list: pictures of
// that size, the ground colour transparent, colourFlag (ILC_COLOR24,
// ILC_COLOR8, ...) with a mask, room for 12 and 4 more at a time; null on
// failure.
HIMAGELIST PictureList(const Module& module, unsigned bitmapId, SIZE size, COLORREF ground, UINT colourFlag);

class ToolBar : public Window {
 public:
  explicit ToolBar(const Module& module) : module_(module) {}
  ~ToolBar() override;

  // Creates the bar as a child of the frame, docked at the top; title is the
  // floating window's caption. The frame lays it out from then on.
  bool Create(FrameWindow& frame, UINT id, const std::wstring& title = {});
  const Module& module() const { return module_; }
  FrameWindow* frame() const { return frame_; }
  UINT id() const { return id_; }
  // The ToolbarWindow32 that holds the buttons.
  HWND buttons() const { return buttons_; }

  // The slots of the tool-bar resource and the pictures of its bitmap (same
  // id). False when either is missing or malformed.
  bool LoadToolBar(unsigned resourceId);
  // The slots of a tool-bar resource with the pictures of two bitmap strips
  // of their own (PictureList): the normal one 24-bit, the disabled one 8-bit,
  // pictures of that size on the ground colour. False, with neither list
  // kept, when any of the three is missing or malformed.
  bool LoadPictureBar(unsigned resourceId, unsigned normalBitmap, unsigned disabledBitmap, SIZE pictureSize,
                      COLORREF ground);
  // Other slots (0: a separator); buttons take the pictures in order.
  bool SetButtons(std::span<const unsigned> ids);
  // Pictures from image lists the program made (the disabled list may be
  // null: the control greys the normal pictures); the bar owns them now.
  void SetImageLists(HIMAGELIST normal, HIMAGELIST disabled, SIZE pictureSize);
  // A button turned into another command with another picture, in place.
  void SetSlot(int index, unsigned id, int picture);

  int SlotCount() const { return static_cast<int>(slots_.size()); }
  unsigned SlotId(int index) const;
  // The slot's rectangle in this window's client coordinates.
  RECT SlotRect(int index) const;
  // Makes a slot a separator of the given width that carries id; with a
  // control, the control is kept centred in the slot (and hidden while the
  // bar stands vertical, where it does not fit).
  void SetSeparatorSlot(int index, UINT id, int width, HWND control = nullptr);

  // Where the bar is: a side of the frame or floating.
  DockSide side() const { return side_; }
  void Dock(DockSide side);
  // Floats the bar in its own small window with its top-left corner there
  // (screen coordinates).
  void Float(POINT topLeft);
  // The floating window, while floating.
  HWND floatingWindow() const;

  // Shown or hidden (docked or floating).
  bool IsShown() const;
  void Show(bool show);

  // The size the bar would take lying flat or standing upright, whichever
  // way it lies now (the outline shown while it is dragged).
  SIZE ShapeFor(bool vertical) const;
  // How thick the bar is across its side when docked.
  int Thickness() const;
  // The size the bar needs along and across its side.
  SIZE Extent(bool vertical) const;

  // Buttons enabled and checked as the frame's command routing says.
  void UpdateUi(FrameWindow& frame);

  // The drop of a drag of the gripper at a point of the screen: docks to the
  // side of the frame there or floats at it.
  void DropAt(POINT screen);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Lays the buttons and the slot controls out for the bar's side.
  void ArrangeButtons();

 private:
  struct Slot {
    unsigned id = 0;
    int picture = -1;  // -1: separator
    int width = 0;     // a separator's width (0: the control's default)
    HWND control = nullptr;
  };
  bool AddSlots();
  void ShowFlyBy(int commandId);
  // The bar's thickness lying flat, from its buttons' height.
  int HorizontalThickness() const;
  // Where a drop at a point of the screen puts the bar, and its outline
  // there while the gripper is dragged.
  DockSide SideAt(POINT screen) const;
  RECT DropOutline(POINT screen) const;
  std::wstring TipText(unsigned id) const;
  void PlaceInner();
  RECT GripperRect() const;
  void DrawGripper(HDC dc) const;

  Module module_;
  FrameWindow* frame_ = nullptr;
  UINT id_ = 0;
  HWND buttons_ = nullptr;
  HIMAGELIST pictures_ = nullptr;
  HIMAGELIST disabledPictures_ = nullptr;
  SIZE pictureSize_{16, 15};
  std::vector<Slot> slots_;
  DockSide side_ = DockSide::kTop;
  DockSide lastDocked_ = DockSide::kTop;
  FloatingBarWindow* floating_ = nullptr;
  CommandStateCache shown_;
  std::wstring tip_;  // the text of the tool tip asked for last
  bool dragging_ = false;
  RECT dragRect_{};
  bool dragDrawn_ = false;

  friend class FloatingBarWindow;
};

}  // namespace fw
