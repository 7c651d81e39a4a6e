// The engine's user dictionaries: files of its own format (path + ".DIC"),
// entries kept in byte order of their Japanese word, written crash-safe
// (the new content goes into a temporary file beside the dictionary, which
// then replaces it), so that a failure leaves the old file as it was.
//
// File layout (little-endian): "LOMIUDIC", version 1, the entry count, then
// each entry: Japanese length (16 bits), Korean length (16 bits), the three
// part-of-speech bytes, one flag byte (1: the Korean word is a hanja word),
// the Japanese word (Shift-JIS) and the Korean word (KS code); at the end a
// 32-bit FNV-1a sum of all bytes before it, so a cut-off file is refused.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lomi_dictionary.h"

namespace lomi {

inline constexpr std::size_t kUserWordBytes = 40;  // longest Japanese or Korean word of an entry

struct UserEntry {
  std::string japanese;  // Shift-JIS
  std::string korean;    // KS code
  PartOfSpeech pos;
  bool hanja = false;
  bool operator==(const UserEntry&) const = default;
};

// What a user dictionary is read from and written to: the platform's files,
// in the steps of a crash-safe replacement (one temporary file at a time).
class UserDicFiles {
 public:
  virtual ~UserDicFiles() = default;
  virtual bool Exists(const std::string& path) const = 0;
  virtual bool Read(const std::string& path, std::vector<uint8_t>& bytes) const = 0;
  // Creates (or truncates) the temporary file and keeps it open for writing.
  virtual bool OpenTemporary(const std::string& temporary) const = 0;
  // Appends to the open temporary file; may have written part on failure.
  virtual bool WriteTemporary(const uint8_t* data, std::size_t size) const = 0;
  // Flushes the open temporary file to the disk.
  virtual bool FlushTemporary() const = 0;
  // Closes the open temporary file (also after a failed step).
  virtual bool CloseTemporary() const = 0;
  // Moves the temporary file over path in one step.
  virtual bool MoveOver(const std::string& temporary, const std::string& path) const = 0;
  virtual void Remove(const std::string& path) const = 0;
};

// Writes bytes to a temporary file beside path (in blocks), flushes and
// closes it, and moves it over path; false (path untouched, no temporary
// left) when any step fails.
bool ReplaceFile(const UserDicFiles& files, const std::string& path, const std::vector<uint8_t>& bytes);
inline constexpr std::size_t kWriteBlock = 4096;

class UserDictionary {
 public:
  // False when the bytes are no user dictionary (or are damaged).
  bool Decode(const std::vector<uint8_t>& bytes);
  std::vector<uint8_t> Encode() const;

  // Adds an entry at its place in byte order (after entries of the same
  // word); false when a word is empty or longer than kUserWordBytes, or
  // the same pair is there already.
  bool Add(UserEntry entry);
  // Removes entry number i; false when there is none.
  bool Remove(std::size_t i);
  // Puts entry in place of entry i (an entry of the same word stays where
  // it is, another word goes to its place in byte order); false when i is
  // no entry, a word is invalid or another entry holds the same pair.
  bool Replace(std::size_t i, UserEntry entry);
  // Swaps entries i and i + 1 when both are entries of the same word.
  bool SwapWithNext(std::size_t i);
  // Index of the entry with this pair, or -1.
  int FindPair(std::string_view japanese, std::string_view korean) const;
  const std::vector<UserEntry>& Entries() const { return entries_; }
  // Index of the first entry of a Japanese word, or -1.
  int Find(std::string_view japanese) const;

 private:
  std::vector<UserEntry> entries_;
};

// The file of a dictionary path as the callers give it (without extension).
std::string UserDicFileName(const std::string& path);
// True when path + ".DIC" reads as a user dictionary.
bool IsUserDicFile(const UserDicFiles& files, const std::string& path);
// Creates an empty dictionary path + ".DIC"; an existing file is kept
// (kLomiExists). Returns 0 or a negative LomiError.
int CreateUserDic(const UserDicFiles& files, const std::string& path);
// Reads path + ".DIC"; false when it cannot be read or is no dictionary.
bool LoadUserDic(const UserDicFiles& files, const std::string& path, UserDictionary& out);
// Writes the dictionary to path + ".DIC" crash-safe.
bool SaveUserDic(const UserDicFiles& files, const std::string& path, const UserDictionary& dic);

}  // namespace lomi
