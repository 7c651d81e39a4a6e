// Dialogs from templates of an explicit module, modal or modeless, with data
// exchange between the controls and the object's members.
#pragma once
#include <windows.h>

#include <string>

#include "window.h"

namespace fw {

class DataExchange;

class Dialog : public Window {
 public:
  Dialog(const Module& module, unsigned templateId) : module_(module), templateId_(templateId) {}

  // Runs the dialog; the value given to EndDialog, or -1 when it could not be created.
  INT_PTR DoModal(HWND parent);
  // Creates the dialog and returns at once (null on failure); its keys come
  // through the modeless keyboard hook (modeless_keys.h).
  HWND CreateModeless(HWND parent);
  void EndDialog(INT_PTR result);

  // Fills the controls from the members (save false) or the members from
  // the controls (save true); false when a field was refused (the user has
  // been told and the field has the focus).
  bool UpdateData(bool save);

  const Module& module() const { return module_; }
  unsigned templateId() const { return templateId_; }

 protected:
  // WM_INITDIALOG: fills the controls from the members; true lets the
  // dialog manager set the focus.
  virtual bool OnInitDialog();
  virtual void DoDataExchange(DataExchange& dx);
  // IDOK and IDCANCEL of a modal dialog: saving the data, then EndDialog.
  virtual void OnOK();
  virtual void OnCancel();
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Routes one message of a dialog procedure after the object is attached.
  INT_PTR DispatchDialog(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  Module module_;
  unsigned templateId_;
  bool modal_ = false;
  bool keys_ = false;  // its keys come through the modeless keyboard hook
};

// Data exchange of one UpdateData call.
class DataExchange {
 public:
  DataExchange(HWND dialog, bool save) : dialog_(dialog), save_(save) {}
  bool saving() const { return save_; }
  bool failed() const { return failed_; }

  // Text of a control; maxLength (UTF-16 units, 0 for none) limits an edit control.
  void Text(int id, std::wstring& value, int maxLength = 0);
  // An integer field within min..max; a refused field tells the user and stops the exchange.
  void Int(int id, int& value, int min, int max);
  void Check(int id, bool& value);
  // A group of radio buttons firstId, firstId + 1, ...: the index of the checked one (-1 none).
  void Radio(int firstId, int count, int& index);

 private:
  void Refuse(int id, const std::wstring& message);

  HWND dialog_;
  bool save_;
  bool failed_ = false;
};

std::wstring WindowText(HWND hwnd);

}  // namespace fw
