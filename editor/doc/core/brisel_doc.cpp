#include "brisel_doc.h"

#include <algorithm>

namespace brisel {

namespace {

// MemoryDocument refuses an insertion while it holds more than its limit:
// with kMaxLines - 1 it stops at kMaxLines, the most a file gives back.
constexpr int kInsertLimit = kMaxLines - 1;

int ValidInFileType(int type) { return type >= kInAutomatic && type <= kInGm ? type : kInAutomatic; }

}  // namespace

CBriselDoc::CBriselDoc(const Services& services)
    : IncompleteFileUiHolder(services.ui),
      fw::Document(guardedUi),
      files_(services.files),
      host_(services.host),
      settings_(services.settings),
      detector_(services.detector),
      conversions_(editorview::LineCode::kUtf8, services.gm, services.pages),
      lines_(kInsertLimit) {}

CBriselDoc::~CBriselDoc() = default;

// The views let go of the old lines at once (a view stores its line buffer
// back when it paints, and a message box lets it paint).
void CBriselDoc::DeleteContents() {
  lines_.ResetLines();
  UpdateAllViews(nullptr, 0);
}

bool CBriselDoc::OnNewDocument() {
  if (!fw::Document::OnNewDocument()) return false;
  lines_.ResetLines();
  loadedFileType_ = -1;
  lossy_ = false;
  guardedUi.SetIncompleteFile({});
  return true;
}

bool CBriselDoc::ReadBytes(std::string_view bytes) {
  DeleteContents();
  loadedFileType_ = -1;
  lossy_ = false;
  const int inFileType = ValidInFileType(settings_.inFileType);
  const int fontCode = host_.FontCode() == editorview::kCodeGm ? editorview::kCodeGm : editorview::kCodeKs;

  ReaderChoice choice{Reader::kMultiByte, fontCode};
  int loaded = inFileType;
  switch (inFileType) {
    case kInUtf8: choice = {Reader::kUtf8, 0}; break;
    case kInUnicode: choice = {Reader::kUnicode, 0}; break;
    case kInKs: choice.code = editorview::kCodeKs; break;
    case kInGm: choice.code = editorview::kCodeGm; break;
    case kInFontCode: break;
    default: {
      const unsigned flags =
          detector_ ? detector_->Detect(bytes.substr(0, std::min(bytes.size(), kDetectSampleBytes)), kDetectMask) : 0;
      choice = ChooseReader(flags, fontCode);
      loaded = kInKs + choice.code;
      break;
    }
  }

  ReadOutcome read;
  switch (choice.reader) {
    case Reader::kUtf8:
      read = ReadUtf8(bytes);
      loaded = kInUtf8;
      break;
    case Reader::kUnicode:
      read = ReadUnicode(bytes);
      loaded = kInUnicode;
      break;
    case Reader::kMultiByte: read = ReadMultiByte(bytes, choice.code, conversions_); break;
  }
  if (read.failed) {
    host_.Notify(DocNotice::kBadFormat);
    return false;
  }
  lines_.Assign(std::move(read.lines));
  loadedFileType_ = loaded;
  lossy_ = read.Lossy();
  // The messages come once the views show the lines read.
  if (lossy_) UpdateAllViews(nullptr, 0);
  if (read.cut) host_.Notify(DocNotice::kNotAllRead);
  if (read.tooLong) host_.Notify(DocNotice::kLineTooLong);
  if (read.outOfMemory) host_.Notify(DocNotice::kOutOfMemory);
  return true;
}

bool CBriselDoc::ReadFile(std::u16string_view path) {
  guardedUi.SetIncompleteFile({});
  loadedFileType_ = -1;
  const std::optional<std::string> bytes = files_.ReadAll(path);
  if (!bytes) {
    host_.Notify(DocNotice::kOpenFailed);
    return false;
  }
  if (!ReadBytes(*bytes)) return false;
  if (lossy_) guardedUi.SetIncompleteFile(path);
  return true;
}

std::string CBriselDoc::WriteLines() {
  host_.CommitView();
  const int out = settings_.outFileType >= kOutUtf8 && settings_.outFileType <= kOutGm ? settings_.outFileType : kOutUtf8;
  std::string bytes = brisel::WriteLines(lines_, out, host_.FontCode(), conversions_);
  loadedFileType_ = out + 1;
  return bytes;
}

bool CBriselDoc::WriteFile(std::u16string_view path) {
  const int before = loadedFileType_;
  const std::string bytes = WriteLines();
  if (!SaveReplacing(files_, path, bytes)) {
    loadedFileType_ = before;
    host_.Notify(DocNotice::kSaveFailed);
    return false;
  }
  // The file now holds all of the document.
  if (path == guardedUi.IncompleteFile()) guardedUi.SetIncompleteFile({});
  return true;
}

}  // namespace brisel
