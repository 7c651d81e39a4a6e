#include "dictionary_link.h"

#include <cstring>

namespace ombrel::link {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The scanner of the four fields: the C library's %d (blanks, a sign,
// digits) and a literal ',' followed by any number of blanks.
class FieldScanner {
 public:
  explicit FieldScanner(std::string_view s) : s_(s) {}

  bool Int(int& out) {
    while (pos_ < s_.size() && IsBlank(s_[pos_])) ++pos_;
    size_t i = pos_;
    bool negative = false;
    if (i < s_.size() && (s_[i] == '+' || s_[i] == '-')) negative = s_[i++] == '-';
    const size_t digitsStart = i;
    long long value = 0;
    while (i < s_.size() && s_[i] >= '0' && s_[i] <= '9') {
      if (value < 10000000000LL) value = value * 10 + (s_[i] - '0');
      ++i;
    }
    if (i == digitsStart) return false;
    pos_ = i;
    if (negative) value = -value;
    // Out of the int range: a value no field accepts.
    out = value > 0x7FFFFFFF || value < -0x7FFFFFFF ? -1 : static_cast<int>(value);
    return true;
  }

  bool Comma() {
    if (pos_ >= s_.size() || s_[pos_] != ',') return false;
    ++pos_;
    while (pos_ < s_.size() && IsBlank(s_[pos_])) ++pos_;
    return true;
  }

  bool Char(char& out) {
    if (pos_ >= s_.size()) return false;
    out = s_[pos_++];
    return true;
  }

 private:
  std::string_view s_;
  size_t pos_ = 0;
};

void PutInt32(uint8_t* p, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t GetInt32(const uint8_t* p) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(p[i]) << (8 * i);
  return static_cast<int32_t>(u);
}

}  // namespace

DictionaryCommandLine ParseDictionaryCommandLine(std::string_view tail) {
  DictionaryCommandLine out;
  const size_t comma = tail.find(',');
  std::string_view text = tail.substr(0, comma);
  if (text.size() > kQueryTextBytes) text = text.substr(0, kQueryTextBytes);
  if (!text.empty() && static_cast<uint8_t>(text[0]) >= 0x20) out.text.assign(text);
  if (comma == std::string_view::npos) return out;

  FieldScanner scan(tail.substr(comma + 1));
  int direction = 0;
  if (!scan.Int(direction)) return out;
  if (!IsValidDirection(direction)) {
    out.rejectedField = true;
    return out;
  }
  out.direction = direction;
  int method = 0;
  if (!scan.Comma() || !scan.Int(method)) return out;
  if (!IsValidMethod(method)) {
    out.rejectedField = true;
    return out;
  }
  out.method = method;
  int forward = 0;
  if (!scan.Comma() || !scan.Int(forward)) return out;
  out.forward = forward != 0;
  char letter = 0;
  if (!scan.Comma() || !scan.Char(letter)) return out;
  out.topmost = letter == 'T' || letter == 't';
  return out;
}

std::string FormatDictionaryCommandLine(std::string_view escapedText, int direction, int method, bool forward,
                                        bool topmost) {
  std::string out(escapedText.substr(0, escapedText.find(',')));
  out += ',' + std::to_string(direction) + ',' + std::to_string(method) + ',' + (forward ? "1" : "0") + ',' +
         (topmost ? 't' : 'f');
  return out;
}

size_t EscapedTextCut(std::string_view escaped, size_t limit) {
  size_t i = 0;
  while (i < escaped.size() && escaped[i] != '\0') {
    size_t width = 1;
    if (escaped[i] == '%') width = i + 1 < escaped.size() && (escaped[i + 1] == 'u' || escaped[i + 1] == 'U') ? 6 : 3;
    if (i + width > limit || i + width > escaped.size()) break;
    i += width;
  }
  return i;
}

RequestBlock EncodeDictionaryRequest(std::string_view escapedText, int direction, int method, bool topmost) {
  RequestBlock block{};
  const size_t n = EscapedTextCut(escapedText, kRequestTextBytes - 1);
  std::memcpy(block.data(), escapedText.data(), n);
  PutInt32(block.data() + kRequestDirectionOffset, direction);
  PutInt32(block.data() + kRequestMethodOffset, method);
  PutInt32(block.data() + kRequestTopmostOffset, topmost ? 1 : 0);
  return block;
}

std::optional<DictionaryRequest> DecodeDictionaryRequest(const void* data, size_t size) {
  if (data == nullptr || size < kRequestSize) return std::nullopt;
  const auto* p = static_cast<const uint8_t*>(data);
  const void* nul = std::memchr(p, 0, kRequestTextBytes);
  if (nul == nullptr) return std::nullopt;
  DictionaryRequest r;
  r.direction = GetInt32(p + kRequestDirectionOffset);
  r.method = GetInt32(p + kRequestMethodOffset);
  if (!IsValidDirection(r.direction) || !IsValidMethod(r.method)) return std::nullopt;
  r.topmost = GetInt32(p + kRequestTopmostOffset) == 1;
  r.text.assign(reinterpret_cast<const char*>(p), static_cast<const uint8_t*>(nul) - p);
  return r;
}

}  // namespace ombrel::link
