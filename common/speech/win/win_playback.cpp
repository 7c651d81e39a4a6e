#include "win_playback.h"

#include <mmsystem.h>

namespace speech {

bool SystemSound::PlayAsync(const std::string& path) {
  return PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

void SystemSound::StopAll() { PlaySoundA(nullptr, nullptr, 0); }

void SystemSound::HideFile(const std::string& path) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN); }

void SystemSound::RemoveFile(const std::string& path) {
  if (path.empty()) return;
  // A hidden file deletes as any other; one made read-only elsewhere would not.
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(path.c_str());
}

bool WindowTimer::Set(int milliseconds) {
  if (window_ == nullptr || milliseconds <= 0) return false;
  return SetTimer(window_, id_, static_cast<UINT>(milliseconds), nullptr) != 0;
}

void WindowTimer::Kill() {
  if (window_ != nullptr) KillTimer(window_, id_);
}

}  // namespace speech
