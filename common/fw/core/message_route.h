// Which parent messages the framework hands to the object of the child
// control that they concern (reflection), and where that child is named.
// A control class then owns its drawing, measuring, colours and
// notifications instead of every dialog that hosts it.
#pragma once
#include <cstdint>

namespace fw {

// The window messages of the rules, by value (this file needs no windows.h).
namespace wm {
inline constexpr unsigned kNotify = 0x004E;
inline constexpr unsigned kDrawItem = 0x002B;
inline constexpr unsigned kMeasureItem = 0x002C;
inline constexpr unsigned kCommand = 0x0111;
inline constexpr unsigned kCtlColorMsgBox = 0x0132;
inline constexpr unsigned kCtlColorEdit = 0x0133;
inline constexpr unsigned kCtlColorListBox = 0x0134;
inline constexpr unsigned kCtlColorButton = 0x0135;
inline constexpr unsigned kCtlColorDialog = 0x0136;
inline constexpr unsigned kCtlColorScrollBar = 0x0137;
inline constexpr unsigned kCtlColorStatic = 0x0138;
}  // namespace wm

// Where the child of a reflected message is found.
enum class ChildFrom : unsigned char {
  kNone,          // not reflected: menus, accelerators and every other message
  kLParam,        // the child's window handle is lParam (WM_COMMAND, WM_CTLCOLOR*)
  kNotifyHeader,  // lParam points to an NMHDR; its hwndFrom
  kDrawItem,      // lParam points to a DRAWITEMSTRUCT; its hwndItem
  kMeasureItem,   // the child with the control id wParam
};

ChildFrom ReflectionSource(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

// WM_CTLCOLORMSGBOX and WM_CTLCOLORDLG concern the window itself, not a child.
bool IsControlColourMessage(unsigned message);

}  // namespace fw
