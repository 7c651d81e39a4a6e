#include "message_route.h"

namespace fw {

bool IsControlColourMessage(unsigned message) {
  switch (message) {
    case wm::kCtlColorEdit:
    case wm::kCtlColorListBox:
    case wm::kCtlColorButton:
    case wm::kCtlColorScrollBar:
    case wm::kCtlColorStatic:
      return true;
    default:
      return false;
  }
}

ChildFrom ReflectionSource(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  switch (message) {
    case wm::kCommand:
      // lParam 0: a menu item or an accelerator, which no control sent.
      return lParam != 0 ? ChildFrom::kLParam : ChildFrom::kNone;
    case wm::kNotify:
      return lParam != 0 ? ChildFrom::kNotifyHeader : ChildFrom::kNone;
    case wm::kDrawItem:
      // Control id 0: an owner-drawn menu item.
      return wParam != 0 && lParam != 0 ? ChildFrom::kDrawItem : ChildFrom::kNone;
    case wm::kMeasureItem:
      return wParam != 0 ? ChildFrom::kMeasureItem : ChildFrom::kNone;
    default:
      return IsControlColourMessage(message) && lParam != 0 ? ChildFrom::kLParam : ChildFrom::kNone;
  }
}

}  // namespace fw
