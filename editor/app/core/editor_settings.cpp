#include "editor_settings.h"

namespace brisel {

namespace {

// The integer keys of a section: the member, and the count of its values
// (0: any value).
template <typename Settings>
struct IntKey {
  const char16_t* key;
  int Settings::*field;
  int count;
};

constexpr IntKey<EditorSettings> kControlInts[] = {
    {u"PasteCode", &EditorSettings::pasteCode, kPasteCodeCount},
    {u"InFileType", &EditorSettings::inFileType, kInFileTypeCount},
    {u"OutFileType", &EditorSettings::outFileType, kOutFileTypeCount},
    {u"KsCopyFlag", &EditorSettings::ksCopyFlag, 0},
    {u"GmCopyFlag", &EditorSettings::gmCopyFlag, 0},
};

constexpr IntKey<FontSettings> kFontInts[] = {
    {u"Height", &FontSettings::height, 0},
    {u"Weight", &FontSettings::weight, 0},
    {u"CharSet", &FontSettings::charSet, 0},
    {u"PitchAndFamily", &FontSettings::pitchAndFamily, 0},
    {u"FontType", &FontSettings::fontType, 0},
};

// A value outside its count reads as the default 0.
template <typename Settings, size_t N>
void ReadInts(fw::Profile& p, std::u16string_view section, const IntKey<Settings> (&keys)[N], Settings& s) {
  const Settings defaults;
  for (const auto& k : keys) {
    const int value = p.GetInt(section, k.key, defaults.*k.field);
    s.*k.field = k.count == 0 || (value >= 0 && value < k.count) ? value : 0;
  }
}

template <typename Settings, size_t N>
bool WriteInts(fw::Profile& p, std::u16string_view section, const IntKey<Settings> (&keys)[N], const Settings& s) {
  bool ok = true;
  for (const auto& k : keys) ok = p.WriteInt(section, k.key, s.*k.field) && ok;
  return ok;
}

}  // namespace

EditorSettings ReadControlSettings(fw::Profile& p) {
  EditorSettings s;
  ReadInts(p, kControlSection, kControlInts, s);
  if (s.ksCopyFlag != 0) s.ksCopyFlag = 1;
  if (s.gmCopyFlag != 0) s.gmCopyFlag = 1;
  s.ksCopyFont = p.GetString(kControlSection, u"KsCopyFont", s.ksCopyFont);
  s.gmCopyFont = p.GetString(kControlSection, u"GmCopyFont", s.gmCopyFont);
  return s;
}

bool WriteControlSettings(fw::Profile& p, const EditorSettings& s) {
  bool ok = WriteInts(p, kControlSection, kControlInts, s);
  ok = p.WriteString(kControlSection, u"KsCopyFont", s.ksCopyFont) && ok;
  ok = p.WriteString(kControlSection, u"GmCopyFont", s.gmCopyFont) && ok;
  return ok;
}

FontSettings ReadFontSettings(fw::Profile& p) {
  FontSettings f;
  ReadInts(p, kFontSection, kFontInts, f);
  f.faceName = p.GetString(kFontSection, u"FaceName", f.faceName);
  if (f.faceName.size() > kFaceNameLength) f.faceName.resize(kFaceNameLength);
  return f;
}

bool WriteFontSettings(fw::Profile& p, const FontSettings& f) {
  bool ok = WriteInts(p, kFontSection, kFontInts, f);
  ok = p.WriteString(kFontSection, u"FaceName", f.faceName) && ok;
  return ok;
}

}  // namespace brisel
