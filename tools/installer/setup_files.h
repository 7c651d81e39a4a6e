// File and folder work of the suite's setup program: listing the payload,
// copying a file unless the target already holds the same bytes (a file in
// use is moved aside and removed at the next restart), removing files and
// empty folders.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace setup {

// a + "\" + b, without doubling a trailing "\" of a.
std::wstring JoinPath(const std::wstring& a, const std::wstring& b);
std::wstring ParentFolder(const std::wstring& path);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);

// The files below folder, as paths relative to it ("SYSDIC\GmV6.dic"), in
// a stable order; false when the folder cannot be listed.
bool ListFiles(const std::wstring& folder, std::vector<std::wstring>& out);

// Creates the folder and the folders above it; true when it exists then.
bool CreateFolders(const std::wstring& folder);

enum class CopyResult { Copied, Unchanged, Replaced, Failed };
// Copies source to target, creating target's folder. A target with the same
// bytes is left alone. A target that cannot be overwritten because it is in
// use (an input method loaded by running programs) is renamed and deleted at
// the next restart, and the copy is made under the name. On Failed the
// error is left in GetLastError.
CopyResult InstallFile(const std::wstring& source, const std::wstring& target);

enum class RemoveResult { Removed, Missing, AtRestart, Failed };
// Deletes the file; one in use is deleted at the next restart.
RemoveResult RemoveFile(const std::wstring& path);

// Removes folder and then each folder above it up to (not including) stop,
// as long as they are empty.
void RemoveEmptyFolders(const std::wstring& folder, const std::wstring& stop);

// The system's text of an error code, without its line end.
std::wstring ErrorText(DWORD error);

}  // namespace setup
