#include "win_file_store.h"

#include <windows.h>

#include <algorithm>

namespace brisel {

namespace {

std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
std::u16string Utf16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

// Closes a file handle when it goes.
class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  bool Close() {
    if (!Valid()) return true;
    const bool ok = CloseHandle(h_) != FALSE;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

// Reads and writes go in pieces no larger than this.
constexpr DWORD kPiece = 1u << 24;

std::wstring FolderOf(const std::wstring& path) {
  const size_t cut = path.find_last_of(L"\\/");
  if (cut == std::wstring::npos) return L".";
  if (cut == 0 || (cut == 2 && path[1] == L':')) return path.substr(0, cut + 1);  // a root
  return path.substr(0, cut);
}

}  // namespace

std::optional<std::string> Win32FileStore::ReadAll(std::u16string_view path) {
  FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.Valid()) return std::nullopt;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > std::string().max_size()) {
    return std::nullopt;
  }
  std::string bytes;
  try {
    bytes.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kPiece));
    DWORD got = 0;
    if (!::ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr)) return std::nullopt;
    if (got == 0) break;  // the file became shorter while we read
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

std::optional<std::u16string> Win32FileStore::WriteBeside(std::u16string_view path, std::string_view bytes) {
  const std::wstring folder = FolderOf(Wide(path));
  wchar_t name[MAX_PATH + 1] = {};
  if (GetTempFileNameW(folder.c_str(), L"brs", 0, name) == 0) return std::nullopt;
  bool ok;
  {
    FileHandle file(CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ok = file.Valid();
    for (size_t done = 0; ok && done < bytes.size();) {
      const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kPiece));
      DWORD put = 0;
      ok = ::WriteFile(file.Get(), bytes.data() + done, want, &put, nullptr) && put == want;
      done += put;
    }
    ok = ok && FlushFileBuffers(file.Get());
    ok = file.Close() && ok;
  }
  if (!ok) {
    DeleteFileW(name);
    return std::nullopt;
  }
  return Utf16(name);
}

bool Win32FileStore::Replace(std::u16string_view path, std::u16string_view temporary) {
  const std::wstring target = Wide(path), source = Wide(temporary);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    SetFileAttributesW(source.c_str(), attributes);
  }
  return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void Win32FileStore::Remove(std::u16string_view path) { DeleteFileW(Wide(path).c_str()); }

}  // namespace brisel
