#include "glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace raster {

namespace {
bool IsHangul(char16_t ch) {
  return (ch >= 0x1100 && ch <= 0x11FF) || (ch >= 0x3130 && ch <= 0x318F) || (ch >= 0xAC00 && ch <= 0xD7A3);
}
}  // namespace

bool Glyphs::Open(const char* hangul, const char* japanese) {
  return FT_Init_FreeType(&lib_) == 0 && FT_New_Face(lib_, hangul, 0, &hangul_) == 0 &&
         FT_New_Face(lib_, japanese, 0, &japanese_) == 0;
}

Glyphs::~Glyphs() {
  if (hangul_) FT_Done_Face(hangul_);
  if (japanese_) FT_Done_Face(japanese_);
  if (lib_) FT_Done_FreeType(lib_);
}

void Glyphs::Centered(Canvas& c, const std::u16string& text, int pixels, int cx, int cy, uint32_t colour) {
  Ink box{};
  if (!Run(nullptr, text, pixels, 0, 0, colour, &box)) return;
  Run(&c, text, pixels, cx - (box.left + box.right) / 2, cy - (box.top + box.bottom) / 2, colour, nullptr);
}

void Glyphs::On(Canvas& c, const std::u16string& text, int pixels, int x, int baseline, uint32_t colour) {
  Run(&c, text, pixels, x, baseline, colour, nullptr);
}

bool Glyphs::Run(Canvas* c, const std::u16string& text, int pixels, int x, int y, uint32_t colour, Ink* box) {
  bool any = false;
  Ink ink{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
  int pen = x;
  for (char16_t ch : text) {
    FT_Face face = IsHangul(ch) ? hangul_ : japanese_;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels));
    if (FT_Load_Char(face, ch, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot g = face->glyph;
    const int left = pen + g->bitmap_left, top = y - g->bitmap_top;
    for (unsigned row = 0; row < g->bitmap.rows; ++row) {
      for (unsigned col = 0; col < g->bitmap.width; ++col) {
        const int alpha = g->bitmap.buffer[row * static_cast<unsigned>(g->bitmap.pitch) + col];
        if (alpha == 0) continue;
        any = true;
        ink.left = std::min(ink.left, left + static_cast<int>(col) - x);
        ink.right = std::max(ink.right, left + static_cast<int>(col) + 1 - x);
        ink.top = std::min(ink.top, top + static_cast<int>(row) - y);
        ink.bottom = std::max(ink.bottom, top + static_cast<int>(row) + 1 - y);
        if (c) c->Blend(left + static_cast<int>(col), top + static_cast<int>(row), colour, alpha);
      }
    }
    pen += static_cast<int>(g->advance.x >> 6);
  }
  if (box) *box = ink;
  return any;
}

}  // namespace raster
