// What the shared settings routines need from the system: the registry
// (open, create, enumerate, query, set, delete, close), the Windows
// directory, profile (INI) strings and the warning box. The Win32 implementation forwards each call
// to the API of the same shape; tests use an in-memory fake.
#pragma once
#include <cstdint>
#include <string>
#include <utility>

namespace settings {

enum class RegRoot { CurrentUser, LocalMachine };
enum class RegAccess { Read, Write, All };
enum class QueryStatus { Ok, Missing, MoreData };
enum class EnumStatus { Ok, End, Error };

inline constexpr uint32_t kRegSz = 1;  // REG_SZ

class SettingsPlatform {
 public:
  using KeyHandle = uintptr_t;
  virtual ~SettingsPlatform() = default;

  // RegOpenKeyExA / RegCreateKeyExA on the path below the root.
  virtual bool OpenKey(RegRoot root, const std::string& path, RegAccess access, KeyHandle& out) = 0;
  virtual bool CreateKey(RegRoot root, const std::string& path, RegAccess access, KeyHandle& out) = 0;
  virtual void CloseKey(KeyHandle key) = 0;
  // RegEnumKeyExA: the name of the subkey at index (up to 260 characters);
  // End past the last one, Error on any other failure.
  virtual EnumStatus EnumKey(KeyHandle key, uint32_t index, std::string& name) = 0;
  // RegDeleteKeyA: a key without subkeys.
  virtual bool DeleteKey(RegRoot root, const std::string& path) = 0;
  // RegQueryValueExA: size holds the buffer's size and receives the bytes
  // stored (Ok) or needed (MoreData); on MoreData the buffer's content is
  // undefined.
  virtual QueryStatus QueryValue(KeyHandle key, const char* name, uint32_t& type, uint8_t* data, uint32_t& size) = 0;
  // RegSetValueExA.
  virtual bool SetValue(KeyHandle key, const char* name, uint32_t type, const uint8_t* data, uint32_t size) = 0;

  // GetWindowsDirectoryA.
  virtual std::string WindowsDirectory() = 0;
  // GetPrivateProfileStringA: the value (or fallback) cut to size - 1 bytes
  // and NUL-terminated; returns the bytes copied.
  virtual uint32_t ProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                                 uint32_t size, const char* file) = 0;

  // A warning message box (MB_ICONWARNING); text and caption in the ANSI
  // code page.
  virtual void ShowWarning(const char* caption, const char* text) = 0;
};

// An open key that closes itself.
class RegKey {
 public:
  RegKey() = default;
  RegKey(SettingsPlatform& platform, SettingsPlatform::KeyHandle handle) : platform_(&platform), handle_(handle) {}
  RegKey(RegKey&& other) noexcept
      : platform_(std::exchange(other.platform_, nullptr)), handle_(std::exchange(other.handle_, 0)) {}
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) {
      Close();
      platform_ = std::exchange(other.platform_, nullptr);
      handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey() { Close(); }

  bool IsOpen() const { return platform_ != nullptr; }
  SettingsPlatform::KeyHandle Handle() const { return handle_; }
  // Hands the handle over without closing it.
  SettingsPlatform::KeyHandle Release() {
    platform_ = nullptr;
    return std::exchange(handle_, 0);
  }
  void Close() {
    if (platform_ != nullptr) platform_->CloseKey(handle_);
    platform_ = nullptr;
    handle_ = 0;
  }

 private:
  SettingsPlatform* platform_ = nullptr;
  SettingsPlatform::KeyHandle handle_ = 0;
};

// The key opened (or created) as a RegKey; not open on failure.
inline RegKey OpenRegKey(SettingsPlatform& platform, RegRoot root, const std::string& path, RegAccess access) {
  SettingsPlatform::KeyHandle handle = 0;
  if (!platform.OpenKey(root, path, access, handle)) return {};
  return RegKey(platform, handle);
}
inline RegKey CreateRegKey(SettingsPlatform& platform, RegRoot root, const std::string& path, RegAccess access) {
  SettingsPlatform::KeyHandle handle = 0;
  if (!platform.CreateKey(root, path, access, handle)) return {};
  return RegKey(platform, handle);
}

}  // namespace settings
