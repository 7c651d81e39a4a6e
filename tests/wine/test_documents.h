// Documents of the Windows test programs that show an editor view: lines
// in memory that the test fills and the view edits, and the framework's
// save questions with a save dialog that never gives a name.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "line_document.h"
#include "sdi.h"

namespace wtest {

class LinesDocument : public fw::Document, public editorview::LineDocument {
 public:
  explicit LinesDocument(fw::DocumentUi& ui) : fw::Document(ui) {}
  int LineCount() const override { return lines.LineCount(); }
  std::string_view GetLine(int index) const override { return lines.GetLine(index); }
  void SetLine(int index, std::string_view text) override { lines.SetLine(index, text); }
  bool InsertLine(int index) override { return lines.InsertLine(index); }
  void DeleteLine(int index) override { lines.DeleteLine(index); }
  void SetModifiedFlag(bool modified = true) override { fw::Document::SetModifiedFlag(modified); }
  editorview::MemoryDocument lines;

 protected:
  void DeleteContents() override { lines.ResetLines(); }
  // No file behind it: opening and saving fail, unless a test's document
  // reads and writes one.
  bool ReadFile(std::u16string_view) override { return false; }
  bool WriteFile(std::u16string_view) override { return false; }
};

// The framework's save questions with a save dialog that never gives a name.
using NoSaveUi = fw::NeverSavingDocumentUi;

}  // namespace wtest
