// The input method's copy of the SEdit control: three controls of 128 bytes,
// registered at process attach; input-method results are read as UTF-16
// while the input method runs its Unicode interface.
#include "ime_state.h"
#include "sedit_window.h"

namespace ime {
namespace {

class ImeSEditHost final : public sedit::SEditHost {
 public:
  bool ImeUnicodeInterface() const override { return Module().settings.Unicode(); }
};

sedit::StaticTable<sedit::kImeVariant> g_seditTable;
ImeSEditHost g_seditHost;

}  // namespace

bool RegisterSEdit(HINSTANCE instance) {
  return sedit::RegisterSEditClass(instance, g_seditTable.table, g_seditHost) != 0;
}

void UnregisterSEdit(HINSTANCE instance) { sedit::UnregisterSEditClass(instance); }

}  // namespace ime
