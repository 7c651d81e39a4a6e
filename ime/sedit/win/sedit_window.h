// The window layer of the SEdit control: the class "SEDIT_CLASS", its window
// procedure, painting, caret, clipboard and input-method results. The
// editing itself is the portable core (sedit_editor.h).
#pragma once
#include <windows.h>

#include "sedit_record.h"

namespace sedit {

extern const char kSEditClassName[];  // "SEDIT_CLASS"

// What the hosting program supplies: how the user is told, and (for the
// input method's copy) which interface the input method runs.
class SEditHost {
 public:
  virtual ~SEditHost() = default;
  virtual void Beep() { MessageBeep(0); }
  virtual void ShowMessage(const char* text, const char* caption) { MessageBoxA(nullptr, text, caption, MB_OK); }
  virtual bool ImeUnicodeInterface() const { return false; }
};

// Clears every record of the table and the module flags and registers the
// class for the module; returns the atom (0 on failure). One table per
// module: the table and the host must live as long as the class.
ATOM RegisterSEditClass(HINSTANCE instance, InstanceTable& table, SEditHost& host);
void UnregisterSEditClass(HINSTANCE instance);

LRESULT CALLBACK SEditWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace sedit
