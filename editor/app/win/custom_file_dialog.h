// The editor's open and save dialog: the explorer-style file dialog with the
// file-code box 1036 under "ファイルのコード" (template 145). In open mode
// the box offers automatic detection first; its index is InFileType (open)
// or OutFileType (save), stored when the dialog accepts the name.
#pragma once
#include <windows.h>

#include "file_dialog.h"

namespace brisel {

struct EditorSettings;

class CCustomFileDialog1 final : public fw::FileDialog {
 public:
  CCustomFileDialog1(const fw::Module& module, bool open, EditorSettings& settings);

 protected:
  void OnInitDone(HWND child) override;
  bool OnFileNameOk(HWND child) override;

 private:
  EditorSettings& settings_;
};

}  // namespace brisel
