// Registration of the input method's two editions as keyboard layouts:
// the GM-code edition ("WARBENV6.IME") for the Japanese locale, the KS
// edition ("ZORBENV6.IME") for the Korean locale. The registry goes through
// the shared settings interface and the input method manager through
// ImeManager, so that the whole procedure runs in native tests; the DLL
// supplies the system's registry, GetSystemDirectoryA and ImmInstallIMEA.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings_platform.h"

namespace imereg {

// Under HKEY_LOCAL_MACHINE.
inline constexpr char kLayoutsKey[] = "System\\CurrentControlSet\\control\\keyboard layouts";
inline constexpr char kKeyboardDriverKey[] = "System\\CurrentControlSet\\Services\\i8042prt\\Parameters";
inline constexpr char kKeyboardDriverValue[] = "LayerDriver JPN";
inline constexpr char kImeFileValue[] = "IME file";
inline constexpr char kLayoutFileValue[] = "layout file";
inline constexpr char kLayoutTextValue[] = "layout text";

// The highest number of a new layout key ("E" and three hexadecimal digits).
inline constexpr int kLastLayoutNumber = 0xFFE;

enum class Edition {
  Gm,  // SetIME
  Ks,  // SetIME2
};

struct EditionInfo {
  const char* imeFile;       // "IME file"
  const char* locale;        // the last four characters of a new key's name
  const char* layoutText;    // "layout text"
  const char* ntLayoutFile;  // "layout file" written on Windows NT
};
const EditionInfo& InfoOf(Edition edition);

// The running system as GetVersion and GetVersionExA report it.
struct WindowsVersion {
  bool win9x = false;
  uint32_t major = 0;  // Windows NT only
};

// The input method manager's side of registration.
class ImeManager {
 public:
  virtual ~ImeManager() = default;
  // GetSystemDirectoryA.
  virtual std::string SystemDirectory() = 0;
  // ImmInstallIMEA; its result is not examined.
  virtual void InstallIme(const std::string& imePath, const std::string& layoutText) = 0;
};

// Registers the edition as a keyboard layout unless a layout names its file
// already, and installs it with the input method manager; for the KS
// edition the layout's "layout file" is then set to the system's Japanese
// keyboard driver. 1 on success, 0 on any registry failure (every key
// closed, no half-written layout key left behind).
int RegisterEdition(settings::SettingsPlatform& registry, ImeManager& imm, Edition edition,
                    const WindowsVersion& version);

// ---- the parts of registration ----

// Whether a layout key's name is that of an input-method layout ("E...").
bool IsImeLayoutName(std::string_view name);

// The name of a new layout key for the locale when count input-method
// layouts exist: "E%03x" + locale with the first number from count + 1 on
// whose first four characters no existing name shares (without regard to
// case); empty when there is none up to kLastLayoutNumber.
std::string NewLayoutName(int count, std::span<const std::string> existing, std::string_view locale);

// The "layout file" written into a new layout key.
std::string InitialLayoutFile(Edition edition, const WindowsVersion& version);

// The Japanese keyboard driver that the KS edition's layout gets afterwards:
// "kbdjp.kbd" on Windows 9x, "kbdjpn.dll" on Windows NT before version 5,
// else the "LayerDriver JPN" value of the i8042prt parameters; none (the
// layout file stays) when that key or value is missing or empty.
std::optional<std::string> JapaneseKeyboardDriver(settings::SettingsPlatform& registry,
                                                  const WindowsVersion& version);

// ---- removal ----

// The layout keys whose "IME file" has fileName as its file-name part (a
// bare name, as registration writes it, or a full path); nullopt when the
// layouts cannot be listed.
std::optional<std::vector<std::string>> LayoutsOfImeFile(settings::SettingsPlatform& registry,
                                                         std::string_view fileName);
// Deletes those layout keys; the names deleted, or nullopt when the layouts
// cannot be listed or a key cannot be deleted (the ones before it are gone).
std::optional<std::vector<std::string>> RemoveLayoutsOfImeFile(settings::SettingsPlatform& registry,
                                                               std::string_view fileName);

}  // namespace imereg
