#include "brisel_doc.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "charvane_detect.h"
#include "doc_fixtures.h"
#include "tricky_files.h"

namespace brisel {
namespace {

using test::kHangulGm;
using test::kHangulKs;
using test::kHangulUtf8;
using Lines = std::vector<std::string>;

// Files in memory. A write can be made to fail after some bytes (the new
// file then holds only those until the store removes it), a replacement can
// be made to fail.
class MemoryFiles final : public FileStore {
 public:
  std::optional<std::string> ReadAll(std::u16string_view path) override {
    auto it = files.find(std::u16string(path));
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::u16string> WriteBeside(std::u16string_view path, std::string_view bytes) override {
    const std::u16string temporary = std::u16string(path) + u".tmp" + char16_t(u'0' + temporaries++);
    if (failWriteAfter && bytes.size() > *failWriteAfter) {
      files[temporary] = std::string(bytes.substr(0, *failWriteAfter));
      files.erase(temporary);  // the store removes what it began
      return std::nullopt;
    }
    files[temporary] = std::string(bytes);
    return temporary;
  }
  bool Replace(std::u16string_view path, std::u16string_view temporary) override {
    if (failReplace) return false;
    auto it = files.find(std::u16string(temporary));
    if (it == files.end()) return false;
    files[std::u16string(path)] = it->second;
    files.erase(it);
    return true;
  }
  void Remove(std::u16string_view path) override { files.erase(std::u16string(path)); }

  std::map<std::u16string, std::string> files;
  std::optional<size_t> failWriteAfter;
  bool failReplace = false;
  int temporaries = 0;
};

class ScriptedUi final : public fw::DocumentUi {
 public:
  fw::SaveAnswer AskToSave(std::u16string_view) override {
    ++asked;
    return answer;
  }
  std::optional<std::u16string> PromptSaveName(std::u16string_view proposedName, unsigned) override {
    prompted.emplace_back(proposedName);
    return chosen;
  }
  bool Exists(std::u16string_view path) override { return files->files.count(std::u16string(path)) != 0; }
  bool IsReadOnly(std::u16string_view path) override { return !Exists(path); }
  void Remove(std::u16string_view path) override { files->Remove(path); }

  MemoryFiles* files = nullptr;
  fw::SaveAnswer answer = fw::SaveAnswer::kYes;
  int asked = 0;
  std::vector<std::u16string> prompted;
  std::optional<std::u16string> chosen;  // nothing: the dialog is cancelled
};

class RecordingHost final : public DocumentHost {
 public:
  int FontCode() const override { return fontCode; }
  void CommitView() override { ++commits; }
  void Notify(DocNotice notice) override { notices.push_back(notice); }
  void NotifyReadChanged(const ReadOutcome& read) override { changedReads.push_back(read); }
  MissingAnswer AskAboutMissing(const MissingCharacters& m, int outFileType) override {
    asked.push_back({m, outFileType});
    // The user picks another code in the dialog that follows.
    if (missingAnswer == MissingAnswer::kOtherCode && settings && nextCode >= 0) settings->outFileType = nextCode;
    return missingAnswer;
  }
  void SaveCodeChanged(int outFileType) override { saveCode = outFileType; }
  int fontCode = 0;
  int commits = 0;
  std::vector<DocNotice> notices;
  std::vector<ReadOutcome> changedReads;
  std::vector<std::pair<MissingCharacters, int>> asked;
  MissingAnswer missingAnswer = MissingAnswer::kCancel;
  FileCodeSettings* settings = nullptr;
  int nextCode = -1;
  int saveCode = -2;
};

class FakeDetector final : public editorview::CodeDetector {
 public:
  unsigned Detect(std::string_view bytes, unsigned mask) override {
    seen = std::string(bytes);
    seenMask = mask;
    return flags;
  }
  unsigned flags = 0;
  std::string seen;
  unsigned seenMask = 0;
};

// The stand-in "CHARVANE.dll" detection itself behind the document.
class RealDetector final : public editorview::CodeDetector {
 public:
  unsigned Detect(std::string_view bytes, unsigned mask) override {
    return charvane::Detect(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), mask);
  }
};

class NoFrames final : public fw::FrameMaker {
 public:
  bool CreateFrame(fw::Document&) override { return true; }
  void DestroyFrame() override {}
  void InitialUpdateFrame(fw::Document&, bool) override {}
};

const std::u16string kPath = u"C:\\text\\a.txt";

struct Rig {
  Rig() {
    ui.files = &files;
    template_ = std::make_unique<fw::SingleDocTemplate>(
        [this]() -> std::unique_ptr<fw::Document> {
          CBriselDoc::Services services{ui, files, host, settings, test::Gm()};
          services.detector = detectorInUse;
          return std::make_unique<CBriselDoc>(services);
        },
        frames, u".txt");
  }
  CBriselDoc* Open(const std::u16string& path) {
    return static_cast<CBriselDoc*>(template_->OpenDocumentFile(&path));
  }
  CBriselDoc* New() { return static_cast<CBriselDoc*>(template_->OpenDocumentFile(nullptr)); }
  CBriselDoc* Active() { return static_cast<CBriselDoc*>(template_->ActiveDocument()); }
  static Lines LinesOf(const CBriselDoc& doc) {
    Lines lines;
    for (int i = 0; i < doc.LineCount(); ++i) lines.emplace_back(doc.GetLine(i));
    return lines;
  }

  MemoryFiles files;
  ScriptedUi ui;
  RecordingHost host;
  FileCodeSettings settings;
  FakeDetector detector;
  editorview::CodeDetector* detectorInUse = &detector;  // read when a document is made
  NoFrames frames;
  std::unique_ptr<fw::SingleDocTemplate> template_;
};

TEST(BriselDoc, NewDocumentIsOneEmptyLine) {
  Rig rig;
  CBriselDoc* doc = rig.New();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(Rig::LinesOf(*doc), Lines{""});
  EXPECT_EQ(doc->LoadedFileType(), -1);
  EXPECT_FALSE(doc->IsModified());
}

TEST(BriselDoc, OpenAndSaveTheFilesOfTheExamples) {
  struct Case {
    const char* name;
    int in;
    std::string file;
    Lines lines;
    int loaded;
    int out;
    std::string saved;
  };
  const std::vector<Case> cases = {
      {"utf8", kInUtf8, "a\r\nb", {"a", "b"}, 1, kOutUtf8, "a\r\nb\r\n"},
      {"utf16 be saved le", kInUnicode, std::string("\xFE\xFF\0a\0\r\0\n\xD5\x5C", 10), {"a", "\xED\x95\x9C"}, 2,
       kOutUnicode, std::string("\xFF\xFE" "a\0\r\0\n\0\x5C\xD5\r\0\n\0", 14)},
      {"ks saved gm", kInKs, kHangulKs, {kHangulUtf8}, 4, kOutGm, kHangulGm + "\r\n"},
      {"gm saved ks", kInGm, kHangulGm + "\n", {kHangulUtf8}, 5, kOutKs, kHangulKs + "\r\n"},
      {"font code (KS font)", kInFontCode, kHangulKs, {kHangulUtf8}, 3, kOutFontCode, kHangulKs + "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.files.files[kPath] = c.file;
    rig.settings.inFileType = c.in;
    CBriselDoc* doc = rig.Open(kPath);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Rig::LinesOf(*doc), c.lines);
    EXPECT_EQ(doc->LoadedFileType(), c.loaded);
    EXPECT_EQ(doc->PathName(), kPath);
    EXPECT_TRUE(rig.host.notices.empty());
    rig.settings.outFileType = c.out;
    doc->SetModifiedFlag();
    // A plain save keeps the code read; another code is chosen in "save as".
    const bool otherCode = c.out + 1 != c.loaded;
    if (otherCode) {
      rig.ui.chosen = kPath;
      EXPECT_TRUE(doc->DoSave(nullptr));
    } else {
      EXPECT_TRUE(doc->DoFileSave());
    }
    EXPECT_EQ(rig.files.files.at(kPath), c.saved);
    EXPECT_EQ(rig.files.files.size(), 1u) << "nothing left beside the file";
    EXPECT_EQ(doc->LoadedFileType(), c.out + 1);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(rig.host.commits, 1) << "the view's line buffer is stored first";
  }
}

TEST(BriselDoc, AutomaticDetectionDispatch) {
  struct Case {
    const char* name;
    unsigned flags;
    int fontCode;
    std::string file;
    bool opens;
    int loaded;
    Lines lines;
  };
  const std::string utf16 = std::string("\xFF\xFE\x5C\xD5", 4);
  const std::vector<Case> cases = {
      {"gm with the ks bit too", 0x60, 0, kHangulGm, true, 5, {kHangulUtf8}},
      {"gm", 0x40, 0, kHangulGm, true, 5, {kHangulUtf8}},
      {"ks", 0x20, 1, kHangulKs, true, 4, {kHangulUtf8}},
      {"utf8", 0x80, 0, kHangulUtf8, true, 1, {kHangulUtf8}},
      {"utf8 mark", 0x04, 0, kHangulUtf8, true, 1, {kHangulUtf8}},
      {"utf16", 0x08, 0, utf16, true, 2, {"\xED\x95\x9C"}},
      {"nothing known: the font's code (GM)", 0, 1, kHangulGm, true, 5, {kHangulUtf8}},
      {"nothing known: the font's code (KS)", 0, 0, kHangulKs, true, 4, {kHangulUtf8}},
      {"utf16 said of a file without a mark", 0x100, 0, "ab", false, -1, {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.files.files[kPath] = c.file;
    rig.detector.flags = c.flags;
    rig.host.fontCode = c.fontCode;
    CBriselDoc* doc = rig.Open(kPath);
    EXPECT_EQ(doc != nullptr, c.opens);
    EXPECT_EQ(rig.detector.seenMask, 992u);
    EXPECT_EQ(rig.detector.seen, c.file);
    if (!doc) continue;
    EXPECT_EQ(doc->LoadedFileType(), c.loaded);
    EXPECT_EQ(Rig::LinesOf(*doc), c.lines);
  }
}

// A UTF-8 file with its mark whose Korean starts where the detector's
// 1024-byte sample ends (its first byte the sample's last, or one earlier)
// opens as UTF-8 and a plain save gives the same bytes back.
TEST(BriselDoc, MarkedUtf8WithKoreanAtTheSampleEndOpensAsUtf8) {
  for (size_t koreanAt : {1021u, 1022u, 1023u}) {
    SCOPED_TRACE(koreanAt);
    std::string file = "\xEF\xBB\xBF";
    file.append(koreanAt - file.size(), 'a');
    file += kHangulUtf8 + "\r\n" + kHangulUtf8 + "\r\n";
    Rig rig;
    RealDetector detector;
    rig.detectorInUse = &detector;
    rig.files.files[kPath] = file;
    rig.settings.outFileType = kOutUtf8;
    CBriselDoc* doc = rig.Open(kPath);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->LoadedFileType(), kInUtf8);
    // The mark stays as U+FEFF at the start of the first line.
    const std::string first = std::string("\xEF\xBB\xBF") + std::string(koreanAt - 3, 'a') + kHangulUtf8;
    EXPECT_EQ(Rig::LinesOf(*doc), (Lines{first, kHangulUtf8}));
    EXPECT_TRUE(rig.host.notices.empty());
    doc->SetModifiedFlag();
    ASSERT_TRUE(doc->DoFileSave());
    EXPECT_EQ(rig.files.files.at(kPath), file);
  }
}

TEST(BriselDoc, DetectorSeesTheFirst1024Bytes) {
  Rig rig;
  std::string file;
  while (file.size() < 3000) file += kHangulGm + "\r\n";
  rig.files.files[kPath] = file;
  rig.detector.flags = 0x40;
  ASSERT_NE(rig.Open(kPath), nullptr);
  EXPECT_EQ(rig.detector.seen, file.substr(0, 1024));
  EXPECT_EQ(rig.Active()->LineCount(), 500);
}

TEST(BriselDoc, FailedReadFailsTheOpenAndCanNeverOverwriteTheFile) {
  Rig rig;
  const std::string original = "ok\nab\x80\x80 not UTF-8";
  rig.files.files[kPath] = original;
  rig.settings.inFileType = kInUtf8;
  ASSERT_NE(rig.New(), nullptr);
  EXPECT_EQ(rig.Open(kPath), nullptr);
  EXPECT_EQ(rig.host.notices, std::vector<DocNotice>{DocNotice::kBadFormat});
  CBriselDoc* doc = rig.Active();
  ASSERT_NE(doc, nullptr);
  EXPECT_TRUE(doc->PathName().empty()) << "no document under the file's name";
  EXPECT_EQ(doc->LoadedFileType(), -1);
  EXPECT_EQ(Rig::LinesOf(*doc), Lines{""});
  // Saving asks for a name; cancelled, nothing is written.
  doc->SetModifiedFlag();
  EXPECT_FALSE(doc->DoFileSave());
  EXPECT_EQ(rig.ui.prompted.size(), 1u);
  EXPECT_EQ(rig.files.files.at(kPath), original);
  // Closing with "yes" asks for a name as well.
  EXPECT_FALSE(rig.template_->SaveAllModified());
  EXPECT_EQ(rig.ui.prompted.size(), 2u);
  EXPECT_EQ(rig.files.files.at(kPath), original);
}

TEST(BriselDoc, FirstOpenThatFailsLeavesNoDocument) {
  Rig rig;
  rig.files.files[kPath] = "ab\x80\x80";
  rig.settings.inFileType = kInUtf8;
  EXPECT_EQ(rig.Open(kPath), nullptr);
  EXPECT_EQ(rig.Active(), nullptr);
}

TEST(BriselDoc, UnreadableFileFailsTheOpen) {
  Rig rig;
  EXPECT_EQ(rig.Open(kPath), nullptr);
  EXPECT_EQ(rig.host.notices, std::vector<DocNotice>{DocNotice::kOpenFailed});
  EXPECT_EQ(NoticeText(DocNotice::kOpenFailed), u"ﾄﾞｷｭﾒﾝﾄを開くことに失敗しました。");
}

std::string ManyLines(int count) {
  std::string file;
  file.reserve(static_cast<size_t>(count) * 2);
  for (int i = 0; i < count; ++i) file += "x\n";
  return file;
}

TEST(BriselDoc, MillionLinesGive999999AndTheMessageAndSaveAsksForAName) {
  Rig rig;
  rig.files.files[kPath] = ManyLines(1000000);
  rig.settings.inFileType = kInUtf8;
  CBriselDoc* doc = rig.Open(kPath);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->LineCount(), 999999);
  EXPECT_EQ(rig.host.notices, std::vector<DocNotice>{DocNotice::kNotAllRead});
  EXPECT_EQ(NoticeText(DocNotice::kNotAllRead), u"最後までデータを読むことができません");
  EXPECT_TRUE(doc->IncompleteLoad());
  EXPECT_EQ(doc->PathName(), kPath);
  // The document is full: no line more.
  EXPECT_FALSE(doc->InsertLine(0));

  // A plain save goes through "save as", proposing the file's name; cancelled,
  // the file keeps its millionth line.
  doc->SetModifiedFlag();
  EXPECT_TRUE(doc->OnCommand(fw::cmd::kFileSave));
  ASSERT_EQ(rig.ui.prompted.size(), 1u);
  EXPECT_EQ(rig.ui.prompted[0], kPath);
  EXPECT_EQ(rig.files.files.at(kPath), ManyLines(1000000));
  // Chosen deliberately in the dialog, the name is written, and from then on
  // the file holds what the document holds.
  rig.ui.chosen = kPath;
  EXPECT_TRUE(doc->DoFileSave());
  EXPECT_FALSE(doc->IncompleteLoad());
  EXPECT_EQ(rig.files.files.at(kPath).size(), 999999u * 3);
  doc->SetModifiedFlag();
  EXPECT_TRUE(doc->DoFileSave());
  EXPECT_EQ(rig.ui.prompted.size(), 2u) << "no more asking";
}

TEST(BriselDoc, LineStoreStopsAtTheLinesAFileGivesBack) {
  Rig rig;
  rig.files.files[kPath] = ManyLines(999998);
  rig.settings.inFileType = kInUtf8;
  CBriselDoc* doc = rig.Open(kPath);
  ASSERT_NE(doc, nullptr);
  EXPECT_TRUE(rig.host.notices.empty());
  EXPECT_FALSE(doc->IncompleteLoad());
  EXPECT_TRUE(doc->InsertLine(5));
  EXPECT_EQ(doc->LineCount(), 999999);
  EXPECT_FALSE(doc->InsertLine(5));
  doc->DeleteLine(0);
  EXPECT_EQ(doc->LineCount(), 999998);
}

TEST(BriselDoc, OverlongLineMarksTheLoadIncomplete) {
  Rig rig;
  const test::MarkingCodePage expanding(2);
  rig.template_ = std::make_unique<fw::SingleDocTemplate>(
      [&]() -> std::unique_ptr<fw::Document> {
        CBriselDoc::Services services{rig.ui, rig.files, rig.host, rig.settings, test::Gm(), expanding};
        return std::make_unique<CBriselDoc>(services);
      },
      rig.frames, u".txt");
  rig.files.files[kPath] = "a\n" + std::string(6000, 'x');
  rig.settings.inFileType = kInKs;
  CBriselDoc* doc = rig.Open(kPath);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(rig.host.notices, std::vector<DocNotice>{DocNotice::kLineTooLong});
  EXPECT_EQ(doc->LineCount(), 2);
  EXPECT_EQ(doc->GetLine(1), "");
  EXPECT_TRUE(doc->IncompleteLoad());
  doc->SetModifiedFlag();
  EXPECT_FALSE(doc->DoFileSave());
  EXPECT_EQ(rig.ui.prompted.size(), 1u);
}

TEST(BriselDoc, FailingWriteKeepsTheOriginal) {
  for (const bool replaceFails : {false, true}) {
    SCOPED_TRACE(replaceFails);
    Rig rig;
    const std::string original = "first\r\nsecond\r\n";
    rig.files.files[kPath] = original;
    rig.settings.inFileType = kInUtf8;
    CBriselDoc* doc = rig.Open(kPath);
    ASSERT_NE(doc, nullptr);
    doc->SetLine(0, "changed and much longer than before");
    doc->SetModifiedFlag();
    if (replaceFails) {
      rig.files.failReplace = true;
    } else {
      rig.files.failWriteAfter = 10;
    }
    EXPECT_FALSE(doc->DoFileSave());
    EXPECT_EQ(rig.files.files.at(kPath), original);
    EXPECT_EQ(rig.files.files.size(), 1u) << "no temporary file left";
    EXPECT_EQ(rig.host.notices, std::vector<DocNotice>{DocNotice::kSaveFailed});
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->LoadedFileType(), 1);
    EXPECT_EQ(doc->PathName(), kPath);
  }
}

TEST(BriselDoc, ReadOnlyFileGoesThroughSaveAs) {
  Rig rig;
  rig.files.files[kPath] = "a";
  rig.settings.inFileType = kInUtf8;
  CBriselDoc* doc = rig.Open(kPath);
  ASSERT_NE(doc, nullptr);
  rig.files.files.erase(kPath);  // gone: the rules treat it as read-only
  rig.ui.chosen = u"C:\\text\\b.txt";
  EXPECT_TRUE(doc->DoFileSave());
  EXPECT_EQ(doc->PathName(), u"C:\\text\\b.txt");
  EXPECT_EQ(rig.files.files.at(u"C:\\text\\b.txt"), "a\r\n");
}

// A view that stores a stale line buffer back when it paints, as the
// editor's view does; a message box lets it paint.
class PaintingView final : public fw::DocumentView {
 public:
  explicit PaintingView(CBriselDoc& doc) : doc_(doc) {}
  void OnUpdate(fw::DocumentView*, long hint) override {
    if (hint == 0) caretLine = 0;
  }
  void Paint() {
    ASSERT_LT(caretLine, doc_.LineCount()) << "the view's caret line is beyond the document";
    doc_.SetLine(caretLine, doc_.GetLine(caretLine));
  }
  int caretLine = 0;

 private:
  CBriselDoc& doc_;
};

class PaintingHost final : public DocumentHost {
 public:
  int FontCode() const override { return 0; }
  void Notify(DocNotice notice) override {
    if (view) view->Paint();
    notices.push_back(notice);
  }
  void NotifyReadChanged(const ReadOutcome&) override {
    if (view) view->Paint();
  }
  MissingAnswer AskAboutMissing(const MissingCharacters&, int) override {
    if (view) view->Paint();
    return MissingAnswer::kCancel;
  }
  PaintingView* view = nullptr;
  std::vector<DocNotice> notices;
};

TEST(BriselDoc, ViewsLetGoOfTheOldLinesBeforeAMessageShows) {
  for (const bool failing : {false, true}) {
    SCOPED_TRACE(failing);
    MemoryFiles files;
    ScriptedUi ui;
    ui.files = &files;
    PaintingHost host;
    FileCodeSettings settings{kInUtf8, 0};
    CBriselDoc doc({ui, files, host, settings, test::Gm()});
    PaintingView view(doc);
    host.view = &view;
    doc.AddView(&view);
    files.files[kPath] = ManyLines(300);
    ASSERT_TRUE(doc.OnOpenDocument(kPath));
    view.caretLine = 299;
    files.files[kPath] = failing ? std::string("ab\x80\x80") : ManyLines(1000001);
    EXPECT_EQ(doc.OnOpenDocument(kPath), !failing);
    EXPECT_EQ(host.notices.size(), 1u);
  }
}

TEST(BriselDoc, NoticeTexts) {
  EXPECT_EQ(NoticeText(DocNotice::kBadFormat), u"データの形式が正しくありません。");
  EXPECT_EQ(NoticeText(DocNotice::kLineTooLong), u"データの1行の長さが長すぎます。");
  EXPECT_TRUE(NoticeText(DocNotice::kOutOfMemory).empty());
}


// ---- Reads and saves that must not change the text without saying so ----

using tricky::Le16;
using tricky::Told;

std::string Printable(const std::string& bytes, size_t most = 24) {
  std::string out;
  char b[8];
  for (size_t i = 0; i < bytes.size() && i < most; ++i) {
    std::snprintf(b, sizeof b, "%02X ", static_cast<unsigned char>(bytes[i]));
    out += b;
  }
  if (bytes.size() > most) out += "... (" + std::to_string(bytes.size()) + " bytes)";
  return out;
}

// Tricky files through the real document code (the stand-in detector, the
// platform's code pages, a KS font): the lines read, whether the load is
// marked lossy, what a plain save writes (nothing: it asks for a name,
// which is cancelled here, and the file stays), and what the user was told.
TEST(BriselDoc, TrickyInputsTable) {
  for (const tricky::FileRow& r : tricky::FileRows()) {
    SCOPED_TRACE(r.name);
    Rig rig;
    RealDetector detector;
    rig.detectorInUse = &detector;
    rig.files.files[kPath] = r.file;
    rig.settings.inFileType = r.in;
    rig.settings.outFileType = kOutGm;  // a plain save must not take the setting
    CBriselDoc* doc = rig.Open(kPath);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(static_cast<size_t>(doc->LineCount()), r.lines);
    EXPECT_EQ(doc->IncompleteLoad(), r.lossy);
    EXPECT_TRUE(rig.host.notices.empty());
    Told told;
    ASSERT_LE(rig.host.changedReads.size(), 1u) << "told once";
    if (!rig.host.changedReads.empty()) {
      told = tricky::TellingOf(rig.host.changedReads[0]);
    }
    EXPECT_EQ(told, r.told) << told.undecodable << " " << told.dropped << " " << told.loneCrs << " " << told.split;
    doc->SetModifiedFlag();
    const bool saved = doc->DoFileSave();
    EXPECT_EQ(saved, r.plainSave.has_value());
    EXPECT_EQ(rig.ui.prompted.size(), r.plainSave ? 0u : 1u) << "a lossy load's plain save asks for a name";
    EXPECT_EQ(rig.files.files.at(kPath), r.plainSave ? *r.plainSave : r.file);
    std::printf("| %s | %s | %d | %s | %s | changed lines %zu, controls %zu, lone CRs %zu, splits %zu |\n", r.name,
                Printable(r.file).c_str(), doc->LineCount(), doc->IncompleteLoad() ? "lossy" : "faithful",
                saved ? Printable(rig.files.files.at(kPath)).c_str() : "asks for a name (cancelled: file kept)",
                told.undecodable, told.dropped, told.loneCrs, told.split);
  }
}

// The surrogate pair at the UTF-16 reader's cut stays whole, and "save as"
// in UTF-8 writes it as one 4-byte sequence, in UTF-16 as the pair.
TEST(BriselDoc, PairAtTheUnitCutStaysWhole) {
  std::u16string text(10921, u'a');
  text += u"\U0001F600b";
  Rig rig;
  rig.files.files[kPath] = "\xFF\xFE" + Le16(text);
  rig.settings.inFileType = kInUnicode;
  CBriselDoc* doc = rig.Open(kPath);
  ASSERT_NE(doc, nullptr);
  // U+1F600 as the units D83D DE00, each in three bytes.
  EXPECT_EQ(Rig::LinesOf(*doc), (Lines{std::string(10921, 'a'), "\xED\xA0\xBD\xED\xB8\x80" "b"}));
  const std::u16string other = u"C:\\text\\b.txt";
  rig.ui.chosen = other;
  rig.settings.outFileType = kOutUtf8;
  ASSERT_TRUE(doc->DoSave(nullptr));
  EXPECT_EQ(rig.files.files.at(other), std::string(10921, 'a') + "\r\n\xF0\x9F\x98\x80" "b\r\n");
  rig.settings.outFileType = kOutUnicode;
  ASSERT_TRUE(doc->DoSave(nullptr));
  EXPECT_EQ(rig.files.files.at(other), "\xFF\xFE" + Le16(std::u16string(10921, u'a') + u"\r\n\U0001F600b\r\n"));
  // The file it was read from is untouched.
  EXPECT_EQ(rig.files.files.at(kPath), "\xFF\xFE" + Le16(text));
}

// A save in a code that lacks characters of the text asks first: how many,
// the first one and its line; cancelled, nothing is written; another code
// goes through "save as" and writes the text whole.
TEST(BriselDoc, SaveInACodeThatLacksCharactersAsksFirst) {
  for (const tricky::SaveRow& r : tricky::SaveRows()) {
    for (const bool otherCode : {false, true}) {
      SCOPED_TRACE(std::string(r.name) + (otherCode ? ", another code" : ", cancelled"));
      Rig rig;
      rig.host.fontCode = r.fontCode;
      CBriselDoc* doc = rig.New();
      ASSERT_NE(doc, nullptr);
      doc->SetLine(0, r.line0);
      if (!r.line1.empty()) {
        ASSERT_TRUE(doc->InsertLine(1));
        doc->SetLine(1, r.line1);
      }
      doc->SetModifiedFlag();
      rig.settings.outFileType = r.out;
      rig.ui.chosen = kPath;
      rig.host.settings = &rig.settings;
      rig.host.missingAnswer = otherCode ? MissingAnswer::kOtherCode : MissingAnswer::kCancel;
      rig.host.nextCode = kOutUtf8;
      const bool saved = doc->DoFileSave();
      ASSERT_EQ(rig.host.asked.size(), 1u);
      EXPECT_EQ(rig.host.asked[0].first.count, r.count);
      EXPECT_EQ(rig.host.asked[0].first.first, r.first);
      EXPECT_EQ(rig.host.asked[0].first.firstLine, r.firstLine);
      EXPECT_EQ(rig.host.asked[0].second, r.out == kOutFontCode ? kOutGm : r.out);
      EXPECT_EQ(saved, otherCode);
      EXPECT_EQ(doc->IsModified(), !otherCode);
      if (otherCode) {
        // The text whole in UTF-8, the code then kept by a plain save.
        EXPECT_EQ(rig.files.files.at(kPath), tricky::Utf8FileOf(r));
        EXPECT_EQ(doc->PlainSaveCode(), kOutUtf8);
        EXPECT_EQ(rig.ui.prompted.size(), 2u) << "the first dialog, then the one for another code";
      } else {
        EXPECT_EQ(rig.files.files.count(kPath), 0u) << "nothing written";
      }
    }
  }
  // The message names the code, the count, the character and its line.
  MissingCharacters m;
  m.count = 3;
  m.first = 0x0E44;
  m.firstLine = 1;
  EXPECT_EQ(MissingCharactersMessage(m, kOutKs),
            u"KSｺｰﾄﾞ では保存できない文字が 3 個あります。\n最初の文字: 「\u0E44」 U+0E44 (2 行目)\n\n"
            u"別の文字ｺｰﾄﾞを選んで保存しますか?");
}

// Every code holds Korean, "¥" stays out of the byte codes' best fit, and
// UTF-8 and UTF-16 hold everything: no question.
TEST(BriselDoc, SaveOfTextTheCodeHoldsAsksNothing) {
  for (int out = kOutUtf8; out <= kOutGm; ++out) {
    SCOPED_TRACE(out);
    Rig rig;
    CBriselDoc* doc = rig.New();
    doc->SetLine(0, kHangulUtf8 + " abc");
    doc->SetModifiedFlag();
    rig.settings.outFileType = out;
    rig.ui.chosen = kPath;
    EXPECT_TRUE(doc->DoFileSave());
    EXPECT_TRUE(rig.host.asked.empty());
  }
  for (int out : {kOutUtf8, kOutUnicode}) {
    Rig rig;
    CBriselDoc* doc = rig.New();
    doc->SetLine(0, "\xC3\xA9\xC2\xA5\xE0\xB9\x84\xF0\x9F\x98\x80");
    rig.settings.outFileType = out;
    rig.ui.chosen = kPath;
    EXPECT_TRUE(doc->DoFileSave());
    EXPECT_TRUE(rig.host.asked.empty());
  }
}

// A plain save keeps the code the file was read in; the host hears which
// code that is.
TEST(BriselDoc, PlainSaveKeepsTheCodeRead) {
  Rig rig;
  rig.files.files[kPath] = kHangulKs + "\r\n";
  rig.settings.inFileType = kInKs;
  rig.settings.outFileType = kOutUtf8;
  CBriselDoc* doc = rig.Open(kPath);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->PlainSaveCode(), kOutKs);
  EXPECT_EQ(rig.host.saveCode, kOutKs);
  doc->SetLine(0, kHangulUtf8 + kHangulUtf8);
  doc->SetModifiedFlag();
  ASSERT_TRUE(doc->DoFileSave());
  EXPECT_EQ(rig.files.files.at(kPath), kHangulKs + kHangulKs + "\r\n");
  // "Save as" with another code: that code from then on.
  rig.ui.chosen = kPath;
  rig.settings.outFileType = kOutGm;
  ASSERT_TRUE(doc->DoSave(nullptr));
  EXPECT_EQ(rig.files.files.at(kPath), kHangulGm + kHangulGm + "\r\n");
  EXPECT_EQ(rig.host.saveCode, kOutGm);
  rig.settings.outFileType = kOutUtf8;
  doc->SetModifiedFlag();
  ASSERT_TRUE(doc->DoFileSave());
  EXPECT_EQ(rig.files.files.at(kPath), kHangulGm + kHangulGm + "\r\n");
}

// Memory running out while saving: the user is told, the document and the
// file stay; closing with "Yes" keeps the window's document.
class ThrowingFiles final : public FileStore {
 public:
  explicit ThrowingFiles(MemoryFiles& inner) : inner_(inner) {}
  std::optional<std::string> ReadAll(std::u16string_view path) override { return inner_.ReadAll(path); }
  std::optional<std::u16string> WriteBeside(std::u16string_view, std::string_view) override {
    throw std::bad_alloc();
  }
  bool Replace(std::u16string_view p, std::u16string_view t) override { return inner_.Replace(p, t); }
  void Remove(std::u16string_view path) override { inner_.Remove(path); }

 private:
  MemoryFiles& inner_;
};

TEST(BriselDoc, OutOfMemoryWhileSavingIsReportedAndKeepsTheDocument) {
  Rig rig;
  ThrowingFiles throwing(rig.files);
  rig.template_ = std::make_unique<fw::SingleDocTemplate>(
      [&]() -> std::unique_ptr<fw::Document> {
        return std::make_unique<CBriselDoc>(CBriselDoc::Services{rig.ui, throwing, rig.host, rig.settings, test::Gm()});
      },
      rig.frames, u".txt");
  rig.files.files[kPath] = "a\r\n";
  rig.settings.inFileType = kInUtf8;
  CBriselDoc* doc = rig.Open(kPath);
  ASSERT_NE(doc, nullptr);
  doc->SetLine(0, "edited");
  doc->SetModifiedFlag();
  EXPECT_FALSE(doc->DoFileSave());
  EXPECT_EQ(rig.host.notices, std::vector<DocNotice>{DocNotice::kSaveOutOfMemory});
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(Rig::LinesOf(*doc), Lines{"edited"});
  EXPECT_EQ(rig.files.files.at(kPath), "a\r\n");
  // Closing: "Yes" saves, that fails, the close is called off.
  rig.ui.answer = fw::SaveAnswer::kYes;
  EXPECT_FALSE(rig.template_->SaveAllModified());
  EXPECT_EQ(rig.Active(), doc);
  EXPECT_EQ(Rig::LinesOf(*doc), Lines{"edited"});
}

// The one message of a changed read.
TEST(BriselDoc, ReadChangedMessageText) {
  ReadOutcome read;
  read.undecodableLines = 2;
  read.loneCrs = 5;
  EXPECT_EQ(ReadChangedMessage(read),
            u"ﾌｧｲﾙの内容をそのままでは読み込めなかったため、次のように変えて読み込みました。\n"
            u"・この文字ｺｰﾄﾞで読めないﾃﾞｰﾀを含む行: 2 行\n"
            u"・削除した単独の CR (改行にならない復帰文字): 5 個\n\n"
            u"元のﾌｧｲﾙを守るため、上書き保存では名前を付けて保存します。");
  // The program's string table wins.
  EXPECT_EQ(ReadChangedMessage(read, [](unsigned id) { return id == kIdsReadChangedHead ? u"head" : u""; })
                .substr(0, 5),
            u"head\n");
}

}  // namespace
}  // namespace brisel
