// Draws the listening program's two tool-bar strips (bitmaps 151 and 153):
// 21 x 21 pictures on the magenta ground that the image lists take as
// transparent, in the order of the bar's buttons: copy (two pages), find (a
// magnifier), contents (a tree of lines), read aloud (a speech balloon with
// sound) and stop (a bar across a balloon). The normal strip is 24-bit; the
// disabled one, the same shapes in grey, 8-bit with a palette.
//
//   ferlin_pictures <normal .bmp> <disabled .bmp>
#include "canvas.h"
#include "strip_files.h"

namespace {

using raster::Box;
using raster::Canvas;
using raster::Rgb;

constexpr int kSide = 21;
constexpr int kPictures = 5;
constexpr uint32_t kGround = Rgb(255, 0, 255);

struct Inks {
  uint32_t line, paper, accent, alert;
};
constexpr Inks kNormal{Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(0, 96, 192), Rgb(200, 0, 0)};
constexpr Inks kDisabled{Rgb(128, 128, 128), Rgb(224, 224, 224), Rgb(160, 160, 160), Rgb(160, 160, 160)};

void Frame(Canvas& c, const Box& b, const Inks& ink) {
  c.Fill(b, ink.paper);
  c.HLine(b.left, b.right, b.top, ink.line);
  c.HLine(b.left, b.right, b.bottom - 1, ink.line);
  c.VLine(b.left, b.top, b.bottom, ink.line);
  c.VLine(b.right - 1, b.top, b.bottom, ink.line);
}

void Copy(Canvas& c, int x0, const Inks& ink) {
  Frame(c, Box{x0 + 3, 2, x0 + 13, 14}, ink);
  Frame(c, Box{x0 + 8, 7, x0 + 18, 19}, ink);
  for (int y = 10; y < 17; y += 2) c.HLine(x0 + 10, x0 + 16, y, ink.accent);
}

void Find(Canvas& c, int x0, const Inks& ink) {
  // A ring of radius 5 around (8, 8), then the handle.
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const int dx = x - 8, dy = y - 8, d = dx * dx + dy * dy;
      if (d >= 16 && d <= 30) c.Set(x0 + x, y, ink.line);
      else if (d < 16) c.Set(x0 + x, y, ink.paper);
    }
  for (int i = 0; i < 6; ++i) {
    c.Set(x0 + 12 + i, 12 + i, ink.accent);
    c.Set(x0 + 13 + i, 12 + i, ink.accent);
  }
}

void Contents(Canvas& c, int x0, const Inks& ink) {
  c.VLine(x0 + 4, 3, 18, ink.line);
  for (int y : {4, 9, 14}) {
    c.HLine(x0 + 4, x0 + 8, y, ink.line);
    c.Fill(Box{x0 + 9, y - 1, x0 + 18, y + 2}, ink.accent);
  }
}

void Balloon(Canvas& c, int x0, const Inks& ink) {
  Frame(c, Box{x0 + 2, 3, x0 + 19, 14}, ink);
  for (int i = 0; i < 4; ++i) c.HLine(x0 + 5, x0 + 9 - i, 14 + i, ink.line);
}

void Speak(Canvas& c, int x0, const Inks& ink) {
  Balloon(c, x0, ink);
  for (int x = 5; x < 17; x += 3) c.VLine(x0 + x, 8 - (x % 2) * 2, 10 + (x % 2) * 2, ink.accent);
}

void Stop(Canvas& c, int x0, const Inks& ink) {
  Balloon(c, x0, ink);
  c.Fill(Box{x0 + 6, 7, x0 + 15, 10}, ink.alert);
}

Canvas Strip(const Inks& ink) {
  Canvas c(kSide * kPictures, kSide, kGround);
  Copy(c, 0, ink);
  Find(c, kSide, ink);
  Contents(c, 2 * kSide, ink);
  Speak(c, 3 * kSide, ink);
  Stop(c, 4 * kSide, ink);
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  return raster::ToolBarStripsMain(argc, argv, Strip(kNormal), Strip(kDisabled));
}
