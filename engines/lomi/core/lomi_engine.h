// The translation engine behind LomiDLL.dll's exports, free of the window
// system: Japanese (Shift-JIS) into Korean (KS or GM code) word by word
// over the system dictionary and the configured user dictionaries, with
// one alignment entry per word; the character mode; the Korean text
// rebuilt from an alignment table.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "lomi_api.h"
#include "lomi_dictionary.h"
#include "lomi_userdic.h"

namespace lomi {

// One word of a translation.
struct Token {
  std::size_t japaneseOffset = 0;
  std::size_t japaneseLength = 0;
  std::string korean;      // KS code; with an alternation the form after a vowel
  std::string afterFinal;  // the form after a final consonant (alternation only)
  TokenKind kind = TokenKind::kWord;
  Alternation rule = Alternation::kNone;
  PartOfSpeech pos;
  uint8_t source = kFromGlossary;
  uint8_t dictionary = 4;  // 0-2 user dictionaries 1-3, 4 the system dictionary
};

// The Korean text of tokens and each token's Korean range in it.
struct Assembled {
  std::string text;  // KS code
  std::vector<std::pair<std::size_t, std::size_t>> ranges;  // offset, length; (0, 0) for a blank of the source
};

// Header of an alignment table the engine wrote (entry 0): the count, then
// a mark and the table's room in entries, so that a table handed back is
// recognised and never read past its end.
inline constexpr char kTableMark[4] = {'L', 'M', 'A', 'T'};

class Engine {
 public:
  explicit Engine(const SystemDictionary& dictionary) : dictionary_(dictionary) {}

  // The user dictionaries of the slots (empty paths: none); those that
  // cannot be read are left out.
  void Configure(const JKTransConfig& config, const UserDicFiles& files);
  bool Configured() const { return dictionary_.Loaded(); }

  std::vector<Token> Tokenize(std::string_view sjis) const;
  Assembled Assemble(const std::vector<Token>& tokens) const;

  // The exports' work; arguments as LomiDLL.dll takes them.
  int Transfer(int mode, int sourceCodePage, int outputCodePage, const char* source, char* output, int* length,
               void* alignment, int* alignmentCount) const;
  int Regenerate(char* output, int capacity, void* table) const;

  // The user-dictionary calls (arguments as the exports take them; see
  // lomi_api.h). Writes go to the dictionary's file first, crash-safe, and
  // only then into the dictionaries the next translation uses.
  int ReadCandidates(const char* word, int dictionary, uint8_t* records, int capacity) const;
  int OrderChange(int digit, const uint8_t* records, int count, int index, int to);
  int GetUserDicInfo(char* digit, char* name, int* count) const;
  int ListUserDic(const char* name, int digit, int step, uint8_t* records, int count) const;
  int UpdateUserDic(const char* name, int digit, uint8_t* record, int operation);

 private:
  // The slot of a dictionary digit ('0'-'2' or 0-2) whose dictionary is
  // configured and whose name (when one is given) is its path; -1 if none.
  int SlotOf(int digit, const char* name) const;
  // The system dictionary's values of a key in the order the user chose.
  std::vector<WordValue> SystemValues(std::string_view key) const;
  int Translate(std::string_view source, bool gm, char* output, int* length, void* alignment,
                int* alignmentCount) const;
  int Characters(std::string_view source, bool gm, char* output, int* length) const;
  bool MatchWord(std::string_view rest, std::size_t maxBytes, Token& token) const;
  std::string KanaReading(std::string_view kana) const;

  const SystemDictionary& dictionary_;
  UserDictionary user_[kUserDicSlots];
  std::string paths_[kUserDicSlots];  // the configured dictionaries that could be read
  const UserDicFiles* files_ = nullptr;
  std::map<std::string, std::vector<WordValue>, std::less<>> systemOrder_;  // reordered system words
};

// KS text to GM code and back (double-byte characters only; others kept).
std::string KsToGmText(std::string_view ks);
std::string GmToKsText(std::string_view gm);

}  // namespace lomi
