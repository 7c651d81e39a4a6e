// Documents and their views, and the single-document template that opens
// them, with the rules of saving: when the user is asked, which name is
// proposed, when a read-only file goes through "save as", what happens to a
// file whose writing failed. The window system (message boxes, the file
// dialog, the file system, the frame and its views) stays behind small
// interfaces, so that the rules are tested natively.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_target.h"

namespace fw {

// Commands and string ids of the framework (the program's string table may
// carry its own texts under these ids).
namespace cmd {
inline constexpr unsigned kFileNew = 57600;
inline constexpr unsigned kFileOpen = 57601;
inline constexpr unsigned kFileSave = 57603;
inline constexpr unsigned kFileSaveAs = 57604;
inline constexpr unsigned kAppExit = 57665;
}  // namespace cmd
inline constexpr unsigned kIdsOpenFile = 61440;
inline constexpr unsigned kIdsSaveFile = 61441;
inline constexpr unsigned kIdsUntitled = 61443;
inline constexpr unsigned kIdsSaveFileCopy = 61444;
inline constexpr unsigned kIdsAskToSave = 61699;

// The framework's own texts where the program's string table has none.
inline constexpr std::u16string_view kUntitledText = u"無題";
// "%1" stands for the document's name.
inline constexpr std::u16string_view kAskToSaveText = u"%1 への変更を保存しますか?";

enum class SaveAnswer : unsigned char { kYes, kNo, kCancel };

// What saving asks of the user and the file system.
class DocumentUi {
 public:
  virtual ~DocumentUi() = default;
  // The question kAskToSaveText about the document's name (Yes, No, Cancel).
  virtual SaveAnswer AskToSave(std::u16string_view name) = 0;
  // The file dialog for saving, with the proposed name filled in and the
  // title string titleId (kIdsSaveFile or kIdsSaveFileCopy); nothing when cancelled.
  virtual std::optional<std::u16string> PromptSaveName(std::u16string_view proposed, unsigned titleId) = 0;
  virtual bool Exists(std::u16string_view path) = 0;
  // Whether the file's attributes say read-only; also true when they cannot
  // be read (a file that is gone), so that saving asks for a name.
  virtual bool IsReadOnly(std::u16string_view path) = 0;
  virtual void Remove(std::u16string_view path) = 0;
  // A wait cursor while a document is read or written.
  virtual void BeginWait() {}
  virtual void EndWait() {}
};

// A view of a document (the window side implements it).
class DocumentView {
 public:
  virtual ~DocumentView() = default;
  // The document changed; hint 0: new or loaded as a whole.
  virtual void OnUpdate(DocumentView* sender, long hint) = 0;
  // The document's first update after it was made new or opened.
  virtual void OnInitialUpdate() { OnUpdate(nullptr, 0); }
  // The document's title changed (the frame shows it).
  virtual void OnTitleChanged() {}
};

class Document : public CommandTarget {
 public:
  explicit Document(DocumentUi& ui) : ui_(ui) {}
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  const std::u16string& PathName() const { return path_; }
  const std::u16string& Title() const { return title_; }
  // The path and, as title, its file-name part.
  void SetPathName(std::u16string_view path);
  void SetTitle(std::u16string_view title);
  bool IsModified() const { return modified_; }
  void SetModifiedFlag(bool modified = true) { modified_ = modified; }
  // The extension of the template's files (".txt"), added to a proposed name.
  void SetDefaultExtension(std::u16string_view extension) { extension_ = extension; }

  void AddView(DocumentView* view);
  void RemoveView(DocumentView* view);
  const std::vector<DocumentView*>& Views() const { return views_; }
  void UpdateAllViews(DocumentView* sender, long hint = 0);
  void InitialUpdateAllViews();

  // The contents emptied, not modified, no path.
  virtual bool OnNewDocument();
  // The contents read from path; false (the contents emptied, the document
  // left modified) when reading failed.
  virtual bool OnOpenDocument(std::u16string_view path);
  // The contents written to path; not modified afterwards on success.
  virtual bool OnSaveDocument(std::u16string_view path);

  // When modified: the user is asked; Yes saves (DoFileSave). False when the
  // user cancelled or the save failed.
  virtual bool SaveModified();
  // Saves under the document's path; a read-only file (or none at all) goes
  // through the file dialog as "save as".
  virtual bool DoFileSave();
  // Saves under path, or, without one, under a name the user chooses; with
  // replace the document takes the new name. A file that the failed save
  // created is removed again; a file that was there before is left alone.
  bool DoSave(const std::u16string* path, bool replace = true);

  bool OnCommand(unsigned id) override;
  bool OnUpdateCommand(unsigned id, CommandState& state) override;

 protected:
  virtual void DeleteContents() {}
  // The contents' own reading and writing; false on failure.
  virtual bool ReadFile(std::u16string_view path) = 0;
  virtual bool WriteFile(std::u16string_view path) = 0;
  DocumentUi& Ui() { return ui_; }

 private:
  DocumentUi& ui_;
  std::u16string path_;
  std::u16string title_;
  std::u16string extension_;
  bool modified_ = false;
  std::vector<DocumentView*> views_;
};

// The name the save dialog proposes for a document without a path: its title
// cut at the first of " #%;/\" and the extension added.
std::u16string ProposedSaveName(std::u16string_view title, std::u16string_view extension);
// The file-name part of a path.
std::u16string_view FileTitle(std::u16string_view path);
// "<document title> - <program name>".
std::u16string FrameTitle(std::u16string_view documentTitle, std::u16string_view programName);
// kAskToSaveText with the name in place of "%1".
std::u16string AskToSavePrompt(std::u16string_view name, std::u16string_view text = kAskToSaveText);

// The window side of a template: the frame with the document's view.
class FrameMaker {
 public:
  virtual ~FrameMaker() = default;
  // Makes the frame and its view of document; false on failure.
  virtual bool CreateFrame(Document& document) = 0;
  // Destroys the frame and its views (they leave the document).
  virtual void DestroyFrame() = 0;
  // The views' initial update, then the frame shown (when makeVisible).
  virtual void InitialUpdateFrame(Document& document, bool makeVisible) = 0;
};

// One document at a time in one frame: opening another file or a new
// document reuses both, after the user has been asked about unsaved changes.
class SingleDocTemplate {
 public:
  using DocumentFactory = std::function<std::unique_ptr<Document>()>;
  SingleDocTemplate(DocumentFactory makeDocument, FrameMaker& frames, std::u16string extension = {},
                    std::u16string untitled = std::u16string(kUntitledText));
  ~SingleDocTemplate();

  // A new document (path null) or the file at path; null when the user
  // cancelled or it failed. A failed open leaves the previous document when
  // reading did not touch it, and a new one when it did.
  Document* OpenDocumentFile(const std::u16string* path, bool makeVisible = true);
  Document* ActiveDocument() const { return document_.get(); }
  // Asks about unsaved changes; false when the user cancelled.
  bool SaveAllModified();
  // The frame and the document go.
  void CloseAllDocuments();

 private:
  DocumentFactory makeDocument_;
  FrameMaker& frames_;
  std::u16string extension_;
  std::u16string untitled_;
  std::unique_ptr<Document> document_;
  bool frameMade_ = false;
};

}  // namespace fw
