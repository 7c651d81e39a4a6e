#include "setup_files.h"

#include <algorithm>
#include <vector>

namespace setup {

namespace {

// An open file handle that closes itself.
class File {
 public:
  explicit File(const std::wstring& path)
      : handle_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {}
  ~File() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Handle() const { return handle_; }

 private:
  HANDLE handle_;
};

bool FileSize(const std::wstring& path, ULONGLONG& size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

// Whether both files hold the same bytes.
bool SameContent(const std::wstring& a, const std::wstring& b) {
  ULONGLONG sizeA = 0, sizeB = 0;
  if (!FileSize(a, sizeA) || !FileSize(b, sizeB) || sizeA != sizeB) return false;
  File fa(a), fb(b);
  if (!fa.IsOpen() || !fb.IsOpen()) return false;
  std::vector<char> bufA(1 << 16), bufB(1 << 16);
  for (;;) {
    DWORD na = 0, nb = 0;
    if (!ReadFile(fa.Handle(), bufA.data(), static_cast<DWORD>(bufA.size()), &na, nullptr) ||
        !ReadFile(fb.Handle(), bufB.data(), static_cast<DWORD>(bufB.size()), &nb, nullptr) || na != nb) {
      return false;
    }
    if (na == 0) return true;
    if (!std::equal(bufA.begin(), bufA.begin() + na, bufB.begin())) return false;
  }
}

bool InUse(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_USER_MAPPED_FILE;
}

bool ListInto(const std::wstring& folder, const std::wstring& relative, std::vector<std::wstring>& out) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(JoinPath(JoinPath(folder, relative), L"*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return false;
  std::vector<std::wstring> folders;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = relative.empty() ? name : JoinPath(relative, name);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      folders.push_back(path);
    } else {
      out.push_back(path);
    }
  } while (FindNextFileW(find, &found));
  FindClose(find);
  for (const std::wstring& f : folders) {
    if (!ListInto(folder, f, out)) return false;
  }
  return true;
}

}  // namespace

std::wstring JoinPath(const std::wstring& a, const std::wstring& b) {
  if (a.empty()) return b;
  if (a.back() == L'\\' || a.back() == L'/') return a + b;
  return a + L"\\" + b;
}

std::wstring ParentFolder(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool FileExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ListFiles(const std::wstring& folder, std::vector<std::wstring>& out) {
  out.clear();
  if (!ListInto(folder, std::wstring(), out)) return false;
  std::sort(out.begin(), out.end());
  return true;
}

bool CreateFolders(const std::wstring& folder) {
  if (folder.empty() || FolderExists(folder)) return !folder.empty();
  const std::wstring parent = ParentFolder(folder);
  // Stop at a drive ("C:") or a share; CreateDirectory reports what is wrong.
  if (!parent.empty() && parent.back() != L':' && !FolderExists(parent)) CreateFolders(parent);
  return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

CopyResult InstallFile(const std::wstring& source, const std::wstring& target) {
  if (SameContent(source, target)) return CopyResult::Unchanged;
  if (!CreateFolders(ParentFolder(target))) return CopyResult::Failed;
  if (CopyFileW(source.c_str(), target.c_str(), FALSE)) return CopyResult::Copied;
  const DWORD error = GetLastError();
  if (!InUse(error) || !FileExists(target)) {
    SetLastError(error);
    return CopyResult::Failed;
  }
  // A loaded module can be renamed though not overwritten.
  const std::wstring aside =
      target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) + L".old";
  if (!MoveFileExW(target.c_str(), aside.c_str(), 0)) return CopyResult::Failed;
  MoveFileExW(aside.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return CopyFileW(source.c_str(), target.c_str(), FALSE) ? CopyResult::Replaced : CopyResult::Failed;
}

RemoveResult RemoveFile(const std::wstring& path) {
  if (DeleteFileW(path.c_str())) return RemoveResult::Removed;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return RemoveResult::Missing;
  if (InUse(error) && MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return RemoveResult::AtRestart;
  SetLastError(error);
  return RemoveResult::Failed;
}

void RemoveEmptyFolders(const std::wstring& folder, const std::wstring& stop) {
  std::wstring current = folder;
  while (!current.empty() && lstrcmpiW(current.c_str(), stop.c_str()) != 0 && RemoveDirectoryW(current.c_str())) {
    current = ParentFolder(current);
  }
}

std::wstring ErrorText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring out = n > 0 && text != nullptr ? std::wstring(text, n) : std::wstring();
  if (text != nullptr) LocalFree(text);
  while (!out.empty() && (out.back() == L'\n' || out.back() == L'\r' || out.back() == L' ')) out.pop_back();
  return L"エラー " + std::to_wstring(error) + (out.empty() ? L"" : L": " + out);
}

}  // namespace setup
