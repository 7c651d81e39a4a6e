// Registry access of the input method: "Software\VALDRIMO\GeulmaruV6" plus a
// path below it, read from HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE and
// written to HKEY_CURRENT_USER; and the reading table resources.
#include <string>

#include "ime_state.h"

namespace ime {

namespace {

constexpr char kSuiteKey[] = "Software\\VALDRIMO\\GeulmaruV6";

std::string KeyPath(const std::string& path) { return path.empty() ? kSuiteKey : std::string(kSuiteKey) + "\\" + path; }

// Reads a value into a buffer of the given size, always terminated within it.
BOOL ReadRegistryValue(int root, const std::string& path, const char* value, char* buffer, DWORD size) {
  if (size == 0) return FALSE;
  buffer[0] = 0;
  HKEY key;
  if (RegOpenKeyExA(root == kRootLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, KeyPath(path).c_str(), 0,
                    KEY_READ, &key) != ERROR_SUCCESS)
    return FALSE;
  DWORD bytes = size - 1;
  DWORD type = 0;
  LONG r = RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS) {
    buffer[0] = 0;
    return FALSE;
  }
  buffer[bytes < size ? bytes : size - 1] = 0;
  return TRUE;
}

BOOL WriteRegistryString(const std::string& path, const char* value, const std::string& text) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return FALSE;
  LONG r = RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size()));
  RegCloseKey(key);
  return r == ERROR_SUCCESS;
}

class Win32Registry final : public RegistryReader, public RegistryWriter {
 public:
  bool Read(int root, const std::string& path, const std::string& value, std::string* out) override {
    char buffer[1024];
    if (!ReadRegistryValue(root, path, value.c_str(), buffer, sizeof buffer)) return false;
    *out = buffer;
    return true;
  }
  bool Write(const std::string& path, const std::string& value, const std::string& text) override {
    return WriteRegistryString(path, value.c_str(), text) != FALSE;
  }
};

Win32Registry& TheRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace

RegistryReader& Registry() { return TheRegistry(); }
RegistryWriter& RegistryWrite() { return TheRegistry(); }

bool LoadReadingTable(ImeModule& m, int inputMode) {
  HRSRC res = FindResourceA(m.instance, ReadingTableName(inputMode), "TEXT");
  if (!res) return false;
  HGLOBAL handle = LoadResource(m.instance, res);
  if (!handle) return false;
  m.readingResource = handle;
  const void* data = LockResource(handle);
  DWORD size = SizeofResource(m.instance, res);
  return data && m.readingTable.Load(static_cast<const uint8_t*>(data), size, inputMode);
}

bool SwitchReadingTable(ImeModule& m, int inputMode) {
  if (m.engine) m.engine->SetReadingTable(nullptr);
  if (m.readingResource) FreeResource(m.readingResource);
  m.readingResource = nullptr;
  if (!LoadReadingTable(m, inputMode)) return false;
  if (m.engine) m.engine->SetReadingTable(&m.readingTable);
  return true;
}

}  // namespace ime
