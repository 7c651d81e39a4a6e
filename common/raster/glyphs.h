// Glyphs of two font files drawn onto a canvas with FreeType: Hangul from
// the Hangul face, everything else from the Japanese face (the suite's
// bitmaps take them from Debian's Nanum and IPA fonts).
#pragma once
#include <string>

#include "canvas.h"

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

namespace raster {

class Glyphs {
 public:
  Glyphs() = default;
  Glyphs(const Glyphs&) = delete;
  Glyphs& operator=(const Glyphs&) = delete;
  ~Glyphs();
  bool Open(const char* hangul, const char* japanese);

  // Draws text with its inked box centred on (cx, cy).
  void Centered(Canvas& c, const std::u16string& text, int pixels, int cx, int cy, uint32_t colour);
  // Draws text from (x, baseline).
  void On(Canvas& c, const std::u16string& text, int pixels, int x, int baseline, uint32_t colour);

 private:
  struct Ink {
    int left, top, right, bottom;
  };
  // Renders the glyphs along a baseline at (x, y) into c (when not null) and
  // gives their inked box relative to (x, y).
  bool Run(Canvas* c, const std::u16string& text, int pixels, int x, int y, uint32_t colour, Ink* box);

  FT_Library lib_ = nullptr;
  FT_Face hangul_ = nullptr;
  FT_Face japanese_ = nullptr;
};

}  // namespace raster
