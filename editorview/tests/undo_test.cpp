// The one-level undo that toggles, as a table of edit runs: after each
// step the lines, the caret and the selection are what the step leaves.
#include <gtest/gtest.h>

#include <functional>

#include "view_rig.h"

namespace editorview::test {
namespace {

struct State {
  std::vector<std::string> lines;
  TextPosition caret;
  TextPosition selStart{};  // {-1, -1}: no selection
  TextPosition selEnd{};
};

struct Step {
  const char* what;
  std::function<void(Rig&)> act;
  State expect;
};

struct Case {
  const char* name;
  std::vector<std::string> lines;
  TextPosition caret;
  std::vector<Step> steps;
};

void Undo(Rig& r) { r->Command(kCmdUndo); }

std::vector<Case> Cases() {
  return {
      {"typing, undo, undo",
       {""},
       {0, 0},
       {
           {"type abc", [](Rig& r) { r.Type("abc"); }, {{"abc"}, {0, 3}}},
           {"undo", Undo, {{""}, {0, 0}}},
           {"undo the undo", Undo, {{"abc"}, {0, 3}, {0, 0}, {0, 3}}},
           {"and again", Undo, {{""}, {0, 0}}},
       }},
      {"Delete three times at one place",
       {"abcdef"},
       {0, 1},
       {
           {"delete x3",
            [](Rig& r) {
              for (int i = 0; i < 3; ++i) r.Key(kVkDelete);
            },
            {{"aef"}, {0, 1}}},
           {"undo", Undo, {{"abcdef"}, {0, 4}, {0, 1}, {0, 4}}},
           {"undo the undo", Undo, {{"aef"}, {0, 1}}},
       }},
      {"Backspace three times",
       {"abcdef"},
       {0, 4},
       {
           {"backspace x3", [](Rig& r) { r.Type("\b\b\b"); }, {{"aef"}, {0, 1}}},
           {"undo", Undo, {{"abcdef"}, {0, 4}, {0, 1}, {0, 4}}},
       }},
      {"Backspace over a line start",
       {"ab", "cd"},
       {1, 0},
       {
           {"backspace", [](Rig& r) { r.Type("\b"); }, {{"abcd"}, {0, 2}}},
           {"undo splits again", Undo, {{"ab", "cd"}, {1, 0}, {0, 2}, {1, 0}}},
           {"undo joins again", Undo, {{"abcd"}, {0, 2}}},
       }},
      {"Backspace run across a line start",
       {"ab", "cd"},
       {1, 1},
       {
           {"backspace x2", [](Rig& r) { r.Type("\b\b"); }, {{"abd"}, {0, 2}}},
           {"undo brings both back", Undo, {{"ab", "cd"}, {1, 1}, {0, 2}, {1, 1}}},
       }},
      {"Delete across a line end",
       {"ab", "cd"},
       {0, 2},
       {
           {"delete x2",
            [](Rig& r) {
              r.Key(kVkDelete);
              r.Key(kVkDelete);
            },
            {{"abd"}, {0, 2}}},
           {"undo", Undo, {{"ab", "cd"}, {1, 1}, {0, 2}, {1, 1}}},
       }},
      {"Shift+Enter moves on without splitting",
       {"ab", "cd"},
       {0, 1},
       {
           {"shift+enter", [](Rig& r) { r->Char('\r', true); }, {{"ab", "cd"}, {1, 0}}},
           {"type x", [](Rig& r) { r.Type("x"); }, {{"ab", "xcd"}, {1, 1}}},
           {"undo takes only x", Undo, {{"ab", "cd"}, {1, 0}}},
       }},
      {"Enter belongs to the typing run",
       {""},
       {0, 0},
       {
           {"type ab, Enter, c", [](Rig& r) { r.Type("ab\rc"); }, {{"ab", "c"}, {1, 1}}},
           {"undo", Undo, {{""}, {0, 0}}},
           {"undo the undo", Undo, {{"ab", "c"}, {1, 1}, {0, 0}, {1, 1}}},
       }},
      {"typing elsewhere starts a new run",
       {"abc"},
       {0, 3},
       {
           {"type x at the end, y at the start",
            [](Rig& r) {
              r.Type("x");
              r.Place(0, 0);
              r.Type("y");
            },
            {{"yabcx"}, {0, 1}}},
           {"undo takes y only", Undo, {{"abcx"}, {0, 0}}},
       }},
      {"typing over a selection",
       {"hello world"},
       {0, 0},
       {
           {"select hello, type J",
            [](Rig& r) {
              r.Select({0, 0}, {0, 5});
              r.Type("J");
            },
            {{"J world"}, {0, 1}}},
           {"undo restores hello", Undo, {{"hello world"}, {0, 5}, {0, 0}, {0, 5}}},
       }},
      {"cut then undo",
       {"hello world"},
       {0, 0},
       {
           {"cut hello+blank",
            [](Rig& r) {
              r.Select({0, 0}, {0, 6});
              r->Command(kCmdCut);
            },
            {{"world"}, {0, 0}}},
           {"undo", Undo, {{"hello world"}, {0, 6}, {0, 0}, {0, 6}}},
       }},
      {"multi-line cut then undo",
       {"one", "two", "three"},
       {0, 1},
       {
           {"cut (0,1)-(2,2)",
            [](Rig& r) {
              r.Select({0, 1}, {2, 2});
              r->Command(kCmdCut);
            },
            {{"oree"}, {0, 1}}},
           {"undo", Undo, {{"one", "two", "three"}, {2, 2}, {0, 1}, {2, 2}}},
           {"undo the undo", Undo, {{"oree"}, {0, 1}}},
       }},
  };
}

TEST(Undo, GoldenStates) {
  for (const Case& c : Cases()) {
    Rig rig(c.lines);
    rig.Place(c.caret.line, c.caret.offset);
    for (const Step& step : c.steps) {
      step.act(rig);
      const std::string where = std::string(c.name) + " / " + step.what;
      EXPECT_EQ(rig.Lines(), step.expect.lines) << where;
      EXPECT_EQ(rig->Caret(), step.expect.caret) << where;
      EXPECT_EQ(rig->SelectionStart(), step.expect.selStart) << where;
      EXPECT_EQ(rig->SelectionEnd(), step.expect.selEnd) << where;
    }
  }
}

TEST(Undo, EnabledOnlyWithARecord) {
  Rig rig({"abc"});
  EXPECT_FALSE(rig->CommandEnabled(kCmdUndo));
  rig.Type("x");
  EXPECT_TRUE(rig->CommandEnabled(kCmdUndo));
  rig->OnUpdate(0);  // a loaded document clears the record
  EXPECT_FALSE(rig->CommandEnabled(kCmdUndo));
}

}  // namespace
}  // namespace editorview::test

