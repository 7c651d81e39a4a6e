#include "brisel_doc.h"

#include <algorithm>
#include <new>

namespace brisel {

namespace {

// MemoryDocument refuses an insertion while it holds more than its limit:
// with kMaxLines - 1 it stops at kMaxLines, the most a file gives back.
constexpr int kInsertLimit = kMaxLines - 1;

int ValidInFileType(int type) { return type >= kInAutomatic && type <= kInGm ? type : kInAutomatic; }
int ValidOutFileType(int type) { return type >= kOutUtf8 && type <= kOutGm ? type : kOutUtf8; }

// Whether the detector's flags name a code.
bool Decided(unsigned flags) { return (flags & (kDetectedUtf16 | kDetectedUtf8 | kDetectedKs | kDetectedGm)) != 0; }

// The detector's flags for a file: the first kDetectSampleBytes bytes; when
// they are ASCII but for a character cut off at their end and the detector
// names no code, the sample starting at the first byte from 0x80 instead,
// so that a long ASCII start does not hide what follows.
unsigned DetectFile(editorview::CodeDetector& detector, std::string_view bytes) {
  const std::string_view sample = bytes.substr(0, std::min(bytes.size(), kDetectSampleBytes));
  const unsigned flags = detector.Detect(sample, kDetectMask);
  if (Decided(flags) || bytes.size() <= sample.size()) return flags;
  constexpr size_t kLongestCut = 3;  // bytes of a 4-byte character before the sample's end
  size_t first = 0;
  while (first < bytes.size() && static_cast<unsigned char>(bytes[first]) < 0x80) ++first;
  if (first == bytes.size() || first + kLongestCut < sample.size()) return flags;
  const unsigned further = detector.Detect(bytes.substr(first, kDetectSampleBytes), kDetectMask);
  return Decided(further) ? further : flags;
}

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
  plainSaveOut_ = -1;
  guardedUi.SetIncompleteFile({});
  host_.SaveCodeChanged(PlainSaveCode());
  return true;
}

int CBriselDoc::ResolvedOut(int out) const {
  if (out != kOutFontCode) return out;
  return host_.FontCode() == editorview::kCodeGm ? kOutGm : kOutKs;
}

int CBriselDoc::PlainSaveCode() const {
  return plainSaveOut_ >= 0 ? plainSaveOut_ : ResolvedOut(ValidOutFileType(settings_.outFileType));
}

bool CBriselDoc::SaveAsWhileAsked(bool saved) {
  while (!saved && retrySaveAs_) {
    retrySaveAs_ = false;
    saved = DoSave(nullptr, true);
  }
  retrySaveAs_ = false;
  return saved;
}

bool CBriselDoc::DoFileSave() {
  retrySaveAs_ = false;
  return SaveAsWhileAsked(fw::Document::DoFileSave());
}

bool CBriselDoc::OnCommand(unsigned id) {
  switch (id) {
    case fw::cmd::kFileSave: DoFileSave(); return true;
    case fw::cmd::kFileSaveAs:
      retrySaveAs_ = false;
      SaveAsWhileAsked(DoSave(nullptr, true));
      return true;
    default: return fw::Document::OnCommand(id);
  }
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
      const unsigned flags = detector_ ? DetectFile(*detector_, bytes) : 0;
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
  // A plain save keeps the code the file was read in.
  plainSaveOut_ = choice.reader == Reader::kUtf8      ? kOutUtf8
                  : choice.reader == Reader::kUnicode ? kOutUnicode
                  : choice.code == editorview::kCodeGm ? kOutGm
                                                       : kOutKs;
  host_.SaveCodeChanged(plainSaveOut_);
  // The messages come once the views show the lines read.
  if (lossy_) UpdateAllViews(nullptr, 0);
  if (read.cut) host_.Notify(DocNotice::kNotAllRead);
  if (read.tooLong) host_.Notify(DocNotice::kLineTooLong);
  if (read.outOfMemory) host_.Notify(DocNotice::kOutOfMemory);
  if (read.Changed()) host_.NotifyReadChanged(read);
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
  const bool prompted = guardedUi.TakePrompted();
  const int out = ResolvedOut(prompted || plainSaveOut_ < 0 ? ValidOutFileType(settings_.outFileType) : plainSaveOut_);
  const int before = loadedFileType_;
  try {
    host_.CommitView();
    MissingCharacters missing;
    const std::string bytes = brisel::WriteLines(lines_, out, host_.FontCode(), conversions_, &missing);
    if (missing.count > 0) {
      // Nothing is written: another code, or no save.
      retrySaveAs_ = host_.AskAboutMissing(missing, out) == MissingAnswer::kOtherCode;
      return false;
    }
    if (!SaveReplacing(files_, path, bytes)) {
      host_.Notify(DocNotice::kSaveFailed);
      return false;
    }
  } catch (const std::bad_alloc&) {
    // The file is as it was (the store writes beside it); the document stays.
    loadedFileType_ = before;
    host_.Notify(DocNotice::kSaveOutOfMemory);
    return false;
  }
  // Numbered as the setting when the setting wrote it (3 for the font's code).
  const int setting = ValidOutFileType(settings_.outFileType);
  loadedFileType_ = (ResolvedOut(setting) == out ? setting : out) + 1;
  plainSaveOut_ = out;
  host_.SaveCodeChanged(out);
  // The file now holds all of the document.
  if (path == guardedUi.IncompleteFile()) guardedUi.SetIncompleteFile({});
  return true;
}

}  // namespace brisel
