#include "profile.h"

#include <algorithm>
#include <string>

namespace fw {

namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool LessNoCase(const std::u16string& a, const std::u16string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return Lower(x) < Lower(y); });
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

}  // namespace

MemoryProfileStore::Key MemoryProfileStore::MakeKey(std::u16string_view section, std::u16string_view key) {
  return {std::u16string(section), std::u16string(key)};
}

bool MemoryProfileStore::KeyLess::operator()(const Key& a, const Key& b) const {
  if (LessNoCase(a.first, b.first)) return true;
  if (LessNoCase(b.first, a.first)) return false;
  return LessNoCase(a.second, b.second);
}

std::optional<std::u16string> MemoryProfileStore::Read(std::u16string_view section, std::u16string_view key) {
  auto it = entries_.find(MakeKey(section, key));
  if (it == entries_.end()) return std::nullopt;
  return it->second;
}

bool MemoryProfileStore::Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
  if (failWrites) return false;
  entries_[MakeKey(section, key)] = std::u16string(value);
  return true;
}

bool MemoryProfileStore::Remove(std::u16string_view section, const std::u16string_view* key) {
  if (failWrites) return false;
  if (key) {
    entries_.erase(MakeKey(section, *key));
    return true;
  }
  for (auto it = entries_.begin(); it != entries_.end();) {
    it = EqualNoCase(it->first.first, section) ? entries_.erase(it) : std::next(it);
  }
  return true;
}

int ParseProfileInt(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  // Wider than int while reading, so that an over-long number wraps as the
  // 32-bit reading does instead of overflowing here.
  unsigned long long value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = (value * 10 + static_cast<unsigned>(text[i] - u'0')) & 0xFFFFFFFFull;
  }
  const auto bits = static_cast<unsigned>(negative ? (0x100000000ull - value) & 0xFFFFFFFFull : value);
  return static_cast<int>(bits);
}

int Profile::GetInt(std::u16string_view section, std::u16string_view key, int defaultValue) {
  const auto text = store_.Read(section, key);
  if (!text || text->empty()) return defaultValue;
  return ParseProfileInt(*text);
}

std::u16string Profile::GetString(std::u16string_view section, std::u16string_view key,
                                  std::u16string_view defaultValue) {
  auto text = store_.Read(section, key);
  return text ? std::move(*text) : std::u16string(defaultValue);
}

bool Profile::WriteInt(std::u16string_view section, std::u16string_view key, int value) {
  const std::string digits = std::to_string(value);
  return store_.Write(section, key, std::u16string(digits.begin(), digits.end()));
}

bool Profile::WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
  return store_.Write(section, key, value);
}

std::u16string ProfileFileName(std::u16string_view modulePath) {
  const size_t slash = modulePath.find_last_of(u"\\/:");
  std::u16string_view name = slash == std::u16string_view::npos ? modulePath : modulePath.substr(slash + 1);
  const size_t dot = name.rfind(u'.');
  if (dot != std::u16string_view::npos) name = name.substr(0, dot);
  return std::u16string(name) + u".INI";
}

}  // namespace fw
