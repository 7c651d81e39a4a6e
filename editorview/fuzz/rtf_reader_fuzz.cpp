// Fuzz target of the rich-text reader: any bytes, in a buffer of exactly
// their size. The reader must not read outside them, must not crash on any
// nesting, and must leave its lists empty whenever it fails.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "rtf_clip.h"

namespace {
void Require(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<char[]> exact(new char[size ? size : 1]);
  std::memcpy(exact.get(), data, size);
  editorview::RtfReader reader;
  const int result = reader.Parse(std::string_view(exact.get(), size));
  Require(result == 0 || result == 1);
  if (result == 0) Require(reader.Runs().empty() && reader.Fonts().empty());
  size_t text = 0;
  for (const auto& run : reader.Runs()) {
    Require(!run.text.empty());
    text += run.text.size();
  }
  // No run text is longer than what it came from (an escape or a word shrinks).
  Require(text <= size);
  // A second parse gives the same lists.
  editorview::RtfReader again;
  Require(again.Parse(std::string_view(exact.get(), size)) == result);
  Require(again.Runs().size() == reader.Runs().size() && again.Fonts().size() == reader.Fonts().size());
  return 0;
}
