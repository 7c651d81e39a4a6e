// The stand-in browser control registered under the web browser's CLSID in
// the test prefix (the 32-bit view of the machine's classes) while a test
// runs; a stand-in left there by an interrupted run is not taken for the
// system's.
#pragma once
#include <windows.h>

#include <string>

#include "ime_install.h"
#include "test_files.h"

namespace browsertest {

constexpr wchar_t kBrowserClsidKey[] = L"Software\\Classes\\CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}";

class StandinRegistration {
 public:
  explicit StandinRegistration(const std::wstring& dll) : key_(std::wstring(kBrowserClsidKey) + L"\\InprocServer32") {
    previous_ = imeinst::GetString(HKEY_LOCAL_MACHINE, key_, L"");
    if (previous_.find(L"browser_standin") != std::wstring::npos) previous_ = kSystemServer;
    imeinst::SetString(HKEY_LOCAL_MACHINE, key_, L"", dll);
    imeinst::SetString(HKEY_LOCAL_MACHINE, key_, L"ThreadingModel", L"Apartment");
  }
  ~StandinRegistration() {
    imeinst::SetString(HKEY_LOCAL_MACHINE, key_, L"", previous_ != L"(none)" ? previous_ : std::wstring(kSystemServer));
  }

 private:
  static constexpr wchar_t kSystemServer[] = L"C:\\windows\\system32\\ieframe.dll";
  std::wstring key_;
  std::wstring previous_;
};

// The stand-in beside the test program.
inline std::wstring StandinBesideMe() { return wtest::BesideMe(L"browser_standin.dll"); }

}  // namespace browsertest
