#include "sonavo_core.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "sound_measures.h"
#include "speech_wrapper.h"
#include "temp_folder.h"

namespace sonavo {
namespace {

// What one synthesis thread handed to its callback.
struct Received {
  std::atomic<int> chunks{0};
  std::string bytes;
  std::thread::id thread;
  int maxChunk = 0;
  int stopAfter = -1;  // the callback asks to stop after this many chunks
};

int SNVO_API Record(void* file, SpeechChunk* chunk) {
  auto* r = static_cast<Received*>(file);
  r->thread = std::this_thread::get_id();
  r->bytes.append(static_cast<const char*>(chunk->bytes), static_cast<std::size_t>(chunk->byteCount));
  r->maxChunk = std::max(r->maxChunk, chunk->byteCount);
  const int n = ++r->chunks;
  return r->stopAfter >= 0 && n >= r->stopAfter ? 1 : 0;
}

const char kGreetingKs[] = "\xBE\xC8\xB3\xE7\xC7\xCF\xBC\xBC\xBF\xE4";  // 안녕하세요

class SonavoEngine : public ::testing::Test {
 protected:
  Engine engine_{codeconv::PlatformCodePages(), [](const char* f) { return std::string(f) == "voices"; }};
};

TEST_F(SonavoEngine, LoadNeedsAnExistingFolder) {
  Received r;
  EXPECT_EQ(engine_.CreateThread(&r, Record, 6), nullptr);  // not loaded yet
  EXPECT_EQ(engine_.LoadEngine(nullptr, 0), 1);
  EXPECT_EQ(engine_.LoadEngine("", 0), 1);
  EXPECT_EQ(engine_.LoadEngine("elsewhere", 0), 2);
  EXPECT_EQ(engine_.CreateThread(&r, Record, 6), nullptr);
  EXPECT_EQ(engine_.LoadEngine("voices", 0), 0);
  SnvoThread t = engine_.CreateThread(&r, Record, 6);
  EXPECT_NE(t, nullptr);
  EXPECT_EQ(engine_.DeleteThread(t), 1);
  engine_.UnLoadEngine();
  EXPECT_EQ(engine_.CreateThread(&r, Record, 6), nullptr);
}

TEST_F(SonavoEngine, ThreadNeedsACallbackAndAKnownVoice) {
  ASSERT_EQ(engine_.LoadEngine("voices", 0), 0);
  Received r;
  EXPECT_EQ(engine_.CreateThread(&r, nullptr, 6), nullptr);
  EXPECT_EQ(engine_.CreateThread(&r, Record, 0), nullptr);
  EXPECT_EQ(engine_.CreateThread(&r, Record, 11), nullptr);
}

TEST_F(SonavoEngine, SpeaksOnItsOwnThreadAndReturnsAfterTheLastChunk) {
  ASSERT_EQ(engine_.LoadEngine("voices", 0), 0);
  Received r;
  SnvoThread t = engine_.CreateThread(&r, Record, 6);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(engine_.TextToSpeech(t, kGreetingKs, 1), 1);
  const int chunks = r.chunks;
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(r.chunks, chunks);  // nothing comes after the call has returned
  EXPECT_GT(chunks, 2);
  EXPECT_NE(r.thread, std::this_thread::get_id());
  EXPECT_EQ(r.maxChunk, static_cast<int>(kBlockSamples * 2));
  // The KS text sounds as its syllables do.
  const auto samples = test::Speak(u"안녕하세요");
  EXPECT_EQ(r.bytes, std::string(reinterpret_cast<const char*>(samples.data()), samples.size() * 2));
  EXPECT_EQ(engine_.DeleteThread(t), 1);
}

TEST_F(SonavoEngine, AttributesAndSpeakerApplyToTheNextText) {
  ASSERT_EQ(engine_.LoadEngine("voices", 0), 0);
  Received normal, fast, male;
  SnvoThread a = engine_.CreateThread(&normal, Record, 6);
  SnvoThread b = engine_.CreateThread(&fast, Record, 6);
  SnvoThread c = engine_.CreateThread(&male, Record, 6);
  EXPECT_EQ(engine_.ChangeAttr(b, "\\pit=100\\\\spd=200\\\\vol=100\\"), 1);
  EXPECT_EQ(engine_.ChangeAttr(b, "nothing"), 0);
  EXPECT_EQ(engine_.ChangeSpeaker(c, 1), 1);
  EXPECT_EQ(engine_.ChangeSpeaker(c, 99), 0);  // stays male
  for (SnvoThread t : {a, b, c}) ASSERT_EQ(engine_.TextToSpeech(t, kGreetingKs, 1), 1);
  EXPECT_NEAR(static_cast<double>(fast.bytes.size()) / normal.bytes.size(), 0.5, 0.03);
  EXPECT_EQ(male.bytes.size(), normal.bytes.size());
  EXPECT_NE(male.bytes, normal.bytes);
  for (SnvoThread t : {a, b, c}) EXPECT_EQ(engine_.DeleteThread(t), 1);
}

TEST_F(SonavoEngine, CallbackCanStopTheSynthesis) {
  ASSERT_EQ(engine_.LoadEngine("voices", 0), 0);
  Received r;
  r.stopAfter = 1;
  SnvoThread t = engine_.CreateThread(&r, Record, 6);
  EXPECT_EQ(engine_.TextToSpeech(t, kGreetingKs, 1), 0);
  EXPECT_EQ(r.chunks, 1);
  // The thread speaks again afterwards.
  r.stopAfter = -1;
  EXPECT_EQ(engine_.TextToSpeech(t, "\xB0\xA1", 1), 1);
  EXPECT_GT(r.chunks, 1);
  engine_.DeleteThread(t);
}

TEST_F(SonavoEngine, UnknownThreadsAndMissingTextFail) {
  ASSERT_EQ(engine_.LoadEngine("voices", 0), 0);
  int notOurs = 0;
  EXPECT_EQ(engine_.TextToSpeech(&notOurs, kGreetingKs, 1), 0);
  EXPECT_EQ(engine_.ChangeSpeaker(&notOurs, 1), 0);
  EXPECT_EQ(engine_.ChangeAttr(&notOurs, "\\vol=1\\"), 0);
  EXPECT_EQ(engine_.DeleteThread(&notOurs), 0);
  EXPECT_EQ(engine_.DeleteThread(nullptr), 0);
  Received r;
  SnvoThread t = engine_.CreateThread(&r, Record, 6);
  EXPECT_EQ(engine_.TextToSpeech(t, nullptr, 1), 0);
  EXPECT_EQ(engine_.TextToSpeech(t, "", 1), 1);
  EXPECT_EQ(r.chunks, 0);
  EXPECT_EQ(engine_.DeleteThread(t), 1);
  EXPECT_EQ(engine_.DeleteThread(t), 0);
}

TEST_F(SonavoEngine, ThreadsSpeakSideBySide) {
  ASSERT_EQ(engine_.LoadEngine("voices", 0), 0);
  Received r1, r2;
  SnvoThread t1 = engine_.CreateThread(&r1, Record, 1);
  SnvoThread t2 = engine_.CreateThread(&r2, Record, 1);
  int ok1 = 0, ok2 = 0;
  std::thread a([&] { ok1 = engine_.TextToSpeech(t1, kGreetingKs, 1); });
  std::thread b([&] { ok2 = engine_.TextToSpeech(t2, kGreetingKs, 1); });
  a.join();
  b.join();
  EXPECT_EQ(ok1, 1);
  EXPECT_EQ(ok2, 1);
  EXPECT_EQ(r1.bytes, r2.bytes);
  engine_.DeleteThread(t1);
  engine_.DeleteThread(t2);
}

// The wrapper over this engine, as the speaking programs use it.
class EngineAsSpeechEngine final : public speech::SpeechEngine {
 public:
  explicit EngineAsSpeechEngine(Engine& e) : e_(e) {}
  int LoadEngine(const char* f, int flag) override { return e_.LoadEngine(f, flag); }
  int UnLoadEngine() override { return e_.UnLoadEngine(); }
  SnvoThread CreateThread(void* file, SpeechDataCallbackFn cb, int voice) override {
    return e_.CreateThread(file, cb, voice);
  }
  int DeleteThread(SnvoThread t) override { return e_.DeleteThread(t); }
  int ChangeSpeaker(SnvoThread t, int voice) override { return e_.ChangeSpeaker(t, voice); }
  int ChangeAttr(SnvoThread t, const char* a) override { return e_.ChangeAttr(t, a); }
  int TextToSpeech(SnvoThread t, const char* text, int flag) override { return e_.TextToSpeech(t, text, flag); }

 private:
  Engine& e_;
};

TEST_F(SonavoEngine, WrapperWritesAPlayableWave) {
  speech::test::TempFolder dir;
  const std::string wav = dir.File("speach.wav");
  EngineAsSpeechEngine adapter(engine_);
  speech::SpeechEngineWrapper wrapper(adapter);
  EXPECT_EQ(wrapper.SpeakToWaveFile(kGreetingKs, wav.c_str(), 0, 100, 100, 100), speech::kSpeakNoThread);
  ASSERT_EQ(wrapper.LoadSpeechEngine("voices", 16000, 0), 0);
  ASSERT_EQ(wrapper.SpeakToWaveFile(kGreetingKs, wav.c_str(), 0, 100, 100, 100), speech::kSpeakOk);
  const auto info = speech::ReadWaveFileInfo(wav.c_str());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->header.sampleRate, 16000u);
  EXPECT_EQ(info->header.channels, 1);
  EXPECT_EQ(info->header.bitsPerSample, 16);
  EXPECT_EQ(std::filesystem::file_size(wav), 44u + info->header.dataSize);
  const int32_t normal = wrapper.GetWaveDurationMs(wav.c_str());
  EXPECT_EQ(normal, static_cast<int32_t>(info->header.dataSize / 32));
  ASSERT_EQ(wrapper.SpeakToWaveFile(kGreetingKs, wav.c_str(), 1, 100, 200, 100), speech::kSpeakOk);
  EXPECT_NEAR(wrapper.GetWaveDurationMs(wav.c_str()), normal / 2, normal / 20);
  wrapper.UnloadSpeechEngine();
}

}  // namespace
}  // namespace sonavo
