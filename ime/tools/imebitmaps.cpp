// Draws the input method's toolbar and keyboard bitmaps into the folder
// given: STATUSBMP.bmp (24-bit) and STATUSBMP256.bmp (the same in the 20
// static colours of a 256-colour display), and GUIDE115.bmp to GUIDE123.bmp,
// the on-screen keyboards of each keyboard type and arrangement, whose caps
// show what each key types in that arrangement. Glyphs come from the Debian
// fonts named on the command line (a Hangul face and a Japanese face).
//
//   imebitmaps <output folder> <Hangul font file> <Japanese font file>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "canvas.h"
#include "glyphs.h"
#include "guide_keyboard.h"
#include "status_toolbar.h"

namespace {

using ime::Rect;

using raster::Canvas;
using raster::FromColorRef;
using raster::Rgb;
using Fonts = raster::Glyphs;

constexpr uint32_t kFace = FromColorRef(ime::kGuideBodyColour);
constexpr uint32_t kWhite = Rgb(255, 255, 255);
constexpr uint32_t kShadow = Rgb(128, 128, 128);
constexpr uint32_t kDark = Rgb(64, 64, 64);
constexpr uint32_t kBlack = Rgb(0, 0, 0);
constexpr uint32_t kStrip = FromColorRef(ime::kGuideStripColour);
constexpr uint32_t kStripLight = Rgb(58, 110, 165);

// ---- 3-D edges ----------------------------------------------------------------

void Raised(Canvas& c, Rect r) {
  c.HLine(r.left, r.right - 1, r.top, kWhite);
  c.VLine(r.left, r.top, r.bottom - 1, kWhite);
  c.HLine(r.left, r.right, r.bottom - 1, kDark);
  c.VLine(r.right - 1, r.top, r.bottom, kDark);
  c.HLine(r.left + 1, r.right - 1, r.bottom - 2, kShadow);
  c.VLine(r.right - 2, r.top + 1, r.bottom - 1, kShadow);
}

void Sunken(Canvas& c, Rect r) {
  c.HLine(r.left, r.right, r.top, kDark);
  c.VLine(r.left, r.top, r.bottom, kDark);
  c.HLine(r.left + 1, r.right - 1, r.top + 1, kShadow);
  c.VLine(r.left + 1, r.top + 1, r.bottom - 1, kShadow);
  c.HLine(r.left, r.right, r.bottom - 1, kWhite);
  c.VLine(r.right - 1, r.top, r.bottom, kWhite);
}

// ---- the toolbar bitmap ----------------------------------------------------------

enum class Look { kNormal, kPressed, kDisabled, kHover };

constexpr uint32_t kHoverFace = Rgb(232, 236, 244);
constexpr uint32_t kHoverEdge = Rgb(49, 106, 197);
constexpr uint32_t kPressedFace = Rgb(190, 196, 204);

// A button's ground; the offset at which its picture goes.
int ButtonGround(Canvas& c, Rect r, Look look) {
  switch (look) {
    case Look::kNormal:
      c.Fill(r, kFace);
      Raised(c, r);
      return 0;
    case Look::kPressed:
      c.Fill(r, kPressedFace);
      Sunken(c, r);
      return 1;
    case Look::kHover:
      c.Fill(r, kHoverFace);
      c.HLine(r.left, r.right, r.top, kHoverEdge);
      c.HLine(r.left, r.right, r.bottom - 1, kHoverEdge);
      c.VLine(r.left, r.top, r.bottom, kHoverEdge);
      c.VLine(r.right - 1, r.top, r.bottom, kHoverEdge);
      return 0;
    case Look::kDisabled:
      c.Fill(r, kFace);
      return 0;
  }
  return 0;
}

// The glyph of each function's images (functions 1 and 2 have two).
struct ButtonPicture {
  const char16_t* text;
  uint32_t colour;
  int pixels;
};
ButtonPicture PictureOf(int function, bool second) {
  switch (function) {
    case ime::kFnInputMode: return second ? ButtonPicture{u"A", kBlack, 15} : ButtonPicture{u"한", Rgb(0, 64, 176), 15};
    case ime::kFnInputSize: return second ? ButtonPicture{u"半", kBlack, 14} : ButtonPicture{u"全", Rgb(0, 96, 0), 14};
    case ime::kFnLookup: return {u"部", Rgb(128, 0, 96), 14};
    case ime::kFnPad: return {u"訳", Rgb(0, 96, 128), 14};
    case ime::kFnWorkbench: return {u"달", Rgb(160, 64, 0), 15};
    case ime::kFnDictionary: return {u"辞", Rgb(0, 0, 128), 14};
    case ime::kFnNavigator: return {u"ド", Rgb(0, 112, 64), 14};
    case ime::kFnUtility: return {u"ユ", Rgb(96, 64, 0), 14};
    case ime::kFnWordRegistration: return {u"編", Rgb(128, 0, 0), 14};
    case ime::kFnSettings: return {u"設", Rgb(64, 64, 64), 14};
    case ime::kFnHelp: return {u"?", Rgb(0, 64, 176), 15};
    default: return {u"", kBlack, 14};
  }
}

// The on-screen keyboard button: a small keyboard.
void KeyboardPicture(Canvas& c, int x, int y, uint32_t ink, uint32_t keys) {
  c.Fill({x + 3, y + 6, x + 19, y + 16}, keys);
  c.HLine(x + 3, x + 19, y + 6, ink);
  c.HLine(x + 3, x + 19, y + 15, ink);
  c.VLine(x + 3, y + 6, y + 16, ink);
  c.VLine(x + 18, y + 6, y + 16, ink);
  for (int row = 0; row < 2; ++row)
    for (int k = 0; k < 6; ++k) c.Fill({x + 5 + 2 * k + (row ? 1 : 0), y + 8 + 2 * row, x + 6 + 2 * k + (row ? 1 : 0), y + 9 + 2 * row}, ink);
  c.HLine(x + 7, x + 15, y + 13, ink);
}

void ButtonImage(Canvas& c, Fonts& fonts, int x, int y, int function, bool second, Look look) {
  const Rect r{x, y, x + ime::kStatusButton, y + ime::kStatusButton};
  const int d = ButtonGround(c, r, look);
  const ButtonPicture p = PictureOf(function, second);
  const int cx = x + 11 + d, cy = y + 11 + d;
  if (look == Look::kDisabled) {
    if (function == ime::kFnKeyboard) {
      KeyboardPicture(c, x + 1, y + 1, kWhite, kFace);
      KeyboardPicture(c, x, y, kShadow, kFace);
    } else {
      fonts.Centered(c, p.text, p.pixels, cx + 1, cy + 1, kWhite);
      fonts.Centered(c, p.text, p.pixels, cx, cy, kShadow);
    }
    return;
  }
  if (function == ime::kFnKeyboard) {
    KeyboardPicture(c, x + d, y + d, kBlack, kWhite);
  } else {
    fonts.Centered(c, p.text, p.pixels, cx, cy, p.colour);
  }
}

// Small buttons: 9 x 11 pictures with two columns of face on the right (the
// right end's first columns stand over the second image's).
void SmallImage(Canvas& c, int x, int y, bool onOff, bool secondColumn, Look look) {
  c.Fill({x, y, x + ime::kStatusSmall, y + ime::kStatusSmall}, kFace);
  const Rect r{x, y, x + 9, y + ime::kStatusSmall};
  const int d = ButtonGround(c, r, look);
  const uint32_t ink = look == Look::kDisabled ? kShadow : kBlack;
  if (!onOff) {
    // The switch: a triangle pointing right to show all buttons, left to go back.
    for (int i = 0; i < 3; ++i) {
      const int col = secondColumn ? x + 5 - i + d : x + 3 + i + d;
      c.VLine(col, y + 3 + i + d, y + 8 - i + d, ink);
    }
    return;
  }
  // On/off: a filled lamp when open, a ring when closed.
  const uint32_t lamp = look == Look::kDisabled ? kShadow : secondColumn ? kShadow : Rgb(0, 160, 64);
  for (int yy = 0; yy < 5; ++yy)
    for (int xx = 0; xx < 5; ++xx) {
      const int dx = xx - 2, dy = yy - 2;
      if (dx * dx + dy * dy > 5) continue;
      const bool edge = dx * dx + dy * dy >= 4;
      if (secondColumn && !edge) continue;
      c.Set(x + 2 + xx + d, y + 3 + yy + d, lamp);
    }
}

Canvas StatusBitmap(Fonts& fonts) {
  Canvas c(ime::kStatusBitmapWidth, ime::kStatusBitmapHeight, kFace);
  // Top strip: a gradient from the strip colour to a lighter blue.
  for (int x = 0; x < c.w; ++x) {
    const int t = x * 255 / (c.w - 1);
    auto mix = [t](uint32_t a, uint32_t b, int shift) {
      return static_cast<uint32_t>(((a >> shift & 0xFF) * (255 - t) + (b >> shift & 0xFF) * t) / 255);
    };
    const uint32_t col = mix(kStrip, kStripLight, 16) << 16 | mix(kStrip, kStripLight, 8) << 8 | mix(kStrip, kStripLight, 0);
    c.VLine(x, 0, 7, col);
  }
  // Grip: two raised ridges and the input method's mark.
  Raised(c, {0, 7, ime::kStatusGripWidth, 29});
  for (int ridge : {3, 6}) {
    c.VLine(ridge, 10, 26, kWhite);
    c.VLine(ridge + 1, 10, 26, kShadow);
  }
  fonts.Centered(c, u"한글", 12, 30, 18, Rgb(0, 48, 128));
  // Buttons in their four rows.
  const Look looks[4] = {Look::kNormal, Look::kPressed, Look::kDisabled, Look::kHover};
  const int rows[4] = {ime::kStatusRowNormal, ime::kStatusRowPressed, ime::kStatusRowDisabled, ime::kStatusRowHover};
  for (int k = 0; k < 4; ++k) {
    for (int f = 1; f <= ime::kStatusFunctions; ++f) {
      const int x = ime::kStatusGripWidth + ime::StatusImageOffset(f);
      ButtonImage(c, fonts, x, 7 + rows[k], f, false, looks[k]);
      if (f == ime::kFnInputMode || f == ime::kFnInputSize) {
        ButtonImage(c, fonts, x + ime::kStatusButton, 7 + rows[k], f, true, looks[k]);
      }
    }
    for (int column = 0; column < 2; ++column) {
      const int x = column == 0 ? ime::kStatusSmallLeft : ime::kStatusSmallRight;
      SmallImage(c, x, 7 + rows[k], false, column == 1, looks[k]);
      SmallImage(c, x, 18 + rows[k], true, column == 1, looks[k]);
    }
  }
  // Right end: face and the toolbar's right edge.
  const int rx = ime::kStatusRightEndX;
  c.Fill({rx, 7, rx + 2, 29}, kFace);
  c.VLine(rx + 2, 7, 29, kShadow);
  c.VLine(rx + 3, 7, 29, kDark);
  c.HLine(rx, rx + 4, 28, kDark);
  return c;
}

// The 20 static colours of a palette display.
const uint32_t kStaticColours[20] = {
    Rgb(0, 0, 0),       Rgb(128, 0, 0),     Rgb(0, 128, 0),     Rgb(128, 128, 0),   Rgb(0, 0, 128),
    Rgb(128, 0, 128),   Rgb(0, 128, 128),   Rgb(192, 192, 192), Rgb(192, 220, 192), Rgb(166, 202, 240),
    Rgb(255, 251, 240), Rgb(160, 160, 164), Rgb(128, 128, 128), Rgb(255, 0, 0),     Rgb(0, 255, 0),
    Rgb(255, 255, 0),   Rgb(0, 0, 255),     Rgb(255, 0, 255),   Rgb(0, 255, 255),   Rgb(255, 255, 255),
};

int Distance(uint32_t a, uint32_t b) {
  const int dr = static_cast<int>(a >> 16 & 0xFF) - static_cast<int>(b >> 16 & 0xFF);
  const int dg = static_cast<int>(a >> 8 & 0xFF) - static_cast<int>(b >> 8 & 0xFF);
  const int db = static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF);
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// An 8-bit image of the canvas: its most frequent colours exactly, every
// other colour as the nearest of them (or of a given palette); the keyboard
// pictures, mostly flat, are run-length encoded.
std::vector<uint8_t> Indexed(const Canvas& c, std::vector<uint32_t> palette, bool rle) {
  if (palette.empty()) {
    std::map<uint32_t, int> counts;
    for (uint32_t p : c.px) ++counts[p];
    std::vector<std::pair<int, uint32_t>> byCount;
    for (const auto& [colour, n] : counts) byCount.push_back({-n, colour});
    std::sort(byCount.begin(), byCount.end());
    for (size_t i = 0; i < byCount.size() && i < 256; ++i) palette.push_back(byCount[i].second);
  }
  std::map<uint32_t, uint8_t> nearest;
  std::vector<uint8_t> indexes;
  indexes.reserve(c.px.size());
  for (uint32_t p : c.px) {
    auto it = nearest.find(p);
    if (it == nearest.end()) {
      size_t best = 0;
      for (size_t i = 1; i < palette.size(); ++i)
        if (Distance(palette[i], p) < Distance(palette[best], p)) best = i;
      it = nearest.emplace(p, static_cast<uint8_t>(best)).first;
    }
    indexes.push_back(it->second);
  }
  std::vector<uint32_t> refs;
  for (uint32_t p : palette) refs.push_back(FromColorRef(p));
  return raster::Bmp8(c.w, c.h, refs, indexes, rle);
}

// ---- the keyboard bitmaps ---------------------------------------------------------

enum class CapLook { kPlain, kPressed, kMarked };

constexpr uint32_t kCapFace = Rgb(250, 250, 250);
constexpr uint32_t kCapBottom = Rgb(210, 210, 210);
constexpr uint32_t kCapPressed = Rgb(196, 208, 228);
constexpr uint32_t kCapMarked = Rgb(168, 168, 168);
constexpr uint32_t kCapEdge = Rgb(96, 96, 96);

uint32_t KindColour(ime::GuideCap::Kind kind, CapLook look) {
  if (look == CapLook::kMarked) return Rgb(120, 120, 120);
  switch (kind) {
    case ime::GuideCap::kInitial: return kBlack;
    case ime::GuideCap::kVowel: return Rgb(176, 0, 0);
    case ime::GuideCap::kFinal: return Rgb(0, 64, 176);
    default: return Rgb(64, 64, 64);
  }
}

// A cap's ground and edges inside r (one pixel of gap around it); the
// sides left open join the two halves of the Japanese Enter key.
void CapGround(Canvas& c, Rect r, CapLook look, bool openTop, bool openBottom) {
  const Rect in{r.left + 1, r.top + (openTop ? 0 : 1), r.right - 1, r.bottom - (openBottom ? 0 : 1)};
  const uint32_t face = look == CapLook::kPressed ? kCapPressed : look == CapLook::kMarked ? kCapMarked : kCapFace;
  c.Fill(in, face);
  if (look == CapLook::kPlain && !openBottom) c.HLine(in.left + 1, in.right - 1, in.bottom - 2, kCapBottom);
  if (!openTop) c.HLine(in.left + 1, in.right - 1, in.top, kCapEdge);
  if (!openBottom) c.HLine(in.left + 1, in.right - 1, in.bottom - 1, kCapEdge);
  c.VLine(in.left, in.top + (openTop ? 0 : 1), in.bottom - (openBottom ? 0 : 1), kCapEdge);
  c.VLine(in.right - 1, in.top + (openTop ? 0 : 1), in.bottom - (openBottom ? 0 : 1), kCapEdge);
}

void Cap(Canvas& c, Fonts& fonts, int mode, int keyboard, int index, int oy, CapLook look) {
  const ime::GuideLayout& l = ime::GuideLayoutFor(keyboard);
  Rect r = ime::GuideKeyRect(l, index);
  if (r.Width() == 0) return;
  r.top += oy;
  r.bottom += oy;
  const int d = look == CapLook::kPressed ? 1 : 0;
  const ime::GuideCap cap = ime::GuideKeyCap(mode, keyboard, index);
  if (ime::IsSplitEnter(l, index)) {
    const bool upper = index == 26;
    CapGround(c, r, look, !upper, upper);
    if (upper) {
      // The step where the lower half is narrower.
      const Rect lower = ime::GuideKeyRect(l, 40);
      c.HLine(r.left + 1, lower.left + 2, r.bottom - 1, kCapEdge);
      fonts.Centered(c, cap.label, 11, (r.left + r.right) / 2 + d, (r.top + r.bottom) / 2 + 2 + d, Rgb(64, 64, 64));
    } else {
      c.Set(r.left, r.top, kCapEdge);
    }
    return;
  }
  CapGround(c, r, look, false, false);
  const uint32_t labelColour = look == CapLook::kMarked ? Rgb(120, 120, 120) : Rgb(96, 96, 96);
  if (cap.plainKind == ime::GuideCap::kNone && cap.shiftedKind == ime::GuideCap::kNone) {
    // Keys with a name of their own (and the space bar, blank).
    if (!cap.label.empty()) {
      fonts.Centered(c, cap.label, cap.label.size() > 2 ? 10 : 11, (r.left + r.right) / 2 + d,
                     (r.top + r.bottom) / 2 + d, labelColour);
    }
    return;
  }
  fonts.On(c, cap.label, 10, r.left + 3 + d, r.top + 11 + d, labelColour);
  if (!cap.shifted.empty()) {
    fonts.Centered(c, cap.shifted, 11, r.right - 9 + d, r.top + 8 + d, KindColour(cap.shiftedKind, look));
  }
  if (!cap.plain.empty() && cap.plain != cap.label) {
    fonts.Centered(c, cap.plain, 14, r.right - 11 + d, r.bottom - 9 + d, KindColour(cap.plainKind, look));
  }
}

void CloseBox(Canvas& c, int x, int y, bool pressed) {
  const Rect r{x, y, x + ime::kGuideCloseSize, y + ime::kGuideCloseSize};
  c.Fill(r, kFace);
  if (pressed) {
    Sunken(c, r);
  } else {
    Raised(c, r);
  }
  const int d = pressed ? 1 : 0;
  for (int i = 0; i < 6; ++i) {
    for (int t = 0; t < 2; ++t) {
      c.Set(x + 3 + i + t + d, y + 3 + i + d, kBlack);
      c.Set(x + 8 - i + t + d, y + 3 + i + d, kBlack);
    }
  }
}

Canvas GuideBitmap(Fonts& fonts, int keyboard, int mode) {
  const ime::GuideLayout& l = ime::GuideLayoutFor(keyboard);
  Canvas c(l.width, ime::kGuideBitmapHeight, kFace);
  const struct {
    int y;
    CapLook look;
  } images[] = {{0, CapLook::kPlain}, {ime::kGuidePressedY, CapLook::kPressed}, {ime::kGuideMarkedY, CapLook::kMarked}};
  for (const auto& image : images) {
    for (int i = 0; i < ime::kGuideKeys; ++i) Cap(c, fonts, mode, keyboard, i, image.y, image.look);
  }
  CloseBox(c, ime::kGuideCloseImage.x, ime::kGuideCloseImage.y, false);
  CloseBox(c, ime::kGuideClosePressedImage.x, ime::kGuideClosePressedImage.y, true);
  // Title strip: the arrangement and the keyboard.
  c.Fill({0, ime::kGuideStripY, l.width, ime::kGuideStripY + ime::kGuideTitleHeight}, kStrip);
  const char16_t* arrangement = mode == 1 ? u"2ボル式" : mode == 2 ? u"3ボル式" : u"ローマ字式";
  const char16_t* board = keyboard == 1 ? u"PC-98" : keyboard == 2 ? u"101キー" : u"106キー";
  fonts.On(c, std::u16string(u"仮想キーボード  ") + arrangement + u"  " + board, 12, 6, ime::kGuideStripY + 15, kWhite);
  return c;
}

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror(path.c_str());
    return false;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: imebitmaps <output folder> <Hangul font file> <Japanese font file>\n");
    return 2;
  }
  Fonts fonts;
  if (!fonts.Open(argv[2], argv[3])) {
    std::fprintf(stderr, "imebitmaps: cannot open the fonts %s and %s\n", argv[2], argv[3]);
    return 1;
  }
  const std::string out = argv[1];
  const Canvas status = StatusBitmap(fonts);
  bool ok = Write(out + "/STATUSBMP.bmp", raster::Bmp24(status.w, status.h, status.ColorRefs()));
  ok = Write(out + "/STATUSBMP256.bmp", Indexed(status, {std::begin(kStaticColours), std::end(kStaticColours)}, false)) && ok;
  for (int keyboard = 0; keyboard < 3; ++keyboard) {
    for (int mode = 0; mode < 3; ++mode) {
      const Canvas guide = GuideBitmap(fonts, keyboard, mode);
      const std::string name = out + "/GUIDE" + std::to_string(ime::GuideBitmapId(keyboard, mode)) + ".bmp";
      ok = Write(name, Indexed(guide, {}, true)) && ok;
    }
  }
  return ok ? 0 : 1;
}
