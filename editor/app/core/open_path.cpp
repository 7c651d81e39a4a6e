#include "open_path.h"

namespace brisel {

std::optional<std::u16string> DocumentPathArgument(std::u16string_view name) {
  if (name.size() > kMaxDocumentName) return std::nullopt;
  if (!name.empty() && name.front() == u'"') name.remove_prefix(1);
  const size_t quote = name.rfind(u'"');
  if (quote != std::u16string_view::npos) name = name.substr(0, quote);
  if (name.empty()) return std::nullopt;
  return std::u16string(name);
}

bool IsShortcutPath(std::u16string_view path) {
  if (path.size() < 4) return false;
  const std::u16string_view ext = path.substr(path.size() - 4);
  auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
  return ext[0] == u'.' && lower(ext[1]) == u'l' && lower(ext[2]) == u'n' && lower(ext[3]) == u'k';
}

}  // namespace brisel
