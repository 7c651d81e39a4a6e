// CVoiceSetDlg (template 233, "音声設定"): speaker, volume, speed, pitch and
// repeat count with their sliders, edits and spin, 初期値, and 朗読, which
// reads a fixed Korean sentence with the dialog's values and repeats it.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "dialog.h"
#include "repeat_playback.h"
#include "voice_rules.h"
#include "win_playback.h"

namespace ferlin {

class CVoiceSetDlg final : public fw::Dialog {
 public:
  CVoiceSetDlg(const fw::Module& module, const VoiceChoice& values, bool engineLoaded,
               speech::SpeechEngineWrapper& wrapper, std::string wavPath);
  ~CVoiceSetDlg() override;
  const VoiceChoice& Values() const { return values_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void ShowValues();
  void CommitEdit(int edit);
  void CommitRepeat();
  void SetSpeaker(int speaker);
  void OnTest();
  void StopTest();

  VoiceChoice values_;
  bool engineLoaded_;
  speech::SpeechEngineWrapper& wrapper_;
  std::string wavPath_;
  speech::SystemSound sound_;
  speech::WindowTimer timer_{1};
  std::unique_ptr<speech::RepeatPlayback> test_;
  HFONT hangeul_ = nullptr;
  bool playing_ = false;
};

}  // namespace ferlin
