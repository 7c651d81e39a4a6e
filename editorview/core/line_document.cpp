#include "line_document.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

namespace editorview {

MemoryDocument::MemoryDocument(int lineLimit) : lineLimit_(lineLimit) { ResetLines(); }

void MemoryDocument::ResetLines() {
  lines_.assign(1, std::string());
  gapBegin_ = gapEnd_ = 1;
}

void MemoryDocument::Assign(std::vector<std::string> lines) {
  if (lines.empty()) lines.emplace_back();
  lines_ = std::move(lines);
  gapBegin_ = gapEnd_ = lines_.size();
}

void MemoryDocument::SetLine(int index, std::string_view text) {
  lines_[Physical(static_cast<size_t>(index))].assign(text.data(), text.size());
}

void MemoryDocument::MoveGap(size_t to) {
  if (gapBegin_ == gapEnd_) {  // no gap: nothing to move (and no string moved onto itself)
    gapBegin_ = gapEnd_ = to;
  } else if (to < gapBegin_) {
    std::move_backward(lines_.begin() + static_cast<std::ptrdiff_t>(to),
                       lines_.begin() + static_cast<std::ptrdiff_t>(gapBegin_),
                       lines_.begin() + static_cast<std::ptrdiff_t>(gapEnd_));
    gapEnd_ -= gapBegin_ - to;
    gapBegin_ = to;
  } else if (to > gapBegin_) {
    const size_t n = to - gapBegin_;
    std::move(lines_.begin() + static_cast<std::ptrdiff_t>(gapEnd_),
              lines_.begin() + static_cast<std::ptrdiff_t>(gapEnd_ + n),
              lines_.begin() + static_cast<std::ptrdiff_t>(gapBegin_));
    gapBegin_ += n;
    gapEnd_ += n;
  }
}

void MemoryDocument::Grow() {
  const size_t size = Size();
  const size_t capacity = std::max<size_t>(16, lines_.size() * 2);
  std::vector<std::string> grown(capacity);
  for (size_t i = 0; i < gapBegin_; ++i) grown[i] = std::move(lines_[i]);
  const size_t tail = size - gapBegin_;
  for (size_t i = 0; i < tail; ++i) grown[capacity - tail + i] = std::move(lines_[gapEnd_ + i]);
  lines_ = std::move(grown);
  gapEnd_ = capacity - tail;
}

bool MemoryDocument::InsertLine(int index) {
  if (LineCount() > lineLimit_) return false;
  try {
    if (gapBegin_ == gapEnd_) Grow();
  } catch (const std::bad_alloc&) {
    return false;
  }
  MoveGap(static_cast<size_t>(index));
  lines_[gapBegin_].clear();
  ++gapBegin_;
  return true;
}

void MemoryDocument::DeleteLine(int index) {
  if (Size() == 1) {
    ResetLines();
    return;
  }
  MoveGap(static_cast<size_t>(index));
  std::string().swap(lines_[gapEnd_]);
  ++gapEnd_;
}

namespace {

bool IsDroppedControl(char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }

// Index of the first byte below 0x20 other than TAB at or after pos (size
// when there is none), eight bytes at a time.
size_t NextControl(std::string_view text, size_t pos) {
  const size_t n = text.size();
  for (;;) {
    while (pos + 8 <= n) {
      uint64_t w;
      std::memcpy(&w, text.data() + pos, 8);
      // Some byte below 0x20 (TAB too): look at this word byte by byte.
      if ((w - 0x2020202020202020ULL) & ~w & 0x8080808080808080ULL) break;
      pos += 8;
    }
    const size_t stop = std::min(pos + 8, n);
    for (; pos < stop; ++pos) {
      if (IsDroppedControl(text[pos])) return pos;
    }
    if (pos >= n) return n;
  }
}

}  // namespace

void MemoryDocument::LoadText(std::string_view text) {
  std::vector<std::string> lines;
  const size_t limit = static_cast<size_t>(std::max(lineLimit_, 1));
  size_t pos = 0;
  while (pos < text.size() && lines.size() < limit) {
    // The common line: no control byte but its LF (or CR LF), not too long.
    const size_t c = NextControl(text, pos);
    const bool lf = c < text.size() && text[c] == '\n';
    const bool crlf = c + 1 < text.size() && text[c] == '\r' && text[c + 1] == '\n';
    if ((c == text.size() || lf || crlf) && c - pos < kMaxLineBytes) {
      lines.emplace_back(text.substr(pos, c - pos));
      pos = c + (crlf ? 2 : 1);
      continue;
    }
    const void* found = std::memchr(text.data() + c, '\n', text.size() - c);
    const size_t end = found ? static_cast<size_t>(static_cast<const char*>(found) - text.data()) : text.size();
    std::string line;
    for (size_t i = pos; i < end;) {
      if (IsDroppedControl(text[i])) {
        ++i;
        continue;
      }
      // A character that starts here goes whole onto this line or the next.
      size_t k = 1;
      while (i + k < end && k < 6 && (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80) ++k;
      if (line.size() + k > kMaxLineBytes && lines.size() + 1 < limit) {
        lines.push_back(std::move(line));
        line.clear();
      }
      line.append(text.substr(i, k));
      i += k;
    }
    lines.push_back(std::move(line));
    pos = end + 1;
  }
  Assign(std::move(lines));
}

std::string MemoryDocument::Text() const {
  std::string out;
  for (size_t i = 0; i < Size(); ++i) {
    if (i) out.push_back('\n');
    out += At(i);
  }
  return out;
}

}  // namespace editorview
