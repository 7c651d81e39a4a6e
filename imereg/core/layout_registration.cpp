#include "layout_registration.h"

#include <cstdio>

#include "ime_layouts.h"
#include "shared_settings.h"

namespace imereg {

namespace {

using settings::EnumStatus;
using settings::RegAccess;
using settings::RegKey;
using settings::RegRoot;
using settings::SettingsPlatform;

constexpr EditionInfo kGm = {"WARBENV6.IME", "0411", "GeulmaruV6(GM)", "kbdjpn.dll"};
constexpr EditionInfo kKs = {"ZORBENV6.IME", "0412", "GeulmaruV6(KS)", "kbdkor.dll"};
constexpr char kWin9xLayoutFile[] = "kbdjp.kbd";
constexpr char kNt4JapaneseDriver[] = "kbdjpn.dll";

// Value texts are read into this many bytes; longer ones count as missing.
constexpr int kValueBufferSize = 260;
// "E" and the number: the part of a layout key's name that must be unique.
constexpr size_t kNumberPrefix = 4;

std::string LayoutPath(std::string_view name) { return std::string(kLayoutsKey) + "\\" + std::string(name); }

// The text of a string value; nullopt when it is missing or too long.
std::optional<std::string> ReadText(SettingsPlatform& registry, const RegKey& key, const char* name) {
  char text[kValueBufferSize] = {};
  if (!settings::ReadStringValue(registry, key.Handle(), name, text, sizeof text)) return std::nullopt;
  return std::string(text);
}

// The names of the subkeys of the layouts key; nullopt on a failure other
// than the end of the list.
std::optional<std::vector<std::string>> ListLayouts(SettingsPlatform& registry, const RegKey& layouts) {
  std::vector<std::string> names;
  for (uint32_t i = 0;; ++i) {
    std::string name;
    const EnumStatus status = registry.EnumKey(layouts.Handle(), i, name);
    if (status == EnumStatus::End) return names;
    if (status == EnumStatus::Error) return std::nullopt;
    names.push_back(std::move(name));
  }
}

// The "IME file" of an input-method layout; nullopt when the key cannot be
// opened, an empty text when the value is missing or too long.
std::optional<std::string> ImeFileOf(SettingsPlatform& registry, std::string_view name) {
  const RegKey key = settings::OpenRegKey(registry, RegRoot::LocalMachine, LayoutPath(name), RegAccess::Read);
  if (!key.IsOpen()) return std::nullopt;
  return ReadText(registry, key, kImeFileValue).value_or(std::string());
}

// Writes the three values of a new layout key.
bool WriteLayoutValues(SettingsPlatform& registry, const RegKey& key, const EditionInfo& info,
                       const std::string& layoutFile) {
  return settings::WriteStringValue(registry, key.Handle(), kImeFileValue, info.imeFile, true) &&
         settings::WriteStringValue(registry, key.Handle(), kLayoutFileValue, layoutFile.c_str(), true) &&
         settings::WriteStringValue(registry, key.Handle(), kLayoutTextValue, info.layoutText, true);
}

// The KS edition's layout gets the Japanese keyboard driver as its layout
// file, written only when it differs.
int UpdateLayoutFile(SettingsPlatform& registry, const std::string& name, const WindowsVersion& version) {
  const std::optional<std::string> driver = JapaneseKeyboardDriver(registry, version);
  if (!driver) return 1;
  const RegKey key = settings::OpenRegKey(registry, RegRoot::LocalMachine, LayoutPath(name), RegAccess::All);
  if (!key.IsOpen()) return 0;
  if (ReadText(registry, key, kLayoutFileValue) == driver) return 1;
  return settings::WriteStringValue(registry, key.Handle(), kLayoutFileValue, driver->c_str(), true) ? 1 : 0;
}

void Install(ImeManager& imm, const EditionInfo& info) {
  imm.InstallIme(imm.SystemDirectory() + "\\" + info.imeFile, info.layoutText);
}

}  // namespace

const EditionInfo& InfoOf(Edition edition) { return edition == Edition::Gm ? kGm : kKs; }

bool IsImeLayoutName(std::string_view name) { return !name.empty() && (name[0] == 'E' || name[0] == 'e'); }

std::string NewLayoutName(int count, std::span<const std::string> existing, std::string_view locale) {
  for (int number = count + 1; number <= kLastLayoutNumber; ++number) {
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "E%03x", static_cast<unsigned>(number));
    bool used = false;
    for (const std::string& name : existing) {
      if (codeconv::EqualIgnoringCase(name, prefix, kNumberPrefix)) {
        used = true;
        break;
      }
    }
    if (!used) return std::string(prefix) + std::string(locale);
  }
  return std::string();
}

std::string InitialLayoutFile(Edition edition, const WindowsVersion& version) {
  return version.win9x ? kWin9xLayoutFile : InfoOf(edition).ntLayoutFile;
}

std::optional<std::string> JapaneseKeyboardDriver(SettingsPlatform& registry, const WindowsVersion& version) {
  if (version.win9x) return kWin9xLayoutFile;
  if (version.major < 5) return kNt4JapaneseDriver;
  // A system without the key (Wine has none) is one without the value.
  const RegKey key = settings::OpenRegKey(registry, RegRoot::LocalMachine, kKeyboardDriverKey, RegAccess::Read);
  if (!key.IsOpen()) return std::nullopt;
  std::optional<std::string> driver = ReadText(registry, key, kKeyboardDriverValue);
  if (driver && driver->empty()) return std::nullopt;
  return driver;
}

int RegisterEdition(SettingsPlatform& registry, ImeManager& imm, Edition edition, const WindowsVersion& version) {
  const EditionInfo& info = InfoOf(edition);
  RegKey layouts = settings::OpenRegKey(registry, RegRoot::LocalMachine, kLayoutsKey, RegAccess::Read);
  if (!layouts.IsOpen()) return 0;

  const std::optional<std::vector<std::string>> names = ListLayouts(registry, layouts);
  if (!names) return 0;

  // Whether a layout names the edition's file already. "IME file" is read
  // by name: other values of a foreign layout play no part.
  int imeLayouts = 0;
  std::string registered;
  for (const std::string& name : *names) {
    if (!IsImeLayoutName(name)) continue;
    ++imeLayouts;
    const std::optional<std::string> file = ImeFileOf(registry, name);
    if (!file) return 0;
    if (codeconv::EqualIgnoringCase(*file, info.imeFile)) {
      registered = name;
      break;
    }
  }

  if (registered.empty()) {
    registered = NewLayoutName(imeLayouts, *names, info.locale);
    if (registered.empty()) return 0;
    const std::string path = LayoutPath(registered);
    RegKey key = settings::CreateRegKey(registry, RegRoot::LocalMachine, path, RegAccess::All);
    if (!key.IsOpen()) return 0;
    if (!WriteLayoutValues(registry, key, info, InitialLayoutFile(edition, version))) {
      // A half-written key would pass for a registered layout next time.
      key.Close();
      registry.DeleteKey(RegRoot::LocalMachine, path);
      return 0;
    }
  }
  layouts.Close();
  Install(imm, info);
  return edition == Edition::Ks ? UpdateLayoutFile(registry, registered, version) : 1;
}

std::optional<std::vector<std::string>> LayoutsOfImeFile(SettingsPlatform& registry, std::string_view fileName) {
  const RegKey layouts = settings::OpenRegKey(registry, RegRoot::LocalMachine, kLayoutsKey, RegAccess::Read);
  if (!layouts.IsOpen()) return std::nullopt;
  const std::optional<std::vector<std::string>> names = ListLayouts(registry, layouts);
  if (!names) return std::nullopt;
  std::vector<std::string> found;
  for (const std::string& name : *names) {
    if (!IsImeLayoutName(name)) continue;
    const std::optional<std::string> file = ImeFileOf(registry, name);
    if (file && !file->empty() && codeconv::EqualIgnoringCase(codeconv::FileNamePart(*file), fileName)) {
      found.push_back(name);
    }
  }
  return found;
}

std::optional<std::vector<std::string>> RemoveLayoutsOfImeFile(SettingsPlatform& registry,
                                                               std::string_view fileName) {
  std::optional<std::vector<std::string>> found = LayoutsOfImeFile(registry, fileName);
  if (!found) return std::nullopt;
  for (const std::string& name : *found) {
    if (!registry.DeleteKey(RegRoot::LocalMachine, LayoutPath(name))) return std::nullopt;
  }
  return found;
}

}  // namespace imereg
