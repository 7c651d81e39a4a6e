// The editor's page-setup dialog (command 32807): the system's page setup
// (PageSetupDlgW) on the program's template 1546 with margins in hundredths
// of a millimetre, the header and footer templates in edits 1119 and 1120,
// and the field buttons 1122 and 1123 whose menu 189 puts a field at the
// edit's caret. The printer chosen in it becomes the program's printer.
#pragma once
#include <windows.h>

#include <functional>

#include "module.h"
#include "page_set.h"
#include "print.h"

namespace brisel {

class CPageSetDlg {
 public:
  // module holds print.rc's resources; printer is the program's (fw::ProgramPrinter()).
  CPageSetDlg(const fw::Module& module, const editorview::PageSettings& current,
              fw::PrinterSettings& printer = fw::ProgramPrinter());

  // True on OK: Result() holds the new settings (whole millimetres, the
  // templates as typed) and the printer took the dialog's choice.
  bool DoModal(HWND owner);
  const editorview::PageSettings& Result() const { return result_; }

  // Help (1028) asks for topic 4007 through this; unset: the framework's
  // help viewer with helpFile.
  std::function<void(HWND dialog, unsigned long topic)> onHelp;
  std::string helpFile;

 private:
  static UINT_PTR CALLBACK Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void OnInit(HWND dialog);
  bool OnCommand(HWND dialog, UINT id, UINT code);
  void OpenFieldMenu(HWND dialog, UINT button);

  fw::Module module_;
  editorview::PageSettings current_;
  editorview::PageSettings result_;
  fw::PrinterSettings& printer_;
  HWND fieldEdit_ = nullptr;  // the edit the field menu fills
  HICON fieldIcon_ = nullptr;
};

// Command 32807 in one call: the dialog over settings; on OK settings take
// the new values and the section "PageSet" is written to profile. True on
// OK. onHelp as CPageSetDlg's.
bool RunPageSetup(HWND owner, const fw::Module& module, editorview::PageSettings& settings, ProfileStore& profile,
                  std::function<void(HWND dialog, unsigned long topic)> onHelp = {});

// The profile as an INI file (GetPrivateProfileStringW and its kin; the
// strings converted with code page 932).
class IniProfile final : public ProfileStore {
 public:
  explicit IniProfile(std::wstring path) : path_(std::move(path)) {}
  int GetInt(std::string_view section, std::string_view key, int fallback) override;
  std::string GetString(std::string_view section, std::string_view key, std::string_view fallback) override;
  bool WriteInt(std::string_view section, std::string_view key, int value) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  std::wstring path_;
};

}  // namespace brisel
