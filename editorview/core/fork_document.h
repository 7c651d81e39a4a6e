// The document of the forks' views in the listening program and the text
// player: the lines of the Korean pane in memory, at most 99999 lines before
// an insertion is refused; a new or cleared document holds one empty line.
// It is never read from or written to a file.
#pragma once
#include "document.h"
#include "line_document.h"

namespace editorview {

class ForkLineDocument : public fw::Document, public LineDocument {
 public:
  explicit ForkLineDocument(fw::DocumentUi& ui) : fw::Document(ui), lines_(kForkLineLimit) {}

  int LineCount() const override { return lines_.LineCount(); }
  std::string_view GetLine(int index) const override { return lines_.GetLine(index); }
  void SetLine(int index, std::string_view text) override { lines_.SetLine(index, text); }
  bool InsertLine(int index) override { return lines_.InsertLine(index); }
  void DeleteLine(int index) override { lines_.DeleteLine(index); }
  void SetModifiedFlag(bool modified = true) override { fw::Document::SetModifiedFlag(modified); }
  // All lines gone, one empty line left.
  void ClearLines() { lines_.ResetLines(); }
  // Every line followed by LF, but the last.
  std::string Text() const { return lines_.Text(); }

 protected:
  void DeleteContents() override { lines_.ResetLines(); }
  bool ReadFile(std::u16string_view) override { return false; }
  bool WriteFile(std::u16string_view) override { return false; }

 private:
  MemoryDocument lines_;
};

}  // namespace editorview
