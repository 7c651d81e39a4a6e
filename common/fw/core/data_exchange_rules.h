// The text rules of dialog data exchange: what an integer field accepts and
// how it is written back, and the message that a refused field shows.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace fw {

// Blanks around an optional sign and decimal digits (ASCII or full-width);
// anything else, no digit at all, or a value outside the long long range
// gives nothing.
std::optional<long long> ParseIntegerField(std::u16string_view text);
std::u16string FormatInteger(long long value);

// "整数を入力してください。" and "<min> から <max> までの整数を入力してください。"
std::u16string IntegerRequiredMessage();
std::u16string IntegerRangeMessage(long long min, long long max);

}  // namespace fw
