// The profile's typed rules, the recent-file list with its menu texts and
// its section, and the routing of WinHelp requests to HTML Help.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "help_route.h"
#include "profile.h"
#include "recent_files.h"

namespace fw {
namespace {

// ---- profile ----

TEST(ProfileTest, IntegersAsThePrivateProfileReadingTakesThem) {
  struct Case {
    const char16_t* text;
    int expected;
  };
  const Case cases[] = {
      {u"15", 15},     {u"-21", -21},  {u"+7", 7},         {u"  12", 12}, {u"\t3", 3},
      {u"12.5", 12},   {u"3abc", 3},   {u"abc", 0},        {u"-", 0},     {u"2147483647", 2147483647},
      {u"4294967295", -1}, {u"0x10", 0}, {u"007", 7},
  };
  for (const Case& c : cases) {
    MemoryProfileStore store;
    Profile profile(store);
    store.Write(u"Control", u"PasteCode", c.text);
    EXPECT_EQ(profile.GetInt(u"Control", u"PasteCode", 99), c.expected) << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text));
  }
}

TEST(ProfileTest, MissingOrEmptyValuesTakeTheDefault) {
  MemoryProfileStore store;
  Profile profile(store);
  EXPECT_EQ(profile.GetInt(u"Control", u"KsCopyFlag", 1), 1);
  EXPECT_EQ(profile.GetString(u"Control", u"KsCopyFont", u"KS P Mincho"), u"KS P Mincho");
  store.Write(u"Control", u"KsCopyFlag", u"");
  store.Write(u"Control", u"KsCopyFont", u"");
  EXPECT_EQ(profile.GetInt(u"Control", u"KsCopyFlag", 1), 1);
  // A string that is there, even empty, is the value.
  EXPECT_EQ(profile.GetString(u"Control", u"KsCopyFont", u"KS P Mincho"), u"");
}

TEST(ProfileTest, WritesDecimalTextAndNamesIgnoreCase) {
  MemoryProfileStore store;
  Profile profile(store);
  EXPECT_TRUE(profile.WriteInt(u"Window size", u"showCmd", 3));
  EXPECT_TRUE(profile.WriteInt(u"Font", u"Height", -21));
  EXPECT_EQ(store.Read(u"WINDOW SIZE", u"SHOWCMD"), std::optional<std::u16string>(u"3"));
  EXPECT_EQ(store.Read(u"font", u"height"), std::optional<std::u16string>(u"-21"));
  EXPECT_TRUE(profile.RemoveSection(u"window size"));
  EXPECT_FALSE(store.Read(u"Window size", u"showCmd").has_value());
  EXPECT_TRUE(store.Read(u"Font", u"Height").has_value());
  store.failWrites = true;
  EXPECT_FALSE(profile.WriteInt(u"Font", u"Height", 5));
}

TEST(ProfileTest, FileNameIsTheProgramsNameWithIni) {
  EXPECT_EQ(ProfileFileName(u"C:\\Program Files\\GeulmaruV6\\BRISELV6.EXE"), u"BRISELV6.INI");
  EXPECT_EQ(ProfileFileName(u"C:\\a.b\\Brisel"), u"Brisel.INI");
  EXPECT_EQ(ProfileFileName(u"BRISELV6.exe"), u"BRISELV6.INI");
}

// ---- recent files ----

TEST(RecentFileListTest, NewestFirstFourAtMostSamePathMovesUp) {
  RecentFileList list(4);
  for (const char16_t* p : {u"C:\\a.txt", u"C:\\b.txt", u"C:\\c.txt", u"C:\\d.txt", u"C:\\e.txt"}) list.Add(p);
  EXPECT_EQ(list.Entries(), (std::vector<std::u16string>{u"C:\\e.txt", u"C:\\d.txt", u"C:\\c.txt", u"C:\\b.txt"}));
  list.Add(u"c:\\C.TXT");
  EXPECT_EQ(list.Entries(), (std::vector<std::u16string>{u"c:\\C.TXT", u"C:\\e.txt", u"C:\\d.txt", u"C:\\b.txt"}));
  list.Add(u"");
  EXPECT_EQ(list.Entries().size(), 4u);
  EXPECT_EQ(list.EntryOfCommand(57617), u"C:\\e.txt");
  EXPECT_EQ(list.EntryOfCommand(57620), u"");
  EXPECT_EQ(list.EntryOfCommand(57615), u"");
  list.Remove(0);
  EXPECT_EQ(list.Entries().front(), u"C:\\e.txt");
}

TEST(RecentFileListTest, ReadsAndWritesFileKeysOfItsSection) {
  MemoryProfileStore store;
  Profile profile(store);
  store.Write(u"Recent File List", u"File1", u"C:\\one.txt");
  store.Write(u"Recent File List", u"File2", u"");
  store.Write(u"Recent File List", u"File3", u"C:\\three.txt");
  store.Write(u"Recent File List", u"File5", u"C:\\five.txt");
  RecentFileList list(4);
  list.Read(profile);
  EXPECT_EQ(list.Entries(), (std::vector<std::u16string>{u"C:\\one.txt", u"C:\\three.txt"}));
  list.Add(u"C:\\new.txt");
  EXPECT_TRUE(list.Write(profile));
  EXPECT_EQ(store.Read(u"Recent File List", u"File1"), std::optional<std::u16string>(u"C:\\new.txt"));
  EXPECT_EQ(store.Read(u"Recent File List", u"File2"), std::optional<std::u16string>(u"C:\\one.txt"));
  EXPECT_EQ(store.Read(u"Recent File List", u"File3"), std::optional<std::u16string>(u"C:\\three.txt"));
  // The section is written anew: nothing of the old keys stays.
  EXPECT_FALSE(store.Read(u"Recent File List", u"File4").has_value());
  EXPECT_FALSE(store.Read(u"Recent File List", u"File5").has_value());
}

TEST(RecentFileListTest, PathsShortenedToThirtyCharacters) {
  struct Case {
    const char16_t* path;
    const char16_t* shown;
  };
  const Case cases[] = {
      // Fits: as it is (exactly 30).
      {u"C:\\Documents\\Korean\\letter.txt", u"C:\\Documents\\Korean\\letter.txt"},
      // Volume and first folder, "\...", the last folders that fit.
      {u"C:\\Documents\\Korean\\2026\\December\\letter.txt", u"C:\\Documents\\...\\letter.txt"},
      {u"C:\\Docs\\a\\b\\c\\d\\e\\f\\g\\h\\i\\letter.txt", u"C:\\Docs\\...\\f\\g\\h\\i\\letter.txt"},
      // "\\server\share" is the volume of a network path.
      {u"\\\\server\\share\\folder\\deeper\\x.txt", u"\\\\server\\share\\...\\x.txt"},
      // The name alone when "<volume>\...\<name>" does not fit.
      {u"C:\\Documents\\a-very-long-file-name.txt", u"a-very-long-file-name.txt"},
      {u"C:\\x\\an-extremely-long-file-name-beyond-thirty.txt", u"an-extremely-long-file-name-beyond-thirty.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(AbbreviatePath(c.path, 30), c.shown);
  EXPECT_EQ(AbbreviatePath(u"C:\\x\\an-extremely-long-file-name-beyond-thirty.txt", 30, false), u"");
}

TEST(RecentFileListTest, MenuTextsNumberTheEntriesAndDoubleAmpersands) {
  EXPECT_EQ(RecentFileMenuText(u"C:\\Documents\\Korean\\2026\\December\\letter.txt", 0, u"C:\\Work"),
            u"&1 C:\\Documents\\...\\letter.txt");
  // In the current folder: the file name alone.
  EXPECT_EQ(RecentFileMenuText(u"C:\\Work\\R&D notes.txt", 3, u"c:\\work\\"), u"&4 R&&D notes.txt");
  EXPECT_EQ(RecentFileMenuText(u"C:\\Work\\sub\\a.txt", 1, u"C:\\Work"), u"&2 C:\\Work\\sub\\a.txt");
}

// ---- help routing ----

TEST(HelpRouteTest, WinHelpCommandsBecomeHtmlHelpCommands) {
  struct Case {
    unsigned command;
    unsigned long data;
    HtmlHelpRequest expected;
  };
  const Case cases[] = {
      {0x0001, 4027, {true, 0x000F, 4027}},        // HELP_CONTEXT: HH_HELP_CONTEXT with the topic
      {0x0001, 0x20080, {true, 0x000F, 0x2060A}},  // the main window's id
      {0x0003, 7, {true, 0x0001, 0}},              // HELP_CONTENTS: HH_DISPLAY_TOC
      {0x0004, 7, {true, 0x0003, 0}},              // HELP_HELPONHELP: HH_DISPLAY_SEARCH
      {0x000B, 7, {true, 0x0002, 0}},              // HELP_FINDER: HH_DISPLAY_INDEX
      {0x0002, 7, {false, 0, 0}},                  // HELP_QUIT: nothing
      {0x0008, 7, {false, 0, 0}},                  // HELP_CONTEXTPOPUP: nothing
  };
  for (const Case& c : cases) {
    const HtmlHelpRequest r = RouteWinHelp(c.command, c.data);
    EXPECT_EQ(r.show, c.expected.show) << c.command;
    EXPECT_EQ(r.command, c.expected.command) << c.command;
    EXPECT_EQ(r.data, c.expected.data) << c.command;
  }
}

}  // namespace
}  // namespace fw
