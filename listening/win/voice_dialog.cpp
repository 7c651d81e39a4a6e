#include "voice_dialog.h"

#include <commctrl.h>

#include <cstdio>

#include "module.h"

namespace ferlin {

namespace {

enum : int {
  kFemale = 108, kMale = 109,
  kVolumeSlider = 1010, kSpeedSlider = 1011, kPitchSlider = 1012,
  kVolumeEdit = 1013, kSpeedEdit = 1014, kPitchEdit = 1015,
  kDefaults = 1016, kTest = 1017, kRepeatEdit = 1020, kRepeatSpin = 1021, kSentence = 1022,
};

constexpr wchar_t kTestSentence[] = L"이것은 한국어음성의 테스트입니다.";

void SetNumber(HWND dialog, int id, int value) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%d", value);
  SetDlgItemTextW(dialog, id, text);
}

std::string ItemText(HWND dialog, int id) {
  wchar_t text[32]{};
  GetDlgItemTextW(dialog, id, text, 32);
  return fw::ToCodePage(CP_UTF8, text);
}

void SetSlider(HWND dialog, int id, const VoiceRange& range, int value) {
  SendDlgItemMessageW(dialog, id, TBM_SETRANGE, TRUE, MAKELPARAM(range.min, range.max));
  SendDlgItemMessageW(dialog, id, TBM_SETPOS, TRUE, value);
}

}  // namespace

CVoiceSetDlg::CVoiceSetDlg(const fw::Module& module, const VoiceChoice& values, bool engineLoaded,
                           speech::SpeechEngineWrapper& wrapper, std::string wavPath)
    : fw::Dialog(module, 233), values_(OpenedVoiceChoice(values)), engineLoaded_(engineLoaded), wrapper_(wrapper),
      wavPath_(std::move(wavPath)) {
  test_ = std::make_unique<speech::RepeatPlayback>(speech::kVoiceTestRepeat, wrapper_, sound_, timer_);
  test_->SetEndHandler([this](speech::RepeatEnd why) {
    if (why == speech::RepeatEnd::kSynthesisFailed && test_->LastSpeakResult() == 3)
      MessageBoxW(hwnd(), L"韓国語音声合成に失敗しました", L"Velmora", MB_OK);
    playing_ = false;
    if (hwnd()) SetDlgItemTextW(hwnd(), kTest, L"朗読");
  });
}

CVoiceSetDlg::~CVoiceSetDlg() {
  if (hangeul_) DeleteObject(hangeul_);
}

void CVoiceSetDlg::ShowValues() {
  CheckRadioButton(hwnd(), kFemale, kMale, values_.speaker == 1 ? kMale : kFemale);
  SetSlider(hwnd(), kVolumeSlider, kVolumeRange, values_.volume);
  SetSlider(hwnd(), kSpeedSlider, kSpeedRange, values_.speed);
  SetSlider(hwnd(), kPitchSlider, PitchRange(values_.speaker), values_.pitch);
  SetNumber(hwnd(), kVolumeEdit, values_.volume);
  SetNumber(hwnd(), kSpeedEdit, values_.speed);
  SetNumber(hwnd(), kPitchEdit, values_.pitch);
  SetNumber(hwnd(), kRepeatEdit, values_.repeat);
}

bool CVoiceSetDlg::OnInitDialog() {
  timer_.SetWindow(hwnd());
  SendDlgItemMessageW(hwnd(), kRepeatSpin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(hwnd(), kRepeatEdit)), 0);
  SendDlgItemMessageW(hwnd(), kRepeatSpin, UDM_SETRANGE32, kRepeatRange.min, kRepeatRange.max);
  ShowValues();
  if (!engineLoaded_) {
    for (int id : {kFemale, kMale, kVolumeSlider, kSpeedSlider, kPitchSlider, kVolumeEdit, kSpeedEdit, kPitchEdit,
                   kRepeatSpin, kRepeatEdit})
      EnableWindow(GetDlgItem(hwnd(), id), FALSE);
  }
  LOGFONTW lf{};
  lf.lfCharSet = HANGEUL_CHARSET;
  hangeul_ = CreateFontIndirectW(&lf);
  SendDlgItemMessageW(hwnd(), kSentence, WM_SETFONT, reinterpret_cast<WPARAM>(hangeul_), FALSE);
  SetDlgItemTextW(hwnd(), kSentence, kTestSentence);
  return fw::Dialog::OnInitDialog();
}

void CVoiceSetDlg::CommitEdit(int edit) {
  struct Field {
    int edit, slider;
    const wchar_t* caption;
    int* value;
    VoiceRange range;
  } fields[] = {{kVolumeEdit, kVolumeSlider, L"ボリューム", &values_.volume, kVolumeRange},
                {kSpeedEdit, kSpeedSlider, L"スピード", &values_.speed, kSpeedRange},
                {kPitchEdit, kPitchSlider, L"ピッチ", &values_.pitch, PitchRange(values_.speaker)}};
  for (const Field& f : fields) {
    if (f.edit != edit) continue;
    const int slider = static_cast<int>(SendDlgItemMessageW(hwnd(), f.slider, TBM_GETPOS, 0, 0));
    const EditOutcome o = CommitVoiceEdit(ItemText(hwnd(), f.edit), f.range, slider);
    if (!o.message.empty()) {
      MessageBoxW(hwnd(), fw::FromCodePage(CP_UTF8, o.message).c_str(), f.caption, MB_OK | MB_ICONEXCLAMATION);
      SetNumber(hwnd(), f.edit, o.value);
    } else {
      SendDlgItemMessageW(hwnd(), f.slider, TBM_SETPOS, TRUE, o.value);
    }
    *f.value = o.value;
  }
}

void CVoiceSetDlg::CommitRepeat() {
  const EditOutcome o = CommitRepeatEdit(ItemText(hwnd(), kRepeatEdit));
  if (!o.message.empty()) {
    MessageBoxW(hwnd(), fw::FromCodePage(CP_UTF8, o.message).c_str(), L"読み上げ回数", MB_OK | MB_ICONEXCLAMATION);
    SetNumber(hwnd(), kRepeatEdit, o.value);
  }
  values_.repeat = o.value;
}

void CVoiceSetDlg::SetSpeaker(int speaker) {
  CheckRadioButton(hwnd(), kFemale, kMale, speaker == 1 ? kMale : kFemale);
  if (speaker == values_.speaker) return;
  values_.speaker = speaker;
  values_.pitch = PitchForSpeaker(values_.pitch, speaker);
  SetSlider(hwnd(), kPitchSlider, PitchRange(speaker), values_.pitch);
  SetNumber(hwnd(), kPitchEdit, values_.pitch);
}

void CVoiceSetDlg::StopTest() {
  if (test_->Active() || test_->SoundStarted()) test_->Stop();
  playing_ = false;
}

void CVoiceSetDlg::OnTest() {
  if (playing_) {
    StopTest();
    SetDlgItemTextW(hwnd(), kTest, L"朗読");
    return;
  }
  playing_ = true;
  SetDlgItemTextW(hwnd(), kTest, L"停止");
  const std::string ks = fw::ToCodePage(949, kTestSentence);
  test_->Start(ks.c_str(), wavPath_, speech::VoiceValues{values_.speaker, values_.volume, values_.speed, values_.pitch},
               values_.repeat);
}

void CVoiceSetDlg::OnOK() {
  StopTest();
  fw::Dialog::OnOK();
}

void CVoiceSetDlg::OnCancel() {
  StopTest();
  fw::Dialog::OnCancel();
}

bool CVoiceSetDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_HSCROLL: {
      HWND slider = reinterpret_cast<HWND>(lParam);
      const int id = slider ? GetDlgCtrlID(slider) : 0;
      const int pos = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
      if (id == kVolumeSlider) values_.volume = pos, SetNumber(hwnd(), kVolumeEdit, pos);
      else if (id == kSpeedSlider) values_.speed = pos, SetNumber(hwnd(), kSpeedEdit, pos);
      else if (id == kPitchSlider) values_.pitch = pos, SetNumber(hwnd(), kPitchEdit, pos);
      else break;
      result = 0;
      return true;
    }
    case WM_TIMER:
      if (wParam == timer_.id()) {
        test_->OnTimer();
        result = 0;
        return true;
      }
      break;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (code == EN_KILLFOCUS && (id == kVolumeEdit || id == kSpeedEdit || id == kPitchEdit)) {
        CommitEdit(id);
      } else if (code == EN_KILLFOCUS && id == kRepeatEdit) {
        CommitRepeat();
      } else if (code == BN_CLICKED && (id == kFemale || id == kMale)) {
        SetSpeaker(id == kMale ? 1 : 0);
      } else if (code == BN_CLICKED && id == kDefaults) {
        values_ = VoiceChoice{};
        ShowValues();
      } else if (code == BN_CLICKED && id == kTest) {
        OnTest();
      } else {
        break;
      }
      result = 0;
      return true;
    }
    case WM_DESTROY:
      StopTest();
      break;
    default: break;
  }
  return fw::Dialog::OnMessage(message, wParam, lParam, result);
}

}  // namespace ferlin
