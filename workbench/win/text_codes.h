// Text between a code page's bytes and UTF-16, for the workbench's windows.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace dalmok {

inline std::wstring Wide(unsigned codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

inline std::string Narrow(unsigned codePage, std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace dalmok
