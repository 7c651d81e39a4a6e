// The stand-in ADO objects registered under the ADO classes' CLSIDs in the
// test prefix (the 32-bit view of the machine's classes) while a test runs.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ime_install.h"
#include "test_files.h"

namespace adotest {

const wchar_t* const kClsids[] = {L"{00000514-0000-0010-8000-00AA006D2EA4}", L"{00000507-0000-0010-8000-00AA006D2EA4}",
                                  L"{00000535-0000-0010-8000-00AA006D2EA4}"};

// The stand-in ADO objects under the three CLSIDs while the test runs; what
// was registered is put back on every way out.
class StandinRegistration {
 public:
  explicit StandinRegistration(const std::wstring& dll) {
    for (const wchar_t* clsid : kClsids) {
      const std::wstring key = std::wstring(L"Software\\Classes\\CLSID\\") + clsid + L"\\InprocServer32";
      std::wstring previous = imeinst::GetString(HKEY_LOCAL_MACHINE, key, L"");
      if (previous.find(L"ado_standin") != std::wstring::npos || previous == L"(none)")
        previous = L"C:\\Program Files (x86)\\Common Files\\System\\ado\\msado15.dll";
      saved_.push_back({key, previous, imeinst::GetString(HKEY_LOCAL_MACHINE, key, L"ThreadingModel")});
      imeinst::SetString(HKEY_LOCAL_MACHINE, key, L"", dll);
      imeinst::SetString(HKEY_LOCAL_MACHINE, key, L"ThreadingModel", L"Both");
    }
  }
  ~StandinRegistration() {
    for (const Saved& s : saved_) {
      imeinst::SetString(HKEY_LOCAL_MACHINE, s.key, L"", s.server);
      if (s.threading != L"(none)") imeinst::SetString(HKEY_LOCAL_MACHINE, s.key, L"ThreadingModel", s.threading);
    }
  }

 private:
  struct Saved {
    std::wstring key, server, threading;
  };
  std::vector<Saved> saved_;
};

// The stand-in beside the test program.
inline std::wstring StandinBesideMe() { return wtest::BesideMe(L"ado_standin.dll"); }

}  // namespace adotest
