#include "profile_win.h"

#include <vector>

namespace fw {

namespace {

std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

// Stands for "missing": a value never holds it, since the calls take only
// printable text from a file.
constexpr wchar_t kMissing[] = L"\x01\x02missing";

}  // namespace

std::optional<std::u16string> IniProfileStore::Read(std::u16string_view section, std::u16string_view key) {
  const std::wstring s = Wide(section);
  const std::wstring k = Wide(key);
  std::vector<wchar_t> buffer(256);
  for (;;) {
    const DWORD n = GetPrivateProfileStringW(s.c_str(), k.c_str(), kMissing, buffer.data(),
                                             static_cast<DWORD>(buffer.size()), file_.c_str());
    // The call says the value was cut by returning the buffer's size - 1.
    if (n + 1 < buffer.size() || buffer.size() >= 65536) {
      std::wstring value(buffer.data(), n);
      if (value == kMissing) return std::nullopt;
      return std::u16string(value.begin(), value.end());
    }
    buffer.resize(buffer.size() * 4);
  }
}

bool IniProfileStore::Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
  return WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(), file_.c_str()) !=
         FALSE;
}

bool IniProfileStore::Remove(std::u16string_view section, const std::u16string_view* key) {
  const std::wstring s = Wide(section);
  if (!key) return WritePrivateProfileStringW(s.c_str(), nullptr, nullptr, file_.c_str()) != FALSE;
  return WritePrivateProfileStringW(s.c_str(), Wide(*key).c_str(), nullptr, file_.c_str()) != FALSE;
}

std::wstring ProgramProfileFile(HMODULE module) {
  wchar_t path[MAX_PATH * 2] = {};
  const DWORD n = GetModuleFileNameW(module, path, MAX_PATH * 2);
  if (n == 0 || n >= MAX_PATH * 2) return L"";
  const std::u16string name = ProfileFileName(std::u16string(path, path + n));
  return std::wstring(name.begin(), name.end());
}

}  // namespace fw
