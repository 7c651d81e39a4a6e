// User feedback seam: beeps and message boxes go through here so that the
// engine runs the same in native tests (which count them) and in the DLL.
#pragma once
#include <string>

namespace ime {

// MessageBeep types used by the engine.
constexpr unsigned kBeepDefault = 0;
constexpr unsigned kBeepExclamation = 0x30;  // MB_ICONEXCLAMATION
constexpr unsigned kMbIconExclamation = 0x30;
constexpr unsigned kMbTaskModal = 0x2000;

class UserFeedback {
 public:
  virtual ~UserFeedback() = default;
  virtual void Beep(unsigned type) = 0;
  // Text in the ANSI code page of the system (932); returns the button pressed.
  virtual int ShowMessage(const std::string& text, unsigned flags) = 0;
  // The same with a caption of its own.
  virtual int ShowCaptionedMessage(const std::string& text, const std::string& caption, unsigned flags) {
    (void)caption;
    return ShowMessage(text, flags);
  }
};

// Feedback that does nothing; for callers that have no user to tell.
class SilentFeedback final : public UserFeedback {
 public:
  void Beep(unsigned) override {}
  int ShowMessage(const std::string&, unsigned) override { return 1; }
};

}  // namespace ime
