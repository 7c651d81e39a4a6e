// The companion programs of the input method: the launcher's program table
// and command, and what the UI window does with the tool-window messages of
// the lookup window, the translation workbench and the translation input pad
// (a reducer over the module's companion state that returns the platform
// steps to take, so that it runs the same in native tests).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ime_link.h"

namespace ime {

// Menu and command identifiers of the programs (menu 112 and the toolbar).
constexpr int kCmdEditor = 40005;
constexpr int kCmdConverter = 40006;
constexpr int kCmdCancel = 40007;
constexpr int kCmdWorkbench = 40008;
constexpr int kCmdNavigator = 40009;
constexpr int kCmdDictionary = 40010;
constexpr int kCmdPad = 40011;
constexpr int kCmdSimpleDictionary = 40012;
constexpr int kCmdPlayer = 40013;
constexpr int kCmdListening = 40014;

struct CompanionProgram {
  int id;
  const char* name;  // below the program folder, without ".EXE"
  bool numbers;      // gets the companion command line's three numbers
};
// The program of an id; null outside 40005-40014 and for 40007.
const CompanionProgram* FindCompanion(int id);

// What the launcher starts: program folder, name, ".EXE" (in double quotes),
// and for the programs that take them the three numbers when numbers is not
// null. Empty for an id that starts nothing.
std::string CompanionCommand(const std::string& programFolder, int id, const imelink::LaunchArguments* numbers);

// The collected text of the workbench and the pad: at most 511 bytes and
// the terminator. A character that does not fit is refused (never wrapped
// over what was collected).
class TransferBuffer {
 public:
  static constexpr size_t kSize = 512;
  // Appends one character (one byte when its second byte is 0). False when
  // it does not fit.
  bool Append(uint16_t character);
  const std::string& text() const { return text_; }
  void Clear() { text_.clear(); }

 private:
  std::string text_;
};

// Module-wide companion state. Handles are kept as integers.
struct CompanionState {
  uintptr_t target = 0;        // gets the focus back before text is committed
  uintptr_t savedContext = 0;  // receives committed text
  uintptr_t lookup = 0, workbench = 0, pad = 0;
  TransferBuffer transfer;
};

// What the platform knows at the moment a message arrives.
struct CompanionFacts {
  uintptr_t focus = 0;          // GetFocus()
  uintptr_t uiContextApp = 0;   // application window of the UI window's context, 0 without one
};

// The platform steps of one message, in order.
struct CompanionStep {
  enum Kind {
    kSetFocus,           // window
    kInsertLookupChar,   // context, character (GM95)
    kInsertText,         // context, text (in the code in use)
    kSendSelf,           // message, wParam to the UI window, synchronously
    kPostSelf,           // the same, posted
    kLookupClosed,       // when the status window exists: focus to window, refresh the toolbar
    kBeep,               // a character that did not fit
  } kind = kSetFocus;
  uintptr_t window = 0;
  uintptr_t context = 0;
  uint16_t character = 0;
  std::string text;
  unsigned message = 0;
  uintptr_t wParam = 0;
  bool operator==(const CompanionStep&) const = default;
};

// Handles WM_LOOKUP_CHAR, WM_WORKBENCH_CHAR or WM_PAD_CHAR.
std::vector<CompanionStep> OnCompanionMessage(CompanionState& state, unsigned message, uintptr_t wParam,
                                              uintptr_t lParam, const CompanionFacts& facts);

}  // namespace ime
