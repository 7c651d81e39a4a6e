// The document the editor's template makes, and the one place that knows
// its class, so that the template, the view and the dialogs take it through
// fw::Document and editorview::LineDocument.
#pragma once

#include <memory>

#include "document.h"
#include "line_document.h"

namespace brisel {

struct EditorSettings;

// The template's document: fw::Document with the view's lines.
struct EditorDocumentParts {
  fw::Document* document = nullptr;
  editorview::LineDocument* lines = nullptr;
};
std::unique_ptr<fw::Document> MakeEditorDocument(fw::DocumentUi& ui, EditorSettings& settings);
EditorDocumentParts EditorDocumentOf(fw::Document& document);

}  // namespace brisel
