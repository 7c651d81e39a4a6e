// The rules of the editor's find/replace sheet, settings dialog and font
// dialog that need no window: which display faces each list takes, the point
// sizes a face offers and the LOGFONT height of a size, how a text is cut
// for a search box, what a page switch carries from one page to the other,
// and how the copy-code controls of the settings dialog stand.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gm_converter.h"

namespace brisel {

inline constexpr int kGmCharset = 128;  // SHIFTJIS_CHARSET: the GM-code fonts
inline constexpr int kKsCharset = 129;  // HANGEUL_CHARSET: the KS-code fonts

// ---- faces ----

// Which Korean code a face of the display shows, as the dialogs sort them.
enum class FaceCode : unsigned char {
  kNone,  // not listed: a vertical face, or neither code's
  kGm,    // charset 128 and a name that begins with "ＧＭ韓国"
  kKs,    // charset 129
};

// The name's prefix of the GM-code fonts.
inline constexpr std::u16string_view kGmFacePrefix = u"ＧＭ韓国";

// Vertical faces are named with a leading '@'.
bool IsVerticalFace(std::u16string_view face);
FaceCode ClassifyFace(std::u16string_view face, int charset);

// Font type bits of the enumeration (RASTER_FONTTYPE, TRUETYPE_FONTTYPE).
inline constexpr int kRasterFontType = 1;
inline constexpr int kTrueTypeFontType = 4;

// One face as the enumeration reports it.
struct FaceEntry {
  std::u16string name;
  int charset = 0;
  int pitchAndFamily = 0;
  int fontType = 0;
  // A raster face: the heights of its sizes (tmHeight of each), as enumerated.
  std::vector<int> rasterHeights;
  FaceCode code = FaceCode::kNone;
};

// The faces of one enumeration, each (name, charset) once, in the order
// first reported, with the sizes a raster face reports collected on its entry.
class FaceList {
 public:
  // Adds a report of the enumeration; faces of no Korean code are dropped.
  void Add(std::u16string_view name, int charset, int pitchAndFamily, int fontType, int height);
  const std::vector<FaceEntry>& Faces() const { return faces_; }
  // The faces of one code, in order.
  std::vector<const FaceEntry*> OfCode(FaceCode code) const;
  // Every listed face, in order.
  bool empty() const { return faces_.empty(); }

 private:
  std::vector<FaceEntry> faces_;
};

// Names are compared without regard to the case of ASCII letters.
bool SameFaceName(std::u16string_view a, std::u16string_view b);
// The index of the name in names, or -1.
int FindFaceName(std::span<const std::u16string> names, std::u16string_view name);

// The font dialog's sample: "Sample" and the two characters for "letter"
// (글자), in GM code for a GM face, else in KS code.
std::string SampleTextBytes(FaceCode code, const codeconv::GmCodeConverter& gm);
// The code label's text before the code's name (strings 62014 "GM", 62016 "KS").
inline constexpr std::u16string_view kCodeLabelPrefix = u"ﾌｫﾝﾄのｺｰﾄﾞ : ";

// ---- sizes ----

// The sizes of the scalable faces: 8, 10, ..., 32 points.
std::vector<int> ScalablePointSizes();
// Point size of a font height in pixels: ceil(abs(height) x 72 / logPixelsY).
int PointsOfHeight(int height, int logPixelsY);
// The point sizes of a raster face from its heights, without repeats, in
// the order the heights came.
std::vector<int> RasterPointSizes(std::span<const int> heights, int logPixelsY);
// The sizes a face offers (raster: its own, others: the scalable list).
std::vector<int> PointSizesOf(const FaceEntry& face, int logPixelsY);
// The LOGFONT height of a point size: -(MulDiv(points x 100, logPixelsY, 72) / 100).
int HeightOfPoints(int points, int logPixelsY);
// MulDiv of Win32: a x b / c rounded half away from zero; -1 when c is 0.
int MulDivRound(int a, int b, int c);
// A size's text in the size list: "%3d".
std::u16string SizeText(int points);
// The index of points in sizes, or -1.
int FindSize(std::span<const int> sizes, int points);

// ---- texts of the search boxes ----

// Search and replacement texts are at most this long (bytes of UTF-8).
inline constexpr std::size_t kSearchTextLimit = 120;
// A page switch reads the other page's box up to this many bytes.
inline constexpr std::size_t kCarryTextLimit = 512;

// Cut at the last UTF-8 character boundary at or below limit bytes.
std::string CutUtf8(std::string_view text, std::size_t limit);
// The initial text of a search box: the text up to its first CR, then cut
// to kSearchTextLimit bytes on a character boundary.
std::string InitialSearchText(std::string_view text);

// ---- the find/replace sheet ----

enum SheetPage : int { kFindPage = 0, kReplacePage = 1 };

// The values the pages keep for the program's run (not saved).
struct FindOptions {
  bool findMatchCase = false;
  bool replaceMatchCase = false;
  bool forward = true;  // the find page's direction (下へ)
};
// The program's one set.
FindOptions& SharedFindOptions();

// What a page switch does with the other page's search text and match case.
struct PageCarry {
  int target = -1;           // the page switched to
  bool intoControl = false;  // the target page exists: its search box takes the text
  std::string text;          // else it becomes the target page's initial text
  bool matchCase = false;    // the target page's flag (and its check box when it exists)
};

// A switch from the remembered page to now: nothing when the page is the
// same, or when there was no page before or the page left has no window
// (nothing was typed there to carry). sourceText is the left page's search
// text, sourceMatchCase its flag.
std::optional<PageCarry> PlanPageSwitch(int remembered, int now, bool sourceExists, bool targetExists,
                                        std::string_view sourceText, bool sourceMatchCase);
// The flag of the target page takes the carried one.
void ApplyCarriedFlag(FindOptions& options, const PageCarry& carry);

// ---- the settings dialog's copy controls ----

// How the radio pair and the face box of one code stand.
struct CopyControls {
  bool richChecked = false;  // "ﾘｯﾁﾃｷｽﾄ" checked (else "ﾃｷｽﾄ")
  bool richEnabled = true;   // "ﾘｯﾁﾃｷｽﾄ" can be chosen
  bool boxEnabled = false;   // the face box
  bool flag = false;         // the copy flag as it now is
};
// At opening: with faces, the flag shows and the box works only for rich
// text; without faces, text only, and the flag is cleared.
CopyControls InitialCopyControls(bool hasFaces, bool flag);
// A radio button chosen (rich or text): the flag changes at once.
CopyControls ChooseCopy(const CopyControls& now, bool rich);

// Faces kept in the settings are at most this many characters.
inline constexpr std::size_t kCopyFaceLimit = 31;

}  // namespace brisel
