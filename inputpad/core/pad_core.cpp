#include "pad_core.h"

#include <cstdlib>
#include <cstring>

#include "ks_gm.h"
#include "shared_settings.h"

namespace inputpad {
namespace {

// Shift-JIS "ＭＳ 明朝", "ＧＭ韓国明朝".
constexpr char kJapaneseFaceDefault[] = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";
constexpr char kGmFaceDefault[] = "\x82\x66\x82\x6C\x8A\xD8\x8D\x91\x96\xBE\x92\xA9";
constexpr char kKsFaceDefault[] = "KS Mincho";

bool IsLead(uint8_t b) { return codeconv::IsGmLeadByte(b); }  // the Shift-JIS lead ranges

// Characters of Shift-JIS text as (offset, length); a lead byte at the very
// end stands alone.
std::vector<std::pair<std::size_t, std::size_t>> Characters(std::string_view text) {
  std::vector<std::pair<std::size_t, std::size_t>> out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = IsLead(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
    out.emplace_back(i, n);
    i += n;
  }
  return out;
}

bool IsFullBlank(std::string_view text, std::size_t at, std::size_t length) {
  return length == 2 && static_cast<uint8_t>(text[at]) == 0x81 && static_cast<uint8_t>(text[at + 1]) == 0x40;
}

// Cut to at most limit bytes without splitting a double-byte character.
std::string Cut(std::string_view text, std::size_t limit) {
  std::size_t kept = 0;
  for (const auto& [at, n] : Characters(text)) {
    if (at + n > limit) break;
    kept = at + n;
  }
  return std::string(text.substr(0, kept));
}

bool ReadFrom(settings::SettingsPlatform& platform, settings::RegRoot root, const std::string& path, const char* name,
              std::string& out) {
  const settings::RegKey key = settings::OpenRegKey(platform, root, path, settings::RegAccess::Read);
  if (!key.IsOpen()) return false;
  // Asked for its size first, so that a long value is cut rather than lost.
  uint32_t type = 0, size = 0;
  settings::QueryStatus status = platform.QueryValue(key.Handle(), name, type, nullptr, size);
  if (status == settings::QueryStatus::Missing) return false;
  std::string data(size, '\0');
  status = platform.QueryValue(key.Handle(), name, type, reinterpret_cast<uint8_t*>(data.data()), size);
  if (status != settings::QueryStatus::Ok || type != settings::kRegSz) return false;
  data.resize(std::min<std::size_t>(size, data.size()));
  const std::size_t nul = data.find('\0');
  if (nul != std::string::npos) data.resize(nul);
  out = std::move(data);
  return true;
}

}  // namespace

PadArguments ParsePadArguments(const char* arguments) {
  PadArguments a;
  long long values[3] = {0, 0, 1};
  const char* p = arguments ? arguments : "";
  for (long long& v : values) {
    char* end = nullptr;
    const long long n = std::strtoll(p, &end, 10);
    if (end == p) break;
    v = n;
    p = end;
  }
  a.imeWindow = static_cast<int32_t>(values[0]);
  a.targetWindow = static_cast<int32_t>(values[1]);
  a.code = static_cast<int>(values[2]);
  a.mode = a.code == 1 ? CodeMode::kKs : a.code == 0 ? CodeMode::kGm95 : CodeMode::kGmV3;
  return a;
}

bool ReadPadValue(settings::SettingsPlatform& platform, const char* subkey, const char* name, std::size_t size,
                  std::string& out) {
  const std::string path = std::string(kPadKeyPath) + subkey;
  std::string value;
  if (!ReadFrom(platform, settings::RegRoot::CurrentUser, path, name, value) &&
      !ReadFrom(platform, settings::RegRoot::LocalMachine, path, name, value))
    return false;
  out = Cut(value, size > 0 ? size - 1 : 0);
  return true;
}

PadSettings ReadPadSettings(settings::SettingsPlatform& platform, bool ks) {
  PadSettings s;
  static const char* const kDicNames[3] = {"User Dic1", "User Dic2", "User Dic3"};
  for (int i = 0; i < 3; ++i) ReadPadValue(platform, "Dalmok\\DMUserDic", kDicNames[i], 260, s.userDic[i]);

  if (!ReadPadValue(platform, "Dalmok\\JapaneseFont", "FaceName", 32, s.japaneseFace))
    s.japaneseFace = kJapaneseFaceDefault;
  if (!ReadPadValue(platform, ks ? "Dalmok\\KoreanFontKS" : "Dalmok\\KoreanFontGM", "FaceName", 32, s.koreanFace) ||
      s.koreanFace.size() < 3)
    s.koreanFace = ks ? kKsFaceDefault : kGmFaceDefault;

  std::string height;
  s.fontHeight = kDefaultFontHeight;
  if (ReadPadValue(platform, "Dalmok\\JapaneseFont", "Height", 32, height)) {
    const int n = settings::ParseDecimal(height.c_str());
    if (n != 0) s.fontHeight = n;
  }
  if (!ReadPadValue(platform, "Dalmok", "SelectIME", 259, s.japaneseIme) || s.japaneseIme.empty())
    s.japaneseIme = kJapaneseTextServices;
  return s;
}

std::size_t BlankLayout::Capacity() const {
  if (empty) return 0;
  return kOutputBytes - 1 - leading - trailing;
}

BlankLayout MeasureBlanks(std::string_view text) {
  BlankLayout b;
  const auto chars = Characters(text);
  std::size_t first = 0;
  while (first < chars.size() && chars[first].second == 1 && text[chars[first].first] == ' ') ++first;
  while (first < chars.size() && IsFullBlank(text, chars[first].first, chars[first].second)) ++first;
  if (first == chars.size()) return b;  // empty, or blanks alone: nothing to translate
  b.empty = false;
  b.leading = chars[first].first;
  std::size_t last = chars.size();
  if (chars.back().second == 2) {
    while (last > first && IsFullBlank(text, chars[last - 1].first, chars[last - 1].second)) --last;
  } else {
    while (last > first && chars[last - 1].second == 1 && text[chars[last - 1].first] == ' ') --last;
  }
  b.trailing = text.size() - (last < chars.size() ? chars[last].first : text.size());
  // A text of at most 511 bytes leaves room for one byte at least; a longer
  // one (not from the control) is held to the area all the same.
  if (b.leading + b.trailing >= kOutputBytes - 1) b.empty = true;
  return b;
}

std::string LayOutTranslation(const BlankLayout& layout, std::string_view translation) {
  std::string out(layout.leading, ' ');
  if (!translation.empty() && translation.back() == ' ') translation.remove_suffix(1);
  out += translation;
  out.append(layout.trailing, ' ');
  return out;
}

SendPlan PlanPadSend(std::string_view text, const std::function<bool(uint8_t)>& lead) {
  SendPlan plan;
  if (text.empty()) return plan;
  int count = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (count == kMaxSendChars) {
      plan.cut = true;
      break;
    }
    const auto first = static_cast<uint8_t>(text[i]);
    uint32_t param = first;
    if (lead(first) && i + 1 < text.size()) {
      param |= static_cast<uint32_t>(static_cast<uint8_t>(text[i + 1])) << 8;
      i += 2;
    } else {
      i += 1;
    }
    plan.messages.push_back(param);
    ++count;
  }
  plan.messages.push_back(0xFFFF);
  return plan;
}

Placement FitToFont(long left, long top, int fontHeight, const Metrics& m, const Rect& work) {
  Placement p;
  const long width = kPadWidth;
  const long height = m.smallCaption + m.frameY + fontHeight + 10;
  if (top < work.top) top = work.top;
  if (left < work.left) left = work.left;
  if (left + width > work.right) {
    top += 16;
    left = work.right - width;
  }
  if (top + height > work.bottom) top = work.bottom - height;
  p.window = Rect{left, top, left + width, top + height};
  p.controlWidth = width - m.frameX + 2;
  p.controlHeight = height - m.smallCaption - m.frameY + 2;
  return p;
}

}  // namespace inputpad
