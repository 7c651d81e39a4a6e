#include "data_exchange_rules.h"

#include <limits>

namespace fw {

namespace {
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000'; }
int DigitOf(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'\uFF10' && c <= u'\uFF19') return c - u'\uFF10';  // full-width digits, as an input method types them
  return -1;
}
}  // namespace

std::optional<long long> ParseIntegerField(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+' || text[i] == u'\uFF0D' || text[i] == u'\uFF0B')) {
    negative = text[i] == u'-' || text[i] == u'\uFF0D';
    ++i;
  }
  // Accumulated as a negative number, which holds the most negative value too.
  long long value = 0;
  bool digits = false;
  constexpr long long kMin = std::numeric_limits<long long>::min();
  for (; i < text.size() && DigitOf(text[i]) >= 0; ++i) {
    const int d = DigitOf(text[i]);
    if (value < (kMin + d) / 10) return std::nullopt;
    value = value * 10 - d;
    digits = true;
  }
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (!digits || i != text.size()) return std::nullopt;
  if (!negative) {
    if (value == kMin) return std::nullopt;
    return -value;
  }
  return value;
}

std::u16string FormatInteger(long long value) {
  std::u16string out;
  const bool negative = value < 0;
  // Digits taken from the negative side, so the most negative value works too.
  long long v = negative ? value : -value;
  do {
    out.insert(out.begin(), static_cast<char16_t>(u'0' - v % 10));
    v /= 10;
  } while (v != 0);
  if (negative) out.insert(out.begin(), u'-');
  return out;
}

std::u16string IntegerRequiredMessage() { return u"整数を入力してください。"; }

std::u16string IntegerRangeMessage(long long min, long long max) {
  return FormatInteger(min) + u" から " + FormatInteger(max) + u" までの整数を入力してください。";
}

}  // namespace fw
