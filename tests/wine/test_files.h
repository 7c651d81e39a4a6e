// Files of the Windows test programs: fixtures written with the bytes a
// test gives, files read back whole to compare byte for byte, and the
// files beside the test program.
#pragma once
#include <windows.h>

#include <string>

namespace wtest {

inline bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  const bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) && n == bytes.size();
  CloseHandle(f);
  return ok;
}

// "(unreadable)" when the file cannot be opened.
inline std::string ReadFileBytes(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "(unreadable)";
  std::string bytes(GetFileSize(f, nullptr), '\0');
  DWORD n = 0;
  ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(f);
  return bytes;
}

// A file beside the running test program (a stand-in library it registers).
inline std::wstring BesideMe(const wchar_t* name) {
  wchar_t self[MAX_PATH]{};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

}  // namespace wtest
