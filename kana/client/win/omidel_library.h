// "Omidel.dll" bound by name: the export KNChange (stdcall) looked up once,
// the library kept loaded for the process. A program without the library
// gets no readings and goes on.
#pragma once
#include "kana_client.h"

namespace kana {

class OmidelLibrary final : public ReadingLibrary {
 public:
  bool Available() override;
  int KnChange(int kanjiForm, const char** text, char* out, int inputIsKS, int keepFullWidth) override;

 private:
  using KnChangeFn = int(__stdcall*)(int kanjiForm, const char** text, char* out, int inputIsKS, int keepFullWidth);
  bool tried_ = false;
  KnChangeFn change_ = nullptr;
};

// The process's binding.
OmidelLibrary& Omidel();

}  // namespace kana
