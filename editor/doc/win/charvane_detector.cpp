#include "charvane_detector.h"

#include <algorithm>
#include <climits>
#include <type_traits>

#include "charvane_api.h"

extern "C" __declspec(dllimport) unsigned int CHARVANE_API Charvane(const unsigned char* bytes, unsigned int mask,
                                                                     int length);
static_assert(std::is_same_v<decltype(&Charvane), CharvaneFn>);

namespace brisel {

unsigned CharvaneDetector::Detect(std::string_view bytes, unsigned mask) {
  if (bytes.empty()) return 0;
  const int length = static_cast<int>(std::min<size_t>(bytes.size(), INT_MAX));
  return Charvane(reinterpret_cast<const unsigned char*>(bytes.data()), mask, length);
}

}  // namespace brisel
