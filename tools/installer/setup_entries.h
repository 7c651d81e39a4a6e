// The suite's entries in the system: Start-menu shortcuts for the programs a
// user starts directly, and the entry in the list of installed programs
// whose command runs the installed setup program's /uninstall.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace setup {

// The programs that get a Start-menu entry: the program file (in the
// program folder) and the entry's name. A program not in the payload gets
// none.
struct StartMenuProgram {
  const wchar_t* file;
  const wchar_t* name;
};
const std::vector<StartMenuProgram>& StartMenuPrograms();

// The name of the suite's folder in the Start menu's Programs folder.
inline constexpr wchar_t kStartMenuFolder[] = L"GeulmaruV6";
// The key below HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall".
inline constexpr wchar_t kUninstallKeyName[] = L"GeulmaruV6";
inline constexpr wchar_t kUninstallRoot[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The setup program's copy in the program folder, which the entry runs.
inline constexpr wchar_t kInstalledSetupName[] = L"GeulmaruSetup.exe";

// Progress lines and failures go to the caller's reporter.
using Report = std::function<void(const std::wstring&)>;

// The all-users Programs folder when it can be written, else the user's,
// followed by the suite's folder.
std::wstring StartMenuFolder();
// Both places where an earlier installation may have left the suite's folder.
std::vector<std::wstring> StartMenuFolderCandidates();

// Writes one shortcut per program of the table that the program folder
// holds; removes the shortcuts of programs it no longer holds.
bool WriteStartMenu(const std::wstring& programFolder, const Report& say, const Report& fail);
// Removes the suite's shortcuts and its Start-menu folder when it is empty.
bool RemoveStartMenu(const Report& say, const Report& fail);

bool WriteUninstallEntry(const std::wstring& programFolder, const std::wstring& version, const Report& say,
                         const Report& fail);
bool RemoveUninstallEntry(const Report& say, const Report& fail);

}  // namespace setup
