#include "read_aloud.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fake_engine.h"
#include "fake_settings_platform.h"
#include "temp_folder.h"

namespace tessaly {
namespace {

using settings::FakeSettingsPlatform;
using settings::RegRoot;
using speech::test::FakeEngine;
using speech::test::TempFolder;

struct Clock {
  int64_t now = 0;
};

class Timer final : public speech::RepeatTimer {
 public:
  explicit Timer(Clock& c) : clock_(c) {}
  bool Set(int ms) override {
    sets.push_back(ms);
    if (refuse) return false;
    due = clock_.now + ms;
    return true;
  }
  void Kill() override { due.reset(); }
  std::optional<int64_t> due;
  std::vector<int> sets;
  bool refuse = false;

 private:
  Clock& clock_;
};

class Sound final : public speech::SoundOutput {
 public:
  explicit Sound(Clock& c) : clock_(c) {}
  bool PlayAsync(const std::string& path) override {
    plays.push_back(clock_.now);
    paths.push_back(path);
    return true;
  }
  void StopAll() override { ++stops; }
  void HideFile(const std::string&) override {}
  void RemoveFile(const std::string& path) override { std::filesystem::remove(path); }
  std::vector<int64_t> plays;
  std::vector<std::string> paths;
  int stops = 0;

 private:
  Clock& clock_;
};

class Kana final : public kana::ReadingLibrary {
 public:
  bool Available() override { return true; }
  int KnChange(int, const char** text, char* out, int, int) override {
    lastText = *text;
    if (out != nullptr) std::memcpy(out, "\x83\x6e\x83\x62", 5);  // ハッ
    return 4;
  }
  std::string lastText;
};

// The frame as the read-aloud sees it: every change noted in order.
class Ui final : public ReadAloudUi {
 public:
  explicit Ui(Clock& c) : clock_(c) {}
  void ShowSpeaking(bool speaking) override { events.push_back(speaking ? "button stop" : "button speak"); }
  void ShowKana(const std::string& reading) override { events.push_back("kana " + reading); }
  void BeginWait() override { events.push_back("wait"); }
  void EndWait() override { events.push_back("end wait"); }
  void ShowSynthesisFailed() override { events.push_back("failed box"); }
  void SendStopNotice() override {
    events.push_back("STOP");
    notices.push_back(clock_.now);
  }
  std::vector<std::string> events;
  std::vector<int64_t> notices;

 private:
  Clock& clock_;
};

constexpr int kDuration = 800;  // the fake engine's sound: 25600 bytes at 32 a millisecond
const char kText[] = "\xc0\xd0\xbe\xee";  // 읽어

class ReadAloudTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.chunks = {std::string(kDuration * 32, '\x22')};
    install_ = dir_.File("install");
    std::filesystem::create_directories(install_);
    registry_.Put(RegRoot::LocalMachine, "Software\\VALDRIMO\\GeulmaruV6", "Install Directory", install_);
    std::filesystem::create_directories(dir_.File("temp"));
    player_.emplace(PlayerReadAloud::Services{wrapper_, sound_, timer_, kana_, registry_, ui_, dir_.File("temp")});
  }
  void Repeat(const std::string& n) {
    registry_.Put(RegRoot::CurrentUser, "SOFTWARE\\VALDRIMO\\Sonavo50", "VoiceRepeatNum", n);
  }
  void RunTicks(int most = 20) {
    while (timer_.due && most-- > 0) {
      clock_.now = *timer_.due;
      timer_.due.reset();
      player_->OnTimer();
    }
  }
  std::string Wav() const { return install_ + "/speach.wav"; }

  TempFolder dir_;
  std::string install_;
  FakeEngine engine_;
  speech::SpeechEngineWrapper wrapper_{engine_, speech::kListeningSpeech};
  Clock clock_;
  Timer timer_{clock_};
  Sound sound_{clock_};
  Kana kana_;
  FakeSettingsPlatform registry_;
  Ui ui_{clock_};
  std::optional<PlayerReadAloud> player_;
};

TEST_F(ReadAloudTest, OnePlayThenTheNoticeAfterItsLength) {
  ASSERT_EQ(player_->LoadEngine("C:\\ddb\\"), PlayerReadAloud::EngineLoad::kLoaded);
  player_->OnSpeak(kText);
  EXPECT_TRUE(player_->Speaking());
  EXPECT_EQ(ui_.events, (std::vector<std::string>{"button stop", "kana \x83\x6e\x83\x62", "wait", "end wait"}));
  EXPECT_EQ(kana_.lastText, kText);
  EXPECT_EQ(engine_.lastText, kText);
  EXPECT_EQ(sound_.paths, (std::vector<std::string>{Wav()}));
  EXPECT_TRUE(std::filesystem::exists(Wav()));
  RunTicks();
  EXPECT_EQ(sound_.plays, (std::vector<int64_t>{0}));
  EXPECT_EQ(timer_.sets, (std::vector<int>{kDuration}));
  EXPECT_EQ(ui_.notices, (std::vector<int64_t>{kDuration}));
  EXPECT_EQ(ui_.events.back(), "STOP");
  EXPECT_EQ(ui_.events[ui_.events.size() - 2], "button speak");
  EXPECT_FALSE(player_->Speaking());
  EXPECT_FALSE(std::filesystem::exists(Wav()));
}

TEST_F(ReadAloudTest, ThreePlaysWithTheirIntervals) {
  Repeat("3");
  player_->LoadEngine("C:\\ddb\\");
  player_->OnSpeak(kText);
  RunTicks();
  const int d = kDuration;
  EXPECT_EQ(sound_.plays, (std::vector<int64_t>{0, d + 700, 2 * d + 1400}));
  EXPECT_EQ(timer_.sets, (std::vector<int>{d + 700, d + 700, d}));
  EXPECT_EQ(ui_.notices, (std::vector<int64_t>{3 * d + 1400}));
}

// A repeat count of 0 plays once and then ends with the notice, as 1 does.
TEST_F(ReadAloudTest, ARepeatCountBelowOnePlaysOnceAndEnds) {
  for (const char* n : {"0", "-4"}) {
    SCOPED_TRACE(n);
    Repeat(n);
    ui_.notices.clear();
    sound_.plays.clear();
    clock_.now = 0;
    player_->LoadEngine("C:\\ddb\\");
    player_->OnSpeak(kText);
    RunTicks();
    EXPECT_EQ(sound_.plays, (std::vector<int64_t>{0}));
    EXPECT_EQ(ui_.notices, (std::vector<int64_t>{kDuration}));
    EXPECT_FALSE(player_->Speaking());
  }
}

TEST_F(ReadAloudTest, EveryFailureEndsIdleWithTheNotice) {
  struct Case {
    const char* what;
    void (*prepare)(FakeEngine&, Timer&);
    bool box;
    bool unloads;
  } const cases[] = {
      {"synthesis fails", [](FakeEngine& e, Timer&) { e.speakResult = 0; }, false, true},
      {"no engine thread", [](FakeEngine& e, Timer&) { e.noThread = true; }, true, true},
      {"a WAV of no sound", [](FakeEngine& e, Timer&) { e.chunks.clear(); }, false, false},
      {"no timer", [](FakeEngine&, Timer& t) { t.refuse = true; }, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    engine_ = FakeEngine{};
    engine_.chunks = {std::string(kDuration * 32, '\x22')};
    timer_.refuse = false;
    c.prepare(engine_, timer_);
    ui_.events.clear();
    ui_.notices.clear();
    ASSERT_EQ(player_->LoadEngine("C:\\ddb\\"), PlayerReadAloud::EngineLoad::kLoaded);
    player_->OnSpeak(kText);
    EXPECT_FALSE(player_->Speaking());
    EXPECT_EQ(ui_.notices.size(), 1u);
    const auto& ev = ui_.events;
    EXPECT_NE(std::find(ev.begin(), ev.end(), "button speak"), ev.end());
    EXPECT_EQ(std::find(ev.begin(), ev.end(), "failed box") != ev.end(), c.box);
    EXPECT_EQ(player_->EngineLoaded(), !c.unloads);
    // No later tick or stop sends a second notice.
    RunTicks();
    player_->StopSpeaking();
    EXPECT_EQ(ui_.notices.size(), 1u);
  }
}

// Without a WAV file anywhere the read-aloud ends as a failed synthesis does.
TEST_F(ReadAloudTest, NoPlaceForTheWavFile) {
  registry_.Put(RegRoot::LocalMachine, "Software\\VALDRIMO\\GeulmaruV6", "Install Directory",
                dir_.File("missing"));
  PlayerReadAloud nowhere({wrapper_, sound_, timer_, kana_, registry_, ui_, dir_.File("missing-too")});
  nowhere.LoadEngine("C:\\ddb\\");
  nowhere.OnSpeak(kText);
  EXPECT_FALSE(nowhere.Speaking());
  EXPECT_EQ(ui_.notices.size(), 1u);
  EXPECT_TRUE(sound_.plays.empty());
  EXPECT_FALSE(nowhere.EngineLoaded());
  EXPECT_TRUE(engine_.calls.empty() || engine_.calls.back() == "unload");
}

TEST_F(ReadAloudTest, TheEngineIsLetGoOnce) {
  engine_.speakResult = 0;
  player_->LoadEngine("C:\\ddb\\");
  player_->OnSpeak(kText);
  player_->OnSpeak(kText);
  player_->UnloadEngine();
  EXPECT_EQ(std::count(engine_.calls.begin(), engine_.calls.end(), "unload"), 1);
  EXPECT_EQ(ui_.notices.size(), 2u);
}

TEST_F(ReadAloudTest, LoadingTheEngine) {
  EXPECT_EQ(player_->LoadEngine(""), PlayerReadAloud::EngineLoad::kNoDataFolder);
  EXPECT_TRUE(engine_.calls.empty());
  engine_.loadResult = 2;
  EXPECT_EQ(player_->LoadEngine("C:\\nowhere\\"), PlayerReadAloud::EngineLoad::kFailed);
  EXPECT_FALSE(player_->EngineLoaded());
  player_->UnloadEngine();
  EXPECT_EQ(std::count(engine_.calls.begin(), engine_.calls.end(), "unload"), 0);
  engine_.loadResult = 0;
  EXPECT_EQ(player_->LoadEngine("C:\\ddb\\"), PlayerReadAloud::EngineLoad::kLoaded);
  EXPECT_EQ(engine_.calls.back(), "load C:\\ddb\\ 0");
}

// No "Install Directory": the WAV file goes to the temporary folder, never
// to the root of the current drive.
TEST_F(ReadAloudTest, WithoutAnInstallFolderTheWavGoesToTheTemporaryFolder) {
  FakeSettingsPlatform bare;
  PlayerReadAloud player({wrapper_, sound_, timer_, kana_, bare, ui_, dir_.File("temp")});
  player.LoadEngine("C:\\ddb\\");
  player.OnSpeak(kText);
  EXPECT_EQ(player.WavPath(), dir_.File("temp") + "/speach.wav");
  EXPECT_TRUE(std::filesystem::exists(player.WavPath()));
  EXPECT_TRUE(player.Speaking());
}

// An install folder that cannot take the file gives way to the temporary folder.
TEST_F(ReadAloudTest, AnInstallFolderThatCannotTakeTheFile) {
  registry_.Put(RegRoot::LocalMachine, "Software\\VALDRIMO\\GeulmaruV6", "Install Directory",
                dir_.File("no-such-folder"));
  player_->LoadEngine("C:\\ddb\\");
  player_->OnSpeak(kText);
  EXPECT_TRUE(player_->Speaking());
  EXPECT_EQ(player_->WavPath(), dir_.File("temp") + "/speach.wav");
  EXPECT_TRUE(ui_.notices.empty());
  EXPECT_TRUE(player_->EngineLoaded());
}

TEST_F(ReadAloudTest, StopSendsTheNoticeOnlyWhileSpeaking) {
  Repeat("3");
  player_->LoadEngine("C:\\ddb\\");
  player_->StopSpeaking();
  EXPECT_TRUE(ui_.notices.empty()) << "STOP while idle";
  player_->OnSpeak(kText);
  clock_.now = 100;
  player_->StopSpeaking();
  EXPECT_EQ(ui_.notices, (std::vector<int64_t>{100}));
  EXPECT_EQ(sound_.stops, 1);
  EXPECT_FALSE(std::filesystem::exists(Wav()));
  EXPECT_FALSE(timer_.due);
  player_->StopSpeaking();
  EXPECT_EQ(ui_.notices.size(), 1u);
}

// A read-aloud while one is on: its notice first, then the new text.
TEST_F(ReadAloudTest, SpeakingAgainStopsTheFirstWithItsNotice) {
  Repeat("2");
  player_->LoadEngine("C:\\ddb\\");
  player_->OnSpeak(kText);
  clock_.now = 50;
  player_->OnSpeak("\xb0\xa1");
  EXPECT_EQ(ui_.notices, (std::vector<int64_t>{50}));
  EXPECT_EQ(engine_.lastText, "\xb0\xa1");
  EXPECT_TRUE(player_->Speaking());
  RunTicks();
  EXPECT_EQ(ui_.notices.size(), 2u);
}

TEST_F(ReadAloudTest, AnEmptyTextDoesNothing) {
  player_->LoadEngine("C:\\ddb\\");
  player_->OnSpeak("");
  EXPECT_TRUE(ui_.events.empty());
  EXPECT_FALSE(player_->Speaking());
}

TEST_F(ReadAloudTest, TheVoiceValuesAreReadForEachReadAloud) {
  registry_.Put(RegRoot::CurrentUser, "SOFTWARE\\VALDRIMO\\Sonavo50", "VoiceSpeaker", "1");
  registry_.Put(RegRoot::CurrentUser, "SOFTWARE\\VALDRIMO\\Sonavo50", "VoiceVolume", "90");
  registry_.Put(RegRoot::CurrentUser, "SOFTWARE\\VALDRIMO\\Sonavo50", "VoiceRate", "120");
  registry_.Put(RegRoot::CurrentUser, "SOFTWARE\\VALDRIMO\\Sonavo50", "VoicePitch", "110");
  player_->LoadEngine("C:\\ddb\\");
  player_->OnSpeak(kText);
  EXPECT_EQ(engine_.lastAttributes, "\\pit=110\\\\spd=120\\\\vol=90\\");
  EXPECT_NE(std::find(engine_.calls.begin(), engine_.calls.end(), "create 1"), engine_.calls.end());
}

}  // namespace
}  // namespace tessaly
