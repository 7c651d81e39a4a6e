// Draws the picture strip of a tool bar: one 16 x 15 picture a button (or
// the size given first), side by side in the order named, on the grey
// ground (192, 192, 192) that the tool bar lets the button face show
// through. Letters come from the Debian fonts named on the command line.
//
//   toolbar_pictures [--size=<w>x<h>] <output .bmp> <Hangul font file> <Japanese font file> <picture>...
//
// Pictures: new, open, save, print, cut, copy, paste, ks-copy, gm-copy,
// find, help (drawn for 16 x 15), and text:<colour>:<letters> (one or two
// letters in navy, blue, maroon, teal or black, any size).
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "canvas.h"
#include "glyphs.h"
#include "text_utils.h"

namespace {

using raster::Box;
using raster::Canvas;
using raster::Rgb;

int kWidth = 16;
int kHeight = 15;
constexpr uint32_t kGround = Rgb(192, 192, 192);
constexpr uint32_t kInk = Rgb(0, 0, 0);
constexpr uint32_t kPaper = Rgb(255, 255, 255);
constexpr uint32_t kGrey = Rgb(128, 128, 128);
constexpr uint32_t kYellow = Rgb(255, 255, 0);
constexpr uint32_t kOchre = Rgb(128, 128, 0);
constexpr uint32_t kNavy = Rgb(0, 0, 128);
constexpr uint32_t kTeal = Rgb(0, 128, 128);
constexpr uint32_t kMaroon = Rgb(128, 0, 0);
constexpr uint32_t kBlue = Rgb(0, 0, 255);

// One picture's cell of the strip; coordinates inside the cell.
class Cell {
 public:
  Cell(Canvas& c, int index) : c_(c), x0_(index * kWidth) {}
  void Dot(int x, int y, uint32_t colour) { c_.Set(x0_ + x, y, colour); }
  void Fill(Box b, uint32_t colour) { c_.Fill(Box{x0_ + b.left, b.top, x0_ + b.right, b.bottom}, colour); }
  // A filled box with an outline; right and bottom are outside.
  void Framed(Box b, uint32_t inside, uint32_t edge) {
    Fill(b, edge);
    Fill({b.left + 1, b.top + 1, b.right - 1, b.bottom - 1}, inside);
  }
  void Line(int x0, int y0, int x1, int y1, uint32_t colour) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      Dot(x0, y0, colour);
      if (x0 == x1 && y0 == y1) break;
      const int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x0 += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y0 += sy;
      }
    }
  }
  // A ring of whole pixels whose distance from (cx, cy) rounds to r.
  void Ring(int cx, int cy, int r, uint32_t colour) {
    for (int y = -r - 1; y <= r + 1; ++y)
      for (int x = -r - 1; x <= r + 1; ++x) {
        const int d2 = x * x + y * y;
        if (d2 >= (2 * r - 1) * (2 * r - 1) / 4 && d2 <= (2 * r + 1) * (2 * r + 1) / 4) Dot(cx + x, cy + y, colour);
      }
  }
  // Letters with their inked box centred across the cell and on cy.
  void Text(raster::Glyphs& glyphs, const std::u16string& text, int pixels, int cy, uint32_t colour) {
    glyphs.Centered(c_, text, pixels, x0_ + kWidth / 2, cy, colour);
  }

 private:
  Canvas& c_;
  int x0_;
};

// A sheet with its top-right corner folded.
void Sheet(Cell& p, int left, int top, int right, int bottom) {
  p.Framed({left, top, right, bottom}, kPaper, kInk);
  const int fold = 3;
  for (int i = 0; i < fold; ++i) p.Line(right - fold + i, top, right - 1, top + fold - 1 - i, kGround);
  p.Line(right - fold - 1, top, right - 1, top + fold, kInk);
  p.Line(right - fold - 1, top, right - fold - 1, top + fold, kInk);
  p.Line(right - fold - 1, top + fold, right - 1, top + fold, kInk);
}

void New(Cell& p, raster::Glyphs&) { Sheet(p, 3, 1, 13, 15); }

void Open(Cell& p, raster::Glyphs&) {
  p.Framed({1, 3, 7, 6}, kYellow, kInk);           // the tab
  p.Framed({1, 5, 14, 14}, kYellow, kInk);         // the body
  p.Fill({2, 6, 13, 7}, kPaper);                   // its lit edge
  p.Line(10, 1, 13, 1, kInk);                      // the opening arrow
  p.Line(13, 1, 13, 4, kInk);
  p.Line(12, 2, 14, 2, kInk);
}

void Save(Cell& p, raster::Glyphs&) {
  p.Framed({1, 1, 15, 15}, kTeal, kInk);
  p.Fill({4, 2, 12, 7}, kPaper);                   // the label
  p.Fill({5, 10, 11, 14}, kGrey);                  // the shutter
  p.Fill({8, 11, 10, 13}, kInk);
}

void Print(Cell& p, raster::Glyphs&) {
  p.Framed({4, 1, 12, 7}, kPaper, kInk);           // the sheet going in
  p.Framed({1, 6, 15, 12}, kGround, kInk);         // the body
  p.Fill({2, 7, 14, 8}, kPaper);
  p.Dot(12, 9, kYellow);
  p.Framed({4, 10, 12, 15}, kPaper, kInk);         // the sheet coming out
}

void Cut(Cell& p, raster::Glyphs&) {
  p.Line(5, 1, 9, 9, kInk);                        // the blades
  p.Line(10, 1, 6, 9, kInk);
  p.Ring(5, 11, 2, kNavy);                         // the grips
  p.Ring(10, 11, 2, kNavy);
}

void Copy(Cell& p, raster::Glyphs&) {
  Sheet(p, 1, 1, 9, 10);
  Sheet(p, 6, 5, 15, 15);
}

void Paste(Cell& p, raster::Glyphs&) {
  p.Framed({1, 2, 12, 15}, kOchre, kInk);          // the board
  p.Framed({4, 1, 9, 4}, kGrey, kInk);             // the clip
  p.Framed({7, 6, 15, 15}, kPaper, kInk);          // the sheet on it
  for (int y = 8; y < 14; y += 2) p.Line(9, y, 13, y, kNavy);
}

// A copy in a named code: a sheet with the code's letters.
void KsCopy(Cell& p, raster::Glyphs& glyphs) {
  Sheet(p, 1, 1, 15, 15);
  p.Text(glyphs, u"KS", 9, 9, kBlue);
}

void GmCopy(Cell& p, raster::Glyphs& glyphs) {
  Sheet(p, 1, 1, 15, 15);
  p.Text(glyphs, u"GM", 9, 9, kMaroon);
}

void Find(Cell& p, raster::Glyphs&) {
  p.Ring(6, 6, 4, kInk);
  p.Ring(6, 6, 3, kPaper);
  for (int k = 0; k < 2; ++k) p.Line(9 + k, 10, 13 + k, 14, kInk);  // the handle, two pixels thick
  p.Line(9, 9, 14, 14, kInk);
}

void Help(Cell& p, raster::Glyphs& glyphs) { p.Text(glyphs, u"?", 14, 7, kNavy); }

// The letters of a picture name (characters of the basic plane only).
std::u16string Utf16(const std::string& s) {
  std::u16string out;
  for (char32_t c : codeconv::DecodeUtf8Unchecked(s)) {
    if (c < 0x10000) out.push_back(static_cast<char16_t>(c));
  }
  return out;
}

// "text:<colour>:<letters>": the letters centred, larger when there is one.
bool DrawText(const std::string& picture, Cell& p, raster::Glyphs& glyphs) {
  static const std::map<std::string, uint32_t> colours = {
      {"navy", kNavy}, {"blue", kBlue}, {"maroon", kMaroon}, {"teal", kTeal}, {"black", kInk}};
  const std::size_t colon = picture.find(':', 5);
  if (colon == std::string::npos) return false;
  const auto colour = colours.find(picture.substr(5, colon - 5));
  const std::u16string letters = Utf16(picture.substr(colon + 1));
  if (colour == colours.end() || letters.empty() || letters.size() > 2) return false;
  const int pixels = letters.size() == 1 ? kHeight * 3 / 4 : kWidth * 3 / 5;
  p.Text(glyphs, letters, pixels, kHeight / 2, colour->second);
  return true;
}

bool Draw(const std::string& name, Cell& p, raster::Glyphs& glyphs) {
  if (name.rfind("text:", 0) == 0) return DrawText(name, p, glyphs);
  static const std::map<std::string, void (*)(Cell&, raster::Glyphs&)> pictures = {
      {"new", New},   {"open", Open},       {"save", Save},       {"print", Print}, {"cut", Cut},  {"copy", Copy},
      {"paste", Paste}, {"ks-copy", KsCopy}, {"gm-copy", GmCopy}, {"find", Find},   {"help", Help}};
  const auto it = pictures.find(name);
  if (it == pictures.end()) return false;
  it->second(p, glyphs);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]).rfind("--size=", 0) == 0) {
    if (std::sscanf(argv[1] + 7, "%dx%d", &kWidth, &kHeight) != 2 || kWidth < 8 || kHeight < 8) {
      std::fprintf(stderr, "%s: bad size %s\n", argv[0], argv[1]);
      return 2;
    }
    ++argv;
    --argc;
  }
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s [--size=<w>x<h>] <output .bmp> <Hangul font> <Japanese font> <picture>...\n",
                 argv[0]);
    return 2;
  }
  raster::Glyphs glyphs;
  if (!glyphs.Open(argv[2], argv[3])) {
    std::fprintf(stderr, "%s: cannot open the fonts\n", argv[0]);
    return 1;
  }
  const int count = argc - 4;
  Canvas c(kWidth * count, kHeight, kGround);
  for (int i = 0; i < count; ++i) {
    Cell p(c, i);
    if (!Draw(argv[4 + i], p, glyphs)) {
      std::fprintf(stderr, "%s: no picture named %s\n", argv[0], argv[4 + i]);
      return 2;
    }
  }
  const std::vector<uint8_t> bytes = raster::Bmp24(c.w, c.h, c.ColorRefs());
  FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok ? 0 : 1;
}
