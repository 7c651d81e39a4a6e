// ombrelgen: builds the dictionary's data root (VESKADATA) from public data:
//   ombrelgen <out root> <hanja.txt> <Unihan_Variants.txt> <Unihan_OtherMappings.txt>
//             <edict in UTF-8> <examples text> <Hangul font> <Japanese font>
// writing TASKEL/ and OMBREL/ (seven files each, examples.dat in OMBREL/)
// and html/Images/ (the pictures of the entry pages).
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "canvas.h"
#include "dictionary_data.h"
#include "glyphs.h"
#include "pages.h"

namespace {

using namespace ombrel;
using namespace ombrel::data;

// The label each picture shows (Japanese grammar terms for the Korean word
// classes they mark).
const char16_t* const kPictureLabels[kPictureCount] = {
    u"",       u"으変",   u"르変",   u"러変",   u"우変",   u"하変",   u"어変",   u"ㅂ変",  u"ㄷ変",   u"ㅅ変",
    u"ㅎ変",   u"語根",   u"되自",   u"되受身", u"하自",   u"하他",   u"하自他", u"하形",  u"하形自", u"名",
    u"依名",   u"代",     u"数",     u"自",     u"他",     u"使役",   u"受身",   u"形",    u"存",     u"指",
    u"補動",   u"補形",   u"補存",   u"副",     u"感",     u"補語",   u"助",     u"語尾",  u"接尾",   u"接頭",
    u"冠"};

constexpr int kScale = 2;  // pictures at twice their size at 12 points, shown scaled

void DrawSpeaker(raster::Canvas& c) {
  const uint32_t ink = raster::Rgb(0x20, 0x40, 0xA0);
  const int s = c.h;
  // The box of the speaker, its cone and two sound waves.
  c.Fill(raster::Box{s * 2 / 12, s * 4 / 12, s * 4 / 12, s * 8 / 12}, ink);
  for (int x = s * 4 / 12; x < s * 7 / 12; ++x) {
    const int spread = (x - s * 4 / 12) + s * 2 / 12;
    c.VLine(x, s / 2 - spread, s / 2 + spread, ink);
  }
  for (int r : {s * 8 / 12, s * 10 / 12}) {
    for (int y = -r / 2; y <= r / 2; ++y) {
      const int x = s * 5 / 12 + static_cast<int>(std::sqrt(static_cast<double>(r * r / 4 - y * y)) + 0.5) + s / 6;
      c.Set(x, s / 2 + y, ink);
    }
  }
}

void WritePictures(const std::string& folder, raster::Glyphs& glyphs) {
  const uint32_t ground = raster::Rgb(0xFF, 0xFF, 0xFE);
  for (int n = 0; n < kPictureCount; ++n) {
    const Picture& p = PictureAt(n);
    raster::Canvas c(p.width * kScale, p.height * kScale, ground);
    if (n == kSpeakerPicture) {
      DrawSpeaker(c);
    } else {
      const uint32_t frame = raster::Rgb(0x30, 0x60, 0x30);
      c.Fill(raster::Box{0, 1, c.w, c.h - 1}, raster::Rgb(0xE8, 0xF4, 0xE8));
      c.HLine(0, c.w, 1, frame);
      c.HLine(0, c.w, c.h - 2, frame);
      c.VLine(0, 1, c.h - 1, frame);
      c.VLine(c.w - 1, 1, c.h - 1, frame);
      glyphs.Centered(c, kPictureLabels[n], c.h - 6, c.w / 2, c.h / 2, frame);
    }
    const std::string gif = EncodeGif(c.w, c.h, c.px, ground);
    std::ofstream out(folder + "/" + p.name + ".gif", std::ios::binary);
    out.write(gif.data(), static_cast<std::streamsize>(gif.size()));
    if (!out) throw std::runtime_error(std::string("cannot write the picture ") + p.name);
  }
}

std::ifstream OpenInput(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(std::string("cannot read ") + path);
  return in;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 9) {
    std::fprintf(stderr,
                 "usage: ombrelgen <out root> <hanja.txt> <Unihan_Variants.txt> <Unihan_OtherMappings.txt> "
                 "<edict UTF-8> <examples> <Hangul font> <Japanese font>\n");
    return 2;
  }
  try {
    const std::string root = argv[1];
    namespace fs = std::filesystem;
    for (const char* sub : {"TASKEL", "OMBREL", "html/Images"}) fs::create_directories(fs::path(root) / sub);

    std::ifstream hanjaIn = OpenInput(argv[2]);
    const std::vector<HanjaLine> hanja = ReadHanjaList(hanjaIn);
    std::ifstream variantsIn = OpenInput(argv[3]);
    std::ifstream otherIn = OpenInput(argv[4]);
    const KanjiForms forms = ReadKanjiForms(variantsIn, otherIn);
    std::ifstream edictIn = OpenInput(argv[5]);
    const auto edict = ReadEdict(edictIn);
    const std::vector<WordPair> pairs = PairWords(hanja, forms, edict);
    const HanjaGlosses glosses = CollectGlosses(hanja);

    const auto korean = BuildKoreanToJapanese(pairs, glosses);
    const auto japanese = BuildJapaneseToKorean(pairs, glosses, forms, edict);
    const WrittenFiles k = WriteDirection(korean, 1, root + "/OMBREL");
    const WrittenFiles j = WriteDirection(japanese, 0, root + "/TASKEL");

    std::ifstream examplesIn = OpenInput(argv[6]);
    const std::vector<Example> examples = ReadExamples(examplesIn);
    const std::string exampleFile = EncodeExampleFile(examples);
    std::ofstream ex(root + "/OMBREL/examples.dat", std::ios::binary);
    ex.write(exampleFile.data(), static_cast<std::streamsize>(exampleFile.size()));
    if (!ex) throw std::runtime_error("cannot write examples.dat");

    raster::Glyphs glyphs;
    if (!glyphs.Open(argv[7], argv[8])) throw std::runtime_error("cannot open the fonts");
    WritePictures(root + "/html/Images", glyphs);

    std::printf("ombrelgen: %zu word pairs; Korean to Japanese %zu keys, %zu entries; Japanese to Korean %zu keys, "
                "%zu entries; %zu examples\n",
                pairs.size(), k.keys, k.entries, j.keys, j.entries, examples.size());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ombrelgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
