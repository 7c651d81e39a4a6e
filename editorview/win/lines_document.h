// A framework document whose lines the Hangul editor view shows and edits:
// the document of the programs' views over a line store of their own
// (editorview::MemoryDocument, or a store that keeps data per line). It has
// no file behind it unless a derived document reads and writes one.
#pragma once
#include <string_view>
#include <utility>

#include "line_document.h"
#include "sdi.h"

namespace editorview {

// Lines: a LineDocument with ResetLines() (one empty line again).
template <class Lines>
class LinesDocumentOf : public fw::Document, public LineDocument {
 public:
  template <class... Args>
  explicit LinesDocumentOf(fw::DocumentUi& ui, Args&&... args) : fw::Document(ui), lines(std::forward<Args>(args)...) {}
  int LineCount() const override { return lines.LineCount(); }
  std::string_view GetLine(int index) const override { return lines.GetLine(index); }
  void SetLine(int index, std::string_view text) override { lines.SetLine(index, text); }
  bool InsertLine(int index) override { return lines.InsertLine(index); }
  void DeleteLine(int index) override { lines.DeleteLine(index); }
  void SetModifiedFlag(bool modified = true) override { fw::Document::SetModifiedFlag(modified); }
  Lines lines;

 protected:
  void DeleteContents() override { lines.ResetLines(); }
  bool ReadFile(std::u16string_view) override { return false; }
  bool WriteFile(std::u16string_view) override { return false; }
};

}  // namespace editorview
