// Opening (automatic detection included) and saving a 100 MB text in each
// of the editor's codes, each beside iconv converting the same bytes in the
// same run: UTF-8 <-> code page 949 for the KS and GM files, UTF-16 <->
// UTF-8 for the Unicode file, a validating UTF-8 copy for the UTF-8 file.
// The counter "vs_iconv" is iconv's time over the document's (above 1: the
// document is faster).
//
// Code page 949 runs through two converters: the platform's (iconv itself
// on this system, one call per batch of lines) and a table of every pair
// filled from iconv once, which is how the Windows conversion works.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "brisel_doc.h"
#include "charvane_detect.h"
#include "code_page.h"
#include "gm_converter.h"
#include "gm_layout.h"
#include "ks_gm.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kTextBytes = 100u << 20;  // of the UTF-8 file

// iconv of a whole buffer in one call.
std::string Iconv(const char* to, const char* from, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  std::string out(in.size() * 2 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  char* dst = out.data();
  size_t room = out.size();
  while (left > 0 && iconv(cd, &src, &left, &dst, &room) == static_cast<size_t>(-1)) {
    if (left == 0 || room == 0) break;
    ++src;  // skip what the code lacks
    --left;
  }
  iconv_close(cd);
  out.resize(out.size() - room);
  return out;
}

// Code page 949 by a table of every pair (and back by a table of every
// unit), filled from iconv once.
class TableCodePage final : public codeconv::CodePageConverter {
 public:
  TableCodePage() : toUnit_(1 << 16, 0), toBytes_(1 << 16, 0) {
    iconv_t cd = iconv_open("UTF-16LE", "CP949");
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned trail = 0x41; trail <= 0xFE; ++trail) {
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char out[8];
        char* src = in;
        char* dst = out;
        size_t left = 2, room = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &src, &left, &dst, &room) == 0 && room == sizeof out - 2) {
          const auto unit = static_cast<uint16_t>(static_cast<unsigned char>(out[0]) | static_cast<unsigned char>(out[1]) << 8);
          toUnit_[lead << 8 | trail] = unit;
          toBytes_[unit] = static_cast<uint16_t>(lead << 8 | trail);
        }
      }
    }
    iconv_close(cd);
  }
  std::u16string ToUtf16(unsigned, const std::string& bytes) const override {
    std::u16string out(bytes.size(), u'\0');
    size_t n = 0;
    for (size_t i = 0; i < bytes.size();) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (b < 0x80) {
        out[n++] = b;
        ++i;
        continue;
      }
      const uint16_t unit =
          i + 1 < bytes.size() ? toUnit_[b << 8 | static_cast<unsigned char>(bytes[i + 1])] : uint16_t(0);
      if (unit) {
        out[n++] = unit;
        i += 2;
      } else {
        ++i;  // left out, as iconv's converter does
      }
    }
    out.resize(n);
    return out;
  }
  std::string FromUtf16(unsigned, const std::u16string& text) const override {
    std::string out(text.size() * 2, '\0');
    size_t n = 0;
    for (char16_t u : text) {
      if (u < 0x80) {
        out[n++] = static_cast<char>(u);
      } else if (const uint16_t pair = toBytes_[u]) {
        out[n++] = static_cast<char>(pair >> 8);
        out[n++] = static_cast<char>(pair & 0xFF);
      }
    }
    out.resize(n);
    return out;
  }

 private:
  std::vector<uint16_t> toUnit_;
  std::vector<uint16_t> toBytes_;
};

class Detector final : public editorview::CodeDetector {
 public:
  unsigned Detect(std::string_view bytes, unsigned mask) override {
    return charvane::Detect(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), mask);
  }
};

class Host final : public brisel::DocumentHost {
 public:
  int FontCode() const override { return 0; }
  void Notify(brisel::DocNotice notice) override {
    std::fprintf(stderr, "notice %d\n", static_cast<int>(notice));
  }
  void NotifyReadChanged(const brisel::ReadOutcome&) override { std::fprintf(stderr, "read changed\n"); }
  brisel::MissingAnswer AskAboutMissing(const brisel::MissingCharacters&, int) override {
    std::fprintf(stderr, "characters missing\n");
    return brisel::MissingAnswer::kCancel;
  }
};

class NoFiles final : public brisel::FileStore {
 public:
  std::optional<std::string> ReadAll(std::u16string_view) override { return std::nullopt; }
  std::optional<std::u16string> WriteBeside(std::u16string_view, std::string_view) override { return std::nullopt; }
  bool Replace(std::u16string_view, std::u16string_view) override { return false; }
  void Remove(std::u16string_view) override {}
};

class NoUi final : public fw::DocumentUi {
 public:
  fw::SaveAnswer AskToSave(std::u16string_view) override { return fw::SaveAnswer::kNo; }
  std::optional<std::u16string> PromptSaveName(std::u16string_view, unsigned) override { return std::nullopt; }
  bool Exists(std::u16string_view) override { return false; }
  bool IsReadOnly(std::u16string_view) override { return true; }
  void Remove(std::u16string_view) override {}
};

struct Texts {
  codeconv::GmCodeConverter gm;
  std::vector<uint8_t> toV3, fromV3;
  std::string utf8, utf16, ks, gmBytes;
  Texts() {
    const codeconv::GmLayout layout = codeconv::BuildGmLayout(codeconv::PlatformCodePages());
    toV3 = codeconv::BuildGm95ToV3Table(layout);
    fromV3 = codeconv::BuildGmV3To95Table(layout);
    gm.SetTables({{toV3.data(), toV3.size()}, {fromV3.data(), fromV3.size()}});
    // Words of 1-5 KS X 1001 syllables, blanks, now and then a number or a
    // full stop; lines of about 200 bytes of UTF-8.
    std::mt19937 random(1);
    std::string ksText;
    size_t utf8Size = 0, lineBytes = 0;
    while (utf8Size < kTextBytes) {
      const int letters = 1 + static_cast<int>(random() % 5);
      for (int i = 0; i < letters; ++i) {
        const int ordinal = static_cast<int>(random() % 2350);
        const codeconv::DbChar c = codeconv::EncodeEucShape({16 + ordinal / 94, ordinal % 94});
        ksText.push_back(static_cast<char>(codeconv::Lead(c)));
        ksText.push_back(static_cast<char>(codeconv::Trail(c)));
      }
      utf8Size += 3 * static_cast<size_t>(letters) + 1;
      lineBytes += 3 * static_cast<size_t>(letters) + 1;
      if (random() % 16 == 0) ksText += std::to_string(random() % 1000);
      if (lineBytes > 200) {
        ksText += ".\r\n";
        lineBytes = 0;
      } else {
        ksText += ' ';
      }
    }
    if (ksText.back() != '\n') ksText += ".\r\n";
    ks = ksText;
    utf8 = Iconv("UTF-8", "CP949", ks);
    utf16 = "\xFF\xFE" + Iconv("UTF-16LE", "UTF-8", utf8);
    gmBytes = ks;
    gmBytes.push_back('\0');
    gm.KsToGm(gmBytes.data(), static_cast<unsigned>(ks.size()));
    gmBytes.pop_back();
  }
};

const Texts& TheTexts() {
  static const Texts texts;
  return texts;
}

const TableCodePage& Table() {
  static const TableCodePage table;
  return table;
}

enum FileCode { kUtf8, kUtf16, kKs, kGm };
enum Pages { kPlatformPages, kTablePages };

const std::string& FileOf(FileCode code) {
  const Texts& t = TheTexts();
  switch (code) {
    case kUtf8: return t.utf8;
    case kUtf16: return t.utf16;
    case kKs: return t.ks;
    case kGm: return t.gmBytes;
  }
  return t.utf8;
}

// The iconv peer of opening (to UTF-8) or saving (from UTF-8) the file.
double IconvSeconds(FileCode code, bool open) {
  const Texts& t = TheTexts();
  const auto start = Clock::now();
  std::string out;
  switch (code) {
    case kUtf8: out = Iconv("UTF-8", "UTF-8", t.utf8); break;
    case kUtf16: out = open ? Iconv("UTF-8", "UTF-16LE", t.utf16.substr(2)) : Iconv("UTF-16LE", "UTF-8", t.utf8); break;
    case kKs:
    case kGm: out = open ? Iconv("UTF-8", "CP949", t.ks) : Iconv("CP949", "UTF-8", t.utf8); break;
  }
  benchmark::DoNotOptimize(out.data());
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void Run(benchmark::State& state, bool open) {
  const auto code = static_cast<FileCode>(state.range(0));
  const auto pages = static_cast<Pages>(state.range(1));
  const Texts& t = TheTexts();
  const codeconv::CodePageConverter& converter =
      pages == kTablePages ? static_cast<const codeconv::CodePageConverter&>(Table()) : codeconv::PlatformCodePages();
  NoUi ui;
  NoFiles files;
  Host host;
  Detector detector;
  brisel::FileCodeSettings settings{brisel::kInAutomatic, 0};
  brisel::CBriselDoc doc({ui, files, host, settings, t.gm, converter, &detector});
  const std::string& file = FileOf(code);
  static const int kOut[] = {brisel::kOutUtf8, brisel::kOutUnicode, brisel::kOutKs, brisel::kOutGm};
  settings.outFileType = kOut[code];
  if (!open) doc.ReadBytes(file);
  double own = 0, peer = 0;
  size_t bytes = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    if (open) {
      if (!doc.ReadBytes(file)) state.SkipWithError("not read");
      bytes += file.size();
    } else {
      const std::string saved = doc.WriteLines();
      benchmark::DoNotOptimize(saved.data());
      bytes += saved.size();
      if (saved != file) state.SkipWithError("saved bytes differ from the file");
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);
    own += seconds;
    peer += IconvSeconds(code, open);
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.counters["vs_iconv"] = peer / own;
  state.counters["lines"] = doc.LineCount();
}

void BM_Open(benchmark::State& state) { Run(state, true); }
void BM_Save(benchmark::State& state) { Run(state, false); }

void Args(benchmark::internal::Benchmark* b) {
  b->ArgNames({"code", "pages"});
  for (int code : {kUtf8, kUtf16}) b->Args({code, kPlatformPages});
  for (int code : {kKs, kGm}) {
    b->Args({code, kPlatformPages});
    b->Args({code, kTablePages});
  }
  b->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
}

BENCHMARK(BM_Open)->Apply(Args);
BENCHMARK(BM_Save)->Apply(Args);

}  // namespace

BENCHMARK_MAIN();
