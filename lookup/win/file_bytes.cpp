#include "file_bytes.h"

#include <windows.h>

namespace lookup {

bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& out) {
  constexpr LONGLONG kLargest = 16 << 20;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(f, &size) && size.QuadPart <= kLargest;
  if (ok) {
    out.assign(static_cast<std::size_t>(size.QuadPart), 0);
    DWORD got = 0;
    ok = out.empty() || (ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &got, nullptr) && got == out.size());
  }
  CloseHandle(f);
  return ok;
}

}  // namespace lookup
