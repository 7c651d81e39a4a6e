// The document side of the view: the lines the view shows and edits. The
// view edits a line only in its own caret-line buffer and stores it back with
// SetLine; it changes the line structure only through InsertLine and
// DeleteLine.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace editorview {

// Line-count limits of the documents: the editor's, and the listening
// program's and the text player's.
inline constexpr int kEditorLineLimit = 999999;
inline constexpr int kForkLineLimit = 99999;

class LineDocument {
 public:
  virtual ~LineDocument() = default;
  // Always at least 1.
  virtual int LineCount() const = 0;
  // Line index (0 <= index < LineCount()), without a line end and shorter
  // than the view's caret-line buffer (32768 bytes with its NUL). The view
  // holds the result only until it changes the document.
  virtual std::string_view GetLine(int index) const = 0;
  // Stores text as line index.
  virtual void SetLine(int index, std::string_view text) = 0;
  // Inserts an empty line before index (index == LineCount() appends);
  // false when the document refuses (line limit, memory).
  virtual bool InsertLine(int index) = 0;
  // Removes line index; the last remaining line is emptied instead.
  virtual void DeleteLine(int index) = 0;
  virtual void SetModifiedFlag(bool modified = true) = 0;
};

// Lines in memory, in a gap buffer of strings, so that runs of line
// insertions and removals at one place (a paste, a multi-line delete) cost
// no more than the lines they touch.
class MemoryDocument final : public LineDocument {
 public:
  // InsertLine refuses while the document holds more than lineLimit lines.
  explicit MemoryDocument(int lineLimit = kEditorLineLimit);

  int LineCount() const override { return static_cast<int>(Size()); }
  std::string_view GetLine(int index) const override { return At(static_cast<size_t>(index)); }
  void SetLine(int index, std::string_view text) override;
  bool InsertLine(int index) override;
  void DeleteLine(int index) override;
  void SetModifiedFlag(bool modified = true) override { modified_ = modified; }
  bool IsModified() const { return modified_; }

  // One empty line.
  void ResetLines();
  // The lines of text: LF ends a line; CR and control bytes other than TAB
  // are dropped; a line is cut (at a UTF-8 character start) before it would
  // reach kMaxLineBytes. No more lines than the limit are taken.
  void LoadText(std::string_view text);
  void Assign(std::vector<std::string> lines);
  // Every line followed by LF, but the last.
  std::string Text() const;

  static constexpr size_t kMaxLineBytes = 32764;

 private:
  size_t Size() const { return lines_.size() - (gapEnd_ - gapBegin_); }
  size_t Physical(size_t index) const { return index < gapBegin_ ? index : index + (gapEnd_ - gapBegin_); }
  const std::string& At(size_t index) const { return lines_[Physical(index)]; }
  void MoveGap(size_t to);
  void Grow();

  int lineLimit_;
  bool modified_ = false;
  std::vector<std::string> lines_;
  size_t gapBegin_ = 0;
  size_t gapEnd_ = 0;
};

}  // namespace editorview
