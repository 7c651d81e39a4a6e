#include "document.h"

#include <algorithm>

namespace fw {

namespace {

// The wait cursor of a document's reading or writing.
class UiWait {
 public:
  explicit UiWait(DocumentUi& ui) : ui_(ui) { ui_.BeginWait(); }
  ~UiWait() { ui_.EndWait(); }
  UiWait(const UiWait&) = delete;
  UiWait& operator=(const UiWait&) = delete;

 private:
  DocumentUi& ui_;
};

}  // namespace

std::u16string_view FileTitle(std::u16string_view path) {
  const size_t cut = path.find_last_of(u"\\/:");
  return cut == std::u16string_view::npos ? path : path.substr(cut + 1);
}

std::u16string ProposedSaveName(std::u16string_view title, std::u16string_view extension) {
  std::u16string name(title.substr(0, std::min(title.size(), title.find_first_of(u" #%;/\\"))));
  name += extension;
  return name;
}

std::u16string FrameTitle(std::u16string_view documentTitle, std::u16string_view programName) {
  std::u16string title(documentTitle);
  title += u" - ";
  title += programName;
  return title;
}

std::u16string AskToSavePrompt(std::u16string_view name, std::u16string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] == u'1') {
      out += name;
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// ---- Document ----

void Document::SetPathName(std::u16string_view path) {
  path_ = path;
  SetTitle(FileTitle(path));
}

void Document::SetTitle(std::u16string_view title) {
  title_ = title;
  for (DocumentView* v : std::vector<DocumentView*>(views_)) v->OnTitleChanged();
}

void Document::AddView(DocumentView* view) {
  if (view && std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void Document::RemoveView(DocumentView* view) { views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end()); }

void Document::UpdateAllViews(DocumentView* sender, long hint) {
  for (DocumentView* v : std::vector<DocumentView*>(views_)) {
    if (v != sender) v->OnUpdate(sender, hint);
  }
}

void Document::InitialUpdateAllViews() {
  for (DocumentView* v : std::vector<DocumentView*>(views_)) v->OnInitialUpdate();
}

bool Document::OnNewDocument() {
  DeleteContents();
  path_.clear();
  modified_ = false;
  return true;
}

bool Document::OnOpenDocument(std::u16string_view path) {
  UiWait wait(ui_);
  DeleteContents();
  modified_ = true;  // the contents are in between while they are read
  if (!ReadFile(path)) {
    DeleteContents();
    return false;
  }
  modified_ = false;
  return true;
}

bool Document::OnSaveDocument(std::u16string_view path) {
  if (!WriteFile(path)) return false;
  modified_ = false;
  return true;
}

bool Document::SaveModified() {
  if (!modified_) return true;
  std::u16string name = path_.empty() ? title_ : path_;
  if (name.empty()) name = kUntitledText;
  switch (ui_.AskToSave(name)) {
    case SaveAnswer::kCancel: return false;
    case SaveAnswer::kYes: return DoFileSave();
    case SaveAnswer::kNo: return true;
  }
  return false;
}

bool Document::DoFileSave() {
  // No path, a missing file or a read-only one: the user names the file.
  if (path_.empty() || ui_.IsReadOnly(path_)) return DoSave(nullptr, true);
  const std::u16string path = path_;
  return DoSave(&path, true);
}

bool Document::DoSave(const std::u16string* path, bool replace) {
  std::u16string name;
  const bool prompted = path == nullptr;
  if (path) {
    name = *path;
  } else {
    std::u16string proposed = path_;
    if (replace && proposed.empty()) proposed = ProposedSaveName(title_, extension_);
    std::optional<std::u16string> chosen = ui_.PromptSaveName(proposed, replace ? kIdsSaveFile : kIdsSaveFileCopy);
    if (!chosen || chosen->empty()) return false;  // nothing is written
    name = std::move(*chosen);
  }
  bool ok;
  {
    UiWait wait(ui_);
    const bool existed = ui_.Exists(name);
    ok = OnSaveDocument(name);
    // A half-written new file goes; one that held the user's data before
    // (the writer may have failed before touching it) stays.
    if (!ok && prompted && !existed && ui_.Exists(name)) ui_.Remove(name);
  }
  if (ok && replace) SetPathName(name);
  return ok;
}

bool Document::OnCommand(unsigned id) {
  switch (id) {
    case cmd::kFileSave: DoFileSave(); return true;
    case cmd::kFileSaveAs: DoSave(nullptr, true); return true;
    default: return false;
  }
}

bool Document::OnUpdateCommand(unsigned id, CommandState&) { return id == cmd::kFileSave || id == cmd::kFileSaveAs; }

// ---- SingleDocTemplate ----

SingleDocTemplate::SingleDocTemplate(DocumentFactory makeDocument, FrameMaker& frames, std::u16string extension,
                                     std::u16string untitled)
    : makeDocument_(std::move(makeDocument)),
      frames_(frames),
      extension_(std::move(extension)),
      untitled_(std::move(untitled)) {}

SingleDocTemplate::~SingleDocTemplate() = default;

Document* SingleDocTemplate::OpenDocumentFile(const std::u16string* path, bool makeVisible) {
  bool created = false;
  if (document_) {
    if (!document_->SaveModified()) return nullptr;  // the open one stays
  } else {
    document_ = makeDocument_();
    if (!document_) return nullptr;
    document_->SetDefaultExtension(extension_);
    created = true;
  }
  if (!frameMade_) {
    if (!frames_.CreateFrame(*document_)) {
      document_.reset();
      return nullptr;
    }
    frameMade_ = true;
  }
  Document& doc = *document_;
  if (!path) {
    doc.SetTitle(untitled_);
    if (!doc.OnNewDocument()) {
      if (created) CloseAllDocuments();
      return nullptr;
    }
  } else {
    const bool wasModified = doc.IsModified();
    doc.SetModifiedFlag(false);
    if (!doc.OnOpenDocument(*path)) {
      if (created) {
        CloseAllDocuments();
      } else if (!doc.IsModified()) {
        doc.SetModifiedFlag(wasModified);  // reading left the old contents alone
      } else {
        // The old contents are gone: a new document takes their place.
        doc.SetTitle(untitled_);
        doc.OnNewDocument();
        frames_.InitialUpdateFrame(doc, makeVisible);
      }
      return nullptr;
    }
    doc.SetPathName(*path);
  }
  frames_.InitialUpdateFrame(doc, makeVisible);
  return &doc;
}

bool SingleDocTemplate::SaveAllModified() { return !document_ || document_->SaveModified(); }

void SingleDocTemplate::CloseAllDocuments() {
  if (frameMade_) {
    frameMade_ = false;
    frames_.DestroyFrame();
  }
  document_.reset();
}

}  // namespace fw
