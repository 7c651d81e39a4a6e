#include "lists.h"

#include <algorithm>
#include <cstdio>

namespace ombrel {

int FindListEntry(const std::vector<ListItem>& items, int32_t idIndex) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].ref.idIndex == idIndex) return static_cast<int>(i);
  }
  return -1;
}

void InsertAtTop(std::vector<ListItem>& items, ListItem item) { items.insert(items.begin(), std::move(item)); }

void AddToHistory(std::vector<ListItem>& items, ListItem item) {
  const int32_t id = item.ref.idIndex;
  items.erase(std::remove_if(items.begin(), items.end(), [id](const ListItem& i) { return i.ref.idIndex == id; }),
              items.end());
  while (items.size() >= kHistoryLimit) items.pop_back();
  InsertAtTop(items, std::move(item));
}

WordbookAdd AddToWordbook(std::vector<ListItem>& items, ListItem item) {
  if (FindListEntry(items, item.ref.idIndex) >= 0) return WordbookAdd::kAlreadyThere;
  if (items.size() >= kWordbookLimit) return WordbookAdd::kFull;
  InsertAtTop(items, std::move(item));
  return WordbookAdd::kAdded;
}

int RemoveRow(std::vector<ListItem>& items, int row) {
  if (row < 0 || row >= static_cast<int>(items.size())) return -1;
  items.erase(items.begin() + row);
  if (items.empty()) return -1;
  return std::min(row, static_cast<int>(items.size()) - 1);
}

std::string EncodeListFile(const std::vector<ListItem>& items) {
  std::string out;
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    const auto id = static_cast<uint32_t>(it->ref.idIndex);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(id >> (8 * i)));
    const std::string& w = it->headword;
    out.append(w.substr(0, std::min(w.find('\n'), kListHeadwordBytes)));
    out.push_back('\n');
  }
  return out;
}

std::vector<ListItem> DecodeListFile(std::string_view bytes, int direction, int32_t entryCount, std::size_t limit) {
  std::vector<ListItem> items;
  std::size_t p = 0;
  while (p + 4 <= bytes.size()) {
    uint32_t id = 0;
    for (int i = 0; i < 4; ++i) id |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[p + i])) << (8 * i);
    p += 4;
    const std::size_t lf = bytes.find('\n', p);
    const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
    ListItem item;
    item.headword.assign(bytes.substr(p, std::min(end - p, kListHeadwordBytes)));
    p = lf == std::string_view::npos ? bytes.size() : lf + 1;
    const auto signedId = static_cast<int32_t>(id);
    if (signedId < 0 || signedId >= entryCount) continue;
    SetEntryDirection(item.ref, direction);
    item.ref.idIndex = signedId;
    InsertAtTop(items, std::move(item));
  }
  // The newest records stand at the top; a file longer than the limit keeps them.
  if (items.size() > limit) items.resize(limit);
  return items;
}

std::string EncodeSearchBoxHistory(const SearchBoxHistory& history) {
  std::string out;
  for (int d = 0; d < 2; ++d) {
    out += "##" + std::to_string(d) + "\t0\n";
    std::size_t n = 0;
    for (const std::string& t : history.texts[d]) {
      if (n++ >= kSearchBoxHistoryLimit) break;
      out += t.substr(0, std::min(t.find_first_of("\r\n"), kListHeadwordBytes));
      out += '\n';
    }
  }
  return out;
}

SearchBoxHistory DecodeSearchBoxHistory(std::string_view text) {
  SearchBoxHistory h;
  int current = -1;
  std::size_t p = 0;
  while (p < text.size()) {
    const std::size_t lf = text.find('\n', p);
    std::string_view line = text.substr(p, lf == std::string_view::npos ? std::string_view::npos : lf - p);
    p = lf == std::string_view::npos ? text.size() : lf + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() == 5 && line[0] == '#' && line[1] == '#' && (line[2] == '0' || line[2] == '1') &&
        line[3] == '\t' && line[4] >= '0' && line[4] <= '8') {
      current = line[2] - '0';
      continue;
    }
    if (current < 0 || line.empty()) continue;
    if (h.texts[current].size() < kSearchBoxHistoryLimit)
      h.texts[current].emplace_back(line.substr(0, kListHeadwordBytes));
  }
  return h;
}

void RememberSearchText(std::vector<std::string>& texts, const std::string& text) {
  if (text.empty()) return;
  texts.erase(std::remove(texts.begin(), texts.end(), text), texts.end());
  texts.insert(texts.begin(), text);
  if (texts.size() > kSearchBoxHistoryLimit) texts.resize(kSearchBoxHistoryLimit);
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  out.clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
  const bool ok = std::ferror(f) == 0;
  std::fclose(f);
  return ok;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  const std::string temp = path + ".new";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (f == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    std::remove(temp.c_str());
    return false;
  }
#ifdef _WIN32
  // rename does not replace an existing file here.
  std::remove(path.c_str());
#endif
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace ombrel
