#include "dic_choice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "fake_user_dic_engine.h"

namespace {

using workbench::Beep;
using workbench::DicSlots;

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// Files of a case-blind file system.
class Files : public workbench::FileProbe {
 public:
  bool Exists(const std::string& path) const override { return paths.count(Lower(path)) != 0; }
  void Add(const std::string& path) { paths.insert(Lower(path)); }
  std::set<std::string> paths;
};

class Registry : public workbench::UserDicRegistry {
 public:
  void WriteSlot(int slot, const std::string& value) override { written[slot] = value; }
  std::map<int, std::string> written;
};

class Ui : public workbench::DicChoiceUi {
 public:
  void Warn(const std::string& text, Beep beep) override { warnings.push_back({text, beep}); }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    return answer;
  }
  void WaitCursor(bool on) override { waits.push_back(on); }
  std::vector<std::pair<std::string, Beep>> warnings;
  std::vector<std::string> questions;
  std::vector<bool> waits;
  bool answer = true;
};

class DicChoice : public ::testing::Test {
 protected:
  // A dictionary the engine accepts: its file and its extension-less path.
  void Dictionary(const std::string& base) {
    engine.dictionaries.insert(base);
    files.Add(base + ".DIC");
  }
  workbench::DicChoiceResult Ok(const DicSlots& typed) {
    return workbench::ApplyDicChoice(typed, slots, engine, files, registry, ui);
  }
  workbench_test::FakeUserDicEngine engine;
  Files files;
  Registry registry;
  Ui ui;
  DicSlots slots;
};

TEST_F(DicChoice, OpeningKeepsValidDictionariesWithDotsAndForgetsInvalidOnes) {
  Dictionary("C:\\a\\b");
  Dictionary("C:\\a\\my.user");
  slots = {"C:\\a\\b", "C:\\a\\my.user", "C:\\gone"};
  const DicSlots fields = workbench::OpenDicChoice(slots, engine, registry);
  EXPECT_EQ(fields, (DicSlots{"C:\\a\\b.DIC", "C:\\a\\my.user.DIC", ""}));
  EXPECT_EQ(slots, (DicSlots{"C:\\a\\b", "C:\\a\\my.user", ""}));
  // The engine is asked about the stored path as it is.
  EXPECT_EQ(engine.checked, (std::vector<std::string>{"C:\\a\\b", "C:\\a\\my.user", "C:\\gone"}));
  EXPECT_EQ(registry.written, (std::map<int, std::string>{{2, ""}}));
  EXPECT_TRUE(ui.warnings.empty());

  // OK without a change stores the same paths again.
  const auto result = Ok(fields);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(slots, (DicSlots{"C:\\a\\b", "C:\\a\\my.user", ""}));
  EXPECT_EQ(registry.written, (std::map<int, std::string>{{0, "C:\\a\\b"}, {1, "C:\\a\\my.user"}, {2, ""}}));
}

TEST_F(DicChoice, APathThatIsNoFullPathIsRefusedOnItsField) {
  for (const char* typed : {"b.dic", "\\a\\b.dic", "C:b.dic", "C:", "C:/a/b.dic"}) {
    SCOPED_TRACE(typed);
    ui.warnings.clear();
    const auto result = Ok({"", typed, ""});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.focus, 125);
    ASSERT_EQ(ui.warnings.size(), 1u);
    EXPECT_EQ(ui.warnings[0].first, "フルパス名で指定して下さい");
    EXPECT_EQ(ui.warnings[0].second, Beep::kExclamation);
  }
  EXPECT_TRUE(registry.written.empty());
}

TEST_F(DicChoice, AnExistingFileIsCheckedWithoutItsExtension) {
  files.Add("C:\\a\\b.TXT");
  engine.dictionaries.insert("C:\\a\\b");
  EXPECT_TRUE(Ok({"C:\\a\\b.TXT", "", ""}).ok);
  EXPECT_EQ(engine.checked, std::vector<std::string>{"C:\\a\\b"});
  EXPECT_EQ(slots[0], "C:\\a\\b");
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(DicChoice, AFileOfAnotherFormatIsRefusedWithTheTypedPath) {
  files.Add("C:\\a\\text.dic");
  const auto result = Ok({"", "", "C:\\a\\text.dic"});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.focus, 126);
  ASSERT_EQ(ui.warnings.size(), 1u);
  EXPECT_EQ(ui.warnings[0].first, "指定されたユーザー辞書(C:\\a\\text.dic)はファイルの形式が正しくありません。");
  EXPECT_EQ(ui.warnings[0].second, Beep::kAsterisk);
}

TEST_F(DicChoice, AMissingDictionaryIsCreatedOnlyWhenTheUserSaysYes) {
  ui.answer = false;
  auto result = Ok({"C:\\n\\new.dic", "", ""});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.focus, 124);
  EXPECT_EQ(ui.questions, std::vector<std::string>{"辞書(C:\\n\\new.dic)が存在しません！\n新規作成しますか？"});
  EXPECT_TRUE(engine.created.empty());

  ui.answer = true;
  result = Ok({"C:\\n\\new.dic", "", ""});
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(engine.created, std::vector<std::string>{"C:\\n\\new"});
  EXPECT_EQ(ui.waits, (std::vector<bool>{true, false}));
  EXPECT_EQ(slots[0], "C:\\n\\new");
  EXPECT_EQ(registry.written[0], "C:\\n\\new");
}

TEST_F(DicChoice, AFailedCreationLeavesTheDialogOnTheField) {
  engine.createResult = -6;
  const auto result = Ok({"", "C:\\n\\new.dic", ""});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.focus, 125);
  ASSERT_EQ(ui.warnings.size(), 1u);
  EXPECT_EQ(ui.warnings[0].first, "辞書が作成できません！");
  EXPECT_TRUE(registry.written.empty());
}

TEST_F(DicChoice, AnExistingDictionaryTypedWithoutItsExtensionIsNotOfferedForCreation) {
  Dictionary("C:\\a\\my.user");
  EXPECT_TRUE(Ok({"C:\\a\\my.user", "", ""}).ok);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_TRUE(engine.created.empty());
  EXPECT_EQ(slots[0], "C:\\a\\my.user");  // not cut at its last dot
}

TEST_F(DicChoice, DuplicatesAreComparedWithoutCaseOnTheTypedTexts) {
  Dictionary("C:\\x\\d");
  Dictionary("c:\\x\\e");
  struct Case {
    DicSlots typed;
    int focus;
  };
  const Case cases[] = {
      {{"c:\\x\\d.dic", "", "C:\\X\\D.DIC"}, 126},
      {{"c:\\x\\d.dic", "C:\\X\\D.DIC", ""}, 125},
      {{"", "c:\\x\\e.dic", "C:\\x\\E.dic"}, 126},
      {{"C:\\x\\d.dic", "C:\\x\\d.DIC", "C:\\x\\d.dic"}, 125},
  };
  for (const Case& c : cases) {
    ui.warnings.clear();
    const auto result = Ok(c.typed);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.focus, c.focus) << c.typed[0] << "|" << c.typed[1] << "|" << c.typed[2];
    ASSERT_EQ(ui.warnings.size(), 1u);
    EXPECT_EQ(ui.warnings[0].first, "辞書が重複しています");
  }
  EXPECT_TRUE(registry.written.empty());
  // The same dictionary with and without its extension is no duplicate.
  EXPECT_TRUE(Ok({"C:\\x\\d", "C:\\x\\d.DIC", ""}).ok);
}

TEST_F(DicChoice, ThreeEmptyFieldsStoreThreeEmptyValues) {
  slots = {"C:\\a", "C:\\b", "C:\\c"};
  EXPECT_TRUE(Ok({"", "", ""}).ok);
  EXPECT_EQ(slots, (DicSlots{"", "", ""}));
  EXPECT_EQ(registry.written, (std::map<int, std::string>{{0, ""}, {1, ""}, {2, ""}}));
}

TEST_F(DicChoice, TheFirstBadFieldStopsTheChecks) {
  ui.answer = false;
  const auto result = Ok({"C:\\n\\one.dic", "C:\\n\\two.dic", ""});
  EXPECT_EQ(result.focus, 124);
  EXPECT_EQ(ui.questions.size(), 1u);
}

TEST(DicChoicePaths, SplitAndBrowseFolder) {
  const auto p = workbench::SplitPath("C:\\a\\my.user.dic");
  EXPECT_EQ(p.drive, "C:");
  EXPECT_EQ(p.folder, "\\a\\");
  EXPECT_EQ(p.name, "my.user");
  EXPECT_EQ(p.extension, ".dic");
  EXPECT_EQ(workbench::PathWithoutExtension("C:\\a.b\\c"), "C:\\a.b\\c");
  EXPECT_EQ(workbench::BrowseStartFolder("C:\\a\\b", "D:\\f"), "C:\\a\\");
  EXPECT_EQ(workbench::BrowseStartFolder("", "D:\\f"), "D:\\f");
}

}  // namespace
