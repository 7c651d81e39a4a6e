// The speech WAV file: a 44-byte RIFF header (PCM format chunk of 16 bytes,
// then the data chunk) followed by the samples.  Writing the header and
// measuring a file's playing time.
#pragma once
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace speech {

constexpr std::size_t kWaveHeaderSize = 44;
// Largest data size whose RIFF size (data size + 36) still fits 32 bits.
constexpr uint64_t kMaxWaveDataSize = 0xFFFFFFFFull - 36;

struct WaveHeader {
  uint32_t riffSize = 0;
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint32_t byteRate = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint32_t dataSize = 0;
};

// The header bytes for 16-bit PCM of `dataSize` bytes.
std::array<unsigned char, kWaveHeaderSize> MakeWaveHeader(uint32_t dataSize, int rate, int channels);

// Writes the header at the file's current position; false when the write fails.
bool WriteWaveHeader(std::FILE* file, uint32_t dataSize, int rate, int channels);

// The fields of a header in our layout ("RIFF", "WAVEfmt " and "data" in their
// places); nothing for fewer than 44 bytes or another layout.
std::optional<WaveHeader> ParseWaveHeader(const unsigned char* bytes, std::size_t size);

// How the speaking programs turn data size and byte rate into milliseconds.
enum class DurationRule {
  kFloatingPoint,  // data size / byte rate x 1000 in floating point, truncated
  kWholeNumber,    // data size x 1000 / byte rate in whole numbers
};

// Playing time in milliseconds of `dataSize` bytes at `byteRate`; 0 for a
// byte rate of 0; at most INT32_MAX.
int32_t DurationMs(uint64_t dataSize, uint32_t byteRate, DurationRule rule);

// RIFF size x loops x 1000 / byte rate: the length of a looped play of the
// whole file, as the dictionary program measures it; 0 for a byte rate of 0
// or loops below 1; at most INT32_MAX.
int32_t RiffDurationMs(const WaveHeader& header, int loops);

// A WAV file as read from disk: its header, and the data size bounded by the
// bytes that really follow the header.
struct WaveFileInfo {
  WaveHeader header;
  uint64_t dataPresent = 0;
};
// Nothing when the file cannot be opened, is shorter than a header or is not
// in our layout.
std::optional<WaveFileInfo> ReadWaveFileInfo(const char* path);

// Playing time of a WAV file in milliseconds; 0 when the file cannot be
// opened, is short, foreign or a placeholder without a byte rate.
int32_t GetWaveDurationMs(const char* path, DurationRule rule);

}  // namespace speech
