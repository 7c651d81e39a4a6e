// What the editor's document needs from around it: the application's file
// codes, the view (its font's code, its caret-line buffer), the messages to
// the user, and the file system. The Win32 shell (editor/doc/win) implements
// them over the real system, the tests over memory.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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
};

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
