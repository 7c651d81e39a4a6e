#include "ks_gm.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace codeconv {

bool IsSystemLeadByte(uint8_t b) {
#ifdef _WIN32
  return IsDBCSLeadByte(b) != FALSE;
#else
  return IsGmLeadByte(b);
#endif
}

}  // namespace codeconv
