#include "sedit_editor.h"

#include <algorithm>
#include <cstring>

namespace sedit {

int Editor::Length() const {
  return static_cast<int>(strnlen(r_.text, static_cast<size_t>(v_.bufferSize - 1)));
}

std::string Editor::UndoText() const {
  return std::string(r_.undo, strnlen(r_.undo, static_cast<size_t>(v_.bufferSize - 1)));
}

void Editor::ApplyFont(std::uintptr_t font, const unsigned char* logFont, unsigned charset) {
  r_.font = font;
  r_.hasLogFont = logFont != nullptr;
  r_.charset = logFont ? charset : 0;
  if (logFont) std::memcpy(r_.logFont.data(), logFont, r_.logFont.size());
  switch (v_.leadRule) {
    case LeadRule::kFontFlag:
      r_.rule = {r_.hasLogFont && charset != 128 ? TextCode::kAllHighLead : TextCode::kShiftJisShape, 0};
      break;
    case LeadRule::kRecordCodePage:
      if (r_.hasLogFont) {
        switch (charset) {
          case 128: r_.codePage = 932; break;
          case 134: r_.codePage = 936; break;
          case 136: r_.codePage = 950; break;
          case 129: r_.codePage = 949; break;
          default: break;  // other charsets keep the code page
        }
      }
      r_.rule = {TextCode::kCodePage, r_.codePage};
      break;
    case LeadRule::kUtf8:
      r_.ansiDrawing = r_.hasLogFont && charset == 128;
      break;
  }
  r_.pendingLead = 0;
  // Positions stay on character boundaries under the new rule.
  const int len = Length();
  r_.caret = r_.rule.CharStart(r_.text, std::min(r_.caret, len), len);
  r_.firstVisible = r_.rule.CharStart(r_.text, std::min(r_.firstVisible, len), len);
  if (r_.HasSelection()) {
    const int s = r_.rule.CharStart(r_.text, std::min(r_.selStart, len), len);
    const int e = r_.rule.CharEnd(r_.text, std::min(r_.selEnd, len), len);
    if (s < e) {
      r_.selStart = s;
      r_.selEnd = e;
    } else {
      r_.ClearSelection();
    }
  }
}

void Editor::InsertBytes(int pos, const char* bytes, int count) {
  const int len = Length();
  std::memmove(r_.text + pos + count, r_.text + pos, static_cast<size_t>(len - pos + 1));
  std::memcpy(r_.text + pos, bytes, static_cast<size_t>(count));
}

void Editor::RemoveBytes(int pos, int count) {
  const int len = Length();
  std::memmove(r_.text + pos, r_.text + pos + count, static_cast<size_t>(len - pos - count + 1));
  if (r_.firstVisible > len - count) r_.firstVisible = 0;
}

bool Editor::OnChar(const char* bytes, int count) {
  if (count <= 0) return true;
  const unsigned char first = static_cast<unsigned char>(bytes[0]);
  if (first == 0x08) {
    Backspace();
    return true;
  }
  if (first < 0x20) return true;  // other control bytes do nothing
  DeleteSelection();
  const int len = Length();
  if (len + count > r_.limit) return false;
  if (r_.undoEnd != r_.caret && r_.undoPos != r_.caret) {
    r_.undoPos = r_.caret;
    r_.undo[0] = '\0';
  }
  InsertBytes(r_.caret, bytes, count);
  r_.caret += count;
  r_.undoEnd = r_.caret;
  return true;
}

std::string Editor::FromAnsi(const std::string& bytes) const {
  return Utf16ToUtf8(cp_.ToUtf16(932, bytes));
}

std::string Editor::FromUtf16(const std::u16string& text, unsigned codePage) const {
  std::string out;
  for (char16_t unit : text) {
    if (unit == 0) break;
    out += cp_.FromUtf16(codePage, std::u16string(1, unit));
  }
  return out;
}

bool Editor::TypeByte(unsigned char byte) {
  const bool utf8 = v_.leadRule == LeadRule::kUtf8;
  if (r_.pendingLead) {
    const char pair[2] = {static_cast<char>(r_.pendingLead), static_cast<char>(byte)};
    r_.pendingLead = 0;
    if (byte >= 0x20) {
      if (!utf8) return OnChar(pair, 2);
      const std::string s = FromAnsi(std::string(pair, 2));
      return s.empty() || OnChar(s.data(), static_cast<int>(s.size()));
    }
    // A control byte instead of a trail byte: the lead byte is dropped.
  }
  if (byte >= 0x80) {
    const bool lead = utf8 ? IsCodePageLeadByte(932, byte) : r_.rule.IsLead(byte);
    if (lead) {
      r_.pendingLead = byte;
      return true;
    }
    if (utf8) {
      const std::string s = FromAnsi(std::string(1, static_cast<char>(byte)));
      return s.empty() || OnChar(s.data(), static_cast<int>(s.size()));
    }
  }
  const char c = static_cast<char>(byte);
  return OnChar(&c, 1);
}

int Editor::RemoveChar(int start, int end, bool backward) {
  const int n = end - start;
  const bool continuing = r_.undoEnd == -1 && (backward ? r_.undoPos == end : r_.undoPos == start);
  if (!continuing) {
    r_.undo[0] = '\0';
    r_.undoEnd = -1;
  }
  int ulen = static_cast<int>(UndoText().size());
  if (ulen + n > v_.bufferSize - 1) {  // cannot happen with a consistent record; stays in bounds
    r_.undo[0] = '\0';
    ulen = 0;
  }
  if (backward) {
    std::memmove(r_.undo + n, r_.undo, static_cast<size_t>(ulen + 1));
    std::memcpy(r_.undo, r_.text + start, static_cast<size_t>(n));
  } else {
    std::memcpy(r_.undo + ulen, r_.text + start, static_cast<size_t>(n));
    r_.undo[ulen + n] = '\0';
  }
  r_.undoPos = start;
  RemoveBytes(start, n);
  return start;
}

void Editor::Backspace() {
  if (r_.HasSelection()) {
    DeleteSelection();
    return;
  }
  if (r_.caret <= 0) return;
  r_.caret = RemoveChar(PrevChar(r_.caret), r_.caret, true);
}

void Editor::DeleteForward() {
  if (r_.HasSelection()) {
    DeleteSelection();
    return;
  }
  if (r_.caret >= Length()) return;
  RemoveChar(r_.caret, r_.caret + CharLen(r_.caret), false);
}

void Editor::DeleteSelection() {
  if (!r_.HasSelection()) return;
  const int len = Length();
  const int s = std::min(r_.selStart, len);
  const int e = std::min(r_.selEnd, len);
  std::memcpy(r_.undo, r_.text + s, static_cast<size_t>(e - s));
  r_.undo[e - s] = '\0';
  RemoveBytes(s, e - s);
  r_.undoPos = r_.caret = s;
  r_.undoEnd = -1;
  r_.ClearSelection();
}

bool Editor::Undo() {
  if (r_.undoPos < 0) return false;
  const std::string copy = UndoText();
  const int oldPos = r_.undoPos;
  const int oldEnd = r_.undoEnd;
  r_.undo[0] = '\0';
  r_.undoPos = r_.undoEnd = -1;
  const int len = Length();
  if (oldEnd >= 0 && oldPos < oldEnd && oldEnd <= len) {
    // The inserted bytes go into the undo buffer, so that undo again brings them back.
    r_.selStart = oldPos;
    r_.selEnd = oldEnd;
    DeleteSelection();
  }
  r_.ClearSelection();
  r_.undoPos = r_.caret;
  if (!copy.empty()) {
    const int at = std::min(oldPos, Length());
    r_.caret = at;
    const int n = static_cast<int>(copy.size());
    if (Length() + n <= r_.limit) {
      InsertBytes(at, copy.data(), n);
      r_.selStart = at;
      r_.selEnd = at + n;
      r_.undoPos = at;
      r_.undoEnd = at + n;
      r_.caret = at + n;
    }
  }
  return true;
}

void Editor::SetSel(int start, int end) {
  if (start < 0) {
    r_.ClearSelection();
    return;
  }
  const int len = Length();
  int e = end < 0 ? len : end;
  int s = start;
  if (s > e) std::swap(s, e);
  s = std::min(s, len);
  e = std::min(e, len);
  if (s == e) return;
  // An end inside a character takes in the whole character.
  s = r_.rule.CharStart(r_.text, s, len);
  e = r_.rule.CharEnd(r_.text, e, len);
  r_.selStart = s;
  r_.selEnd = e;
  r_.caret = e;
}

void Editor::ExtendSelection(int newCaret) {
  int anchor = r_.caret;
  if (r_.HasSelection()) {
    if (r_.caret == r_.selStart) anchor = r_.selEnd;
    else if (r_.caret == r_.selEnd) anchor = r_.selStart;
  }
  const int s = std::min(anchor, newCaret);
  const int e = std::max(anchor, newCaret);
  if (s == e) {
    r_.ClearSelection();
  } else {
    r_.selStart = s;
    r_.selEnd = e;
  }
  r_.caret = newCaret;
}

void Editor::MoveCaret(bool atEdge, int target, bool shift) {
  if (atEdge) {
    if (!shift) r_.ClearSelection();
    return;
  }
  if (shift) {
    ExtendSelection(target);
  } else {
    r_.ClearSelection();
    r_.caret = target;
  }
}

void Editor::KeyRight(bool shift) {
  const int len = Length();
  const bool atEnd = r_.caret >= len;
  MoveCaret(atEnd, atEnd ? len : std::min(len, r_.caret + CharLen(r_.caret)), shift);
}

void Editor::KeyLeft(bool shift) {
  const bool atStart = r_.caret <= 0;
  MoveCaret(atStart, atStart ? 0 : PrevChar(r_.caret), shift);
}

void Editor::FocusGained(bool selectAll) {
  r_.focus = true;
  if (!selectAll) return;
  const int len = Length();
  if (len == 0) {
    r_.ClearSelection();
    r_.caret = 0;
  } else {
    r_.selStart = 0;
    r_.selEnd = len;
    r_.caret = len;
  }
}

void Editor::SetText(const char* text) {
  const char* s = text ? text : "";
  // A few bytes past the limit tell whether the last character fits whole.
  const int n = static_cast<int>(strnlen(s, static_cast<size_t>(r_.limit) + 8));
  const int keep = r_.rule.FitLength(s, n, r_.limit);
  std::memcpy(r_.text, s, static_cast<size_t>(keep));
  r_.text[keep] = '\0';
  r_.ClearSelection();
  r_.undo[0] = '\0';
  r_.undoPos = r_.undoEnd = -1;
  r_.caret = 0;
  r_.firstVisible = 0;
  r_.pendingLead = 0;
}

int Editor::GetText(char* out, size_t size) const {
  if (!out || size == 0) return 0;
  const size_t n = std::min(static_cast<size_t>(Length()), size - 1);
  std::memcpy(out, r_.text, n);
  out[n] = '\0';
  return static_cast<int>(n);
}

void Editor::LimitText(std::uint64_t limit) {
  r_.limit = static_cast<int>(std::min<std::uint64_t>(limit, static_cast<std::uint64_t>(v_.limit)));
}

std::string Editor::CleanPaste(const std::string& bytes) const {
  std::string out;
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x20) out.push_back(c);
  }
  const int n = static_cast<int>(out.size());
  out.resize(static_cast<size_t>(r_.rule.FitLength(out.data(), n, n)));
  return out;
}

bool Editor::Paste(const ClipboardText& clip) {
  size_t clipLength = 0;
  std::string bytes;
  if (v_.leadRule == LeadRule::kUtf8) {
    if (clip.unicode) {
      clipLength = 2 * clip.unicode->size();
      if (clipLength + static_cast<size_t>(Length()) > static_cast<size_t>(r_.limit)) return false;
      bytes = Utf16ToUtf8(*clip.unicode);
    } else if (clip.bytes) {
      clipLength = clip.bytes->size();
      if (clipLength + static_cast<size_t>(Length()) > static_cast<size_t>(r_.limit)) return false;
      bytes = FromAnsi(*clip.bytes);
    } else {
      return false;
    }
  } else {
    const unsigned fontCp = FontCodePageOf();
    const bool useBytes = clip.bytes && (fontCp == 0 || !clip.unicode);
    if (useBytes) {
      clipLength = clip.bytes->size();
    } else if (clip.unicode) {
      clipLength = 2 * clip.unicode->size();
    } else {
      return false;
    }
    if (clipLength + static_cast<size_t>(Length()) > static_cast<size_t>(r_.limit)) return false;
    bytes = useBytes ? *clip.bytes : FromUtf16(*clip.unicode, fontCp ? fontCp : 932);
  }
  const std::string text = CleanPaste(bytes);
  const int n = static_cast<int>(text.size());
  // The converted text may be longer than the clipboard's (UTF-8).
  if (n == 0 || Length() + n > r_.limit) return false;
  if (!(r_.undoEnd == -1 && r_.undoPos == r_.caret)) r_.undo[0] = '\0';
  r_.undoPos = r_.caret;
  InsertBytes(r_.caret, text.data(), n);
  r_.caret += n;
  r_.undoEnd = r_.caret;
  return true;
}

ClipboardText Editor::Copy() const {
  ClipboardText out;
  if (!r_.HasSelection()) return out;
  const int len = Length();
  const int s = std::min(r_.selStart, len);
  const int e = std::min(r_.selEnd, len);
  if (v_.leadRule == LeadRule::kUtf8) {
    out.unicode = Utf8ToUtf16(r_.text + s, e - s);
    return out;
  }
  out.bytes = std::string(r_.text + s, static_cast<size_t>(e - s));
  const unsigned cp = FontCodePageOf();
  if (cp == 936 || cp == 950 || cp == 949) {
    std::u16string unicode;
    for (int i = s; i < e;) {
      const int n = std::min(CharLen(i), e - i);
      unicode += cp_.ToUtf16(cp, std::string(r_.text + i, static_cast<size_t>(n)));
      i += n;
    }
    out.unicode = unicode;
  }
  return out;
}

ImeReadMode Editor::ImeResultMode(bool imeUnicodeInterface) const {
  ImeReadMode mode;
  switch (v_.imeResult) {
    case ImeResultRule::kImeInterface:
      mode.utf16 = imeUnicodeInterface;
      mode.codePage = FontCodePageOf() ? FontCodePageOf() : 932;
      break;
    case ImeResultRule::kFontCharset: {
      const unsigned cs = r_.hasLogFont ? r_.charset : 0;
      mode.utf16 = r_.hasLogFont && (cs == 129 || cs == 136 || cs == 134 || (v_.imeResultForAnsiFont && cs == 128));
      mode.codePage = v_.leadRule == LeadRule::kRecordCodePage ? r_.codePage : FontCodePageOf();
      break;
    }
    case ImeResultRule::kEditorMode:
      mode.utf16 = !r_.ansiDrawing;
      mode.codePage = 0;  // UTF-8
      break;
  }
  return mode;
}

FeedResult Editor::FeedBytes(const std::string& bytes) {
  FeedResult result;
  const int n = static_cast<int>(bytes.size());
  for (int i = 0; i < n;) {
    const int len = r_.rule.CharLength(bytes.data(), i, n);
    ++result.chars;
    if (!OnChar(bytes.data() + i, len)) ++result.beeps;
    i += len;
  }
  return result;
}

FeedResult Editor::FeedImeResult(const std::string& bytes) {
  return FeedBytes(v_.leadRule == LeadRule::kUtf8 ? FromAnsi(bytes) : bytes);
}

FeedResult Editor::FeedImeResult(const std::u16string& text, const ImeReadMode& mode) {
  if (v_.leadRule == LeadRule::kUtf8) return FeedBytes(Utf16ToUtf8(text));
  return FeedBytes(cp_.FromUtf16(mode.codePage ? mode.codePage : 932, text));
}

MenuState Editor::Menu(bool textOnClipboard) const {
  MenuState m;
  const int len = Length();
  m.undo = r_.undoPos >= 0;
  m.cut = m.copy = m.clear = r_.HasSelection();
  m.paste = textOnClipboard;
  m.selectAll = len > 0 && !(r_.selStart == 0 && r_.selEnd == len);
  return m;
}

CaretPlace Editor::UpdateCaret(TextMeasurer& measure, int contentRight) {
  const int len = Length();
  if (r_.caret > len) r_.caret = len;
  const int before = r_.firstVisible;
  if (r_.caret < r_.firstVisible || r_.firstVisible > len) r_.firstVisible = 0;
  auto caretX = [&] { return kTextLeft + measure.Width(r_.text + r_.firstVisible, r_.caret - r_.firstVisible); };
  CaretPlace place;
  place.x = caretX();
  // Each step moves at least 3 bytes of whole characters; the loop ends when
  // the caret is the first visible character, however narrow the control.
  while (place.x > contentRight && r_.firstVisible < r_.caret) {
    int moved = 0;
    while (moved < 3 && r_.firstVisible < r_.caret) {
      const int n = CharLen(r_.firstVisible);
      r_.firstVisible += n;
      moved += n;
    }
    place.x = caretX();
  }
  place.scrolled = r_.firstVisible != before;
  return place;
}

int Editor::HitTest(int x, TextMeasurer& measure) const {
  const int len = Length();
  int i = std::min(r_.firstVisible, len);
  int left = kTextLeft;
  int result = len;
  while (i < len) {
    const int n = CharLen(i);
    const int w = measure.Width(r_.text + i, n);
    if (left + w - w / 2 > x) {
      result = i;
      break;
    }
    left += w;
    i += n;
  }
  if (x <= 0 && result > 0) result = PrevChar(result);
  return result;
}

}  // namespace sedit
