#include "font_rules.h"

namespace fontdlg {

namespace {

bool StartsWith(std::u16string_view s, std::u16string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

constexpr NamedColor kColors[kColorCount] = {
    {u"黒", 0x000000},     {u"茶色", 0x000080}, {u"緑", 0x008000},   {u"オリーブ", 0x008080},
    {u"紺", 0x800000},     {u"紫", 0x800080},   {u"青緑", 0x808000}, {u"灰色", 0x808080},
    {u"銀色", 0xC0C0C0},   {u"赤", 0x0000FF},   {u"黄緑", 0x00FF00}, {u"黄", 0x00FFFF},
    {u"青", 0xFF0000},     {u"赤紫", 0xFF00FF}, {u"水色", 0xFFFF00}, {u"白", 0xFFFFFF},
};

}  // namespace

FaceSide ClassifyFace(const FaceInfo& f, FaceRules rules, bool fixedPitchOnly) {
  if (fixedPitchOnly && !f.fixedPitch) return FaceSide::kNone;
  if (!f.trueType || StartsWith(f.face, u"@")) return FaceSide::kNone;
  constexpr int kShiftJis = 128, kHangul = 129;
  if (rules == FaceRules::kDictionary) {
    for (std::u16string_view p : {u"ＧＢ", u"QZ-GB", u"QZ-B5", u"ＫＳ 韓国", u"ＧＭ", u"ＣＮＳ"}) {
      if (StartsWith(f.face, p)) return FaceSide::kNone;
    }
    if (f.charset == kHangul) return FaceSide::kKorean;
    if (f.charset == kShiftJis) return FaceSide::kJapanese;
    return FaceSide::kNone;
  }
  if (f.charset == kShiftJis) {
    if (f.face == u"ＫＳ韓国ゴシック" || f.face == u"ＫＳ韓国明朝" || StartsWith(f.face, u"ＧＭ韓国"))
      return FaceSide::kNone;
    return FaceSide::kJapanese;
  }
  if (f.charset == kHangul) return FaceSide::kKorean;
  if (rules == FaceRules::kPlayer) {
    for (std::u16string_view n : {u"Batang", u"BatangChe", u"Dotum", u"DotumChe", u"Gulim", u"GulimChe"}) {
      if (f.face == n) return FaceSide::kKorean;
    }
  }
  return FaceSide::kNone;
}

int HeightForPoints(int points, int dpi) {
  // MulDiv rounds half away from zero.
  const long long n = static_cast<long long>(points) * 100 * dpi;
  const long long scaled = (n + 36) / 72;
  return -static_cast<int>(scaled / 100);
}

int PointsForHeight(int height, int dpi) {
  if (dpi <= 0) return 0;
  const long long h = height < 0 ? -static_cast<long long>(height) : height;
  return static_cast<int>((h * 72 + dpi - 1) / dpi);
}

const NamedColor& ColorAt(int index) { return kColors[index < 0 || index >= kColorCount ? 0 : index]; }
const char16_t* AutoColorName() { return u"自動"; }

int FindColorIndex(std::u16string_view name) {
  for (int i = 0; i < kColorCount; ++i)
    if (name == kColors[i].name) return i;
  return kAutoColor;
}

int FindColorValue(uint32_t colorref) {
  for (int i = 0; i < kColorCount; ++i)
    if (kColors[i].colorref == colorref) return i;
  return kAutoColor;
}

const char16_t* FontCharsetLabel(int charset) {
  switch (charset) {
    case 0: return u"欧文";
    case 1: return u"既定";
    case 2: return u"記号";
    case 77: return u"Mac";
    case 128: return u"日本語";
    case 129: return u"韓国語";
    case 130: return u"韓国語(Johab)";
    case 134: return u"簡体字中国語";
    case 136: return u"繁体字中国語";
    case 161: return u"ギリシャ語";
    case 162: return u"トルコ語";
    case 177: return u"ヘブライ語";
    case 178: return u"アラビア語";
    case 186: return u"バルト言語";
    case 204: return u"キリル言語";
    case 222: return u"タイ語";
    default: return u"その他";
  }
}

}  // namespace fontdlg
