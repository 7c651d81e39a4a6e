// The workbench's help file and the context numbers of its topics: the main
// window and its command "目次", the four pages of the settings sheet and the
// user-dictionary dialogs.  Every help request of the workbench names one of
// these.
#pragma once

namespace workbench::help {

inline constexpr char kHelpFileName[] = "Dalmok.chm";  // in the program folder

inline constexpr unsigned long kHelpContextMain = 1;              // main window, 目次, F1
inline constexpr unsigned long kHelpContextDictionaryEditor = 18;  // 辞書編集
inline constexpr unsigned long kHelpContextWordChoice = 19;        // 訳語選択
inline constexpr unsigned long kHelpContextDictionaryChoice = 21;  // 辞書指定
inline constexpr unsigned long kHelpContextImePage = 25;           // 環境設定: 日本語IME
inline constexpr unsigned long kHelpContextVoicePage = 26;         // 環境設定: 音声
inline constexpr unsigned long kHelpContextDictionaryPage = 27;    // 環境設定: 韓日・日韓辞典
inline constexpr unsigned long kHelpContextFontPage = 28;          // 環境設定: ﾌｫﾝﾄ
inline constexpr unsigned long kHelpContextDictionaryList = 42;    // 辞書一覧

}  // namespace workbench::help
