#include "rich_text.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace fw {

int TwipsFromFontHeight(int lfHeight, int pixelsPerInch) {
  if (pixelsPerInch <= 0) return 0;
  const long long h = std::llabs(static_cast<long long>(lfHeight));
  return static_cast<int>((h * 1440 + pixelsPerInch / 2) / pixelsPerInch);
}

int FontHeightFromTwips(int twips, int pixelsPerInch) {
  if (pixelsPerInch <= 0 || twips <= 0) return 0;
  return -static_cast<int>((static_cast<long long>(twips) * pixelsPerInch + 720) / 1440);
}

std::size_t StreamSource::Read(void* destination, std::size_t capacity) {
  if (!destination || AtEnd()) return 0;
  std::size_t n = std::min(capacity, bytes_.size() - offset_);
  if (n < bytes_.size() - offset_) n -= n % unit_;  // a whole number of units, but the last piece as it is
  if (n == 0) return 0;
  std::memcpy(destination, bytes_.data() + offset_, n);
  offset_ += n;
  return n;
}

std::size_t StreamSink::Append(const void* piece, std::size_t size) {
  if (!piece) return 0;
  const std::size_t room = limit_ - std::min(limit_, bytes_.size());
  const std::size_t n = std::min(size, room);
  if (n < size) truncated_ = true;
  bytes_.append(static_cast<const char*>(piece), n);
  return n;
}

}  // namespace fw
