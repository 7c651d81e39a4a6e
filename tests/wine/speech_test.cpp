// Speaks Korean text into WAV files through the speech wrapper and the
// engine "Sonavo.dll", bound by name, and checks the files.
//
//   speech_test.exe <folder that holds Sonavo.dll>
#include <windows.h>
#include <mmsystem.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "sonavo_engine.h"
#include "speech_wrapper.h"
#include "wait.h"

using wtest::check;
using wtest::check_eq;
using wtest::note;

namespace {

std::string Ks(const wchar_t* text) {
  const int n = WideCharToMultiByte(949, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(949, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(std::strlen(out.c_str()));
  return out;
}

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    std::fclose(f);
  }
  return bytes;
}

double Rms(const std::string& wav) {
  if (wav.size() <= speech::kWaveHeaderSize) return 0;
  const size_t n = (wav.size() - speech::kWaveHeaderSize) / 2;
  double sum = 0;
  for (size_t i = 0; i < n; ++i) {
    int16_t s;
    std::memcpy(&s, wav.data() + speech::kWaveHeaderSize + 2 * i, 2);
    sum += static_cast<double>(s) * s;
  }
  return n ? std::sqrt(sum / static_cast<double>(n)) : 0;
}

// The platform's own RIFF reader finds the format and data chunks.
bool PlatformReadsWave(const std::string& path, DWORD expectedData) {
  HMMIO h = mmioOpenA(const_cast<char*>(path.c_str()), nullptr, MMIO_READ);
  if (!h) return false;
  MMCKINFO riff{}, fmt{}, data{};
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  bool ok = mmioDescend(h, &riff, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR;
  fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
  ok = ok && mmioDescend(h, &fmt, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR;
  PCMWAVEFORMAT format{};
  ok = ok && fmt.cksize >= sizeof format &&
       mmioRead(h, reinterpret_cast<HPSTR>(&format), sizeof format) == static_cast<LONG>(sizeof format);
  ok = ok && format.wf.wFormatTag == WAVE_FORMAT_PCM && format.wf.nChannels == 1 &&
       format.wf.nSamplesPerSec == 16000 && format.wBitsPerSample == 16;
  ok = ok && mmioAscend(h, &fmt, 0) == MMSYSERR_NOERROR;
  data.ckid = mmioFOURCC('d', 'a', 't', 'a');
  ok = ok && mmioDescend(h, &data, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR && data.cksize == expectedData;
  mmioClose(h, 0);
  return ok;
}

struct Spoken {
  int result = -1;
  speech::WaveHeader header;
  uint64_t fileSize = 0;
  int32_t ms = 0;
  double rms = 0;
};

Spoken Speak(speech::SpeechEngineWrapper& w, const std::string& ks, const std::string& wav, int male, int volume,
             int speed, int pitch) {
  Spoken s;
  s.result = w.SpeakToWaveFile(ks.c_str(), wav.c_str(), male, volume, speed, pitch);
  const std::string bytes = ReadFileBytes(wav);
  s.fileSize = bytes.size();
  if (auto h = speech::ParseWaveHeader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size())) {
    s.header = *h;
  }
  s.ms = w.GetWaveDurationMs(wav.c_str());
  s.rms = Rms(bytes);
  return s;
}

// What the engine's own thread hands over when called through the exports.
struct Delivery {
  LONG chunks = 0;
  LONG bytes = 0;
  DWORD thread = 0;
};
int SNVO_API CountChunk(void* file, SpeechChunk* chunk) {
  auto* d = static_cast<Delivery*>(file);
  d->thread = GetCurrentThreadId();
  InterlockedIncrement(&d->chunks);
  InterlockedExchangeAdd(&d->bytes, chunk->byteCount);
  return 0;
}

void CheckExports(const std::string& ks) {
  HMODULE dll = GetModuleHandleA("Sonavo.dll");
  if (!check(dll != nullptr, "Sonavo.dll is loaded by name")) return;
  auto create = reinterpret_cast<SnvoCreateThreadFn>(reinterpret_cast<void*>(GetProcAddress(dll, "SNVO_CreateThread")));
  auto speak = reinterpret_cast<SnvoTextToSpeechFn>(reinterpret_cast<void*>(GetProcAddress(dll, "SNVO_TextToSpeech")));
  auto remove = reinterpret_cast<SnvoDeleteThreadFn>(reinterpret_cast<void*>(GetProcAddress(dll, "SNVO_DeleteThread")));
  if (!check(create && speak && remove, "exports found")) return;
  Delivery d;
  SnvoThread t = create(&d, CountChunk, speech::kVoiceMale);
  if (!check(t != nullptr, "engine thread created")) return;
  check(speak(t, ks.c_str(), 1) != 0, "text spoken through the export");
  const LONG chunks = d.chunks, bytes = d.bytes;
  // A late chunk would come from the engine's thread: a quiet moment of an
  // allowance's hundred-and-fiftieth (100 ms natively) gives it the chance.
  Sleep(wtest::Allowance() / 150);
  check(d.chunks == chunks && d.bytes == bytes, "no chunk after the speaking call returned (%ld chunks)", chunks);
  check(chunks > 1 && bytes > 0 && bytes % 2 == 0, "%ld bytes in %ld chunks", bytes, chunks);
  check(d.thread != 0 && d.thread != GetCurrentThreadId(), "chunks come from the engine's own thread");
  check(remove(t) != 0, "engine thread deleted");
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) {
    std::printf("usage: speech_test <folder of Sonavo.dll>\n");
    return 2;
  }
  wtest::report().group = sizeof(void*) == 8 ? "win64 speech" : "win32 speech";
  SetDllDirectoryA(argv[1]);

  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string dataFolder = std::string(temp) + "SonavoDB";
  CreateDirectoryA(dataFolder.c_str(), nullptr);
  const std::string wav = std::string(temp) + "speach.wav";

  const std::string greeting = Ks(L"안녕하세요");
  check(greeting == "\xBE\xC8\xB3\xE7\xC7\xCF\xBC\xBC\xBF\xE4", "KS bytes of the greeting (%u bytes)",
        static_cast<unsigned>(greeting.size()));
  const std::string sentence = Ks(L"이것은 한국어음성의 테스트입니다.");

  speech::SpeechEngineWrapper wrapper(speech::SonavoEngine());
  Spoken s = Speak(wrapper, greeting, wav, 0, 100, 100, 100);
  check_eq(s.result, speech::kSpeakNoThread, "speaking before the engine is loaded");
  check_eq(s.fileSize, 44, "placeholder left behind");
  check_eq(s.ms, 0, "placeholder measures 0");

  check(wrapper.LoadSpeechEngine("C:\\no\\such\\folder", 16000, 0) != 0, "missing data folder does not load");
  if (!check(wrapper.LoadSpeechEngine(dataFolder.c_str(), 16000, 0) == 0, "engine loaded with %s", dataFolder.c_str())) {
    return wtest::finish();
  }

  s = Speak(wrapper, greeting, wav, 0, 100, 100, 100);
  check_eq(s.result, speech::kSpeakOk, "greeting spoken");
  check_eq(s.header.formatTag, 1, "PCM");
  check_eq(s.header.channels, 1, "mono");
  check_eq(s.header.sampleRate, 16000, "16000 Hz");
  check_eq(s.header.byteRate, 32000, "byte rate");
  check_eq(s.header.blockAlign, 2, "block align");
  check_eq(s.header.bitsPerSample, 16, "16 bits");
  check_eq(s.header.riffSize, s.header.dataSize + 36ull, "RIFF size");
  check_eq(s.fileSize, s.header.dataSize + 44ull, "file size");
  check_eq(s.ms, s.header.dataSize / 32, "duration from the data size");
  check(s.ms > 800 && s.ms < 2000, "five syllables last %d ms", s.ms);
  check(s.rms > 1000, "audible (RMS %.0f)", s.rms);
  check(PlatformReadsWave(wav, s.header.dataSize), "the platform's RIFF reader accepts the file");
  const Spoken greetingSpoken = s;

  s = Speak(wrapper, sentence, wav, 0, 100, 100, 100);
  check(s.result == 0 && s.ms > 2 * greetingSpoken.ms, "longer text, longer sound (%d ms)", s.ms);
  const Spoken sentenceSpoken = s;

  s = Speak(wrapper, sentence, wav, 0, 100, 200, 100);
  const double ratio = static_cast<double>(s.ms) / sentenceSpoken.ms;
  check(s.result == 0 && ratio > 0.45 && ratio < 0.55, "speed 200 halves the length (%d ms, %.2f)", s.ms, ratio);

  s = Speak(wrapper, sentence, wav, 0, 50, 100, 100);
  const double loud = s.rms / sentenceSpoken.rms;
  check(s.result == 0 && loud > 0.45 && loud < 0.55, "volume 50 halves the loudness (%.2f)", loud);

  s = Speak(wrapper, greeting, wav, 1, 100, 100, 100);
  check(s.result == 0 && s.rms > 1000, "male voice spoken (%d ms)", s.ms);

  speech::SpeechEngineWrapper workbench(speech::SonavoEngine(), speech::kWorkbenchSpeech);
  s = Speak(workbench, greeting, wav, 0, 100, 100, 100);
  check(s.result == 0 && s.header.dataSize == greetingSpoken.header.dataSize,
        "attributes without speaker change give the same greeting");

  s = Speak(wrapper, greeting, std::string(temp) + "no\\such\\folder\\x.wav", 0, 100, 100, 100);
  check_eq(s.result, speech::kSpeakNoFile, "WAV in a missing folder");

  CheckExports(greeting);

  wrapper.UnloadSpeechEngine();
  s = Speak(wrapper, greeting, wav, 0, 100, 100, 100);
  check_eq(s.result, speech::kSpeakNoThread, "after unloading, no engine thread");

  DeleteFileA(wav.c_str());
  RemoveDirectoryA(dataFolder.c_str());
  return wtest::finish();
}
