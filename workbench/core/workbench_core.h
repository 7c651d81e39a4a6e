// The translation workbench's rules free of the window system: its command
// line, the engine's configuration record, the alignment table a
// translation returns (read bounded: the count clamped to the buffer, ranges
// outside the texts refused), counterpart search and word-pair selection,
// the input limit, the send sequence to the input method, the synthetic
// click's coordinates, character/byte offsets over Shift-JIS, the folder
// join and the Korean pane's lines with their data.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "line_document.h"
#include "lomi_api.h"

namespace workbench {

// ---- command line ----
struct StartArguments {
  uint32_t notifyWindow = 0;  // the input method's UI window
  uint32_t targetWindow = 0;  // the application window; 0: none
  int codeMode = 0;           // 1 KS, 0 GM
};
// " %d %d %d" after the program path; a missing number stays 0. Nothing
// when the code number is 0 (GM95, refused) or missing.
std::optional<StartArguments> ParseStartArguments(const char* arguments);

// ---- folders ----
// folder and name joined by one backslash, added only when folder does not
// end with one (or with '/'); an empty folder gives name.
std::string JoinPath(std::string_view folder, std::string_view name);

// ---- the engine's configuration ----
// The record the workbench sends: the three slots (paths longer than a
// slot holds are left empty), option words 1 0 0 1 1 0 0 2 0, reserved 0,
// empty path, last word 1.
lomi::JKTransConfig MakeTranslationConfig(const std::string slots[lomi::kUserDicSlots]);

// ---- input ----
inline constexpr int kInputLimit = 256;
enum class InputCheck { kEmpty, kTooLong, kOk };
InputCheck CheckInputLength(std::size_t bytes, int limit = kInputLimit);

// ---- alignment ----
struct AlignedPair {
  int index = 0;  // 1..n
  uint32_t koreanOffset = 0, koreanLength = 0;
  uint32_t japaneseOffset = 0, japaneseLength = 0;
  uint32_t dataIndex = 0;
};

// The alignment table of a translation as the workbench keeps it: the
// buffer the engine filled (entries of 260 bytes) and the two texts' lengths.
class AlignmentTable {
 public:
  // Nothing when the buffer holds no header. The count is clamped to the
  // entries the buffer holds; entries whose ranges leave the texts (or
  // whose data index is not an entry) are left out.
  static std::optional<AlignmentTable> Read(std::vector<uint8_t> buffer, std::size_t japaneseBytes,
                                            std::size_t koreanBytes);
  const std::vector<AlignedPair>& Pairs() const { return pairs_; }
  std::vector<uint8_t>& Buffer() { return buffer_; }
  const std::vector<uint8_t>& Buffer() const { return buffer_; }
  // Re-reads the ranges after the Korean text was rebuilt into koreanBytes.
  void Refresh(std::size_t koreanBytes);
  // The first pair whose range on a side holds offset.
  enum class Side { kJapanese, kKorean };
  const AlignedPair* Counterpart(Side side, uint32_t offset) const;
  // The pair whose range on a side is exactly [start, end) (length > 0).
  const AlignedPair* ExactPair(Side side, int start, int end) const;

 private:
  std::vector<uint8_t> buffer_;
  std::size_t japaneseBytes_ = 0;
  std::vector<AlignedPair> pairs_;
};

// ---- sending ----
inline constexpr int kMaxSendChars = 128;
// The wParams of one send: each character (first byte low, second byte
// high, 0 for a single byte) then 0xFFFF. Nothing when the text holds more
// than 128 characters. lead tells a double-byte character's first byte.
std::optional<std::vector<uint32_t>> PlanSend(std::string_view text, const std::function<bool(uint8_t)>& lead);

// ---- the synthetic click ----
struct ClickPoint {
  long x = 0, y = 0;
};
// The centre of a client rectangle (screen coordinates) in mouse_event's
// absolute units for a screen of width x height.
ClickPoint AbsoluteClickPoint(long left, long top, long right, long bottom, int width, int height);

// ---- offsets over Shift-JIS ----
// Character position to byte offset and back; a position the text does not
// reach comes back unchanged.
int CharToByteOffset(std::string_view sjis, int position);
int ByteToCharOffset(std::string_view sjis, int offset);

// ---- the window position ("WindowPos") ----
struct WindowPos {
  int flags = 0;
  int showCommand = 1;  // -1: no position saved
  long left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const WindowPos&) const = default;
};
// "%d,%d,%ld,%ld,%ld,%ld": flags, show command, normal rectangle.
std::string FormatWindowPos(const WindowPos& pos);
// Nothing unless the text holds the six numbers.
std::optional<WindowPos> ParseWindowPos(std::string_view text);
// Flags 0, show command 1, from a quarter to three quarters of the screen.
WindowPos DefaultWindowPos(int screenWidth, int screenHeight);
// Nothing is saved while the frame is minimized (2) or maximized (3).
inline bool SavesWindowPos(int showCommand) { return showCommand != 2 && showCommand != 3; }

// ---- the dictionary program ----
// The command line that starts the dictionary program on text: its path in
// quotes (an install folder may hold blanks), the text escaped and cut at
// an escape to the bytes the dictionary reads (so the line stays far below
// the system's limit), then ",direction,method,new-window setting,t".
// japanese: the text comes from the Japanese pane (direction 0), else from
// the Korean pane (direction 1).
std::string DictionaryCommandLine(std::string_view programPath, std::u16string_view text, bool japanese, int method,
                                  bool newWindowSetting);

// The processes the workbench started: at most 50. With the hand-over
// setting ("NotNwWindow" 1) only the first is kept (its slot filled once);
// a later one's handle is not kept, and the caller closes it.
class DictionaryProcesses {
 public:
  static constexpr int kMax = 50;
  bool Full() const { return count_ >= kMax; }
  // True when the table keeps handle.
  bool Record(uintptr_t handle, bool handOver);
  std::vector<uintptr_t> Handles() const;
  int Count() const { return count_; }

 private:
  int count_ = 0;
  uintptr_t slots_[kMax] = {};
};

// ---- the Korean pane's lines ----
// The document of the Korean pane: lines (at most 99999) and, per line, a
// data block (line 0's: the alignment table of the last translation). A
// line stored with another text than it had loses its data.
class PaneLines final : public editorview::LineDocument {
 public:
  static constexpr int kMaxLines = 99999;
  PaneLines();
  int LineCount() const override { return lines_.LineCount(); }
  std::string_view GetLine(int index) const override { return lines_.GetLine(index); }
  void SetLine(int index, std::string_view text) override;
  bool InsertLine(int index) override;
  void DeleteLine(int index) override;
  void SetModifiedFlag(bool modified = true) override { lines_.SetModifiedFlag(modified); }
  void ClearLines();
  void ResetLines() { ClearLines(); }
  // -1 when there is no line index.
  int SetLineData(int index, std::unique_ptr<AlignmentTable> data);
  AlignmentTable* LineData(int index) const;
  // Line 0 replaced by text with data (null: none).
  void SetText(std::string_view text, std::unique_ptr<AlignmentTable> data);

 private:
  editorview::MemoryDocument lines_;
  std::vector<std::unique_ptr<AlignmentTable>> data_;
};

}  // namespace workbench
