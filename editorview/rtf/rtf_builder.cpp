#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "rtf_clip.h"

namespace editorview {

namespace {

constexpr std::string_view kLineBreak = "\r\n\\par ";
constexpr std::string_view kTab = "\\tab ";
constexpr char kHex[] = "0123456789abcdef";

// Bytes up to the first NUL.
std::string_view UpToNul(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

char* Put(char* out, std::string_view s) {
  std::memcpy(out, s.data(), s.size());
  return out + s.size();
}

}  // namespace

size_t EscapedRtfLength(std::string_view text) {
  size_t n = 0;
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (b == '\r') continue;
    if (b == '\n') n += kLineBreak.size();
    else if (b == '\t') n += kTab.size();
    else if (b == '\\' || b == '{' || b == '}') n += 2;
    else if (b < 0x20 || b >= 0x80) n += 4;
    else n += 1;
  }
  return n;
}

char* EscapeRtfText(std::string_view text, char* out) {
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (b == '\r') continue;
    if (b == '\n') {
      out = Put(out, kLineBreak);
    } else if (b == '\t') {
      out = Put(out, kTab);
    } else if (b == '\\' || b == '{' || b == '}') {
      *out++ = '\\';
      *out++ = ch;
    } else if (b < 0x20 || b >= 0x80) {
      *out++ = '\\';
      *out++ = '\'';
      *out++ = kHex[b >> 4];
      *out++ = kHex[b & 0xF];
    } else {
      *out++ = ch;
    }
  }
  return out;
}

void RtfClipBuilder::SetParts(std::string_view part1, std::string_view part2, std::string_view part3) {
  parts_[0] = UpToNul(part1);
  parts_[1] = UpToNul(part2);
  parts_[2] = UpToNul(part3);
}

void RtfClipBuilder::LoadRtfParts(const std::function<std::span<const uint8_t>(const char* name)>& find) {
  for (int i = 0; i < 3; ++i) {
    const std::span<const uint8_t> bytes = find(kPartNames[i]);
    parts_[i] = UpToNul(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
}

int RtfClipBuilder::HalfPoints(int lfHeight, int logPixelsY) {
  const long long dpi = logPixelsY > 0 ? logPixelsY : 96;
  const long long height = std::llabs(static_cast<long long>(lfHeight));
  return static_cast<int>(std::min<long long>((height * 72 + dpi - 1) / dpi * 2, INT_MAX));
}

std::string RtfClipBuilder::BuildRtf(std::string_view charset, std::string_view face, int lfHeight,
                                     std::string_view bytes, int logPixelsY) const {
  const std::string size = std::to_string(HalfPoints(lfHeight, logPixelsY));
  const size_t total = parts_[0].size() + charset.size() + 1 + EscapedRtfLength(face) + parts_[1].size() +
                       size.size() + 1 + EscapedRtfLength(bytes) + parts_[2].size();
  std::string rtf(total, '\0');
  char* out = rtf.data();
  out = Put(out, parts_[0]);
  out = Put(out, charset);
  *out++ = ' ';
  out = EscapeRtfText(face, out);
  out = Put(out, parts_[1]);
  out = Put(out, size);
  *out++ = ' ';
  out = EscapeRtfText(bytes, out);
  out = Put(out, parts_[2]);
  rtf.resize(static_cast<size_t>(out - rtf.data()));  // equal to total
  return rtf;
}

}  // namespace editorview
