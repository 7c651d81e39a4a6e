#include "lomi_userdic.h"

#include <algorithm>
#include <cstring>

#include "lomi_api.h"

namespace lomi {
namespace {

constexpr char kMagic[8] = {'L', 'O', 'M', 'I', 'U', 'D', 'I', 'C'};
constexpr uint32_t kVersion = 1;

uint32_t Fnv1a(const uint8_t* p, std::size_t n) {
  uint32_t h = 2166136261u;
  for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 16777619u;
  return h;
}
uint32_t Get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}
void Put16(std::vector<uint8_t>& v, std::size_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
bool ValidWord(const std::string& w) { return !w.empty() && w.size() <= kUserWordBytes && w.find('\0') == std::string::npos; }

}  // namespace

bool UserDictionary::Decode(const std::vector<uint8_t>& bytes) {
  entries_.clear();
  if (bytes.size() < 20 || std::memcmp(bytes.data(), kMagic, 8) != 0 || Get32(bytes.data() + 8) != kVersion)
    return false;
  const std::size_t end = bytes.size() - 4;
  if (Fnv1a(bytes.data(), end) != Get32(bytes.data() + end)) return false;
  const uint32_t count = Get32(bytes.data() + 12);
  std::size_t at = 16;
  std::vector<UserEntry> read;
  for (uint32_t i = 0; i < count; ++i) {
    if (end - at < 8) return false;
    const std::size_t jl = bytes[at] | bytes[at + 1] << 8, kl = bytes[at + 2] | bytes[at + 3] << 8;
    UserEntry e;
    e.pos = {bytes[at + 4], bytes[at + 5], bytes[at + 6]};
    e.hanja = bytes[at + 7] != 0;
    at += 8;
    if (end - at < jl + kl) return false;
    e.japanese.assign(reinterpret_cast<const char*>(bytes.data() + at), jl);
    e.korean.assign(reinterpret_cast<const char*>(bytes.data() + at + jl), kl);
    at += jl + kl;
    if (!ValidWord(e.japanese) || !ValidWord(e.korean)) return false;
    if (!read.empty() && read.back().japanese > e.japanese) return false;  // not in byte order
    read.push_back(std::move(e));
  }
  if (at != end) return false;
  entries_ = std::move(read);
  return true;
}

std::vector<uint8_t> UserDictionary::Encode() const {
  std::vector<uint8_t> out(kMagic, kMagic + 8);
  Put32(out, kVersion);
  Put32(out, static_cast<uint32_t>(entries_.size()));
  for (const UserEntry& e : entries_) {
    Put16(out, e.japanese.size());
    Put16(out, e.korean.size());
    out.push_back(e.pos.type);
    out.push_back(e.pos.subtype);
    out.push_back(e.pos.third);
    out.push_back(e.hanja ? 1 : 0);
    out.insert(out.end(), e.japanese.begin(), e.japanese.end());
    out.insert(out.end(), e.korean.begin(), e.korean.end());
  }
  Put32(out, Fnv1a(out.data(), out.size()));
  return out;
}

bool UserDictionary::Add(UserEntry entry) {
  if (!ValidWord(entry.japanese) || !ValidWord(entry.korean)) return false;
  for (const UserEntry& e : entries_)
    if (e.japanese == entry.japanese && e.korean == entry.korean) return false;
  auto at = std::upper_bound(entries_.begin(), entries_.end(), entry,
                             [](const UserEntry& a, const UserEntry& b) { return a.japanese < b.japanese; });
  entries_.insert(at, std::move(entry));
  return true;
}

bool UserDictionary::Remove(std::size_t i) {
  if (i >= entries_.size()) return false;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
  return true;
}

bool UserDictionary::Replace(std::size_t i, UserEntry entry) {
  if (i >= entries_.size() || !ValidWord(entry.japanese) || !ValidWord(entry.korean)) return false;
  const int same = FindPair(entry.japanese, entry.korean);
  if (same >= 0 && static_cast<std::size_t>(same) != i) return false;
  if (entries_[i].japanese == entry.japanese) {
    entries_[i] = std::move(entry);
    return true;
  }
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
  return Add(std::move(entry));
}

bool UserDictionary::SwapWithNext(std::size_t i) {
  if (i + 1 >= entries_.size() || entries_[i].japanese != entries_[i + 1].japanese) return false;
  std::swap(entries_[i], entries_[i + 1]);
  return true;
}

int UserDictionary::FindPair(std::string_view japanese, std::string_view korean) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].japanese == japanese && entries_[i].korean == korean) return static_cast<int>(i);
  return -1;
}

int UserDictionary::Find(std::string_view japanese) const {
  auto at = std::lower_bound(entries_.begin(), entries_.end(), japanese,
                             [](const UserEntry& a, std::string_view k) { return std::string_view(a.japanese) < k; });
  if (at == entries_.end() || at->japanese != japanese) return -1;
  return static_cast<int>(at - entries_.begin());
}

std::string UserDicFileName(const std::string& path) { return path + ".DIC"; }

bool LoadUserDic(const UserDicFiles& files, const std::string& path, UserDictionary& out) {
  std::vector<uint8_t> bytes;
  if (path.empty() || !files.Read(UserDicFileName(path), bytes)) return false;
  return out.Decode(bytes);
}

bool IsUserDicFile(const UserDicFiles& files, const std::string& path) {
  UserDictionary dic;
  return LoadUserDic(files, path, dic);
}

int CreateUserDic(const UserDicFiles& files, const std::string& path) {
  if (path.empty()) return kLomiBadArgument;
  if (files.Exists(UserDicFileName(path))) return kLomiExists;
  return SaveUserDic(files, path, UserDictionary()) ? kLomiOk : kLomiFileError;
}

bool ReplaceFile(const UserDicFiles& files, const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string temporary = path + ".tmp";
  if (!files.OpenTemporary(temporary)) {
    files.Remove(temporary);
    return false;
  }
  bool ok = true;
  for (std::size_t at = 0; ok && at < bytes.size(); at += kWriteBlock)
    ok = files.WriteTemporary(bytes.data() + at, std::min(kWriteBlock, bytes.size() - at));
  ok = ok && files.FlushTemporary();
  ok = files.CloseTemporary() && ok;
  ok = ok && files.MoveOver(temporary, path);
  if (!ok) files.Remove(temporary);
  return ok;
}

bool SaveUserDic(const UserDicFiles& files, const std::string& path, const UserDictionary& dic) {
  return !path.empty() && ReplaceFile(files, UserDicFileName(path), dic.Encode());
}

}  // namespace lomi
