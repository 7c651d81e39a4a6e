#include "settings_dialog.h"

#include "settings_sheet.h"

#include <commctrl.h>
#include <imm.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "dalmok_help.h"
#include "property_sheet.h"
#include "shared_settings_win32.h"
#include "text_codes.h"

namespace dalmok {
namespace {

namespace rules = workbench::sheet;

constexpr char kCaption[] = "DAL-MOK";

std::wstring Sjis(const char* text) { return Wide(932, text); }

class SheetPage : public fw::PropertyPage {
 public:
  SheetPage(const fw::Module& module, unsigned templateId) : PropertyPage(module, templateId), id_(templateId) {}

 protected:
  // The sheet's Help button and F1 open the topic of the page shown.
  void OnHelp() override { ShowHelp(static_cast<unsigned long>(rules::HelpContextOfPage(id_))); }

 private:
  unsigned id_;
};

// ---- the input method ----
// The text-service name library: the number of text services of a
// language, the first one's name in the buffer.
using GetTsfNameFn = int(WINAPI*)(LANGID, wchar_t*, int);

class CJIMESet_Dlg final : public SheetPage {
 public:
  CJIMESet_Dlg(const fw::Module& module, SheetValues& v) : SheetPage(module, rules::kImePage), v_(v) {}

 protected:
  bool OnInitDialog() override {
    current_ = starting_ = v_.selectIme;
    HWND combo = GetDlgItem(hwnd(), 1025);
    HKL layouts[rules::kMaxLayouts] = {};
    const int n = GetKeyboardLayoutList(rules::kMaxLayouts, layouts);
    for (int i = 0; i < n; ++i) {
      if (LOWORD(reinterpret_cast<uintptr_t>(layouts[i])) != rules::kJapaneseLanguage) continue;
      char file[MAX_PATH] = {};
      ImmGetIMEFileNameA(layouts[i], file, sizeof file);
      CharUpperA(file);
      if (!rules::ImeFileListed(file)) continue;
      char description[51] = {};
      ImmGetDescriptionA(layouts[i], description, 50);
      entries_.push_back({description, file});
      const auto index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Sjis(description).c_str()));
      if (lstrcmpiA(file, current_.c_str()) == 0) SendMessageW(combo, CB_SETCURSEL, index, 0);
    }
    AddTextService(combo);
    return SheetPage::OnInitDialog();
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_COMMAND && LOWORD(wParam) == 1025 && HIWORD(wParam) == CBN_SELCHANGE) {
      HWND combo = GetDlgItem(hwnd(), 1025);
      const auto index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
      if (index >= 0) {
        wchar_t text[128] = {};
        if (SendMessageW(combo, CB_GETLBTEXTLEN, index, 0) < 127)
          SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        const std::string chosen = Narrow(932, text);
        if (chosen == tsfEntry_ && !tsfEntry_.empty()) {
          current_ = tsfEntry_;
        } else {
          for (const auto& e : entries_)
            if (e.description == chosen) current_ = e.file;
        }
      }
      return true;
    }
    return SheetPage::OnMessage(message, wParam, lParam, result);
  }

  bool OnApply() override {
    if (auto name = rules::ImeNameToStore(current_, tsfEntry_, starting_)) {
      if (rules::WriteSelectIme(settings::SystemSettings(), *name, kCaption)) v_.selectIme = *name;
    }
    return true;
  }

 private:
  void AddTextService(HWND combo) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Keyboard Layout\\Preload", 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    HMODULE library = LoadLibraryA("ZebTsfName.dll");
    auto getName = library ? reinterpret_cast<GetTsfNameFn>(reinterpret_cast<void*>(GetProcAddress(library, "GetTsfName")))
                           : nullptr;
    for (int i = 1; i <= rules::kMaxLayouts && getName; ++i) {
      char name[8], value[16] = {};
      std::snprintf(name, sizeof name, "%d", i);
      DWORD size = sizeof value - 1, type = 0;
      if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS) break;
      if (lstrcmpiA(value, "00000411") != 0 || !tsfEntry_.empty()) continue;
      wchar_t first[128] = {};
      const int count = getName(static_cast<LANGID>(rules::kJapaneseLanguage), first, 128);
      if (count <= 0) continue;
      first[127] = L'\0';
      tsfEntry_ = rules::TextServiceEntry(Narrow(932, first), count);
      current_ = rules::StartImeName(current_, tsfEntry_);
      starting_ = rules::StartImeName(starting_, tsfEntry_);
      const auto index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Sjis(tsfEntry_.c_str()).c_str()));
      if (current_ == tsfEntry_) SendMessageW(combo, CB_SETCURSEL, index, 0);
    }
    if (library) FreeLibrary(library);
    RegCloseKey(key);
  }

  struct Entry {
    std::string description, file;
  };
  SheetValues& v_;
  std::string current_, starting_, tsfEntry_;
  std::vector<Entry> entries_;
};

// ---- the voice ----
constexpr int kVolumeSlider = 1010, kSpeedSlider = 1011, kPitchSlider = 1013;
constexpr int kVolumeEdit = 1015, kSpeedEdit = 1019, kPitchEdit = 1022;
constexpr int kFemale = 108, kMale = 109, kReadTest = 1027, kSampleStatic = 1026, kDefaults = 1033;
constexpr UINT_PTR kTestTimer = 1;

class CVoiceSetDlg final : public SheetPage {
 public:
  CVoiceSetDlg(const fw::Module& module, SheetValues& v) : SheetPage(module, rules::kVoicePage), v_(v) {}
  ~CVoiceSetDlg() override {
    if (font_) DeleteObject(font_);
  }

 protected:
  bool OnInitDialog() override {
    speaker_ = v_.speaker == 1 ? 1 : 0;
    const struct {
      int slider;
      const rules::VoiceRange& range;
      int value;
    } rows[] = {{kVolumeSlider, rules::kVolumeRange, v_.volume},
                {kSpeedSlider, rules::kSpeedRange, v_.rate},
                {kPitchSlider, rules::kPitchRange, v_.pitch}};
    for (const auto& r : rows) {
      SendDlgItemMessageW(hwnd(), r.slider, TBM_SETRANGE, TRUE, MAKELPARAM(r.range.min, r.range.max));
      Show(r.slider, rules::StartValue(r.value, r.range));
    }
    CheckRadioButton(hwnd(), kFemale, kMale, speaker_ == 1 ? kMale : kFemale);
    font_ = CreateFontW(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, HANGEUL_CHARSET, 0, 0, 0, 0, L"KS Mincho");
    SetDlgItemTextW(hwnd(), kSampleStatic, reinterpret_cast<const wchar_t*>(rules::kVoiceSample));
    SendDlgItemMessageW(hwnd(), kSampleStatic, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    return SheetPage::OnInitDialog();
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_HSCROLL: {
        const int slider = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        Show(slider, Position(slider));
        return true;
      }
      case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(hwnd(), kSampleStatic)) {
          SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
          result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
          return true;
        }
        break;
      case WM_TIMER:
        if (wParam == kTestTimer) StopTest();
        return true;
      case WM_DESTROY:
        StopTest();
        break;
      case WM_COMMAND: {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (code == EN_KILLFOCUS && (id == kVolumeEdit || id == kSpeedEdit || id == kPitchEdit)) {
          CheckEdit(id);
          return true;
        }
        if ((id == kFemale || id == kMale) && code == BN_CLICKED) {
          SetSpeaker(id == kMale ? 1 : 0);
          return true;
        }
        if (id == kDefaults && code == BN_CLICKED) {
          Show(kVolumeSlider, 100);
          Show(kSpeedSlider, 100);
          Show(kPitchSlider, 100);
          CheckRadioButton(hwnd(), kFemale, kMale, kFemale);
          SetSpeaker(0);
          return true;
        }
        if (id == kReadTest && code == BN_CLICKED) {
          if (playing_) StopTest();
          else StartTest();
          return true;
        }
        break;
      }
      default: break;
    }
    return SheetPage::OnMessage(message, wParam, lParam, result);
  }

  bool OnKillActive() override {
    // A box still holding a refused number is put right before leaving.
    for (int edit : {kVolumeEdit, kSpeedEdit, kPitchEdit}) CheckEdit(edit);
    return true;
  }

  bool OnApply() override {
    StopTest();
    v_.speaker = speaker_;
    v_.volume = Position(kVolumeSlider);
    v_.rate = Position(kSpeedSlider);
    v_.pitch = Position(kPitchSlider);
    settings::SaveVoiceSettings(v_.speaker, v_.volume, v_.rate, v_.pitch, 1);
    return true;
  }

 private:
  static int EditOf(int slider) {
    return slider == kVolumeSlider ? kVolumeEdit : slider == kSpeedSlider ? kSpeedEdit : kPitchEdit;
  }
  static int SliderOf(int edit) {
    return edit == kVolumeEdit ? kVolumeSlider : edit == kSpeedEdit ? kSpeedSlider : kPitchSlider;
  }
  static const rules::VoiceRange& RangeOf(int edit) {
    return edit == kVolumeEdit ? rules::kVolumeRange : edit == kSpeedEdit ? rules::kSpeedRange : rules::kPitchRange;
  }
  int Position(int slider) const {
    return static_cast<int>(SendDlgItemMessageW(hwnd(), slider, TBM_GETPOS, 0, 0));
  }
  void Show(int slider, int value) {
    SendDlgItemMessageW(hwnd(), slider, TBM_SETPOS, TRUE, value);
    SetDlgItemInt(hwnd(), EditOf(slider), static_cast<UINT>(value), TRUE);
  }
  void SetSpeaker(int speaker) {
    speaker_ = speaker;
    const int pitch = rules::StartValue(Position(kPitchSlider), rules::kPitchRange);
    SendDlgItemMessageW(hwnd(), kPitchSlider, TBM_SETRANGE, TRUE,
                        MAKELPARAM(rules::kPitchRange.min, rules::kPitchRange.max));
    Show(kPitchSlider, pitch);
  }
  void CheckEdit(int edit) {
    // The message box takes the focus from the box: no second check meanwhile.
    if (checking_) return;
    checking_ = true;
    wchar_t text[32] = {};
    GetDlgItemTextW(hwnd(), edit, text, 32);
    const rules::VoiceRange& range = RangeOf(edit);
    if (auto v = rules::AcceptEntry(Narrow(932, text), range)) {
      SendDlgItemMessageW(hwnd(), SliderOf(edit), TBM_SETPOS, TRUE, *v);
    } else {
      MessageBoxW(hwnd(), Sjis(rules::RangeMessage(range).c_str()).c_str(), Sjis(range.caption).c_str(),
                  MB_OK | MB_ICONWARNING);
      SetDlgItemInt(hwnd(), edit, static_cast<UINT>(Position(SliderOf(edit))), TRUE);
    }
    checking_ = false;
  }
  void StartTest() {
    if (!v_.speech) return;
    // The sentence in KS code (code page 949).
    const std::string ks = Narrow(949, reinterpret_cast<const wchar_t*>(rules::kVoiceSample));
    const int r = v_.speech->SpeakToWaveFile(ks.c_str(), v_.wavPath.c_str(), speaker_, Position(kVolumeSlider),
                                             Position(kSpeedSlider), Position(kPitchSlider));
    if (r == 1 || r == 2) return;
    if (r == 3) {
      MessageBoxW(hwnd(), L"韓国語音声合成に失敗しました", L"DAL-MOK", MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    playing_ = true;
    SetDlgItemTextW(hwnd(), kReadTest, L"停止");
    const int32_t length = v_.speech->GetWaveDurationMs(v_.wavPath.c_str());
    SetFileAttributesA(v_.wavPath.c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetTimer(hwnd(), kTestTimer, static_cast<UINT>(length > 0 ? length : 1), nullptr);
    PlaySoundA(v_.wavPath.c_str(), nullptr, SND_ASYNC | SND_FILENAME);
  }
  void StopTest() {
    if (!playing_) return;
    KillTimer(hwnd(), kTestTimer);
    PlaySoundA(nullptr, nullptr, SND_ASYNC);
    SetFileAttributesA(v_.wavPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(v_.wavPath.c_str());
    playing_ = false;
    if (hwnd()) SetDlgItemTextW(hwnd(), kReadTest, L"朗読");
  }

  SheetValues& v_;
  int speaker_ = 0;
  bool checking_ = false, playing_ = false;
  HFONT font_ = nullptr;
};

// ---- the dictionary program ----
class CDicMode final : public SheetPage {
 public:
  CDicMode(const fw::Module& module, SheetValues& v)
      : SheetPage(module, rules::kDictionaryPage), v_(v), method_(v.searchMethod), window_(v.newWindow) {}

 protected:
  void DoDataExchange(fw::DataExchange& dx) override {
    dx.Radio(1028, 3, method_);
    dx.Radio(1031, 2, window_);
  }
  bool OnApply() override {
    v_.searchMethod = method_ < 0 ? 0 : method_;
    v_.newWindow = window_ < 0 ? 0 : window_;
    return true;
  }

 private:
  SheetValues& v_;
  int method_, window_;
};

// ---- the fonts ----
constexpr int kKoreanFaces = 277, kKoreanSizes = 1025, kJapaneseFaces = 283, kJapaneseSizes = 1026;
constexpr int kKoreanSample = 280, kJapaneseSample = 285;

class CFontSetDlg final : public SheetPage {
 public:
  CFontSetDlg(const fw::Module& module, SheetValues& v) : SheetPage(module, rules::kFontPage), v_(v) {}
  ~CFontSetDlg() override {
    for (auto* side : {&korean_, &japanese_})
      if (side->sample) DeleteObject(side->sample);
  }

 protected:
  bool OnInitDialog() override {
    HDC dc = GetDC(hwnd());
    dpi_ = GetDeviceCaps(dc, LOGPIXELSY);
    korean_.slot = rules::KoreanSlot(v_.codeMode);
    japanese_.slot = rules::kSlotJapanese;
    for (Side* side : {&korean_, &japanese_}) {
      side->stored = rules::ReadFontSetting(settings::SystemSettings(), side->slot, kCaption);
      side->height = side->stored.font.lfHeight;
    }
    korean_.faceList = kKoreanFaces, korean_.sizeList = kKoreanSizes, korean_.sampleId = kKoreanSample;
    japanese_.faceList = kJapaneseFaces, japanese_.sizeList = kJapaneseSizes, japanese_.sampleId = kJapaneseSample;
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &all, reinterpret_cast<FONTENUMPROCW>(EnumFace), reinterpret_cast<LPARAM>(this), 0);
    ReleaseDC(hwnd(), dc);
    for (Side* side : {&korean_, &japanese_}) {
      const std::wstring stored = Sjis(side->stored.font.lfFaceName);
      int index = FindFace(*side, stored);
      if (index < 0) index = FindFace(*side, L"FixedSys");
      if (index < 0 && !side->faces.empty()) index = 0;
      if (index >= 0) SendDlgItemMessageW(hwnd(), side->faceList, LB_SETCURSEL, index, 0);
      FillSizes(*side, true);
    }
    return SheetPage::OnInitDialog();
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_COMMAND) {
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      for (Side* side : {&korean_, &japanese_}) {
        if (id == side->faceList && code == LBN_SELCHANGE) {
          FillSizes(*side, false);
          return true;
        }
        if (id == side->sizeList && code == CBN_SELCHANGE) {
          SizeChosen(*side);
          return true;
        }
      }
    }
    return SheetPage::OnMessage(message, wParam, lParam, result);
  }

  bool OnApply() override {
    for (Side* side : {&korean_, &japanese_}) {
      const Face* face = Current(*side);
      if (!face) continue;
      settings::FontRecord record{};
      record.lfHeight = side->height;
      record.lfWeight = 400;
      record.lfCharSet = face->charset;
      record.lfPitchAndFamily = face->pitchAndFamily;
      settings::CutFaceName(Narrow(932, face->name).c_str(), record.lfFaceName);
      rules::WriteFontSetting(settings::SystemSettings(), record, static_cast<int>(face->fontType), side->slot,
                              kCaption);
    }
    return true;
  }

 private:
  struct Face {
    std::wstring name;
    BYTE charset = 0, pitchAndFamily = 0;
    DWORD fontType = 0;
    std::vector<int> rasterHeights;
  };
  struct Side {
    int slot = 0, faceList = 0, sizeList = 0, sampleId = 0;
    rules::FontSetting stored;
    std::vector<Face> faces;  // in the list's order
    std::vector<int> sizes;   // points, in the size list's order
    int height = 0;
    HFONT sample = nullptr;
  };

  static int CALLBACK EnumFace(const LOGFONTW* lf, const TEXTMETRICW* tm, DWORD fontType, LPARAM self) {
    auto& page = *reinterpret_cast<CFontSetDlg*>(self);
    const std::u16string_view name(reinterpret_cast<const char16_t*>(lf->lfFaceName));
    if (rules::KoreanFaceListed(name, fontType, page.v_.codeMode)) page.AddFace(page.korean_, *lf, *tm, fontType);
    if (rules::JapaneseFaceListed(name, fontType, lf->lfCharSet)) page.AddFace(page.japanese_, *lf, *tm, fontType);
    return 1;
  }
  void AddFace(Side& side, const LOGFONTW& lf, const TEXTMETRICW& tm, DWORD fontType) {
    for (Face& f : side.faces)
      if (f.name == lf.lfFaceName) {
        if (fontType & RASTER_FONTTYPE) f.rasterHeights.push_back(tm.tmHeight - tm.tmInternalLeading);
        return;
      }
    Face f{lf.lfFaceName, lf.lfCharSet, lf.lfPitchAndFamily, fontType, {}};
    if (fontType & RASTER_FONTTYPE) f.rasterHeights.push_back(tm.tmHeight - tm.tmInternalLeading);
    side.faces.push_back(f);
    SendDlgItemMessageW(hwnd(), side.faceList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lf.lfFaceName));
  }
  int FindFace(const Side& side, const std::wstring& name) const {
    const auto index = SendDlgItemMessageW(hwnd(), side.faceList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(name.c_str()));
    return index == LB_ERR ? -1 : static_cast<int>(index);
  }
  const Face* Current(const Side& side) const {
    const auto index = SendDlgItemMessageW(hwnd(), side.faceList, LB_GETCURSEL, 0, 0);
    if (index < 0) return nullptr;
    wchar_t name[LF_FACESIZE + 1] = {};
    if (SendDlgItemMessageW(hwnd(), side.faceList, LB_GETTEXTLEN, index, 0) > LF_FACESIZE) return nullptr;
    SendDlgItemMessageW(hwnd(), side.faceList, LB_GETTEXT, index, reinterpret_cast<LPARAM>(name));
    for (const Face& f : side.faces)
      if (f.name == name) return &f;
    return nullptr;
  }
  void FillSizes(Side& side, bool keepStored) {
    HWND list = GetDlgItem(hwnd(), side.sizeList);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    const Face* face = Current(side);
    side.sizes = face ? rules::FaceSizes((face->fontType & RASTER_FONTTYPE) != 0, face->rasterHeights, dpi_)
                      : std::vector<int>{};
    const int want = rules::RasterPoints(side.height, dpi_);
    int chosen = 0;
    for (size_t i = 0; i < side.sizes.size(); ++i) {
      wchar_t text[16];
      swprintf(text, 16, L"%3d", side.sizes[i]);
      SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
      if (side.sizes[i] == want) chosen = static_cast<int>(i);
    }
    if (!side.sizes.empty()) {
      SendMessageW(list, CB_SETCURSEL, chosen, 0);
      if (!keepStored || side.sizes[static_cast<size_t>(chosen)] != want)
        side.height = rules::HeightOfSize(side.sizes[static_cast<size_t>(chosen)], dpi_);
    }
    DrawSample(side);
  }
  void SizeChosen(Side& side) {
    const auto index = SendDlgItemMessageW(hwnd(), side.sizeList, CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<size_t>(index) >= side.sizes.size()) return;
    side.height = rules::HeightOfSize(side.sizes[static_cast<size_t>(index)], dpi_);
    DrawSample(side);
  }
  void DrawSample(Side& side) {
    const Face* face = Current(side);
    if (side.sample) DeleteObject(side.sample);
    side.sample = nullptr;
    HWND sample = GetDlgItem(hwnd(), side.sampleId);
    if (face) {
      LOGFONTW lf{};
      lf.lfHeight = side.height;
      lf.lfWeight = FW_NORMAL;
      lf.lfCharSet = face->charset;
      lf.lfPitchAndFamily = face->pitchAndFamily;
      lstrcpynW(lf.lfFaceName, face->name.c_str(), LF_FACESIZE);
      side.sample = CreateFontIndirectW(&lf);
      SendMessageW(sample, WM_SETFONT, reinterpret_cast<WPARAM>(side.sample), FALSE);
    }
    if (&side == &japanese_) {
      SetWindowTextW(sample, reinterpret_cast<const wchar_t*>(rules::kJapaneseSample));
    } else if (v_.codeMode == 1) {
      SetWindowTextW(sample, reinterpret_cast<const wchar_t*>(rules::kKoreanSample));
    } else {
      // GM faces are Shift-JIS faces holding Hangul in GM code.
      SetWindowTextA(sample, v_.gmSample.c_str());
    }
    InvalidateRect(sample, nullptr, TRUE);
  }

  SheetValues& v_;
  int dpi_ = 96;
  Side korean_, japanese_;
};

class CPSheet final : public fw::PropSheet {
 public:
  CPSheet(const fw::Module& module, SheetValues& v)
      : PropSheet(module, L"環境設定"), ime_(module, v), voice_(module, v), dic_(module, v), font_(module, v) {
    SetHelpButton(true);
    AddPage(ime_);
    if (v.speech) AddPage(voice_);
    AddPage(dic_);
    AddPage(font_);
  }

 private:
  CJIMESet_Dlg ime_;
  CVoiceSetDlg voice_;
  CDicMode dic_;
  CFontSetDlg font_;
};

}  // namespace

INT_PTR RunSettingsSheet(const fw::Module& module, HWND parent, SheetValues& values) {
  CPSheet sheet(module, values);
  return sheet.DoModal(parent);
}

}  // namespace dalmok
