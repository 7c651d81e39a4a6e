// The one walk over double-byte text that every text conversion uses.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ks_gm.h"

namespace codeconv {

// Copies length bytes (overlap allowed) and replaces every pair that starts
// with a lead byte by convert(pair). A lead byte in the last position has no
// trail and is copied unchanged; nothing beyond length is read or written.
template <class IsLead, class Convert>
void ConvertPairs(uint8_t* destination, const uint8_t* source, size_t length, IsLead isLead, Convert convert) {
  if (length == 0) return;
  if (destination != source) std::memmove(destination, source, length);
  for (size_t i = 0; i + 1 < length; ++i) {
    if (!isLead(destination[i])) continue;
    const DbChar out = convert(MakeDb(destination[i], destination[i + 1]));
    destination[i] = Lead(out);
    destination[i + 1] = Trail(out);
    ++i;
  }
}

}  // namespace codeconv
