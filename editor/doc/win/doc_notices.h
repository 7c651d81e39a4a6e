// The document's messages as message boxes, and the program's side of the
// document: the view's font code and line buffer.
#pragma once
#include <windows.h>

#include "doc_seams.h"
#include "view_engine.h"

namespace brisel {

// The notice's text in a box with an exclamation mark (after a beep for
// the out-of-memory notice, which is a beep alone), owned by owner and
// titled caption.
void ShowDocNotice(HWND owner, const wchar_t* caption, DocNotice notice);
// The texts of the document's messages from the string table of module
// (the defaults where it has none).
StringSource ModuleStrings(HINSTANCE module);
// The message of a read that changed the text, in a box with an
// exclamation mark.
void ShowReadChanged(HWND owner, const wchar_t* caption, const ReadOutcome& read, const StringSource& strings);
// The question before a save in a code that lacks characters: OK (choose
// another code) or Cancel.
MissingAnswer AskMissingBox(HWND owner, const wchar_t* caption, const MissingCharacters& missing, int outFileType,
                            const StringSource& strings);

// The document's host in a program of the framework: the view's engine once
// the view exists (before: a KS font and nothing to store back), the boxes
// owned by the application's main window and titled with its program name.
class Win32DocumentHost final : public DocumentHost {
 public:
  void SetView(editorview::ViewEngine* engine) { engine_ = engine; }
  int FontCode() const override { return engine_ ? engine_->GetFontCode() : editorview::kCodeKs; }
  void CommitView() override {
    if (engine_) engine_->CommitLineBuffer();
  }
  void Notify(DocNotice notice) override;
  void NotifyReadChanged(const ReadOutcome& read) override;
  MissingAnswer AskAboutMissing(const MissingCharacters& missing, int outFileType) override;

 private:
  editorview::ViewEngine* engine_ = nullptr;
};

}  // namespace brisel
