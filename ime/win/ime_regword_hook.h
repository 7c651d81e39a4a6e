// The one place where the settings open the word registration dialog
// (dialog 101, "辞書編集"): ImeConfigure's IME_CONFIG_REGISTERWORD mode, with
// the application's REGISTERWORD, and the dictionary page's "辞書編集"
// button, without one.
#pragma once
#include <windows.h>

namespace ime {

// Runs the word registration dialog modally, owned by owner; registerWord is
// the REGISTERWORD given to ImeConfigure (null: empty fields). TRUE when the
// dialog was shown.
BOOL ConfigureRegisterWord(HWND owner, const void* registerWord);

}  // namespace ime
