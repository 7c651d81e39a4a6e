// Win32 block files of the dictionary: the file is opened for one operation
// with CreateFileA, read-write (or read-only) and shared for reading only, so
// that while one process writes no other process can open it, and readers
// exclude writers but not each other.
#include <windows.h>

#include "block_file.h"

namespace ime {

namespace {

class Win32File final : public BlockFile {
 public:
  explicit Win32File(HANDLE h) : h_(h) {}
  ~Win32File() override { CloseHandle(h_); }
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  long ReadAt(uint32_t offset, void* buffer, size_t size) override {
    if (!Seek(offset)) return -1;
    DWORD done = 0;
    if (!ReadFile(h_, buffer, static_cast<DWORD>(size), &done, nullptr)) return -1;
    return static_cast<long>(done);
  }
  long WriteAt(uint32_t offset, const void* buffer, size_t size) override {
    if (!Seek(offset)) return -1;
    DWORD done = 0;
    if (!WriteFile(h_, buffer, static_cast<DWORD>(size), &done, nullptr)) return -1;
    return static_cast<long>(done);
  }
  uint64_t Size() override {
    LARGE_INTEGER size;
    return GetFileSizeEx(h_, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
  }
  uint64_t Handle() const override { return reinterpret_cast<uintptr_t>(h_); }

 private:
  bool Seek(uint32_t offset) {
    LARGE_INTEGER to, at;
    to.QuadPart = offset;
    return SetFilePointerEx(h_, to, &at, FILE_BEGIN) && at.QuadPart == to.QuadPart;
  }
  HANDLE h_;
};

class Win32BlockFiles final : public BlockFileOpener {
 public:
  void Pause(unsigned ms) override { Sleep(ms); }

 protected:
  // A file that another open holds in a way that excludes this one fails
  // with a sharing violation: busy.
  std::unique_ptr<BlockFile> OpenFile(const std::string& path, bool writable, OpenFailure* why) override {
    HANDLE h = CreateFileA(path.c_str(), writable ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      *why = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? OpenFailure::kBusy : OpenFailure::kOther;
      return nullptr;
    }
    return std::make_unique<Win32File>(h);
  }
};

}  // namespace

BlockFileOpener& PlatformBlockFiles() {
  static Win32BlockFiles files;
  return files;
}

}  // namespace ime
