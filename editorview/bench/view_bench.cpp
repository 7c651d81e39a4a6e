// The view engine's hot paths beside a plain baseline doing the same work:
//  - open and lay out a 100 MB Korean UTF-8 text (baseline: split a
//    std::string into lines);
//  - find every match of a two-syllable word, by F3 through the view and by
//    the line matcher (baseline: memmem over the lines);
//  - lay the lines out again after a width change: the window's lines, and
//    every line of the text (baseline: a plain wrap of the same bytes);
//  - type a character at the end of a 30000-byte line.
// The text is made of the readings of libhangul-data's hanja words, chosen
// by a fixed pseudo-random sequence. At the end the ratios engine/baseline
// are printed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "find_match.h"
#include "gm_converter.h"
#include "view_engine.h"

using namespace editorview;

namespace {

constexpr size_t kTextBytes = 100u << 20;
constexpr int kClientWidth = 1000;
constexpr int kClientHeight = 800;
constexpr int kScrollBar = 16;

// Hangul syllables only (3 bytes each in UTF-8).
bool AllSyllables(const std::string& s) {
  if (s.empty() || s.size() % 3 != 0) return false;
  for (size_t i = 0; i < s.size(); i += 3) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    const auto b1 = static_cast<unsigned char>(s[i + 1]);
    const unsigned unit = (b0 & 0x0F) << 12 | (b1 & 0x3F) << 6 | (static_cast<unsigned char>(s[i + 2]) & 0x3F);
    if ((b0 & 0xF0) != 0xE0 || unit < 0xAC00 || unit > 0xD7A3) return false;
  }
  return true;
}

std::vector<std::string> Readings() {
  std::ifstream in(EDITORVIEW_BENCH_WORDS);
  std::vector<std::string> words;
  std::string line;
  std::string last;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::string reading = line.substr(0, line.find(':'));
    if (reading != last && AllSyllables(reading)) words.push_back(reading);
    last = reading;
  }
  return words;
}

struct Corpus {
  std::string text;
  std::string word;  // a two-syllable reading found in the text
};

const Corpus& TheCorpus() {
  static const Corpus corpus = [] {
    Corpus c;
    const std::vector<std::string> words = Readings();
    if (words.empty()) {
      std::fprintf(stderr, "no readings in %s\n", EDITORVIEW_BENCH_WORDS);
      std::abort();
    }
    std::mt19937 random(20240611);
    std::uniform_int_distribution<size_t> pick(0, words.size() - 1);
    std::uniform_int_distribution<int> lineWords(3, 24);
    c.text.reserve(kTextBytes + 256);
    std::map<std::string, int> twoSyllables;
    while (c.text.size() < kTextBytes) {
      const int n = lineWords(random);
      for (int i = 0; i < n; ++i) {
        const std::string& w = words[pick(random)];
        if (w.size() == 6 && twoSyllables.size() < 2000) ++twoSyllables[w];
        c.text += w;
        c.text += i + 1 < n ? (i % 7 == 6 ? ", " : " ") : ".";
      }
      c.text += random() % 5 == 0 ? "\r\n" : "\n";
    }
    c.word = twoSyllables.begin()->first;
    return c;
  }();
  return corpus;
}

class FixedMeasurer final : public TextMeasurer {
 public:
  int WidthOfUnits(std::u16string_view units) override {
    int w = 0;
    for (char16_t u : units) w += u < 0x100 ? 8 : 16;
    return w;
  }
  int WidthOfBytes(std::string_view bytes) override { return static_cast<int>(bytes.size()) * 8; }
};

class NullCanvas final : public Canvas {
 public:
  void Fill(const Rect&) override {}
  void DrawUnits(int, int, std::u16string_view units, std::span<const int>, bool) override {
    benchmark::DoNotOptimize(units.data());
  }
  void DrawBytes(int, int, std::string_view bytes, std::span<const int>, bool) override {
    benchmark::DoNotOptimize(bytes.data());
  }
};

const codeconv::GmCodeConverter& Converter() {
  static const codeconv::GmCodeConverter converter;
  return converter;
}

// An engine over a document, sized and painted once.
struct Rig {
  MemoryDocument doc;
  FixedMeasurer measurer;
  ViewHost host;
  std::unique_ptr<ViewEngine> view;

  void Open(std::string_view text) {
    doc.LoadText(text);
    view = std::make_unique<ViewEngine>(kEditorView, doc, ViewEngine::Services{measurer, host, Converter()});
    ViewFont font;
    font.lineHeight = 16;
    font.averageCharWidth = 8;
    view->SetFont(font);
    view->Resize(kClientWidth, kClientHeight, kScrollBar);
    view->OnUpdate(0);
    NullCanvas canvas;
    view->Paint(canvas);
  }
};

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    const void* lf = std::memchr(text.data() + pos, '\n', text.size() - pos);
    const size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - text.data()) : text.size();
    size_t stop = end;
    if (stop > pos && text[stop - 1] == '\r') --stop;
    lines.emplace_back(text, pos, stop - pos);
    pos = end + 1;
  }
  return lines;
}

// The plain wrap: rows of UTF-8 bytes at fixed widths.
int PlainRows(const std::string& line, int width) {
  int rows = 1;
  int x = 0;
  for (size_t i = 0; i < line.size();) {
    const auto b = static_cast<unsigned char>(line[i]);
    const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : 3;
    const int w = b < 0x80 ? 8 : 16;
    if (x > 0 && x + w > width) {
      ++rows;
      x = 0;
    }
    x += w;
    i += static_cast<size_t>(n);
  }
  return rows;
}

void SetBytes(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// ---- open and lay out ----

void BM_Open_Engine(benchmark::State& state) {
  const Corpus& c = TheCorpus();
  for (auto _ : state) {
    Rig rig;
    rig.Open(c.text);
    benchmark::DoNotOptimize(rig.view->EndLine());
  }
  SetBytes(state, c.text.size());
}

void BM_Open_Baseline(benchmark::State& state) {
  const Corpus& c = TheCorpus();
  for (auto _ : state) {
    std::vector<std::string> lines = SplitLines(c.text);
    benchmark::DoNotOptimize(lines.data());
  }
  SetBytes(state, c.text.size());
}

// ---- find all ----

Rig& Opened() {
  static Rig rig = [] {
    Rig r;
    r.Open(TheCorpus().text);
    return r;
  }();
  return rig;
}

const std::vector<std::string>& Lines() {
  static const std::vector<std::string> lines = SplitLines(TheCorpus().text);
  return lines;
}

void BM_FindAll_EngineF3(benchmark::State& state) {
  Rig& rig = Opened();
  const std::string& word = TheCorpus().word;
  int64_t found = 0;
  for (auto _ : state) {
    rig.view->SetCaret({0, 0});
    found = 0;
    while (rig.view->FindNext(word, true, true)) ++found;
  }
  state.counters["matches"] = static_cast<double>(found);
  SetBytes(state, TheCorpus().text.size());
}

void BM_FindAll_EngineMatcher(benchmark::State& state) {
  Rig& rig = Opened();
  const std::string& word = TheCorpus().word;
  const TextCode& code = rig.view->Code();
  int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    for (int i = 0; i < rig.doc.LineCount(); ++i) {
      std::string_view line = rig.doc.GetLine(i);
      for (int at = FindForwardInLine(code, line, word, true); at >= 0;
           at = FindForwardInLine(code, line, word, true)) {
        ++found;
        line.remove_prefix(static_cast<size_t>(at) + word.size());
      }
    }
  }
  state.counters["matches"] = static_cast<double>(found);
  SetBytes(state, TheCorpus().text.size());
}

void BM_FindAll_Baseline(benchmark::State& state) {
  const std::vector<std::string>& lines = Lines();
  const std::string& word = TheCorpus().word;
  int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    for (const std::string& line : lines) {
      const char* p = line.data();
      const char* end = p + line.size();
      while (const void* m = memmem(p, static_cast<size_t>(end - p), word.data(), word.size())) {
        ++found;
        p = static_cast<const char*>(m) + word.size();
      }
    }
  }
  state.counters["matches"] = static_cast<double>(found);
  SetBytes(state, TheCorpus().text.size());
}

// ---- lay out again after a width change ----

size_t WindowBytes(Rig& rig) {
  size_t bytes = 0;
  for (int i = rig.view->TopLine(); i < rig.view->EndLine(); ++i) bytes += rig.doc.GetLine(i).size();
  return bytes;
}

void BM_Relayout_EngineWindow(benchmark::State& state) {
  Rig& rig = Opened();
  rig.view->SetCaret({0, 0});
  int width = kClientWidth;
  for (auto _ : state) {
    width = width == kClientWidth ? kClientWidth - 37 : kClientWidth;
    rig.view->Resize(width, kClientHeight, kScrollBar);
    benchmark::DoNotOptimize(rig.view->EndLine());
  }
  SetBytes(state, WindowBytes(rig));
}

void BM_Relayout_BaselineWindow(benchmark::State& state) {
  Rig& rig = Opened();
  const std::vector<std::string>& lines = Lines();
  const size_t shown = static_cast<size_t>(rig.view->EndLine() - rig.view->TopLine());
  int width = kClientWidth;
  for (auto _ : state) {
    width = width == kClientWidth ? kClientWidth - 37 : kClientWidth;
    int rows = 0;
    for (size_t i = 0; i < shown; ++i) rows += PlainRows(lines[i], width - 24);
    benchmark::DoNotOptimize(rows);
  }
  SetBytes(state, WindowBytes(rig));
}

void BM_Relayout_EngineAllLines(benchmark::State& state) {
  Rig& rig = Opened();
  const TextCode& code = rig.view->Code();
  FixedMeasurer measurer;
  CharMetrics metrics(code, measurer);
  for (auto _ : state) {
    int64_t rows = 0;
    for (int i = 0; i < rig.doc.LineCount(); ++i) rows += CountRows(code, metrics, rig.doc.GetLine(i), 960);
    benchmark::DoNotOptimize(rows);
  }
  SetBytes(state, TheCorpus().text.size());
}

void BM_Relayout_BaselineAllLines(benchmark::State& state) {
  const std::vector<std::string>& lines = Lines();
  for (auto _ : state) {
    int64_t rows = 0;
    for (const std::string& line : lines) rows += PlainRows(line, 960);
    benchmark::DoNotOptimize(rows);
  }
  SetBytes(state, TheCorpus().text.size());
}

// ---- typing ----

void BM_TypeAtTheEndOf30000Bytes(benchmark::State& state) {
  std::string line;
  const std::string syllable = "\xED\x95\x9C";  // 한
  while (line.size() < 30000) line += syllable;
  Rig rig;
  rig.Open(line);
  const TextPosition end{0, static_cast<int>(line.size())};
  rig.view->SetCaret(end);
  for (auto _ : state) {
    rig.view->Char('a');
    if (rig.view->Caret().offset >= 32000) {  // keep the line near 30000 bytes
      state.PauseTiming();
      rig.doc.SetLine(0, line);
      rig.view->OnUpdate(0);
      rig.view->SetCaret(end);
      state.ResumeTiming();
    }
  }
}

BENCHMARK(BM_Open_Engine)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Open_Baseline)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FindAll_EngineF3)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FindAll_EngineMatcher)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FindAll_Baseline)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Relayout_EngineWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Relayout_BaselineWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Relayout_EngineAllLines)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Relayout_BaselineAllLines)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TypeAtTheEndOf30000Bytes)->Unit(benchmark::kMicrosecond);

// Keeps each run's time and prints engine / baseline at the end.
class RatioReporter final : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) times_[r.benchmark_name()] = r.GetAdjustedRealTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const std::pair<const char*, const char*> pairs[] = {
        {"BM_Open_Engine/iterations:3", "BM_Open_Baseline/iterations:3"},
        {"BM_FindAll_EngineF3/iterations:3", "BM_FindAll_Baseline/iterations:3"},
        {"BM_FindAll_EngineMatcher/iterations:3", "BM_FindAll_Baseline/iterations:3"},
        {"BM_Relayout_EngineWindow", "BM_Relayout_BaselineWindow"},
        {"BM_Relayout_EngineAllLines/iterations:3", "BM_Relayout_BaselineAllLines/iterations:3"},
    };
    std::printf("\nengine time / baseline time (same run):\n");
    for (const auto& [engine, baseline] : pairs) {
      const auto e = times_.find(engine);
      const auto b = times_.find(baseline);
      if (e == times_.end() || b == times_.end() || b->second <= 0) continue;
      std::printf("  %-42s %6.2f\n", engine, e->second / b->second);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
