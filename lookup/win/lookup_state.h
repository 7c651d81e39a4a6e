// The library's module state: what the export was given and derived, the
// tables the pages draw and read with, and the one sheet.
#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "char_reading.h"
#include "gm_remap.h"
#include "jiso_dic.h"
#include "module.h"

namespace lookup {

class CRabeko_Dlg;

struct LookupState {
  fw::Module module;          // this library
  int callerModule = 0;       // the caller's module handle, kept
  HWND owner = nullptr;       // the application window: the sheet's parent
  HWND target = nullptr;      // where the focus goes back when a character arrives
  HWND imeWindow = nullptr;   // receiver of every message the library sends
  int koreanCode = 0;         // 1 KS, 2 GM V3, 0 GM95
  std::string koreanFace;     // copies: the caller's strings may go away
  std::string imeFileName;
  int charset = 128;
  std::string programFolder;
  std::string helpPath;
  CRabeko_Dlg* sheet = nullptr;
  int liveSheets = 0;

  // Locked resources of the library.
  codeconv::GmTables tables;
  ReadingTables readings;
  std::array<DbChar, kInitials> initialLabels{};  // GM95
  std::array<DbChar, kVowels> vowelLabels{};
  bool loaded = false;
};

LookupState& State();

// Finds and locks the library's tables (once).
void LoadTables();

// The help topic of a context number, through the help seam.
void ShowHelp(unsigned long context);

}  // namespace lookup
