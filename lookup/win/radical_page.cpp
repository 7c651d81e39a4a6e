// The radical page CBusyuDlg (dialog 22003 "部首入力"): radicals by stroke
// count, the chosen radical's characters by total strokes, a stroke filter,
// and the large view of the selected character with its reading.
#include <windows.h>

#include "file_bytes.h"
#include "lookup_config.h"
#include "lookup_ids.h"
#include "lookup_pages.h"
#include "lookup_state.h"
#include "shared_settings.h"

namespace lookup {

namespace {
constexpr wchar_t kCaption[] = L"部首入力";
constexpr unsigned long kHelpContext = 1;
}  // namespace

CBusyuDlg::CBusyuDlg()
    : LookupPage(IDD_BUSYU, true, kHelpContext, {IDC_BUSYU_OK, IDC_BUSYU_CLOSE, IDC_BUSYU_HELP}) {}

bool CBusyuDlg::OnInitDialog() {
  radical_ = -1;
  fonts_.Create(hwnd());
  glyphs_.reset(State().module.LoadBitmapResource(IDB_RADICALS));
  HWND ok = Item(IDC_BUSYU_OK);
  radicals_.Attach(Item(IDC_BUSYU_RADICALS), ok, &lastList_, [this](HDC dc, const RECT& r, const Cell& c, int, UINT state) {
    PaintCell(dc, r, c, state, true);
  });
  characters_.Attach(Item(IDC_BUSYU_CHARS), ok, &lastList_, [this](HDC dc, const RECT& r, const Cell& c, int, UINT state) {
    PaintCell(dc, r, c, state, false);
  });
  radicals_.Layout(0, kRadicalRows, fonts_.minCell, fonts_.maxCell);
  characters_.Layout(0, kRadicalRows, fonts_.minCell, fonts_.maxCell);
  // The chosen radical is drawn in the input method's Korean face.
  chosen_.Attach(Item(IDC_BUSYU_CHOSEN), fonts_.koreanFont.get(), fonts_.koreanFont.get(), fonts_.japaneseFont.get(),
                 glyphs_.get());
  view_.Attach(Item(IDC_BUSYU_VIEW), fonts_.largeFont.get(), fonts_.koreanFont.get(), fonts_.japaneseFont.get(),
               glyphs_.get());
  SendMessageA(Item(IDC_BUSYU_STROKES), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.japaneseFont.get()),
               reinterpret_cast<LPARAM>(&fonts_.japanese));
  SendMessageA(Item(IDC_BUSYU_STROKES), EM_LIMITTEXT, 5, 0);
  ReadRadicalDictionary();
  Enable(IDC_BUSYU_OK, false);
  return true;
}

int CBusyuDlg::ReadRadicalDictionary() {
  std::vector<std::uint8_t> bytes;
  haveIndex_ = false;
  if (!ReadFileBytes(State().programFolder + kRadicalDictionary, bytes)) {
    DictionaryError(kCaption, L"Can't Find Dictioanry");
    return -1;
  }
  MemorySource file(bytes);
  RadicalIndex index;
  if (ReadRadicalIndex(file, index) != DicStatus::kOk) {
    DictionaryError(kCaption, L"Can't Find Dictioanry");
    return -1;
  }
  index_ = std::move(index);
  haveIndex_ = true;
  try {
    radicals_.SetCells(RadicalList(index_.groups));
  } catch (const std::bad_alloc&) {
    DictionaryError(kCaption, L"Not Enough Memory Space");
    return -1;
  }
  return 0;
}

void CBusyuDlg::FillCharacters() {
  view_.Clear();
  if (!haveIndex_ || (radical_ < 0 && filter_ == 0)) {
    characters_.Clear();
    return;
  }
  std::vector<std::uint8_t> bytes;
  if (!ReadFileBytes(State().programFolder + kRadicalDictionary, bytes)) {
    DictionaryError(kCaption, L"Can't Find Dictioanry");
    characters_.Clear();
    return;
  }
  MemorySource file(bytes);
  try {
    if (radical_ >= 0) {
      std::vector<StrokeGroup> groups;
      if (ReadRadicalCharacters(file, index_, static_cast<std::size_t>(radical_), groups) != DicStatus::kOk) {
        DictionaryError(kCaption, L"Can't Find Dictioanry");
        characters_.Clear();
        return;
      }
      characters_.SetCells(RadicalCharacters(groups, filter_));
      return;
    }
    // Every radical's characters of the filter's stroke count.
    std::vector<RadicalStrokes> perRadical;
    std::size_t position = 0;
    for (const StrokeGroup& g : index_.groups) {
      for (DbChar radical : g.codes) {
        std::vector<StrokeGroup> groups;
        if (ReadRadicalCharacters(file, index_, position++, groups) != DicStatus::kOk) {
          DictionaryError(kCaption, L"Can't Find Dictioanry");
          characters_.Clear();
          return;
        }
        RadicalStrokes r{radical, {}};
        for (const StrokeGroup& chars : groups)
          if (chars.strokes == filter_) r.characters = chars.codes;
        if (!r.characters.empty()) perRadical.push_back(std::move(r));
      }
    }
    characters_.SetCells(CharactersOfStrokes(perRadical));
  } catch (const std::bad_alloc&) {
    DictionaryError(kCaption, L"Not Enough Memory Space");
  }
}

void CBusyuDlg::ChooseRadical() {
  const int sel = radicals_.Selection();
  if (sel < 0 || static_cast<std::size_t>(sel) >= radicals_.cells().size()) return;
  const Cell& cell = radicals_.cells()[static_cast<std::size_t>(sel)];
  if (cell.kind != CellKind::kItem) return;  // a label or a blank is no radical
  const int position = index_.PositionOf(cell.code);
  if (position < 0 || position == radical_) return;
  radical_ = position;
  chosen_.Show(cell.code, {}, TextMode::kUnicode);
  Enable(IDC_BUSYU_OK, false);
  FillCharacters();
  characters_.Select(0);
}

void CBusyuDlg::ChooseCharacter() {
  const DbChar c = characters_.SelectedCharacter();
  view_.Show(c, GetCharReading(c, State().readings));
  Enable(IDC_BUSYU_OK, true);
}

void CBusyuDlg::Confirm() { SendCharacter(characters_.SelectedCharacter()); }

void CBusyuDlg::OnFilter() {
  filter_ = settings::ParseDecimal(EditText(IDC_BUSYU_STROKES, 5).c_str());
  FillCharacters();
  characters_.Select(0);
}

void CBusyuDlg::OnClear() {
  chosen_.Clear();
  radical_ = -1;
  radicals_.Select(-1);
  Enable(IDC_BUSYU_OK, false);
  FillCharacters();
  Enable(IDC_BUSYU_OK, true);
  characters_.Select(0);
}

void CBusyuDlg::PaintCell(HDC dc, const RECT& r, const Cell& c, UINT state, bool radicals) {
  // Radicals and labels in the Japanese font, characters in the Korean one.
  const bool japanese = radicals || c.kind == CellKind::kLabel;
  fw::Selection sel(dc, japanese ? fonts_.japaneseFont.get() : fonts_.koreanFont.get());
  const TextMode mode = japanese ? TextMode::kUnicode : TextMode::kInputCode;
  if (c.kind == CellKind::kPad) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  DrawButtonFace(dc, r, c.code, (state & ODS_SELECTED) != 0, glyphs_.get(), mode);
}

bool CBusyuDlg::OnCommand(int id, int code, LPARAM) {
  switch (id) {
    case IDC_BUSYU_RADICALS:
      if (code == LBN_SELCHANGE) ChooseRadical();
      return true;
    case IDC_BUSYU_CHARS:
      if (code == LBN_SELCHANGE) ChooseCharacter();
      if (code == LBN_DBLCLK) Confirm();
      return true;
    case IDC_BUSYU_STROKES:
      if (code == EN_CHANGE) OnFilter();
      return true;
    case IDC_BUSYU_CLEAR:
      OnClear();
      return true;
    default:
      return false;
  }
}

}  // namespace lookup
