#include "user_words.h"

namespace ime {

const char kBadReadingText[] =
    "\x93\xc7\x82\xdd\x82\xaa\x90\xb3\x82\xb5\x82\xad\x93\xfc\x97\xcd\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9"
    "\x82\xf1";
const char kBadWordText[] =
    "\x8c\xea\x8b\xe5\x82\xaa\x90\xb3\x82\xb5\x82\xad\x93\xfc\x97\xcd\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9"
    "\x82\xf1";
const char kSameWordText[] =
    "\x93\xaf\x82\xb6\x92\x50\x8c\xea\x82\xaa\x93\x6f\x98\x5e\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb7";
const char kTooManyWordsText[] =
    "\x93\xaf\x89\xb9\x88\xd9\x8b\x60\x8c\xea\x82\xcc\x93\x6f\x98\x5e\x90\x94\x82\xaa\x8d\xc5\x91\xe5\x82\xf0\x92\xb4"
    "\x82\xa6\x82\xdc\x82\xb7";
const char kRegisterQuestion[] = "\x92\x50\x8c\xea\x82\xf0\x93\x6f\x98\x5e\x82\xb5\x82\xdc\x82\xb7";
const char kDeleteQuestion[] = "\x92\x50\x8c\xea\x82\xf0\x8d\xed\x8f\x9c\x82\xb5\x82\xdc\x82\xb7";
const char kRegisterFailedText[] =
    "\x92\x50\x8c\xea\x82\xcc\x93\x6f\x98\x5e\x82\xaa\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1";
const char kDeleteFailedText[] =
    "\x92\x50\x8c\xea\x82\xcc\x8d\xed\x8f\x9c\x82\xaa\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1";
const char kWordDialogCaption[] = "\x8e\xab\x8f\x91\x95\xd2\x8f\x57";

namespace {

// Walks more entries than this only in a broken file.
constexpr size_t kMostWalked = 100000;

void Tell(UserFeedback* dialog, const char* text) {
  if (dialog) dialog->ShowMessage(text, kMbIconExclamation);
}

bool Confirmed(UserFeedback* dialog, const char* question) {
  return dialog->ShowCaptionedMessage(question, kWordDialogCaption, kMbYesNo | kMbIconQuestion) == kIdYes;
}

bool BadReading(const std::string& reading) {
  return reading.empty() || (reading[0] >= '0' && reading[0] <= '9') || reading.size() > kMaxUserReading;
}

bool BadWord(const std::string& word) { return word.empty() || word.size() > kMaxUserWord; }

// With access open: the pair may be added. Shows the refusal.
bool MayAdd(dic::DicEngine& dictionary, UserFeedback* dialog, const dic::DicRequest& request) {
  if (BadReading(request.reading)) {
    Tell(dialog, kBadReadingText);
    return false;
  }
  if (BadWord(request.word)) {
    Tell(dialog, kBadWordText);
    return false;
  }
  dic::DicRequest walk;
  walk.reading = request.reading;
  size_t offered = 0;
  int rc = dictionary.DicSearch(walk);
  for (; rc == dic::kFound && offered < kMostWalked; rc = dictionary.DicSearchNext(walk, 1)) {
    if (walk.foundWord == request.word) {
      Tell(dialog, kSameWordText);
      return false;
    }
    ++offered;
  }
  if (rc < 0) return false;  // the engine has reported the file error
  if (offered >= kMaxWordsPerReading) {
    Tell(dialog, kTooManyWordsText);
    return false;
  }
  return true;
}

}  // namespace

uint8_t UserWordKind(unsigned conversionMode) {
  return (conversionMode & dic::kAltKindModeBit) ? dic::kKindUserWordAlt : dic::kKindUserWord;
}

int RegisterUserWord(dic::DicEngine& dictionary, UserFeedback* dialog, dic::DicRequest& request,
                     unsigned conversionMode) {
  if (dictionary.ReadOnly()) return kUserWordFailed;
  dictionary.SetKindMask(conversionMode);
  if (dictionary.DicBeginAccess() != 0) return kUserWordFailed;
  if (!MayAdd(dictionary, dialog, request)) {
    dictionary.DicEndAccess();
    return kUserWordFailed;
  }
  if (dialog) {
    dictionary.DicEndAccess();
    if (!Confirmed(dialog, kRegisterQuestion)) return kUserWordDone;  // declined: nothing changed
    dictionary.SetKindMask(conversionMode);
    if (dictionary.DicBeginAccess() != 0) return kUserWordFailed;
    if (!MayAdd(dictionary, dialog, request)) {
      dictionary.DicEndAccess();
      return kUserWordFailed;
    }
  }
  request.value = 0;
  request.kind = UserWordKind(conversionMode);
  request.state = ' ';
  // The engine writes the header back with the new counts.
  const int rc = dictionary.DicAddWord(request);
  dictionary.DicEndAccess();
  if (rc != 0) {
    Tell(dialog, kRegisterFailedText);
    return kUserWordFailed;
  }
  return kUserWordDone;
}

int DeleteUserWord(dic::DicEngine& dictionary, UserFeedback* dialog, dic::DicRequest& request,
                   unsigned conversionMode) {
  if (dictionary.ReadOnly()) return kUserWordFailed;
  dictionary.SetKindMask(conversionMode);
  if (dictionary.DicBeginAccess() != 0) return kUserWordFailed;
  int refusal = 0;
  if (BadReading(request.reading)) {
    Tell(dialog, kBadReadingText);
    refusal = kUserWordBadReading;
  } else if (BadWord(request.word)) {
    Tell(dialog, kBadWordText);
    refusal = kUserWordBadWord;
  }
  dictionary.DicEndAccess();
  if (refusal != 0) return refusal;
  if (dialog && !Confirmed(dialog, kDeleteQuestion)) return kUserWordDone;  // declined: nothing changed
  // The question was asked without holding the file: access begins again.
  dictionary.SetKindMask(conversionMode);
  if (dictionary.DicBeginAccess() != 0) return kUserWordFailed;
  const int rc = dictionary.DicDeleteWord(request);
  dictionary.DicEndAccess();
  if (rc != 0) {
    Tell(dialog, kDeleteFailedText);
    return kUserWordDeleteFailed;
  }
  return kUserWordDone;
}

std::vector<std::string> ListUserWords(dic::DicEngine& dictionary, const std::string& reading,
                                       unsigned conversionMode) {
  std::vector<std::string> words;
  if (reading.empty() || reading.size() > kMaxUserReading) return words;
  dictionary.SetKindMask(conversionMode);
  dic::DicRequest walk;
  walk.reading = reading;
  for (int rc = dictionary.DicSearch(walk); rc == dic::kFound && words.size() < kMaxWordsPerReading;
       rc = dictionary.DicSearchNext(walk, 1)) {
    words.push_back(walk.foundWord);
  }
  dictionary.DicEndAccess();
  return words;
}

}  // namespace ime
