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

// "Install Directory" with a "\" after it, then "GeulmaruV6\".
std::string ProgramFolder() {
  std::string folder;
  ReadValue(HKEY_LOCAL_MACHINE, kSuiteKey, "Install Directory", folder);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder + "GeulmaruV6\\";
}

}  // namespace

void OpenImeDictionary(ImeModule& m) {
  std::string path = ReadRegistryString(m, "DicEnv", "DicPathName", "");
  if (path.empty()) {
    path = ProgramFolder() + (m.settings.koreanCode == 1 ? "SYSDIC\\GmV6KS.dic" : "SYSDIC\\GmV6.dic");
  }
  m.settings.learning = ReadRegistryString(m, "DicEnv", "Gakusyu", "ON").compare(0, 2, "ON") == 0;

  ImeDictionary& d = Dictionary();
  d.engine = std::make_unique<dic::DicEngine>(PlatformBlockFiles(), m.feedback, 0);
  d.engine->DicOpen(path);  // a failure has been reported; conversion then beeps
  d.hanja = std::make_unique<DicHanjaDictionary>(*d.engine, m.settings);
  m.engine->SetDictionary(d.hanja.get());
}

}  // namespace ime
