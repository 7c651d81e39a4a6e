// The read-aloud machine's sound, file and timer on the system: PlaySoundA
// with the WAV file's name (asynchronous), the file hidden and deleted, and
// timer 1 (or another id) of the owner's window.
#pragma once
#include <windows.h>

#include "repeat_playback.h"

namespace speech {

class SystemSound final : public SoundOutput {
 public:
  bool PlayAsync(const std::string& path) override;
  void StopAll() override;
  void HideFile(const std::string& path) override;
  void RemoveFile(const std::string& path) override;
};

class WindowTimer final : public RepeatTimer {
 public:
  explicit WindowTimer(UINT_PTR id = 1) : id_(id) {}
  void SetWindow(HWND window) { window_ = window; }
  UINT_PTR id() const { return id_; }
  bool Set(int milliseconds) override;
  void Kill() override;

 private:
  HWND window_ = nullptr;
  UINT_PTR id_;
};

}  // namespace speech
