// The user-dictionary dialogs' links to the system: the engine's exports
// behind workbench::UserDicEngine (paths and names converted between UTF-8
// and the system code page), the "DMUserDic" registry values, the file
// system, and the settings the dialogs share with the frame.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "dic_choice.h"
#include "user_dic_engine.h"

namespace dalmok {

class LomiUserDicEngine final : public workbench::UserDicEngine {
 public:
  bool IsUserDicFile(const std::string& path) override;
  int CreateUserDic(const std::string& path) override;
  int ReadCandidates(const std::string& word, int dictionary, workbench::DicCandidateRecord* records,
                     int capacity) override;
  int OrderChange(char digit, workbench::DicCandidateRecord* records, int count, int index, int to) override;
  int GetUserDicInfo(char& digit, std::string& name, int& count) override;
  int ListData(const std::string& name, int digit, int step, workbench::DicCandidateRecord* records,
               int count) override;
  int UpdateUserDic(const std::string& name, char digit, workbench::DicCandidateRecord& record,
                    int operation) override;
  int ConvertCharacters(const std::string& sjis, std::string& ks, int room) override;
};

class RegistryUserDics final : public workbench::UserDicRegistry {
 public:
  void WriteSlot(int slot, const std::string& value) override;
  // "FOLDER": the default user-dictionary folder (UTF-8).
  static std::string Folder();
};

class DiskFiles final : public workbench::FileProbe {
 public:
  bool Exists(const std::string& path) const override;
};

// What the dialogs take from the frame.
struct UserDicContext {
  HINSTANCE module = nullptr;
  bool ks = true;              // the code mode: KS (else GM)
  std::string japaneseIme;     // "SelectIME": the Japanese input method's file name
  workbench::UserDicEngine* engine = nullptr;
};
UserDicContext& DicContext();

// UTF-8 and the system code page; texts for the windows.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view text);

// A dialog's box with its own caption: a beep of the kind, then the text.
void DicWarn(HWND dialog, std::string_view utf8, UINT beep = MB_ICONEXCLAMATION, UINT icon = MB_ICONEXCLAMATION);
bool DicAskYesNo(HWND dialog, std::string_view utf8);

// A report-view column of a list control.
void AddListColumn(HWND list, int index, const wchar_t* title, int width);

// The Korean text of a record (KS code) for a window.
std::wstring KsToWide(std::string_view ks);
// The dialogs' text fields (SEdit): their bytes in the code page of their
// font (Shift-JIS, KS, or GM shown through the GM font), and their font,
// given with its record.
std::string FieldBytes(HWND field);
void SetFieldBytes(HWND field, std::string_view bytes);
HFONT SetFieldFont(HWND field, const wchar_t* face, BYTE charset, int height, LOGFONTA& log);

}  // namespace dalmok
