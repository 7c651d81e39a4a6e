// The editor's page settings as its profile keeps them: the section
// "PageSet" with the margins in whole millimetres and the header and footer
// templates, read at start-up and written when the page-setup dialog closes
// with OK. The profile is behind a small seam, so that the rules are tested
// without the INI file.
#pragma once

#include <string>
#include <string_view>

#include "print_layout.h"

namespace brisel {

inline constexpr char kPageSetSection[] = "PageSet";
inline constexpr char kLeftMarginKey[] = "LeftMargin";
inline constexpr char kRightMarginKey[] = "RightMargin";
inline constexpr char kTopMarginKey[] = "TopMargin";
inline constexpr char kBottomMarginKey[] = "BottomMargin";
inline constexpr char kHeaderKey[] = "Header";
inline constexpr char kFooterKey[] = "Footer";

// The program's profile; strings are bytes of code page 932, as the INI file holds them.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  virtual int GetInt(std::string_view section, std::string_view key, int fallback) = 0;
  virtual std::string GetString(std::string_view section, std::string_view key, std::string_view fallback) = 0;
  virtual bool WriteInt(std::string_view section, std::string_view key, int value) = 0;
  virtual bool WriteString(std::string_view section, std::string_view key, std::string_view value) = 0;
};

// The section with its defaults (15 mm, "&[ﾌｧｲﾙ名]", "&[ﾍﾟｰｼﾞ番号]&[中央]")
// for missing keys; a negative margin counts as 0.
editorview::PageSettings LoadPageSet(ProfileStore& profile);
// Writes all six keys; false when a write failed.
bool SavePageSet(ProfileStore& profile, const editorview::PageSettings& settings);

// The page-setup dialog's margins are hundredths of a millimetre: the
// profile's millimetres x 100 in, whole millimetres out (12.5 mm is 12).
long MarginToHundredths(int millimetres);
int MarginFromHundredths(long hundredths);

// The header and footer edits take at most this many characters.
inline constexpr int kTemplateChars = 300;

}  // namespace brisel
