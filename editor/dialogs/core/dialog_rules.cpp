#include "dialog_rules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "ks_gm.h"

namespace brisel {

namespace {

char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

// ---- faces ----

bool IsVerticalFace(std::u16string_view face) { return !face.empty() && face.front() == u'@'; }

FaceCode ClassifyFace(std::u16string_view face, int charset) {
  if (IsVerticalFace(face)) return FaceCode::kNone;
  if (charset == kGmCharset && face.substr(0, kGmFacePrefix.size()) == kGmFacePrefix) return FaceCode::kGm;
  if (charset == kKsCharset) return FaceCode::kKs;
  return FaceCode::kNone;
}

void FaceList::Add(std::u16string_view name, int charset, int pitchAndFamily, int fontType, int height) {
  const FaceCode code = ClassifyFace(name, charset);
  if (code == FaceCode::kNone) return;
  auto it = std::find_if(faces_.begin(), faces_.end(),
                         [&](const FaceEntry& f) { return f.charset == charset && f.name == name; });
  if (it == faces_.end()) {
    FaceEntry entry;
    entry.name = std::u16string(name);
    entry.charset = charset;
    entry.pitchAndFamily = pitchAndFamily;
    entry.fontType = fontType;
    entry.code = code;
    faces_.push_back(std::move(entry));
    it = faces_.end() - 1;
  }
  if ((it->fontType & kRasterFontType) && height != 0) it->rasterHeights.push_back(height);
}

std::vector<const FaceEntry*> FaceList::OfCode(FaceCode code) const {
  std::vector<const FaceEntry*> out;
  for (const FaceEntry& f : faces_) {
    if (f.code == code) out.push_back(&f);
  }
  return out;
}

bool SameFaceName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

int FindFaceName(std::span<const std::u16string> names, std::u16string_view name) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (SameFaceName(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

std::string SampleTextBytes(FaceCode code, const codeconv::GmCodeConverter& gm) {
  // 글자 in KS code.
  constexpr codeconv::DbChar kLetter[] = {0xB1DB, 0xC0DA};
  std::string text = "Sample";
  for (codeconv::DbChar pair : kLetter) {
    if (code == FaceCode::kGm) pair = gm.KsCharToGm(pair);
    text.push_back(static_cast<char>(codeconv::Lead(pair)));
    text.push_back(static_cast<char>(codeconv::Trail(pair)));
  }
  return text;
}

// ---- sizes ----

std::vector<int> ScalablePointSizes() {
  std::vector<int> sizes;
  for (int p = 8; p <= 32; p += 2) sizes.push_back(p);
  return sizes;
}

int PointsOfHeight(int height, int logPixelsY) {
  if (logPixelsY <= 0) return 0;
  const long long h = std::llabs(static_cast<long long>(height));
  return static_cast<int>((h * 72 + logPixelsY - 1) / logPixelsY);
}

std::vector<int> RasterPointSizes(std::span<const int> heights, int logPixelsY) {
  std::vector<int> sizes;
  for (int h : heights) {
    const int p = PointsOfHeight(h, logPixelsY);
    if (std::find(sizes.begin(), sizes.end(), p) == sizes.end()) sizes.push_back(p);
  }
  return sizes;
}

std::vector<int> PointSizesOf(const FaceEntry& face, int logPixelsY) {
  if (face.fontType & kRasterFontType) return RasterPointSizes(face.rasterHeights, logPixelsY);
  return ScalablePointSizes();
}

int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  const long long n = static_cast<long long>(a) * b;
  const bool negative = (n < 0) != (c < 0);
  const long long an = std::llabs(n);
  const long long ac = std::llabs(static_cast<long long>(c));
  const long long q = (an + ac / 2) / ac;
  return static_cast<int>(negative ? -q : q);
}

int HeightOfPoints(int points, int logPixelsY) { return -(MulDivRound(points * 100, logPixelsY, 72) / 100); }

std::u16string SizeText(int points) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%3d", points);
  return std::u16string(buf, buf + std::char_traits<char>::length(buf));
}

int FindSize(std::span<const int> sizes, int points) {
  const auto it = std::find(sizes.begin(), sizes.end(), points);
  return it == sizes.end() ? -1 : static_cast<int>(it - sizes.begin());
}

// ---- texts of the search boxes ----

std::string CutUtf8(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return std::string(text);
  std::size_t end = limit;
  while (end > 0 && IsContinuationByte(text[end])) --end;
  return std::string(text.substr(0, end));
}

std::string InitialSearchText(std::string_view text) {
  const std::size_t cr = text.find('\r');
  return CutUtf8(text.substr(0, cr), kSearchTextLimit);
}

// ---- the find/replace sheet ----

FindOptions& SharedFindOptions() {
  static FindOptions options;
  return options;
}

std::optional<PageCarry> PlanPageSwitch(int remembered, int now, bool sourceExists, bool targetExists,
                                        std::string_view sourceText, bool sourceMatchCase) {
  if (now == remembered || remembered < 0 || !sourceExists) return std::nullopt;
  if (now != kFindPage && now != kReplacePage) return std::nullopt;
  PageCarry carry;
  carry.target = now;
  carry.intoControl = targetExists;
  carry.text = CutUtf8(sourceText, kCarryTextLimit);
  carry.matchCase = sourceMatchCase;
  return carry;
}

void ApplyCarriedFlag(FindOptions& options, const PageCarry& carry) {
  (carry.target == kReplacePage ? options.replaceMatchCase : options.findMatchCase) = carry.matchCase;
}

// ---- the settings dialog's copy controls ----

CopyControls InitialCopyControls(bool hasFaces, bool flag) {
  CopyControls c;
  if (!hasFaces) {
    c.richChecked = false;
    c.richEnabled = false;
    c.boxEnabled = false;
    c.flag = false;
    return c;
  }
  c.richChecked = flag;
  c.richEnabled = true;
  c.boxEnabled = flag;
  c.flag = flag;
  return c;
}

CopyControls ChooseCopy(const CopyControls& now, bool rich) {
  if (!now.richEnabled && rich) return now;
  CopyControls c = now;
  c.richChecked = rich;
  c.boxEnabled = rich;
  c.flag = rich;
  return c;
}

}  // namespace brisel
