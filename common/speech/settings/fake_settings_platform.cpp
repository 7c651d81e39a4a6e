#include "fake_settings_platform.h"

#include <algorithm>
#include <cstring>

namespace settings {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

// Path components as spelt, without empty ones.
std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> out;
  std::string part;
  for (char c : path + "\\") {
    if (c == '\\') {
      if (!part.empty()) out.push_back(part);
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  return out;
}

std::string RootName(RegRoot root) { return root == RegRoot::CurrentUser ? "hkcu" : "hklm"; }

}  // namespace

std::string FakeSettingsPlatform::KeyId(RegRoot root, const std::string& path) {
  std::string id = RootName(root);
  for (const std::string& c : Components(path)) id += "\\" + Lower(c);
  return id;
}

// The key and every key above it, created when missing.
std::string FakeSettingsPlatform::Ensure(RegRoot root, const std::string& path) {
  std::string partial = RootName(root);
  for (const std::string& c : Components(path)) {
    if (keys_[partial].children.insert(Lower(c)).second) ++layoutGeneration_;
    partial += "\\" + Lower(c);
    Key& key = keys_[partial];
    if (key.name.empty()) key.name = c;
  }
  return partial;
}

bool FakeSettingsPlatform::OpenKey(RegRoot root, const std::string& path, RegAccess access, KeyHandle& out) {
  const std::string id = KeyId(root, path);
  if (keys_.count(id) == 0 || unreadable_.count(id) != 0) return false;
  const bool writable = access != RegAccess::Read;
  if (writable && denied_.count(id) != 0) return false;
  out = nextHandle_++;
  handles_[out] = {id, writable, 0, 0, {}};
  return true;
}

bool FakeSettingsPlatform::CreateKey(RegRoot root, const std::string& path, RegAccess access, KeyHandle& out) {
  const std::string id = KeyId(root, path);
  if (denied_.count(id) != 0) return false;
  Ensure(root, path);
  out = nextHandle_++;
  handles_[out] = {id, access != RegAccess::Read, 0, 0, {}};
  return true;
}

void FakeSettingsPlatform::CloseKey(KeyHandle key) { handles_.erase(key); }

EnumStatus FakeSettingsPlatform::EnumKey(KeyHandle key, uint32_t index, std::string& name) {
  auto h = handles_.find(key);
  if (h == handles_.end() || enumFails_.count(h->second.key) != 0) return EnumStatus::Error;
  auto k = keys_.find(h->second.key);
  if (k == keys_.end()) return EnumStatus::Error;
  const std::set<std::string>& children = k->second.children;
  if (index >= children.size()) return EnumStatus::End;
  Handle& handle = h->second;
  if (handle.cursorGeneration != layoutGeneration_ || handle.cursorIndex > index) {
    handle.cursor = children.begin();
    handle.cursorIndex = 0;
    handle.cursorGeneration = layoutGeneration_;
  }
  handle.cursor = std::next(handle.cursor, index - handle.cursorIndex);
  handle.cursorIndex = index;
  name = keys_.at(handle.key + "\\" + *handle.cursor).name;
  return EnumStatus::Ok;
}

bool FakeSettingsPlatform::DeleteKey(RegRoot root, const std::string& path) {
  const std::string id = KeyId(root, path);
  auto k = keys_.find(id);
  const size_t cut = id.rfind('\\');
  if (k == keys_.end() || cut == std::string::npos || !k->second.children.empty() || denied_.count(id) != 0) {
    return false;
  }
  keys_[id.substr(0, cut)].children.erase(id.substr(cut + 1));
  keys_.erase(k);
  ++layoutGeneration_;
  return true;
}

FakeSettingsPlatform::Key* FakeSettingsPlatform::Find(KeyHandle handle, bool forWriting) {
  auto h = handles_.find(handle);
  if (h == handles_.end() || (forWriting && !h->second.writable)) return nullptr;
  auto k = keys_.find(h->second.key);
  return k == keys_.end() ? nullptr : &k->second;
}

QueryStatus FakeSettingsPlatform::QueryValue(KeyHandle key, const char* name, uint32_t& type, uint8_t* data,
                                             uint32_t& size) {
  Key* k = Find(key, false);
  if (k == nullptr) return QueryStatus::Missing;
  auto v = k->values.find(Lower(name != nullptr ? name : ""));
  if (v == k->values.end()) return QueryStatus::Missing;
  type = v->second.type;
  const auto needed = static_cast<uint32_t>(v->second.data.size());
  if (data == nullptr) {
    size = needed;
    return QueryStatus::Ok;
  }
  if (needed > size) {
    // Windows leaves the buffer undefined here; show that by scribbling.
    std::memset(data, '#', size);
    size = needed;
    return QueryStatus::MoreData;
  }
  std::memcpy(data, v->second.data.data(), needed);
  size = needed;
  return QueryStatus::Ok;
}

bool FakeSettingsPlatform::SetValue(KeyHandle key, const char* name, uint32_t type, const uint8_t* data,
                                    uint32_t size) {
  Key* k = Find(key, true);
  if (k == nullptr) return false;
  if (writesLeft_ == 0) return false;
  if (writesLeft_ > 0) --writesLeft_;
  ++valueWrites_;
  k->values[Lower(name != nullptr ? name : "")] = {type, std::string(reinterpret_cast<const char*>(data), size)};
  return true;
}

uint32_t FakeSettingsPlatform::ProfileString(const char* section, const char* key, const char* fallback,
                                             char* buffer, uint32_t size, const char* file) {
  if (buffer == nullptr || size == 0) return 0;
  std::string text = fallback != nullptr ? fallback : "";
  auto f = profiles_.find(Lower(file != nullptr ? file : ""));
  if (f != profiles_.end()) {
    auto s = f->second.find(Lower(section != nullptr ? section : ""));
    if (s != f->second.end()) {
      auto k = s->second.find(Lower(key != nullptr ? key : ""));
      if (k != s->second.end()) text = k->second;
    }
  }
  const size_t n = std::min<size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<uint32_t>(n);
}

void FakeSettingsPlatform::Put(RegRoot root, const std::string& path, const std::string& name,
                               const std::string& data, uint32_t type) {
  keys_[Ensure(root, path)].values[Lower(name)] = {type, data};
}

std::optional<FakeSettingsPlatform::Value> FakeSettingsPlatform::Get(RegRoot root, const std::string& path,
                                                                     const std::string& name) const {
  auto k = keys_.find(KeyId(root, path));
  if (k == keys_.end()) return std::nullopt;
  auto v = k->second.values.find(Lower(name));
  if (v == k->second.values.end()) return std::nullopt;
  return v->second;
}

bool FakeSettingsPlatform::KeyExists(RegRoot root, const std::string& path) const {
  return keys_.count(KeyId(root, path)) != 0;
}

std::vector<std::string> FakeSettingsPlatform::Subkeys(RegRoot root, const std::string& path) const {
  std::vector<std::string> out;
  const std::string id = KeyId(root, path);
  auto k = keys_.find(id);
  if (k == keys_.end()) return out;
  for (const std::string& child : k->second.children) out.push_back(keys_.at(id + "\\" + child).name);
  return out;
}

void FakeSettingsPlatform::DenyWrites(RegRoot root, const std::string& path) { denied_.insert(KeyId(root, path)); }

void FakeSettingsPlatform::DenyReads(RegRoot root, const std::string& path) { unreadable_.insert(KeyId(root, path)); }

void FakeSettingsPlatform::FailEnum(RegRoot root, const std::string& path) { enumFails_.insert(KeyId(root, path)); }

void FakeSettingsPlatform::PutProfile(const std::string& file, const std::string& section, const std::string& key,
                                      const std::string& value) {
  profiles_[Lower(file)][Lower(section)][Lower(key)] = value;
}

}  // namespace settings
