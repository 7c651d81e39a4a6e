// "CHARVANE.dll": the code detector's one export over the portable detection.
#include <type_traits>

#include "charvane_api.h"
#include "charvane_detect.h"

extern "C" __declspec(dllexport) unsigned int CHARVANE_API Charvane(const unsigned char* bytes, unsigned int mask,
                                                                     int length) {
  if (bytes == nullptr || length <= 0) return 0;
  return charvane::Detect(bytes, static_cast<size_t>(length), mask);
}

// The export has exactly the type the programs bind.
static_assert(std::is_same_v<decltype(&Charvane), CharvaneFn>);
