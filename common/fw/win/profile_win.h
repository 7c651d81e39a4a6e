// The profile in an INI file through the private-profile calls (UTF-16
// names and values). A bare file name lives in the Windows directory.
#pragma once
#include <windows.h>

#include <string>

#include "profile.h"

namespace fw {

class IniProfileStore final : public ProfileStore {
 public:
  explicit IniProfileStore(std::wstring file) : file_(std::move(file)) {}
  const std::wstring& file() const { return file_; }

  std::optional<std::u16string> Read(std::u16string_view section, std::u16string_view key) override;
  bool Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) override;
  bool Remove(std::u16string_view section, const std::u16string_view* key) override;

 private:
  std::wstring file_;
};

// The INI file of a program without a registry key: its module's name with
// ".INI" (ProfileFileName), kept in the Windows directory.
std::wstring ProgramProfileFile(HMODULE module);

}  // namespace fw
