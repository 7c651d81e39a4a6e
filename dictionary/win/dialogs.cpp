#include "dialogs.h"

#include <commctrl.h>
#include <imm.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>

#include "ombrel_app.h"
#include "ombrel_resource.h"

namespace ombrel::win {

// ---- voice ----

namespace {

constexpr wchar_t kTestSentence[] = L"이것은 한국어음성의 테스트입니다.";
constexpr UINT_PTR kTestTimer = 1;

VoiceRange RangeOf(int edit) {
  if (edit == IDC_VOLUME_EDIT) return kVolumeRange;
  if (edit == IDC_SPEED_EDIT) return kSpeedRange;
  return kPitchRange;
}
int SliderOf(int edit) {
  if (edit == IDC_VOLUME_EDIT) return IDC_VOLUME_SLIDER;
  if (edit == IDC_SPEED_EDIT) return IDC_SPEED_SLIDER;
  return IDC_PITCH_SLIDER;
}
const wchar_t* CaptionOf(int edit) {
  if (edit == IDC_VOLUME_EDIT) return L"ボリューム";
  if (edit == IDC_SPEED_EDIT) return L"スピード";
  return L"ピッチ";
}

}  // namespace

void VoiceSettingsDialog::SetValue(int slider, int edit, int value) {
  SendDlgItemMessageW(hwnd(), slider, TBM_SETPOS, TRUE, value);
  SetDlgItemInt(hwnd(), edit, static_cast<UINT>(value), FALSE);
}

bool VoiceSettingsDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  const AppState& a = App();
  speaker_ = a.speaker;
  volume_ = HoldToRange(a.volume, kVolumeRange);
  speed_ = HoldToRange(a.rate, kSpeedRange);
  pitch_ = HoldToRange(a.pitch, kPitchRange);
  SendDlgItemMessageW(hwnd(), IDC_VOLUME_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(kVolumeRange.low, kVolumeRange.high));
  SendDlgItemMessageW(hwnd(), IDC_SPEED_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(kSpeedRange.low, kSpeedRange.high));
  SendDlgItemMessageW(hwnd(), IDC_PITCH_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(kPitchRange.low, kPitchRange.high));
  SetValue(IDC_VOLUME_SLIDER, IDC_VOLUME_EDIT, volume_);
  SetValue(IDC_SPEED_SLIDER, IDC_SPEED_EDIT, speed_);
  SetValue(IDC_PITCH_SLIDER, IDC_PITCH_EDIT, pitch_);
  CheckRadioButton(hwnd(), IDC_FEMALE, IDC_MALE, speaker_ == 1 ? IDC_MALE : IDC_FEMALE);
  RECT frame{};
  GetWindowRect(GetDlgItem(hwnd(), IDC_TEST_FRAME), &frame);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&frame), 2);
  const int h = frame.bottom - frame.top;
  testFont_ = CreateFontW(-(h * 3 / 7), 0, 0, 0, FW_NORMAL, 0, 0, 0, HANGEUL_CHARSET, 0, 0, 0, 0, L"KS P Gothic");
  testEdit_ = CreateWindowExW(0, L"EDIT", kTestSentence, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, frame.left + 6,
                              frame.top + h / 4, frame.right - frame.left - 12, h * 2 / 3, hwnd(), nullptr,
                              module().handle(), nullptr);
  SendMessageW(testEdit_, WM_SETFONT, reinterpret_cast<WPARAM>(testFont_), TRUE);
  return true;
}

void VoiceSettingsDialog::CheckEdit(int edit) {
  // The box takes the focus itself: no second check while it is open.
  if (checking_) return;
  checking_ = true;
  CheckEditNow(edit);
  checking_ = false;
}

void VoiceSettingsDialog::CheckEditNow(int edit) {
  BOOL ok = FALSE;
  const int v = static_cast<int>(GetDlgItemInt(hwnd(), edit, &ok, TRUE));
  const VoiceRange r = RangeOf(edit);
  if (!ok || v < r.low || v > r.high) {
    wchar_t text[96];
    swprintf(text, 96, L"%d-%dの範囲で値を設定してください。", r.low, r.high);
    MessageBoxW(hwnd(), text, CaptionOf(edit), MB_ICONWARNING);
    SetDlgItemInt(hwnd(), edit, static_cast<UINT>(SendDlgItemMessageW(hwnd(), SliderOf(edit), TBM_GETPOS, 0, 0)),
                  FALSE);
    return;
  }
  SendDlgItemMessageW(hwnd(), SliderOf(edit), TBM_SETPOS, TRUE, v);
}

void VoiceSettingsDialog::StopTest() {
  KillTimer(hwnd(), kTestTimer);
  PlaySoundW(nullptr, nullptr, 0);
  playing_ = false;
  SetDlgItemTextW(hwnd(), IDC_READ_TEST, L"朗読");
}

void VoiceSettingsDialog::OnOK() {
  AppState& a = App();
  a.speaker = IsDlgButtonChecked(hwnd(), IDC_MALE) == BST_CHECKED ? 1 : 0;
  a.volume = static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_VOLUME_SLIDER, TBM_GETPOS, 0, 0));
  a.rate = static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_SPEED_SLIDER, TBM_GETPOS, 0, 0));
  a.pitch = static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_PITCH_SLIDER, TBM_GETPOS, 0, 0));
  EndDialog(IDOK);
}

bool VoiceSettingsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_HSCROLL: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      const int edit = id == IDC_VOLUME_SLIDER ? IDC_VOLUME_EDIT : id == IDC_SPEED_SLIDER ? IDC_SPEED_EDIT : IDC_PITCH_EDIT;
      SetDlgItemInt(hwnd(), edit, static_cast<UINT>(SendMessageW(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0)),
                    FALSE);
      return true;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      if (code == EN_KILLFOCUS && (id == IDC_VOLUME_EDIT || id == IDC_SPEED_EDIT || id == IDC_PITCH_EDIT)) {
        CheckEdit(id);
        return true;
      }
      if (id == IDC_FEMALE || id == IDC_MALE) {
        speaker_ = id == IDC_MALE ? 1 : 0;
        const int p = static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_PITCH_SLIDER, TBM_GETPOS, 0, 0));
        SendDlgItemMessageW(hwnd(), IDC_PITCH_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(kPitchRange.low, kPitchRange.high));
        SetValue(IDC_PITCH_SLIDER, IDC_PITCH_EDIT, HoldToRange(p, kPitchRange));
        return true;
      }
      if (id == IDC_DEFAULTS) {
        SetValue(IDC_VOLUME_SLIDER, IDC_VOLUME_EDIT, 100);
        SetValue(IDC_SPEED_SLIDER, IDC_SPEED_EDIT, 100);
        SetValue(IDC_PITCH_SLIDER, IDC_PITCH_EDIT, 100);
        CheckRadioButton(hwnd(), IDC_FEMALE, IDC_MALE, IDC_FEMALE);
        speaker_ = 0;
        return true;
      }
      if (id == IDC_READ_TEST) {
        if (playing_) {
          StopTest();
          return true;
        }
        const std::string ks = Bytes(949, kTestSentence);
        const int r = Speech().SpeakToWaveFile(
            ks.c_str(), App().speechFile.c_str(), IsDlgButtonChecked(hwnd(), IDC_MALE) == BST_CHECKED ? 1 : 0,
            static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_VOLUME_SLIDER, TBM_GETPOS, 0, 0)),
            static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_SPEED_SLIDER, TBM_GETPOS, 0, 0)),
            static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_PITCH_SLIDER, TBM_GETPOS, 0, 0)));
        if (r == speech::kSpeakNoThread) {
          MessageBoxW(hwnd(), L"韓国語音声合成に失敗しました", L"韓日・日韓辞典", MB_ICONWARNING);
        } else if (r == speech::kSpeakOk) {
          // The file's whole length, measured in 64 bits.
          const auto info = speech::ReadWaveFileInfo(App().speechFile.c_str());
          const int ms = info ? speech::RiffDurationMs(info->header, 1) : 0;
          SetDlgItemTextW(hwnd(), IDC_READ_TEST, L"停止");
          playing_ = true;
          SetTimer(hwnd(), kTestTimer, static_cast<UINT>(ms > 0 ? ms : 1), nullptr);
          PlaySoundA(App().speechFile.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
        }
        return true;
      }
      break;
    }
    case WM_TIMER:
      if (wParam == kTestTimer) StopTest();
      return true;
    case WM_DESTROY:
      if (playing_) StopTest();
      if (testFont_ != nullptr) DeleteObject(testFont_);
      testFont_ = nullptr;
      break;
    default:
      break;
  }
  return Dialog::OnMessage(message, wParam, lParam, result);
}

// ---- input system ----

namespace {

std::string ImeFileOf(HKL layout) {
  char file[MAX_PATH]{};
  const UINT n = ImmGetIMEFileNameA(layout, file, sizeof file);
  return std::string(file, n < sizeof file ? n : 0);
}

std::string ImeDescriptionOf(HKL layout) {
  char text[64]{};
  const UINT n = ImmGetDescriptionA(layout, text, 50);
  return std::string(text, n < 50 ? n : 49);
}

std::vector<HKL> InstalledLayouts() {
  HKL layouts[100];
  const int n = GetKeyboardLayoutList(100, layouts);
  return std::vector<HKL>(layouts, layouts + (n > 0 ? n : 0));
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
  const size_t n = std::strlen(prefix);
  return s.size() >= n && _strnicmp(s.c_str(), prefix, n) == 0;
}

using GetTsfNameFn = int(WINAPI*)(LANGID, wchar_t*, int);

// "TSF:" and the first text service of a language from ZebTsfName.dll.
std::string TsfEntry(LANGID language, unsigned codePage) {
  HMODULE dll = LoadLibraryA((App().programFolder + "ZebTsfName.dll").c_str());
  if (dll == nullptr) return {};
  std::string entry;
  if (auto fn = reinterpret_cast<GetTsfNameFn>(reinterpret_cast<void*>(GetProcAddress(dll, "GetTsfName")))) {
    wchar_t name[128]{};
    const int count = fn(language, name, 128);
    name[127] = 0;
    if (count > 0) {
      std::string bytes = Bytes(codePage, name);
      if (bytes.size() > 246) bytes.resize(246);
      entry = "TSF:" + bytes + (count > 1 ? " etc." : "");
    }
  }
  FreeLibrary(dll);
  return entry;
}

}  // namespace

HKL FindLayoutFor(const std::string& setting, int direction) {
  if (setting == kJapaneseTsf) return reinterpret_cast<HKL>(static_cast<ULONG_PTR>(0x04110411));
  if (setting == kKoreanTsf) return reinterpret_cast<HKL>(static_cast<ULONG_PTR>(0x04120412));
  (void)direction;
  for (HKL layout : InstalledLayouts()) {
    const std::string file = ImeFileOf(layout);
    if (!file.empty() && _stricmp(file.c_str(), setting.c_str()) == 0) return layout;
  }
  return nullptr;
}

InputSystemDialog::InputSystemDialog(const fw::Module& module, const DictionarySettings& s)
    : Dialog(module, 159) {
  chosen_[0] = {s.japaneseIme, s.japaneseImeDescription};
  chosen_[1] = {s.koreanIme, s.koreanImeDescription};
}

void InputSystemDialog::Apply(DictionarySettings& s) const {
  s.japaneseIme = chosen_[0].file;
  s.japaneseImeDescription = chosen_[0].description;
  s.koreanIme = chosen_[1].file;
  s.koreanImeDescription = chosen_[1].description;
}

void InputSystemDialog::Fill(int combo, int direction) {
  const unsigned cp = direction == 1 ? 949 : 932;
  const WORD language = direction == 1 ? 0x0412 : 0x0411;
  std::vector<Choice>& list = choices_[direction];
  list.clear();
  for (HKL layout : InstalledLayouts()) {
    if (LOWORD(reinterpret_cast<ULONG_PTR>(layout)) != language) continue;
    const std::string file = ImeFileOf(layout);
    if (file.empty()) continue;
    const std::string description = ImeDescriptionOf(layout);
    if (direction == 0 && (StartsWithNoCase(description, "chinese") || StartsWithNoCase(description, "korean")))
      continue;
    list.push_back({file, description});
  }
  // Text services of the language among the preloaded layouts.
  HKEY preload = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Keyboard Layout\\Preload", 0, KEY_READ, &preload) == ERROR_SUCCESS) {
    for (int i = 1; i <= 100; ++i) {
      char name[8], value[16]{};
      std::snprintf(name, sizeof name, "%d", i);
      DWORD size = sizeof value - 1, type = 0;
      if (RegQueryValueExA(preload, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS) break;
      const std::string v(value);
      const bool wanted = (direction == 1 && v == "00000412") || (direction == 0 && v == "00000411");
      if (!wanted) continue;
      const std::string entry = TsfEntry(language, cp);
      if (!entry.empty()) list.push_back({direction == 1 ? kKoreanTsf : kJapaneseTsf, entry});
      break;
    }
    RegCloseKey(preload);
  }
  HWND box = GetDlgItem(hwnd(), combo);
  for (size_t i = 0; i < list.size(); ++i) {
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(cp, list[i].description).c_str()));
    if (_stricmp(list[i].file.c_str(), chosen_[direction].file.c_str()) == 0)
      SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
  }
}

void InputSystemDialog::Pick(int combo, int direction) {
  const LRESULT i = SendDlgItemMessageW(hwnd(), combo, CB_GETCURSEL, 0, 0);
  if (i < 0 || static_cast<size_t>(i) >= choices_[direction].size()) return;
  chosen_[direction] = choices_[direction][static_cast<size_t>(i)];
}

bool InputSystemDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  Fill(IDC_JAPANESE_IME, 0);
  Fill(IDC_KOREAN_IME, 1);
  return true;
}

void InputSystemDialog::OnOK() { EndDialog(IDOK); }

bool InputSystemDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
    if (LOWORD(wParam) == IDC_JAPANESE_IME) Pick(IDC_JAPANESE_IME, 0);
    if (LOWORD(wParam) == IDC_KOREAN_IME) Pick(IDC_KOREAN_IME, 1);
    return true;
  }
  return Dialog::OnMessage(message, wParam, lParam, result);
}

}  // namespace ombrel::win
