// COwnerDrawList: the report-view list of the dictionary dialogs. One
// column (the font column) is drawn from the owner's own texts with the
// Korean font of the code mode, the others from the list's items with the
// list's font; rows are coloured by dictionary group and the selection
// highlight covers the label, the item or the whole row.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "window.h"

namespace dalmok {

class COwnerDrawList final : public fw::Window {
 public:
  // The owner fills these directly.
  std::vector<std::string> fontTexts;  // row i's font-column text, bytes of fontCodePage
  int32_t boundaries[4] = {0, 0, 0, 0};

  // Subclasses a list control of a dialog and makes it owner-drawn.
  // codePage: the code of the font-column texts (949 KS, 932 GM).
  bool SubclassList(HWND list, unsigned codePage);
  // 0, 1 or 2 is taken (and the list repainted); the font in every case.
  // The font stays the caller's.
  void SetDrawStyle(int style, HFONT font);
  void SetFontColumn(int column);
  int DrawStyle() const { return drawStyle_; }

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void DrawRow(const DRAWITEMSTRUCT& item);

  int drawStyle_ = 0;
  HFONT font_ = nullptr;
  int fontColumn_ = 0;
  unsigned codePage_ = 949;
};

}  // namespace dalmok
