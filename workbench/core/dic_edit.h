// The rules of the user-dictionary editor: the checks of a new or modified
// entry with their messages, the record it gives the engine, when the
// hanja-output box may be used, and the class change of a loaded entry.
// Source words are Shift-JIS, translations in the code of the mode (KS or
// GM); messages UTF-8.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "user_dic_engine.h"

namespace workbench {

inline constexpr std::size_t kEditorWordBytes = 40;

struct EntryCheck {
  bool ok = false;
  std::string message;  // the warning when not ok
  bool beep = false;    // a simple beep (the source word was cut)
  std::string source;   // the source word as the field then shows it
};
// Checks the source word and the translation. New entries have their
// source widened to double-byte characters and cut to 40 bytes.
EntryCheck CheckEntry(std::string_view sourceSjis, std::string_view translation, bool newEntry, bool ks);

// The record for nUpdateUserDic_JK: the translation in GM code (converted
// from KS in KS mode).
DicCandidateRecord MakeEntryRecord(std::string_view sourceSjis, std::string_view translation, bool ks,
                                   std::size_t classIndex, bool hanjaEnabled, bool hanjaChecked, int32_t number);

// Whether "漢字出力" may be used: a source word of kanji only and a class.
bool HanjaOutputEnabled(std::string_view sourceSjis, int classIndex);

// A loaded verb or adjective keeps its class.
bool ClassChangeAllowed(bool modifying, uint8_t entryType);

// KS text to GM code and back (double-byte characters; others kept).
std::string KsToGmBytes(std::string_view ks);
std::string GmToKsBytes(std::string_view gm);

// The source word without its trailing blanks.
std::string TrimTrailingBlanks(std::string_view text);

// The editor's texts.
inline constexpr std::string_view kEditCaption = "辞書編集";
inline constexpr std::string_view kNoSource = "原語（日本語）を入力してください。";
inline constexpr std::string_view kNoTranslation = "訳語（韓国語）を入力してください。";
inline constexpr std::string_view kSameEntry = "全く同じ内容を重複登録しようとしました。";
inline constexpr std::string_view kChooseEntry = "修正する訳語を一覧から選択してください！";
inline constexpr std::string_view kNoDictionary = "選択された日本語辞書はない！";
inline constexpr std::string_view kDeleteQuestion = "削除してもよろしいですか？";
inline constexpr std::string_view kClassFixed = "動詞・形容詞・形容動詞の品詞は変更できません。";
inline constexpr std::string_view kMemoryError = "Memory alloc error!";
inline constexpr std::string_view kRegisterNew = "新規登録";
inline constexpr std::string_view kRegisterModify = "修  正";

}  // namespace workbench
