#include "hangul_voice.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace sonavo {
namespace {

constexpr double kPi = 3.14159265358979323846;

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// ---------------------------------------------------------------------------
// Sounds of the language.

struct Formants {
  double f1, f2, f3;
};

// Vowel targets of a male voice.
enum VowelTarget { kA, kEo, kO, kU, kEu, kI, kE, kTargetCount };
constexpr Formants kTargets[kTargetCount] = {
    {800, 1250, 2600},  // ㅏ
    {600, 1000, 2500},  // ㅓ
    {420, 780, 2400},   // ㅗ
    {340, 850, 2300},   // ㅜ
    {380, 1450, 2450},  // ㅡ
    {290, 2250, 3000},  // ㅣ
    {480, 1850, 2600},  // ㅔ, ㅐ
};

// A vowel: a steady target, or a glide from one target to another between two
// points of its length (fractions).
struct VowelShape {
  VowelTarget from, to;
  double glideStart, glideEnd;
};
constexpr VowelShape Steady(VowelTarget t) { return {t, t, 0, 0}; }
constexpr VowelShape OnGlide(VowelTarget from, VowelTarget to) { return {from, to, 0.0, 0.35}; }

// The 21 medial vowels in the order of the Unicode syllables.
constexpr VowelShape kMedials[21] = {
    Steady(kA),           // ㅏ
    Steady(kE),           // ㅐ
    OnGlide(kI, kA),      // ㅑ
    OnGlide(kI, kE),      // ㅒ
    Steady(kEo),          // ㅓ
    Steady(kE),           // ㅔ
    OnGlide(kI, kEo),     // ㅕ
    OnGlide(kI, kE),      // ㅖ
    Steady(kO),           // ㅗ
    OnGlide(kO, kA),      // ㅘ
    OnGlide(kO, kE),      // ㅙ
    OnGlide(kO, kE),      // ㅚ
    OnGlide(kI, kO),      // ㅛ
    Steady(kU),           // ㅜ
    OnGlide(kU, kEo),     // ㅝ
    OnGlide(kU, kE),      // ㅞ
    OnGlide(kU, kI),      // ㅟ
    OnGlide(kI, kU),      // ㅠ
    Steady(kEu),          // ㅡ
    {kEu, kI, 0.4, 0.8},  // ㅢ
    Steady(kI),           // ㅣ
};

enum class Onset { kNone, kLenisStop, kTenseStop, kAspiratedStop, kNasal, kFlap, kFricative, kTenseFricative,
                   kLenisAffricate, kTenseAffricate, kAspiratedAffricate, kBreath };
struct Initial {
  Onset kind;
  double place;  // burst or hiss centre, or the nasal's second formant (Hz)
};
// The 19 initial consonants in the order of the Unicode syllables.
constexpr Initial kInitials[19] = {
    {Onset::kLenisStop, 1800},          // ㄱ
    {Onset::kTenseStop, 1800},          // ㄲ
    {Onset::kNasal, 1400},              // ㄴ
    {Onset::kLenisStop, 3800},          // ㄷ
    {Onset::kTenseStop, 3800},          // ㄸ
    {Onset::kFlap, 0},                  // ㄹ
    {Onset::kNasal, 1000},              // ㅁ
    {Onset::kLenisStop, 900},           // ㅂ
    {Onset::kTenseStop, 900},           // ㅃ
    {Onset::kFricative, 5000},          // ㅅ
    {Onset::kTenseFricative, 5000},     // ㅆ
    {Onset::kNone, 0},                  // ㅇ
    {Onset::kLenisAffricate, 3200},     // ㅈ
    {Onset::kTenseAffricate, 3200},     // ㅉ
    {Onset::kAspiratedAffricate, 3200}, // ㅊ
    {Onset::kAspiratedStop, 1800},      // ㅋ
    {Onset::kAspiratedStop, 3800},      // ㅌ
    {Onset::kAspiratedStop, 900},       // ㅍ
    {Onset::kBreath, 0},                // ㅎ
};

// A final consonant as it sounds: unreleased stop, nasal or lateral.
enum class Coda { kNone, kStop, kN, kM, kNg, kL };
// The 28 finals (0 = none) in the order of the Unicode syllables.
constexpr Coda kFinals[28] = {
    Coda::kNone,
    Coda::kStop, Coda::kStop, Coda::kStop,  // ㄱ ㄲ ㄳ
    Coda::kN,    Coda::kN,    Coda::kN,     // ㄴ ㄵ ㄶ
    Coda::kStop,                            // ㄷ
    Coda::kL,                               // ㄹ
    Coda::kStop, Coda::kM,    Coda::kL,     // ㄺ ㄻ ㄼ
    Coda::kL,    Coda::kL,    Coda::kStop,  // ㄽ ㄾ ㄿ
    Coda::kL,                               // ㅀ
    Coda::kM,                               // ㅁ
    Coda::kStop, Coda::kStop,               // ㅂ ㅄ
    Coda::kStop, Coda::kStop,               // ㅅ ㅆ
    Coda::kNg,                              // ㅇ
    Coda::kStop, Coda::kStop, Coda::kStop,  // ㅈ ㅊ ㅋ
    Coda::kStop, Coda::kStop, Coda::kStop,  // ㅌ ㅍ ㅎ
};

// One thing to say: a syllable, a neutral vowel for a character that is not
// Hangul, or a pause.
struct Unit {
  enum Kind { kSyllable, kNeutral, kPause } kind;
  int initial = 11, medial = 4, final = 0;  // a neutral unit sounds as 어
  int pauseMs = 0;
  bool endsPhrase = false;
  bool question = false;  // a pause: ends a question; a sound: in one
  // Sounds only: place in the phrase and the number of sounds in it.
  std::size_t phraseIndex = 0, phraseLength = 1;
};

Unit Pause(int ms, bool endsPhrase = false, bool question = false) {
  Unit u{Unit::kPause};
  u.pauseMs = ms;
  u.endsPhrase = endsPhrase;
  u.question = question;
  return u;
}

std::vector<Unit> Parse(std::u16string_view text) {
  std::vector<Unit> units;
  for (char16_t c : text) {
    if (c >= 0xAC00 && c <= 0xD7A3) {
      const int s = c - 0xAC00;
      Unit u{Unit::kSyllable};
      u.initial = s / (21 * 28);
      u.medial = s / 28 % 21;
      u.final = s % 28;
      units.push_back(u);
    } else if (c == u' ' || c == u'\t' || c == 0x3000) {
      units.push_back(Pause(90));
    } else if (c == u'\r' || c == u'\n') {
      units.push_back(Pause(250, true));
    } else if (c == u',' || c == u';' || c == u':' || c == 0x3001 || c == 0xFF0C) {
      units.push_back(Pause(220, true));
    } else if (c == u'.' || c == u'!' || c == 0x3002 || c == 0xFF0E || c == 0xFF01) {
      units.push_back(Pause(380, true));
    } else if (c == u'?' || c == 0xFF1F) {
      units.push_back(Pause(380, true, true));
    } else if (c < 0x20) {
      // control characters say nothing
    } else if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c >= 0x3040) {
      units.push_back(Unit{Unit::kNeutral});
    } else {
      units.push_back(Pause(60));
    }
  }
  // Mark each sound with its place in its phrase.
  std::size_t start = 0;
  for (std::size_t i = 0; i <= units.size(); ++i) {
    if (i < units.size() && !(units[i].kind == Unit::kPause && units[i].endsPhrase)) continue;
    const bool question = i < units.size() && units[i].question;
    std::size_t count = 0;
    for (std::size_t k = start; k < i; ++k) {
      if (units[k].kind != Unit::kPause) units[k].phraseIndex = count++;
    }
    for (std::size_t k = start; k < i; ++k) {
      if (units[k].kind == Unit::kPause) continue;
      units[k].phraseLength = count;
      units[k].question = question;
    }
    start = i + 1;
  }
  return units;
}

// ---------------------------------------------------------------------------
// Signal pieces.

class Noise {
 public:
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
  }

 private:
  uint32_t state_ = 0x2545F491u;
};

// Two-pole resonator (unity gain at 0 Hz).
class Resonator {
 public:
  void Set(double frequency, double bandwidth) {
    const double r = std::exp(-kPi * bandwidth / kSampleRate);
    c_ = -r * r;
    b_ = 2 * r * std::cos(2 * kPi * frequency / kSampleRate);
    a_ = 1 - b_ - c_;
  }
  double Step(double x) {
    const double y = a_ * x + b_ * y1_ + c_ * y2_;
    y2_ = y1_;
    y1_ = y;
    return y;
  }

 private:
  double a_ = 1, b_ = 0, c_ = 0, y1_ = 0, y2_ = 0;
};

class FormantFilter {
 public:
  FormantFilter(double bandwidthScale) : scale_(bandwidthScale) {}
  void Set(const Formants& f) {
    r_[0].Set(f.f1, 80 * scale_);
    r_[1].Set(f.f2, 110 * scale_);
    r_[2].Set(f.f3, 160 * scale_);
  }
  double Step(double x) { return r_[2].Step(r_[1].Step(r_[0].Step(x))); }

 private:
  double scale_;
  Resonator r_[3];
};

using Segment = std::vector<double>;

// Scales a segment to the given peak and shapes its ends with raised-cosine
// ramps.
void Shape(Segment& s, double peak, int attack, int release) {
  double max = 0;
  for (double v : s) max = std::max(max, std::fabs(v));
  const double gain = max > 0 ? peak / max : 0;
  const int n = static_cast<int>(s.size());
  attack = std::min(attack, n / 2);
  release = std::min(release, n / 2);
  for (int i = 0; i < n; ++i) {
    double e = 1;
    if (i < attack) e = 0.5 - 0.5 * std::cos(kPi * i / attack);
    if (i >= n - release) e = std::min(e, 0.5 - 0.5 * std::cos(kPi * (n - i) / release));
    s[i] *= gain * e;
  }
}

// The voice that reads a text: its own pitch and formant scale, and the
// caller's speed and loudness.
class Speaker {
 public:
  Speaker(const Voice& v, const SampleSink& sink) : sink_(sink) {
    const bool male = v.number >= 1 && v.number <= 5;
    const int pitch = Clamp(v.pitch, 50, 200);
    f0_ = (male ? 118.0 : 215.0) * pitch / 100.0;
    formantScale_ = male ? 1.0 : 1.15;
    bandwidthScale_ = male ? 1.0 : 1.25;
    timeScale_ = 100.0 / Clamp(v.speed, 25, 400);
    amplitude_ = 0.45 * Clamp(v.volume, 0, 200) / 100.0;
  }

  bool Say(const std::vector<Unit>& units) {
    if (units.empty()) return true;
    Silence(Samples(40));
    for (const Unit& u : units) {
      if (stopped_) break;
      if (u.kind == Unit::kPause) {
        Silence(Samples(u.pauseMs));
        continue;
      }
      // The pitch falls across a phrase; a question rises at its end.
      const double pos = u.phraseLength > 1 ? static_cast<double>(u.phraseIndex) / (u.phraseLength - 1) : 0.0;
      const double f0 = f0_ * (1.06 - 0.14 * pos);
      const bool last = u.phraseIndex + 1 == u.phraseLength;
      Syllable(u, f0, u.question && last ? f0 * 1.3 : f0 * 0.97);
    }
    Silence(Samples(120));
    Flush();
    return !stopped_;
  }

 private:
  int Samples(double ms) const { return std::max(1, static_cast<int>(ms * timeScale_ * kSampleRate / 1000.0)); }

  Formants Scaled(const Formants& f) const {
    return {f.f1 * formantScale_, f.f2 * formantScale_, std::min(f.f3 * formantScale_, 7000.0)};
  }

  // Glottal pulses (the slope of a Rosenberg pulse) with a little breath.
  double Glottis(double f0) {
    phase_ += f0 / kSampleRate;
    if (phase_ >= 1) phase_ -= 1;
    constexpr double open = 0.4, close = 0.16;
    double g;
    if (phase_ < open) {
      g = 0.5 - 0.5 * std::cos(kPi * phase_ / open);
    } else if (phase_ < open + close) {
      g = std::cos(kPi * (phase_ - open) / (2 * close));
    } else {
      g = 0;
    }
    const double slope = g - lastGlottis_;
    lastGlottis_ = g;
    return slope + 0.01 * noise_.Next();
  }

  Segment Voiced(int n, const VowelShape& shape, double f0From, double f0To) {
    FormantFilter filter(bandwidthScale_);
    const Formants a = Scaled(kTargets[shape.from]), b = Scaled(kTargets[shape.to]);
    Segment s(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      if (i % 32 == 0) {
        const double t = static_cast<double>(i) / n;
        double g = 0;
        if (shape.glideEnd > shape.glideStart) {
          g = std::clamp((t - shape.glideStart) / (shape.glideEnd - shape.glideStart), 0.0, 1.0);
        }
        filter.Set({a.f1 + (b.f1 - a.f1) * g, a.f2 + (b.f2 - a.f2) * g, a.f3 + (b.f3 - a.f3) * g});
      }
      const double f0 = f0From + (f0To - f0From) * i / n;
      s[static_cast<std::size_t>(i)] = filter.Step(Glottis(f0));
    }
    return s;
  }

  Segment VoicedWith(int n, const Formants& f, double f0) {
    FormantFilter filter(bandwidthScale_ * 2.5);
    filter.Set(Scaled(f));
    Segment s(static_cast<std::size_t>(n));
    for (double& v : s) v = filter.Step(Glottis(f0));
    return s;
  }

  // Noise through one resonator (a hiss or a burst) or through a vowel's
  // formants (breath).
  Segment Hiss(int n, double centre, double bandwidth) {
    Resonator r;
    r.Set(centre, bandwidth);
    Segment s(static_cast<std::size_t>(n));
    for (double& v : s) v = r.Step(noise_.Next());
    return s;
  }
  Segment Breath(int n, const VowelShape& next) {
    FormantFilter filter(bandwidthScale_ * 2);
    filter.Set(Scaled(kTargets[next.from]));
    Segment s(static_cast<std::size_t>(n));
    for (double& v : s) v = filter.Step(noise_.Next());
    return s;
  }

  void Syllable(const Unit& u, double f0From, double f0To) {
    const VowelShape& vowel = kMedials[u.medial];
    const Initial& initial = kInitials[u.initial];
    const Coda coda = kFinals[u.final];
    const int ramp = Samples(5);

    auto burst = [&](double level) {
      Segment b = Hiss(Samples(8), initial.place, 1500);
      Shape(b, level, 1, b.size() > 2 ? static_cast<int>(b.size()) - 1 : 1);
      Emit(b);
    };
    auto hiss = [&](int ms, double level) {
      Segment h = Hiss(Samples(ms), initial.place, 2000);
      Shape(h, level, Samples(10), Samples(10));
      Emit(h);
    };
    auto breath = [&](int ms, double level) {
      Segment h = Breath(Samples(ms), vowel);
      Shape(h, level, Samples(8), Samples(6));
      Emit(h);
    };

    switch (initial.kind) {
      case Onset::kNone: break;
      case Onset::kLenisStop: Silence(Samples(10)); burst(0.35); breath(15, 0.1); break;
      case Onset::kTenseStop: Silence(Samples(40)); burst(0.6); break;
      case Onset::kAspiratedStop: Silence(Samples(20)); burst(0.45); breath(60, 0.22); break;
      case Onset::kNasal: {
        Segment m = VoicedWith(Samples(50), {250, initial.place, 2700}, f0From);
        Shape(m, 0.35, ramp, ramp);
        Emit(m);
        break;
      }
      case Onset::kFlap: {
        Segment m = VoicedWith(Samples(25), {350, 1300, 2800}, f0From);
        Shape(m, 0.5, ramp, ramp);
        Emit(m);
        break;
      }
      case Onset::kFricative: hiss(90, 0.3); break;
      case Onset::kTenseFricative: hiss(120, 0.4); break;
      case Onset::kLenisAffricate: Silence(Samples(10)); hiss(40, 0.3); break;
      case Onset::kTenseAffricate: Silence(Samples(40)); hiss(30, 0.4); break;
      case Onset::kAspiratedAffricate: Silence(Samples(20)); hiss(70, 0.35); break;
      case Onset::kBreath: breath(55, 0.2); break;
    }

    const bool neutral = u.kind == Unit::kNeutral;
    const int vowelMs = neutral ? 90 : (coda == Coda::kStop ? 130 : 160);
    Segment v = Voiced(Samples(vowelMs), vowel, f0From, f0To);
    Shape(v, 1.0, Samples(15), coda == Coda::kNone ? Samples(25) : ramp);
    Emit(v);

    auto murmur = [&](int ms, const Formants& f, double level) {
      Segment m = VoicedWith(Samples(ms), f, f0To);
      Shape(m, level, ramp, Samples(20));
      Emit(m);
    };
    switch (coda) {
      case Coda::kNone: break;
      case Coda::kStop: Silence(Samples(60)); break;
      case Coda::kN: murmur(80, {250, 1400, 2700}, 0.35); break;
      case Coda::kM: murmur(80, {250, 1000, 2700}, 0.35); break;
      case Coda::kNg: murmur(90, {250, 1900, 2700}, 0.35); break;
      case Coda::kL: murmur(70, {360, 1200, 2700}, 0.45); break;
    }
  }

  void Silence(int n) {
    for (int i = 0; i < n && !stopped_; ++i) Put(0);
  }
  void Emit(const Segment& s) {
    for (std::size_t i = 0; i < s.size() && !stopped_; ++i) Put(s[i] * amplitude_);
  }
  void Put(double x) {
    const double v = std::clamp(x, -1.0, 1.0) * 32767.0;
    block_[filled_++] = static_cast<int16_t>(std::lround(v));
    if (filled_ == kBlockSamples) Flush();
  }
  void Flush() {
    if (filled_ == 0 || stopped_) return;
    if (!sink_(block_, filled_)) stopped_ = true;
    filled_ = 0;
  }

  const SampleSink& sink_;
  double f0_, formantScale_, bandwidthScale_, timeScale_, amplitude_;
  double phase_ = 0, lastGlottis_ = 0;
  Noise noise_;
  int16_t block_[kBlockSamples] = {};
  std::size_t filled_ = 0;
  bool stopped_ = false;
};

}  // namespace

bool IsKnownVoice(int number) { return number >= 1 && number <= 10; }

bool ApplyAttributeTags(const char* text, Voice& voice) {
  if (text == nullptr) return false;
  bool any = false;
  const char* p = text;
  while (*p != '\0') {
    if (*p == '\\') {
      ++p;
      continue;
    }
    const char* end = std::strchr(p, '\\');
    if (end == nullptr) end = p + std::strlen(p);
    const std::string_view tag(p, static_cast<std::size_t>(end - p));
    p = end;
    if (tag.size() < 5 || tag[3] != '=') continue;
    const std::string number(tag.substr(4));
    char* rest = nullptr;
    const long value = std::strtol(number.c_str(), &rest, 10);
    if (rest == number.c_str() || *rest != '\0') continue;
    const int v = static_cast<int>(std::clamp(value, -100000L, 100000L));
    const std::string_view name = tag.substr(0, 3);
    if (name == "pit") {
      voice.pitch = Clamp(v, 50, 200);
    } else if (name == "spd") {
      voice.speed = Clamp(v, 25, 400);
    } else if (name == "vol") {
      voice.volume = Clamp(v, 0, 200);
    } else {
      continue;
    }
    any = true;
  }
  return any;
}

bool Synthesize(std::u16string_view text, const Voice& voice, const SampleSink& sink) {
  Speaker speaker(voice, sink);
  return speaker.Say(Parse(text));
}

}  // namespace sonavo
