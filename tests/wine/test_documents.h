// Documents of the Windows test programs that show an editor view: lines
// in memory that the test fills and the view edits, and the framework's
// save questions with a save dialog that never gives a name.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "line_document.h"
#include "lines_document.h"
#include "sdi.h"

namespace wtest {

class LinesDocument : public editorview::LinesDocumentOf<editorview::MemoryDocument> {
 public:
  explicit LinesDocument(fw::DocumentUi& ui) : LinesDocumentOf(ui) {}
};

// The framework's save questions with a save dialog that never gives a name.
using NoSaveUi = fw::NeverSavingDocumentUi;

}  // namespace wtest
