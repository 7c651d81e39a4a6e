#include "wave_file.h"

#include <cstring>
#include <limits>
#include <memory>

namespace speech {
namespace {

void Put16(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}
void Put32(unsigned char* p, uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}
uint16_t Get16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Get32(const unsigned char* p) { return Get16(p) | static_cast<uint32_t>(Get16(p + 2)) << 16; }

int32_t ClampMs(uint64_t ms) {
  constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
  return static_cast<int32_t>(ms > kMax ? kMax : ms);
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Size of an open file in bytes, or -1 when it cannot be told.
int64_t FileSize(std::FILE* f) {
#if defined(_WIN32)
  if (_fseeki64(f, 0, SEEK_END) != 0) return -1;
  return _ftelli64(f);
#else
  if (fseeko(f, 0, SEEK_END) != 0) return -1;
  return ftello(f);
#endif
}

}  // namespace

std::array<unsigned char, kWaveHeaderSize> MakeWaveHeader(uint32_t dataSize, int rate, int channels) {
  std::array<unsigned char, kWaveHeaderSize> h{};
  const uint32_t blockAlign = static_cast<uint32_t>(channels) * 2;
  const uint64_t riff = static_cast<uint64_t>(dataSize) + 36;
  std::memcpy(&h[0], "RIFF", 4);
  Put32(&h[4], riff > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(riff));
  std::memcpy(&h[8], "WAVEfmt ", 8);
  Put32(&h[16], 16);
  Put16(&h[20], 1);  // PCM
  Put16(&h[22], static_cast<uint32_t>(channels));
  Put32(&h[24], static_cast<uint32_t>(rate));
  Put32(&h[28], static_cast<uint32_t>(rate) * blockAlign);
  Put16(&h[32], blockAlign);
  Put16(&h[34], 16);
  std::memcpy(&h[36], "data", 4);
  Put32(&h[40], dataSize);
  return h;
}

bool WriteWaveHeader(std::FILE* file, uint32_t dataSize, int rate, int channels) {
  if (file == nullptr) return false;
  const auto h = MakeWaveHeader(dataSize, rate, channels);
  return std::fwrite(h.data(), 1, h.size(), file) == h.size();
}

std::optional<WaveHeader> ParseWaveHeader(const unsigned char* bytes, std::size_t size) {
  if (bytes == nullptr || size < kWaveHeaderSize) return std::nullopt;
  if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVEfmt ", 8) != 0 ||
      Get32(bytes + 16) != 16 || std::memcmp(bytes + 36, "data", 4) != 0) {
    return std::nullopt;
  }
  WaveHeader h;
  h.riffSize = Get32(bytes + 4);
  h.formatTag = Get16(bytes + 20);
  h.channels = Get16(bytes + 22);
  h.sampleRate = Get32(bytes + 24);
  h.byteRate = Get32(bytes + 28);
  h.blockAlign = Get16(bytes + 32);
  h.bitsPerSample = Get16(bytes + 34);
  h.dataSize = Get32(bytes + 40);
  return h;
}

int32_t DurationMs(uint64_t dataSize, uint32_t byteRate, DurationRule rule) {
  if (byteRate == 0) return 0;
  if (rule == DurationRule::kFloatingPoint) {
    const double ms = static_cast<double>(dataSize) / static_cast<double>(byteRate) * 1000.0;
    return ms >= static_cast<double>(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                                          : static_cast<int32_t>(ms);
  }
  // dataSize stays below 2^32 for a real file; the product fits 64 bits then.
  if (dataSize > std::numeric_limits<uint64_t>::max() / 1000) return std::numeric_limits<int32_t>::max();
  return ClampMs(dataSize * 1000 / byteRate);
}

int32_t RiffDurationMs(const WaveHeader& header, int loops) {
  if (header.byteRate == 0 || loops < 1) return 0;
  const uint64_t perLoop = static_cast<uint64_t>(header.riffSize) * 1000;  // below 2^42
  const uint64_t n = static_cast<uint64_t>(loops);
  // A product beyond 64 bits is far beyond the largest result anyway.
  if (perLoop > std::numeric_limits<uint64_t>::max() / n) return std::numeric_limits<int32_t>::max();
  return ClampMs(perLoop * n / header.byteRate);
}

std::optional<WaveFileInfo> ReadWaveFileInfo(const char* path) {
  if (path == nullptr) return std::nullopt;
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path, "rb"));
  if (!f) return std::nullopt;
  unsigned char bytes[kWaveHeaderSize];
  const std::size_t got = std::fread(bytes, 1, sizeof bytes, f.get());
  std::optional<WaveHeader> header = ParseWaveHeader(bytes, got);
  if (!header) return std::nullopt;
  WaveFileInfo info;
  info.header = *header;
  info.dataPresent = header->dataSize;
  const int64_t size = FileSize(f.get());
  if (size >= 0) {
    const uint64_t present = static_cast<uint64_t>(size) - kWaveHeaderSize;  // size >= 44 here
    if (present < info.dataPresent) info.dataPresent = present;
  }
  return info;
}

int32_t GetWaveDurationMs(const char* path, DurationRule rule) {
  const std::optional<WaveFileInfo> info = ReadWaveFileInfo(path);
  if (!info) return 0;
  return DurationMs(info->dataPresent, info->header.byteRate, rule);
}

}  // namespace speech
