// POSIX block files for native builds: pread/pwrite, with flock standing in
// for the share modes of the Win32 open (exclusive for a writer, shared for
// readers, never waiting). Not part of the Windows builds.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "block_file.h"

namespace ime {

namespace {

class PosixFile final : public BlockFile {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }  // also releases the lock
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  long ReadAt(uint32_t offset, void* buffer, size_t size) override {
    return static_cast<long>(::pread(fd_, buffer, size, static_cast<off_t>(offset)));
  }
  long WriteAt(uint32_t offset, const void* buffer, size_t size) override {
    return static_cast<long>(::pwrite(fd_, buffer, size, static_cast<off_t>(offset)));
  }
  uint64_t Size() override {
    struct stat st {};
    return ::fstat(fd_, &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
  }
  uint64_t Handle() const override { return static_cast<uint64_t>(fd_); }

 private:
  int fd_;
};

class PosixBlockFiles final : public BlockFileOpener {
 public:
  void Pause(unsigned ms) override {
    struct timespec t {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (::nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
  }

 protected:
  std::unique_ptr<BlockFile> OpenFile(const std::string& path, bool writable, OpenFailure* why) override {
    int fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) {
      *why = OpenFailure::kOther;
      return nullptr;
    }
    if (::flock(fd, (writable ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
      *why = errno == EWOULDBLOCK ? OpenFailure::kBusy : OpenFailure::kOther;
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixFile>(fd);
  }
};

}  // namespace

BlockFileOpener& PlatformBlockFiles() {
  static PosixBlockFiles files;
  return files;
}

}  // namespace ime
