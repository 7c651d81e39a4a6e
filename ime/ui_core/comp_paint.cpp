#include "comp_paint.h"

#include <algorithm>

#include "bmp_file.h"
#include "ks_gm.h"

namespace ime {

uint32_t PaletteColour(int index) {
  static constexpr uint32_t kPalette[8] = {0x000000, 0xFF0000, 0x0000FF, 0xFF00FF,
                                           0x00FF00, 0xFFFF00, 0x00FFFF, 0xFFFFFF};
  return index >= 0 && index < 8 ? kPalette[index] : kBlack;
}

RunColours AttributeColours(uint8_t attribute, ColourPair input, ColourPair conv) {
  switch (attribute) {
    case kAttrInput: return {true, PaletteColour(input.text), PaletteColour(input.background)};
    case kAttrTargetConverted: return {true, PaletteColour(conv.text), PaletteColour(conv.background)};
    case kAttrConverted: return {true, PaletteColour(conv.background), PaletteColour(conv.text)};
    case kAttrTargetNotConverted: return {true, kBlack, kMagenta};
    case kAttrCursorMark: return {true, PaletteColour(input.background), PaletteColour(input.text)};
    default: return {};
  }
}

PaintText PaintTextOf(const ImeCompString& cs, bool unicode, const codeconv::CodePageConverter& cp) {
  PaintText t;
  const uint32_t cursor = cs.h.dwCursorPos;
  if (unicode) {
    const uint32_t units = std::min<uint32_t>(cs.h.dwCompStrLen, sizeof cs.compStr / 2);
    for (uint32_t i = 0; i < units; ++i) {
      const char16_t u = static_cast<char16_t>(cs.compStr[2 * i] | cs.compStr[2 * i + 1] << 8);
      const std::string bytes = cp.FromUtf16(949, std::u16string(1, u));
      const uint8_t attr = i < cs.h.dwCompAttrLen && i < sizeof cs.compAttr ? cs.compAttr[i] : kAttrInput;
      if (t.bytes.size() + bytes.size() > 1024) break;
      t.bytes += bytes;
      t.attrs.insert(t.attrs.end(), bytes.size(), attr);
      if (i < cursor) t.cursor = t.bytes.size();
    }
    return t;
  }
  const uint32_t n = std::min<uint32_t>(cs.h.dwCompStrLen, sizeof cs.compStr);
  t.bytes.assign(reinterpret_cast<const char*>(cs.compStr), n);
  t.attrs.assign(n, kAttrInput);
  const uint32_t attrs = std::min<uint32_t>({cs.h.dwCompAttrLen, n, sizeof cs.compAttr});
  std::copy(cs.compAttr, cs.compAttr + attrs, t.attrs.begin());
  t.cursor = std::min<size_t>(cursor, n);
  return t;
}

void MarkCursor(PaintText& t, LeadTest lead) {
  if (t.cursor >= t.bytes.size() || t.attrs[t.cursor] != kAttrInput) return;
  const size_t n = CharBytes(t.bytes, t.cursor, lead);
  std::fill(t.attrs.begin() + static_cast<long>(t.cursor), t.attrs.begin() + static_cast<long>(t.cursor + n),
            kAttrCursorMark);
}

std::vector<AttributeRun> AttributeRuns(const PaintText& t, TextSlice slice) {
  std::vector<AttributeRun> runs;
  const size_t end = std::min(slice.offset + slice.length, t.bytes.size());
  for (size_t i = slice.offset; i < end; ++i) {
    const uint8_t a = t.attrs[i];
    if (!runs.empty() && runs.back().attribute == a) {
      ++runs.back().length;
    } else {
      runs.push_back({i, 1, a});
    }
  }
  return runs;
}

LeadTest CompositionLeadTest(int koreanCode) {
  if (koreanCode == 1) return IsCp949Lead;
  return [](uint8_t b) { return codeconv::IsGmLeadByte(b); };
}

CompFontChoice CorrectCompositionFont(const CompFontChoice& context, int koreanCode, int editionCharset,
                                      const std::string& currentFace, bool* vertical) {
  CompFontChoice f = context;
  const bool v = f.escapement == 2700;
  if (!v) f.escapement = 0;
  if (vertical) *vertical = v;
  bool replace = false;
  if (koreanCode == 1) {
    replace = f.charset != 129;
  } else {
    const char* start = koreanCode == 2 ? "\x82\x66\x82\x6c" : "\x82\x6a\x82\x72";  // ＧＭ / ＫＳ
    replace = f.face.compare(0, 4, start) != 0;
  }
  if (replace) f.face = currentFace.substr(0, 31);
  f.charset = editionCharset;
  return f;
}

uint32_t CloseBoxPixel(int x, int y) {
  // A cross on a light grey square; the pressed image is dark grey with a
  // white cross.
  const bool pressed = x >= 5;
  const int cx = pressed ? x - 5 : x;
  const bool cross = cx == y || cx == 4 - y;
  if (pressed) return cross ? 0xFFFFFF : 0x808080;
  return cross ? 0x000000 : 0xC0C0C0;
}

std::vector<uint8_t> CloseBoxBmp() {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < kCloseBoxHeight; ++y) {
    for (int x = 0; x < kCloseBoxWidth; ++x) pixels.push_back(CloseBoxPixel(x, y));
  }
  return raster::Bmp24(kCloseBoxWidth, kCloseBoxHeight, pixels);
}

}  // namespace ime
