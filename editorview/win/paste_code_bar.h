// CPasteCodeBar: a tool bar that carries a drop-down list in place of one of
// its slots. In the editor the box chooses the code in which pasted
// clipboard text is read (the program's PasteCode setting, the box's item
// index); the listening program uses the same class for its copy-source box
// with its own id, slot and items.
//
// A main frame makes it in its WM_CREATE:
//   bar_.Create(*this, fw::kToolBarId, module().String(IDS_TOOLBAR_TITLE));
//   bar_.LoadToolBar(IDR_EDITOR_TOOLBAR);
//   bar_.PositionCombo();
//   bar_.FillCombo();
// and calls FillCombo again whenever the program changes the setting itself.
#pragma once
#include <windows.h>

#include <vector>

#include "toolbar.h"
#include "view_resources.h"

namespace editorview {

struct CodeBoxParams {
  UINT boxId = IDC_PASTE_CODE_BOX;
  int slot = 8;  // the slot the box takes
  std::vector<unsigned> items{IDS_PASTE_AUTO, IDS_PASTE_KS, IDS_PASTE_GM};
};

class CPasteCodeBar : public fw::ToolBar {
 public:
  // setting: the value the box shows and sets (owned by the program).
  CPasteCodeBar(const fw::Module& module, int& setting, CodeBoxParams params = {});

  // The box's slot becomes a separator with the box's id as wide as the
  // box, and the box moves into it, vertically centred.
  void PositionCombo();
  // The items again, the setting's one selected (a setting that names no
  // item becomes 0).
  void FillCombo();
  HWND combo() const { return combo_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  int& setting_;
  CodeBoxParams params_;
  HWND combo_ = nullptr;
  SIZE averageChar_{};  // of the stock GUI font on the screen
};

}  // namespace editorview
