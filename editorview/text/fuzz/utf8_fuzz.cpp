// Fuzz target of the UTF-8 routines: any bytes, decoded by count (from a
// buffer of exactly that size, so that a read past the count is caught) and
// up to the NUL; the decoded units re-encoded and decoded again; the text
// walked forward and back by characters. Any broken agreement traps.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "utf8_text.h"

using namespace editorview;

namespace {
void Require(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int count = static_cast<int>(size);

  // By count: exactly size bytes, nothing readable after them.
  std::unique_ptr<char[]> exact(new char[size ? size : 1]);
  std::memcpy(exact.get(), data, size);
  std::vector<char16_t> units(size + 1, u'\xFFFF');
  const int n = Utf8ToUtf16(exact.get(), units.data(), count);
  Require(n >= 0 && static_cast<size_t>(n) <= size);
  const bool nulReached = std::memchr(data, 0, size) != nullptr;
  Require(Utf16LengthOfUtf8(exact.get(), count) == n + (nulReached ? 1 : 0));
  Require(nulReached ? units[n] == 0 : units[n] == u'\xFFFF');

  // Up to the NUL: the same units as by count up to the first NUL byte.
  std::unique_ptr<char[]> terminated(new char[size + 1]);
  std::memcpy(terminated.get(), data, size);
  terminated[size] = 0;
  const size_t textLength = std::strlen(terminated.get());
  std::vector<char16_t> units2(size + 1);
  const int n2 = Utf8ToUtf16(terminated.get(), units2.data(), -1);
  Require(n2 == Utf8ToUtf16(terminated.get(), units.data(), static_cast<int>(textLength)));
  Require(std::memcmp(units.data(), units2.data(), static_cast<size_t>(n2) * sizeof(char16_t)) == 0);
  Require(units2[n2] == 0);

  // Re-encoding the units up to the first NUL unit, and decoding that again,
  // gives the same units; every re-encoded unit takes 1 to 3 bytes.
  int clean = 0;
  while (clean < n2 && units2[clean] != 0) ++clean;
  const int need = Utf8LengthOfUtf16(units2.data(), clean);
  Require(need >= clean && need <= 3 * clean);
  std::unique_ptr<char[]> encoded(new char[static_cast<size_t>(need) + 1]);
  Require(Utf16ToUtf8(units2.data(), encoded.get(), clean) == need);
  std::vector<char16_t> again(static_cast<size_t>(clean) + 1);
  Require(Utf8ToUtf16(encoded.get(), again.data(), need) == clean);
  Require(std::memcmp(again.data(), units2.data(), static_cast<size_t>(clean) * sizeof(char16_t)) == 0);
  Require(Utf8LengthOfUtf16(units2.data(), -1) == Utf8LengthOfUtf16(units2.data(), clean) + 1);

  // Stepping: every character decodes to one unit, and Utf8PrevChar finds
  // the start of each character from its end.
  const char* start = terminated.get();
  const char* end = start + textLength;
  int characters = 0;
  for (const char* p = start; p < end;) {
    const int length = Utf8CharLength(p);
    Require(length >= 1 && length <= 6 && p + length <= end);
    Require(Utf8PrevChar(start, p + length) == p);
    p += length;
    ++characters;
  }
  Require(characters == n2);
  Require(Utf8PrevChar(start, start) == start);
  return 0;
}
