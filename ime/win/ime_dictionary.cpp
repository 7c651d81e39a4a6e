// The input method's hanja dictionary: opened at process attach from the
// path of the "DicPathName" setting, or by default from the program folder's
// "SYSDIC\GmV6KS.dic" (KS edition) or "SYSDIC\GmV6.dic" (GM edition), and
// handed to the engine for the hanja conversion.
#include <memory>

#include "dic_engine.h"
#include "dic_hanja.h"
#include "ime_state.h"

namespace ime {

namespace {

struct ImeDictionary {
  std::unique_ptr<dic::DicEngine> engine;
  std::unique_ptr<DicHanjaDictionary> hanja;
};

ImeDictionary& Dictionary() {
  static ImeDictionary d;
  return d;
}

}  // namespace

void OpenImeDictionary(ImeModule& m) {
  ImeDictionary& d = Dictionary();
  // A process in the browser's protected mode uses the read-only slot.
  d.engine = std::make_unique<dic::DicEngine>(PlatformBlockFiles(), m.feedback, m.config.protectedMode ? 1 : 0);
  // A failure has been reported and conversion then beeps; a file that
  // another process held is opened again at the next access.
  d.engine->DicOpen(m.config.dictionaryPath);
  d.hanja = std::make_unique<DicHanjaDictionary>(*d.engine);
  if (m.engine) m.engine->SetDictionary(d.hanja.get());
}

dic::DicEngine* ImeDictionaryEngine() { return Dictionary().engine.get(); }
bool ReopenImeDictionary(ImeModule&, const std::string& path) {
  ImeDictionary& d = Dictionary();
  if (!d.engine) return false;  // before attach or after detach
  d.engine->DicEndAccess();
  d.engine->DicInvalidate();
  return d.engine->DicOpen(path) == 0;
}

void ReleaseImeDictionary(ImeModule& m) {
  if (m.engine) m.engine->SetDictionary(nullptr);
  ImeDictionary& d = Dictionary();
  d.hanja.reset();
  d.engine.reset();
}

}  // namespace ime
