// Block file access for the hanja dictionary: one small interface with a
// POSIX implementation (native builds, block_file_posix.cpp), a Win32 one (the
// DLL, ime/win) and an in-memory one (the dictionary builder and the fuzzer).
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ime {

class BlockFile {
 public:
  virtual ~BlockFile() = default;
  // Bytes transferred; fewer than size on a short transfer, -1 on failure.
  virtual long ReadAt(uint32_t offset, void* buffer, size_t size) = 0;
  virtual long WriteAt(uint32_t offset, const void* buffer, size_t size) = 0;
  virtual uint64_t Size() = 0;
  // The platform's handle of the open file, for error reports.
  virtual uint64_t Handle() const { return 0; }
};

class BlockFileOpener {
 public:
  virtual ~BlockFileOpener() = default;
  // Opens an existing file. A writable open shares the file with readers of
  // other opens only, so that no two writers run a read-modify-write at once;
  // it fails while any other open exists, and a read-only open fails while a
  // writable one exists. Null on failure.
  virtual std::unique_ptr<BlockFile> Open(const std::string& path, bool writable) = 0;
};

// Files of the platform this was built for.
BlockFileOpener& PlatformBlockFiles();

// Writes a whole file (created or truncated); false on failure. For the tools
// and tests that make dictionary files.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes);

// Files held in memory by name, with the same sharing rules as real files.
class MemoryBlockFiles final : public BlockFileOpener {
 public:
  std::unique_ptr<BlockFile> Open(const std::string& path, bool writable) override;
  std::vector<uint8_t>& Bytes(const std::string& path) { return files_[path].bytes; }
  bool Exists(const std::string& path) const { return files_.count(path) != 0; }

 private:
  struct Stored {
    std::vector<uint8_t> bytes;
    int readers = 0;
    bool writer = false;
  };
  class File;
  std::map<std::string, Stored> files_;
};

}  // namespace ime
