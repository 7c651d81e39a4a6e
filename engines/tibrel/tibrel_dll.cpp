// "Tibrel.dll": the hanja-to-Hangul converter's one export over the portable
// conversion. The reading table is a resource of the DLL, found once when
// the library is loaded.
#include <windows.h>

#include <type_traits>

#include "tibrel_api.h"
#include "tibrel_core.h"

namespace {

tibrel::ReadingTable g_table;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    // FindResource, LoadResource and LockResource load no other module.
    if (HRSRC found = FindResourceW(instance, L"READINGS", L"TIBREL")) {
      if (HGLOBAL loaded = LoadResource(instance, found)) {
        const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
        if (bytes) g_table = tibrel::ReadingTable({bytes, SizeofResource(instance, found)});
      }
    }
  }
  return TRUE;
}

extern "C" int TIBREL_API HanjaToHangeul(wchar_t* text, int /*reserved*/) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return tibrel::ConvertInPlace(g_table, reinterpret_cast<char16_t*>(text));
}

static_assert(std::is_same_v<decltype(&HanjaToHangeul), HanjaToHangeulFn>);
