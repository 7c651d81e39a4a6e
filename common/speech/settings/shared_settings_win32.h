// The shared settings routines on the system's own registry, profile files
// and message boxes (Windows builds).
#pragma once
#include <windows.h>

#include <string>

#include "frame_record.h"
#include "shared_settings.h"

namespace settings {

// RegOpenKeyExA and the rest, GetPrivateProfileStringA, MessageBoxA.
SettingsPlatform& SystemSettings();

void LoadFontSettings(LOGFONTA* out, int index);
int ReadRegString(int root, const char* subkey, const char* name, char* buffer, int size);
int ReadRegValue(int root, const char* subkey, const char* name, char* buffer, int size);
int WriteRegString(const char* subkey, const char* name, const char* text);
// On 0 and 1 *out is the open key, which the caller closes (RegCloseKey).
int OpenOrCreateRegKey(const char* path, HKEY* out, const char* caption);
std::string ReadMachineRegValue(const char* path, const char* name);
void LoadVoiceSettings(int* speaker, int* volume, int* rate, int* pitch, int* repeat);
int SaveVoiceSettings(int speaker, int volume, int rate, int pitch, int repeat);

namespace player {
void LoadVoiceSettings(int* speaker, int* volume, int* rate, int* pitch, int* repeat);
}
namespace dictionary {
void LoadVoiceSettings(const char* caption, int* speaker, int* volume, int* rate, int* pitch);
}
namespace workbench {
void LoadVoiceSettings(const char* caption, int* speaker, int* volume, int* rate, int* pitch);
}

// The record's placement (flags, show state, normal rectangle) given to the
// window.
void ApplyFramePlacement(HWND window, const FrameRecord& record);
// The window's placement taken into the record; false, the record left
// alone, when it could not be read.
bool TakeFramePlacement(HWND window, FrameRecord& record);

}  // namespace settings
