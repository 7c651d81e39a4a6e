#include "ime_config.h"

#include <cstring>

namespace ime {

bool IsCp932Lead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsCp949Lead(uint8_t b) { return b >= 0x81 && b <= 0xFE; }

namespace {

constexpr char kGmFaceStart[] = "\x82\x66\x82\x6c\x8a\xd8\x8d\x91";  // ＧＭ韓国
constexpr char kSjFaceStart[] = "\x82\x6a\x82\x72\x8a\xd8\x8d\x91";  // ＫＳ韓国
constexpr char kDefaultGmFace[] = "\x82\x66\x82\x6c\x8a\xd8\x8d\x91\x96\xbe\x92\xa9";  // ＧＭ韓国明朝
constexpr char kDefaultSjFace[] = "\x82\x6a\x82\x72\x8a\xd8\x8d\x91\x96\xbe\x92\xa9";  // ＫＳ韓国明朝
constexpr size_t kFaceBuffer = 32;  // 31 bytes and the terminator

std::string Path(const std::string& prefix, const char* subkey) {
  std::string p = prefix;
  if (subkey && *subkey) p += std::string("\\") + subkey;
  return p;
}

bool StartsWith(const std::string& s, const char* start) { return s.compare(0, std::strlen(start), start) == 0; }

// The last character of s is a '\' (not the trail byte of a double-byte character).
bool EndsInBackslash(const std::string& s) {
  bool last = false;
  for (size_t i = 0; i < s.size(); ++i) {
    if (IsCp932Lead(static_cast<uint8_t>(s[i])) && i + 1 < s.size()) {
      ++i;
      last = false;
    } else {
      last = s[i] == '\\';
    }
  }
  return last;
}

}  // namespace

std::string SettingsAccess::String(const char* subkey, const char* value, const char* fallback, size_t size) const {
  std::string out;
  const std::string path = Path(prefix_, subkey);
  if (!reader_.Read(kRootCurrentUser, path, value, &out) && !reader_.Read(kRootLocalMachine, path, value, &out)) {
    out = fallback ? fallback : "";
  }
  // A value ends at its first NUL, as in a buffer of that size.
  out = out.substr(0, std::strlen(out.c_str()));
  if (size > 0 && out.size() > size - 1) out.resize(size - 1);
  return out;
}

int LeadingDigits(const std::string& value) {
  int n = 0;
  for (char c : value) {
    if (c < '0' || c > '9' || n > (0x7FFFFFFF - (c - '0')) / 10) break;
    n = n * 10 + (c - '0');
  }
  return n;
}

int ParseCount(const std::string& value, int fallback) { return value.empty() ? fallback : LeadingDigits(value); }

int SettingsAccess::Int(const char* subkey, const char* value, int fallback) const {
  return ParseCount(String(subkey, value, "", 64), fallback);
}

int SettingsAccess::SignedInt(const char* subkey, const char* value, int fallback) const {
  const std::string s = String(subkey, value, "", 64);
  if (s.empty()) return fallback;
  return s[0] == '-' ? -LeadingDigits(s.substr(1)) : LeadingDigits(s);
}

std::string SettingsAccess::Machine(const char* value) const {
  std::string out;
  if (!reader_.Read(kRootLocalMachine, "", value, &out)) return "";
  out = out.substr(0, std::strlen(out.c_str()));
  if (out.size() > 259) out.resize(259);
  return out;
}

std::string OwnFileName(const std::string& modulePath) {
  size_t start = 0;
  for (size_t i = 0; i < modulePath.size(); ++i) {
    const auto b = static_cast<uint8_t>(modulePath[i]);
    if (IsCp932Lead(b) && i + 1 < modulePath.size()) {
      ++i;
    } else if (b == '\\' || b == '/' || b == ':') {
      start = i + 1;
    }
  }
  std::string out;
  for (size_t i = start; i < modulePath.size(); ++i) {
    const auto b = static_cast<uint8_t>(modulePath[i]);
    if (IsCp932Lead(b) && i + 1 < modulePath.size()) {
      out.push_back(modulePath[i]);
      out.push_back(modulePath[++i]);
    } else {
      out.push_back(b >= 'a' && b <= 'z' ? static_cast<char>(b - 'a' + 'A') : static_cast<char>(b));
    }
  }
  return out;
}

std::string HelpFileName(const std::string& fileName) {
  std::string s = fileName.size() > 28 ? fileName.substr(0, 28) : fileName;
  const size_t keep = s.size() >= 3 ? s.size() - 3 : 0;
  return s.substr(0, keep) + "CHM";
}

std::string ProgramFolder(const std::string& installDirectory) {
  std::string s = installDirectory;
  if (!EndsInBackslash(s)) s += '\\';
  return s + "GeulmaruV6\\";
}

bool FirstLetterIs(const std::string& value, char letter) { return !value.empty() && value[0] == letter; }

bool ParseLearning(const std::string& gakusyu, bool protectedMode) { return StartsWith(gakusyu, "ON") && !protectedMode; }

int MikakuBytes(int count) { return (count > 0x3FFFFFFF ? 0x3FFFFFFF : count) * 2; }

std::string DictionaryPathFor(const std::string& dicPathName, const ImeConfig& cfg) {
  if (!dicPathName.empty()) return dicPathName;
  std::string path = cfg.programFolder + (cfg.engine.koreanCode == 1 ? "SYSDIC\\GmV6KS.dic" : "SYSDIC\\GmV6.dic");
  if (path.size() > 259) path.resize(259);
  return path;
}

std::string CurrentFaceOf(const ImeConfig& cfg) {
  if (cfg.engine.koreanCode == 1) return cfg.ksFace;
  return cfg.engine.koreanCode == 0 ? cfg.sjFace : cfg.gmFace;
}

bool InterfaceChoiceOffered(bool windowsNt, bool windows9x, unsigned major, unsigned minor) {
  return (windowsNt && major == 4) || (windows9x && minor >= 10);
}

SheetValues ReadSheetValues(const SettingsAccess& reg, bool ksEdition) {
  SheetValues v;
  v.hanglInput = reg.String("Modes", "HanglInput", "K");
  v.keyboard = reg.String("Modes", "Keyboard", "106");
  v.inputSize = reg.String("Modes", "InputSize", "SBCS");
  v.indirectMode = reg.String("Modes", "IndirectMode", "No");
  v.jisoTaniBack = reg.String("Modes", "JisoTaniBack", "Yes");
  if (ksEdition) v.mikaku = reg.String("Modes", "Mikaku", "", 64);
  v.inputColor = reg.String("Modes", "InputColor", "");
  v.convColor = reg.String("Modes", "ConvColor", "");
  v.toolBar = reg.String("Modes", "ToolBar", "101111111111", 14);
  v.gmFace = reg.String("Font", "GM_FaceName", kDefaultGmFace, kFaceBuffer);
  v.ksFace = reg.String("Font", "KS_FaceName", "KS Mincho", kFaceBuffer);
  v.height = reg.String("Font", "Height", "", 64);
  v.dicPathName = reg.String("DicEnv", "DicPathName", "", 260);
  v.gakusyu = reg.String("DicEnv", "Gakusyu", "ON");
  return v;
}

int ParseInputMode(const std::string& hanglInput) {
  if (!FirstLetterIs(hanglInput, 'K')) return 0;
  return hanglInput.size() >= 3 && hanglInput[2] == '3' ? 2 : 1;
}

int ParseKeyboard(const std::string& keyboard) {
  if (keyboard == "98") return 1;
  if (keyboard == "101") return 2;
  return 0;
}

ColourPair ParseColour(const std::string& value, ColourPair fallback) {
  if (value.empty()) return fallback;
  ColourPair c = fallback;
  c.text = static_cast<uint8_t>(value[0]) - '0';
  const size_t comma = value.find(',');
  if (comma != std::string::npos) {
    c.background = comma + 1 < value.size() ? static_cast<uint8_t>(value[comma + 1]) - '0' : -'0';
  }
  return c;
}

ToolbarButtonMap ParseToolbar(const std::string& value) {
  ToolbarButtonMap map;
  for (int n = 1; n <= 12; ++n) {
    if (static_cast<size_t>(n) <= value.size() && value[n - 1] == '1') {
      map.enabled[n] = true;
      map.functions[map.count++] = n;
    }
  }
  return map;
}

unsigned ParseInterface(const std::string& value, bool windows95) {
  if (!value.empty() && (value[0] == 'U' || value[0] == 'u')) return 949;
  if (!value.empty() && (value[0] == 'A' || value[0] == 'a')) return 0;
  return windows95 ? 0 : 949;
}

FontCheckResult CheckFonts(const std::vector<FontFace>& fonts, bool windowsNt, ImeConfig& cfg) {
  struct Kind {
    std::string* configured;
    std::string first;
    bool installed = false;
    bool configuredMet = false;
  };
  Kind ks{&cfg.ksFace, {}}, gm{&cfg.gmFace, {}}, sj{&cfg.sjFace, {}};
  for (const FontFace& f : fonts) {
    if (!f.trueType) continue;
    Kind* kind = nullptr;
    if (f.charset == 129) {
      kind = &ks;
    } else if (f.charset == 128 && StartsWith(f.face, kGmFaceStart)) {
      kind = &gm;
    } else if (f.charset == 128 && StartsWith(f.face, kSjFaceStart)) {
      kind = &sj;
    }
    if (!kind) continue;
    if (!kind->installed) kind->first = f.face.substr(0, kFaceBuffer - 1);
    kind->installed = true;
    if (f.face == *kind->configured) kind->configuredMet = true;
  }
  if (windowsNt) sj.installed = false;
  for (Kind* k : {&ks, &gm, &sj}) {
    if (!k->installed) {
      k->configured->clear();
    } else if (!k->configuredMet) {
      *k->configured = k->first;
    }
  }
  cfg.fonts = {ks.installed, gm.installed, sj.installed};
  return cfg.fonts;
}

bool FontWarningDue(const ImeConfig& cfg) {
  if (cfg.engine.koreanCode == 1) return !cfg.fonts.ksInstalled;
  return !cfg.fonts.gmInstalled && !cfg.fonts.sjInstalled;
}

void ChooseFaceAndCode(const std::string& hanglCode, ImeConfig& cfg) {
  if (cfg.engine.koreanCode != 1) {
    std::string code = hanglCode;
    for (char& c : code) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    const bool gm95 = (code == "SJ" && cfg.fonts.sjInstalled) || (!cfg.fonts.gmInstalled && cfg.fonts.sjInstalled);
    cfg.engine.koreanCode = gm95 ? 0 : 2;
  }
  cfg.currentFace = CurrentFaceOf(cfg);
}

void InitializeImeConfig(ImeConfig& cfg, const std::string& modulePath, RegistryReader& reader,
                         AttachPlatform& platform, UserFeedback& feedback, const PlatformFacts& facts) {
  // 1-2: own name, help file, edition.
  cfg.fileName = OwnFileName(modulePath);
  cfg.helpFileName = HelpFileName(cfg.fileName);
  cfg.prefix = cfg.fileName.substr(0, 2);
  cfg.engine.koreanCode = EditionKoreanCode(cfg.fileName);
  cfg.charset = cfg.engine.koreanCode == 1 ? 129 : 128;
  const bool ks = cfg.engine.koreanCode == 1;
  SettingsAccess reg(reader, cfg.prefix);

  // 3-4: protected mode, program folder.
  cfg.protectedMode = platform.ProbeProtectedMode();
  cfg.programFolder = ProgramFolder(reg.Machine("Install Directory"));

  // 5-8: faces, font check, warning, current face. The sheet's values are
  // read here at once and kept.
  const SheetValues& v = cfg.seen = ReadSheetValues(reg, ks);
  cfg.gmFace = v.gmFace;
  cfg.ksFace = v.ksFace;
  cfg.sjFace = reg.String("Font", "SJ_FaceName", kDefaultSjFace, kFaceBuffer);
  cfg.fontPoints = ParseCount(v.height, 16);
  CheckFonts(platform.EnumerateFonts(), facts.windowsNt, cfg);
  if (FontWarningDue(cfg)) feedback.ShowMessage(kFontWarning, kMbIconExclamation);
  ChooseFaceAndCode(ks ? std::string() : reg.String("Modes", "HanglCode", "GM"), cfg);

  // 9: dictionary path.
  cfg.dictionaryPath = DictionaryPathFor(v.dicPathName, cfg);

  // 10-12: arrangement and its reading table, keyboard, input flags.
  cfg.engine.inputMode = ParseInputMode(v.hanglInput);
  platform.LoadReadingTable(cfg.engine.inputMode);
  cfg.engine.keyboardType = ParseKeyboard(v.keyboard);
  platform.SetGuideLayout(cfg.engine.keyboardType);
  cfg.engine.learning = ParseLearning(v.gakusyu, cfg.protectedMode);
  cfg.halfWidthSetting = FirstLetterIs(v.inputSize, 'S');
  cfg.engine.conversionMode = cfg.halfWidthSetting ? kConvNative : kConvNative | kConvFullShape;
  cfg.engine.indirectMode = FirstLetterIs(v.indirectMode, 'Y');
  cfg.engine.jisoTaniBack = FirstLetterIs(v.jisoTaniBack, 'Y');

  // 13-14: dictionary, control classes.
  platform.OpenDictionary(cfg);
  cfg.attachCount += 1;
  platform.RegisterControlClasses();

  // 15-17: colours, toolbar, status position (read once per process).
  cfg.inputColour = ParseColour(v.inputColor, kDefaultInputColour);
  cfg.convColour = ParseColour(v.convColor, kDefaultConvColour);
  cfg.toolbar = ParseToolbar(v.toolBar);
  if (!cfg.statusPositionRead && cfg.statusX == -1 && cfg.statusY == -1) {
    cfg.statusX = reg.SignedInt("WindowPos", "Xpos", -1);
    cfg.statusY = reg.SignedInt("WindowPos", "Ypos", -1);
  }
  cfg.statusPositionRead = true;

  // 18-21: display font, companions, code tables, hot key, AtokIme, interface.
  platform.CreateDisplayFont(cfg);
  platform.ClearCompanionWindows();
  platform.LoadCodeTables();
  cfg.engine.kanjiHotKey = cfg.engine.keyboardType == 1 && platform.KanjiHotKeyIsVk19();
  cfg.atokIme = FirstLetterIs(reg.String("Modes", "AtokIme", "No"), 'Y');
  cfg.engine.interfaceCodePage = 0;
  if (ks) {
    cfg.engine.interfaceCodePage = ParseInterface(reg.String("Modes", "Interface", ""), facts.windows95);
    cfg.engine.mikakuBytes = MikakuBytes(ParseCount(v.mikaku, 1));
  }
}

void TerminateImeConfig(ImeConfig& cfg, AttachPlatform& platform, RegistryWriter& writer) {
  platform.CloseUiWindow();
  platform.ReleaseDisplayFontAndTable();
  platform.ReleaseDictionary();
  if (cfg.attachCount > 0) cfg.attachCount -= 1;
  if (cfg.attachCount == 0 && cfg.statusX != -1 && cfg.statusY != -1) {
    const std::string path = cfg.prefix + "\\WindowPos";
    writer.Write(path, "Xpos", std::to_string(cfg.statusX));
    writer.Write(path, "Ypos", std::to_string(cfg.statusY));
  }
}

}  // namespace ime
