#include "repeat_playback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fake_engine.h"
#include "temp_folder.h"

namespace speech {
namespace {

using test::FakeEngine;
using test::TempFolder;

// Time as the machine's owner sees it: the test moves it to each tick.
struct Clock {
  int64_t now = 0;
};

// A window timer: fires every period until killed; Set replaces it.
class FakeTimer final : public RepeatTimer {
 public:
  explicit FakeTimer(Clock& clock) : clock_(clock) {}
  bool Set(int ms) override {
    sets.push_back(ms);
    if (refuse) return false;
    period_ = ms;
    due = clock_.now + ms;
    return true;
  }
  void Kill() override {
    ++kills;
    due.reset();
  }
  std::optional<int64_t> due;
  std::vector<int> sets;
  int kills = 0;
  bool refuse = false;

  void Fired() {
    if (due) due = clock_.now + period_;
  }

 private:
  Clock& clock_;
  int period_ = 0;
};

class FakeSound final : public SoundOutput {
 public:
  explicit FakeSound(Clock& clock) : clock_(clock) {}
  bool PlayAsync(const std::string& path) override {
    plays.push_back(clock_.now);
    played.push_back(path);
    return true;
  }
  void StopAll() override { stops.push_back(clock_.now); }
  void HideFile(const std::string& path) override { hidden.push_back(path); }
  void RemoveFile(const std::string& path) override {
    deleted.push_back(path);
    std::filesystem::remove(path);
  }
  std::vector<int64_t> plays;
  std::vector<std::string> played;
  std::vector<int64_t> stops;
  std::vector<std::string> hidden;
  std::vector<std::string> deleted;

 private:
  Clock& clock_;
};

// 16 kHz, 16-bit mono: 32 bytes a millisecond.
constexpr int kBytesPerMs = 32;
constexpr int kDuration = 1250;
const char kText[] = "\xc7\xd0\xb1\xb3";  // 학교 in KS code

class RepeatTest : public ::testing::Test {
 protected:
  void SetUp() override { engine_.chunks = {std::string(kDuration * kBytesPerMs, '\x11')}; }

  // The machine of a variant, its end events noted with their times.
  RepeatPlayback& Machine(const RepeatVariant& variant) {
    machine_.emplace(variant, wrapper_, sound_, timer_);
    machine_->SetEndHandler([this](RepeatEnd why) { ends_.push_back({why, clock_.now}); });
    return *machine_;
  }
  int Start(RepeatPlayback& m, int repeat, const std::string& path = {}) {
    return m.Start(kText, path.empty() ? wav_ : path, VoiceValues{}, repeat);
  }
  // Moves the clock from tick to tick until no timer is set (or a bound).
  void RunTicks(RepeatPlayback& m, int most = 20) {
    while (timer_.due && most-- > 0) {
      clock_.now = *timer_.due;
      timer_.Fired();
      m.OnTimer();
    }
  }

  struct End {
    RepeatEnd why;
    int64_t at;
    bool operator==(const End&) const = default;
  };

  TempFolder dir_;
  std::string wav_ = dir_.File("speach.wav");
  FakeEngine engine_;
  SpeechEngineWrapper wrapper_{engine_, kListeningSpeech};
  Clock clock_;
  FakeTimer timer_{clock_};
  FakeSound sound_{clock_};
  std::optional<RepeatPlayback> machine_;
  std::vector<End> ends_;
};

// Starts D + 700 ms apart; the end D after the last start (player and voice test).
TEST_F(RepeatTest, EndTickVariantsPlayRTimesAndEndAfterTheLastPlay) {
  const int d = kDuration;
  struct Case {
    int repeat;
    std::vector<int64_t> plays;
    std::vector<int> timers;
    int64_t end;
  } const cases[] = {
      {1, {0}, {d}, d},
      {2, {0, d + 700}, {d + 700, d}, 2 * d + 700},
      {3, {0, d + 700, 2 * d + 1400}, {d + 700, d + 700, d}, 3 * d + 1400},
      // A count below 1 plays once and ends like a count of 1.
      {0, {0}, {d}, d},
      {-3, {0}, {d}, d},
  };
  for (const RepeatVariant* variant : {&kPlayerRepeat, &kVoiceTestRepeat}) {
    for (const Case& c : cases) {
      SCOPED_TRACE("repeat " + std::to_string(c.repeat));
      clock_ = {};
      sound_.plays.clear();
      timer_.sets.clear();
      ends_.clear();
      RepeatPlayback& m = Machine(*variant);
      ASSERT_EQ(Start(m, c.repeat), kSpeakOk);
      EXPECT_TRUE(m.Active());
      EXPECT_EQ(m.DurationMs(), d);
      RunTicks(m);
      EXPECT_EQ(sound_.plays, c.plays);
      EXPECT_EQ(timer_.sets, c.timers);
      EXPECT_EQ(ends_, (std::vector<End>{{RepeatEnd::kFinished, c.end}}));
      EXPECT_FALSE(m.Active());
      EXPECT_FALSE(m.TimerSet());
      EXPECT_FALSE(timer_.due);
      EXPECT_FALSE(std::filesystem::exists(wav_)) << "the WAV file goes when the last play is over";
    }
  }
}

// The listening program's frame: no timer for one play, nothing after the last start.
TEST_F(RepeatTest, ListeningFrameEndsAtTheLastStart) {
  const int d = kDuration;
  RepeatPlayback& m = Machine(kListeningRepeat);
  ASSERT_EQ(Start(m, 1), kSpeakOk);
  EXPECT_TRUE(timer_.sets.empty());
  EXPECT_EQ(sound_.plays, (std::vector<int64_t>{0}));
  EXPECT_EQ(ends_, (std::vector<End>{{RepeatEnd::kFinished, 0}}));
  EXPECT_TRUE(m.SoundStarted());
  EXPECT_TRUE(std::filesystem::exists(wav_)) << "the file is still being played";
  // A stop afterwards stops the sound and deletes the file; the read-aloud had ended.
  m.Stop();
  EXPECT_EQ(sound_.stops.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(wav_));
  EXPECT_EQ(ends_.size(), 1u);

  ends_.clear();
  sound_.plays.clear();
  ASSERT_EQ(Start(m, 3), kSpeakOk);
  RunTicks(m);
  EXPECT_EQ(sound_.plays, (std::vector<int64_t>{0, d + 700, 2 * d + 1400}));
  EXPECT_EQ(timer_.sets, (std::vector<int>{d + 700, d + 700}));
  EXPECT_EQ(ends_, (std::vector<End>{{RepeatEnd::kFinished, 2 * d + 1400}}));
}

TEST_F(RepeatTest, EveryFailureEndsIdleAndSaysWhy) {
  struct Case {
    const char* what;
    void (*prepare)(FakeEngine&, FakeTimer&);
    bool inMissingFolder;
    int result;
    RepeatEnd why;
    size_t plays;
  } const cases[] = {
      {"the WAV file cannot be created", [](FakeEngine&, FakeTimer&) {}, true, kSpeakNoFile, RepeatEnd::kSynthesisFailed, 0},
      {"synthesis fails", [](FakeEngine& e, FakeTimer&) { e.speakResult = 0; }, false, kSpeakFailed,
       RepeatEnd::kSynthesisFailed, 0},
      {"no engine thread", [](FakeEngine& e, FakeTimer&) { e.noThread = true; }, false, kSpeakNoThread,
       RepeatEnd::kSynthesisFailed, 0},
      {"a WAV of no sound", [](FakeEngine& e, FakeTimer&) { e.chunks.clear(); }, false, kSpeakOk,
       RepeatEnd::kNothingToPlay, 0},
      {"the timer is refused", [](FakeEngine&, FakeTimer& t) { t.refuse = true; }, false, kSpeakOk, RepeatEnd::kNoTimer,
       1},
  };
  for (const RepeatVariant* variant : {&kPlayerRepeat, &kListeningRepeat}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      engine_ = FakeEngine{};
      engine_.chunks = {std::string(kDuration * kBytesPerMs, '\x11')};
      timer_.refuse = false;
      c.prepare(engine_, timer_);
      sound_.plays.clear();
      ends_.clear();
      RepeatPlayback& m = Machine(*variant);
      const std::string path = c.inMissingFolder ? dir_.File("no-such-folder/speach.wav") : wav_;
      EXPECT_EQ(Start(m, 3, path), c.result);
      EXPECT_EQ(m.LastSpeakResult(), c.result);
      EXPECT_EQ(sound_.plays.size(), c.plays);
      ASSERT_EQ(ends_.size(), 1u);
      EXPECT_EQ(ends_[0].why, c.why);
      EXPECT_FALSE(m.Active());
      EXPECT_FALSE(m.TimerSet());
      // Nothing more happens, and a stop does not end it a second time.
      m.OnTimer();
      m.Stop();
      EXPECT_EQ(ends_.size(), 1u);
      EXPECT_EQ(sound_.plays.size(), c.plays);
    }
  }
}

TEST_F(RepeatTest, NoSoundLeavesNoFile) {
  engine_.chunks.clear();
  RepeatPlayback& m = Machine(kPlayerRepeat);
  Start(m, 1);
  EXPECT_EQ(m.DurationMs(), 0);
  EXPECT_FALSE(std::filesystem::exists(wav_));
}

TEST_F(RepeatTest, StopCutsTheRepetitionsShortOnce) {
  const int d = kDuration;
  RepeatPlayback& m = Machine(kPlayerRepeat);
  ASSERT_EQ(Start(m, 3), kSpeakOk);
  EXPECT_EQ(sound_.hidden, (std::vector<std::string>{wav_}));
  clock_.now = *timer_.due;
  timer_.Fired();
  m.OnTimer();  // the second play
  clock_.now += 300;
  m.Stop();
  EXPECT_EQ(sound_.plays, (std::vector<int64_t>{0, d + 700}));
  EXPECT_EQ(sound_.stops, (std::vector<int64_t>{d + 1000}));
  EXPECT_FALSE(timer_.due);
  EXPECT_FALSE(std::filesystem::exists(wav_));
  EXPECT_EQ(ends_, (std::vector<End>{{RepeatEnd::kStopped, d + 1000}}));
  // A tick already queued when the timer was killed plays nothing.
  m.OnTimer();
  m.Stop();
  EXPECT_EQ(sound_.plays.size(), 2u);
  EXPECT_EQ(ends_.size(), 1u);
}

TEST_F(RepeatTest, StopWhileIdleDoesNothing) {
  RepeatPlayback& m = Machine(kPlayerRepeat);
  m.Stop();
  EXPECT_TRUE(sound_.stops.empty());
  EXPECT_TRUE(ends_.empty());
}

// A new read-aloud during the repetitions replaces the old one: its timer and
// sound stop before the file is written again, and no end is reported for it.
TEST_F(RepeatTest, StartDuringRepetitionsStartsOver) {
  const int d = kDuration;
  RepeatPlayback& m = Machine(kListeningRepeat);
  ASSERT_EQ(Start(m, 3), kSpeakOk);
  clock_.now = 100;
  ASSERT_EQ(Start(m, 2), kSpeakOk);
  EXPECT_EQ(timer_.kills, 1);
  EXPECT_EQ(sound_.stops, (std::vector<int64_t>{100}));
  EXPECT_TRUE(ends_.empty());
  EXPECT_EQ(m.Remaining(), 1);
  RunTicks(m);
  EXPECT_EQ(sound_.plays, (std::vector<int64_t>{0, 100, 100 + d + 700}));
  EXPECT_EQ(ends_, (std::vector<End>{{RepeatEnd::kFinished, 100 + d + 700}}));
}

// The owner may start the next read-aloud from inside the end handler (the
// text player's client answers its "STOP" with a new "SPEAK").
TEST_F(RepeatTest, TheHandlerMayStartAgain) {
  const int d = kDuration;
  RepeatPlayback& m = Machine(kPlayerRepeat);
  int restarts = 0;
  m.SetEndHandler([&](RepeatEnd why) {
    ends_.push_back({why, clock_.now});
    if (restarts++ == 0) Start(m, 1);
  });
  ASSERT_EQ(Start(m, 1), kSpeakOk);
  RunTicks(m);
  EXPECT_EQ(sound_.plays, (std::vector<int64_t>{0, d}));
  EXPECT_EQ(ends_, (std::vector<End>{{RepeatEnd::kFinished, d}, {RepeatEnd::kFinished, 2 * d}}));
  EXPECT_FALSE(m.Active());
}

TEST_F(RepeatTest, TheVoiceReachesTheEngine) {
  RepeatPlayback& m = Machine(kPlayerRepeat);
  m.Start(kText, wav_, VoiceValues{1, 90, 120, 110}, 1);
  EXPECT_EQ(engine_.lastText, kText);
  EXPECT_EQ(engine_.lastAttributes, "\\pit=110\\\\spd=120\\\\vol=90\\");
  EXPECT_NE(std::find(engine_.calls.begin(), engine_.calls.end(), "create 1"), engine_.calls.end());
}

}  // namespace
}  // namespace speech
