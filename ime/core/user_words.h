// User word registration: the checks, the confirmation and the dictionary
// calls by which the user adds and removes (reading, word) pairs of their
// own in the open dictionary, for the register-word dialog and for the
// word-registration entry points that applications call. Readings and words
// are GM95 bytes.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "dic_engine.h"
#include "feedback.h"

namespace ime {

// Results of RegisterUserWord and DeleteUserWord.
constexpr int kUserWordDone = 0;
constexpr int kUserWordFailed = -1;        // refused, or the dictionary cannot be used
constexpr int kUserWordBadReading = 1;     // DeleteUserWord only (RegisterUserWord gives -1)
constexpr int kUserWordBadWord = 2;        // DeleteUserWord only
constexpr int kUserWordDeleteFailed = 3;

constexpr size_t kMaxUserReading = 32;   // bytes
constexpr size_t kMaxUserWord = 16;      // bytes of a registered word
constexpr size_t kMaxWordsPerReading = 128;  // offered in one mode

// MessageBox values of the confirmation.
constexpr unsigned kMbYesNo = 0x04;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr int kIdYes = 6;

// Texts of the registration (code page 932).
extern const char kBadReadingText[];      // 読みが正しく入力されていません
extern const char kBadWordText[];         // 語句が正しく入力されていません
extern const char kSameWordText[];        // 同じ単語が登録されています
extern const char kTooManyWordsText[];    // 同音異義語の登録数が最大を超えます
extern const char kRegisterQuestion[];    // 単語を登録します
extern const char kDeleteQuestion[];      // 単語を削除します
extern const char kRegisterFailedText[];  // 単語の登録ができません
extern const char kDeleteFailedText[];    // 単語の削除ができません
extern const char kWordDialogCaption[];   // 辞書編集

// The kind of a word the user registers in a conversion mode: 0x11, or
// 0x12 when the mode has the alternative bit 0x1000.
uint8_t UserWordKind(unsigned conversionMode);

// Adds request.word under request.reading as a user word of the mode.
// dialog: the feedback of the register-word dialog, which shows the
// refusals and asks for confirmation; null for the silent road of the
// entry points, which shows nothing of its own and does not ask. The
// dictionary is not held while the question is open, and the checks are
// made again after it, since another process may have changed the file.
// kUserWordDone (also when the user declines: nothing is changed, and the
// dialog starts afresh) or kUserWordFailed.
int RegisterUserWord(dic::DicEngine& dictionary, UserFeedback* dialog, dic::DicRequest& request,
                     unsigned conversionMode);

// Removes the user's word (reading, word) offered in the mode: done (also
// when the user declines, with nothing changed), bad reading, bad word, delete failed (not stored, or the file
// refused the change) or failed (the dictionary cannot be accessed).
int DeleteUserWord(dic::DicEngine& dictionary, UserFeedback* dialog, dic::DicRequest& request,
                   unsigned conversionMode);

// Every word of the reading offered in the mode, in conversion order, at
// most kMaxWordsPerReading.
std::vector<std::string> ListUserWords(dic::DicEngine& dictionary, const std::string& reading,
                                       unsigned conversionMode);

}  // namespace ime
