// Settings the engine reads; one record per process, filled at attach.
#pragma once
#include <string>

namespace ime {

constexpr unsigned kConvNative = 0x01;     // Hangul input
constexpr unsigned kConvFullShape = 0x08;  // full width

struct ImeSettings {
  int koreanCode = 1;               // 1 KS, 2 GM V3, 0 GM95
  unsigned interfaceCodePage = 949; // 949 Unicode interface, 0 ANSI
  int inputMode = 1;                // 0 roman, 1 KS 2-set, 2 KS 3-set
  int keyboardType = 0;             // 0 106-key, 1 PC-98, 2 101-key
  unsigned conversionMode = kConvNative;  // module-wide, not per context
  int mikakuBytes = 2;              // unconfirmed characters, kept doubled
  bool jisoTaniBack = true;         // Backspace takes back one jamo
  bool indirectMode = false;
  bool shiftHeld = false;           // sampled when the current key arrived
  bool kanjiHotKey = false;         // PC-98 close/open hot key is VK 0x19
  bool learning = true;             // determined conversions are learned

  bool Unicode() const { return interfaceCodePage == 949; }
  bool Hangul() const { return (conversionMode & kConvNative) != 0; }
  bool FullWidth() const { return (conversionMode & kConvFullShape) != 0; }
};

// Edition by the first letter of the input method's own file name: 'Z' is the
// KS edition, any other letter the GM edition.
inline int EditionKoreanCode(const std::string& fileName) {
  return !fileName.empty() && (fileName[0] == 'Z' || fileName[0] == 'z') ? 1 : 2;
}

}  // namespace ime
