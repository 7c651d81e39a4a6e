// The keyboard of modeless dialogs and property sheets on a thread whose
// message loop does not call IsDialogMessage for them (a DLL's window in a
// host program): a thread message hook that hands their keys to
// IsDialogMessage (PSM_ISDIALOGMESSAGE for sheets), so that Tab, Enter, Esc
// and mnemonics work. Installed with the first window, removed with the last.
#pragma once
#include <windows.h>

namespace fw {

void AddModelessWindow(HWND hwnd, bool sheet);
void RemoveModelessWindow(HWND hwnd);
bool ModelessHookInstalled();

}  // namespace fw
