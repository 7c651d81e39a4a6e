// The voice dialog (148) and the input-system dialog (159) of the dictionary,
// and the keyboard layout named by an input-method setting.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "dialog.h"
#include "settings.h"

namespace ombrel::win {

class VoiceSettingsDialog : public fw::Dialog {
 public:
  explicit VoiceSettingsDialog(const fw::Module& module) : Dialog(module, IDD) {}
  static constexpr unsigned IDD = 148;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void SetValue(int slider, int edit, int value);
  void CheckEdit(int edit);
  void CheckEditNow(int edit);
  void StopTest();
  int speaker_ = 0, volume_ = 100, speed_ = 100, pitch_ = 100;
  bool playing_ = false;
  bool checking_ = false;
  HWND testEdit_ = nullptr;
  HFONT testFont_ = nullptr;
};

// The layout of an input-method setting: the text-service names give the
// language's own layout, an IME file name the installed layout of that file
// (compared without case); null when none is installed.
HKL FindLayoutFor(const std::string& setting, int direction);

class InputSystemDialog : public fw::Dialog {
 public:
  InputSystemDialog(const fw::Module& module, const DictionarySettings& s);
  void Apply(DictionarySettings& s) const;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  struct Choice {
    std::string file;         // IME file name or the text-service setting
    std::string description;  // bytes of the list's code page
  };
  void Fill(int combo, int direction);
  void Pick(int combo, int direction);
  std::vector<Choice> choices_[2];
  Choice chosen_[2];
};

}  // namespace ombrel::win
