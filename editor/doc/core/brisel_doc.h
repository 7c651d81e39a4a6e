// CBriselDoc: the editor's document. It holds the text as UTF-8 lines (the
// line store the view edits through, editorview::LineDocument), and reads
// and writes text files in UTF-8, UTF-16, KS and GM code, with automatic
// detection through the outside detector, under the framework's save rules
// (fw::Document).
//
// Guards beyond the plain rules, so that no read or save changes the text
// without telling the user:
//  - A read that fails (the file is not in the chosen code, or cannot be
//    read) fails the open, so no empty document is left under the file's
//    name for a later save to write over the file.
//  - A read that could not take all of the file (the 999999-line cut, a line
//    stored empty, memory running out) or not as it stands (undecodable
//    bytes, dropped control bytes, lone CRs, lines split at the readers'
//    limits; told in one message) leaves the document's own file looking
//    read-only to the save rules: a plain save goes through "save as"
//    instead of writing the changed text over it.
//  - A plain save writes the code the file was read in; "save as" the code
//    chosen in its dialog. A code that lacks characters of the text is
//    named before anything is written: another code, or no save.
//  - Memory running out while saving is reported; the document stays.
// Saving writes a new file beside the old one and replaces the old one only
// when the new one is complete (SaveReplacing).
//
// A program puts it together like this (Win32: editor/doc/win):
//   brisel::FileCodeSettings codes;      // "InFileType", "OutFileType" of its INI
//   brisel::Win32FileStore files;
//   brisel::CharvaneDetector detector;   // also the view's paste detector
//   brisel::Win32DocumentHost host;      // host.SetView(&view.Engine()) once the view exists
//   fw::SingleDocTemplate docs([&] {
//     return std::make_unique<brisel::CBriselDoc>(brisel::CBriselDoc::Services{
//         ui, files, host, codes, gm, codeconv::PlatformCodePages(), &detector});
//   }, frames, u".txt");
// and gives the view the document twice: as fw::Document and as the
// LineDocument it edits.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "code_page.h"
#include "doc_seams.h"
#include "document.h"
#include "gm_converter.h"
#include "line_document.h"
#include "text_code.h"
#include "text_file.h"
#include "view_seams.h"

namespace brisel {

namespace detail {

// The save rules' view of the user and the file system, with one file shown
// as read-only: the file whose contents the document holds only in part.
class IncompleteFileUi final : public fw::DocumentUi {
 public:
  explicit IncompleteFileUi(fw::DocumentUi& ui) : ui_(ui) {}
  void SetIncompleteFile(std::u16string_view path) { incomplete_ = path; }
  const std::u16string& IncompleteFile() const { return incomplete_; }

  fw::SaveAnswer AskToSave(std::u16string_view name) override { return ui_.AskToSave(name); }
  std::optional<std::u16string> PromptSaveName(std::u16string_view proposed, unsigned titleId) override {
    std::optional<std::u16string> name = ui_.PromptSaveName(proposed, titleId);
    prompted_ = name.has_value();
    return name;
  }
  // Whether the save now writing had its name (and code) chosen in the dialog; once.
  bool TakePrompted() { return std::exchange(prompted_, false); }
  bool Exists(std::u16string_view path) override { return ui_.Exists(path); }
  bool IsReadOnly(std::u16string_view path) override {
    return (!incomplete_.empty() && path == incomplete_) || ui_.IsReadOnly(path);
  }
  void Remove(std::u16string_view path) override { ui_.Remove(path); }
  void BeginWait() override { ui_.BeginWait(); }
  void EndWait() override { ui_.EndWait(); }

 private:
  fw::DocumentUi& ui_;
  std::u16string incomplete_;
  bool prompted_ = false;
};

// Holds the guarded interface so that it exists before fw::Document takes it.
struct IncompleteFileUiHolder {
  explicit IncompleteFileUiHolder(fw::DocumentUi& ui) : guardedUi(ui) {}
  IncompleteFileUi guardedUi;
};

}  // namespace detail

class CBriselDoc final : private detail::IncompleteFileUiHolder,
                         public fw::Document,
                         public editorview::LineDocument {
 public:
  // Everything here outlives the document.
  struct Services {
    fw::DocumentUi& ui;              // the save rules' questions (the program's file dialog)
    FileStore& files;
    DocumentHost& host;              // the view's font code and line buffer, the messages
    const FileCodeSettings& settings;
    const codeconv::GmCodeConverter& gm;  // tables loaded
    const codeconv::CodePageConverter& pages = codeconv::PlatformCodePages();
    editorview::CodeDetector* detector = nullptr;  // none: every automatic read takes the font's code
  };

  explicit CBriselDoc(const Services& services);
  ~CBriselDoc() override;

  // ---- the line store (the view's side) ----
  int LineCount() const override { return lines_.LineCount(); }
  std::string_view GetLine(int index) const override { return lines_.GetLine(index); }
  void SetLine(int index, std::string_view text) override { lines_.SetLine(index, text); }
  // Refuses (false) once the document holds kMaxLines lines, or when memory
  // runs out.
  bool InsertLine(int index) override { return lines_.InsertLine(index); }
  // The last line is emptied instead of removed.
  void DeleteLine(int index) override { lines_.DeleteLine(index); }
  void SetModifiedFlag(bool modified = true) override { fw::Document::SetModifiedFlag(modified); }
  using fw::Document::IsModified;
  // All lines removed but one empty line.
  void ResetLines() { lines_.ResetLines(); }

  // The code of the last successful read or write, numbered as InFileType
  // (1 UTF-8, 2 Unicode, 3 the font's code, 4 KS, 5 GM); -1 for a new
  // document or after a failed read.
  int LoadedFileType() const { return loadedFileType_; }
  // The document's file holds more than the document, or other text: a
  // plain save asks for a name.
  bool IncompleteLoad() const { return !guardedUi.IncompleteFile().empty(); }
  // The code (OutFileType) a plain save writes: the one the file was read
  // in or last saved in, else the setting. The font's code is resolved to
  // KS or GM.
  int PlainSaveCode() const;

  // Saves: a save in a code that lacks characters of the text asks first
  // and may go on through "save as" with another code; memory running out
  // is reported and the document stays as it is.
  bool DoFileSave() override;
  bool OnCommand(unsigned id) override;

  // ---- files ----
  bool OnNewDocument() override;
  // The lines of a file's bytes by InFileType, with the messages of the
  // read; false (one empty line, LoadedFileType -1) when the bytes are not
  // in the chosen code.
  bool ReadBytes(std::string_view bytes);
  // The bytes of the lines in OutFileType, after the view has stored its
  // line buffer; LoadedFileType becomes OutFileType + 1.
  std::string WriteLines();

 protected:
  void DeleteContents() override;
  bool ReadFile(std::u16string_view path) override;
  bool WriteFile(std::u16string_view path) override;

 private:
  // The code of out for writing: the font's code resolved.
  int ResolvedOut(int out) const;
  // "Save as" again while the user asked for another code.
  bool SaveAsWhileAsked(bool saved);

  FileStore& files_;
  DocumentHost& host_;
  const FileCodeSettings& settings_;
  editorview::CodeDetector* detector_;
  editorview::TextCode conversions_;
  editorview::MemoryDocument lines_;
  int loadedFileType_ = -1;
  bool lossy_ = false;  // the last read did not give the file's text as it stands
  int plainSaveOut_ = -1;  // the code of the last read or write (OutFileType), -1 none
  bool retrySaveAs_ = false;  // the user asked for another code
};

}  // namespace brisel
