// The call point of the word registration dialog (see ime_regword_hook.h).
#include "ime_regword_hook.h"

namespace ime {

// JOIN: open dialog 101 here.
BOOL ConfigureRegisterWord(HWND, const void*) { return FALSE; }

}  // namespace ime
