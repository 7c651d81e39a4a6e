// The explorer-style open and save dialogs (GetOpenFileNameW and
// GetSaveFileNameW) with a program's child template for extra controls and
// a hook that hands the dialog's moments to the derived class.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "module.h"

namespace fw {

// "name|pattern" pairs in the dialog's filter form (each text ended by a
// NUL, the list by another).
std::wstring FileDialogFilter(const std::vector<std::pair<std::wstring, std::wstring>>& entries);

class FileDialog {
 public:
  FileDialog(const Module& module, bool open) : module_(module), open_(open) {}
  virtual ~FileDialog() = default;
  FileDialog(const FileDialog&) = delete;
  FileDialog& operator=(const FileDialog&) = delete;

  bool IsOpen() const { return open_; }
  std::wstring title;
  std::wstring filter;            // FileDialogFilter's form; empty: none
  std::wstring defaultExtension;  // without the dot
  std::wstring fileName;          // in: proposed; out: chosen
  DWORD flags = 0;                // OFN_* beside OFN_EXPLORER and the hook's
  unsigned templateId = 0;        // the child template of the module; 0: none

  // IDOK when a name was chosen, IDCANCEL when cancelled, 0 when the dialog
  // failed (CommDlgExtendedError tells why).
  int DoModal(HWND owner);

 protected:
  // The dialog is laid out (CDN_INITDONE); child is the template's dialog.
  virtual void OnInitDone(HWND /*child*/) {}
  // The user accepted a name (CDN_FILEOK); false keeps the dialog open.
  virtual bool OnFileNameOk(HWND /*child*/) { return true; }
  // A WM_COMMAND of the template's controls.
  virtual void OnCommand(HWND /*child*/, WPARAM, LPARAM) {}
  const Module& module() const { return module_; }

 private:
  static UINT_PTR CALLBACK HookProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
  Module module_;
  bool open_;
};

}  // namespace fw
