// Block file access for the hanja dictionary: one small interface with a
// POSIX implementation (native builds, block_file_posix.cpp), a Win32 one (the
// DLL, ime/win) and an in-memory one (the dictionary builder and the fuzzer).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
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

// Why an open failed: the file is held by an open that excludes this one
// (worth trying again shortly), or anything else.
enum class OpenFailure { kNone, kBusy, kOther };

class BlockFileOpener {
 public:
  virtual ~BlockFileOpener() = default;
  // Opens an existing file. A writable open shares the file with readers of
  // other opens only, so that no two writers run a read-modify-write at once;
  // it fails while any other open exists, and a read-only open fails while a
  // writable one exists. Null on failure, with the reason in *why.
  std::unique_ptr<BlockFile> Open(const std::string& path, bool writable, OpenFailure* why = nullptr) {
    OpenFailure failure = OpenFailure::kNone;
    std::unique_ptr<BlockFile> file = OpenFile(path, writable, &failure);
    if (why) *why = file ? OpenFailure::kNone : failure;
    return file;
  }
  // Waits about ms milliseconds before a busy file is tried again.
  virtual void Pause(unsigned ms) = 0;

 protected:
  virtual std::unique_ptr<BlockFile> OpenFile(const std::string& path, bool writable, OpenFailure* why) = 0;
};

// Files of the platform this was built for.
BlockFileOpener& PlatformBlockFiles();

// Writes a whole file (created or truncated); false on failure. For the tools
// and tests that make dictionary files.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes);

// Files held in memory by name, with the same sharing rules as real files.
// Pause does not wait: it calls onPause, through which a test lets another
// holder of the file go.
class MemoryBlockFiles final : public BlockFileOpener {
 public:
  std::vector<uint8_t>& Bytes(const std::string& path) { return files_[path].bytes; }
  bool Exists(const std::string& path) const { return files_.count(path) != 0; }
  void Pause(unsigned ms) override {
    paused += ms;
    if (onPause) onPause(ms);
  }
  std::function<void(unsigned)> onPause;
  unsigned long paused = 0;  // milliseconds asked for so far

 protected:
  std::unique_ptr<BlockFile> OpenFile(const std::string& path, bool writable, OpenFailure* why) override;

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
