// Set-up, the line store, the layout ring, the layout pass and painting.
#include "view_engine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace editorview {

namespace {
const ViewSettings kDefaultSettings;
}  // namespace

ViewEngine::ViewEngine(const ViewVariant& variant, LineDocument& document, const Services& services)
    : variant_(variant),
      doc_(document),
      measurer_(services.measurer),
      host_(services.host),
      clipboard_(services.clipboard),
      detector_(services.detector),
      rtfBuilder_(services.rtfBuilder),
      settings_(services.settings),
      code_(variant.lineCode, services.gm, services.pages),
      metrics_(code_, services.measurer) {
  code_.SetCharset(font_.charset);
  leftMargin_ = font_.averageCharWidth / 2;
  caretX_ = goalX_ = leftMargin_ - 1;
  for (int i = 0; i < RingSize(); ++i) slots_[i] = {i * font_.lineHeight, font_.lineHeight, kNoStamp};
  LoadLineBuffer(doc_.GetLine(0));
}

const ViewSettings& ViewEngine::Settings() const { return settings_ ? *settings_ : kDefaultSettings; }

// ---- set-up ----

bool ViewEngine::SetFont(const ViewFont& font) {
  const int oldCode = code_.FontCode();
  font_ = font;
  if (font_.lineHeight < 1) font_.lineHeight = 1;
  code_.SetCharset(font_.charset);
  metrics_.Reset();
  ++bufferVersion_;
  pendingLead_ = -1;
  leftMargin_ = font_.averageCharWidth / 2;
  textWidth_ = clientWidth_ - font_.averageCharWidth / 2 - leftMargin_ - scrollBarWidth_;
  ClearStamps();
  FitRingToWindow();
  CommitLineBuffer();
  if (paintState_ == 1) {
    Repaint();
    UpdateCaretPosition();
  }
  return code_.FontCode() != oldCode;
}

void ViewEngine::Resize(int clientWidth, int clientHeight, int scrollBarWidth) {
  // The size is kept even before the first paint, so that a view that gets
  // only one WM_SIZE still knows its area.
  clientWidth_ = clientWidth;
  clientHeight_ = clientHeight;
  scrollBarWidth_ = scrollBarWidth;
  textWidth_ = clientWidth - font_.averageCharWidth / 2 - leftMargin_ - scrollBarWidth;
  FitRingToWindow();
  if (paintState_ < 0) {
    paintState_ = 0;
    return;
  }
  if (paintState_ == 1) {
    CommitLineBuffer();
    Repaint();
    UpdateCaretPosition();
  }
}

void ViewEngine::OnUpdate(int hint) {
  if (hint != 0) return;
  selStart_ = selEnd_ = {};
  undo_ = {};
  ringBaseLine_ = ringBaseSlot_ = 0;
  topLine_ = 0;
  endLine_ = 1;
  allShown_ = false;
  caretLine_ = 0;
  dirty_ = false;
  for (int i = 0; i < RingSize(); ++i) slots_[i] = {i * font_.lineHeight, font_.lineHeight, kNoStamp};
  LoadLineBuffer(doc_.GetLine(0));
  caretOffset_ = 0;
  caretX_ = goalX_ = leftMargin_ - 1;
  caretY_ = 0;
  scrollStep_ = 1;
  Repaint();
  host_.LineStatusChanged();
}

bool ViewEngine::Paint(Canvas& canvas) {
  CommitLineBuffer();
  DrawLinesFrom(&canvas, topLine_);
  const bool first = paintState_ != 1;
  paintState_ = 1;
  return first;
}

void ViewEngine::SetFocus() {
  focus_ = true;
  PlaceCaret();
}

void ViewEngine::KillFocus() {
  focus_ = false;
  CommitLineBuffer();
}

// ---- line store ----

void ViewEngine::LoadLineBuffer(std::string_view text) {
  // Lines are shorter than the buffer; a longer one is cut at a character start.
  int n = static_cast<int>(std::min<size_t>(text.size(), kLineBufferSize - 1));
  if (static_cast<size_t>(n) < text.size()) {
    int fit = 0;
    for (int p = 0; p < n;) {
      const int next = p + code_.CharLength(text.data(), p, static_cast<int>(text.size()));
      if (next > n) break;
      fit = p = next;
    }
    n = fit;
  }
  std::memcpy(buffer_.data(), text.data(), static_cast<size_t>(n));
  buffer_[static_cast<size_t>(n)] = '\0';
  length_ = n;
  dirty_ = false;
  ++bufferVersion_;
}

void ViewEngine::CommitLineBuffer() {
  if (!dirty_) return;
  doc_.SetLine(caretLine_, LineBuffer());
  dirty_ = false;
}

std::string ViewEngine::LineStatusText() const {
  char text[32];
  std::snprintf(text, sizeof text, "%5d /%5d", caretLine_ + 1, LineCount());
  return text;
}

std::string_view ViewEngine::LineText(int line) const {
  return line == caretLine_ ? LineBuffer() : doc_.GetLine(line);
}

bool ViewEngine::TextEmpty() const { return LineCount() == 1 && length_ == 0; }

int ViewEngine::GetLineSlot(int line) {
  const int size = RingSize();
  if (line > ringBaseLine_ + size - 1) {
    const int steps = line - (ringBaseLine_ + size - 1);
    if (steps >= size) {
      ClearStamps();
    } else {
      for (int i = 0; i < steps; ++i) slots_[(ringBaseSlot_ + i) % size].stamp = kNoStamp;
    }
    ringBaseSlot_ = static_cast<int>((ringBaseSlot_ + static_cast<long long>(steps)) % size);
    ringBaseLine_ += steps;
  } else if (line < ringBaseLine_) {
    const int steps = ringBaseLine_ - line;
    if (steps >= size) {
      ClearStamps();
    } else {
      for (int i = 1; i <= steps; ++i) slots_[(ringBaseSlot_ - i + size) % size].stamp = kNoStamp;
    }
    ringBaseSlot_ = static_cast<int>(((ringBaseSlot_ - static_cast<long long>(steps)) % size + size) % size);
    ringBaseLine_ = line;
  }
  return (ringBaseSlot_ + line - ringBaseLine_) % size;
}

int ViewEngine::LineOfSlot(int slot) const {
  return ringBaseLine_ + (slot - ringBaseSlot_ + RingSize()) % RingSize();
}

void ViewEngine::FitRingToWindow() {
  // The window's rows, a line partly above it and one partly below, the line
  // above the top line (dragging) and the line after the last painted one.
  const int rows = clientHeight_ / std::max(font_.lineHeight, 1) + 1;
  const int needed = std::max(kRingSlots, rows + 4);
  if (needed <= RingSize()) return;
  // The lines of the ring keep their slots, from the base line on.
  std::vector<Slot> grown(static_cast<size_t>(needed));
  for (int i = 0; i < RingSize(); ++i) grown[static_cast<size_t>(i)] = slots_[(ringBaseSlot_ + i) % RingSize()];
  for (int i = RingSize(); i < needed; ++i) grown[static_cast<size_t>(i)] = {0, font_.lineHeight, kNoStamp};
  slots_ = std::move(grown);
  ringBaseSlot_ = 0;
}

void ViewEngine::LayoutLine(int slot) {
  const int rows = CountRows(code_, metrics_, LineText(LineOfSlot(slot)), textWidth_);
  slots_[slot].stamp = textWidth_;
  slots_[slot].height = std::max(rows, 1) * font_.lineHeight;
}

void ViewEngine::ClearStamps() {
  for (Slot& s : slots_) s.stamp = kNoStamp;
}

int ViewEngine::LaidOutSlot(int line) {
  const int slot = GetLineSlot(line);
  if (slots_[slot].stamp != textWidth_) LayoutLine(slot);
  return slot;
}

int ViewEngine::LineTop(int line) { return slots_[LaidOutSlot(line)].top; }
int ViewEngine::LineHeightOf(int line) { return slots_[LaidOutSlot(line)].height; }

// ---- layout pass and painting ----

void ViewEngine::DrawLinesFrom(Canvas* canvas, int line) {
  const int count = LineCount();
  if (topLine_ > count - 1) {  // the lines it stood on were removed
    topLine_ = count - 1;
    slots_[LaidOutSlot(topLine_)].top = 0;
  }
  line = std::clamp(line, 0, count - 1);
  int y = slots_[LaidOutSlot(line)].top;
  int bottom = y;
  int n = line;
  // The ring holds every line a window can show (FitRingToWindow), the one
  // after them and the one above the first; the bound only guards a top
  // line placed far above the window.
  for (int painted = 0; n < count; ++n, ++painted) {
    const int slot = LaidOutSlot(n);
    if (n != line) slots_[slot].top = y;
    if (slots_[slot].top >= clientHeight_ || painted == RingSize() - 2) break;
    if (canvas) PaintLine(*canvas, n, slot);
    y = bottom = slots_[slot].top + slots_[slot].height;
  }
  endLine_ = n;
  allShown_ = n >= count && clientHeight_ >= bottom;
  if (canvas) {
    const int right = clientWidth_ - scrollBarWidth_;
    if (bottom < clientHeight_) canvas->Fill({0, std::max(bottom, 0), right, clientHeight_});
  }
  UpdateScrollBar();
  if (canvas) PlaceCaret();
}

void ViewEngine::UpdateScrollBar() {
  const int count = LineCount();
  const bool atTop = topLine_ == 0 && LineTop(0) == 0;
  ScrollBarState state;
  if (atTop && allShown_) {
    scrollStep_ = 1;
  } else {
    const int span = count + topLine_ - endLine_ + 2;
    const int position = allShown_ ? topLine_ + count - endLine_ + 2 : (atTop ? 0 : topLine_ + 1);
    scrollStep_ = span / 30000 + 1;
    state = {true, span / scrollStep_, position / scrollStep_};
  }
  if (!(state == scrollBar_)) {
    scrollBar_ = state;
    host_.SetScrollBar(state);
  }
}

void ViewEngine::Repaint() {
  DrawLinesFrom(nullptr, topLine_);
  PlaceCaret();
  host_.Invalidate();
}

void ViewEngine::RelayoutCaretLine() {
  LayoutLine(GetLineSlot(caretLine_));
  Repaint();
}

void ViewEngine::PaintLine(Canvas& canvas, int line, int slot) {
  const std::string_view text = LineText(line);
  const int top = slots_[slot].top;
  const int lineHeight = font_.lineHeight;
  const int right = clientWidth_ - scrollBarWidth_;

  // The line's part of the selection.
  int from = -1;
  int to = -1;
  if (HasSelection() && selStart_.line <= line && line <= selEnd_.line) {
    from = line == selStart_.line ? selStart_.offset : 0;
    to = line == selEnd_.line ? selEnd_.offset : kLineBufferSize - 1;
    if (from == to) from = to = -1;
  }

  canvas.Fill({0, top, leftMargin_, top + slots_[slot].height});
  std::u16string units;
  std::string bytes;
  std::vector<int> advances;
  int runX = 0;
  int runBytes = 0;
  bool runSelected = false;
  int row = 0;
  int x = 0;
  auto flush = [&] {
    const int rowTop = top + row * lineHeight;
    if (!units.empty()) canvas.DrawUnits(leftMargin_ + runX, rowTop, units, advances, runSelected);
    if (!bytes.empty()) canvas.DrawBytes(leftMargin_ + runX, rowTop, bytes, advances, runSelected);
    units.clear();
    bytes.clear();
    advances.clear();
    runBytes = 0;
  };
  auto fillRow = [&] {
    const int rowTop = top + row * lineHeight;
    canvas.Fill({leftMargin_ + x, rowTop, right, rowTop + lineHeight});
  };
  // Rows above the window are walked but not painted; the walk ends with the
  // first row below it (a long line's rows beyond the window cost nothing).
  auto rowShown = [&] { return top + (row + 1) * lineHeight > 0; };
  bool below = false;
  WalkRows(code_, metrics_, text.data(), static_cast<int>(text.size()), textWidth_, [&](const PlacedChar& c) {
    if (c.breaksRow) {
      flush();
      if (rowShown()) fillRow();
      row = c.row;
      x = 0;
      if (top + row * lineHeight >= clientHeight_) {
        below = true;
        return false;
      }
    }
    x = c.x + c.width;
    if (!rowShown()) return true;
    const bool selected = from >= 0 && c.offset >= from && c.offset < to;
    // A run ends at a selection boundary and when its buffer is full; the
    // line is painted on in a new run.
    if (selected != runSelected || runBytes + c.length > kPaintRunBytes) flush();
    if (runBytes == 0) runX = c.x;
    runSelected = selected;
    metrics_.AppendPaintForm(text.data() + c.offset, c.length, c.width, units, bytes, advances);
    runBytes += c.length;
    return true;
  });
  if (below) return;
  flush();
  fillRow();
}

}  // namespace editorview
