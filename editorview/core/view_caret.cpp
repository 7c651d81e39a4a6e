// The caret, its moves by key and mouse, the selection and scrolling.
#include <algorithm>

#include "view_engine.h"

namespace editorview {

namespace {
bool Before(const TextPosition& a, const TextPosition& b) {
  return a.line < b.line || (a.line == b.line && a.offset < b.offset);
}
}  // namespace

// ---- caret placement ----

CaretPoint ViewEngine::CaretPointNow() {
  // The walk to the caret is kept until the buffer, the caret or the width changes.
  const CaretKey key{bufferVersion_, caretLine_, caretOffset_, textWidth_};
  if (!(key == caretKey_)) {
    caretPoint_ = CaretPointInLine(code_, metrics_, LineBuffer(), caretOffset_, textWidth_);
    caretKey_ = key;
  }
  return caretPoint_;
}

void ViewEngine::PlaceCaret() {
  if (caretLine_ < topLine_ || caretLine_ >= endLine_) {
    if (focus_) host_.PlaceCaret(-100, -100);
    return;
  }
  const CaretPoint p = CaretPointNow();
  caretX_ = leftMargin_ + p.x - 1;
  caretY_ = LineTop(caretLine_) + p.row * font_.lineHeight;
  if (!focus_) return;
  host_.PlaceCaret(caretX_, caretY_);
  const Rect area{leftMargin_ - 1, 0, leftMargin_ + textWidth_, clientHeight_};
  // Near the right edge the composition starts on the next row.
  if (caretX_ + 2 * font_.averageCharWidth + 1 >= leftMargin_ + textWidth_) {
    host_.PlaceComposition(leftMargin_ - 1, caretY_ + font_.lineHeight, area);
  } else {
    host_.PlaceComposition(caretX_, caretY_, area);
  }
}

void ViewEngine::NormalizeTop() {
  // A top line that has left the window gives its place to the next line.
  while (topLine_ < LastLine()) {
    const int slot = LaidOutSlot(topLine_);
    const int bottom = slots_[slot].top + slots_[slot].height;
    if (bottom >= 1) break;
    ++topLine_;
    slots_[LaidOutSlot(topLine_)].top = bottom;
  }
}

void ViewEngine::ScrollLineToBottom(int line) {
  // The line ends at the bottom of the window; lines above fill it.
  int y = clientHeight_;
  for (;;) {
    y -= LineHeightOf(line);
    if (y <= 0 || line == 0) break;
    --line;
  }
  topLine_ = line;
  slots_[LaidOutSlot(line)].top = std::min(y, 0);
}

void ViewEngine::UpdateCaretPosition() {
  if (!verticalMove_) goalX_ = -1;  // taken from the caret below
  if (noScrollOnce_) {
    noScrollOnce_ = false;
  } else if (clientHeight_ > 0) {
    const int lineHeight = font_.lineHeight;
    const CaretPoint p = CaretPointNow();
    const int rowY = p.row * lineHeight;
    LaidOutSlot(caretLine_);
    if (caretLine_ < topLine_) {
      topLine_ = caretLine_;
      slots_[LaidOutSlot(caretLine_)].top = -rowY;
      Repaint();
    } else if (caretLine_ >= endLine_) {
      ScrollLineToBottom(caretLine_);
      Repaint();
    }
    int y = LineTop(caretLine_) + rowY;
    if (y < 0) {
      topLine_ = caretLine_;
      slots_[LaidOutSlot(caretLine_)].top = -rowY;
      Repaint();
      y = LineTop(caretLine_) + rowY;
    }
    // One pass suffices; the bound guards against a window smaller than a row.
    for (int pass = 0; pass < 4 && y + lineHeight > clientHeight_ && clientHeight_ >= lineHeight; ++pass) {
      slots_[LaidOutSlot(topLine_)].top -= y + lineHeight - clientHeight_;
      NormalizeTop();
      Repaint();
      y = LineTop(caretLine_) + rowY;
    }
  }
  PlaceCaret();
  if (goalX_ < 0) goalX_ = caretX_;
}

// ---- selection ----

void ViewEngine::SetSelection(TextPosition start, TextPosition end) {
  if (Before(end, start)) std::swap(start, end);
  if (start == end) {
    selStart_ = selEnd_ = {};
  } else {
    selStart_ = start;
    selEnd_ = end;
  }
}

void ViewEngine::ClearSelection() { selStart_ = selEnd_ = {}; }

void ViewEngine::SetCaret(TextPosition position) {
  const int line = std::clamp(position.line, 0, LastLine());
  const std::string_view text = LineText(line);
  int offset = 0;
  while (offset < position.offset && offset < static_cast<int>(text.size())) {
    offset += code_.CharLength(text.data(), offset, static_cast<int>(text.size()));
  }
  MoveTo({line, offset}, false);
}

void ViewEngine::SetCaretLine(int line) {
  if (line == caretLine_) return;
  CommitLineBuffer();
  caretLine_ = line;
  LoadLineBuffer(doc_.GetLine(line));
  pendingLead_ = -1;
  host_.LineStatusChanged();
}

void ViewEngine::ExtendSelection(int line, int offset) {
  const TextPosition caret = Caret();
  const TextPosition target{line, offset};
  if (HasSelection() && caret == selStart_) {
    SetSelection(target, selEnd_);
  } else if (HasSelection() && caret == selEnd_) {
    SetSelection(selStart_, target);
  } else {
    SetSelection(caret, target);
  }
  SetCaretLine(line);
  caretOffset_ = offset;
  Repaint();
  UpdateCaretPosition();
}

void ViewEngine::MoveTo(TextPosition target, bool shift) {
  if (shift) {
    ExtendSelection(target.line, target.offset);
    return;
  }
  if (HasSelection()) {
    ClearSelection();
    Repaint();
  }
  SetCaretLine(target.line);
  caretOffset_ = target.offset;
  UpdateCaretPosition();
}

// ---- keys ----

void ViewEngine::KeyDown(unsigned virtualKey, bool shift, bool ctrl) {
  pendingLead_ = -1;
  switch (virtualKey) {
    case kVkPrior: MovePage(-1, shift); break;
    case kVkNext: MovePage(1, shift); break;
    case kVkHome:
      if (ctrl) {
        MoveTo({0, 0}, shift);
      } else if (caretOffset_ == 0) {
        Beep();
      } else {
        MoveTo({caretLine_, 0}, shift);
      }
      break;
    case kVkEnd:
      if (ctrl) {
        CommitLineBuffer();
        MoveTo({LastLine(), static_cast<int>(doc_.GetLine(LastLine()).size())}, shift);
        Repaint();
      } else if (caretOffset_ == length_) {
        Beep();
      } else {
        MoveTo({caretLine_, length_}, shift);
      }
      break;
    case kVkLeft: MoveLeft(shift); break;
    case kVkRight: MoveRight(shift); break;
    case kVkUp: MoveVertical(-1, shift); break;
    case kVkDown: MoveVertical(1, shift); break;
    case kVkDelete: DeleteForward(); break;
    default: break;
  }
}

void ViewEngine::MoveLeft(bool shift) {
  if (caretOffset_ > 0) {
    MoveTo({caretLine_, code_.PrevChar(buffer_.data(), caretOffset_, length_)}, shift);
  } else if (caretLine_ == 0) {
    Beep();
  } else {
    // To the end of the last row of the previous line: as far right as it goes.
    const int line = caretLine_ - 1;
    const int lastRow = LineHeightOf(line) / font_.lineHeight - 1;
    const int offset = OffsetAtPoint(code_, metrics_, doc_.GetLine(line), lastRow, variant_.farRight, textWidth_);
    MoveTo({line, offset < 0 ? static_cast<int>(doc_.GetLine(line).size()) : offset}, shift);
  }
}

void ViewEngine::MoveRight(bool shift) {
  if (caretOffset_ < length_) {
    MoveTo({caretLine_, caretOffset_ + code_.CharLength(buffer_.data(), caretOffset_, length_)}, shift);
  } else if (caretLine_ == LastLine()) {
    Beep();
  } else {
    MoveTo({caretLine_ + 1, 0}, shift);
  }
}

void ViewEngine::MoveVertical(int direction, bool shift) {
  // The row above or below at the goal column, which survives a run of
  // vertical moves.
  const int lineHeight = font_.lineHeight;
  const CaretPoint p = CaretPointNow();
  const int rows = LineHeightOf(caretLine_) / lineHeight;
  const int x = goalX_ + 1 - leftMargin_;
  TextPosition target;
  if (p.row + direction >= 0 && p.row + direction < rows) {
    target = {caretLine_, OffsetAtPoint(code_, metrics_, LineBuffer(), p.row + direction, x, textWidth_)};
    if (target.offset < 0) target.offset = length_;
  } else {
    const int line = caretLine_ + direction;
    if (line < 0 || line > LastLine()) {
      Beep();
      return;
    }
    CommitLineBuffer();
    const int row = direction < 0 ? LineHeightOf(line) / lineHeight - 1 : 0;
    const std::string_view text = doc_.GetLine(line);
    target = {line, OffsetAtPoint(code_, metrics_, text, row, x, textWidth_)};
    if (target.offset < 0) target.offset = static_cast<int>(text.size());
  }
  verticalMove_ = true;
  MoveTo(target, shift);
  verticalMove_ = false;
}

void ViewEngine::MovePage(int direction, bool shift) {
  CommitLineBuffer();
  // The caret returns to its place in the window, over whatever line is there then.
  const int x = goalX_;
  const int y = caretY_;
  const int rows = std::max(clientHeight_ / font_.lineHeight - 1, 1);
  int moved = 0;
  while (moved < rows && (direction < 0 ? ScrollUpRow() : ScrollDownRow())) {
    ++moved;
    DrawLinesFrom(nullptr, topLine_);
  }
  if (moved) Repaint();
  const TextPosition end{LastLine(), static_cast<int>(LineText(LastLine()).size())};
  verticalMove_ = true;
  if (direction < 0 && !moved) {
    if (Caret() == TextPosition{0, 0}) {
      Beep();
    } else {
      MoveToPointInWindow(x, 0, shift);
    }
  } else if (direction > 0 && !moved && Caret() == end) {
    Beep();
  } else if (direction > 0 && allShown_) {
    MoveTo(end, shift);
  } else {
    MoveToPointInWindow(x, y, shift);
  }
  verticalMove_ = false;
}

// ---- points ----

int ViewEngine::LineAtY(int y, bool extendLast) {
  const int last = std::min(endLine_, LineCount()) - 1;
  if (last < topLine_) return topLine_;
  if (y < LineTop(topLine_)) return topLine_;
  for (int line = topLine_; line <= last; ++line) {
    if (y < LineTop(line) + LineHeightOf(line)) return line;
  }
  return extendLast ? last : -1;
}

int ViewEngine::OffsetFromPoint(int line, int x, int y) {
  const int dy = y - LineTop(line);
  const int row = dy < 0 ? -1 : dy / font_.lineHeight;
  const std::string_view text = LineText(line);
  const int offset = OffsetAtPoint(code_, metrics_, text, row, x - leftMargin_, textWidth_);
  return offset < 0 ? static_cast<int>(text.size()) : offset;
}

int ViewEngine::YInLine(int line, int y) {
  // A point below the line (below the end of the text) is on its last row.
  const int bottom = LineTop(line) + LineHeightOf(line);
  return y < bottom ? y : bottom - 1;
}

void ViewEngine::MoveToPointInWindow(int x, int y, bool shift) {
  const int line = LineAtY(y, true);
  MoveTo({line, OffsetFromPoint(line, x, YInLine(line, y))}, shift);
}

void ViewEngine::MoveCaretToPoint(int line, int x, int y) {
  if (line < 0 || line > LastLine()) return;
  if (line != caretLine_) {
    SetCaretLine(line);
    caretOffset_ = 0;
  }
  if (x >= 0) caretOffset_ = OffsetFromPoint(line, x, y);
  UpdateCaretPosition();
}

// ---- mouse ----

void ViewEngine::LeftButtonDown(int x, int y, bool shift) {
  pendingLead_ = -1;
  const TextPosition old = Caret();
  // Shift extends from the previous caret, or from the far end of a selection.
  TextPosition anchor = old;
  if (HasSelection()) anchor = old == selStart_ ? selEnd_ : selStart_;
  const int line = LineAtY(y, true);
  MoveCaretToPoint(line, std::max(x, 0), YInLine(line, y));
  if (shift) {
    SetSelection(anchor, Caret());
    Repaint();
  } else if (HasSelection()) {
    ClearSelection();
    Repaint();
  }
  captured_ = true;
  host_.CaptureMouse(true);
}

void ViewEngine::MouseMove(int x, int y) {
  if (captured_) DragSelect(x, y);
}

void ViewEngine::LeftButtonUp(int x, int y) {
  if (!captured_) return;
  DragSelect(x, y);
  captured_ = false;
  host_.CaptureMouse(false);
}

void ViewEngine::DragSelect(int x, int y) {
  x = std::max(x, 0);
  y = std::clamp(y, -1, clientHeight_ + 1);
  // A point above or below the window reaches the line just outside it; the
  // caret update then scrolls that line in, one line per mouse message.
  const int last = std::min(endLine_, LastLine());
  int first = topLine_;
  if (topLine_ > 0) {
    first = topLine_ - 1;
    const int slot = LaidOutSlot(first);
    slots_[slot].top = -slots_[slot].height;
  }
  int line = -1;
  for (int n = first; n <= last; ++n) {
    if (y < LineTop(n) + LineHeightOf(n)) {
      line = n;
      break;
    }
  }
  // Below the end of the text the last line takes the point.
  if (line < 0 && last == LastLine()) line = last;
  if (line < 0) return;
  const TextPosition target{line, OffsetFromPoint(line, x, YInLine(line, y))};
  if (!(target == Caret())) ExtendSelection(target.line, target.offset);
}

// ---- scrolling ----

bool ViewEngine::ScrollUpRow() {
  const int lineHeight = font_.lineHeight;
  int slot = LaidOutSlot(topLine_);
  if (topLine_ == 0 && slots_[slot].top >= 0) return false;
  slots_[slot].top += lineHeight;
  if (slots_[slot].top > 0 && topLine_ > 0) {
    const int top = slots_[slot].top;
    --topLine_;
    slot = LaidOutSlot(topLine_);
    slots_[slot].top = top - slots_[slot].height;
  }
  if (topLine_ == 0 && slots_[slot].top > 0) slots_[slot].top = 0;
  return true;
}

bool ViewEngine::ScrollDownRow() {
  if (allShown_) return false;
  const int slot = LaidOutSlot(topLine_);
  slots_[slot].top -= font_.lineHeight;
  const int bottom = slots_[slot].top + slots_[slot].height;
  if (bottom <= 0) {
    if (topLine_ == LastLine()) {
      slots_[slot].top += font_.lineHeight;
      return false;
    }
    ++topLine_;
    slots_[LaidOutSlot(topLine_)].top = bottom;
  }
  return true;
}

void ViewEngine::ScrollToLine(int position) {
  if (position <= 0) {
    topLine_ = 0;
    slots_[LaidOutSlot(0)].top = 0;
    return;
  }
  const int target = std::min(position - 1, LastLine());
  // From target down, do the lines fill the window?
  int filled = 0;
  for (int line = target; line <= LastLine() && filled < clientHeight_; ++line) filled += LineHeightOf(line);
  if (filled >= clientHeight_) {
    topLine_ = target;
    slots_[LaidOutSlot(target)].top = 0;
    return;
  }
  // They do not: the last lines end at the bottom of the window.
  ScrollLineToBottom(LastLine());
}

void ViewEngine::VScroll(int code, int position) {
  CommitLineBuffer();
  const int pageRows = std::max(clientHeight_ / font_.lineHeight - 1, 1);
  bool moved = false;
  switch (code) {
    case kSbLineUp: moved = ScrollUpRow(); break;
    case kSbLineDown: moved = ScrollDownRow(); break;
    case kSbPageUp:
    case kSbPageDown:
      for (int i = 0; i < pageRows && (code == kSbPageUp ? ScrollUpRow() : ScrollDownRow()); ++i) {
        moved = true;
        DrawLinesFrom(nullptr, topLine_);
      }
      break;
    case kSbThumbPosition: {
      const long long line = static_cast<long long>(position) * scrollStep_;
      if (line == topLine_ + 1) break;  // already there
      ScrollToLine(static_cast<int>(std::min<long long>(line, LineCount() + 1)));
      moved = true;
      break;
    }
    default: break;  // SB_THUMBTRACK and the rest do nothing
  }
  if (moved) Repaint();
}

void ViewEngine::MouseWheel(int delta) {
  CommitLineBuffer();
  if (delta > 0 ? ScrollUpRow() : ScrollDownRow()) Repaint();
}

}  // namespace editorview
