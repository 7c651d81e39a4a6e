// A stand-in for the browser library's protected-mode probe, for the test
// of a process that runs in the browser's protected mode: it sits beside
// that test's program, which therefore finds it first.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT WINAPI IEIsProtectedModeProcess(BOOL* result) {
  if (!result) return E_POINTER;
  *result = TRUE;
  return S_OK;
}
