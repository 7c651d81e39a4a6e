// The settings dialog "環境設定" (template 147) of the view's settings
// command: for the GM and the KS copy, text or rich text and the face the
// rich text names, chosen from the Korean faces of the display.
#pragma once
#include <windows.h>

#include "dialog.h"
#include "dialog_rules.h"
#include "display_faces.h"
#include "view_seams.h"

namespace brisel {

class CEnvSetDlg final : public fw::Dialog {
 public:
  // The radio buttons change the copy flags of settings at once; OK stores
  // the chosen faces (code page 932 bytes, as the view's rich text names them).
  CEnvSetDlg(const fw::Module& module, editorview::ViewSettings& settings, std::string helpFile,
             FaceSource faces = nullptr);

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // One code's controls: its radio pair, its face box and its flag.
  struct CopyCode {
    int textId, richId, boxId;
    bool editorview::ViewSettings::*flag;
    std::string editorview::ViewSettings::*face;
    FaceCode code;
    CopyControls state;
  };
  void Show(const CopyCode& c);
  std::string ChosenFace(const CopyCode& c) const;

  editorview::ViewSettings& settings_;
  std::string helpFile_;
  FaceSource source_;
  CopyCode codes_[2];
};

}  // namespace brisel
