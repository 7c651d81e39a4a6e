#include "kana_client.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kana {

std::size_t ReadingBound(std::size_t textBytes) {
  // 10 bytes of a cell and 6 of a final entry for two bytes of text.
  return textBytes * 8 + 8;
}

std::string ReadKana(ReadingLibrary& library, std::string_view text, const ReadingRequest& request) {
  if (text.empty() || !library.Available()) return {};
  // The library reads up to a NUL: its own copy, ending there.
  const std::string input(text.substr(0, std::min(text.find('\0'), text.size())));
  const char* pointer = input.c_str();
  const int measured = library.KnChange(request.kanjiForm, &pointer, nullptr, request.inputIsKS, request.keepFullWidth);
  if (measured <= 0) return {};
  const std::size_t length = static_cast<std::size_t>(measured);
  if (length > ReadingBound(input.size())) return {};
  std::vector<char> buffer(ReadingBound(input.size()) + 1, '\0');
  pointer = input.c_str();
  const int written = library.KnChange(request.kanjiForm, &pointer, buffer.data(), request.inputIsKS,
                                       request.keepFullWidth);
  if (written != measured || buffer[length] != '\0' || std::memchr(buffer.data(), '\0', length) != nullptr) return {};
  return std::string(buffer.data(), length);
}

}  // namespace kana
