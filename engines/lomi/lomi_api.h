// The binary interface of the translation engine "LomiDLL.dll", for the
// engine itself and for the programs that call it (the workbench, the
// translation input pad and the user-dictionary dialogs): the configuration
// record, the alignment entries a translation returns, the candidate record
// of the dictionary calls, and the exports (all cdecl, by name).
//
//   int Set_JKTrans_Configure(JKTransConfig config)
//       The record by value. The low byte of the result is non-zero when the
//       engine accepts it (its system dictionary is there); the user
//       dictionaries named in it are used from then on, those that cannot be
//       read are left out.
//   int JK_Transfer(int mode, int sourceCodePage, int outputCodePage,
//                   const char* source, char* output, int* length,
//                   void* alignment, int* alignmentCount)
//       mode 0 translates, mode 2 converts character by character (kanji to
//       Korean hanja). sourceCodePage 932; outputCodePage 949 (KS code) or
//       10932 (GM code). *length: in, the bytes output may take; out, the
//       bytes written (a NUL follows only when they fit). For mode 0 the
//       alignment table goes into alignment (null: none is wanted), whose
//       room in 260-byte entries *alignmentCount gives; out, the entries
//       written with the header. 0 on success, else a negative LomiError and
//       nothing written.
//   int Lomi_ReKrnGenerate(char* output, int capacity, void* table)
//       The Korean text rebuilt from an alignment table (its entries' word
//       data, as a word chooser may have changed them), in GM code and
//       NUL-terminated; the entries' Korean ranges follow the new text.
//       Returns the length, or a negative LomiError (output then empty).
//   int CheckIfUDicFile_JK(const char* path)
//       Non-zero when path + ".DIC" is a user dictionary of the engine.
//   int nCreatUserDic_JK(const char* path)
//       Creates an empty user dictionary path + ".DIC"; 0 on success. A file
//       that exists already is never overwritten.
//
// The user-dictionary calls. A user dictionary is named by its digit ('0',
// '1', '2': the configuration's slots 1-3; digit values 0-2 are taken too)
// and, where a name is passed, by its path as configured. Entry numbers are
// 1-based positions in the dictionary, whose entries are in byte order of
// their Japanese words; an entry number changes when an entry before it is
// added or removed, so every write checks that the record it is given still
// names the entry it means. Records carry translations in KS code, except
// those given to nUpdateUserDic_JK, which are in GM code.
//   int nReadDORizData(const char* word, int dictionary, void* records,
//                      int* reserved, int constant, int capacity)
//       The candidates of word (Shift-JIS, at most 200 bytes) in dictionary
//       0-2 (user) or 4 (system), in their order; fills at most capacity
//       records and returns how many there are (0: none; negative: error).
//   int nDORizOrderChange(char digit, void* records, int count, int index,
//                         int to)
//       Moves candidate index (of records, as nReadDORizData returned them
//       for the dictionary of digit '0'-'2' or '4') to the neighbouring place
//       to. 0 when moved; -12 when a verb or adjective and a word of another
//       part of speech would change places; other negatives: refused. The
//       records themselves are left as they are.
//   int nGetUserDicInfo_JK(char* digit, char* name, int* count)
//       With a name (the buffer holds kUserDicPathBytes bytes) that is a
//       configured dictionary's path: its digit and count. Otherwise the
//       dictionary of *digit: its path into name (empty when the slot is
//       unused) and its count. 0, or a negative LomiError.
//   int nListDataFromUserDic_JK(const char* name, int digit, int step,
//                               void* records, int count)
//       Entries by number from the entry number in the first record's
//       kCandidateNumber field (-1: from the first, or from the last going
//       backward): step 2 those after it, -2 those before it (nearest
//       first), 1 and -1 the same including it. The digit is in the low
//       byte; the other bits are all ones for backward reads. Returns the
//       records filled (0: none).
//   int nUpdateUserDic_JK(const char* name, char digit, void* record,
//                         int operation)
//       Operation 0 adds the record's entry, 1 replaces the entry of its
//       number, 2 deletes the entry of its number. 0 on success, the entry's
//       number then in the record; -2 (kLomiDuplicate) when another entry
//       holds the same word and translation, whose number is then in the
//       record; other negative values: nothing changed.
#pragma once
#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#define LOMI_API __cdecl
#else
#define LOMI_API
#endif

namespace lomi {

inline constexpr std::size_t kUserDicPathBytes = 516;
inline constexpr int kUserDicSlots = 3;

// The configuration record: 1852 bytes, passed by value.
struct JKTransConfig {
  char userDic[kUserDicSlots][kUserDicPathBytes];  // NUL-terminated paths without extension, empty when unused
  int32_t option[9];                                // the workbench sends 1, 0, 0, 1, 1, 0, 0, 2, 0
  int32_t reserved;                                 // 0
  char path[260];                                   // NUL-terminated, empty
  int32_t lastOption;                               // 1
};
static_assert(sizeof(JKTransConfig) == 1852);
static_assert(offsetof(JKTransConfig, userDic) == 0);
static_assert(offsetof(JKTransConfig, option) == 1548);
static_assert(offsetof(JKTransConfig, reserved) == 1584);
static_assert(offsetof(JKTransConfig, path) == 1588);
static_assert(offsetof(JKTransConfig, lastOption) == 1848);

// ---- alignment entries ----
// Entry 0 is a header whose first 32-bit word is the number n of entries
// that follow; entries 1..n each describe one word of the translation, in
// the order of the Korean text. Integers are 32-bit little-endian.
inline constexpr std::size_t kEntrySize = 260;
inline constexpr std::size_t kKoreanOffset = 0;     // byte offset of the Korean word in the Korean text
inline constexpr std::size_t kKoreanLength = 4;
inline constexpr std::size_t kJapaneseOffset = 8;   // byte offset of the Japanese word in the source text
inline constexpr std::size_t kJapaneseLength = 12;
inline constexpr std::size_t kDataIndex = 16;       // the entry that carries the word's data
inline constexpr std::size_t kWordData = 24;        // the Korean word in GM code, NUL-terminated
inline constexpr std::size_t kWordDataBytes = 100;
inline constexpr std::size_t kWordAttributes = 166;  // 8 bytes, then one more at 174
inline constexpr std::size_t kWordAttribute = 174;
inline constexpr std::size_t kPartOfSpeech = 244;    // 9 bytes: type, subtype, third, ...
inline constexpr std::size_t kPartOfSpeechBytes = 9;
// The engine's own bytes of an entry: how the word joins the text before it
// and, for a word with two forms, both of them.
inline constexpr std::size_t kTokenKind = 20;        // TokenKind
inline constexpr std::size_t kAlternation = 21;      // Alternation
inline constexpr std::size_t kForms = 124;           // form after a vowel NUL form after a consonant NUL (GM code)
inline constexpr std::size_t kFormsBytes = 42;

// ---- the dictionary calls' candidate record ----
inline constexpr std::size_t kCandidateSize = 156;
inline constexpr std::size_t kCandidateSource = 0;        // the Japanese word, NUL-terminated
inline constexpr std::size_t kCandidateListedSource = 42;  // the same in records listed one by one
inline constexpr std::size_t kCandidateKorean = 84;       // the translation, NUL-terminated
inline constexpr std::size_t kCandidateCarried = 126;     // 9 bytes that go into an alignment entry (166-174)
inline constexpr std::size_t kCandidatePartOfSpeech = 136;  // type, subtype, third
inline constexpr std::size_t kCandidateHanjaFlag = 140;   // 32-bit
inline constexpr std::size_t kCandidateDictionary = 144;  // 32-bit: 0-2 user dictionaries 1-3, 4 system
inline constexpr std::size_t kCandidateNumber = 148;      // 32-bit entry number in its dictionary
inline constexpr std::size_t kCandidateWordBytes = 42;    // room of each of the two words

// The record itself, as the callers lay it out.
struct DicCandidateRecord {
  char source[42];          // the Japanese word (Shift-JIS)
  char listedSource[42];    // the same, in records listed one by one
  char korean[42];          // the translation
  uint8_t carried[9];       // travel with the translation into an alignment entry
  uint8_t reserved1;
  uint8_t partOfSpeech[3];  // type, subtype, third (signed)
  uint8_t reserved2;
  int32_t hanjaFlag;        // 0 or 1
  int32_t dictionary;       // 0-2 user dictionaries 1-3, 4 system
  int32_t number;           // entry number in its dictionary
  uint8_t reserved3[4];
};
static_assert(sizeof(DicCandidateRecord) == kCandidateSize);
static_assert(offsetof(DicCandidateRecord, source) == kCandidateSource);
static_assert(offsetof(DicCandidateRecord, listedSource) == kCandidateListedSource);
static_assert(offsetof(DicCandidateRecord, korean) == kCandidateKorean);
static_assert(offsetof(DicCandidateRecord, carried) == kCandidateCarried);
static_assert(offsetof(DicCandidateRecord, partOfSpeech) == kCandidatePartOfSpeech);
static_assert(offsetof(DicCandidateRecord, hanjaFlag) == kCandidateHanjaFlag);
static_assert(offsetof(DicCandidateRecord, dictionary) == kCandidateDictionary);
static_assert(offsetof(DicCandidateRecord, number) == kCandidateNumber);

// The system dictionary's number in the candidate calls.
inline constexpr int kSystemDictionary = 4;
// Operations of nUpdateUserDic_JK.
enum UserDicOperation : int { kUdicAdd = 0, kUdicModify = 1, kUdicDelete = 2 };
// Steps of nListDataFromUserDic_JK.
inline constexpr int kListForward = 2, kListBackward = -2, kListAtForward = 1, kListAtBackward = -1;

// Results of the calls.
enum LomiError : int {
  kLomiOk = 0,
  kLomiBadArgument = -1,     // a null pointer, an unknown mode or code page
  kLomiOutputFull = -2,      // the output's room is too small
  kLomiAlignmentFull = -3,   // the alignment table's room is too small
  kLomiNotConfigured = -4,   // no system dictionary
  kLomiBadTable = -5,        // an alignment table the engine did not write
  kLomiFileError = -6,       // a user dictionary cannot be read or written
  kLomiExists = -7,          // the user dictionary file exists already
  kLomiStale = -8,           // a record that no longer names its entry
  kLomiDuplicate = -2,       // nUpdateUserDic_JK: the same entry is there already
  kLomiMixedInflecting = -12,  // nDORizOrderChange: a verb or adjective and another word
};

// Modes and code pages of JK_Transfer.
inline constexpr int kModeTranslate = 0;
inline constexpr int kModeCharacters = 2;
inline constexpr int kJapaneseCodePage = 932;
inline constexpr int kKsCodePage = 949;
inline constexpr int kGmCodePage = 10932;

}  // namespace lomi

extern "C" {
typedef int(LOMI_API* SetJKTransConfigureFn)(lomi::JKTransConfig config);
typedef int(LOMI_API* JKTransferFn)(int mode, int sourceCodePage, int outputCodePage, const char* source,
                                    char* output, int* length, void* alignment, int* alignmentCount);
typedef int(LOMI_API* LomiReKrnGenerateFn)(char* output, int capacity, void* table);
typedef int(LOMI_API* CheckIfUDicFileFn)(const char* path);
typedef int(LOMI_API* CreatUserDicFn)(const char* path);
typedef int(LOMI_API* ReadDORizDataFn)(const char* word, int dictionary, void* records, int* reserved, int constant,
                                       int capacity);
typedef int(LOMI_API* DORizOrderChangeFn)(char digit, void* records, int count, int index, int to);
typedef int(LOMI_API* GetUserDicInfoFn)(char* digit, char* name, int* count);
typedef int(LOMI_API* ListDataFromUserDicFn)(const char* name, int digit, int step, void* records, int count);
typedef int(LOMI_API* UpdateUserDicFn)(const char* name, char digit, void* record, int operation);
}
