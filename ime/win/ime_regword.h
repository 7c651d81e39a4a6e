// The register-word dialog (dialog 101, "辞書編集"): the entry by which the
// input method's own windows and ImeConfigure open it.
#pragma once
#include <windows.h>

#include "imm_ime.h"

namespace ime {

// Runs the register-word dialog modally, owned by owner. The conversion mode
// of context (null: none) decides in which mode the words are listed and
// registered. registerWord: the REGISTERWORD of ImeConfigure (UTF-16 under
// the Unicode interface, bytes of the code in use otherwise), whose reading
// and word the fields start with; null for empty fields. The status toolbar
// calls it with null, after determining the composition. In the browser's
// protected mode the dialog is refused with a message; while a register-word
// dialog is open already nothing happens. 1 when the dialog was shown.
int OpenWordRegistration(HWND owner, HIMC context, const void* registerWord = nullptr);

// The conversion mode of a context, 0 for none.
unsigned ContextConversionMode(HIMC context);

}  // namespace ime

extern "C" INT_PTR CALLBACK RegWordDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
