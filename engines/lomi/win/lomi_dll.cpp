// "LomiDLL.dll": the translation engine's exports over the portable engine.
// The system dictionary is a resource of the DLL, found once when the
// library is loaded; user dictionaries are files read and written here.
#include <windows.h>

#include <string>
#include <type_traits>

#include "lomi_api.h"
#include "lomi_engine.h"

namespace {

// User dictionary files through the Win32 file calls (ANSI paths: the
// callers' paths are in the system code page).
class WinUserDicFiles final : public lomi::UserDicFiles {
 public:
  bool Exists(const std::string& path) const override {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  bool Read(const std::string& path, std::vector<uint8_t>& bytes) const override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= 64 * 1024 * 1024;
    if (ok) {
      bytes.resize(static_cast<std::size_t>(size.QuadPart));
      DWORD read = 0;
      ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                             read == bytes.size());
    }
    CloseHandle(file);
    return ok;
  }
  bool OpenTemporary(const std::string& temporary) const override {
    open_ = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return open_ != INVALID_HANDLE_VALUE;
  }
  bool WriteTemporary(const uint8_t* data, std::size_t size) const override {
    DWORD written = 0;
    return open_ != INVALID_HANDLE_VALUE && WriteFile(open_, data, static_cast<DWORD>(size), &written, nullptr) &&
           written == size;
  }
  bool FlushTemporary() const override { return open_ != INVALID_HANDLE_VALUE && FlushFileBuffers(open_); }
  bool CloseTemporary() const override {
    if (open_ == INVALID_HANDLE_VALUE) return false;
    const bool ok = CloseHandle(open_);
    open_ = INVALID_HANDLE_VALUE;
    return ok;
  }
  bool MoveOver(const std::string& temporary, const std::string& path) const override {
    return MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  void Remove(const std::string& path) const override { DeleteFileA(path.c_str()); }

 private:
  mutable HANDLE open_ = INVALID_HANDLE_VALUE;
};

lomi::SystemDictionary g_dictionary;
lomi::Engine g_engine(g_dictionary);
WinUserDicFiles g_files;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    if (HRSRC found = FindResourceW(instance, L"DICTIONARY", L"LOMI")) {
      if (HGLOBAL loaded = LoadResource(instance, found)) {
        const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
        if (bytes) g_dictionary.Load({bytes, SizeofResource(instance, found)});
      }
    }
  }
  return TRUE;
}

extern "C" {

int LOMI_API Set_JKTrans_Configure(lomi::JKTransConfig config) {
  g_engine.Configure(config, g_files);
  return g_engine.Configured() ? 1 : 0;
}

int LOMI_API JK_Transfer(int mode, int sourceCodePage, int outputCodePage, const char* source, char* output,
                         int* length, void* alignment, int* alignmentCount) {
  return g_engine.Transfer(mode, sourceCodePage, outputCodePage, source, output, length, alignment, alignmentCount);
}

int LOMI_API Lomi_ReKrnGenerate(char* output, int capacity, void* table) {
  return g_engine.Regenerate(output, capacity, table);
}

int LOMI_API CheckIfUDicFile_JK(const char* path) {
  return path && lomi::IsUserDicFile(g_files, path) ? 1 : 0;
}

int LOMI_API nCreatUserDic_JK(const char* path) {
  return path ? lomi::CreateUserDic(g_files, path) : lomi::kLomiBadArgument;
}

int LOMI_API nReadDORizData(const char* word, int dictionary, void* records, int* reserved, int constant,
                            int capacity) {
  (void)constant;
  if (reserved) *reserved = 0;
  return g_engine.ReadCandidates(word, dictionary, static_cast<uint8_t*>(records), capacity);
}

int LOMI_API nDORizOrderChange(char digit, void* records, int count, int index, int to) {
  return g_engine.OrderChange(static_cast<uint8_t>(digit), static_cast<const uint8_t*>(records), count, index, to);
}

int LOMI_API nGetUserDicInfo_JK(char* digit, char* name, int* count) {
  return g_engine.GetUserDicInfo(digit, name, count);
}

int LOMI_API nListDataFromUserDic_JK(const char* name, int digit, int step, void* records, int count) {
  return g_engine.ListUserDic(name, digit, step, static_cast<uint8_t*>(records), count);
}

int LOMI_API nUpdateUserDic_JK(const char* name, char digit, void* record, int operation) {
  return g_engine.UpdateUserDic(name, static_cast<uint8_t>(digit), static_cast<uint8_t*>(record), operation);
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&Set_JKTrans_Configure), SetJKTransConfigureFn>);
static_assert(std::is_same_v<decltype(&JK_Transfer), JKTransferFn>);
static_assert(std::is_same_v<decltype(&Lomi_ReKrnGenerate), LomiReKrnGenerateFn>);
static_assert(std::is_same_v<decltype(&CheckIfUDicFile_JK), CheckIfUDicFileFn>);
static_assert(std::is_same_v<decltype(&nCreatUserDic_JK), CreatUserDicFn>);
static_assert(std::is_same_v<decltype(&nReadDORizData), ReadDORizDataFn>);
static_assert(std::is_same_v<decltype(&nDORizOrderChange), DORizOrderChangeFn>);
static_assert(std::is_same_v<decltype(&nGetUserDicInfo_JK), GetUserDicInfoFn>);
static_assert(std::is_same_v<decltype(&nListDataFromUserDic_JK), ListDataFromUserDicFn>);
static_assert(std::is_same_v<decltype(&nUpdateUserDic_JK), UpdateUserDicFn>);
