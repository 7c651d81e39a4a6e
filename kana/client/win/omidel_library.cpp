#include "omidel_library.h"

#include <windows.h>

namespace kana {

bool OmidelLibrary::Available() {
  if (!tried_) {
    tried_ = true;
    if (HMODULE dll = LoadLibraryA("Omidel.dll")) {
      change_ = reinterpret_cast<KnChangeFn>(reinterpret_cast<void*>(GetProcAddress(dll, "KNChange")));
      if (change_ == nullptr) FreeLibrary(dll);
    }
  }
  return change_ != nullptr;
}

int OmidelLibrary::KnChange(int kanjiForm, const char** text, char* out, int inputIsKS, int keepFullWidth) {
  return Available() ? change_(kanjiForm, text, out, inputIsKS, keepFullWidth) : 0;
}

OmidelLibrary& Omidel() {
  static OmidelLibrary library;
  return library;
}

}  // namespace kana
