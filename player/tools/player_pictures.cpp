// Draws the text player's two tool-bar strips: 21 x 21 pictures on the
// magenta ground that the image lists take as transparent, picture 0 the
// read-aloud button (a loudspeaker with its sound), picture 1 the stop
// button (a square). The normal strip is 24-bit; the disabled one, the same
// shapes in grey, is 8-bit with a palette.
//
//   player_pictures <normal .bmp> <disabled .bmp>
#include "canvas.h"
#include "strip_files.h"

namespace {

using raster::Box;
using raster::Canvas;
using raster::Rgb;

constexpr int kSide = 21;
constexpr int kPictures = 2;
constexpr uint32_t kGround = Rgb(255, 0, 255);

struct Inks {
  uint32_t body, cone, wave, stop, edge;
};
constexpr Inks kNormal{Rgb(64, 64, 64), Rgb(0, 0, 160), Rgb(0, 128, 0), Rgb(200, 0, 0), Rgb(0, 0, 0)};
constexpr Inks kDisabled{Rgb(128, 128, 128), Rgb(128, 128, 128), Rgb(160, 160, 160), Rgb(128, 128, 128),
                         Rgb(255, 255, 255)};

void Speaker(Canvas& c, int x0, const Inks& ink) {
  c.Fill(Box{x0 + 3, 8, x0 + 7, 13}, ink.body);
  for (int i = 0; i < 5; ++i) c.VLine(x0 + 7 + i, 8 - i, 13 + i, ink.cone);
  // Three arcs of sound to the right.
  for (int r = 0; r < 3; ++r) {
    const int x = x0 + 14 + 2 * r;
    c.VLine(x, 8 - r, 13 + r, ink.wave);
    c.Set(x - 1, 7 - r, ink.wave);
    c.Set(x - 1, 13 + r, ink.wave);
  }
}

void Stop(Canvas& c, int x0, const Inks& ink) {
  c.Fill(Box{x0 + 4, 4, x0 + 17, 17}, ink.edge);
  c.Fill(Box{x0 + 5, 5, x0 + 16, 16}, ink.stop);
}

Canvas Strip(const Inks& ink) {
  Canvas c(kSide * kPictures, kSide, kGround);
  Speaker(c, 0, ink);
  Stop(c, kSide, ink);
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  return raster::ToolBarStripsMain(argc, argv, Strip(kNormal), Strip(kDisabled));
}
