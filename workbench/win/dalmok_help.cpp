#include "dalmok_help.h"

#include <windows.h>

#include "help.h"

namespace dalmok {

std::string ProgramFolder() {
  // The last backslash is the one before the program's own (ASCII) name.
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  folder.resize(folder.find_last_of('\\') + 1);
  return folder;
}

std::string HelpFile() { return ProgramFolder() + workbench::help::kHelpFileName; }

void ShowHelp(unsigned long context) {
  fw::CurrentHelpViewer().ShowContext(GetDesktopWindow(), HelpFile(), context);
}

}  // namespace dalmok
