// When the message loop runs its idle work (the update of menus, tool bars
// and status panes, the program's own idle jobs): after any message that may
// have changed what they show, not after the frequent ones that do not.
#pragma once

namespace fw {

namespace wm {
inline constexpr unsigned kPaint = 0x000F;
inline constexpr unsigned kMouseMove = 0x0200;
inline constexpr unsigned kNcMouseMove = 0x00A0;
inline constexpr unsigned kSysTimer = 0x0118;  // the caret's blink
}  // namespace wm

class IdleRules {
 public:
  // Whether a message just dispatched starts the idle work again: not
  // WM_PAINT, not the caret's timer, not a mouse move to where the mouse
  // already was.
  bool RestartsIdle(unsigned message, int x, int y);

 private:
  unsigned lastMove_ = 0;
  int lastX_ = -1;
  int lastY_ = -1;
};

}  // namespace fw
