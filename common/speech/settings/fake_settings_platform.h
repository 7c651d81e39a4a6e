// An in-memory registry and profile store for native tests. Key paths, value
// names, file names, sections and profile keys are compared without regard
// to case, as Windows does; a key keeps the spelling it was created with.
// Subkeys are enumerated in the order of their names without regard to case.
// Reads, writes and enumeration can be refused per key, and value writes
// after a number of successes, to reach the failure paths.
#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "settings_platform.h"

namespace settings {

class FakeSettingsPlatform final : public SettingsPlatform {
 public:
  struct Value {
    uint32_t type = kRegSz;
    std::string data;  // the bytes as stored
  };

  // ---- SettingsPlatform ----
  bool OpenKey(RegRoot root, const std::string& path, RegAccess access, KeyHandle& out) override;
  bool CreateKey(RegRoot root, const std::string& path, RegAccess access, KeyHandle& out) override;
  void CloseKey(KeyHandle key) override;
  EnumStatus EnumKey(KeyHandle key, uint32_t index, std::string& name) override;
  bool DeleteKey(RegRoot root, const std::string& path) override;
  QueryStatus QueryValue(KeyHandle key, const char* name, uint32_t& type, uint8_t* data, uint32_t& size) override;
  bool SetValue(KeyHandle key, const char* name, uint32_t type, const uint8_t* data, uint32_t size) override;
  std::string WindowsDirectory() override { return windowsDirectory; }
  uint32_t ProfileString(const char* section, const char* key, const char* fallback, char* buffer, uint32_t size,
                         const char* file) override;
  void ShowWarning(const char* caption, const char* text) override { warnings.emplace_back(caption, text); }

  // ---- set-up and inspection ----
  // Stores a value (creating its key); bytes are stored as given, so a NUL
  // belongs in data only when the value is to carry one.
  void Put(RegRoot root, const std::string& path, const std::string& name, const std::string& data,
           uint32_t type = kRegSz);
  std::optional<Value> Get(RegRoot root, const std::string& path, const std::string& name) const;
  bool KeyExists(RegRoot root, const std::string& path) const;
  // The subkeys' names as spelt when created, in enumeration order.
  std::vector<std::string> Subkeys(RegRoot root, const std::string& path) const;
  // The key can no longer be opened at all.
  void DenyReads(RegRoot root, const std::string& path);
  // Enumerating the key's subkeys fails.
  void FailEnum(RegRoot root, const std::string& path);
  // The key can no longer be opened for writing nor created.
  void DenyWrites(RegRoot root, const std::string& path);
  // Value writes succeed this many more times, then fail.
  void FailWritesAfter(int successes) { writesLeft_ = successes; }
  int OpenHandles() const { return static_cast<int>(handles_.size()); }
  int ValueWrites() const { return valueWrites_; }

  void PutProfile(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value);

  std::string windowsDirectory = "C:\\WINDOWS";
  std::vector<std::pair<std::string, std::string>> warnings;  // caption, text

 private:
  struct Key {
    std::string name;                     // the last path component as first spelt
    std::map<std::string, Value> values;  // by lower-case name
    std::set<std::string> children;       // lower-case names of the subkeys
  };
  struct Handle {
    std::string key;
    bool writable;
    // Where the last enumeration stopped, so that enumerating by rising
    // index walks the subkeys once; valid while layoutGeneration_ holds.
    uint32_t cursorIndex = 0;
    uint64_t cursorGeneration = 0;
    std::set<std::string>::const_iterator cursor;
  };

  static std::string KeyId(RegRoot root, const std::string& path);
  std::string Ensure(RegRoot root, const std::string& path);
  Key* Find(KeyHandle handle, bool forWriting);

  std::map<std::string, Key> keys_;  // by KeyId
  std::set<std::string> denied_;
  std::set<std::string> unreadable_;
  std::set<std::string> enumFails_;
  std::map<KeyHandle, Handle> handles_;
  KeyHandle nextHandle_ = 0x100;
  uint64_t layoutGeneration_ = 1;  // raised whenever a key is added or removed
  int writesLeft_ = -1;  // -1: no limit
  int valueWrites_ = 0;
  std::map<std::string, std::map<std::string, std::map<std::string, std::string>>> profiles_;
};

}  // namespace settings
