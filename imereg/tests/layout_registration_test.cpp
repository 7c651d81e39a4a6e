#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "fake_settings_platform.h"
#include "layout_registration.h"

using namespace imereg;
using settings::FakeSettingsPlatform;
using settings::RegRoot;

namespace {

constexpr RegRoot LM = RegRoot::LocalMachine;
const std::string kLayouts = "System\\CurrentControlSet\\control\\keyboard layouts";
const std::string kDriverKey = "System\\CurrentControlSet\\Services\\i8042prt\\Parameters";
const std::string kSystem = "C:\\WINDOWS\\system32";

constexpr WindowsVersion kWin9x{true, 0};
constexpr WindowsVersion kNt4{false, 4};
constexpr WindowsVersion kNt5{false, 5};
constexpr WindowsVersion kNt10{false, 10};

class RecordingIme final : public ImeManager {
 public:
  std::string SystemDirectory() override { return kSystem; }
  void InstallIme(const std::string& path, const std::string& text) override { calls.emplace_back(path, text); }
  std::vector<std::pair<std::string, std::string>> calls;
};

// A registry with the layouts key and no layout in it.
struct Registration : ::testing::Test {
  FakeSettingsPlatform reg;
  RecordingIme imm;

  void SetUp() override { reg.Put(LM, kLayouts + "\\00000411", "Layout File", std::string("KBDJPN.DLL\0", 11)); }

  void AddLayout(const std::string& name, const std::string& imeFile) {
    reg.Put(LM, kLayouts + "\\" + name, "IME file", imeFile + '\0');
  }
  // Input-method layouts E<first>..E<last> of the locale, of a foreign input method.
  void AddNumbered(int first, int last, const char* locale = "0409") {
    for (int n = first; n <= last; ++n) {
      char name[16];
      std::snprintf(name, sizeof name, "E%03X%s", static_cast<unsigned>(n), locale);
      AddLayout(name, "OTHER.IME");
    }
  }
  std::string Text(const std::string& key, const char* value) const {
    auto v = reg.Get(LM, kLayouts + "\\" + key, value);
    return v ? v->data : "(none)";
  }
  int Register(Edition e, const WindowsVersion& v = kNt10) { return RegisterEdition(reg, imm, e, v); }
  size_t LayoutCount() const { return reg.Subkeys(LM, kLayouts).size(); }
};

std::string Z(const char* s) { return std::string(s) + '\0'; }

}  // namespace

TEST_F(Registration, FirstLayoutOfEachEditionGetsItsThreeValues) {
  ASSERT_EQ(Register(Edition::Gm), 1);
  EXPECT_EQ(Text("E0010411", "IME file"), Z("WARBENV6.IME"));
  EXPECT_EQ(Text("E0010411", "layout file"), Z("kbdjpn.dll"));
  EXPECT_EQ(Text("E0010411", "layout text"), Z("GeulmaruV6(GM)"));
  ASSERT_EQ(imm.calls.size(), 1u);
  EXPECT_EQ(imm.calls[0].first, kSystem + "\\WARBENV6.IME");
  EXPECT_EQ(imm.calls[0].second, "GeulmaruV6(GM)");

  // One input-method layout now: the KS edition takes number 2.
  ASSERT_EQ(Register(Edition::Ks), 1);
  EXPECT_EQ(Text("E0020412", "IME file"), Z("ZORBENV6.IME"));
  EXPECT_EQ(Text("E0020412", "layout file"), Z("kbdkor.dll"));
  EXPECT_EQ(Text("E0020412", "layout text"), Z("GeulmaruV6(KS)"));
  ASSERT_EQ(imm.calls.size(), 2u);
  EXPECT_EQ(imm.calls[1].first, kSystem + "\\ZORBENV6.IME");
  EXPECT_EQ(imm.calls[1].second, "GeulmaruV6(KS)");
  EXPECT_EQ(reg.OpenHandles(), 0);
}

TEST_F(Registration, NewNameIsLowerCaseHexadecimal) {
  AddNumbered(1, 9);
  ASSERT_EQ(Register(Edition::Gm), 1);
  const auto names = reg.Subkeys(LM, kLayouts);
  EXPECT_NE(std::find(names.begin(), names.end(), "E00a0411"), names.end());
}

// The number starts after the count of "E" layouts, and only the first four
// characters of a name ("E" and the number) must be unused.
TEST_F(Registration, NumberAfterTheCountOfInputMethodLayouts) {
  struct Case {
    std::vector<std::string> existing;
    Edition edition;
    std::string expected;
  };
  const Case cases[] = {
      {{"E0010411", "E0020411"}, Edition::Gm, "E0030411"},
      {{"E0010411", "E0020411", "E0030412"}, Edition::Gm, "E0040411"},
      {{"E0010411", "E0020411", "E0040412"}, Edition::Gm, "E0050411"},
      {{"E0010411", "E0020411", "e0040412"}, Edition::Ks, "E0050412"},
      // Layouts that are not input methods do not count.
      {{"00000412", "E0010411"}, Edition::Ks, "E0020412"},
      // Lower numbers stay free: the count decides where the search starts.
      {{"E0050411", "E0060411"}, Edition::Gm, "E0030411"},
      {{"E0030411", "E0040411"}, Edition::Ks, "E0050412"},
  };
  for (const Case& c : cases) {
    FakeSettingsPlatform fresh;
    reg = std::move(fresh);
    SetUp();
    for (const std::string& name : c.existing) AddLayout(name, "OTHER.IME");
    const size_t before = LayoutCount();
    ASSERT_EQ(Register(c.edition), 1) << c.expected;
    EXPECT_EQ(LayoutCount(), before + 1) << c.expected;
    EXPECT_EQ(Text(c.expected, "IME file"), Z(InfoOf(c.edition).imeFile)) << c.expected;
  }
}

TEST_F(Registration, EditionRegisteredInAnotherCaseAddsNoKeyAndStillInstalls) {
  AddLayout("E0010411", "OTHER.IME");
  AddLayout("E0070411", "warbenv6.ime");
  AddLayout("E0080412", "ZorbEnv6.Ime");
  const auto before = reg.Subkeys(LM, kLayouts);
  ASSERT_EQ(Register(Edition::Gm), 1);
  ASSERT_EQ(Register(Edition::Ks), 1);
  EXPECT_EQ(reg.Subkeys(LM, kLayouts), before);
  ASSERT_EQ(imm.calls.size(), 2u);
  EXPECT_EQ(imm.calls[0].first, kSystem + "\\WARBENV6.IME");
  EXPECT_EQ(imm.calls[1].first, kSystem + "\\ZORBENV6.IME");
  EXPECT_EQ(Text("E0070411", "IME file"), Z("warbenv6.ime"));
  EXPECT_EQ(reg.OpenHandles(), 0);
}

// A layout that names the file with a folder (as Wine's own ImmInstallIME
// writes it) is not this registration's: the edition gets its own key.
TEST_F(Registration, LayoutNamingThePathIsNotTheEditions) {
  AddLayout("E0020411", "C:\\windows\\system32\\WARBENV6.IME");
  ASSERT_EQ(Register(Edition::Gm), 1);
  EXPECT_EQ(Text("E0020411", "IME file"), Z("C:\\windows\\system32\\WARBENV6.IME"));
  EXPECT_EQ(Text("E0030411", "IME file"), Z("WARBENV6.IME"));
}

TEST_F(Registration, RunTwiceRegistersOnce) {
  ASSERT_EQ(Register(Edition::Gm), 1);
  ASSERT_EQ(Register(Edition::Ks), 1);
  const auto after = reg.Subkeys(LM, kLayouts);
  const int writes = reg.ValueWrites();
  ASSERT_EQ(Register(Edition::Gm), 1);
  ASSERT_EQ(Register(Edition::Ks), 1);
  EXPECT_EQ(reg.Subkeys(LM, kLayouts), after);
  EXPECT_EQ(reg.ValueWrites(), writes);
  EXPECT_EQ(imm.calls.size(), 4u);
}

TEST_F(Registration, NumbersUpToFFE) {
  struct Case {
    int first, last;   // existing E layouts of another locale
    const char* made;  // nullptr: none free
  };
  const Case cases[] = {
      {1, 0xFFD, "Effe0411"},  // 4093 layouts: the last number left
      {1, 0xFFE, nullptr},     // 4094
      {0, 0xFFE, nullptr},     // 4095
      {0, 0xFFF, nullptr},     // 4096: never a name of five digits
      {3, 0xFFF, nullptr},     // 4093, but number 0xFFE is taken
  };
  for (const Case& c : cases) {
    FakeSettingsPlatform fresh;
    reg = std::move(fresh);
    imm.calls.clear();
    SetUp();
    AddNumbered(c.first, c.last);
    const size_t before = LayoutCount();
    const int result = Register(Edition::Gm);
    if (c.made != nullptr) {
      EXPECT_EQ(result, 1) << c.last;
      EXPECT_EQ(Text(c.made, "IME file"), Z("WARBENV6.IME"));
      EXPECT_EQ(LayoutCount(), before + 1);
    } else {
      EXPECT_EQ(result, 0) << c.first << ".." << c.last;
      EXPECT_EQ(LayoutCount(), before);
      EXPECT_TRUE(imm.calls.empty());
    }
    EXPECT_EQ(reg.OpenHandles(), 0);
  }
}

TEST(NewLayoutName, Rule) {
  const std::vector<std::string> names = {"E0010411", "e0030412", "00000411"};
  EXPECT_EQ(NewLayoutName(2, names, "0411"), "E0040411");
  EXPECT_EQ(NewLayoutName(0, names, "0412"), "E0020412");
  EXPECT_EQ(NewLayoutName(0xFFD, {}, "0411"), "Effe0411");
  EXPECT_EQ(NewLayoutName(0xFFE, {}, "0411"), "");
  EXPECT_EQ(NewLayoutName(0xFFF, {}, "0411"), "");
}

// Each failed value write: 0, every key closed, no half-written layout key,
// nothing installed.
TEST_F(Registration, FailedValueWriteLeavesNothing) {
  for (int successes = 0; successes < 3; ++successes) {
    FakeSettingsPlatform fresh;
    reg = std::move(fresh);
    imm.calls.clear();
    SetUp();
    AddLayout("E0010411", "OTHER.IME");
    reg.FailWritesAfter(successes);
    EXPECT_EQ(Register(Edition::Ks), 0) << successes;
    EXPECT_EQ(reg.OpenHandles(), 0) << successes;
    EXPECT_FALSE(reg.KeyExists(LM, kLayouts + "\\E0020412")) << successes;
    EXPECT_TRUE(imm.calls.empty()) << successes;
  }
}

TEST_F(Registration, RegistryFailuresGiveZeroWithEveryKeyClosed) {
  struct Case {
    const char* what;
    void (*arrange)(Registration&);
  };
  const Case cases[] = {
      {"no layouts key", [](Registration& t) { t.reg = FakeSettingsPlatform(); }},
      {"the new key cannot be created", [](Registration& t) { t.reg.DenyWrites(LM, kLayouts + "\\E0020411"); }},
      {"an input-method layout cannot be opened", [](Registration& t) { t.reg.DenyReads(LM, kLayouts + "\\E0010411"); }},
      {"the layouts cannot be enumerated", [](Registration& t) { t.reg.FailEnum(LM, kLayouts); }},
  };
  for (const Case& c : cases) {
    FakeSettingsPlatform fresh;
    reg = std::move(fresh);
    imm.calls.clear();
    SetUp();
    AddLayout("E0010411", "OTHER.IME");
    c.arrange(*this);
    EXPECT_EQ(Register(Edition::Gm), 0) << c.what;
    EXPECT_EQ(reg.OpenHandles(), 0) << c.what;
    EXPECT_TRUE(imm.calls.empty()) << c.what;
  }
}

// Only "IME file" is read: long values of a foreign layout, or a long file
// name, do not stop registration.
TEST_F(Registration, LongValuesOfForeignLayoutsDoNotMatter) {
  reg.Put(LM, kLayouts + "\\E0010411", "Layout Display Name", std::string(600, 'x') + '\0');
  reg.Put(LM, kLayouts + "\\E0010411", "IME file", Z("FOREIGN.IME"));
  AddLayout("E0020411", std::string(400, 'y'));
  reg.Put(LM, kLayouts + "\\E0030411", "Layout Text", Z("no IME file value"));
  ASSERT_EQ(Register(Edition::Gm), 1);
  EXPECT_EQ(Text("E0040411", "IME file"), Z("WARBENV6.IME"));
}

// "layout file" by platform: as written at creation and, for the KS edition,
// after the Japanese keyboard driver was set.
TEST_F(Registration, LayoutFileByPlatform) {
  struct Case {
    const char* what;
    WindowsVersion version;
    bool driverKey;
    const char* driver;  // "LayerDriver JPN", nullptr: missing
    const char* gm;
    const char* ks;
  };
  const Case cases[] = {
      {"Windows 9x", kWin9x, true, "kbd106.dll", "kbdjp.kbd", "kbdjp.kbd"},
      {"NT 4", kNt4, true, "kbd106.dll", "kbdjpn.dll", "kbdjpn.dll"},
      {"NT 5 with the driver", kNt5, true, "kbd106.dll", "kbdjpn.dll", "kbd106.dll"},
      {"NT 10 with the driver", kNt10, true, "kbd101a.dll", "kbdjpn.dll", "kbd101a.dll"},
      {"NT 5 without the value", kNt5, true, nullptr, "kbdjpn.dll", "kbdkor.dll"},
      {"NT 5 with an empty value", kNt5, true, "", "kbdjpn.dll", "kbdkor.dll"},
      // No i8042prt key (Wine): like a missing value, and still a success.
      {"NT 10 without the key", kNt10, false, nullptr, "kbdjpn.dll", "kbdkor.dll"},
  };
  for (const Case& c : cases) {
    FakeSettingsPlatform fresh;
    reg = std::move(fresh);
    SetUp();
    if (c.driverKey) reg.Put(LM, kDriverKey, "PollStatusIterations", Z("1"));
    if (c.driver != nullptr) reg.Put(LM, kDriverKey, "LayerDriver JPN", Z(c.driver));
    EXPECT_EQ(InitialLayoutFile(Edition::Gm, c.version), c.gm) << c.what;
    ASSERT_EQ(Register(Edition::Gm, c.version), 1) << c.what;
    ASSERT_EQ(Register(Edition::Ks, c.version), 1) << c.what;
    EXPECT_EQ(Text("E0010411", "layout file"), Z(c.gm)) << c.what;
    EXPECT_EQ(Text("E0020412", "layout file"), Z(c.ks)) << c.what;
    EXPECT_EQ(reg.OpenHandles(), 0) << c.what;
  }
}

// The driver is also set on a layout found registered, and written only
// when it differs.
TEST_F(Registration, DriverOnTheRegisteredLayout) {
  reg.Put(LM, kDriverKey, "LayerDriver JPN", Z("kbd106.dll"));
  AddLayout("E0050412", "ZORBENV6.IME");
  reg.Put(LM, kLayouts + "\\E0050412", "layout file", Z("kbdkor.dll"));
  ASSERT_EQ(Register(Edition::Ks, kNt5), 1);
  EXPECT_EQ(Text("E0050412", "layout file"), Z("kbd106.dll"));
  EXPECT_EQ(reg.ValueWrites(), 1);
  ASSERT_EQ(Register(Edition::Ks, kNt5), 1);
  EXPECT_EQ(reg.ValueWrites(), 1);

  // A layout key that cannot be written fails after installing.
  reg.Put(LM, kDriverKey, "LayerDriver JPN", Z("kbd101.dll"));
  reg.DenyWrites(LM, kLayouts + "\\E0050412");
  imm.calls.clear();
  EXPECT_EQ(Register(Edition::Ks, kNt5), 0);
  EXPECT_EQ(imm.calls.size(), 1u);
  EXPECT_EQ(reg.OpenHandles(), 0);
}

TEST_F(Registration, RemovalTakesEveryLayoutOfTheFile) {
  AddLayout("E0010411", "WARBENV6.IME");
  AddLayout("E0020411", "C:\\windows\\system32\\warbenv6.ime");
  AddLayout("E0030411", "OTHER.IME");
  AddLayout("E0040412", "ZORBENV6.IME");
  AddLayout("E0050411", "C:\\x\\NOTWARBENV6.IME");
  const auto found = LayoutsOfImeFile(reg, "WARBENV6.IME");
  ASSERT_TRUE(found);
  EXPECT_EQ(*found, (std::vector<std::string>{"E0010411", "E0020411"}));
  const auto removed = RemoveLayoutsOfImeFile(reg, "WARBENV6.IME");
  ASSERT_TRUE(removed);
  EXPECT_EQ(*removed, *found);
  EXPECT_EQ(reg.Subkeys(LM, kLayouts),
            (std::vector<std::string>{"00000411", "E0030411", "E0040412", "E0050411"}));
  EXPECT_EQ(reg.OpenHandles(), 0);

  reg.FailEnum(LM, kLayouts);
  EXPECT_FALSE(LayoutsOfImeFile(reg, "ZORBENV6.IME"));
}
