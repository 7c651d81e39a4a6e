// Find and replace: line by line from the caret, forwards or backwards,
// without wrapping around.
#include "find_match.h"
#include "view_engine.h"

namespace editorview {

bool ViewEngine::FindNext(std::string_view text, bool forward, bool matchCase) {
  if (text.empty()) return false;
  WaitScope wait(host_);
  CommitLineBuffer();
  const std::string_view caretLine = LineBuffer();
  // A selection in the caret line is passed over: the search starts behind
  // it (forwards) or ends before it (backwards).
  const bool selectionHere = HasSelection() && selStart_.line == caretLine_ && selEnd_.line == caretLine_;
  int line = caretLine_;
  int offset = -1;
  if (forward) {
    const int start = selectionHere ? selEnd_.offset : caretOffset_;
    offset = FindForwardInLine(code_, caretLine.substr(static_cast<size_t>(start)), text, matchCase);
    if (offset >= 0) offset += start;
    while (offset < 0 && line < LastLine()) {
      ++line;
      offset = FindForwardInLine(code_, doc_.GetLine(line), text, matchCase);
    }
  } else {
    const int end = selectionHere ? selStart_.offset : caretOffset_;
    offset = FindBackwardInLine(code_, caretLine.substr(0, static_cast<size_t>(end)), text, matchCase);
    while (offset < 0 && line > 0) {
      --line;
      offset = FindBackwardInLine(code_, doc_.GetLine(line), text, matchCase);
    }
  }
  if (offset < 0) return false;
  const int length = static_cast<int>(text.size());
  SetSelection({line, offset}, {line, offset + length});
  SetCaretLine(line);
  caretOffset_ = forward ? offset + length : offset;
  host_.Invalidate();
  UpdateCaretPosition();
  return true;
}

bool ViewEngine::SetFindText(std::string_view text, bool forward, bool matchCase) {
  lastSearch_ = std::string(text);
  lastMatchCase_ = matchCase;
  const bool found = FindNext(text, forward, matchCase);
  if (!found) ShowNotFound();
  return found;
}

void ViewEngine::ShowNotFound() { host_.Notify(Notice::kNotFound); }

bool ViewEngine::SelectionMatches(std::string_view text, bool matchCase) const {
  if (!HasSelection() || selStart_.line != selEnd_.line) return false;
  if (selEnd_.offset - selStart_.offset != static_cast<int>(text.size())) return false;
  return MatchesAt(LineText(selStart_.line), selStart_.offset, text, matchCase);
}

bool ViewEngine::ReplaceSelection(std::string_view replace) {
  if (!HasSelection() || selStart_.line != selEnd_.line) return false;
  const std::string bytes = ControlBytesAsBlanks(replace);
  SetCaretLine(selStart_.line);
  const int from = selStart_.offset;
  const int removed = selEnd_.offset - from;
  // The line must stay within its buffer: refused like any insertion that
  // would not fit.
  if (static_cast<long long>(length_) - removed + static_cast<long long>(bytes.size()) >= kInsertLimit) {
    Beep();
    return false;
  }
  undo_.text = SelectedText();
  undo_.start = selStart_;
  undo_.end = {};
  RemoveBytes(from, removed);
  InsertBytes(from, bytes);
  caretOffset_ = from + static_cast<int>(bytes.size());
  ClearSelection();
  CommitLineBuffer();
  if (!bytes.empty()) undo_.end = Caret();
  doc_.SetModifiedFlag();
  RelayoutCaretLine();
  UpdateCaretPosition();
  return true;
}

void ViewEngine::ReplaceAndFindNext(std::string_view find, std::string_view replace, bool matchCase) {
  if (SelectionMatches(find, matchCase) && !ReplaceSelection(replace)) return;
  if (!FindNext(find, true, matchCase)) ShowNotFound();
}

void ViewEngine::ReplaceAll(std::string_view find, std::string_view replace, bool matchCase) {
  if (!SelectionMatches(find, matchCase)) {
    if (!FindNext(find, true, matchCase)) ShowNotFound();
    return;
  }
  // Every search starts behind the last replacement, so the run ends even
  // when the replacement holds the search text.
  while (ReplaceSelection(replace) && FindNext(find, true, matchCase)) {
  }
}

}  // namespace editorview
