#include "shared_settings_win32.h"

#include <cstddef>
#include <cstring>

namespace settings {

namespace {

static_assert(sizeof(LOGFONTA) == sizeof(FontRecord));
static_assert(offsetof(LOGFONTA, lfWeight) == offsetof(FontRecord, lfWeight));
static_assert(offsetof(LOGFONTA, lfCharSet) == offsetof(FontRecord, lfCharSet));
static_assert(offsetof(LOGFONTA, lfPitchAndFamily) == offsetof(FontRecord, lfPitchAndFamily));
static_assert(offsetof(LOGFONTA, lfFaceName) == offsetof(FontRecord, lfFaceName));

HKEY RootKey(RegRoot root) { return root == RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

REGSAM Sam(RegAccess access) {
  switch (access) {
    case RegAccess::Read: return KEY_READ;
    case RegAccess::Write: return KEY_WRITE;
    case RegAccess::All: break;
  }
  return KEY_ALL_ACCESS;
}

HKEY AsHkey(SettingsPlatform::KeyHandle key) { return reinterpret_cast<HKEY>(key); }

class Win32SettingsPlatform final : public SettingsPlatform {
 public:
  bool OpenKey(RegRoot root, const std::string& path, RegAccess access, KeyHandle& out) override {
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootKey(root), path.c_str(), 0, Sam(access), &key) != ERROR_SUCCESS) return false;
    out = reinterpret_cast<KeyHandle>(key);
    return true;
  }
  bool CreateKey(RegRoot root, const std::string& path, RegAccess access, KeyHandle& out) override {
    HKEY key = nullptr;
    if (RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, Sam(access), nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    out = reinterpret_cast<KeyHandle>(key);
    return true;
  }
  void CloseKey(KeyHandle key) override { RegCloseKey(AsHkey(key)); }
  EnumStatus EnumKey(KeyHandle key, uint32_t index, std::string& name) override {
    char buffer[261] = {};
    DWORD length = sizeof buffer;
    const LONG r = RegEnumKeyExA(AsHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_NO_MORE_ITEMS) return EnumStatus::End;
    if (r != ERROR_SUCCESS) return EnumStatus::Error;
    name.assign(buffer, length);
    return EnumStatus::Ok;
  }
  bool DeleteKey(RegRoot root, const std::string& path) override {
    return RegDeleteKeyA(RootKey(root), path.c_str()) == ERROR_SUCCESS;
  }
  QueryStatus QueryValue(KeyHandle key, const char* name, uint32_t& type, uint8_t* data, uint32_t& size) override {
    DWORD t = 0;
    DWORD n = size;
    const LONG r = RegQueryValueExA(AsHkey(key), name, nullptr, &t, data, &n);
    type = t;
    size = n;
    if (r == ERROR_SUCCESS) return QueryStatus::Ok;
    return r == ERROR_MORE_DATA ? QueryStatus::MoreData : QueryStatus::Missing;
  }
  bool SetValue(KeyHandle key, const char* name, uint32_t type, const uint8_t* data, uint32_t size) override {
    return RegSetValueExA(AsHkey(key), name, 0, type, data, size) == ERROR_SUCCESS;
  }
  std::string WindowsDirectory() override {
    char path[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
  }
  uint32_t ProfileString(const char* section, const char* key, const char* fallback, char* buffer, uint32_t size,
                         const char* file) override {
    return GetPrivateProfileStringA(section, key, fallback, buffer, size, file);
  }
  void ShowWarning(const char* caption, const char* text) override {
    MessageBoxA(GetActiveWindow(), text, caption, MB_OK | MB_ICONWARNING);
  }
};

}  // namespace

SettingsPlatform& SystemSettings() {
  static Win32SettingsPlatform platform;
  return platform;
}

void LoadFontSettings(LOGFONTA* out, int index) {
  FontRecord record;
  std::memset(&record, 0, sizeof record);
  const bool valid = index >= 0 && index < kFontCount;
  LoadFontSettings(SystemSettings(), valid ? &record : nullptr, index);
  if (out != nullptr && valid) std::memcpy(out, &record, sizeof record);
}

int ReadRegString(int root, const char* subkey, const char* name, char* buffer, int size) {
  return ReadRegString(SystemSettings(), root, subkey, name, buffer, size);
}

int ReadRegValue(int root, const char* subkey, const char* name, char* buffer, int size) {
  return ReadRegValue(SystemSettings(), root, subkey, name, buffer, size);
}

int WriteRegString(const char* subkey, const char* name, const char* text) {
  return WriteRegString(SystemSettings(), subkey, name, text);
}

int OpenOrCreateRegKey(const char* path, HKEY* out, const char* caption) {
  RegKey key;
  const int result = OpenOrCreateRegKey(SystemSettings(), path, key, caption);
  const HKEY handle = AsHkey(key.Release());
  if (out != nullptr) {
    *out = handle;
  } else if (handle != nullptr) {
    RegCloseKey(handle);
  }
  return result;
}

std::string ReadMachineRegValue(const char* path, const char* name) {
  return ReadMachineRegValue(SystemSettings(), path, name);
}

void LoadVoiceSettings(int* speaker, int* volume, int* rate, int* pitch, int* repeat) {
  LoadVoiceSettings(SystemSettings(), speaker, volume, rate, pitch, repeat);
}

int SaveVoiceSettings(int speaker, int volume, int rate, int pitch, int repeat) {
  return SaveVoiceSettings(SystemSettings(), speaker, volume, rate, pitch, repeat);
}

namespace player {
void LoadVoiceSettings(int* speaker, int* volume, int* rate, int* pitch, int* repeat) {
  player::LoadVoiceSettings(SystemSettings(), speaker, volume, rate, pitch, repeat);
}
}  // namespace player

namespace dictionary {
void LoadVoiceSettings(const char* caption, int* speaker, int* volume, int* rate, int* pitch) {
  dictionary::LoadVoiceSettings(SystemSettings(), caption, speaker, volume, rate, pitch);
}
}  // namespace dictionary

namespace workbench {
void LoadVoiceSettings(const char* caption, int* speaker, int* volume, int* rate, int* pitch) {
  workbench::LoadVoiceSettings(SystemSettings(), caption, speaker, volume, rate, pitch);
}
}  // namespace workbench

void ApplyFramePlacement(HWND window, const FrameRecord& record) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  wp.flags = static_cast<UINT>(record.flags);
  wp.showCmd = static_cast<UINT>(record.showCmd);
  wp.rcNormalPosition = {record.x1, record.y1, record.x2, record.y2};
  SetWindowPlacement(window, &wp);
}

bool TakeFramePlacement(HWND window, FrameRecord& record) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(window, &wp)) return false;
  record.flags = static_cast<int>(wp.flags);
  record.showCmd = static_cast<int>(wp.showCmd);
  record.x1 = wp.rcNormalPosition.left;
  record.y1 = wp.rcNormalPosition.top;
  record.x2 = wp.rcNormalPosition.right;
  record.y2 = wp.rcNormalPosition.bottom;
  return true;
}

}  // namespace settings
