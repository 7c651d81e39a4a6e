// What the composition window paints: the text in the edition's bytes with
// one attribute per byte, the cursor mark, runs of equal attribute and their
// colours from the 8-entry palette, the composition font's corrections, and
// the close box image (bitmap 111).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "code_page.h"
#include "comp_record.h"
#include "ime_config.h"
#include "window_layout.h"

namespace ime {

// COLORREF values (0x00BBGGRR).
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kMagenta = 0xFF00FF;

// The palette of the colour settings; an index outside 0-7 gives black.
uint32_t PaletteColour(int index);

constexpr uint8_t kAttrInput = 0;
constexpr uint8_t kAttrTargetConverted = 1;
constexpr uint8_t kAttrConverted = 2;
constexpr uint8_t kAttrTargetNotConverted = 3;
constexpr uint8_t kAttrCursorMark = 0xFF;

struct RunColours {
  bool set = false;  // false: the colours stay as they are
  uint32_t text = 0;
  uint32_t background = 0;
  bool operator==(const RunColours&) const = default;
};
RunColours AttributeColours(uint8_t attribute, ColourPair input, ColourPair conv);

// The composition as painted: bytes of the edition's code, one attribute
// per byte, the cursor as a byte position. Always a copy of the record's
// areas, so painting never changes the record.
struct PaintText {
  std::string bytes;
  std::vector<uint8_t> attrs;
  size_t cursor = 0;
};
// Under the Unicode interface the string is converted with code page 949
// and each attribute repeated for the second byte of a double-byte character.
PaintText PaintTextOf(const ImeCompString& cs, bool unicode, const codeconv::CodePageConverter& cp);
// Marks the character at the cursor (when it lies before the end and has
// attribute 0) with the cursor mark.
void MarkCursor(PaintText& t, LeadTest lead);

struct AttributeRun {
  size_t offset = 0;
  size_t length = 0;
  uint8_t attribute = 0;
  bool operator==(const AttributeRun&) const = default;
};
// Runs of equal attribute within the slice.
std::vector<AttributeRun> AttributeRuns(const PaintText& t, TextSlice slice);

// Lead test of the edition's composition bytes: code page 949 for the KS
// code, the GM lead bytes otherwise.
LeadTest CompositionLeadTest(int koreanCode);

// The fields of the composition font that the corrections touch.
struct CompFontChoice {
  int escapement = 0;
  int charset = 0;
  std::string face;  // bytes, at most 31
  bool operator==(const CompFontChoice&) const = default;
};
// The context's composition font corrected for the edition; *vertical tells
// whether the font writes vertically (escapement 2700).
CompFontChoice CorrectCompositionFont(const CompFontChoice& context, int koreanCode, int editionCharset,
                                      const std::string& currentFace, bool* vertical);

// Bitmap 111: two 5 x 5 close-box images side by side, normal at x 0 and
// pressed at x 5.
constexpr int kCloseBoxWidth = 10;
constexpr int kCloseBoxHeight = 5;
uint32_t CloseBoxPixel(int x, int y);  // COLORREF
// The bitmap as a 24-bit .bmp file.
std::vector<uint8_t> CloseBoxBmp();

}  // namespace ime
