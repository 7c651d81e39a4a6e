#include "block_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace ime {

class MemoryBlockFiles::File final : public BlockFile {
 public:
  File(Stored& s, bool writable) : s_(s), writable_(writable) {}
  ~File() override {
    if (writable_) {
      s_.writer = false;
    } else {
      s_.readers -= 1;
    }
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  long ReadAt(uint32_t offset, void* buffer, size_t size) override {
    if (offset >= s_.bytes.size()) return 0;
    size_t n = std::min(size, s_.bytes.size() - offset);
    std::memcpy(buffer, s_.bytes.data() + offset, n);
    return static_cast<long>(n);
  }
  long WriteAt(uint32_t offset, const void* buffer, size_t size) override {
    if (!writable_) return -1;
    if (s_.bytes.size() < size_t{offset} + size) s_.bytes.resize(size_t{offset} + size);
    std::memcpy(s_.bytes.data() + offset, buffer, size);
    return static_cast<long>(size);
  }
  uint64_t Size() override { return s_.bytes.size(); }

 private:
  Stored& s_;
  bool writable_;
};

std::unique_ptr<BlockFile> MemoryBlockFiles::OpenFile(const std::string& path, bool writable, OpenFailure* why) {
  auto it = files_.find(path);
  if (it == files_.end()) {
    *why = OpenFailure::kOther;
    return nullptr;
  }
  Stored& s = it->second;
  if (s.writer || (writable && s.readers > 0)) {
    *why = OpenFailure::kBusy;
    return nullptr;
  }
  if (writable) {
    s.writer = true;
  } else {
    s.readers += 1;
  }
  return std::make_unique<File>(s, writable);
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace ime
