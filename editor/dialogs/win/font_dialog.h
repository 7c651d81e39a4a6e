// The font dialog "ﾌｫﾝﾄ設定" (template 144) of the view's font command: the
// Korean faces of the display (GM faces of charset 128 and KS faces of
// charset 129), their sizes, a grey sample in the face's own code and the
// code label.
#pragma once
#include <windows.h>

#include <vector>

#include "dialog.h"
#include "dialog_rules.h"
#include "display_faces.h"
#include "gdi.h"
#include "gm_converter.h"

namespace brisel {

class CFontSetDlg final : public fw::Dialog {
 public:
  // font and fontType are the caller's: OK writes the chosen font into them.
  CFontSetDlg(const fw::Module& module, const codeconv::GmCodeConverter& gm, LOGFONTW& font, int& fontType,
              std::string helpFile, FaceSource faces = nullptr);

  // IDOK when the caller's font was changed; IDCANCEL otherwise (also when
  // there was no Korean face to choose).
  INT_PTR Run(HWND owner) { return DoModal(owner); }

  // For tests and the caller: what the dialog lists and has chosen.
  const FaceList& Faces() const { return faces_; }
  const std::vector<int>& Sizes() const { return sizes_; }
  int ChosenHeight() const { return height_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  const FaceEntry* ChosenFace() const;
  void FaceChosen(bool keepHeight);
  void SizeChosen();
  void DrawSample(const DRAWITEMSTRUCT& item);
  void CentreOverMainWindow();

  const codeconv::GmCodeConverter& gm_;
  LOGFONTW& font_;
  int& fontType_;
  std::string helpFile_;
  FaceSource source_;
  FaceList faces_;
  std::vector<int> sizes_;
  int face_ = -1;  // index into faces_
  int points_ = 0;
  int height_ = 0;
  int logPixelsY_ = 96;
};

}  // namespace brisel
