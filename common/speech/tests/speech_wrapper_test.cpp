#include "speech_wrapper.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fake_engine.h"
#include "temp_folder.h"

namespace speech {
namespace {

using test::FakeEngine;
using test::ReadAll;
using test::TempFolder;

class WrapperTest : public ::testing::Test {
 protected:
  TempFolder dir_;
  std::string wav_ = dir_.File("speach.wav");
  FakeEngine engine_;
};

const char kText[] = "\xBE\xC8\xB3\xE7";  // 안녕 in KS code

TEST_F(WrapperTest, SpeaksIntoAWaveFileInBothVariants) {
  struct Case {
    const char* what;
    SpeechVariant variant;
    std::vector<std::string> calls;
  };
  const std::string attributes = "\\pit=100\\\\spd=100\\\\vol=100\\";
  const Case cases[] = {
      {"listening", kListeningSpeech, {"create 6", "speaker 6", "attr", "speak 1", "delete"}},
      {"workbench", kWorkbenchSpeech, {"create 6", "attr", "speak 1", "delete"}},
  };
  for (const Case& c : cases) {
    FakeEngine engine;
    engine.chunks = {std::string("\x01\x02\x03\x04", 4), std::string(3200, '\x05'), std::string("\x06\x07", 2)};
    SpeechEngineWrapper wrapper(engine, c.variant);
    ASSERT_EQ(wrapper.SpeakToWaveFile(kText, wav_.c_str(), 0, 100, 100, 100), kSpeakOk) << c.what;
    EXPECT_EQ(engine.calls, c.calls) << c.what;
    EXPECT_EQ(engine.lastAttributes, attributes);
    EXPECT_EQ(engine.lastText, kText);
    EXPECT_NE(engine.callbackThread, std::this_thread::get_id());

    const std::string samples = engine.chunks[0] + engine.chunks[1] + engine.chunks[2];
    const auto header = MakeWaveHeader(static_cast<uint32_t>(samples.size()), 16000, 1);
    EXPECT_EQ(ReadAll(wav_), std::string(header.begin(), header.end()) + samples) << c.what;
    EXPECT_EQ(wrapper.GetWaveDurationMs(wav_.c_str()), 100);  // 3206 bytes at 32000 a second
  }
}

TEST_F(WrapperTest, VariantsMeasureByTheirOwnRule) {
  engine_.chunks = {std::string(32032, '\0')};
  ASSERT_EQ(SpeechEngineWrapper(engine_, kWorkbenchSpeech).SpeakToWaveFile(kText, wav_.c_str(), 0, 100, 100, 100),
            kSpeakOk);
  EXPECT_EQ(SpeechEngineWrapper(engine_, kListeningSpeech).GetWaveDurationMs(wav_.c_str()), 1000);
  EXPECT_EQ(SpeechEngineWrapper(engine_, kWorkbenchSpeech).GetWaveDurationMs(wav_.c_str()), 1001);
}

TEST_F(WrapperTest, AttributeTextIsPitchSpeedVolume) {
  SpeechEngineWrapper wrapper(engine_);
  ASSERT_EQ(wrapper.SpeakToWaveFile(kText, wav_.c_str(), 1, 90, 120, 100), kSpeakOk);
  EXPECT_EQ(engine_.lastAttributes, "\\pit=100\\\\spd=120\\\\vol=90\\");
  EXPECT_EQ(FormatVoiceAttributes(-5, 0, 2147483647), "\\pit=-5\\\\spd=0\\\\vol=2147483647\\");
}

TEST_F(WrapperTest, SpeakerFlagChoosesVoiceOneOrSix) {
  for (int male : {0, 1, 2, -1}) {
    FakeEngine engine;
    SpeechEngineWrapper wrapper(engine);
    ASSERT_EQ(wrapper.SpeakToWaveFile(kText, wav_.c_str(), male, 100, 100, 100), kSpeakOk);
    const std::string voice = male != 0 ? "1" : "6";
    EXPECT_EQ(engine.calls[0], "create " + voice) << male;
    EXPECT_EQ(engine.calls[1], "speaker " + voice) << male;
  }
}

TEST_F(WrapperTest, NoChunksGiveAnEmptyWave) {
  SpeechEngineWrapper wrapper(engine_);
  ASSERT_EQ(wrapper.SpeakToWaveFile("", wav_.c_str(), 0, 100, 100, 100), kSpeakOk);
  const std::string bytes = ReadAll(wav_);
  const auto header = MakeWaveHeader(0, 16000, 1);
  EXPECT_EQ(bytes, std::string(header.begin(), header.end()));
  EXPECT_EQ(ParseWaveHeader(header.data(), header.size())->riffSize, 36u);
  EXPECT_EQ(wrapper.GetWaveDurationMs(wav_.c_str()), 0);
}

TEST_F(WrapperTest, FailedSynthesisLeavesNoFile) {
  engine_.chunks = {"abcd"};
  engine_.speakResult = 0;
  SpeechEngineWrapper wrapper(engine_);
  EXPECT_EQ(wrapper.SpeakToWaveFile(kText, wav_.c_str(), 0, 100, 100, 100), kSpeakFailed);
  EXPECT_FALSE(std::filesystem::exists(wav_));
  EXPECT_EQ(engine_.calls.back(), "delete");
}

TEST_F(WrapperTest, NoThreadLeavesThePlaceholder) {
  engine_.noThread = true;
  SpeechEngineWrapper wrapper(engine_);
  EXPECT_EQ(wrapper.SpeakToWaveFile(kText, wav_.c_str(), 0, 100, 100, 100), kSpeakNoThread);
  EXPECT_EQ(engine_.calls, std::vector<std::string>{"create 6"});
  EXPECT_EQ(ReadAll(wav_), std::string(44, '\0'));
  EXPECT_EQ(wrapper.GetWaveDurationMs(wav_.c_str()), 0);
}

TEST_F(WrapperTest, UncreatableFileCallsNoEngine) {
  SpeechEngineWrapper wrapper(engine_);
  EXPECT_EQ(wrapper.SpeakToWaveFile(kText, dir_.File("no/such/folder/x.wav").c_str(), 0, 100, 100, 100),
            kSpeakNoFile);
  EXPECT_EQ(wrapper.SpeakToWaveFile(kText, nullptr, 0, 100, 100, 100), kSpeakNoFile);
  EXPECT_TRUE(engine_.calls.empty());
}

TEST_F(WrapperTest, AnOldFileIsReplaced) {
  test::WriteAll(wav_, std::string(100000, 'x'));
  engine_.chunks = {"\x01\x02"};
  SpeechEngineWrapper wrapper(engine_);
  ASSERT_EQ(wrapper.SpeakToWaveFile(kText, wav_.c_str(), 0, 100, 100, 100), kSpeakOk);
  EXPECT_EQ(ReadAll(wav_).size(), 46u);
}

TEST_F(WrapperTest, ChunkThatCannotBeWrittenFailsTheSynthesis) {
  // The callback gets a file opened for reading only, so its write fails.
  const std::string other = dir_.File("read-only.bin");
  test::WriteAll(other, "");
  std::FILE* readOnly = std::fopen(other.c_str(), "rb");
  ASSERT_NE(readOnly, nullptr);
  engine_.chunks = {"abcd"};
  engine_.callbackFile = readOnly;
  SpeechEngineWrapper wrapper(engine_);
  EXPECT_EQ(wrapper.SpeakToWaveFile(kText, wav_.c_str(), 0, 100, 100, 100), kSpeakFailed);
  std::fclose(readOnly);
  EXPECT_FALSE(std::filesystem::exists(wav_));
}

TEST_F(WrapperTest, ChunkWithoutBytesFailsTheSynthesis) {
  engine_.chunks = {"abcd"};
  engine_.nullBytes = true;
  SpeechEngineWrapper wrapper(engine_);
  EXPECT_EQ(wrapper.SpeakToWaveFile(kText, wav_.c_str(), 0, 100, 100, 100), kSpeakFailed);
  EXPECT_FALSE(std::filesystem::exists(wav_));
}

TEST_F(WrapperTest, NegativeAndZeroCountsAddNothing) {
  for (int count : {0, -4}) {
    FakeEngine engine;
    engine.chunks = {"abcd", "efgh"};
    engine.forcedCount = count;
    SpeechEngineWrapper wrapper(engine);
    ASSERT_EQ(wrapper.SpeakToWaveFile(kText, wav_.c_str(), 0, 100, 100, 100), kSpeakOk) << count;
    EXPECT_EQ(ReadAll(wav_).size(), 44u) << count;
  }
  EXPECT_EQ(SpeechDataCallback(nullptr, nullptr), 0);
}

TEST_F(WrapperTest, LoadPassesFolderAndFlag) {
  SpeechEngineWrapper wrapper(engine_);
  EXPECT_EQ(wrapper.LoadSpeechEngine("C:\\Sonavo\\DB", 16000, 0), 0);
  engine_.loadResult = -1;
  EXPECT_EQ(wrapper.LoadSpeechEngine("D:\\x", 8000, 3), -1);
  wrapper.UnloadSpeechEngine();
  EXPECT_EQ(engine_.calls, (std::vector<std::string>{"load C:\\Sonavo\\DB 0", "load D:\\x 3", "unload"}));
}

}  // namespace
}  // namespace speech
