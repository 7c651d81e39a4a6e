// The easy-Hangul page CJisoDlg (dialog 22001 "簡単ハングル入力"): the 19
// initials, the chosen initial's syllables in columns by vowel, the range
// toggle (names and places, or all) kept in the registry, and the large view
// of the syllable with its kana reading.
#include <windows.h>

#include <algorithm>

#include "file_bytes.h"
#include "ime_code.h"
#include "lookup_config.h"
#include "lookup_ids.h"
#include "lookup_pages.h"
#include "lookup_state.h"
#include "shared_settings_win32.h"

namespace lookup {

namespace {
constexpr wchar_t kCaption[] = L"ハングル入力";
constexpr unsigned long kHelpContext = 2;
constexpr char kSubkey[] = "RABEKO_DLG";
constexpr char kRangeValue[] = "MOJI_RANGE";
constexpr COLORREF kVowelColour = 0xFF0000;  // blue
}  // namespace

CJisoDlg::CJisoDlg() : LookupPage(IDD_JISO, true, kHelpContext, {IDC_JISO_OK, IDC_JISO_CLOSE, IDC_JISO_HELP}) {}

DbChar CJisoDlg::Label(DbChar gm95) const {
  return State().koreanCode == 1 ? codeconv::GmCharToKs(gm95) : gm95;
}

bool CJisoDlg::OnInitDialog() {
  path_ = State().programFolder + kJisoDictionary;
  std::vector<std::uint8_t> bytes;
  haveHeader_ = false;
  if (ReadFileBytes(path_, bytes)) {
    MemorySource file(bytes);
    haveHeader_ = ReadJisoHeader(file, header_) == DicStatus::kOk;
  }
  if (!haveHeader_) DictionaryError(kCaption, L"Can't Find Dictioanry");
  char value[10];
  if (settings::ReadRegValue(0, kSubkey, kRangeValue, value, sizeof value)) {
    range_ = settings::ParseDecimal(value) == 0 ? 0 : 1;
  } else {
    range_ = 1;
    settings::WriteRegString(kSubkey, kRangeValue, "1");
  }
  SetRangeCaption();

  fonts_.Create(hwnd());
  glyphs_.reset(State().module.LoadBitmapResource(IDB_JAMO));
  HWND ok = Item(IDC_JISO_OK);
  initials_.Attach(Item(IDC_JISO_INITIALS), ok, &lastList_, [this](HDC dc, const RECT& r, const Cell& c, int, UINT state) {
    fw::Selection sel(dc, fonts_.koreanFont.get());
    if (c.kind == CellKind::kBlank) {
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      return;
    }
    DrawButtonFace(dc, r, c.code, (state & ODS_SELECTED) != 0, glyphs_.get(), TextMode::kAsIs);
  });
  syllables_.Attach(Item(IDC_JISO_SYLLABLES), ok, &lastList_, [this](HDC dc, const RECT& r, const Cell& c, int, UINT state) {
    const bool selected = (state & ODS_SELECTED) != 0 && c.kind == CellKind::kItem;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    fw::Selection sel(dc, fonts_.koreanFont.get());
    if (c.kind == CellKind::kLabel) {
      SetTextColor(dc, kVowelColour);
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      const int side = std::min<int>(r.bottom - r.top, r.right - r.left) - 4;
      // A GM95 jamo has no glyph in a GM V3 font: the jamo bitmap draws it.
      if (!DrawGlyph(dc, glyphs_.get(), c.code, r.left + (r.right - r.left - side) / 2,
                     r.top + (r.bottom - r.top - side) / 2, side)) {
        DrawCentred(dc, r, DrawnText(CodeBytes(c.code), TextMode::kAsIs));
      }
      return;
    }
    if (c.kind != CellKind::kItem) return;
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawCentred(dc, r, DrawnText(CodeBytes(c.code), TextMode::kInputCode));
    if (selected) FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  });
  initials_.Layout(kInitials, 1, fonts_.minCell, fonts_.maxCell);
  syllables_.Layout(0, 0, fonts_.minCell + 2, fonts_.minCell + 2);
  view_.Attach(Item(IDC_JISO_VIEW), fonts_.largeFont.get(), fonts_.koreanFont.get(), fonts_.japaneseFont.get(), nullptr);
  // A missing dictionary has just been reported.
  ReadJisoDictionary(haveHeader_);
  Enable(IDC_JISO_OK, false);
  return true;
}

void CJisoDlg::SetRangeCaption() {
  SetWindowTextW(Item(IDC_JISO_RANGE), range_ == 1 ? L"人名・地名" : L"全て");
}

int CJisoDlg::ReadJisoDictionary(bool reportMissing) {
  initial_ = -1;
  std::vector<std::uint8_t> bytes;
  bool ok = ReadFileBytes(path_, bytes);
  MemorySource file(bytes);
  // A dictionary that was missing when the page opened is looked for again.
  if (ok && !haveHeader_) haveHeader_ = ReadJisoHeader(file, header_) == DicStatus::kOk;
  if (!ok || !haveHeader_) {
    if (reportMissing) DictionaryError(kCaption, L"Can't Find Dictioanry");
    initials_.Clear();
    return -1;
  }
  std::array<DbChar, kInitials> labels{};
  std::array<bool, kInitials> present{};
  for (int i = 0; i < kInitials; ++i) {
    VowelGroups groups;
    if (ReadJisoInitial(file, header_, range_, i, groups) != DicStatus::kOk) {
      DictionaryError(kCaption, L"Can't Find Dictioanry");
      initials_.Clear();
      return -1;
    }
    const auto k = static_cast<std::size_t>(i);
    labels[k] = Label(State().initialLabels[k]);
    for (const auto& g : groups) present[k] = present[k] || !g.empty();
  }
  initials_.SetCells(JisoInitials(labels, present));
  return 0;
}

void CJisoDlg::ChooseInitial() {
  const int sel = initials_.Selection();
  if (sel < 0 || sel == initial_ || sel >= kInitials) return;
  initial_ = sel;
  view_.Clear();
  if (initials_.cells()[static_cast<std::size_t>(sel)].kind != CellKind::kItem) {
    syllables_.Clear();  // an initial without syllables in this range
    return;
  }
  std::vector<std::uint8_t> bytes;
  VowelGroups groups;
  bool ok = ReadFileBytes(path_, bytes);
  if (ok) {
    MemorySource file(bytes);
    ok = ReadJisoInitial(file, header_, range_, sel, groups) == DicStatus::kOk;
  }
  if (!ok) {
    DictionaryError(kCaption, L"Can't Find Dictioanry");
    syllables_.Clear();
    return;
  }
  std::array<DbChar, kVowels> vowels{};
  for (int v = 0; v < kVowels; ++v) {
    vowels[static_cast<std::size_t>(v)] = Label(State().vowelLabels[static_cast<std::size_t>(v)]);
  }
  syllables_.SetCells(JisoSyllables(groups, vowels, syllables_.RowsShown()));
  syllables_.Select(0);
}

void CJisoDlg::ChooseSyllable() {
  const DbChar c = syllables_.SelectedCharacter();
  ReadingLabel label;
  label.bytes = GetKanaReading(c, State().readings.kanayomi);
  if (!label.bytes.empty()) label.kind = LabelKind::kKana;
  view_.Show(c, label);
  Enable(IDC_JISO_OK, true);
}

void CJisoDlg::Confirm() { SendCharacter(syllables_.SelectedCharacter()); }

void CJisoDlg::ToggleRange() {
  range_ = range_ == 1 ? 0 : 1;
  SetRangeCaption();
  settings::WriteRegString(kSubkey, kRangeValue, range_ == 1 ? "1" : "0");
  initial_ = -1;
  Enable(IDC_JISO_OK, false);
  syllables_.Clear();
  initials_.Clear();
  view_.Clear();
  ReadJisoDictionary();
  Enable(IDC_JISO_OK, true);
}

bool CJisoDlg::OnCommand(int id, int code, LPARAM) {
  switch (id) {
    case IDC_JISO_INITIALS:
      if (code == LBN_SELCHANGE) ChooseInitial();
      return true;
    case IDC_JISO_SYLLABLES:
      if (code == LBN_SELCHANGE) ChooseSyllable();
      if (code == LBN_DBLCLK) Confirm();
      return true;
    case IDC_JISO_RANGE:
      ToggleRange();
      return true;
    default:
      return false;
  }
}

}  // namespace lookup
