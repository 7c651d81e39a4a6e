// Settings that the sheet of another process writes: the registry is the
// only state the processes share, so each process watches its edition's key
// (RegNotifyChangeKeyValue with an event, no thread of its own) and, at the
// next key or context change after a write, takes over the sheet's values
// that changed.
#include "ime_state.h"

namespace ime {

namespace {

// Windows 8 and later: the notice outlives the thread that asked for it.
constexpr DWORD kNotifyThreadAgnostic = 0x10000000;
constexpr DWORD kNotifyFilter = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;

HKEY g_key = nullptr;
HANDLE g_event = nullptr;
std::string g_path;
volatile LONG g_busy = 0;

void CloseKey() {
  if (g_key) RegCloseKey(g_key);
  g_key = nullptr;
}

// The edition's key, made when it is not there yet (a process that may not
// write it, as in protected mode, opens what is there).
bool OpenKey() {
  CloseKey();
  if (RegCreateKeyExA(HKEY_CURRENT_USER, g_path.c_str(), 0, nullptr, 0, KEY_NOTIFY, nullptr, &g_key, nullptr) ==
      ERROR_SUCCESS)
    return true;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, g_path.c_str(), 0, KEY_NOTIFY, &g_key) == ERROR_SUCCESS) return true;
  g_key = nullptr;
  return false;
}

LONG Notify() {
  LONG r = RegNotifyChangeKeyValue(g_key, TRUE, kNotifyFilter | kNotifyThreadAgnostic, g_event, TRUE);
  if (r == ERROR_INVALID_PARAMETER) r = RegNotifyChangeKeyValue(g_key, TRUE, kNotifyFilter, g_event, TRUE);
  return r;
}

// Asks for the next change. A key deleted meanwhile (its settings reset)
// tells of nothing more: it is opened (made) again.
bool Arm() {
  if (g_key && Notify() == ERROR_SUCCESS) return true;
  return OpenKey() && Notify() == ERROR_SUCCESS;
}

}  // namespace

void StartSettingsWatch(const ImeConfig& cfg) {
  g_path = "Software\\VALDRIMO\\GeulmaruV6\\" + cfg.prefix;
  g_event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (g_event && !Arm()) StopSettingsWatch();
}

void StopSettingsWatch() {
  CloseKey();
  if (g_event) CloseHandle(g_event);
  g_event = nullptr;
}

void SyncSettingsFromRegistry() {
  if (!g_event || WaitForSingleObject(g_event, 0) != WAIT_OBJECT_0) return;
  if (InterlockedExchange(&g_busy, 1) != 0) {
    // Called back from inside a takeover (a message box's loop): the next
    // call sees the change.
    SetEvent(g_event);
    return;
  }
  // Armed again before reading, so that a write made meanwhile is not lost.
  Arm();
  TakeOverSheetValues(Module().config, Registry(), ModuleSettingsPlatform());
  InterlockedExchange(&g_busy, 0);
}

}  // namespace ime
