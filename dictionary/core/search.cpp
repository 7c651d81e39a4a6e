#include "search.h"

#include <algorithm>

#include "key_compare.h"
#include "dictionary_link.h"

namespace ombrel {

std::string LimitQueryLength(std::string text, int direction) {
  size_t end = 0;
  while (end < text.size() && static_cast<uint8_t>(text[end]) >= 0x20) ++end;
  text.resize(end);
  size_t i = 0;
  while (i < text.size() && i < 50) {
    const auto b = static_cast<uint8_t>(text[i]);
    const bool lead = direction == 0 ? IsShiftJisLead(b) : (b >= 0x80 && b != 0xFF);
    i += lead && i + 1 < text.size() ? 2 : 1;
  }
  text.resize(std::min(i, text.size()));
  return text;
}

int32_t Searcher::FindKey(const EntryRef& cursor, std::u16string_view query) {
  const int direction = cursor.Direction();
  const bool reversed = (cursor.flags & kFlagReversed) != 0;
  const int32_t count = files_.KeyCount(direction);
  if (count <= 0) return -1;
  int32_t lo = 0, hi = count - 1;
  std::u16string key, other;
  while (lo <= hi) {
    const int32_t mid = lo + (hi - lo) / 2;
    if (!files_.ReadKey(direction, reversed, mid, key)) return -1;
    const int r = CompareKeys(cursor.flags, query, key);
    if (r < 0) {
      hi = mid - 1;
    } else if (r > 0) {
      lo = mid + 1;
    } else {
      int32_t first = mid;
      while (first > 0 && files_.ReadKey(direction, reversed, first - 1, other) &&
             CompareKeys(cursor.flags, other, key) == 0) {
        --first;
      }
      return first;
    }
  }
  if (!reversed && hi >= 0 && hi < count - 1) {
    std::u16string below, above;
    if (files_.ReadKey(direction, false, hi, below) && files_.ReadKey(direction, false, hi + 1, above)) {
      for (size_t len = query.size(); len >= 1; --len) {
        const std::u16string_view q = query.substr(0, len);
        if (CompareKeys(cursor.flags, q, std::u16string_view(below).substr(0, len)) == 0) return hi;
        if (CompareKeys(cursor.flags, q, std::u16string_view(above).substr(0, len)) == 0) return hi + 1;
      }
    }
    return hi;
  }
  return hi < 0 ? 0 : hi;
}

bool Searcher::FindHeadword(EntryRef& cursor, std::u16string_view query) {
  const int32_t index = FindKey(cursor, query);
  if (index < 0) return false;
  cursor.keyIndex = index;
  if ((cursor.flags & kFlagReversed) != 0) return true;
  return LoadEntryRef(files_, cursor);
}

namespace {

bool UnitsMatch(std::u16string_view text, std::u16string_view pattern) {
  if (text.size() != pattern.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (pattern[i] != u'?' && pattern[i] != text[i]) return false;
  }
  return true;
}

void FoldKey(std::u16string& key, int direction) {
  if (direction == 0) {
    FoldKatakana(key);
  } else {
    for (char16_t& c : key)
      if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c + 0x20);
  }
}

}  // namespace

bool Searcher::KeyMatches(std::u16string key) const {
  FoldKey(key, wild_.direction);
  if (wild_.star ? key.size() < wild_.needed : key.size() != wild_.needed) return false;
  const std::u16string_view k(key);
  if (key.size() < wild_.head.size() + wild_.tail.size()) return false;
  return UnitsMatch(k.substr(0, wild_.head.size()), wild_.head) &&
         UnitsMatch(k.substr(k.size() - wild_.tail.size()), wild_.tail);
}

// The same test on a reversed key, without turning it round.
bool Searcher::ReversedKeyMatches(const std::u16string& r) const {
  const size_t n = r.size();
  if (wild_.star ? n < wild_.needed : n != wild_.needed) return false;
  if (n < wild_.head.size() + wild_.tail.size()) return false;
  auto unit = [&](size_t i) {
    char16_t c = r[i];
    if (wild_.direction == 0) return FoldKatakanaUnit(c);
    return c >= 'A' && c <= 'Z' ? static_cast<char16_t>(c + 0x20) : c;
  };
  const size_t t = wild_.tail.size();
  for (size_t i = 0; i < t; ++i) {
    const char16_t p = wild_.tail[t - 1 - i];
    if (p != u'?' && p != unit(i)) return false;
  }
  for (size_t i = 0; i < wild_.head.size(); ++i) {
    const char16_t p = wild_.head[i];
    if (p != u'?' && p != unit(n - 1 - i)) return false;
  }
  return true;
}

bool Searcher::ScanReversed(int32_t first, int32_t last) {
  wild_.hits.clear();
  std::vector<std::u16string> keys;
  std::vector<KeyListRecord> records;
  constexpr int32_t kRun = 256;
  for (int32_t at = std::max(first, 0); at <= last; at += kRun) {
    const int minUnits = static_cast<int>(wild_.needed);
    const int maxUnits = wild_.star ? kMaxKeyUnits : minUnits;
    if (!files_.ReadKeyRun(wild_.direction, true, at, std::min(kRun, last - at + 1), keys, records, minUnits, maxUnits))
      break;
    for (size_t k = 0; k < keys.size(); ++k) {
      if (keys[k].empty() || !ReversedKeyMatches(keys[k])) continue;
      const int32_t forward = records[k].second;
      if (forward < 0 || forward >= files_.KeyCount(wild_.direction)) continue;
      if (static_cast<int>(wild_.hits.size()) >= kWildcardHitLimit) return false;  // too many: scan forward instead
      wild_.hits.push_back(forward);
    }
  }
  std::sort(wild_.hits.begin(), wild_.hits.end());
  wild_.hits.erase(std::unique(wild_.hits.begin(), wild_.hits.end()), wild_.hits.end());
  wild_.hitPos = 0;
  return true;
}

bool Searcher::WildcardSearch(EntryRef& cursor, std::u16string pattern) {
  wild_ = WildcardState{};
  wild_.direction = cursor.Direction();
  FoldKatakana(pattern);
  const size_t stars = static_cast<size_t>(std::count(pattern.begin(), pattern.end(), u'*'));
  if (stars > 1) return false;
  const size_t star = pattern.find(u'*');
  wild_.star = star != std::u16string::npos;
  wild_.head = wild_.star ? pattern.substr(0, star) : pattern;
  wild_.tail = wild_.star ? pattern.substr(star + 1) : std::u16string();
  wild_.needed = pattern.size() - stars;
  const int32_t count = files_.KeyCount(wild_.direction);
  if (count <= 0) return false;

  const int32_t base = cursor.flags & kFlagKorean;
  // Forward range from the literal head.
  const std::u16string literalHead = wild_.head.substr(0, wild_.head.find(u'?'));
  int32_t first = 0, last = count - 1;
  if (!literalHead.empty()) {
    EntryRef probe;
    probe.flags = base;
    first = std::max<int32_t>(FindKey(probe, literalHead), 0);
    last = std::max<int32_t>(FindKey(probe, literalHead + UpperBoundMark(probe.flags)), 0);
  }
  // Reversed range from the literal tail.
  std::u16string literalTail;
  if (wild_.star) {
    const size_t q = wild_.tail.rfind(u'?');
    literalTail = q == std::u16string::npos ? wild_.tail : wild_.tail.substr(q + 1);
  } else {
    const size_t q = pattern.rfind(u'?');
    if (q != std::u16string::npos) literalTail = pattern.substr(q + 1);
  }
  bool scanned = false;
  if (!literalTail.empty()) {
    EntryRef probe;
    probe.flags = base | kFlagReversed | kFlagWildcard;
    const std::u16string rev(literalTail.rbegin(), literalTail.rend());
    const int32_t rFirst = std::max<int32_t>(FindKey(probe, rev), 0);
    const int32_t rLast = std::max<int32_t>(FindKey(probe, rev + kUpperMark), 0);
    const int64_t revSize = static_cast<int64_t>(rLast) - rFirst + 1;
    const int64_t fwdSize = static_cast<int64_t>(last) - first + 1;
    // The smaller range is read: the reversed one at once into the hit table
    // (given up beyond its 1024 hits), the forward one lazily. Both give the
    // hits in forward order, so the list is the same either way.
    if (revSize < fwdSize) scanned = ScanReversed(rFirst, rLast);
  }
  if (scanned) {
    wild_.fromHits = true;
    if (wild_.hits.empty()) return false;
  } else {
    wild_.fromHits = false;
    wild_.first = first;
    wild_.last = last;
    wild_.next = first;
  }
  cursor.flags = (cursor.flags & ~kFlagReversed) | kFlagWildcard;
  return NextWildcardHit(cursor);
}

bool Searcher::NextWildcardHit(EntryRef& cursor) {
  if (wild_.fromHits) {
    while (wild_.hitPos < wild_.hits.size()) {
      EntryRef next = cursor;
      next.keyIndex = wild_.hits[wild_.hitPos++];
      next.flags &= ~kFlagReversed;
      if (LoadEntryRef(files_, next)) {
        cursor = next;
        return true;
      }
    }
    return false;
  }
  while (wild_.next <= wild_.last) {
    const int32_t i = wild_.next++;
    // Keys are read ahead a run at a time.
    if (i < wild_.aheadFirst || i >= wild_.aheadFirst + static_cast<int32_t>(wild_.ahead.size())) {
      std::vector<KeyListRecord> records;
      wild_.aheadFirst = i;
      if (!files_.ReadKeyRun(wild_.direction, false, i, std::min<int32_t>(64, wild_.last - i + 1), wild_.ahead,
                             records)) {
        wild_.ahead.clear();
        continue;
      }
    }
    if (!KeyMatches(wild_.ahead[static_cast<size_t>(i - wild_.aheadFirst)])) continue;
    EntryRef next = cursor;
    next.keyIndex = i;
    next.flags &= ~kFlagReversed;
    if (LoadEntryRef(files_, next)) {
      cursor = next;
      return true;
    }
  }
  return false;
}

bool Searcher::AppendRows(Result& result, EntryRef cursor, bool wildcard, int rowsWanted) {
  rowsWanted = std::clamp(rowsWanted, 1, kMaxListRows);
  result.rows.clear();
  result.rows.push_back(cursor);
  while (static_cast<int>(result.rows.size()) < rowsWanted) {
    const bool more = wildcard ? NextWildcardHit(cursor) : NextKey(files_, cursor);
    if (!more) break;
    const bool seen = std::any_of(result.rows.begin(), result.rows.end(),
                                  [&](const EntryRef& r) { return r.idIndex == cursor.idIndex; });
    if (!seen) result.rows.push_back(cursor);
  }
  return true;
}

Searcher::Result Searcher::RunTextSearch(int direction, int method, std::u16string text, bool typing,
                                         int rowsWanted) {
  Result result;
  if (text.empty()) return result;
  if (text.size() > kMaxQueryUnits) text.resize(kMaxQueryUnits);
  if (method == link::kPrefix && text.back() != u'*') text.push_back(u'*');
  if (method == link::kSuffix && text.front() != u'*') text.insert(text.begin(), u'*');
  EntryRef cursor;
  SetEntryDirection(cursor, direction);
  const bool wildcard = text.find_first_of(u"*?") != std::u16string::npos;
  if (wildcard) {
    if (typing) return result;
    result.searched = true;
    result.wildcard = true;
    if (WildcardSearch(cursor, text)) AppendRows(result, cursor, true, rowsWanted);
    return result;
  }
  if (!FindHeadword(cursor, text)) return result;
  result.searched = true;
  AppendRows(result, cursor, false, rowsWanted);
  return result;
}

Searcher::Result Searcher::RunIdSearch(int direction, int32_t idIndex, int rowsWanted) {
  Result result;
  EntryRef cursor;
  SetEntryDirection(cursor, direction);
  cursor.idIndex = idIndex;
  if (idIndex < 0 || idIndex >= files_.EntryCount(direction) || !LoadEntryByIdIndex(files_, cursor)) return result;
  result.searched = true;
  AppendRows(result, cursor, false, rowsWanted);
  return result;
}

}  // namespace ombrel
