// The font environment setup without its windows: the table of the sixteen
// GM-code fonts with their end-user-defined-character (EUDC) files, the
// program folder made of "Install Directory", the files found in its
// "Gaiji\" folder, and the links written under HKEY_CURRENT_USER "EUDC\932"
// (face name to EUDC file) with every registry result checked. The registry
// and the file system stay behind small interfaces.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace belvo {

// One row of the font table.
struct EudcFont {
  const char16_t* trueTypeFile;  // the font's own file (not used by the links)
  const char16_t* eudcFile;      // its EUDC file, in the program folder's "Gaiji\"
  const char16_t* face;
};
inline constexpr int kFontCount = 16;
const std::array<EudcFont, kFontCount>& EudcFontLinkTable();

inline constexpr std::u16string_view kLinkKeyPath = u"EUDC\\932";
inline constexpr std::u16string_view kSuiteKeyPath = u"Software\\Valdrimo\\GeulmaruV6";
inline constexpr std::u16string_view kInstallDirectoryValue = u"Install Directory";

// The registry as the setup uses it.
class SetupRegistry {
 public:
  virtual ~SetupRegistry() = default;
  // The text of HKEY_LOCAL_MACHINE kSuiteKeyPath's value named
  // kInstallDirectoryValue (names compared without regard to case); nothing
  // when the key or the value is missing or is not text.
  virtual std::optional<std::u16string> InstallDirectory() = 0;
  // HKEY_CURRENT_USER kLinkKeyPath opened with full access, or created when
  // it is missing; false when neither works.
  virtual bool OpenLinkKey() = 0;
  // REG_SZ of the text with its terminating NUL under the open key.
  virtual bool SetLink(std::u16string_view face, std::u16string_view path) = 0;
  virtual void CloseLinkKey() = 0;
};

class FileProbe {
 public:
  virtual ~FileProbe() = default;
  virtual bool Exists(std::u16string_view path) = 0;
};

// The program folder of an "Install Directory" value: "\" added when it ends
// in no separator, then "GeulmaruV6\". Nothing for an empty value (a folder
// relative to wherever the program runs is no install folder).
std::optional<std::u16string> ProgramFolder(std::u16string_view installDirectory);

// program folder + "Gaiji\" + the row's EUDC file.
std::u16string EudcPath(std::u16string_view programFolder, int row);

using PresentRows = std::array<bool, kFontCount>;
// Which rows' EUDC files exist.
PresentRows CheckFontFiles(FileProbe& files, std::u16string_view programFolder);

struct FontLink {
  int row;
  std::u16string face;
  std::u16string path;
  bool operator==(const FontLink&) const = default;
};
// The links of the present rows, in row order.
std::vector<FontLink> LinksFor(std::u16string_view programFolder, const PresentRows& present);

enum class LinkResult { kWritten, kNoKey, kNotWritten };
// One link: the key opened (or created), the value set, the key closed.
LinkResult RegisterEudcFontLink(SetupRegistry& registry, const FontLink& link);

// How a run ended, for the finishing dialog or the failure box.
enum class SetupOutcome {
  kLinked,         // every link of a present file was written
  kNoFolder,       // "Install Directory" is missing or empty
  kNoFontFiles,    // no EUDC file in the folder: nothing to link
  kLinksFailed,    // a link could not be written (the key or the value)
};
struct SetupReport {
  SetupOutcome outcome = SetupOutcome::kNoFolder;
  std::u16string programFolder;
  std::vector<FontLink> written;
  std::vector<FontLink> failed;
};

// The whole run without windows; progress(link) comes before each link is
// written (the progress window shows its face).
template <typename Progress>
SetupReport RunSetup(SetupRegistry& registry, FileProbe& files, Progress&& progress) {
  SetupReport report;
  const std::optional<std::u16string> install = registry.InstallDirectory();
  const std::optional<std::u16string> folder = install ? ProgramFolder(*install) : std::nullopt;
  if (!folder) return report;
  report.programFolder = *folder;
  const std::vector<FontLink> links = LinksFor(*folder, CheckFontFiles(files, *folder));
  if (links.empty()) {
    report.outcome = SetupOutcome::kNoFontFiles;
    return report;
  }
  for (const FontLink& link : links) {
    progress(link);
    (RegisterEudcFontLink(registry, link) == LinkResult::kWritten ? report.written : report.failed).push_back(link);
  }
  report.outcome = report.failed.empty() ? SetupOutcome::kLinked : SetupOutcome::kLinksFailed;
  return report;
}

// The log-off follows only an OK of the finishing dialog with the choice
// "ただちに ログオフする" (0) after a run that linked its fonts.
bool ShouldLogOff(SetupOutcome outcome, bool finishingOk, int choice);

}  // namespace belvo
