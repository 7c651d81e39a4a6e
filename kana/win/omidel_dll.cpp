// "Omidel.dll": the export KNChange over the reading core. The tables are
// found and locked once, when the library is loaded.
#include <windows.h>

#include "kana_reading.h"

namespace {

kana::CKanaTables g_tables;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    // FindResource, LoadResource and LockResource load no other module, so
    // they are safe under the loader lock.
    const codeconv::ModuleResourceFinder finder("CVDATA");
    g_tables.Load(finder, reinterpret_cast<uintptr_t>(instance));
  }
  return TRUE;
}

extern "C" __declspec(dllexport) int WINAPI
    KNChange(int kanjiForm, const char** text, char* out, int inputIsKS, int keepFullWidth) {
  return kana::KnChange(g_tables, kanjiForm, text, out, inputIsKS, keepFullWidth);
}
