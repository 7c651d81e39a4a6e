// What the editor's document needs from around it: the application's file
// codes, the view (its font's code, its caret-line buffer), the messages to
// the user, and the file system. The Win32 shell (editor/doc/win) implements
// them over the real system, the tests over memory.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "text_file.h"

namespace brisel {

// The application's file-code settings ("Control" "InFileType" 0..5 and
// "OutFileType" 0..4), set by the file dialog; read at every open and save.
struct FileCodeSettings {
  int inFileType = 0;
  int outFileType = 0;
};

enum class DocNotice : unsigned char {
  kBadFormat,    // "データの形式が正しくありません。": the file is not in the chosen code
  kNotAllRead,   // "最後までデータを読むことができません": more than 999999 lines
  kLineTooLong,  // "データの1行の長さが長すぎます。": a line was stored empty
  kOutOfMemory,  // MessageBeep(0): reading stopped where memory ran out
  kOpenFailed,   // string 61697 "ﾄﾞｷｭﾒﾝﾄを開くことに失敗しました。": the file could not be read
  kSaveFailed,   // "ﾌｧｲﾙを保存できませんでした。": the file could not be written; it is as it was
  kSaveOutOfMemory,  // memory ran out while saving; the file is as it was, the document kept
};

// Texts of the program's string table (the ids below); empty where it has none.
using StringSource = std::function<std::u16string(unsigned id)>;

// String ids of the document's messages beyond the fixed notices; the
// defaults serve where the string table has no text.
inline constexpr unsigned kIdsReadChangedHead = 62100;   // a read that changed the text: the first line
inline constexpr unsigned kIdsReadUndecodable = 62101;   // %1: lines
inline constexpr unsigned kIdsReadDropped = 62102;       // %1: control bytes
inline constexpr unsigned kIdsReadLoneCr = 62103;        // %1: CRs
inline constexpr unsigned kIdsReadSplit = 62104;         // %1: lines split
inline constexpr unsigned kIdsReadChangedTail = 62105;   // the plain save goes through "save as"
inline constexpr unsigned kIdsMissingChars = 62106;      // %1 code, %2 count, %3 character, %4 line
inline constexpr unsigned kIdsSaveOutOfMemory = 62107;
inline constexpr unsigned kIdsSaveCodeUtf8 = 62108;      // the status bar's code names ...
inline constexpr unsigned kIdsSaveCodeUnicode = 62109;
inline constexpr unsigned kIdsSaveCodeKs = 62110;
inline constexpr unsigned kIdsSaveCodeGm = 62111;

// The one message of a read whose text is not the file's as it stands
// (read.Changed()): what was changed, how often, and that a plain save asks
// for a name.
std::u16string ReadChangedMessage(const ReadOutcome& read, const StringSource& strings = {});
// The question before a save in a code that lacks characters of the text:
// how many, the first one and its line; OK chooses another code.
std::u16string MissingCharactersMessage(const MissingCharacters& missing, int outFileType,
                                        const StringSource& strings = {});
// The name of a writing code (OutFileType, the font's code resolved) as
// the status bar shows it.
std::u16string SaveCodeName(int outFileType, const StringSource& strings = {});
// The default text of a string id of the document.
std::u16string_view DefaultDocString(unsigned id);

enum class MissingAnswer : unsigned char { kOtherCode, kCancel };

// The text of a notice's message box (empty for the beep).
std::u16string_view NoticeText(DocNotice notice);

// The program around the document.
class DocumentHost {
 public:
  virtual ~DocumentHost() = default;
  // The view font's code: 1 GM (charset 128), 0 KS.
  virtual int FontCode() const = 0;
  // The view stores its caret-line buffer back into the document.
  virtual void CommitView() {}
  virtual void Notify(DocNotice notice) = 0;
  // A read changed the text (read.Changed()): told once, after the views
  // show the lines.
  virtual void NotifyReadChanged(const ReadOutcome& read) = 0;
  // The code about to be written lacks characters of the text.
  virtual MissingAnswer AskAboutMissing(const MissingCharacters& missing, int outFileType) = 0;
  // The code that a plain save will write changed (the status bar shows it).
  virtual void SaveCodeChanged(int /*outFileType*/) {}
};

// Whole files in and out. Writing never touches the file it replaces until
// the new contents are complete beside it.
class FileStore {
 public:
  virtual ~FileStore() = default;
  // The whole file; nothing when it cannot be read.
  virtual std::optional<std::string> ReadAll(std::u16string_view path) = 0;
  // A new file in the folder of path holding bytes, flushed and closed; its
  // name, or nothing when any step failed (the store removes what it began).
  virtual std::optional<std::u16string> WriteBeside(std::u16string_view path, std::string_view bytes) = 0;
  // The file temporary takes the place (and name) of path, replacing a file
  // there; false when that failed and path is as it was.
  virtual bool Replace(std::u16string_view path, std::u16string_view temporary) = 0;
  virtual void Remove(std::u16string_view path) = 0;
};

// bytes written to a file beside path that then replaces it; on any
// failure the file at path is untouched and nothing is left beside it.
bool SaveReplacing(FileStore& store, std::u16string_view path, std::string_view bytes);

}  // namespace brisel
