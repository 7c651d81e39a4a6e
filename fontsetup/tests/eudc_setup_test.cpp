#include "eudc_setup.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace belvo {
namespace {

// HKEY_CURRENT_USER "EUDC\932" and the install folder value in memory.
class FakeRegistry final : public SetupRegistry {
 public:
  std::optional<std::u16string> install;
  bool keyExists = true;
  bool canCreateKey = true;
  bool refuseValues = false;
  int opens = 0, closes = 0;
  bool open = false;
  std::map<std::u16string, std::u16string> links;

  std::optional<std::u16string> InstallDirectory() override { return install; }
  bool OpenLinkKey() override {
    ++opens;
    if (!keyExists && canCreateKey) keyExists = true;
    open = keyExists;
    return open;
  }
  bool SetLink(std::u16string_view face, std::u16string_view path) override {
    if (!open || refuseValues) return false;
    links[std::u16string(face)] = std::u16string(path);
    return true;
  }
  void CloseLinkKey() override {
    ++closes;
    open = false;
  }
};

class FakeFiles final : public FileProbe {
 public:
  std::set<std::u16string> present;
  bool Exists(std::u16string_view path) override { return present.count(std::u16string(path)) != 0; }
};

TEST(EudcSetup, ProgramFolderGetsOneSeparatorAndTheSuiteFolder) {
  struct Case {
    std::u16string_view install;
    std::optional<std::u16string> folder;
  } const cases[] = {
      {u"C:\\Program Files", u"C:\\Program Files\\GeulmaruV6\\"},
      {u"C:\\Program Files\\", u"C:\\Program Files\\GeulmaruV6\\"},
      {u"D:\\", u"D:\\GeulmaruV6\\"},
      {u"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ProgramFolder(c.install), c.folder);
}

TEST(EudcSetup, TheTableHasSixteenFacesEachWithAnEudcFile) {
  const auto& table = EudcFontLinkTable();
  EXPECT_EQ(std::u16string(table[0].face), u"ＧＭ韓国明朝");
  EXPECT_EQ(std::u16string(table[8].face), u"ＧＭ韓国Ｔ書");
  EXPECT_EQ(std::u16string(table[15].face), u"ＧＭ韓国新聞明朝");
  std::set<std::u16string> files;
  for (const EudcFont& row : table) {
    const std::u16string file = row.eudcFile;
    ASSERT_GE(file.size(), 4u);
    EXPECT_EQ(file.substr(file.size() - 4), u".TTE");
    files.insert(file);
  }
  EXPECT_EQ(files.size(), 16u) << "each row has a file of its own";
}

// Three files present: exactly their three links, in row order, each the
// program folder + "Gaiji\" + the file.
TEST(EudcSetup, LinksExactlyThePresentFiles) {
  const std::u16string folder = u"C:\\Suite\\GeulmaruV6\\";
  const auto& table = EudcFontLinkTable();
  FakeFiles files;
  for (int row : {15, 1, 6}) files.present.insert(folder + u"Gaiji\\" + table[row].eudcFile);
  FakeRegistry registry;
  registry.install = u"C:\\Suite";
  std::vector<std::u16string> shown;
  const SetupReport report = RunSetup(registry, files, [&](const FontLink& l) { shown.push_back(l.face); });
  EXPECT_EQ(report.outcome, SetupOutcome::kLinked);
  EXPECT_EQ(report.programFolder, folder);
  EXPECT_EQ(shown, (std::vector<std::u16string>{u"ＧＭ韓国ゴシック", u"ＧＭ韓国ヘッドライン", u"ＧＭ韓国新聞明朝"}));
  EXPECT_EQ(registry.links, (std::map<std::u16string, std::u16string>{
                                {u"ＧＭ韓国ゴシック", folder + u"Gaiji\\" + table[1].eudcFile},
                                {u"ＧＭ韓国ヘッドライン", folder + u"Gaiji\\" + table[6].eudcFile},
                                {u"ＧＭ韓国新聞明朝", folder + u"Gaiji\\" + table[15].eudcFile},
                            }));
  EXPECT_EQ(registry.opens, 3);
  EXPECT_EQ(registry.closes, 3);
}

TEST(EudcSetup, AMissingLinkKeyIsCreated) {
  FakeRegistry registry;
  registry.keyExists = false;
  const FontLink link{0, u"ＧＭ韓国明朝", u"C:\\S\\GeulmaruV6\\Gaiji\\GMMINCHO.TTE"};
  EXPECT_EQ(RegisterEudcFontLink(registry, link), LinkResult::kWritten);
  EXPECT_EQ(registry.links.size(), 1u);
}

// Nothing written is never reported as success.
TEST(EudcSetup, FailuresAreReportedAsSuch) {
  const std::u16string folder = u"C:\\S\\GeulmaruV6\\";
  FakeFiles files;
  files.present.insert(folder + u"Gaiji\\" + EudcFontLinkTable()[2].eudcFile);
  auto none = [](const FontLink&) {};
  {
    SCOPED_TRACE("no install folder value");
    FakeRegistry registry;
    const SetupReport r = RunSetup(registry, files, none);
    EXPECT_EQ(r.outcome, SetupOutcome::kNoFolder);
    EXPECT_TRUE(registry.links.empty());
    EXPECT_EQ(registry.opens, 0);
  }
  {
    SCOPED_TRACE("an empty install folder value");
    FakeRegistry registry;
    registry.install = u"";
    EXPECT_EQ(RunSetup(registry, files, none).outcome, SetupOutcome::kNoFolder);
  }
  {
    SCOPED_TRACE("no EUDC file");
    FakeRegistry registry;
    registry.install = u"C:\\Other";
    EXPECT_EQ(RunSetup(registry, files, none).outcome, SetupOutcome::kNoFontFiles);
    EXPECT_TRUE(registry.links.empty());
  }
  {
    SCOPED_TRACE("the key can be neither opened nor created");
    FakeRegistry registry;
    registry.install = u"C:\\S";
    registry.keyExists = false;
    registry.canCreateKey = false;
    const SetupReport r = RunSetup(registry, files, none);
    EXPECT_EQ(r.outcome, SetupOutcome::kLinksFailed);
    EXPECT_EQ(r.failed.size(), 1u);
    EXPECT_TRUE(r.written.empty());
  }
  {
    SCOPED_TRACE("the value is refused");
    FakeRegistry registry;
    registry.install = u"C:\\S";
    registry.refuseValues = true;
    const SetupReport r = RunSetup(registry, files, none);
    EXPECT_EQ(r.outcome, SetupOutcome::kLinksFailed);
    EXPECT_EQ(registry.closes, 1) << "the key is closed after a refused value too";
  }
}

TEST(EudcSetup, LogOffOnlyAfterLinksAndTheChoiceNow) {
  EXPECT_TRUE(ShouldLogOff(SetupOutcome::kLinked, true, 0));
  EXPECT_FALSE(ShouldLogOff(SetupOutcome::kLinked, true, 1));
  EXPECT_FALSE(ShouldLogOff(SetupOutcome::kLinked, false, 0));
  EXPECT_FALSE(ShouldLogOff(SetupOutcome::kNoFolder, true, 0));
  EXPECT_FALSE(ShouldLogOff(SetupOutcome::kLinksFailed, true, 0));
}

}  // namespace
}  // namespace belvo
