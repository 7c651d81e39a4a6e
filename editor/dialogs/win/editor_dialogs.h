// The editor's side of the view's dialog commands (view_dialogs.h): the
// find/replace sheet, the font dialog and the settings dialog, and what the
// program does around them through EditorDialogsHost.
//
// The program registers SEDIT_CLASS once at start-up (RegisterEditorSEdit),
// makes one EditorDialogs for its view and gives it with
// HangulView::SetDialogs (and takes it away, SetDialogs(nullptr), before
// the EditorDialogs goes); its resource script includes dialogs.rc. The
// sheet is owned by the view's frame and goes with it at the latest.
#pragma once
#include <windows.h>

#include <string>

#include "display_faces.h"
#include "find_sheet.h"
#include "gm_converter.h"
#include "hangul_view.h"
#include "view_dialogs.h"

namespace brisel {

// SEDIT_CLASS for the module whose dialog templates hold the boxes, with the
// editor's variant (three controls of 252 bytes of UTF-8). Once per process;
// false when the class could not be registered.
bool RegisterEditorSEdit(HINSTANCE instance);

// What the program keeps and does around the dialogs.
class EditorDialogsHost {
 public:
  virtual ~EditorDialogsHost() = default;
  // The copy flags and faces that the settings dialog changes (the view's
  // settings, read at its next copy).
  virtual editorview::ViewSettings& CopySettings() = 0;
  // The view font's type ("FontType" of the section "Font").
  virtual int FontType() const { return kTrueTypeFontType; }
  // The view shows the font the font dialog chose: the program stores it
  // and its type in the section "Font"; when its code changed it resets its
  // code settings (string 62023) and fills the paste-code box again.
  virtual void FontChosen(const LOGFONTW& font, int fontType, bool codeChanged) = 0;
  // The application's input-method flag: the next idle moment activates the
  // input method for the view's font.
  virtual void RequestImeActivation() = 0;
  // The reading code (InFileType) now.
  virtual int ReadingCode() const { return 0; }
  // The document has a path and no unsaved changes.
  virtual bool CanReread() const { return false; }
  // Opens the document's file again.
  virtual void Reread() {}
};

class EditorDialogs final : public editorview::ViewDialogs {
 public:
  struct Resources {
    fw::Module module;                              // dialogs.rc and view_resources.rc
    const codeconv::GmCodeConverter* gm = nullptr;  // the program's, tables loaded
    std::string helpFile;                           // the program's help file
    FaceSource faces;                               // null: the display's faces
  };
  EditorDialogs(const Resources& resources, EditorDialogsHost& host);
  // An open sheet is destroyed.
  ~EditorDialogs() override;
  EditorDialogs(const EditorDialogs&) = delete;
  EditorDialogs& operator=(const EditorDialogs&) = delete;

  void OpenFindReplace(editorview::HangulView& view, bool replace) override;
  void ChooseFont(editorview::HangulView& view) override;
  void EditSettings(editorview::HangulView& view) override;

  // The open sheet, or null (cleared when its window is gone).
  CPSheet* Sheet() const { return sheet_; }

 private:
  HWND Owner(editorview::HangulView& view) const;

  Resources resources_;
  EditorDialogsHost& host_;
  CPSheet* sheet_ = nullptr;
};

}  // namespace brisel
