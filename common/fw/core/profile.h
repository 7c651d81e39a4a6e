// The program's profile: named values in sections, kept as text by a store
// (an INI file through the private-profile calls, or memory in tests), and
// the typed reading and writing rules over it, which stay portable.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace fw {

// Where the profile's text lives.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // The value's text; nothing when the key (or its section) is missing.
  virtual std::optional<std::u16string> Read(std::u16string_view section, std::u16string_view key) = 0;
  // Writes the value; false when it could not be written.
  virtual bool Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) = 0;
  // Removes a key, or with key null the whole section.
  virtual bool Remove(std::u16string_view section, const std::u16string_view* key) = 0;
};

// The profile's text in memory: a store of its own for tests, and what a
// store on disk reads as.
class MemoryProfileStore final : public ProfileStore {
 public:
  std::optional<std::u16string> Read(std::u16string_view section, std::u16string_view key) override;
  bool Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) override;
  bool Remove(std::u16string_view section, const std::u16string_view* key) override;
  bool failWrites = false;  // every write fails (a full disk, a read-only file)

 private:
  // Section and key names are compared without regard to ASCII case, as the
  // private-profile calls compare them.
  using Key = std::pair<std::u16string, std::u16string>;
  static Key MakeKey(std::u16string_view section, std::u16string_view key);
  struct KeyLess {
    bool operator()(const Key& a, const Key& b) const;
  };
  std::map<Key, std::u16string, KeyLess> entries_;
};

// A decimal value as the profile's integer reading takes it: blanks before
// it, an optional sign, the digits up to the first other character; no digit
// at all gives 0. (An empty or missing value takes the default before this.)
int ParseProfileInt(std::u16string_view text);

class Profile {
 public:
  explicit Profile(ProfileStore& store) : store_(store) {}

  // The value, or the default when the key is missing or its text is empty.
  int GetInt(std::u16string_view section, std::u16string_view key, int defaultValue);
  // The value's text, or the default when the key is missing.
  std::u16string GetString(std::u16string_view section, std::u16string_view key, std::u16string_view defaultValue);
  // "%d" of the value.
  bool WriteInt(std::u16string_view section, std::u16string_view key, int value);
  bool WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  bool RemoveSection(std::u16string_view section) { return store_.Remove(section, nullptr); }
  bool RemoveKey(std::u16string_view section, std::u16string_view key) { return store_.Remove(section, &key); }
  ProfileStore& store() { return store_; }

 private:
  ProfileStore& store_;
};

// The name of a program's INI file when it keeps no registry key: its name
// (the executable's file name without the extension) with ".INI"; the
// private-profile calls look for a bare name in the Windows directory.
std::u16string ProfileFileName(std::u16string_view modulePath);

}  // namespace fw
