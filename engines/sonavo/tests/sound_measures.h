// Measures of synthesised sound for the engine's tests.
#pragma once
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "hangul_voice.h"

namespace sonavo::test {

inline std::vector<int16_t> Speak(std::u16string_view text, const Voice& voice = {}) {
  std::vector<int16_t> out;
  Synthesize(text, voice, [&](const int16_t* s, std::size_t n) {
    out.insert(out.end(), s, s + n);
    return true;
  });
  return out;
}

inline double Rms(const std::vector<int16_t>& s, std::size_t from = 0, std::size_t to = SIZE_MAX) {
  to = std::min(to, s.size());
  if (from >= to) return 0;
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(s[i]) * s[i];
  return std::sqrt(sum / static_cast<double>(to - from));
}

// Fundamental frequency of the loudest 100 ms of the sound, by
// autocorrelation over 60-500 Hz.
inline double Pitch(const std::vector<int16_t>& s) {
  constexpr std::size_t window = 1600;
  std::size_t best = 0;
  double bestRms = -1;
  for (std::size_t at = 0; at + window <= s.size(); at += 400) {
    const double r = Rms(s, at, at + window);
    if (r > bestRms) bestRms = r, best = at;
  }
  int bestLag = 0;
  double bestCorr = -1e300;
  for (int lag = kSampleRate / 500; lag <= kSampleRate / 60; ++lag) {
    double c = 0;
    for (std::size_t i = best; i + lag < best + window && i + lag < s.size(); ++i) c += double(s[i]) * s[i + lag];
    if (c > bestCorr) bestCorr = c, bestLag = lag;
  }
  return bestLag > 0 ? static_cast<double>(kSampleRate) / bestLag : 0;
}

}  // namespace sonavo::test
