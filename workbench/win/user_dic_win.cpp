#include "user_dic_win.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "dic_edit.h"
#include "lomi_api.h"
#include "text_codes.h"

extern "C" {
int LOMI_API CheckIfUDicFile_JK(const char* path);
int LOMI_API nCreatUserDic_JK(const char* path);
int LOMI_API JK_Transfer(int mode, int sourceCodePage, int outputCodePage, const char* source, char* output,
                         int* length, void* alignment, int* alignmentCount);
int LOMI_API nReadDORizData(const char* word, int dictionary, void* records, int* reserved, int constant,
                            int capacity);
int LOMI_API nDORizOrderChange(char digit, void* records, int count, int index, int to);
int LOMI_API nGetUserDicInfo_JK(char* digit, char* name, int* count);
int LOMI_API nListDataFromUserDic_JK(const char* name, int digit, int step, void* records, int count);
int LOMI_API nUpdateUserDic_JK(const char* name, char digit, void* record, int operation);
}

namespace dalmok {
namespace {

constexpr char kUserDicKey[] = "SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok\\DMUserDic";

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) { return Wide(CP_UTF8, utf8); }
std::string WideToUtf8(std::wstring_view text) { return Narrow(CP_UTF8, text); }
std::string Utf8ToAnsi(std::string_view utf8) { return Narrow(CP_ACP, Utf8ToWide(utf8)); }
std::string AnsiToUtf8(std::string_view ansi) { return WideToUtf8(Wide(CP_ACP, ansi)); }

UserDicContext& DicContext() {
  static UserDicContext context;
  return context;
}

// ---- the engine ----
bool LomiUserDicEngine::IsUserDicFile(const std::string& path) {
  return CheckIfUDicFile_JK(Utf8ToAnsi(path).c_str()) != 0;
}
int LomiUserDicEngine::CreateUserDic(const std::string& path) { return nCreatUserDic_JK(Utf8ToAnsi(path).c_str()); }
int LomiUserDicEngine::ReadCandidates(const std::string& word, int dictionary, workbench::DicCandidateRecord* records,
                                      int capacity) {
  int reserved = 0;
  workbench::DicCandidateRecord scratch{};
  return nReadDORizData(word.c_str(), dictionary, capacity > 0 ? static_cast<void*>(records) : &scratch, &reserved,
                        1, capacity);
}
int LomiUserDicEngine::OrderChange(char digit, workbench::DicCandidateRecord* records, int count, int index, int to) {
  return nDORizOrderChange(digit, records, count, index, to);
}
int LomiUserDicEngine::GetUserDicInfo(char& digit, std::string& name, int& count) {
  char buffer[lomi::kUserDicPathBytes] = {};
  const std::string ansi = Utf8ToAnsi(name);
  std::strncpy(buffer, ansi.c_str(), sizeof buffer - 1);
  const int result = nGetUserDicInfo_JK(&digit, buffer, &count);
  name = AnsiToUtf8(std::string(buffer, strnlen(buffer, sizeof buffer)));
  return result;
}
int LomiUserDicEngine::ListData(const std::string& name, int digit, int step, workbench::DicCandidateRecord* records,
                                int count) {
  return nListDataFromUserDic_JK(Utf8ToAnsi(name).c_str(), digit, step, records, count);
}
int LomiUserDicEngine::UpdateUserDic(const std::string& name, char digit, workbench::DicCandidateRecord& record,
                                     int operation) {
  return nUpdateUserDic_JK(Utf8ToAnsi(name).c_str(), digit, &record, operation);
}
int LomiUserDicEngine::ConvertCharacters(const std::string& sjis, std::string& ks, int room) {
  std::vector<char> output(static_cast<std::size_t>(room) + 1, '\0');
  int length = room;
  const int result = JK_Transfer(lomi::kModeCharacters, lomi::kJapaneseCodePage, lomi::kKsCodePage, sjis.c_str(),
                                 output.data(), &length, nullptr, nullptr);
  if (result == 0 || result == 333) ks.assign(output.data(), static_cast<std::size_t>(length > 0 ? length : 0));
  return result;
}

// ---- the registry and the files ----
void RegistryUserDics::WriteSlot(int slot, const std::string& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kUserDicKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  char name[16];
  wsprintfA(name, "User Dic%d", slot + 1);
  const std::string ansi = Utf8ToAnsi(value);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi.c_str()), static_cast<DWORD>(ansi.size() + 1));
  RegCloseKey(key);
}

std::string RegistryUserDics::Folder() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kUserDicKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  char text[MAX_PATH + 1] = {};
  DWORD size = MAX_PATH, type = 0;
  std::string folder;
  if (RegQueryValueExA(key, "FOLDER", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
      type == REG_SZ)
    folder = AnsiToUtf8(text);
  RegCloseKey(key);
  return folder;
}

bool DiskFiles::Exists(const std::string& path) const {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data) != 0;
}

// ---- boxes and fields ----
void DicWarn(HWND dialog, std::string_view utf8, UINT beep, UINT icon) {
  MessageBeep(beep);
  wchar_t caption[128] = {};
  GetWindowTextW(dialog, caption, 127);
  MessageBoxW(dialog, Utf8ToWide(utf8).c_str(), caption, MB_OK | icon);
}

bool DicAskYesNo(HWND dialog, std::string_view utf8) {
  MessageBeep(MB_ICONQUESTION);
  wchar_t caption[128] = {};
  GetWindowTextW(dialog, caption, 127);
  return MessageBoxW(dialog, Utf8ToWide(utf8).c_str(), caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void AddListColumn(HWND list, int index, const wchar_t* title, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = const_cast<wchar_t*>(title);
  column.cx = width;
  column.iSubItem = index;
  ListView_InsertColumn(list, index, &column);
}

std::wstring KsToWide(std::string_view ks) { return Wide(949, ks); }

// The fields are SEdit controls: their text is the bytes of their code
// page (the font's), read and written through the ANSI messages.
std::string FieldBytes(HWND field) {
  char text[256] = {};
  const LRESULT n = SendMessageA(field, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return std::string(text, n > 0 && n < static_cast<LRESULT>(sizeof text) ? static_cast<std::size_t>(n) : strnlen(text, sizeof text));
}
void SetFieldBytes(HWND field, std::string_view bytes) {
  const std::string text(bytes);
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HFONT SetFieldFont(HWND field, const wchar_t* face, BYTE charset, int height, LOGFONTA& log) {
  log = LOGFONTA{};
  log.lfHeight = height;
  log.lfWeight = FW_NORMAL;
  log.lfCharSet = charset;
  const std::string name = Narrow(932, face);
  lstrcpynA(log.lfFaceName, name.c_str(), LF_FACESIZE);
  HFONT font = CreateFontIndirectA(&log);
  // The control takes the face's character set from the record beside the font.
  SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(font), reinterpret_cast<LPARAM>(&log));
  return font;
}

}  // namespace dalmok
