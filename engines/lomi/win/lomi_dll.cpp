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
  bool Replace(const std::string& path, const std::vector<uint8_t>& bytes) const override {
    const std::string temporary = path + ".tmp";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size() && FlushFileBuffers(file);
    CloseHandle(file);
    ok = ok && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(temporary.c_str());
    return ok;
  }
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

}  // extern "C"

static_assert(std::is_same_v<decltype(&Set_JKTrans_Configure), SetJKTransConfigureFn>);
static_assert(std::is_same_v<decltype(&JK_Transfer), JKTransferFn>);
static_assert(std::is_same_v<decltype(&Lomi_ReKrnGenerate), LomiReKrnGenerateFn>);
static_assert(std::is_same_v<decltype(&CheckIfUDicFile_JK), CheckIfUDicFileFn>);
static_assert(std::is_same_v<decltype(&nCreatUserDic_JK), CreatUserDicFn>);
