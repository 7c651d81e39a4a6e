#include "wave_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "temp_folder.h"

namespace speech {
namespace {

using test::TempFolder;
using test::WriteAll;

std::string Bytes(const std::array<unsigned char, kWaveHeaderSize>& h) { return std::string(h.begin(), h.end()); }

TEST(WaveHeader, BytesOfTheSpeechFormat) {
  const unsigned char expected[kWaveHeaderSize] = {
      'R', 'I', 'F', 'F', 0x69, 0x23, 0x01, 0x00,  // data size + 36
      'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
      16, 0, 0, 0,                                  // format chunk size
      1, 0, 1, 0,                                   // PCM, mono
      0x80, 0x3E, 0, 0,                             // 16000 Hz
      0x00, 0x7D, 0, 0,                             // 32000 bytes a second
      2, 0, 16, 0,                                  // block align, bits
      'd', 'a', 't', 'a', 0x45, 0x23, 0x01, 0x00};  // data size 0x12345
  const auto h = MakeWaveHeader(0x12345, 16000, 1);
  EXPECT_EQ(0, std::memcmp(h.data(), expected, kWaveHeaderSize));
}

TEST(WaveHeader, EmptyDataGivesRiffSize36AndParsesBack) {
  const auto h = MakeWaveHeader(0, 16000, 1);
  const auto parsed = ParseWaveHeader(h.data(), h.size());
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->riffSize, 36u);
  EXPECT_EQ(parsed->dataSize, 0u);
  EXPECT_EQ(parsed->formatTag, 1);
  EXPECT_EQ(parsed->channels, 1);
  EXPECT_EQ(parsed->sampleRate, 16000u);
  EXPECT_EQ(parsed->byteRate, 32000u);
  EXPECT_EQ(parsed->blockAlign, 2);
  EXPECT_EQ(parsed->bitsPerSample, 16);
}

TEST(WaveHeader, RiffSizeSaturatesInsteadOfWrapping) {
  const auto h = MakeWaveHeader(0xFFFFFFF0u, 16000, 1);
  EXPECT_EQ(ParseWaveHeader(h.data(), h.size())->riffSize, 0xFFFFFFFFu);
}

TEST(WaveHeader, WritesAtTheCurrentPosition) {
  TempFolder dir;
  const std::string path = dir.File("h.wav");
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("xy", f);
  EXPECT_TRUE(WriteWaveHeader(f, 10, 16000, 1));
  std::fclose(f);
  EXPECT_EQ(test::ReadAll(path), "xy" + Bytes(MakeWaveHeader(10, 16000, 1)));
  EXPECT_FALSE(WriteWaveHeader(nullptr, 10, 16000, 1));
}

TEST(WaveHeader, OtherLayoutsAreNotOurs) {
  const std::string good = Bytes(MakeWaveHeader(100, 16000, 1));
  struct Case {
    const char* what;
    std::size_t offset;
    std::string bytes;
  };
  const Case cases[] = {
      {"big-endian RIFX", 0, "RIFX"},
      {"not WAVE", 8, "AVI "},
      {"format chunk of 18 bytes", 16, std::string("\x12\0\0\0", 4)},
      {"another chunk before the data", 36, "LIST"},
  };
  for (const Case& c : cases) {
    std::string h = good;
    h.replace(c.offset, c.bytes.size(), c.bytes);
    EXPECT_FALSE(ParseWaveHeader(reinterpret_cast<const unsigned char*>(h.data()), h.size())) << c.what;
  }
  EXPECT_FALSE(ParseWaveHeader(reinterpret_cast<const unsigned char*>(good.data()), 43));
  EXPECT_FALSE(ParseWaveHeader(nullptr, 44));
}

TEST(WaveDuration, TheTwoRules) {
  struct Case {
    uint64_t dataSize;
    uint32_t byteRate;
    int32_t floating;
    int32_t whole;
  };
  const Case cases[] = {
      {0, 32000, 0, 0},
      {1, 32000, 0, 0},
      {31999, 32000, 999, 999},
      {32000, 32000, 1000, 1000},
      // 32032 / 32000 is inexact in binary: times 1000 it falls just short of 1001.
      {32032, 32000, 1000, 1001},
      {48000, 32000, 1500, 1500},
      // Beyond 2^32 / 1000 bytes a 32-bit product would wrap.
      {0xFFFFFFDBull, 32000, 134217726, 134217726},
      {100, 0, 0, 0},  // placeholder or foreign header: no byte rate
      {0xFFFFFFFFull, 1, INT32_MAX, INT32_MAX},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DurationMs(c.dataSize, c.byteRate, DurationRule::kFloatingPoint), c.floating) << c.dataSize;
    EXPECT_EQ(DurationMs(c.dataSize, c.byteRate, DurationRule::kWholeNumber), c.whole) << c.dataSize;
  }
}

TEST(WaveDuration, RiffSizeTimesLoops) {
  WaveHeader h = *ParseWaveHeader(MakeWaveHeader(32000, 16000, 1).data(), kWaveHeaderSize);
  EXPECT_EQ(RiffDurationMs(h, 1), 1001);  // 32036 x 1000 / 32000
  EXPECT_EQ(RiffDurationMs(h, 2), 2002);
  EXPECT_EQ(RiffDurationMs(h, 0), 0);
  EXPECT_EQ(RiffDurationMs(h, -3), 0);
  h.riffSize = 0xFFFFFFFFu;
  EXPECT_EQ(RiffDurationMs(h, INT32_MAX), INT32_MAX);
  h.byteRate = 0;
  EXPECT_EQ(RiffDurationMs(h, 1), 0);
}

class WaveFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    const std::string path = dir_.File("t.wav");
    WriteAll(path, bytes);
    return path;
  }
  TempFolder dir_;
};

TEST_F(WaveFileTest, MeasuresItsOwnFiles) {
  const std::string path = Write(Bytes(MakeWaveHeader(64000, 16000, 1)) + std::string(64000, '\x11'));
  EXPECT_EQ(GetWaveDurationMs(path.c_str(), DurationRule::kFloatingPoint), 2000);
  EXPECT_EQ(GetWaveDurationMs(path.c_str(), DurationRule::kWholeNumber), 2000);
  const auto info = ReadWaveFileInfo(path.c_str());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->header.dataSize, 64000u);
  EXPECT_EQ(info->dataPresent, 64000u);
}

TEST_F(WaveFileTest, FilesThatMeasureZero) {
  const std::string header = Bytes(MakeWaveHeader(32000, 16000, 1));
  std::string noRate = header + std::string(32000, '\x01');
  std::memset(&noRate[28], 0, 4);
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"one byte", "R"},
      {"43 bytes of a header", header.substr(0, 43)},
      {"the 44-byte placeholder", std::string(44, '\0')},
      {"a header without byte rate", noRate},
      {"a text file", std::string(200, 'a')},
      {"a header with no samples after it", header},
  };
  for (const Case& c : cases) {
    const std::string path = Write(c.bytes);
    EXPECT_EQ(GetWaveDurationMs(path.c_str(), DurationRule::kFloatingPoint), 0) << c.what;
    EXPECT_EQ(GetWaveDurationMs(path.c_str(), DurationRule::kWholeNumber), 0) << c.what;
  }
  EXPECT_EQ(GetWaveDurationMs(dir_.File("missing.wav").c_str(), DurationRule::kFloatingPoint), 0);
  EXPECT_EQ(GetWaveDurationMs(nullptr, DurationRule::kWholeNumber), 0);
}

TEST_F(WaveFileTest, ATruncatedFileMeasuresWhatIsThere) {
  const std::string path = Write(Bytes(MakeWaveHeader(320000, 16000, 1)) + std::string(16000, '\x02'));
  EXPECT_EQ(GetWaveDurationMs(path.c_str(), DurationRule::kWholeNumber), 500);
  const auto info = ReadWaveFileInfo(path.c_str());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->header.dataSize, 320000u);
  EXPECT_EQ(info->dataPresent, 16000u);
}

}  // namespace
}  // namespace speech
