#include "idle_rules.h"

namespace fw {

bool IdleRules::RestartsIdle(unsigned message, int x, int y) {
  if (message == wm::kMouseMove || message == wm::kNcMouseMove) {
    if (message == lastMove_ && x == lastX_ && y == lastY_) return false;
    lastMove_ = message;
    lastX_ = x;
    lastY_ = y;
    return true;
  }
  return message != wm::kPaint && message != wm::kSysTimer;
}

}  // namespace fw
