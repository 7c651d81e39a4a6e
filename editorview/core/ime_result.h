// Reading the input method's result string the safe way: the length is
// asked first, a string at or above the limit (512 units for the wide call,
// 512 bytes for the ANSI one) is refused before anything is read, the
// string is read into a buffer of exactly its length, and only what the call
// says it wrote is kept, ended here (the call does not end it with a NUL).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "view_engine.h"

namespace editorview {

// get(buffer, bytes) is ImmGetCompositionString{W,A}(context, GCS_RESULTSTR,
// buffer, bytes): with a null buffer the length in bytes, else the bytes
// written; negative on failure. Unit is char16_t for the wide call, char for
// the ANSI one. A NUL inside the string ends it.
template <class Unit, class Get>
std::optional<std::basic_string<Unit>> ReadImeResultString(const ImeResultRead& mode, Get&& get) {
  const long bytes = static_cast<long>(get(nullptr, 0));
  if (bytes <= 0) return std::nullopt;
  const long units = bytes / static_cast<long>(sizeof(Unit));
  if (!mode.Accepts(units)) return std::nullopt;
  std::basic_string<Unit> text(static_cast<size_t>(units), Unit{});
  const long room = units * static_cast<long>(sizeof(Unit));
  long got = static_cast<long>(get(text.data(), static_cast<unsigned long>(room)));
  if (got <= 0) return std::nullopt;
  if (got > room) got = room;
  text.resize(static_cast<size_t>(got) / sizeof(Unit));
  const size_t nul = text.find(Unit{});
  if (nul != std::basic_string<Unit>::npos) text.resize(nul);
  if (text.empty()) return std::nullopt;
  return text;
}

}  // namespace editorview
