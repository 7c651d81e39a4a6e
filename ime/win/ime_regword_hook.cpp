// The call point of the word registration dialog (see ime_regword_hook.h).
#include "ime_regword_hook.h"

#include "ime_regword.h"

namespace ime {

// Dialog 101 with the application's pair (or none), for the owner's context.
BOOL ConfigureRegisterWord(HWND owner, const void* registerWord) {
  HIMC context = owner ? ImmGetContext(owner) : nullptr;
  const int shown = OpenWordRegistration(owner, context, registerWord);
  if (context) ImmReleaseContext(owner, context);
  return shown != 0;
}

}  // namespace ime
