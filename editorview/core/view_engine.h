// The engine of the Hangul editor view: a self-drawn, word-wrapping,
// multi-line Korean text view over a document of lines. Only the caret line
// is edited, in a fixed buffer that is stored back after every edit; the
// layout (top and height) of up to 128 lines around the window is kept in a
// ring. Keys, characters, mouse points and commands come in as calls; the
// window's feedback goes out through ViewHost, painting through Canvas.
// The Win32 views (CBriselView, CTavrinView) are thin layers over it.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "code_page.h"
#include "gm_converter.h"
#include "line_document.h"
#include "row_layout.h"
#include "rtf_clip.h"
#include "text_code.h"
#include "view_seams.h"
#include "view_variant.h"

namespace editorview {

// Commands the view carries out itself.
enum ViewCommand : unsigned {
  kCmdUndo = 57643,
  kCmdCut = 57635,
  kCmdDelete = 32772,
  kCmdSelectAll = 57642,
  kCmdKsCopy = 57634,
  kCmdGmCopy = 57638,
  kCmdPaste = 57637,
  kCmdFind = 57636,
  kCmdReplace = 57641,
  kCmdFindNext = 32774,
  kCmdFindPrevious = 32773,
  kCmdFont = 32771,
  kCmdSettings = 32776,
};

// Virtual-key codes of the keys the view moves by.
enum ViewKey : unsigned {
  kVkPrior = 0x21,
  kVkNext = 0x22,
  kVkEnd = 0x23,
  kVkHome = 0x24,
  kVkLeft = 0x25,
  kVkUp = 0x26,
  kVkRight = 0x27,
  kVkDown = 0x28,
  kVkDelete = 0x2E,
};

// Scroll-bar codes of WM_VSCROLL.
enum ScrollCode : int {
  kSbLineUp = 0,
  kSbLineDown = 1,
  kSbPageUp = 2,
  kSbPageDown = 3,
  kSbThumbPosition = 4,
  kSbThumbTrack = 5,
};

struct TextPosition {
  int line = -1;
  int offset = -1;
  bool operator==(const TextPosition&) const = default;
};

// The last edit run: where it began, where the text it inserted ends (offset
// -1: it inserted nothing) and the text it removed (lines joined by CR LF).
struct UndoRecord {
  TextPosition start;  // offset -1: nothing to undo
  TextPosition end;
  std::string text;
};

// How the Win32 layer reads the input method's result string.
struct ImeResultRead {
  bool wide = false;  // ImmGetCompositionStringW (units), else the ANSI call (bytes)
  // Results of this many units (wide) or bytes (ANSI) or more are ignored;
  // the caller asks for the length first and terminates the string itself.
  int limit = 512;
  bool Accepts(long length) const { return length > 0 && length < limit; }
};

class ViewEngine {
 public:
  // The layout ring holds at least this many lines, and always the lines of
  // a window full of one-row lines with one above and one below.
  static constexpr int kRingSlots = 128;
  static constexpr int kLineBufferSize = 32768;
  // A typed byte goes in while the line is shorter than this.
  static constexpr int kTypedByteLimit = 32765;
  // Inserted text must leave the line shorter than this.
  static constexpr int kInsertLimit = 32767;
  // A pasted line may end at most here.
  static constexpr int kSegmentLineLimit = 32766;
  // The longest line the buffer holds (a join may make one).
  static constexpr int kLongestLine = kLineBufferSize - 1;
  static constexpr int kPaintRunBytes = 1022;
  static constexpr int kImeResultLimit = 512;
  static constexpr int kImeUtf8Limit = 1024;

  struct Services {
    TextMeasurer& measurer;
    ViewHost& host;
    const codeconv::GmCodeConverter& gm;
    const codeconv::CodePageConverter& pages = codeconv::PlatformCodePages();
    Clipboard* clipboard = nullptr;
    CodeDetector* detector = nullptr;          // none: pasted bytes are taken as KS
    const RtfClipBuilder* rtfBuilder = nullptr;  // none: no rich text is written
    const ViewSettings* settings = nullptr;    // none: the defaults
  };

  // The state after the window's creation: an empty view of the document.
  ViewEngine(const ViewVariant& variant, LineDocument& document, const Services& services);

  const ViewVariant& Variant() const { return variant_; }
  LineDocument& Document() { return doc_; }
  const TextCode& Code() const { return code_; }

  // ---- set-up ----
  // The view font: metrics, charset and face; clears the layout and keeps
  // the caret line visible. True when the font's code (GetFontCode) changed.
  bool SetFont(const ViewFont& font);
  const ViewFont& Font() const { return font_; }
  // 1 for a GM font (charset 128), 0 for a KS font.
  int GetFontCode() const { return code_.FontCode(); }
  // WM_SIZE.
  void Resize(int clientWidth, int clientHeight, int scrollBarWidth);
  // OnUpdate: hint 0 (new or loaded document) resets the view; others are ignored.
  void OnUpdate(int hint);
  // Paints the lines from the top line; true on the first paint (when the
  // input method is given the composition font).
  bool Paint(Canvas& canvas);
  void SetFocus();
  void KillFocus();

  // ---- line store ----
  void LoadLineBuffer(std::string_view text);
  void CommitLineBuffer();
  int GetLineSlot(int line);
  void LayoutLine(int slot);
  std::string_view LineBuffer() const { return std::string_view(buffer_.data(), static_cast<size_t>(length_)); }
  bool LineDirty() const { return dirty_; }
  // "%5d /%5d": caret line + 1 and the line count.
  std::string LineStatusText() const;

  // ---- input ----
  void KeyDown(unsigned virtualKey, bool shift, bool ctrl);
  // WM_CHAR: 13 Enter, 8 Backspace, other control bytes ignored.
  void Char(unsigned char byte, bool shift = false);
  void LeftButtonDown(int x, int y, bool shift);
  void MouseMove(int x, int y);
  void LeftButtonUp(int x, int y);
  void MouseWheel(int delta);
  void VScroll(int code, int position);
  ImeResultRead ImeResultMode() const;
  // The result string (WM_IME_COMPOSITION with GCS_RESULTSTR) as read the
  // way ImeResultMode says; false when it was ignored or refused.
  bool InsertImeResult(std::u16string_view units);
  bool InsertImeResult(std::string_view bytes);

  // ---- commands ----
  // Carries out a command of the view; false when the view does not handle it.
  bool Command(unsigned id);
  bool CommandEnabled(unsigned id) const;

  // ---- editing ----
  void InsertTypedChar(unsigned char byte);
  bool InsertText(std::string_view text);
  // How far an insertion may fill a line: what a paste may take, or the
  // whole buffer when undo puts back text that the line held before (a
  // join may have made a line longer than a paste could).
  enum class InsertRoom : unsigned char { kPaste, kRestore };
  void InsertMultilineText(std::string_view text, InsertRoom room = InsertRoom::kPaste);
  bool SplitLine();
  void JoinNextLine();
  void DeleteForward();
  void OnBackspace();
  bool DeleteSelection();
  void Undo();
  void SelectAll();
  void Cut();
  void Paste();
  const UndoRecord& UndoState() const { return undo_; }

  // ---- clipboard ----
  // The selection, or every line when nothing is selected; lines joined by CR LF.
  std::string CopyText() const;
  std::string GetAllText() const;
  std::string SelectedText() const;
  // Copies a text of the line code as KS (0) or GM (1); false when the
  // clipboard could not be written.
  bool CopyToClipboard(std::string_view text, int code);

  // ---- find and replace ----
  bool SetFindText(std::string_view text, bool forward, bool matchCase);
  bool FindNext(std::string_view text, bool forward, bool matchCase);
  void ShowNotFound();
  void ReplaceAndFindNext(std::string_view find, std::string_view replace, bool matchCase);
  void ReplaceAll(std::string_view find, std::string_view replace, bool matchCase);
  bool ReplaceSelection(std::string_view replace);
  bool SelectionMatches(std::string_view text, bool matchCase) const;
  // The selected text (empty without a selection), for the find sheet.
  std::string TakeFindSeed();
  const std::string& LastSearchText() const { return lastSearch_; }

  // ---- the forks' operations ----
  void SelectAllText();
  void ClearText();
  // Appends text (LF line breaks) at the end of the text.
  void AppendText(std::string_view text);
  void GoToLine(int line);

  // ---- state ----
  TextPosition Caret() const { return {caretLine_, caretOffset_}; }
  bool HasSelection() const { return selStart_.offset >= 0; }
  TextPosition SelectionStart() const { return selStart_; }
  TextPosition SelectionEnd() const { return selEnd_; }
  // Moves the caret (no selection) to a character start of the text.
  void SetCaret(TextPosition position);
  void SetSelection(TextPosition start, TextPosition end);
  void ClearSelection();
  int TopLine() const { return topLine_; }
  int EndLine() const { return endLine_; }
  bool AllShown() const { return allShown_; }
  int ScrollStep() const { return scrollStep_; }
  ScrollBarState ScrollBar() const { return scrollBar_; }
  int CaretX() const { return caretX_; }
  int CaretY() const { return caretY_; }
  int LineHeight() const { return font_.lineHeight; }
  int TextWidth() const { return textWidth_; }
  int LeftMargin() const { return leftMargin_; }
  int ClientHeight() const { return clientHeight_; }
  // Top and height of a line in the ring (laid out first when stale).
  int LineTop(int line);
  int LineHeightOf(int line);
  bool TextEmpty() const;

  // ---- operations of the layout and the caret ----
  void DrawLinesFrom(Canvas* canvas, int line);
  void UpdateCaretPosition();
  void PlaceCaret();
  void MoveCaretToPoint(int line, int x, int y);
  void ExtendSelection(int line, int offset);
  bool ScrollUpRow();
  bool ScrollDownRow();
  void ScrollToLine(int position);

 private:
  struct Slot {
    int top = 0;
    int height = 0;
    int stamp = 0;
  };
  static constexpr int kNoStamp = -0x7FFFFFFF;
  int LaidOutSlot(int line);  // GetLineSlot, laid out when stale
  int LineOfSlot(int slot) const;
  void ClearStamps();
  int RingSize() const { return static_cast<int>(slots_.size()); }
  // Grows the ring to hold every line the window can show (after a change
  // of the client height or the line height); the slots it holds stay.
  void FitRingToWindow();
  std::string_view LineText(int line) const;  // the buffer for the caret line
  int LineCount() const { return doc_.LineCount(); }
  int LastLine() const { return doc_.LineCount() - 1; }
  const ViewSettings& Settings() const;
  void Beep(BeepKind kind = BeepKind::kDefault) { host_.Beep(kind); }

  // Layout pass from the top line, then a repaint request.
  void Repaint();
  void UpdateScrollBar();
  void ScrollLineToBottom(int line);
  void NormalizeTop();
  // Lays the caret line out again; repaints when its height changed.
  void RelayoutCaretLine();
  void PaintLine(Canvas& canvas, int line, int slot);

  // Caret moves.
  CaretPoint CaretPointNow();
  void SetCaretLine(int line);
  void MoveTo(TextPosition target, bool shift);
  void MoveLeft(bool shift);
  void MoveRight(bool shift);
  void MoveVertical(int direction, bool shift);
  void MovePage(int direction, bool shift);
  void MoveToPointInWindow(int x, int y, bool shift);
  int OffsetFromPoint(int line, int x, int y);
  int LineAtY(int y, bool extendLast);
  int YInLine(int line, int y);
  void DragSelect(int x, int y);

  // Editing helpers.
  void InsertBytes(int offset, std::string_view bytes);
  void RemoveBytes(int offset, int count);
  void NoteInsertion(TextPosition before, TextPosition after);
  void NoteRemoval(std::string_view removed, TextPosition removedEnd);
  void FinishEdit();
  std::string TextBetween(TextPosition start, TextPosition end) const;
  bool InsertConverted(std::string_view text);

  // Clipboard helpers.
  std::optional<std::string> TextPaste(int pasteCode);
  std::optional<std::string> PasteRtf();
  std::u16string ClipBytesToUnicode(std::string_view bytes, int code);
  bool ForkCopy(std::string_view text);

  const ViewVariant& variant_;
  LineDocument& doc_;
  TextMeasurer& measurer_;
  ViewHost& host_;
  Clipboard* clipboard_;
  CodeDetector* detector_;
  const RtfClipBuilder* rtfBuilder_;
  const ViewSettings* settings_;
  TextCode code_;
  CharMetrics metrics_;
  ViewFont font_;

  std::vector<Slot> slots_ = std::vector<Slot>(kRingSlots);
  int topLine_ = 0;
  int endLine_ = 1;
  int leftMargin_ = 4;
  int textWidth_ = 0;
  int clientWidth_ = 0;
  int scrollBarWidth_ = 0;
  int caretLine_ = 0;
  int scrollStep_ = 1;
  ScrollBarState scrollBar_;
  int clientHeight_ = 0;
  int paintState_ = -1;
  int ringBaseLine_ = 0;
  int ringBaseSlot_ = 0;
  int caretOffset_ = 0;
  int caretX_ = 0;
  int caretY_ = 0;
  int goalX_ = 0;  // column of vertical moves; kept while they follow each other
  bool verticalMove_ = false;
  TextPosition selStart_;
  TextPosition selEnd_;
  bool allShown_ = false;
  bool focus_ = false;
  bool captured_ = false;
  bool noScrollOnce_ = false;
  int pendingLead_ = -1;  // the forks' typed lead byte waiting for its trail byte
  UndoRecord undo_;
  struct CaretKey {
    unsigned version = 0;
    int line = -1, offset = -1, width = 0;
    bool operator==(const CaretKey&) const = default;
  };
  CaretKey caretKey_;
  CaretPoint caretPoint_;
  unsigned bufferVersion_ = 0;  // counts changes of the buffer's bytes and of the font
  std::array<char, kLineBufferSize> buffer_{};
  bool dirty_ = false;
  int length_ = 0;
  std::string findSeed_;
  std::string lastSearch_;
  bool lastMatchCase_ = false;
};

}  // namespace editorview
