#include "brisel_doc.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "doc_fixtures.h"

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
  int fontCode = 0;
  int commits = 0;
  std::vector<DocNotice> notices;
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
          services.detector = &detector;
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
    EXPECT_TRUE(doc->DoFileSave());
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

}  // namespace
}  // namespace brisel
