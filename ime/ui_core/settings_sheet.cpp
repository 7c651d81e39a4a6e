#include "settings_sheet.h"

#include <cstdio>
#include <cstring>

namespace ime {

namespace {

constexpr char kGmFaceStart[] = "\x82\x66\x82\x6c\x8a\xd8\x8d\x91";  // ＧＭ韓国

// The registry side of an apply: the sheet writes, the road from another
// process's sheet does not.
class Store {
 public:
  Store(RegistryWriter* writer, const ImeConfig& cfg) : writer_(writer), prefix_(cfg.prefix) {}
  bool Sheet() const { return writer_ != nullptr; }
  void Put(const char* subkey, const char* value, const std::string& text) const {
    if (writer_) writer_->Write(prefix_ + "\\" + subkey, value, text);
  }

 private:
  RegistryWriter* writer_;
  std::string prefix_;
};

const char* YesNo(bool on) { return on ? "Yes" : "No"; }

const char* ArrangementSetting(int inputMode) {
  switch (inputMode) {
    case 1: return "KS2";
    case 2: return "KS3";
    default: return "ROMAN";
  }
}

const char* KeyboardSetting(int keyboardType) {
  switch (keyboardType) {
    case 1: return "98";
    case 2: return "101";
    default: return "106";
  }
}

void ApplyGeneral(const GeneralPage& page, ImeConfig& cfg, const Store& store, SettingsPlatform& platform) {
  ImeSettings& s = cfg.engine;
  const bool ks = s.koreanCode == 1;
  if (store.Sheet()) platform.ActivateOwnLayout();
  // The start width of new input; the running conversion mode stays.
  cfg.halfWidthSetting = page.halfWidth;
  store.Put("Modes", "InputSize", page.halfWidth ? "SBCS" : "DBCS");
  s.jisoTaniBack = page.jisoTaniBack;
  store.Put("Modes", "JisoTaniBack", YesNo(page.jisoTaniBack));
  if (page.indirectMode != s.indirectMode) {
    platform.DestroyCandidateWindow();
    s.indirectMode = page.indirectMode;
    store.Put("Modes", "IndirectMode", YesNo(page.indirectMode));
  }
  if (ks && page.mikakuCount > 0) {
    s.mikakuBytes = MikakuBytes(page.mikakuCount);
    store.Put("Modes", "Mikaku", page.mikakuText);
  }
  const bool keyboardChanged = page.keyboardType != s.keyboardType;
  if (keyboardChanged) {
    s.keyboardType = page.keyboardType;
    store.Put("Modes", "Keyboard", KeyboardSetting(page.keyboardType));
    platform.SetGuideLayout(page.keyboardType);
    s.kanjiHotKey = page.keyboardType == 1 && platform.KanjiHotKeyIsVk19();
  }
  const bool arrangementChanged = page.inputMode != s.inputMode;
  if (arrangementChanged) {
    store.Put("Modes", "HanglInput", ArrangementSetting(page.inputMode));
    s.inputMode = page.inputMode;
    platform.ReloadReadingTable(page.inputMode);
  }
  platform.RefreshGuide(keyboardChanged || arrangementChanged);
  // Takes effect at the next attach.
  if (ks && page.interfaceShown) store.Put("Modes", "Interface", page.interfaceAnsi ? "A" : "U");
}

ToolbarButtonMap MapOf(const DisplayPage& page) { return ParseToolbar(ToolbarSetting(page)); }

void ApplyDisplay(const DisplayPage& page, ImeConfig& cfg, const Store& store, SettingsPlatform& platform) {
  if (store.Sheet()) platform.ActivateOwnLayout();
  bool changed = false;
  for (int n = 1; n <= kStatusFunctions; ++n) changed |= page.enabled[n] != cfg.toolbar.enabled[n];
  if (!changed) return;
  cfg.toolbar = MapOf(page);
  store.Put("Modes", "ToolBar", ToolbarSetting(page));
  platform.RefreshToolbar();
}

// Points and faces of the display font; the font is made again when they
// change.
void ChangeDisplayFont(ImeConfig& cfg, int points, const std::string& ksFace, const std::string& gmFace,
                       SettingsPlatform& platform) {
  const std::string was = cfg.currentFace;
  const int wasPoints = cfg.fontPoints;
  cfg.fontPoints = points;
  cfg.ksFace = ksFace;
  cfg.gmFace = gmFace;
  cfg.currentFace = CurrentFaceOf(cfg);
  if (cfg.currentFace != was || cfg.fontPoints != wasPoints) platform.CreateDisplayFont(cfg);
}

// Opens path in place of the current dictionary; when it cannot be opened
// the current one is opened again.
bool ChangeDictionary(ImeConfig& cfg, const std::string& path, SettingsPlatform& platform) {
  if (!platform.OpenDictionary(path)) {
    platform.OpenDictionary(cfg.dictionaryPath);
    return false;
  }
  cfg.dictionaryPath = path;
  return true;
}

std::string ColourSetting(ColourPair c) {
  char text[32];
  std::snprintf(text, sizeof text, "%d,%d", c.text, c.background);
  return text;
}

int InPalette(int index) { return index >= 0 && index < ColourDialog::kColours ? index : 0; }

}  // namespace

std::vector<int> ConfigurePages(unsigned mode) {
  switch (mode) {
    case 1: return {kPageGeneral, kPageDisplay, kPageDictionary, kPageVersion};
    case 3: return {kPageDictionary, kPageVersion};
    default: return {};
  }
}

// ---- general page ------------------------------------------------------------------

GeneralPage GeneralPageFor(const ImeConfig& cfg, bool interfaceShown, const std::string& interfaceValue) {
  const ImeSettings& s = cfg.engine;
  GeneralPage p;
  p.inputMode = s.inputMode;
  p.halfWidth = cfg.halfWidthSetting;
  p.jisoTaniBack = s.jisoTaniBack;
  p.indirectMode = s.indirectMode;
  p.keyboardType = s.keyboardType;
  p.interfaceShown = interfaceShown && s.koreanCode == 1;
  p.interfaceAnsi = !interfaceValue.empty() && (interfaceValue[0] == 'A' || interfaceValue[0] == 'a');
  p.mikakuCount = s.mikakuBytes / 2;
  p.mikakuText = std::to_string(p.mikakuCount);
  return p;
}

int EditBoxNumber(const std::string& text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return 0;
  const size_t end = text.find_last_not_of(' ') + 1;
  long long n = 0;
  for (size_t i = begin; i < end; ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
    n = n * 10 + (text[i] - '0');
    if (n > 0x7FFFFFFF) return 0;
  }
  return static_cast<int>(n);
}

void ApplyGeneralPage(const GeneralPage& page, ImeConfig& cfg, RegistryWriter& writer, SettingsPlatform& platform) {
  ApplyGeneral(page, cfg, Store(&writer, cfg), platform);
}

// ---- display page --------------------------------------------------------------------

DisplayPage DisplayPageFor(const ToolbarButtonMap& map) {
  DisplayPage p;
  for (int n = 1; n <= kStatusFunctions; ++n) p.enabled[n] = map.enabled[n];
  return p;
}

std::string ToolbarSetting(const DisplayPage& page) {
  std::string s;
  for (int n = 1; n <= kStatusFunctions; ++n) s.push_back(page.enabled[n] ? '1' : '0');
  return s;
}

void ApplyDisplayPage(const DisplayPage& page, ImeConfig& cfg, RegistryWriter& writer, SettingsPlatform& platform) {
  ApplyDisplay(page, cfg, Store(&writer, cfg), platform);
}

std::vector<StatusBlit> ToolbarPreviewPlan(const DisplayPage& page, unsigned conversionMode) {
  const ToolbarButtonMap map = MapOf(page);
  StatusLook look;
  look.map = &map;
  look.context = true;
  look.open = true;
  look.mode = conversionMode;
  look.allConfigured = map.count == kStatusFunctions;
  return StatusPaintPlan(look);
}

// ---- font dialog --------------------------------------------------------------------

FontDialog FontDialogFor(const ImeConfig& cfg, const std::vector<FontFace>& installed) {
  const bool ks = cfg.engine.koreanCode == 1;
  FontDialog d;
  for (const FontFace& f : installed) {
    if (!f.trueType || f.face.empty()) continue;
    const bool listed = ks ? f.charset == 129 && f.face[0] != '@'
                           : f.charset == 128 && f.face.compare(0, std::strlen(kGmFaceStart), kGmFaceStart) == 0;
    if (!listed) continue;
    bool seen = false;
    for (const std::string& face : d.faces) seen |= face == f.face;
    if (!seen) d.faces.push_back(f.face);
  }
  const std::string& current = ks ? cfg.ksFace : cfg.gmFace;
  for (size_t i = 0; i < d.faces.size(); ++i) {
    if (d.faces[i] == current) d.face = static_cast<int>(i);
  }
  d.size = cfg.fontPoints < 8 ? 4 : cfg.fontPoints - 8;
  return d;
}

void ApplyFontDialog(const FontDialog& dialog, ImeConfig& cfg, RegistryWriter& writer, SettingsPlatform& platform) {
  const Store store(&writer, cfg);
  const bool ks = cfg.engine.koreanCode == 1;
  int points = cfg.fontPoints;
  if (dialog.size >= 0 && dialog.size < kFontSizeEntries) {
    points = dialog.size + 8;
    store.Put("Font", "Height", std::to_string(points));
  }
  std::string ksFace = cfg.ksFace, gmFace = cfg.gmFace;
  if (dialog.face >= 0 && static_cast<size_t>(dialog.face) < dialog.faces.size()) {
    const std::string& face = dialog.faces[dialog.face];
    (ks ? ksFace : gmFace) = face;
    store.Put("Font", ks ? "KS_FaceName" : "GM_FaceName", face);
  }
  ChangeDisplayFont(cfg, points, ksFace, gmFace, platform);
}

// ---- colour dialog -------------------------------------------------------------------

ColourDialog::ColourDialog(ColourPair input, ColourPair conv) {
  pairs_[0] = {InPalette(input.text), InPalette(input.background)};
  pairs_[1] = {InPalette(conv.text), InPalette(conv.background)};
}

void ColourDialog::Select(int pair) { selected_ = pair == kConversion ? kConversion : kInput; }

void ColourDialog::SetText(int index) {
  if (index >= 0 && index < kColours) pairs_[selected_].text = index;
}

void ColourDialog::SetBackground(int index) {
  if (index >= 0 && index < kColours) pairs_[selected_].background = index;
}

void ColourDialog::Defaults() {
  pairs_ = {kDefaultInputColour, kDefaultConvColour};
  selected_ = kInput;
}

void ColourDialog::Commit(ImeConfig& cfg, RegistryWriter& writer) const {
  const Store store(&writer, cfg);
  cfg.inputColour = pairs_[0];
  cfg.convColour = pairs_[1];
  store.Put("Modes", "InputColor", ColourSetting(pairs_[0]));
  store.Put("Modes", "ConvColor", ColourSetting(pairs_[1]));
}

// ---- COLORBUTTON ------------------------------------------------------------------

ColorButtonRecord* ColorButtonTable::Claim(uintptr_t window, UserFeedback& feedback) {
  if (window != 0) {
    for (ColorButtonRecord& r : records_) {
      if (r.window == 0) {
        r = {window, 0x000000, 0xFFFFFF, false};
        return &r;
      }
    }
  }
  feedback.Beep(kBeepDefault);
  return nullptr;
}

ColorButtonRecord* ColorButtonTable::Find(uintptr_t window) {
  if (window == 0) return nullptr;
  for (ColorButtonRecord& r : records_) {
    if (r.window == window) return &r;
  }
  return nullptr;
}

void ColorButtonTable::Release(uintptr_t window) {
  if (ColorButtonRecord* r = Find(window)) *r = {};
}

int ColorButtonTable::InUse() const {
  int n = 0;
  for (const ColorButtonRecord& r : records_) n += r.window != 0;
  return n;
}

Rect ColorButtonSwatch(Size client, bool pressed) {
  return pressed ? Rect{5, 5, client.cx - 3, client.cy - 3} : Rect{4, 4, client.cx - 4, client.cy - 4};
}

// ---- dictionary page --------------------------------------------------------------

std::string DictionaryFolder(const std::string& path) {
  size_t cut = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    const auto b = static_cast<uint8_t>(path[i]);
    if (IsCp932Lead(b) && i + 1 < path.size()) {
      ++i;
    } else if (b == '\\' || b == ':') {
      cut = i;
    }
  }
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool ApplyDictionaryPage(const std::string& path, bool learning, ImeConfig& cfg, RegistryWriter& writer,
                         SettingsPlatform& platform) {
  const Store store(&writer, cfg);
  platform.ActivateOwnLayout();
  if (path != cfg.dictionaryPath) {
    if (!ChangeDictionary(cfg, path, platform)) return false;
    store.Put("DicEnv", "DicPathName", path);
  }
  cfg.engine.learning = learning && !cfg.protectedMode;
  store.Put("DicEnv", "Gakusyu", cfg.engine.learning ? "ON" : "OFF");
  return true;
}

// ---- another process's sheet -------------------------------------------------------

void TakeOverSheetValues(ImeConfig& cfg, RegistryReader& reader, SettingsPlatform& platform) {
  const bool ks = cfg.engine.koreanCode == 1;
  const SheetValues now = ReadSheetValues(SettingsAccess(reader, cfg.prefix), ks);
  const SheetValues was = cfg.seen;
  cfg.seen = now;
  if (now == was) return;
  const Store none(nullptr, cfg);

  if (now.inputSize != was.inputSize || now.jisoTaniBack != was.jisoTaniBack || now.indirectMode != was.indirectMode ||
      now.mikaku != was.mikaku || now.keyboard != was.keyboard || now.hanglInput != was.hanglInput) {
    GeneralPage general = GeneralPageFor(cfg, false, "");
    general.mikakuCount = 0;
    if (now.inputSize != was.inputSize) general.halfWidth = FirstLetterIs(now.inputSize, 'S');
    if (now.jisoTaniBack != was.jisoTaniBack) general.jisoTaniBack = FirstLetterIs(now.jisoTaniBack, 'Y');
    if (now.indirectMode != was.indirectMode) general.indirectMode = FirstLetterIs(now.indirectMode, 'Y');
    if (now.mikaku != was.mikaku) general.mikakuCount = ParseCount(now.mikaku, 1);
    if (now.keyboard != was.keyboard) general.keyboardType = ParseKeyboard(now.keyboard);
    if (now.hanglInput != was.hanglInput) general.inputMode = ParseInputMode(now.hanglInput);
    ApplyGeneral(general, cfg, none, platform);
  }

  if (now.toolBar != was.toolBar) ApplyDisplay(DisplayPageFor(ParseToolbar(now.toolBar)), cfg, none, platform);
  if (now.inputColor != was.inputColor) cfg.inputColour = ParseColour(now.inputColor, kDefaultInputColour);
  if (now.convColor != was.convColor) cfg.convColour = ParseColour(now.convColor, kDefaultConvColour);
  if (now.height != was.height || now.ksFace != was.ksFace || now.gmFace != was.gmFace) {
    ChangeDisplayFont(cfg, now.height != was.height ? ParseCount(now.height, 16) : cfg.fontPoints,
                      now.ksFace != was.ksFace ? now.ksFace : cfg.ksFace,
                      now.gmFace != was.gmFace ? now.gmFace : cfg.gmFace, platform);
  }
  if (now.dicPathName != was.dicPathName) {
    const std::string path = DictionaryPathFor(now.dicPathName, cfg);
    if (path != cfg.dictionaryPath) ChangeDictionary(cfg, path, platform);
  }
  if (now.gakusyu != was.gakusyu) cfg.engine.learning = ParseLearning(now.gakusyu, cfg.protectedMode);
}

}  // namespace ime
