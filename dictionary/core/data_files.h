// The dictionary's read-only data files (one set of seven per direction under
// the data root), their scrambling, and EntryRef, the cursor through which the
// program reads headwords and entry texts. Every record is read from the open
// files on demand through a small page cache per file.
#pragma once
#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel {

// ---- scrambling ----
// The 256-byte table shared by the data builder and the program.
const std::array<uint8_t, 256>& ScrambleTable();
// A stored byte at absolute file position p to its plain value and back.
inline uint8_t DescrambleByte(uint8_t stored, uint64_t p) {
  const auto& t = ScrambleTable();
  return static_cast<uint8_t>(static_cast<uint8_t>(stored - t[(p >> 8) & 0xFF]) ^ t[p & 0xFF]);
}
inline uint8_t ScrambleByte(uint8_t plain, uint64_t p) {
  const auto& t = ScrambleTable();
  return static_cast<uint8_t>(static_cast<uint8_t>(plain ^ t[p & 0xFF]) + t[(p >> 8) & 0xFF]);
}
void DescrambleBytes(uint8_t* data, std::size_t n, uint64_t position);
void ScrambleBytes(uint8_t* data, std::size_t n, uint64_t position);

// ---- files and records ----
enum DataFileIndex : int {
  kKeyList = 0,
  kKeyData,
  kKeyListRev,
  kKeyDataRev,
  kWordData,
  kIdList,
  kDicData,
  kDataFileCount
};
inline constexpr const char* kDataFileNames[kDataFileCount] = {
    "keylist.dat", "keydata.dat", "keylist_rev.dat", "keydata_rev.dat", "worddata.dat", "idlist.dat", "dicdata.dat"};
// Folders of direction 0 (Japanese headwords) and 1 (Korean headwords).
inline constexpr const char* kDirectionFolders[2] = {"TASKEL", "OMBREL"};
inline constexpr char kExampleFileName[] = "examples.dat";

inline constexpr std::size_t kKeyListRecordSize = 12;
inline constexpr std::size_t kIdListRecordSize = 8;
inline constexpr int kMaxKeyUnits = 31;       // what the format foresees for a key
inline constexpr int kMaxHeadwordUnits = 255;  // a display headword read for the list
inline constexpr uint32_t kContinuesBit = 0x80000000u;

struct KeyListRecord {
  int32_t keyOffset;   // keydata.dat (keydata_rev.dat in keylist_rev.dat)
  int32_t second;      // worddata.dat offset (forward) or keylist.dat index (reversed)
  int32_t idIndex;     // first idlist record (forward only)
};
struct IdListRecord {
  int32_t keyIndex;
  int32_t textField;  // bits 0-30 offset in dicdata.dat, bit 31 continues the previous headword
  int32_t TextOffset() const { return textField == -1 ? 0x7FFFFFFF : static_cast<int32_t>(textField & 0x7FFFFFFF); }
  bool Continues() const { return textField != -1 && (static_cast<uint32_t>(textField) & kContinuesBit) != 0; }
};

// One open data file read through a cache of a few 4 KB pages.
class CachedFile {
 public:
  CachedFile() = default;
  CachedFile(const CachedFile&) = delete;
  CachedFile& operator=(const CachedFile&) = delete;
  ~CachedFile() { Close(); }

  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  int64_t Size() const { return size_; }
  // Bytes read at offset (fewer at the end of the file; 0 when the offset
  // lies outside it or the file fails). seekFailed tells a failed seek apart.
  std::size_t Read(int64_t offset, void* buffer, std::size_t bytes, bool* seekFailed = nullptr);

 private:
  static constexpr std::size_t kPageSize = 4096;
  // At most 1 MB a file (fewer pages for a smaller file), filled only as
  // pages are read.
  static constexpr std::size_t kPages = 256;
  struct Page {
    int64_t number = -1;
    std::size_t valid = 0;
    std::array<uint8_t, kPageSize> bytes;
  };
  std::FILE* file_ = nullptr;
  int64_t size_ = 0;
  std::vector<Page> pages_;
};

class DictionaryFileSet {
 public:
  DictionaryFileSet() = default;
  DictionaryFileSet(const DictionaryFileSet&) = delete;
  DictionaryFileSet& operator=(const DictionaryFileSet&) = delete;

  // Opens all fourteen files under root (ending in a separator), remembering
  // it; an empty root opens the remembered one again. Files already open are
  // closed first. True only when every file is open.
  bool Open(const std::string& root = {});
  void Close();
  bool IsOpen() const { return open_; }
  const std::string& Root() const { return root_; }

  // Searchable keys N and entries M of a direction; 0 when the file holds no
  // record beyond the sentinel.
  int32_t KeyCount(int direction) const { return Valid(direction) ? counts_[direction].keys : 0; }
  int32_t EntryCount(int direction) const { return Valid(direction) ? counts_[direction].entries : 0; }

  // Reads count items at offset: a failed seek reopens the files and tries
  // again after a pause, seven seeks in all. Returns whole items read.
  std::size_t ReadRecord(int direction, DataFileIndex file, int64_t offset, void* buffer, std::size_t itemSize,
                         std::size_t count);
  // The same, descrambled by each byte's file position.
  std::size_t ReadScrambledRecord(int direction, DataFileIndex file, int64_t offset, void* buffer,
                                  std::size_t itemSize, std::size_t count);

  // Records [i] and [i + 1] of keylist.dat (or keylist_rev.dat), 0 <= i < N.
  bool ReadKeyPair(int direction, bool reversed, int32_t i, KeyListRecord pair[2]);
  // Records [i] and [i + 1] of idlist.dat, 0 <= i < M.
  bool ReadIdPair(int direction, int32_t i, IdListRecord pair[2]);
  // The key of record i (at most kMaxKeyUnits units; a longer one is cut),
  // and the two records it was read from when pair is given.
  bool ReadKey(int direction, bool reversed, int32_t i, std::u16string& key, KeyListRecord* pair = nullptr);
  // The keys of records first ... first + count - 1 (clipped to the file)
  // in one read of their records and one of their text, with their records;
  // keys of fewer than minUnits or more than maxUnits units are left empty
  // (their text is not decoded).
  bool ReadKeyRun(int direction, bool reversed, int32_t first, int32_t count, std::vector<std::u16string>& keys,
                  std::vector<KeyListRecord>& records, int minUnits = 0, int maxUnits = kMaxKeyUnits);
  // The display headword of keylist record i (at most kMaxHeadwordUnits units).
  bool ReadHeadword(int direction, int32_t i, std::u16string& headword);

  // The pause between seek retries (tests shorten it).
  std::function<void(int milliseconds)> sleep;

 private:
  struct Counts {
    int32_t keys = 0;
    int32_t entries = 0;
  };
  static bool Valid(int direction) { return direction == 0 || direction == 1; }
  std::string root_;
  bool open_ = false;
  std::array<std::array<CachedFile, kDataFileCount>, 2> files_;
  std::array<Counts, 2> counts_{};
  std::vector<uint8_t> runRecords_, runText_;  // scratch of ReadKeyRun
};

// The examples file (plain FILE reads, descrambled, no retry).
std::size_t ReadScrambledText(std::FILE* file, int64_t offset, void* buffer, std::size_t itemSize, std::size_t count);

// ---- the cursor ----
enum EntryFlags : int32_t {
  kFlagKorean = 1,      // direction 1
  kFlagContinues = 2,   // the entry continues the headword of the record before it
  kFlagReversed = 4,    // the key index is one of keylist_rev.dat
  kFlagWildcard = 8,
};

struct EntryRef {
  int32_t keyIndex = -1;
  int32_t idIndex = -1;
  int32_t textOffset = -1;
  int32_t textLength = 0;
  int32_t readPosition = 0;
  int32_t flags = 0;
  int32_t spare = 0;

  int Direction() const { return (flags & kFlagKorean) != 0 ? 1 : 0; }
  void Reset() {
    keyIndex = idIndex = textOffset = -1;
    textLength = readPosition = spare = 0;
    flags &= ~(kFlagKorean | kFlagContinues);
  }
};
static_assert(sizeof(EntryRef) == 28);

// Sets flag bit 0 for the direction; returns the previous flags.
int32_t SetEntryDirection(EntryRef& ref, int direction);

// Fill the cursor from its key index (forward keys) or its id index; false
// when an index or a record read lies outside the files.
bool LoadEntryRef(DictionaryFileSet& files, EntryRef& ref);
bool LoadEntryByIdIndex(DictionaryFileSet& files, EntryRef& ref);
// Move by one key (0 ... N - 1) or one idlist record (0 ... M - 1); false at
// the ends, the cursor unchanged.
bool NextKey(DictionaryFileSet& files, EntryRef& ref);
bool PrevKey(DictionaryFileSet& files, EntryRef& ref);
bool NextRecord(DictionaryFileSet& files, EntryRef& ref);
bool PrevRecord(DictionaryFileSet& files, EntryRef& ref);
// Up to `units` units of the entry text from the read position; 0 (and the
// read position back at 0) once the whole text has been read.
int ReadEntryText(DictionaryFileSet& files, EntryRef& ref, char16_t* buffer, int units);
// The display headword of the cursor's key; false when it has none.
bool ReadEntryHeadword(DictionaryFileSet& files, const EntryRef& ref, std::u16string& headword);
// The same in the direction's code page (932 or 949), at most 255 bytes.
bool HeadwordToCodePage(DictionaryFileSet& files, const EntryRef& ref, std::string& out);

// Code page of a direction's byte text.
inline unsigned DirectionCodePage(int direction) { return direction == 1 ? 949u : 932u; }

// ---- small text routines ----
inline bool IsShiftJisLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
inline char16_t FoldKatakanaUnit(char16_t c) { return c >= 0x30A1 && c <= 0x30F4 ? static_cast<char16_t>(c - 0x60) : c; }
void FoldKatakana(std::u16string& text);
bool IsAllKana(std::u16string_view text);

}  // namespace ombrel
