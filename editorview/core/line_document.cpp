#include "line_document.h"

#include <algorithm>
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

void MemoryDocument::LoadText(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  auto finish = [&] {
    lines.push_back(std::move(line));
    line.clear();
  };
  size_t pos = 0;
  while (pos < text.size() && lines.size() < static_cast<size_t>(lineLimit_)) {
    const void* lf = std::memchr(text.data() + pos, '\n', text.size() - pos);
    const size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - text.data()) : text.size();
    const std::string_view piece = text.substr(pos, end - pos);
    const bool clean = std::none_of(piece.begin(), piece.end(),
                                    [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
    if (clean && piece.size() < kMaxLineBytes) {
      line.assign(piece.data(), piece.size());
    } else {
      for (size_t i = 0; i < piece.size();) {
        const char c = piece[i];
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
          ++i;
          continue;
        }
        // A character that starts here goes whole onto this line or the next.
        size_t k = 1;
        while (i + k < piece.size() && k < 6 && (static_cast<unsigned char>(piece[i + k]) & 0xC0) == 0x80) ++k;
        if (line.size() + k > kMaxLineBytes) finish();
        line.append(piece.substr(i, k));
        i += k;
      }
    }
    finish();
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
