// Editing keys, multi-line insert and delete, the one-level undo that
// toggles, the input method's result and the commands of the view.
#include <algorithm>
#include <cstring>

#include "view_engine.h"

namespace editorview {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

// ---- buffer primitives ----

void ViewEngine::InsertBytes(int offset, std::string_view bytes) {
  const size_t n = bytes.size();
  char* at = buffer_.data() + offset;
  std::memmove(at + n, at, static_cast<size_t>(length_ - offset));
  std::memcpy(at, bytes.data(), n);
  length_ += static_cast<int>(n);
  buffer_[static_cast<size_t>(length_)] = '\0';
  dirty_ = true;
  ++bufferVersion_;
}

void ViewEngine::RemoveBytes(int offset, int count) {
  char* at = buffer_.data() + offset;
  std::memmove(at, at + count, static_cast<size_t>(length_ - offset - count));
  length_ -= count;
  buffer_[static_cast<size_t>(length_)] = '\0';
  dirty_ = true;
  ++bufferVersion_;
}

// Typing, input-method results and Enter at the end of the last run extend
// it; an insertion at its start (after a run of deletions) ends the run
// there; anywhere else a new run begins.
void ViewEngine::NoteInsertion(TextPosition before, TextPosition after) {
  if (undo_.end == before || (undo_.start.offset >= 0 && undo_.start == before)) {
    undo_.end = after;
  } else {
    undo_ = {before, after, std::string()};
  }
}

// Delete presses at one place append to the last run of deletions;
// Backspace presses, whose text ends where the run began, go in front of it.
void ViewEngine::NoteRemoval(std::string_view removed, TextPosition removedEnd) {
  const bool deletion = undo_.start.offset >= 0 && undo_.end.offset < 0;
  if (deletion && undo_.start == Caret()) {
    undo_.text += removed;
  } else if (deletion && undo_.start == removedEnd) {
    undo_.text.insert(0, removed);
  } else {
    undo_.text = removed;
  }
  undo_.start = Caret();
  undo_.end = {};
}

void ViewEngine::FinishEdit() {
  CommitLineBuffer();
  doc_.SetModifiedFlag();
  RelayoutCaretLine();
  UpdateCaretPosition();
}

// ---- typing ----

void ViewEngine::Char(unsigned char byte, bool shift) {
  if (byte == '\r') {
    if (HasSelection() && !DeleteSelection()) return;
    if (!shift) {
      SplitLine();
    } else if (caretLine_ < LastLine()) {
      CommitLineBuffer();
      MoveTo({caretLine_ + 1, 0}, false);
    }
  } else if (byte == '\b') {
    OnBackspace();
  } else if (byte == '\t' || (byte >= 0x20 && byte != 0x7F)) {
    InsertTypedChar(byte);
  }
}

void ViewEngine::InsertTypedChar(unsigned char byte) {
  if (code_.Lines() == LineCode::kFontCode) {
    // A double-byte character arrives as its two bytes.
    if (pendingLead_ >= 0) {
      const char pair[2] = {static_cast<char>(pendingLead_), static_cast<char>(byte)};
      pendingLead_ = -1;
      InsertText(std::string_view(pair, 2));
      return;
    }
    if (code_.IsLeadByte(byte)) {
      pendingLead_ = byte;
      return;
    }
    if (byte >= 0x80) {
      const char single = static_cast<char>(byte);
      InsertText(std::string_view(&single, 1));
      return;
    }
  } else if (byte >= 0x80) {
    // A byte of the ANSI code page (half-width kana) from a non-Unicode keyboard path.
    const std::u16string unit = code_.Pages().ToUtf16(kJapaneseCodePage, std::string(1, static_cast<char>(byte)));
    if (!unit.empty()) InsertText(Utf16ToUtf8String(unit));
    return;
  }
  if (HasSelection() && !DeleteSelection()) return;
  if (length_ >= kTypedByteLimit) {
    Beep();
    return;
  }
  const TextPosition before = Caret();
  InsertBytes(caretOffset_, std::string_view(reinterpret_cast<const char*>(&byte), 1));
  ++caretOffset_;
  NoteInsertion(before, Caret());
  FinishEdit();
}

bool ViewEngine::InsertText(std::string_view text) {
  if (HasSelection() && !DeleteSelection()) return false;
  const std::string bytes = ControlBytesAsBlanks(text);
  if (static_cast<size_t>(length_) + bytes.size() >= static_cast<size_t>(kInsertLimit)) {
    Beep();
    return false;
  }
  const TextPosition before = Caret();
  InsertBytes(caretOffset_, bytes);
  caretOffset_ += static_cast<int>(bytes.size());
  NoteInsertion(before, Caret());
  FinishEdit();
  return true;
}

// ---- line structure ----

bool ViewEngine::SplitLine() {
  if (!doc_.InsertLine(caretLine_ + 1)) {
    Beep();
    return false;
  }
  NoteInsertion(Caret(), {caretLine_ + 1, 0});
  const std::string tail(LineBuffer().substr(static_cast<size_t>(caretOffset_)));
  length_ = caretOffset_;
  buffer_[static_cast<size_t>(length_)] = '\0';
  dirty_ = true;
  CommitLineBuffer();
  ClearStamps();
  caretLine_ += 1;
  LoadLineBuffer(tail);
  dirty_ = true;
  caretOffset_ = 0;
  host_.LineStatusChanged();
  FinishEdit();
  return true;
}

void ViewEngine::JoinNextLine() {
  if (caretLine_ >= LastLine()) return;
  const std::string next(doc_.GetLine(caretLine_ + 1));
  if (static_cast<size_t>(length_) + next.size() >= static_cast<size_t>(kLineBufferSize)) {
    Beep();
    // A Backspace has moved the caret to this line's end before: the
    // screen's caret follows it there.
    UpdateCaretPosition();
    return;
  }
  NoteRemoval(kLineEnd, {caretLine_ + 1, 0});
  InsertBytes(length_, next);
  CommitLineBuffer();
  doc_.DeleteLine(caretLine_ + 1);
  ClearStamps();
  host_.LineStatusChanged();
  FinishEdit();
}

void ViewEngine::DeleteForward() {
  if (HasSelection()) {
    DeleteSelection();
    return;
  }
  if (caretOffset_ >= length_) {
    if (caretLine_ == LastLine()) {
      Beep();
    } else {
      JoinNextLine();
    }
    return;
  }
  int n = code_.CharLength(buffer_.data(), caretOffset_, length_);
  if (buffer_[static_cast<size_t>(caretOffset_)] == '\r' && caretOffset_ + 1 < length_) n = 2;
  const std::string removed(LineBuffer().substr(static_cast<size_t>(caretOffset_), static_cast<size_t>(n)));
  NoteRemoval(removed, {caretLine_, caretOffset_ + n});
  RemoveBytes(caretOffset_, n);
  FinishEdit();
}

void ViewEngine::OnBackspace() {
  if (HasSelection()) {
    DeleteSelection();
    return;
  }
  if (Caret() == TextPosition{0, 0}) {
    Beep();
    return;
  }
  if (caretOffset_ > 0) {
    caretOffset_ = code_.PrevChar(buffer_.data(), caretOffset_, length_);
  } else {
    SetCaretLine(caretLine_ - 1);
    caretOffset_ = length_;
  }
  DeleteForward();
}

std::string ViewEngine::TextBetween(TextPosition start, TextPosition end) const {
  if (start.line == end.line) {
    return std::string(LineText(start.line).substr(static_cast<size_t>(start.offset),
                                                   static_cast<size_t>(end.offset - start.offset)));
  }
  std::string text(LineText(start.line).substr(static_cast<size_t>(start.offset)));
  for (int line = start.line + 1; line < end.line; ++line) {
    text += kLineEnd;
    text += LineText(line);
  }
  text += kLineEnd;
  text += LineText(end.line).substr(0, static_cast<size_t>(end.offset));
  return text;
}

bool ViewEngine::DeleteSelection() {
  if (!HasSelection()) return false;
  CommitLineBuffer();
  const TextPosition start = selStart_;
  const TextPosition end = selEnd_;
  if (start.line != end.line) {
    // The start line's head and the end line's tail become one line; when
    // they would not fit, nothing is deleted.
    const size_t tail = doc_.GetLine(end.line).size() - static_cast<size_t>(end.offset);
    if (static_cast<size_t>(start.offset) + tail >= static_cast<size_t>(kLineBufferSize)) {
      Beep();
      return false;
    }
  }
  undo_.text = TextBetween(start, end);
  undo_.start = start;
  undo_.end = {};
  SetCaretLine(start.line);
  caretOffset_ = start.offset;
  if (start.line == end.line) {
    RemoveBytes(start.offset, end.offset - start.offset);
  } else {
    const std::string tail(doc_.GetLine(end.line).substr(static_cast<size_t>(end.offset)));
    length_ = start.offset;
    buffer_[static_cast<size_t>(length_)] = '\0';
    InsertBytes(length_, tail);
    CommitLineBuffer();
    for (int line = start.line + 1; line <= end.line; ++line) doc_.DeleteLine(start.line + 1);
    ClearStamps();
    host_.LineStatusChanged();
  }
  ClearSelection();
  FinishEdit();
  return true;
}

// A segment of inserted text: the bytes up to LF, at most the bytes a line
// can take, ending on a character boundary. Pasted text loses its CRs and
// has its control bytes other than TAB as blanks; text that undo puts back
// keeps its bytes as the lines held them (its line ends are CR LF).
struct Segment {
  std::string bytes;
  bool lineEnd = false;
};

static Segment NextSegment(const TextCode& code, std::string_view text, size_t& pos, bool verbatim) {
  Segment s;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == '\n') {
      ++pos;
      s.lineEnd = true;
      break;
    }
    if (c == '\r' && (!verbatim || (pos + 1 < text.size() && text[pos + 1] == '\n'))) {
      ++pos;
      continue;
    }
    const int n = code.CharLength(text.data(), static_cast<int>(pos), static_cast<int>(text.size()));
    if (s.bytes.size() + static_cast<size_t>(n) > static_cast<size_t>(ViewEngine::kInsertLimit)) break;
    s.bytes.append(text.substr(pos, static_cast<size_t>(n)));
    pos += static_cast<size_t>(n);
  }
  if (!verbatim) s.bytes = ControlBytesAsBlanks(s.bytes);
  return s;
}

void ViewEngine::InsertMultilineText(std::string_view text, InsertRoom room) {
  if (!(undo_.start == Caret())) {
    undo_.text.clear();
    undo_.start = Caret();
  }
  // A line that ends with a pasted segment, and a line that a segment goes
  // into, may be at most this long.
  const size_t lineEndRoom = room == InsertRoom::kRestore ? kLongestLine : kSegmentLineLimit;
  const size_t lineRoom = room == InsertRoom::kRestore ? kLongestLine : kInsertLimit - 1;
  bool lineAdded = false;
  size_t pos = 0;
  while (pos < text.size()) {
    const Segment s = NextSegment(code_, text, pos, room == InsertRoom::kRestore);
    if (s.lineEnd) {
      if (static_cast<size_t>(caretOffset_) + s.bytes.size() > lineEndRoom) {
        Beep();
        break;
      }
      // The new line first: when the document refuses it, the caret line
      // keeps its bytes behind the caret.
      if (!doc_.InsertLine(caretLine_ + 1)) {
        Beep();
        break;
      }
      const std::string tail(LineBuffer().substr(static_cast<size_t>(caretOffset_)));
      length_ = caretOffset_;
      buffer_[static_cast<size_t>(length_)] = '\0';
      InsertBytes(length_, s.bytes);
      CommitLineBuffer();
      caretLine_ += 1;
      LoadLineBuffer(tail);
      dirty_ = true;
      caretOffset_ = 0;
      lineAdded = true;
    } else {
      if (static_cast<size_t>(length_) + s.bytes.size() > lineRoom) {
        Beep();
        break;
      }
      InsertBytes(caretOffset_, s.bytes);
      caretOffset_ += static_cast<int>(s.bytes.size());
    }
  }
  CommitLineBuffer();
  if (lineAdded) {
    ClearStamps();
    host_.LineStatusChanged();
  } else {
    slots_[GetLineSlot(caretLine_)].stamp = kNoStamp;
  }
  undo_.end = Caret();
}

// ---- undo ----

void ViewEngine::Undo() {
  if (undo_.start.offset < 0) return;
  const std::string text = std::move(undo_.text);
  undo_.text.clear();
  CommitLineBuffer();
  // A run that inserted nothing (a paste refused at its first segment) has
  // nothing to take away; its removed text still goes back.
  if (undo_.end.offset < 0 || undo_.end == undo_.start) {
    ClearSelection();
    SetCaretLine(undo_.start.line);
    caretOffset_ = undo_.start.offset;
  } else {
    SetSelection(undo_.start, undo_.end);
    if (!DeleteSelection()) {  // the removal would not fit: nothing changes
      undo_.text = text;
      return;
    }
  }
  if (!text.empty()) {
    const TextPosition start = undo_.start;
    // The text goes back where it was, into lines that held it before.
    InsertMultilineText(text, InsertRoom::kRestore);
    undo_.end = Caret();
    SetSelection(start, Caret());
  }
  doc_.SetModifiedFlag();
  Repaint();
  UpdateCaretPosition();
  host_.LineStatusChanged();
}

// ---- selection commands ----

void ViewEngine::SelectAll() {
  if (TextEmpty()) return;
  CommitLineBuffer();
  const TextPosition end{LastLine(), static_cast<int>(LineText(LastLine()).size())};
  SetSelection({0, 0}, end);
  SetCaretLine(end.line);
  caretOffset_ = end.offset;
  Repaint();
  UpdateCaretPosition();
}

void ViewEngine::Cut() {
  if (!HasSelection()) return;
  const std::string text = SelectedText();
  const bool copied = variant_.clipboard == ClipboardRule::kFork
                          ? ForkCopy(text)
                          : CopyToClipboard(text, Settings().pasteCode == 2 ? kCodeGm : kCodeKs);
  if (copied) DeleteSelection();
}

// ---- the input method's result ----

ImeResultRead ViewEngine::ImeResultMode() const {
  ImeResultRead read;
  if (variant_.imeResult == ImeResultRule::kFontCharset) {
    read.wide = !code_.GmFont();
  } else {
    read.wide = code_.Charset() == kHangeulCharset && Settings().unicodeImeResult;
  }
  read.limit = kImeResultLimit;
  return read;
}

bool ViewEngine::InsertConverted(std::string_view text) {
  if (code_.Lines() == LineCode::kFontCode) return InsertText(text);
  // A result of 1024 UTF-8 bytes or more is ignored.
  if (text.size() >= static_cast<size_t>(kImeUtf8Limit)) return false;
  return InsertText(text);
}

bool ViewEngine::InsertImeResult(std::u16string_view units) {
  if (units.empty() || units.size() >= static_cast<size_t>(kImeResultLimit)) return false;
  return InsertConverted(code_.FromUtf16(units));
}

bool ViewEngine::InsertImeResult(std::string_view bytes) {
  if (bytes.empty() || bytes.size() >= static_cast<size_t>(kImeResultLimit)) return false;
  if (code_.Lines() == LineCode::kFontCode) return InsertText(bytes);
  return InsertConverted(Utf16ToUtf8String(code_.CodeToUnicode(bytes, code_.FontCode())));
}

// ---- commands ----

bool ViewEngine::Command(unsigned id) {
  const bool fork = variant_.clipboard == ClipboardRule::kFork;
  switch (id) {
    case kCmdUndo: Undo(); return true;
    case kCmdCut: Cut(); return true;
    case kCmdDelete:
      if (HasSelection()) DeleteSelection();
      return true;
    case kCmdSelectAll: SelectAll(); return true;
    case kCmdKsCopy:
    case kCmdGmCopy: {
      CommitLineBuffer();
      const std::string text = CopyText();
      if (fork) {
        ForkCopy(text);
      } else {
        CopyToClipboard(text, id == kCmdGmCopy ? kCodeGm : kCodeKs);
      }
      return true;
    }
    case kCmdPaste: Paste(); return true;
    case kCmdFindNext:
    case kCmdFindPrevious:
      if (!variant_.findReplace) return false;
      if (!lastSearch_.empty() && !TextEmpty()) {
        const std::string text = lastSearch_;
        SetFindText(text, id == kCmdFindNext, lastMatchCase_);
      }
      return true;
    default: return false;
  }
}

bool ViewEngine::CommandEnabled(unsigned id) const {
  switch (id) {
    case kCmdCut:
    case kCmdDelete: return HasSelection();
    case kCmdUndo: return undo_.start.offset >= 0;
    case kCmdPaste:
      return clipboard_ && (clipboard_->Has(ClipFormat::kText) || clipboard_->Has(ClipFormat::kUnicodeText));
    case kCmdKsCopy:
    case kCmdGmCopy:
    case kCmdSelectAll: return !TextEmpty();
    case kCmdFind:
    case kCmdReplace: return variant_.findReplace && !TextEmpty();
    case kCmdFindNext:
    case kCmdFindPrevious: return variant_.findReplace && !lastSearch_.empty() && !TextEmpty();
    default: return true;
  }
}

// ---- the forks' operations ----

void ViewEngine::SelectAllText() { SelectAll(); }

void ViewEngine::ClearText() {
  dirty_ = false;
  while (LineCount() > 1) doc_.DeleteLine(0);
  doc_.SetLine(0, std::string_view());
  OnUpdate(0);
  if (variant_.clearTextKeepsScroll) noScrollOnce_ = true;
}

void ViewEngine::AppendText(std::string_view text) {
  CommitLineBuffer();
  ClearSelection();
  SetCaretLine(LastLine());
  caretOffset_ = length_;
  InsertMultilineText(text);
  Repaint();
  UpdateCaretPosition();
}

void ViewEngine::GoToLine(int line) {
  MoveTo({std::clamp(line, 0, LastLine()), 0}, false);
}

}  // namespace editorview
