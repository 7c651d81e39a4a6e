#include <gtest/gtest.h>

#include "command_line.h"
#include "companion.h"
#include "crt_command_line.h"
#include "fake_context.h"
#include "gm_layout.h"

namespace ime {
namespace {

using imelink::kCommit;
using imelink::WM_LOOKUP_CHAR;
using imelink::WM_PAD_CHAR;
using imelink::WM_WORKBENCH_CHAR;

const std::string kFolder = "C:\\Program Files\\VALDRIMO\\GeulmaruV6\\";

TEST(Companion, CommandOfEachProgram) {
  const imelink::LaunchArguments numbers{0x10A2, -0x1234, 1};
  struct Case {
    int id;
    bool withContext;
    std::string expected;
  } cases[] = {
      {40005, true, '"' + kFolder + "BRISELV6.EXE\""},
      {40006, false, '"' + kFolder + "VIDIDID6.EXE\""},
      {40007, true, ""},
      {40008, true, '"' + kFolder + "DALMOK.EXE\" 4258 -4660 1"},
      {40008, false, '"' + kFolder + "DALMOK.EXE\""},  // no context: no numbers
      {40009, true, '"' + kFolder + "DRENVIK.EXE\""},
      {40010, true, '"' + kFolder + "Ombrel.EXE\""},
      {40011, true, '"' + kFolder + "Vestra.EXE\" 4258 -4660 1"},
      {40011, false, '"' + kFolder + "Vestra.EXE\""},
      {40012, true, '"' + kFolder + "Wimsa_Dic\\QuorelDic.EXE\""},
      {40013, true, '"' + kFolder + "Sorvent.EXE\""},
      {40014, true, '"' + kFolder + "FERLIN2.EXE\""},
      {40004, true, ""},
      {40015, true, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompanionCommand(kFolder, c.id, c.withContext ? &numbers : nullptr), c.expected) << c.id;
  }
}

TEST(Companion, LaunchArgumentsReadBack) {
  imelink::LaunchArguments a;
  ASSERT_TRUE(imelink::ParseImeLaunchArguments("4258 -4660 2", &a));
  EXPECT_EQ(a.uiWindow, 4258);
  EXPECT_EQ(a.targetWindow, -4660);
  EXPECT_EQ(a.koreanCode, 2);
  ASSERT_TRUE(imelink::ParseImeLaunchArguments("  65536\t0 0", &a));
  EXPECT_EQ(a.uiWindow, 65536);
  for (const char* bad : {"", "1 2", "1 2 x", "1x 2 3", "99999999999 1 1"}) {
    imelink::LaunchArguments b{7, 7, 7};
    EXPECT_FALSE(imelink::ParseImeLaunchArguments(bad, &b)) << bad;
    EXPECT_EQ(b.uiWindow, 7) << bad;
  }
  // What the launcher writes, the program reads from WinMain's command line.
  const std::string line = CompanionCommand(kFolder, 40011, &a);
  imelink::LaunchArguments c;
  ASSERT_TRUE(imelink::ParseImeLaunchArguments(test::SplitByCrtRules(line).winMainLine.c_str(), &c));
  EXPECT_EQ(c.uiWindow, a.uiWindow);
  EXPECT_EQ(c.targetWindow, a.targetWindow);
  EXPECT_EQ(c.koreanCode, a.koreanCode);
}

TEST(CrtCommandLine, TheSplitterGivesTheRuntimesDocumentedExamples) {
  using V = std::vector<std::string>;
  const struct {
    const char* arguments;
    V argv;
  } examples[] = {
      {R"("a b c" d e)", {"a b c", "d", "e"}},
      {R"("ab\"c" "\\" d)", {"ab\"c", "\\", "d"}},
      {R"(a\\\b d"e f"g h)", {"a\\\\\\b", "de fg", "h"}},
      {R"(a\\\"b c d)", {"a\\\"b", "c", "d"}},
      {R"(a\\\\"b c" d e)", {"a\\\\b c", "d", "e"}},
      {R"("say ""hi""" x)", {"say \"hi\"", "x"}},
      {R"(a "b c)", {"a", "b c"}},
  };
  for (const auto& e : examples) {
    V expected{"prog"};
    expected.insert(expected.end(), e.argv.begin(), e.argv.end());
    EXPECT_EQ(test::SplitByCrtRules(std::string("prog ") + e.arguments).argv, expected) << e.arguments;
  }
  // The program name keeps its blanks inside quotes, and its backslashes.
  const test::CrtCommandLine p = test::SplitByCrtRules(R"("C:\Program Files\a\" 1  2)");
  EXPECT_EQ(p.argv, (V{"C:\\Program Files\\a\\", "1", "2"}));
  EXPECT_EQ(p.winMainLine, "1  2");
  // Unquoted, a folder with a blank splits the program's path.
  EXPECT_EQ(test::SplitByCrtRules(R"(C:\Program Files\a.exe 1)").argv, (V{"C:\\Program", "Files\\a.exe", "1"}));
}

TEST(Companion, CommandsFromAFolderWithBlanksSplitAsTheProgramsRead) {
  // The default install folder has a blank; the workbench and the pad get
  // the program and their three numbers, every other program only itself.
  const imelink::LaunchArguments numbers{0x10A2, -0x1234, 2};
  using V = std::vector<std::string>;
  for (int id : {40008, 40011}) {
    const std::string line = CompanionCommand(kFolder, id, &numbers);
    const test::CrtCommandLine split = test::SplitByCrtRules(line);
    const std::string program = kFolder + (id == 40008 ? "DALMOK.EXE" : "Vestra.EXE");
    EXPECT_EQ(split.argv, (V{program, "4258", "-4660", "2"})) << line;
    imelink::LaunchArguments read;
    ASSERT_TRUE(imelink::ParseImeLaunchArguments(split.winMainLine.c_str(), &read)) << line;
    EXPECT_EQ(read.uiWindow, 4258);
    EXPECT_EQ(read.targetWindow, -4660);
    EXPECT_EQ(read.koreanCode, 2);
  }
  for (int id : {40005, 40006, 40009, 40010, 40012, 40013, 40014}) {
    const std::string line = CompanionCommand(kFolder, id, &numbers);
    const test::CrtCommandLine split = test::SplitByCrtRules(line);
    ASSERT_EQ(split.argv.size(), 1u) << line;
    EXPECT_EQ(split.argv[0], kFolder + FindCompanion(id)->name + ".EXE");
    EXPECT_EQ(split.winMainLine, "") << line;
  }
  // The editor reads no file name from its command line: a new document.
  const std::string editor = CompanionCommand(kFolder, 40005, nullptr);
  const fw::CommandLineInfo info =
      fw::ParseCommandLine(fw::SplitCommandLine(std::u16string(editor.begin(), editor.end())));
  EXPECT_EQ(info.command, fw::ShellCommand::kFileNew);
  EXPECT_TRUE(info.fileName.empty());
}

CompanionStep Step(CompanionStep::Kind kind, uintptr_t window) {
  CompanionStep s;
  s.kind = kind;
  s.window = window;
  return s;
}

// The companion state with the engine carrying out the steps on a context.
struct CompanionRig : test::EngineFixture {
  CompanionState state;
  CompanionFacts facts{0x500, 0x600};
  std::vector<CompanionStep> log;

  std::vector<CompanionStep> Message(unsigned msg, uintptr_t wParam, uintptr_t lParam = 0) {
    std::vector<CompanionStep> steps = OnCompanionMessage(state, msg, wParam, lParam, facts);
    for (const CompanionStep& s : steps) {
      if (s.kind == CompanionStep::kInsertLookupChar) engine.InsertLookupChar(ctx.blocks, s.character);
      if (s.kind == CompanionStep::kInsertText) engine.InsertTransferredText(ctx.blocks, s.text);
      log.push_back(s);
    }
    return steps;
  }
  std::vector<ImeMessage> Sent() const { return ctx.sink.Messages(); }
};

const ImeMessage kStart{kWmImeStartComposition, 0, 0};
const ImeMessage kResult{kWmImeComposition, 0, 0x1E00};
const ImeMessage kEnd{kWmImeEndComposition, 0, 0};

TEST(Companion, PadText128CharactersAndCommitGiveOneResult) {
  CompanionRig r;
  r.settings.interfaceCodePage = 0;  // ANSI: the text goes in as KS bytes
  r.state.savedContext = 0x77;
  r.state.target = 0x300;
  r.Message(WM_PAD_CHAR, 1, 0x900);  // the pad announces itself
  EXPECT_EQ(r.state.pad, 0x900u);
  std::string sent;
  for (int i = 0; i < 128; ++i) {
    const uint8_t second = static_cast<uint8_t>(0xA1 + i % 90);
    sent += {'\xB0', static_cast<char>(second)};
    EXPECT_TRUE(r.Message(WM_PAD_CHAR, imelink::CharParam(0xB0, second)).empty());
  }
  EXPECT_TRUE(r.Sent().empty());
  const std::vector<CompanionStep> steps = r.Message(WM_PAD_CHAR, kCommit);
  ASSERT_EQ(steps.size(), 3u);
  // The pad's target is the application of the UI window's context.
  EXPECT_EQ(steps[0], Step(CompanionStep::kSetFocus, 0x600));
  EXPECT_EQ(steps[1].kind, CompanionStep::kInsertText);
  EXPECT_EQ(steps[1].context, 0x77u);
  EXPECT_EQ(steps[2].kind, CompanionStep::kPostSelf);  // posted for the pad
  EXPECT_EQ(steps[2].message, WM_LOOKUP_CHAR);
  EXPECT_EQ(steps[2].wParam, 1u);
  EXPECT_EQ(r.Sent(), (std::vector<ImeMessage>{kStart, kResult, kEnd}));
  EXPECT_EQ(r.ctx.ResultA(), sent);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(r.ctx.comp.resultReadStr), r.ctx.comp.h.dwResultReadStrLen), sent);
  EXPECT_EQ(GetU32(r.ctx.comp.resultClause + 4), 256u);
  EXPECT_EQ(r.ctx.comp.h.dwCompClauseLen, 8u);
  EXPECT_EQ(r.ctx.comp.h.dwCompStrLen, 0u);
  EXPECT_TRUE(r.state.transfer.text().empty());
}

TEST(Companion, WorkbenchCommitUnderTheUnicodeInterface) {
  CompanionRig r;  // Unicode interface, KS code
  r.state.savedContext = 0x77;
  r.state.target = 0x300;
  for (uint16_t c : {0xA1B0, 0xAAB3, 0x0021}) r.Message(WM_WORKBENCH_CHAR, c);  // 가 나 !
  const std::vector<CompanionStep> steps = r.Message(WM_WORKBENCH_CHAR, kCommit);
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0], Step(CompanionStep::kSetFocus, 0x300));  // the workbench keeps its target
  EXPECT_EQ(steps[2].kind, CompanionStep::kSendSelf);                     // sent, not posted
  EXPECT_EQ(r.ctx.ResultW(), u"가나!");
  EXPECT_EQ(r.Sent(), (std::vector<ImeMessage>{kStart, kResult, kEnd}));
}

TEST(Companion, WithdrawalLeavesNoSenderAndTextStillCommits) {
  CompanionRig r;
  r.state.savedContext = 0x77;
  r.Message(WM_WORKBENCH_CHAR, 1, 0x910);
  EXPECT_EQ(r.state.workbench, 0x910u);
  r.Message(WM_WORKBENCH_CHAR, 1, 0);
  EXPECT_EQ(r.state.workbench, 0u);
  r.Message(WM_WORKBENCH_CHAR, 0xA1B0);
  r.Message(WM_WORKBENCH_CHAR, kCommit);
  EXPECT_EQ(r.ctx.ResultW(), u"가");
  // A window with another wParam is the new target; (0, 0) does nothing.
  EXPECT_TRUE(r.Message(WM_WORKBENCH_CHAR, 5, 0x920).empty());
  EXPECT_EQ(r.state.target, 0x920u);
  EXPECT_TRUE(r.Message(WM_WORKBENCH_CHAR, 0, 0).empty());
}

TEST(Companion, NothingIsCommittedBeforeALaunch) {
  CompanionRig r;
  r.Message(WM_PAD_CHAR, 1, 0x900);
  EXPECT_EQ(r.state.pad, 0x900u);
  EXPECT_TRUE(r.Message(WM_PAD_CHAR, 0xA1B0).empty());
  EXPECT_TRUE(r.Message(WM_PAD_CHAR, kCommit).empty());
  EXPECT_TRUE(r.Message(WM_LOOKUP_CHAR, 0x9F88).empty());
  EXPECT_TRUE(r.Sent().empty());
  EXPECT_TRUE(r.state.transfer.text().empty());
}

// A sender that never commits fills the buffer: the characters that do not
// fit are refused (the collected text is never overwritten), and the commit
// brings everything collected in results that each fit the result area.
TEST(Companion, OverlongTextIsRefusedNotWrappedAndCommitsWhole) {
  CompanionRig r;
  r.settings.interfaceCodePage = 0;
  r.state.savedContext = 0x77;
  std::string sent;
  int beeps = 0;
  for (int i = 0; i < 300; ++i) {
    const uint8_t second = static_cast<uint8_t>(0xA1 + i % 90);
    const std::vector<CompanionStep> steps = r.Message(WM_WORKBENCH_CHAR, imelink::CharParam(0xB0, second));
    if (!steps.empty() && steps[0].kind == CompanionStep::kBeep) {
      ++beeps;
    } else {
      sent += {'\xB0', static_cast<char>(second)};
    }
  }
  EXPECT_EQ(sent.size(), 510u);
  EXPECT_EQ(beeps, 300 - 255);
  EXPECT_EQ(r.state.transfer.text(), sent);
  // One more single byte still fits (511 and the terminator); then nothing.
  EXPECT_TRUE(r.Message(WM_WORKBENCH_CHAR, '!').empty());
  EXPECT_EQ(r.Message(WM_WORKBENCH_CHAR, '!').size(), 1u);
  sent += '!';
  r.ctx.sink.sent.clear();
  std::string results;
  struct Collect : MessageSink {
    CompanionRig* rig;
    std::string* out;
    bool Send(const ImeMessage& m, bool indirect) override {
      if (m.message == kWmImeComposition) *out += rig->ctx.ResultA();
      return rig->ctx.sink.Send(m, indirect);
    }
  } collect;
  collect.rig = &r;
  collect.out = &results;
  r.ctx.blocks.sink = &collect;
  r.Message(WM_WORKBENCH_CHAR, kCommit);
  EXPECT_EQ(results, sent);
  EXPECT_EQ(r.Sent(), (std::vector<ImeMessage>{kStart, kResult, kEnd, kStart, kResult, kEnd}));
}

// The lookup window sends GM95; the character is committed in the code in use.
TEST(Companion, LookupCharacterUnderEachCode) {
  const codeconv::GmLayout layout = codeconv::BuildGmLayout(codeconv::PlatformCodePages());
  const std::vector<uint8_t> toV3 = codeconv::BuildGm95ToV3Table(layout);
  const std::vector<uint8_t> fromV3 = codeconv::BuildGmV3To95Table(layout);
  const codeconv::GmTables tables{{toV3.data(), toV3.size()}, {fromV3.data(), fromV3.size()}};
  struct Case {
    int code;
    unsigned interfaceCodePage;
    uint16_t wParam;
    std::string ansi;
    std::u16string unicode;
  } cases[] = {
      {1, 949, 0x9F88, "", u"가"},            // GM95 88 9F: 가
      {1, 0, 0x9F88, "\xB0\xA1", u""},        // as KS bytes
      {0, 0, 0x9F88, "\x88\x9F", u""},        // GM95 unchanged
      {2, 0, 0x9F88, "\x88\x9F", u""},        // syllables stand where GM95 has them
      {1, 0, 0x9F82, "\xA4\xA1", u""},        // ㄱ
      {0, 0, 0x9F82, "\x82\x9F", u""},
      {2, 0, 0x9F82, "\x95\x40", u""},        // GM V3 keeps the jamo in row 41
      {1, 949, 0x0041, "", u"A"},             // a single byte
  };
  for (const Case& c : cases) {
    CompanionRig r;
    r.settings.koreanCode = c.code;
    r.settings.interfaceCodePage = c.interfaceCodePage;
    r.engine.SetGmTables(&tables);
    r.state.savedContext = 0x77;
    r.state.target = 0x300;
    const std::vector<CompanionStep> steps = r.Message(WM_LOOKUP_CHAR, c.wParam);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0], Step(CompanionStep::kSetFocus, 0x300));
    EXPECT_EQ(steps[2].kind, CompanionStep::kPostSelf);
    EXPECT_EQ(steps[2].wParam, 1u);
    if (c.interfaceCodePage == 949) {
      EXPECT_EQ(r.ctx.ResultW(), c.unicode) << std::hex << c.wParam;
    } else {
      EXPECT_EQ(r.ctx.ResultA(), c.ansi) << c.code << " " << std::hex << c.wParam;
    }
    EXPECT_EQ(r.Sent(), (std::vector<ImeMessage>{kStart, kResult, kEnd}));
  }
}

TEST(Companion, LookupAnnouncementsAndClosing) {
  CompanionRig r;
  r.state.lookup = 0x990;
  // wParam 1: the focused window becomes the target; a window in lParam first.
  EXPECT_TRUE(r.Message(WM_LOOKUP_CHAR, 1, 0).empty());
  EXPECT_EQ(r.state.target, 0x500u);
  r.facts.focus = 0;
  r.Message(WM_LOOKUP_CHAR, 1, 0x444);
  EXPECT_EQ(r.state.target, 0x444u);  // no focus: lParam stays
  const std::vector<CompanionStep> closed = r.Message(WM_LOOKUP_CHAR, 0);
  EXPECT_EQ(r.state.lookup, 0u);
  EXPECT_EQ(closed, (std::vector<CompanionStep>{Step(CompanionStep::kLookupClosed, 0x444)}));
}

// With a candidate list open, a received character closes it with the
// composition it belonged to.
TEST(Companion, ReceivedTextClosesAnOpenCandidateList) {
  CompanionRig r;
  r.ctx.cand.list.dwCount = 3;
  r.ctx.cand.info.dwCount = 1;
  r.Type("rk");
  r.ctx.sink.sent.clear();
  r.engine.InsertLookupChar(r.ctx.blocks, 0x9F88);
  EXPECT_FALSE(IsCandidateOpen(r.ctx.blocks));
  EXPECT_EQ(r.Sent(), (std::vector<ImeMessage>{{kWmImeNotify, kImnCloseCandidate, 1}, kStart, kResult, kEnd}));
}

TEST(Companion, LockFailureBeeps) {
  CompanionRig r;
  r.ctx.blocks.comp = nullptr;
  r.engine.InsertTransferredText(r.ctx.blocks, "\xB0\xA1");
  EXPECT_EQ(r.feedback.beeps, (std::vector<unsigned>{kBeepDefault}));
  r.engine.InsertTransferredText(r.ctx.blocks, "");
  EXPECT_EQ(r.feedback.beeps.size(), 1u);  // an empty text does nothing
}

}  // namespace
}  // namespace ime
