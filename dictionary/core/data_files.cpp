#include "data_files.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "code_page.h"

namespace ombrel {

namespace {

// A fixed permutation of 0-255 drawn from a small linear congruential
// sequence: constant data, the same in every build.
constexpr std::array<uint8_t, 256> MakeScrambleTable() {
  std::array<uint8_t, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<uint8_t>(i);
  uint32_t x = 0x4F6D6272u;  // seed
  for (int i = 255; i > 0; --i) {
    x = x * 1664525u + 1013904223u;
    const int j = static_cast<int>((x >> 16) % static_cast<uint32_t>(i + 1));
    const uint8_t v = t[i];
    t[i] = t[j];
    t[j] = v;
  }
  return t;
}
constexpr std::array<uint8_t, 256> kScrambleTable = MakeScrambleTable();

int32_t GetInt32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

bool InRange(int32_t i, int32_t count) { return i >= 0 && i < count; }

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

}  // namespace

const std::array<uint8_t, 256>& ScrambleTable() { return kScrambleTable; }

void DescrambleBytes(uint8_t* data, size_t n, uint64_t position) {
  for (size_t i = 0; i < n; ++i) data[i] = DescrambleByte(data[i], position + i);
}

void ScrambleBytes(uint8_t* data, size_t n, uint64_t position) {
  for (size_t i = 0; i < n; ++i) data[i] = ScrambleByte(data[i], position + i);
}

// ---- CachedFile ----

bool CachedFile::Open(const std::string& path) {
  Close();
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) return false;
  std::setvbuf(file_, nullptr, _IONBF, 0);  // the pages are the buffer
  if (std::fseek(file_, 0, SEEK_END) != 0) {
    Close();
    return false;
  }
  const long end = std::ftell(file_);
  size_ = end < 0 ? 0 : end;
  pages_.resize(std::min<size_t>(kPages, static_cast<size_t>(size_) / kPageSize + 1));
  for (Page& p : pages_) p.number = -1;
  return true;
}

void CachedFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  size_ = 0;
  pages_.clear();
  pages_.shrink_to_fit();
}

size_t CachedFile::Read(int64_t offset, void* buffer, size_t bytes, bool* seekFailed) {
  if (seekFailed != nullptr) *seekFailed = false;
  if (file_ == nullptr || offset < 0 || offset >= size_) {
    if (seekFailed != nullptr) *seekFailed = file_ == nullptr || offset < 0;
    return 0;
  }
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < bytes) {
    const int64_t at = offset + static_cast<int64_t>(done);
    if (at >= size_) break;
    const int64_t number = at / static_cast<int64_t>(kPageSize);
    Page& page = pages_[static_cast<size_t>(number) % pages_.size()];
    if (page.number != number) {
      page.number = -1;
      if (std::fseek(file_, static_cast<long>(number * static_cast<int64_t>(kPageSize)), SEEK_SET) != 0) {
        if (seekFailed != nullptr) *seekFailed = true;
        break;
      }
      page.valid = std::fread(page.bytes.data(), 1, kPageSize, file_);
      if (page.valid == 0) break;
      page.number = number;
    }
    const size_t inPage = static_cast<size_t>(at - number * static_cast<int64_t>(kPageSize));
    if (inPage >= page.valid) break;
    const size_t n = std::min(bytes - done, page.valid - inPage);
    std::memcpy(out + done, page.bytes.data() + inPage, n);
    done += n;
  }
  return done;
}

// ---- DictionaryFileSet ----

bool DictionaryFileSet::Open(const std::string& root) {
  if (!root.empty()) root_ = root;
  Close();
  bool all = !root_.empty();
  for (int d = 0; d < 2 && all; ++d) {
    for (int f = 0; f < kDataFileCount && all; ++f) {
      const std::string path = root_ + kDirectionFolders[d] + kPathSeparator + kDataFileNames[f];
      all = files_[d][f].Open(path);
    }
    if (!all) break;
    // N + 1 and M + 1 records: fewer than two leaves nothing to search.
    const int64_t keys = files_[d][kKeyList].Size() / static_cast<int64_t>(kKeyListRecordSize) - 1;
    const int64_t entries = files_[d][kIdList].Size() / static_cast<int64_t>(kIdListRecordSize) - 1;
    counts_[d].keys = keys > 0 && keys < 0x7FFFFFFF ? static_cast<int32_t>(keys) : 0;
    counts_[d].entries = entries > 0 && entries < 0x7FFFFFFF ? static_cast<int32_t>(entries) : 0;
  }
  if (!all) Close();
  open_ = all;
  return all;
}

void DictionaryFileSet::Close() {
  for (auto& set : files_)
    for (CachedFile& f : set) f.Close();
  counts_ = {};
  open_ = false;
}

size_t DictionaryFileSet::ReadRecord(int direction, DataFileIndex file, int64_t offset, void* buffer,
                                     size_t itemSize, size_t count) {
  if (!Valid(direction) || itemSize == 0 || buffer == nullptr) return 0;
  const size_t bytes = itemSize * count;
  size_t got = 0;
  for (int attempt = 0; attempt < 7; ++attempt) {
    bool seekFailed = false;
    got = files_[direction][file].Read(offset, buffer, bytes, &seekFailed);
    if (!seekFailed) break;
    if (attempt == 6) break;
    // The files may have gone away under us (a network share): open them
    // again and retry after a pause.
    Open();
    if (sleep) {
      sleep(500);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
  }
  return got / itemSize;
}

size_t DictionaryFileSet::ReadScrambledRecord(int direction, DataFileIndex file, int64_t offset, void* buffer,
                                              size_t itemSize, size_t count) {
  const size_t items = ReadRecord(direction, file, offset, buffer, itemSize, count);
  DescrambleBytes(static_cast<uint8_t*>(buffer), items * itemSize, static_cast<uint64_t>(offset));
  return items;
}

bool DictionaryFileSet::ReadKeyPair(int direction, bool reversed, int32_t i, KeyListRecord pair[2]) {
  if (!InRange(i, KeyCount(direction))) return false;
  uint8_t raw[2 * kKeyListRecordSize];
  if (ReadRecord(direction, reversed ? kKeyListRev : kKeyList, static_cast<int64_t>(i) * kKeyListRecordSize, raw,
                 kKeyListRecordSize, 2) != 2) {
    return false;
  }
  for (int r = 0; r < 2; ++r) {
    pair[r].keyOffset = GetInt32(raw + r * kKeyListRecordSize);
    pair[r].second = GetInt32(raw + r * kKeyListRecordSize + 4);
    pair[r].idIndex = GetInt32(raw + r * kKeyListRecordSize + 8);
  }
  return true;
}

bool DictionaryFileSet::ReadIdPair(int direction, int32_t i, IdListRecord pair[2]) {
  if (!InRange(i, EntryCount(direction))) return false;
  uint8_t raw[2 * kIdListRecordSize];
  if (ReadRecord(direction, kIdList, static_cast<int64_t>(i) * kIdListRecordSize, raw, kIdListRecordSize, 2) != 2) {
    return false;
  }
  for (int r = 0; r < 2; ++r) {
    pair[r].keyIndex = GetInt32(raw + r * kIdListRecordSize);
    pair[r].textField = GetInt32(raw + r * kIdListRecordSize + 4);
  }
  return true;
}

namespace {

// Text of [from, to) in a scrambled file as UTF-16, at most maxUnits units.
bool ReadTextRange(DictionaryFileSet& files, int direction, DataFileIndex file, int32_t from, int32_t to,
                   int maxUnits, std::u16string& out) {
  out.clear();
  if (from < 0 || to < from) return false;
  const int64_t bytes = std::min<int64_t>(static_cast<int64_t>(to) - from, static_cast<int64_t>(maxUnits) * 2) & ~1;
  uint8_t raw[2 * 256];
  if (bytes > static_cast<int64_t>(sizeof raw)) return false;
  if (bytes == 0) return true;
  if (files.ReadScrambledRecord(direction, file, from, raw, 2, static_cast<size_t>(bytes / 2)) !=
      static_cast<size_t>(bytes / 2)) {
    return false;
  }
  for (int64_t k = 0; k < bytes; k += 2) out.push_back(static_cast<char16_t>(raw[k] | raw[k + 1] << 8));
  return true;
}

}  // namespace

bool DictionaryFileSet::ReadKey(int direction, bool reversed, int32_t i, std::u16string& key, KeyListRecord* out) {
  KeyListRecord local[2];
  KeyListRecord* pair = out != nullptr ? out : local;
  if (!ReadKeyPair(direction, reversed, i, pair)) return false;
  return ReadTextRange(*this, direction, reversed ? kKeyDataRev : kKeyData, pair[0].keyOffset, pair[1].keyOffset,
                       kMaxKeyUnits, key);
}

bool DictionaryFileSet::ReadKeyRun(int direction, bool reversed, int32_t first, int32_t count,
                                   std::vector<std::u16string>& keys, std::vector<KeyListRecord>& records, int minUnits,
                                   int maxUnits) {
  records.clear();
  const int32_t n = KeyCount(direction);
  if (first < 0 || first >= n || count <= 0) {
    keys.clear();
    return false;
  }
  count = std::min(count, n - first);
  std::vector<uint8_t>& raw = runRecords_;
  raw.resize((static_cast<size_t>(count) + 1) * kKeyListRecordSize);
  if (ReadRecord(direction, reversed ? kKeyListRev : kKeyList, static_cast<int64_t>(first) * kKeyListRecordSize,
                 raw.data(), kKeyListRecordSize, static_cast<size_t>(count) + 1) != static_cast<size_t>(count) + 1) {
    return false;
  }
  for (int32_t r = 0; r <= count; ++r) {
    const uint8_t* p = raw.data() + static_cast<size_t>(r) * kKeyListRecordSize;
    records.push_back({GetInt32(p), GetInt32(p + 4), GetInt32(p + 8)});
  }
  const int32_t from = records.front().keyOffset, to = records.back().keyOffset;
  if (from < 0 || to < from || to - from > (count + 1) * 2 * 256) return false;
  std::vector<uint8_t>& text = runText_;
  text.resize(static_cast<size_t>(to - from));
  if (!text.empty() &&
      ReadRecord(direction, reversed ? kKeyDataRev : kKeyData, from, text.data(), 1, text.size()) != text.size())
    return false;
  keys.resize(static_cast<size_t>(count));
  for (int32_t r = 0; r < count; ++r) {
    const int32_t a = records[static_cast<size_t>(r)].keyOffset, b = records[static_cast<size_t>(r) + 1].keyOffset;
    std::u16string& key = keys[static_cast<size_t>(r)];
    key.clear();
    if (a < from || b < a || b > to) continue;
    const int32_t whole = (b - a) / 2;
    if (whole < minUnits || whole > maxUnits) continue;
    const int32_t units = std::min<int32_t>(whole, kMaxKeyUnits);
    key.resize(static_cast<size_t>(units));
    const auto& t = ScrambleTable();
    for (int32_t u = 0; u < units; ++u) {
      const size_t at = static_cast<size_t>(a - from) + static_cast<size_t>(u) * 2;
      const uint64_t p = static_cast<uint64_t>(a) + static_cast<uint64_t>(u) * 2;
      const uint8_t lo = static_cast<uint8_t>(static_cast<uint8_t>(text[at] - t[(p >> 8) & 0xFF]) ^ t[p & 0xFF]);
      const uint8_t hi =
          static_cast<uint8_t>(static_cast<uint8_t>(text[at + 1] - t[((p + 1) >> 8) & 0xFF]) ^ t[(p + 1) & 0xFF]);
      key[static_cast<size_t>(u)] = static_cast<char16_t>(lo | hi << 8);
    }
  }
  records.pop_back();
  return true;
}

bool DictionaryFileSet::ReadHeadword(int direction, int32_t i, std::u16string& headword) {
  KeyListRecord pair[2];
  if (!ReadKeyPair(direction, false, i, pair)) return false;
  return ReadTextRange(*this, direction, kWordData, pair[0].second, pair[1].second, kMaxHeadwordUnits, headword);
}

size_t ReadScrambledText(std::FILE* file, int64_t offset, void* buffer, size_t itemSize, size_t count) {
  if (file == nullptr || itemSize == 0 || offset < 0) return 0;
  if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return 0;
  const size_t items = std::fread(buffer, itemSize, count, file);
  DescrambleBytes(static_cast<uint8_t*>(buffer), items * itemSize, static_cast<uint64_t>(offset));
  return items;
}

// ---- EntryRef ----

int32_t SetEntryDirection(EntryRef& ref, int direction) {
  const int32_t old = ref.flags;
  ref.flags = direction == 1 ? (ref.flags | kFlagKorean) : (ref.flags & ~kFlagKorean);
  return old;
}

namespace {

bool FillFromIdRecord(DictionaryFileSet& files, EntryRef& ref, int32_t id) {
  IdListRecord ids[2];
  if (!files.ReadIdPair(ref.Direction(), id, ids)) return false;
  const int32_t offset = ids[0].TextOffset();
  const int32_t end = ids[1].TextOffset();
  if (ids[0].textField == -1 || end < offset) return false;
  ref.idIndex = id;
  ref.textOffset = offset;
  ref.textLength = end - offset;
  ref.readPosition = 0;
  ref.flags = ids[0].Continues() ? (ref.flags | kFlagContinues) : (ref.flags & ~kFlagContinues);
  return true;
}

}  // namespace

bool LoadEntryRef(DictionaryFileSet& files, EntryRef& ref) {
  KeyListRecord keys[2];
  if (!files.ReadKeyPair(ref.Direction(), false, ref.keyIndex, keys)) return false;
  return FillFromIdRecord(files, ref, keys[0].idIndex);
}

bool LoadEntryByIdIndex(DictionaryFileSet& files, EntryRef& ref) {
  IdListRecord ids[2];
  if (!files.ReadIdPair(ref.Direction(), ref.idIndex, ids)) return false;
  if (!InRange(ids[0].keyIndex, files.KeyCount(ref.Direction()))) return false;
  EntryRef next = ref;
  next.keyIndex = ids[0].keyIndex;
  if (!FillFromIdRecord(files, next, ref.idIndex)) return false;
  ref = next;
  return true;
}

namespace {

bool MoveKey(DictionaryFileSet& files, EntryRef& ref, int32_t step) {
  const int32_t to = ref.keyIndex + step;
  if (!InRange(to, files.KeyCount(ref.Direction()))) return false;
  EntryRef next = ref;
  next.keyIndex = to;
  next.flags &= ~(kFlagReversed | kFlagWildcard);
  if (!LoadEntryRef(files, next)) return false;
  ref = next;
  return true;
}

bool MoveRecord(DictionaryFileSet& files, EntryRef& ref, int32_t step) {
  const int32_t to = ref.idIndex + step;
  if (!InRange(to, files.EntryCount(ref.Direction()))) return false;
  EntryRef next = ref;
  next.idIndex = to;
  if (!LoadEntryByIdIndex(files, next)) return false;
  ref = next;
  return true;
}

}  // namespace

bool NextKey(DictionaryFileSet& files, EntryRef& ref) { return MoveKey(files, ref, 1); }
bool PrevKey(DictionaryFileSet& files, EntryRef& ref) { return MoveKey(files, ref, -1); }
bool NextRecord(DictionaryFileSet& files, EntryRef& ref) { return MoveRecord(files, ref, 1); }
bool PrevRecord(DictionaryFileSet& files, EntryRef& ref) { return MoveRecord(files, ref, -1); }

int ReadEntryText(DictionaryFileSet& files, EntryRef& ref, char16_t* buffer, int units) {
  if (ref.textOffset < 0 || ref.readPosition >= ref.textLength || units <= 0) {
    ref.readPosition = 0;
    return 0;
  }
  const int64_t want = std::min<int64_t>(ref.textLength - ref.readPosition, static_cast<int64_t>(units) * 2) & ~1;
  if (want <= 0) {
    ref.readPosition = 0;
    return 0;
  }
  std::array<uint8_t, 4096> raw;
  int done = 0;
  while (done * 2 < want) {
    const size_t n = static_cast<size_t>(std::min<int64_t>(want - done * 2, raw.size()));
    const int64_t at = static_cast<int64_t>(ref.textOffset) + ref.readPosition;
    const size_t got = files.ReadScrambledRecord(ref.Direction(), kDicData, at, raw.data(), 2, n / 2);
    if (got == 0) break;  // a short file: what was read stands, the rest ends here
    for (size_t k = 0; k < got; ++k) buffer[done + k] = static_cast<char16_t>(raw[2 * k] | raw[2 * k + 1] << 8);
    done += static_cast<int>(got);
    ref.readPosition += static_cast<int32_t>(got * 2);
    if (got < n / 2) {
      ref.readPosition = ref.textLength;
      break;
    }
  }
  if (done == 0) ref.readPosition = 0;
  return done;
}

bool ReadEntryHeadword(DictionaryFileSet& files, const EntryRef& ref, std::u16string& headword) {
  if (ref.keyIndex < 0 || (ref.flags & kFlagReversed) != 0) return false;
  return files.ReadHeadword(ref.Direction(), ref.keyIndex, headword);
}

bool HeadwordToCodePage(DictionaryFileSet& files, const EntryRef& ref, std::string& out) {
  out.clear();
  std::u16string word;
  if (!ReadEntryHeadword(files, ref, word)) return false;
  out = codeconv::PlatformCodePages().FromUtf16(DirectionCodePage(ref.Direction()), word);
  if (out.size() > 255) {
    size_t cut = 0;
    const bool sjis = ref.Direction() == 0;
    while (cut < out.size()) {
      const auto b = static_cast<uint8_t>(out[cut]);
      const size_t w = (sjis ? IsShiftJisLead(b) : (b >= 0x80 && b != 0xFF)) ? 2 : 1;
      if (cut + w > 255) break;
      cut += w;
    }
    out.resize(cut);
  }
  return true;
}

void FoldKatakana(std::u16string& text) {
  for (char16_t& c : text) c = FoldKatakanaUnit(c);
}

bool IsAllKana(std::u16string_view text) {
  for (char16_t c : text) {
    if (c >= 0x3041 && c <= 0x3094) continue;
    if (c >= 0x30A1 && c <= 0x30F4) continue;
    switch (c) {
      case 0x2026: case 0x30FB: case 0x30FC: case 0x003D: case 0xFF0D: case 0x2015: case 0x0020: case 0x002F:
      case 0x002C: case 0xFF08: case 0xFF09: case 0xFF3B: case 0xFF3D: case 0x0028: case 0x0029: case 0x002A:
      case 0x003F: case 0xFF0A: case 0xFF1F:
        continue;
      default:
        return false;
    }
  }
  return true;
}

}  // namespace ombrel
