// The framework's portable rules of stage B: command routing and update-UI,
// the command line, the idle rule, documents with their save rules and the
// single-document template.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "command_line.h"
#include "command_target.h"
#include "document.h"
#include "idle_rules.h"

namespace fw {
namespace {

// ---- command routing and update-UI ----

// A target that takes the ids it is given, with a fixed state each.
class Taker final : public CommandTarget {
 public:
  explicit Taker(std::map<unsigned, CommandState> takes) : takes_(std::move(takes)) {}
  bool OnCommand(unsigned id) override {
    if (!takes_.count(id)) return false;
    done.push_back(id);
    return true;
  }
  bool OnUpdateCommand(unsigned id, CommandState& state) override {
    auto it = takes_.find(id);
    if (it == takes_.end()) return false;
    state = it->second;
    return true;
  }
  std::vector<unsigned> done;

 private:
  std::map<unsigned, CommandState> takes_;
};

TEST(CommandRouting, TheFirstTargetThatTakesACommandGetsIt) {
  CommandState off;
  off.enabled = false;
  CommandState checked;
  checked.checked = true;
  Taker view({{1, off}, {2, {}}});
  Taker document({{2, {}}, {3, {}}});
  Taker frame({{4, checked}});
  CommandTarget* chain[] = {&view, nullptr, &document, &frame};

  EXPECT_TRUE(RouteCommand(chain, 2));
  EXPECT_TRUE(RouteCommand(chain, 3));
  EXPECT_TRUE(RouteCommand(chain, 4));
  EXPECT_FALSE(RouteCommand(chain, 5));
  EXPECT_EQ(view.done, std::vector<unsigned>({2}));  // the view stands before the document
  EXPECT_EQ(document.done, std::vector<unsigned>({3}));
  EXPECT_EQ(frame.done, std::vector<unsigned>({4}));

  struct Case {
    unsigned id;
    bool autoDisable;
    bool enabled;
    std::optional<bool> checked;
  } cases[] = {
      {1, true, false, std::nullopt},  // the view says disabled, the document is not asked
      {2, true, true, std::nullopt},
      {4, true, true, true},
      {5, true, false, std::nullopt},   // nobody takes it: grey
      {5, false, true, std::nullopt},   // unless the element keeps unknown commands enabled
  };
  for (const Case& c : cases) {
    const CommandState s = QueryCommand(chain, c.id, c.autoDisable);
    EXPECT_EQ(s.enabled, c.enabled) << c.id;
    EXPECT_EQ(s.checked, c.checked) << c.id;
  }
}

TEST(CommandRouting, TheCacheLetsOnlyChangesThrough) {
  CommandStateCache cache;
  CommandState on;
  CommandState off;
  off.enabled = false;
  CommandState text;
  text.text = u"    3 /   10";
  EXPECT_TRUE(cache.Changed(7, on));
  EXPECT_FALSE(cache.Changed(7, on));
  EXPECT_TRUE(cache.Changed(8, on));  // another element
  EXPECT_TRUE(cache.Changed(7, off));
  EXPECT_FALSE(cache.Changed(7, off));
  EXPECT_TRUE(cache.Changed(9, text));
  text.text = u"    4 /   10";
  EXPECT_TRUE(cache.Changed(9, text));
  cache.Forget();
  EXPECT_TRUE(cache.Changed(7, off));
}

// ---- command line ----

TEST(CommandLine, ArgumentsFollowTheRuntimeRules) {
  struct Case {
    std::u16string line;
    std::vector<std::u16string> args;
  } cases[] = {
      {uR"(prog "a b c" d e)", {u"prog", u"a b c", u"d", u"e"}},
      {uR"(prog "ab\"c" "\\" d)", {u"prog", uR"(ab"c)", uR"(\)", u"d"}},
      {uR"(prog a\\\b d"e f"g h)", {u"prog", uR"(a\\\b)", u"de fg", u"h"}},
      {uR"(prog a\\\"b c d)", {u"prog", uR"(a\"b)", u"c", u"d"}},
      {uR"(prog a\\\\"b c" d e)", {u"prog", uR"(a\\b c)", u"d", u"e"}},
      {uR"(prog a"b"" c d)", {u"prog", uR"(ab" c d)"}},
      // The program's own name keeps its backslashes and ends at its quote.
      {uR"("C:\Program Files\Brisel\BRISELV6.EXE" C:\文書\안녕.txt)",
       {uR"(C:\Program Files\Brisel\BRISELV6.EXE)", uR"(C:\文書\안녕.txt)"}},
      {u"prog\t \"\"  x ", {u"prog", u"", u"x"}},
      {u"prog", {u"prog"}},
      {u"", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitCommandLine(c.line), c.args) << std::string(c.line.begin(), c.line.end());
  }
}

TEST(CommandLine, TheShellCommand) {
  struct Case {
    std::vector<std::u16string> args;
    ShellCommand command;
    std::u16string file, printer, driver, port;
  } cases[] = {
      {{u"prog"}, ShellCommand::kFileNew, u"", u"", u"", u""},
      {{u"prog", u"a.txt"}, ShellCommand::kFileOpen, u"a.txt", u"", u"", u""},
      {{u"prog", u"a.txt", u"b.txt"}, ShellCommand::kFileOpen, u"a.txt", u"", u"", u""},
      {{u"prog", u"/p", u"a.txt"}, ShellCommand::kFilePrint, u"a.txt", u"", u"", u""},
      {{u"prog", u"-P", u"a.txt"}, ShellCommand::kFilePrint, u"a.txt", u"", u"", u""},
      {{u"prog", u"/pt", u"a.txt", u"PDF", u"cups", u"LPT1:"}, ShellCommand::kFilePrintTo, u"a.txt", u"PDF", u"cups",
       u"LPT1:"},
      {{u"prog", u"/dde"}, ShellCommand::kFileDde, u"", u"", u"", u""},
      {{u"prog", u"/unknown", u"a.txt"}, ShellCommand::kFileOpen, u"a.txt", u"", u"", u""},
  };
  for (const Case& c : cases) {
    const CommandLineInfo info = ParseCommandLine(c.args);
    EXPECT_EQ(info.command, c.command);
    EXPECT_EQ(info.fileName, c.file);
    EXPECT_EQ(info.printerName, c.printer);
    EXPECT_EQ(info.driverName, c.driver);
    EXPECT_EQ(info.portName, c.port);
  }
}

// ---- idle ----

TEST(Idle, FrequentMessagesDoNotStartTheIdleWorkAgain) {
  IdleRules rules;
  EXPECT_FALSE(rules.RestartsIdle(wm::kPaint, 0, 0));
  EXPECT_FALSE(rules.RestartsIdle(wm::kSysTimer, 0, 0));
  EXPECT_TRUE(rules.RestartsIdle(0x0100 /* WM_KEYDOWN */, 0, 0));
  EXPECT_TRUE(rules.RestartsIdle(0x0111 /* WM_COMMAND */, 0, 0));
  EXPECT_TRUE(rules.RestartsIdle(wm::kMouseMove, 10, 20));
  EXPECT_FALSE(rules.RestartsIdle(wm::kMouseMove, 10, 20));  // it did not move
  EXPECT_TRUE(rules.RestartsIdle(wm::kNcMouseMove, 10, 20));  // another kind of move
  EXPECT_TRUE(rules.RestartsIdle(wm::kMouseMove, 10, 20));
  EXPECT_TRUE(rules.RestartsIdle(wm::kMouseMove, 11, 20));
}

// ---- documents and saving ----

// The user and the file system of the tests: answers as the test says, files
// as a set of names.
class FakeUi final : public DocumentUi {
 public:
  SaveAnswer AskToSave(std::u16string_view name) override {
    asked.emplace_back(name);
    return answer;
  }
  std::optional<std::u16string> PromptSaveName(std::u16string_view proposed, unsigned titleId) override {
    prompts.emplace_back(proposed);
    promptTitles.push_back(titleId);
    return chosen;
  }
  bool Exists(std::u16string_view path) override { return files.count(std::u16string(path)) > 0; }
  bool IsReadOnly(std::u16string_view path) override {
    return readOnly.count(std::u16string(path)) > 0 || !Exists(path);
  }
  void Remove(std::u16string_view path) override {
    removed.emplace_back(path);
    files.erase(std::u16string(path));
  }
  void BeginWait() override { ++waits; }
  void EndWait() override { --waits; }

  SaveAnswer answer = SaveAnswer::kYes;
  std::optional<std::u16string> chosen;
  std::set<std::u16string> files;
  std::set<std::u16string> readOnly;
  std::vector<std::u16string> asked, prompts, removed;
  std::vector<unsigned> promptTitles;
  int waits = 0;
};

// A document of one text; writing creates the file (when allowed) and then
// fails or succeeds as told.
class TextDoc final : public Document {
 public:
  explicit TextDoc(FakeUi& ui) : Document(ui), ui_(ui) {}
  std::u16string text;
  std::vector<std::u16string> written;
  bool writeFails = false;
  bool failBeforeOpening = false;  // the writer fails before it touches the file
  bool readFails = false;
  bool refuseOpenEarly = false;    // the open fails before the contents are touched

  bool OnOpenDocument(std::u16string_view path) override {
    if (refuseOpenEarly) return false;
    return Document::OnOpenDocument(path);
  }

 protected:
  void DeleteContents() override { text.clear(); }
  bool ReadFile(std::u16string_view path) override {
    if (readFails) return false;
    text = u"read from " + std::u16string(path);
    return true;
  }
  bool WriteFile(std::u16string_view path) override {
    if (writeFails && failBeforeOpening) return false;
    ui_.files.insert(std::u16string(path));
    if (writeFails) return false;
    written.emplace_back(path);
    return true;
  }

 private:
  FakeUi& ui_;
};

TEST(Saving, ProposedNamesAndPrompts) {
  EXPECT_EQ(ProposedSaveName(u"無題", u".txt"), u"無題.txt");
  EXPECT_EQ(ProposedSaveName(u"my letter", u".txt"), u"my.txt");
  EXPECT_EQ(ProposedSaveName(u"a#1;b", u".txt"), u"a.txt");
  EXPECT_EQ(ProposedSaveName(u"50%", u""), u"50");
  EXPECT_EQ(ProposedSaveName(uR"(x\y)", u".txt"), u"x.txt");
  EXPECT_EQ(AskToSavePrompt(u"a.txt"), u"a.txt への変更を保存しますか?");
  EXPECT_EQ(FileTitle(uR"(C:\文書\안녕.txt)"), u"안녕.txt");
  EXPECT_EQ(FileTitle(u"D:a.txt"), u"a.txt");
  EXPECT_EQ(FrameTitle(u"無題", u"Brisel"), u"無題 - Brisel");
}

TEST(Saving, TheUserIsAskedOnlyAboutChanges) {
  FakeUi ui;
  TextDoc doc(ui);
  doc.SetPathName(uR"(C:\a.txt)");
  ui.files.insert(uR"(C:\a.txt)");
  EXPECT_TRUE(doc.SaveModified());
  EXPECT_TRUE(ui.asked.empty());

  struct Case {
    SaveAnswer answer;
    bool result;
    size_t writes;
  } cases[] = {{SaveAnswer::kNo, true, 0}, {SaveAnswer::kCancel, false, 0}, {SaveAnswer::kYes, true, 1}};
  for (const Case& c : cases) {
    doc.SetModifiedFlag();
    doc.written.clear();
    ui.answer = c.answer;
    EXPECT_EQ(doc.SaveModified(), c.result);
    EXPECT_EQ(doc.written.size(), c.writes);
    EXPECT_EQ(ui.asked.back(), uR"(C:\a.txt)");  // the path names a document that has one
  }
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(ui.prompts.empty());
  EXPECT_EQ(ui.waits, 0);
}

TEST(Saving, AnUntitledDocumentIsNamedByTheUser) {
  FakeUi ui;
  TextDoc doc(ui);
  doc.SetDefaultExtension(u".txt");
  doc.SetTitle(u"無題");
  doc.SetModifiedFlag();
  ui.chosen.reset();  // the dialog is cancelled
  EXPECT_FALSE(doc.SaveModified());
  EXPECT_EQ(ui.asked.back(), u"無題");
  EXPECT_EQ(ui.prompts.back(), u"無題.txt");
  EXPECT_EQ(ui.promptTitles.back(), kIdsSaveFile);
  EXPECT_TRUE(doc.written.empty());
  EXPECT_TRUE(doc.IsModified());

  ui.chosen = uR"(C:\new.txt)";
  EXPECT_TRUE(doc.SaveModified());
  EXPECT_EQ(doc.written, std::vector<std::u16string>({uR"(C:\new.txt)"}));
  EXPECT_EQ(doc.PathName(), uR"(C:\new.txt)");
  EXPECT_EQ(doc.Title(), u"new.txt");
  EXPECT_FALSE(doc.IsModified());
}

TEST(Saving, AReadOnlyOrVanishedFileGoesThroughSaveAs) {
  FakeUi ui;
  TextDoc doc(ui);
  doc.SetPathName(uR"(C:\ro.txt)");
  ui.files.insert(uR"(C:\ro.txt)");
  ui.readOnly.insert(uR"(C:\ro.txt)");
  ui.chosen = uR"(C:\copy.txt)";
  EXPECT_TRUE(doc.DoFileSave());
  EXPECT_EQ(ui.prompts.back(), uR"(C:\ro.txt)");  // the dialog starts at the document's path
  EXPECT_EQ(doc.written.back(), uR"(C:\copy.txt)");
  EXPECT_EQ(doc.PathName(), uR"(C:\copy.txt)");

  ui.files.erase(uR"(C:\copy.txt)");  // deleted behind the program's back
  ui.chosen = uR"(C:\again.txt)";
  EXPECT_TRUE(doc.DoFileSave());
  EXPECT_EQ(ui.prompts.size(), 2u);
  EXPECT_EQ(doc.written.back(), uR"(C:\again.txt)");

  // A writable file is saved where it is, without the dialog.
  EXPECT_TRUE(doc.DoFileSave());
  EXPECT_EQ(ui.prompts.size(), 2u);
  EXPECT_EQ(doc.written.back(), uR"(C:\again.txt)");
}

TEST(Saving, ACopyKeepsTheDocumentsName) {
  FakeUi ui;
  TextDoc doc(ui);
  doc.SetPathName(uR"(C:\a.txt)");
  doc.SetModifiedFlag();
  ui.chosen = uR"(C:\copy.txt)";
  EXPECT_TRUE(doc.DoSave(nullptr, false));
  EXPECT_EQ(ui.promptTitles.back(), kIdsSaveFileCopy);
  EXPECT_EQ(doc.written.back(), uR"(C:\copy.txt)");
  EXPECT_EQ(doc.PathName(), uR"(C:\a.txt)");
}

TEST(Saving, AFailedWriteRemovesOnlyAFileItCreated) {
  struct Case {
    const char* what;
    bool prompted;
    bool existedBefore;
    bool failBeforeOpening;
    bool removed;
  } cases[] = {
      {"a new file half written", true, false, false, true},
      {"an existing file the writer failed on", true, true, true, false},
      {"an existing file overwritten in part", true, true, false, false},
      {"a save under the document's own path", false, false, false, false},
  };
  for (const Case& c : cases) {
    FakeUi ui;
    TextDoc doc(ui);
    doc.SetTitle(u"無題");
    doc.SetModifiedFlag();
    doc.writeFails = true;
    doc.failBeforeOpening = c.failBeforeOpening;
    const std::u16string name = uR"(C:\out.txt)";
    if (c.existedBefore) ui.files.insert(name);
    ui.chosen = name;
    const bool ok = c.prompted ? doc.DoSave(nullptr, true) : doc.DoSave(&name, true);
    EXPECT_FALSE(ok) << c.what;
    EXPECT_EQ(!ui.removed.empty(), c.removed) << c.what;
    EXPECT_EQ(ui.Exists(name), !c.removed && (c.existedBefore || !c.failBeforeOpening)) << c.what;
    EXPECT_TRUE(doc.IsModified()) << c.what;
    EXPECT_EQ(doc.Title(), u"無題") << c.what;
    EXPECT_EQ(ui.waits, 0) << c.what;
  }
}

TEST(Saving, TheSaveCommands) {
  FakeUi ui;
  TextDoc doc(ui);
  doc.SetPathName(uR"(C:\a.txt)");
  ui.files.insert(uR"(C:\a.txt)");
  ui.chosen = uR"(C:\b.txt)";
  CommandState s;
  EXPECT_TRUE(doc.OnUpdateCommand(cmd::kFileSave, s));
  EXPECT_TRUE(s.enabled);
  EXPECT_FALSE(doc.OnUpdateCommand(57637, s));
  EXPECT_TRUE(doc.OnCommand(cmd::kFileSave));
  EXPECT_TRUE(doc.OnCommand(cmd::kFileSaveAs));
  EXPECT_EQ(doc.written, std::vector<std::u16string>({uR"(C:\a.txt)", uR"(C:\b.txt)"}));
  EXPECT_FALSE(doc.OnCommand(cmd::kFileOpen));  // the application's
}

// ---- the single-document template ----

class RecordingView final : public DocumentView {
 public:
  void OnUpdate(DocumentView*, long hint) override { updates.push_back(hint); }
  void OnInitialUpdate() override { ++initial; }
  void OnTitleChanged() override { ++titles; }
  std::vector<long> updates;
  int initial = 0;
  int titles = 0;
};

class FakeFrames final : public FrameMaker {
 public:
  bool CreateFrame(Document& document) override {
    ++created;
    if (refuse) return false;
    document.AddView(&view);
    doc = &document;
    return true;
  }
  void DestroyFrame() override {
    ++destroyed;
    if (doc) doc->RemoveView(&view);
    doc = nullptr;
  }
  void InitialUpdateFrame(Document& document, bool) override {
    ++shown;
    document.InitialUpdateAllViews();
  }
  RecordingView view;
  Document* doc = nullptr;
  bool refuse = false;
  int created = 0, destroyed = 0, shown = 0;
};

struct TemplateRig {
  FakeUi ui;
  FakeFrames frames;
  TextDoc* last = nullptr;
  int made = 0;
  SingleDocTemplate tmpl{[this] {
                           ++made;
                           auto d = std::make_unique<TextDoc>(ui);
                           last = d.get();
                           return d;
                         },
                         frames, u".txt"};
};

TEST(SingleDocument, OneDocumentAndOneFrameServeEveryOpen) {
  TemplateRig r;
  Document* doc = r.tmpl.OpenDocumentFile(nullptr);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->Title(), u"無題");
  EXPECT_EQ(r.frames.created, 1);
  EXPECT_EQ(r.frames.view.initial, 1);

  const std::u16string a = uR"(C:\a.txt)";
  EXPECT_EQ(r.tmpl.OpenDocumentFile(&a), doc);
  EXPECT_EQ(r.last->text, uR"(read from C:\a.txt)");
  EXPECT_EQ(doc->Title(), u"a.txt");
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(r.made, 1);
  EXPECT_EQ(r.frames.created, 1);
  EXPECT_EQ(r.frames.view.initial, 2);  // the view starts again on the opened text
  EXPECT_GE(r.frames.view.titles, 2);
  EXPECT_TRUE(r.ui.asked.empty());

  r.tmpl.CloseAllDocuments();
  EXPECT_EQ(r.frames.destroyed, 1);
  EXPECT_EQ(r.tmpl.ActiveDocument(), nullptr);
}

TEST(SingleDocument, UnsavedChangesAreAskedAboutFirst) {
  TemplateRig r;
  Document* doc = r.tmpl.OpenDocumentFile(nullptr);
  r.last->text = u"typed";
  doc->SetModifiedFlag();
  r.ui.answer = SaveAnswer::kCancel;
  const std::u16string b = uR"(C:\b.txt)";
  EXPECT_EQ(r.tmpl.OpenDocumentFile(&b), nullptr);
  EXPECT_EQ(r.last->text, u"typed");
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(r.frames.view.initial, 1);
  EXPECT_FALSE(r.tmpl.SaveAllModified());

  r.ui.answer = SaveAnswer::kNo;
  EXPECT_TRUE(r.tmpl.SaveAllModified());
  EXPECT_EQ(r.tmpl.OpenDocumentFile(&b), doc);
  EXPECT_EQ(r.last->text, uR"(read from C:\b.txt)");
}

TEST(SingleDocument, AFailedOpen) {
  const std::u16string a = uR"(C:\a.txt)";
  const std::u16string bad = uR"(C:\bad.txt)";
  {
    // Refused before the contents were touched: the document stays as it was.
    TemplateRig r;
    r.tmpl.OpenDocumentFile(&a);
    Document* doc = r.tmpl.ActiveDocument();
    r.last->text = u"edited";
    doc->SetModifiedFlag();
    r.ui.answer = SaveAnswer::kNo;
    r.last->refuseOpenEarly = true;
    EXPECT_EQ(r.tmpl.OpenDocumentFile(&bad), nullptr);
    EXPECT_EQ(r.last->text, u"edited");
    EXPECT_TRUE(doc->IsModified());  // the edits are still there and still unsaved
    EXPECT_EQ(doc->PathName(), a);
  }
  {
    // Failed while reading: a new document, shown as such.
    TemplateRig r;
    r.tmpl.OpenDocumentFile(&a);
    r.last->readFails = true;
    const int initial = r.frames.view.initial;
    EXPECT_EQ(r.tmpl.OpenDocumentFile(&bad), nullptr);
    Document* doc = r.tmpl.ActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(r.last->text, u"");
    EXPECT_EQ(doc->Title(), u"無題");
    EXPECT_TRUE(doc->PathName().empty());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(r.frames.view.initial, initial + 1);
  }
  {
    // The first open fails: no frame stays behind.
    TemplateRig r;
    r.ui.answer = SaveAnswer::kNo;
    TextDoc* made = nullptr;
    SingleDocTemplate t(
        [&] {
          auto d = std::make_unique<TextDoc>(r.ui);
          d->readFails = true;
          made = d.get();
          return d;
        },
        r.frames);
    EXPECT_EQ(t.OpenDocumentFile(&bad), nullptr);
    EXPECT_NE(made, nullptr);
    EXPECT_EQ(t.ActiveDocument(), nullptr);
    EXPECT_EQ(r.frames.destroyed, 1);
  }
  {
    // No frame could be made.
    TemplateRig r;
    r.frames.refuse = true;
    EXPECT_EQ(r.tmpl.OpenDocumentFile(nullptr), nullptr);
    EXPECT_EQ(r.tmpl.ActiveDocument(), nullptr);
  }
}

TEST(SingleDocument, UpdatesReachEveryViewButTheSender) {
  FakeUi ui;
  TextDoc doc(ui);
  RecordingView a, b;
  doc.AddView(&a);
  doc.AddView(&b);
  doc.AddView(&a);
  doc.UpdateAllViews(&a, 5);
  EXPECT_TRUE(a.updates.empty());
  EXPECT_EQ(b.updates, std::vector<long>({5}));
  doc.UpdateAllViews(nullptr);
  EXPECT_EQ(a.updates, std::vector<long>({0}));
  doc.RemoveView(&b);
  EXPECT_EQ(doc.Views().size(), 1u);
}

}  // namespace
}  // namespace fw
