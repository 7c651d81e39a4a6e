// The bytes of a dictionary file behind a small interface: the library reads
// its files by offset, each fill opening the file anew; tests give bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace lookup {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads count bytes at offset; false when they are not all there.
  virtual bool Read(std::uint64_t offset, void* out, std::size_t count) = 0;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, void* out, std::size_t count) override {
    if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
    if (count) std::memcpy(out, bytes_.data() + offset, count);
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// How a dictionary read ended.
enum class DicStatus {
  kOk,
  kMissing,  // the file cannot be opened
  kDamaged,  // a count or offset points outside the file
};

// Whether length bytes at offset lie inside a file of size bytes.
inline bool Fits(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
  return offset <= size && length <= size - offset;
}

// Little-endian fields and 2-byte codes (first byte first).
inline std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace lookup
