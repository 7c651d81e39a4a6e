// One call each where attach hands over to parts that come with their own
// files: the GM code tables and the on-screen keyboard's layout.
#include "ime_state.h"

namespace ime {

// The GM V3 code tables among the resources, for the engine's code number 2.
void LoadImeCodeTables(ImeModule& m) {
  codeconv::LoadGmTables(m.instance, m.gmTables);
  if (m.engine) m.engine->SetGmTables(&m.gmTables);
}
// The on-screen keyboard takes its layout from the keyboard type of the
// settings whenever it draws, so nothing is kept here.
void SetGuideKeyboardLayout(int) {}

}  // namespace ime
