// The translation engine's user-dictionary calls as the workbench's
// dictionary dialogs use them, behind an interface so that the dialogs'
// rules run over a fake engine in tests. Paths and dictionary names are
// UTF-8 here (the program's side converts them for the engine); words and
// records are in the engine's codes (Shift-JIS sources, KS or GM Korean).
#pragma once
#include <string>

#include "lomi_api.h"

namespace workbench {

using lomi::DicCandidateRecord;

class UserDicEngine {
 public:
  virtual ~UserDicEngine() = default;
  // CheckIfUDicFile_JK: path without extension.
  virtual bool IsUserDicFile(const std::string& path) = 0;
  // nCreatUserDic_JK: 0 = created.
  virtual int CreateUserDic(const std::string& path) = 0;
  // nReadDORizData: the number of candidates of word in dictionary 0-2 or
  // 4, at most capacity of them filled.
  virtual int ReadCandidates(const std::string& word, int dictionary, DicCandidateRecord* records,
                             int capacity) = 0;
  // nDORizOrderChange with the dictionary's digit character.
  virtual int OrderChange(char digit, DicCandidateRecord* records, int count, int index, int to) = 0;
  // nGetUserDicInfo_JK: by name when name is a dictionary's, else by digit.
  virtual int GetUserDicInfo(char& digit, std::string& name, int& count) = 0;
  // nListDataFromUserDic_JK: digit argument as passed (low byte the digit).
  virtual int ListData(const std::string& name, int digit, int step, DicCandidateRecord* records, int count) = 0;
  // nUpdateUserDic_JK.
  virtual int UpdateUserDic(const std::string& name, char digit, DicCandidateRecord& record, int operation) = 0;
  // JK_Transfer in the character mode: Shift-JIS to KS code; 0 or 333 =
  // converted.
  virtual int ConvertCharacters(const std::string& sjis, std::string& ks, int room) = 0;
};

}  // namespace workbench
