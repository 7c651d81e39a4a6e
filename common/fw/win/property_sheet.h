// Property sheets whose pages are members of the sheet object, modal or
// modeless, with the sheet's Help (and F1) routed to the page that shows.
// A modeless sheet gets its keyboard (Tab, Enter, Esc, mnemonics) through a
// thread message hook, since the host's message loop does not know it.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "dialog.h"
#include "modeless_keys.h"

namespace fw {

class PropSheet;

class PropertyPage : public Dialog {
 public:
  PropertyPage(const Module& module, unsigned templateId) : Dialog(module, templateId) {}
  PropSheet* sheet() const { return sheet_; }

 protected:
  // PSN_SETACTIVE: false refuses the page.
  virtual bool OnSetActive() { return true; }
  // PSN_KILLACTIVE: the page's data is saved; false keeps the page.
  virtual bool OnKillActive() { return UpdateData(true); }
  // PSN_APPLY: false keeps the sheet open on this page.
  virtual bool OnApply() { return true; }
  // PSN_RESET: the sheet was cancelled.
  virtual void OnReset() {}
  // The sheet's Help button (PSN_HELP) and F1 (WM_HELP) on this page.
  virtual void OnHelp() {}
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  HPROPSHEETPAGE CreatePage();
  static INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  PropSheet* sheet_ = nullptr;
  friend class PropSheet;
};

class PropSheet : public Window {
 public:
  PropSheet(const Module& module, std::wstring caption) : module_(module), caption_(std::move(caption)) {}

  // Pages in tab order; before the sheet is created.
  void AddPage(PropertyPage& page);
  // The sheet's Help button (the pages' OnHelp).
  void SetHelpButton(bool on) { help_ = on; }

  INT_PTR DoModal(HWND parent);
  // Creates a modeless sheet and returns its window (null on failure). style,
  // when not 0, replaces the template's style (DS_SETFONT is kept, without
  // which the sheet cannot be made); the standard buttons are hidden and the
  // sheet ends above them.
  HWND CreateModeless(HWND parent, DWORD style = 0);

  bool RemovePage(int index);
  int PageCount() const;
  int ActiveIndex() const;
  PropertyPage* ActivePage() const;
  const Module& module() const { return module_; }

 protected:
  // The sheet window exists and its pages have their tabs.
  virtual void OnInitDialog() {}
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  INT_PTR Run(HWND parent, bool modeless);
  static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam);
  void HideStandardButtons();

  Module module_;
  std::wstring caption_;
  std::vector<PropertyPage*> pages_;
  DWORD style_ = 0;
  bool modeless_ = false;
  bool help_ = false;

  friend class PropertyPage;
};

}  // namespace fw
