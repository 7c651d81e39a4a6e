// Drawing shared by the pages: GM95 text in the input method's code, 3-D
// cell faces with jamo and radical glyphs, the owner-drawn cell lists, and
// the large view of a character with its reading.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "char_reading.h"
#include "gdi.h"
#include "list_layout.h"
#include "window.h"

namespace lookup {

// How a list's bytes become the text that is drawn.
enum class TextMode : std::uint8_t {
  kInputCode,  // GM95 converted to the input method's code, drawn in that code (the Korean font)
  kAsIs,       // bytes already in the input method's code (the jamo labels' forms)
  kUnicode,    // GM95 through KS to its Unicode character (radicals and labels in the Japanese font)
  kShiftJis,   // Shift-JIS text (kana readings)
};

// Text of a mode as UTF-16: the conversions of the input method's code
// (KS, GM V3 or GM95) and then its code page (949 for KS, 932 for the GM
// codes, whose fonts sit on Shift-JIS positions).
std::wstring DrawnText(const std::string& bytes, TextMode mode);
SIZE TextExtent(HDC dc, const std::wstring& text);
// Text centred in a rectangle (clipped to it), moved by shift pixels right and down.
void DrawCentred(HDC dc, const RECT& r, const std::wstring& text, int shift = 0);

std::string CodeBytes(DbChar c);

// First byte of a code drawn from a glyph bitmap (16 x 16 cells, 8 a row).
inline constexpr std::uint8_t kGlyphLead = 0x82;
inline constexpr DbChar kFirstGlyph = 0x829F;
// Copies glyph (code - 0x829F) into a square of side pixels at x, y; false
// when the code is none of the bitmap's.
bool DrawGlyph(HDC dc, HBITMAP glyphs, DbChar code, int x, int y, int side);

// A 3-D cell: label on the button face, moved 1 pixel when pressed; a label
// with the first byte 0x82 is a glyph of the bitmap (when one is given).
void DrawButtonFace(HDC dc, const RECT& rect, DbChar label, bool pressed, HBITMAP glyphs, TextMode mode);

// An owner-drawn multi-column list of cells. It draws itself through the
// reflected WM_DRAWITEM, never keeps the keyboard focus (it hands it to a
// button of its page), and lets go of the mouse when the mouse leaves it.
// When a list lets go of a mouse capture that has moved on: when a window
// that is neither the list nor its child took it, or at any change.
enum class CaptureRule : unsigned char { kUnrelatedWindow, kAnyChange };

class CellList final : public fw::Window {
 public:
  using Painter = std::function<void(HDC, const RECT&, const Cell&, int index, UINT state)>;
  // focusTo: the button that takes the keyboard focus; lastClicked: set to
  // this list when it is clicked.
  void Attach(HWND list, HWND focusTo, HWND* lastClicked, Painter painter,
              CaptureRule capture = CaptureRule::kUnrelatedWindow);
  // Square cells as large as the list's room allows for columns x rows (0:
  // as many as fit), between minCell and maxCell; the list is then sized to
  // show exactly that many (whole columns of its room otherwise).
  void Layout(int columns, int rows, int minCell, int maxCell);
  void SetCells(std::vector<Cell> cells);
  const std::vector<Cell>& cells() const { return cells_; }
  int Selection() const;
  // The selected cell's character when it is one to send (IsSendable), else 0.
  DbChar SelectedCharacter() const;
  void Select(int index);
  int RowsShown() const { return rows_; }
  void Clear() { SetCells({}); }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  HWND focusTo_ = nullptr;
  HWND* lastClicked_ = nullptr;
  CaptureRule capture_ = CaptureRule::kUnrelatedWindow;
  Painter painter_;
  std::vector<Cell> cells_;
  int rows_ = 1;
};

// An owner-drawn static that shows one character centred, with a reading
// label under it when one is given.
class CharView final : public fw::Window {
 public:
  void Attach(HWND view, HFONT charFont, HFONT koreanFont, HFONT kanaFont, HBITMAP glyphs);
  void Show(DbChar code, ReadingLabel label, TextMode mode = TextMode::kInputCode);
  void Clear() { Show(0, {}); }
  DbChar code() const { return code_; }
  const ReadingLabel& label() const { return label_; }

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  HFONT charFont_ = nullptr, koreanFont_ = nullptr, kanaFont_ = nullptr;
  HBITMAP glyphs_ = nullptr;
  DbChar code_ = 0;
  TextMode mode_ = TextMode::kInputCode;
  ReadingLabel label_;
};

}  // namespace lookup
