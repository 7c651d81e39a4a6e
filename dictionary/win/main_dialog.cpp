#include "main_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <imm.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "dialogs.h"
#include "dictionary_link.h"
#include "font_set_dlg.h"
#include "help.h"
#include "ombrel_app.h"
#include "ombrel_resource.h"
#include "pages.h"
#include "shared_settings_win32.h"

namespace ombrel::win {

namespace {

constexpr int kListIds[2][3] = {{IDC_LIST_JP_DIC, IDC_LIST_JP_HISTORY, IDC_LIST_JP_WORDBOOK},
                                {IDC_LIST_KR_DIC, IDC_LIST_KR_HISTORY, IDC_LIST_KR_WORDBOOK}};
constexpr const wchar_t* kPaneLabels[kPaneCount] = {L"　辞書　", L"　例文　", L"　履歴　", L"My単語帳"};
constexpr int kSplitterWidth = 5;

std::set<LPARAM>& OwnTexts() {
  static std::set<LPARAM> texts;
  return texts;
}

DictionaryDialog* g_dialog = nullptr;

LRESULT CALLBACK KeyFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && g_dialog != nullptr) {
    MSG& msg = *reinterpret_cast<MSG*>(lParam);
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && g_dialog->FilterKey(msg)) msg.message = WM_NULL;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The headword list: asks the dialog for more keys at its ends, and shows
// the entry of the final row once an auto-repeating key is released.
class HeadwordListBox : public fw::Window {
 public:
  HeadwordListBox(HWND dialog, bool* repeating) : dialog_(dialog), repeating_(repeating) {}

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_VSCROLL:
        if (LOWORD(wParam) == SB_LINEUP) SendMessageW(dialog_, kListEndMessage, 0, 0);
        if (LOWORD(wParam) == SB_LINEDOWN) SendMessageW(dialog_, kListEndMessage, 1, 0);
        break;
      case WM_KEYDOWN:
        *repeating_ = (lParam & (1 << 30)) != 0;
        break;
      case WM_KEYUP:
        if (*repeating_) {
          *repeating_ = false;
          SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd()), LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(hwnd()));
        }
        break;
      case WM_KILLFOCUS:
        InvalidateRect(hwnd(), nullptr, TRUE);
        break;
      default:
        break;
    }
    return Window::OnMessage(message, wParam, lParam, result);
  }

 private:
  HWND dialog_;
  bool* repeating_;
};

std::vector<HeadwordListBox*>& ListObjects() {
  static std::vector<HeadwordListBox*> lists;
  return lists;
}

int ComboIndexOf(HWND combo, const std::wstring& text) {
  const LRESULT i =
      SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  return i == CB_ERR ? -1 : static_cast<int>(i);
}

}  // namespace

LRESULT SendOwnSearchText(HWND dialog, const char* text) {
  const auto key = reinterpret_cast<LPARAM>(text);
  OwnTexts().insert(key);
  const LRESULT r = SendMessageW(dialog, kSearchTextMessage, 0, key);
  OwnTexts().erase(key);
  return r;
}

DictionaryDialog::DictionaryDialog(const fw::Module& module) : Dialog(module, IDD_DICTIONARY) {}

DictionaryDialog::~DictionaryDialog() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  g_dialog = nullptr;
  for (HFONT f : {listFont_[0], listFont_[1], boxFont_[0], boxFont_[1], tabFontSelected_, tabFontOther_})
    if (f != nullptr) DeleteObject(f);
  for (HeadwordListBox* l : ListObjects()) delete l;
  ListObjects().clear();
}

HWND DictionaryDialog::ListOf(int direction, int kind) const {
  switch (kind) {
    case kDictionaryPane: return GetDlgItem(hwnd(), kListIds[direction][0]);
    case kHistoryPane: return GetDlgItem(hwnd(), kListIds[direction][1]);
    case kWordbookPane: return GetDlgItem(hwnd(), kListIds[direction][2]);
    default: return nullptr;
  }
}

std::vector<ListItem>* DictionaryDialog::ItemsOf(int direction, int kind) {
  if (kind == kHistoryPane) return &history_[direction];
  if (kind == kWordbookPane) return &wordbook_[direction];
  return nullptr;
}

PageStyle DictionaryDialog::Style() const {
  PageStyle s;
  s.japaneseFace = U16(Wide(932, settings_.japaneseFace));
  s.koreanFace = U16(Wide(932, settings_.koreanFace));
  s.sizeTenths = settings_.sizeTenths;
  s.japaneseColor = settings_.japaneseColor;
  s.koreanColor = settings_.koreanColor;
  s.imageFolder = U16(Wide(932, App().dataRoot + "html\\Images"));
  return s;
}

int DictionaryDialog::RowsWanted() const {
  const int rows = GetSystemMetrics(SM_CYSCREEN) / std::max(itemHeight_, 1) + 1;
  return std::max(rows, 15);
}

// ---- initialisation ----

bool DictionaryDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  g_dialog = this;
  hook_ = SetWindowsHookExW(WH_GETMESSAGE, KeyFilter, nullptr, GetCurrentThreadId());
  AppState& app = App();
  HICON big = LoadIconW(module().handle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
  if (big != nullptr) {
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageW(module().handle(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 16,
                                                     16, 0)));
  }
  SetWindowPos(hwnd(), app.topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  HWND method = GetDlgItem(hwnd(), IDC_METHOD);
  for (const wchar_t* m : {L"標準", L"前方一致", L"後方一致"}) SendMessageW(method, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m));
  SendMessageW(method, CB_SETCURSEL, static_cast<WPARAM>(app.method), 0);
  RECT mr{};
  GetWindowRect(method, &mr);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&mr), 2);
  minTrackWidth_ = mr.right > 0 ? mr.right + 4 * GetSystemMetrics(SM_CXDLGFRAME) : 0;

  if (!files_.Open(app.dataRoot)) {
    Box(hwnd(), L"辞書の読み込みに失敗しました。", MB_ICONEXCLAMATION);
    EndDialog(IDCANCEL);
    return true;
  }
  boxHistoryFile_ = app.dataRoot + "history.dat";
  LoadDictionarySettings(settings::SystemSettings(), settings_);
  listWidth_ = settings_.listWidth;

  HWND dirTab = GetDlgItem(hwnd(), IDC_DIRECTION_TAB);
  HWND paneTab = GetDlgItem(hwnd(), IDC_PANE_TAB);
  for (HWND tab : {dirTab, paneTab})
    SetWindowLongPtrW(tab, GWL_STYLE, GetWindowLongPtrW(tab, GWL_STYLE) | TCS_OWNERDRAWFIXED);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(L"　　韓日辞典 　　");
  SendMessageW(dirTab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  item.pszText = const_cast<wchar_t*>(L"　　日韓辞典 　　");
  SendMessageW(dirTab, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
  for (int k = 0; k < kPaneCount; ++k) {
    item.pszText = const_cast<wchar_t*>(kPaneLabels[k]);
    SendMessageW(paneTab, TCM_INSERTITEMW, k, reinterpret_cast<LPARAM>(&item));
  }
  CreateSearchBoxes();
  for (int d = 0; d < 2; ++d) {
    for (int k = 0; k < kPaneCount; ++k) {
      const int id = (d == 0 ? IDC_VIEW_JP_FIRST : IDC_VIEW_KR_FIRST) + k;
      if (views_[d][k].CreateOnPlaceholder(module(), hwnd(), id, this)) ShowEmptyPage(d, k);
    }
    for (int l = 0; l < 3; ++l) {
      auto* list = new HeadwordListBox(hwnd(), &keyRepeating_);
      list->Subclass(GetDlgItem(hwnd(), kListIds[d][l]));
      ListObjects().push_back(list);
    }
  }
  MakeFonts();

  // The lists and the search-box history.
  for (int d = 0; d < 2; ++d) {
    const std::string folder = app.dataRoot + kDirectionFolders[d] + "\\";
    std::string bytes;
    if (ReadWholeFile(folder + kWordbookFileName, bytes))
      wordbook_[d] = DecodeListFile(bytes, d, files_.EntryCount(d), kWordbookLimit);
    if (ReadWholeFile(folder + kHistoryFileName, bytes))
      history_[d] = DecodeListFile(bytes, d, files_.EntryCount(d), kHistoryLimit);
    FillList(d, kWordbookPane);
    FillList(d, kHistoryPane);
  }
  // A missing file is a first start with an empty history; only a file that
  // is there and cannot be read is reported.
  std::string text;
  if (ReadWholeFile(boxHistoryFile_, text)) {
    boxHistory_ = DecodeSearchBoxHistory(text);
  } else if (GetFileAttributesA(boxHistoryFile_.c_str()) != INVALID_FILE_ATTRIBUTES) {
    Box(hwnd(), module().String(IDS_HISTORY_SAVE_FAILED).c_str(), MB_ICONEXCLAMATION);
  }
  FillBoxHistory(0);
  FillBoxHistory(1);

  // The window's place and the layout.
  const WindowPosValues& p = settings_.windowPos;
  MoveWindow(hwnd(), p.left, p.top, p.right - p.left, p.bottom - p.top, FALSE);
  ShowWindow(hwnd(), SW_SHOW);
  direction_ = 1;
  SendMessageW(dirTab, TCM_SETCURSEL, 0, 0);
  DirectionChanged();
  Layout();

  if (!app.query.empty()) PostSearchRequest();
  FindLayouts();
  ActivateLayoutFor(direction_);
  SetFocus(boxes_[direction_]);
  return false;
}

void DictionaryDialog::CreateSearchBoxes() {
  HDC dc = GetDC(hwnd());
  const int height = GetDeviceCaps(dc, LOGPIXELSY) / 6;
  ReleaseDC(hwnd(), dc);
  boxFont_[1] = CreateFontW(-height, 0, 0, 0, FW_NORMAL, 0, 0, 0, HANGEUL_CHARSET, 0, 0, 0, 0, L"KS Gothic");
  boxFont_[0] = CreateFontW(-height, 0, 0, 0, 400, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"ＭＳ ゴシック");
  for (int d = 0; d < 2; ++d) {
    boxes_[d] = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_AUTOHSCROLL |
                                                         CBS_DROPDOWN,
                                0, 0, 100, 100, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(
                                                            d == 1 ? IDC_SEARCH_KR : IDC_SEARCH_JP)),
                                module().handle(), nullptr);
    SendMessageW(boxes_[d], WM_SETFONT, reinterpret_cast<WPARAM>(boxFont_[d]), TRUE);
  }
}

void DictionaryDialog::MakeFonts() {
  HDC dc = GetDC(hwnd());
  const int dpi = std::max(GetDeviceCaps(dc, LOGPIXELSY), 1);
  const int height = -MulDiv(settings_.sizeTenths / 10, dpi > 0 ? dpi : 96, 72);
  for (int d = 0; d < 2; ++d) {
    if (listFont_[d] != nullptr) DeleteObject(listFont_[d]);
    const std::wstring face = Wide(932, d == 1 ? settings_.koreanFace : settings_.japaneseFace);
    listFont_[d] = CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, d == 1 ? HANGEUL_CHARSET : SHIFTJIS_CHARSET, 0, 0,
                               0, 0, face.c_str());
  }
  HGDIOBJ old = SelectObject(dc, listFont_[1]);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(hwnd(), dc);
  itemHeight_ = tm.tmHeight + 2;
  for (int d = 0; d < 2; ++d) {
    for (int l = 0; l < 3; ++l) {
      HWND list = GetDlgItem(hwnd(), kListIds[d][l]);
      SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_[d]), FALSE);
      SendMessageW(list, LB_SETITEMHEIGHT, 0, itemHeight_);
      InvalidateRect(list, nullptr, TRUE);
    }
  }
  // Tab fonts: weight 600 for the selected tab, 500 for the others.
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
  if (tabFontSelected_ == nullptr) {
    lf.lfWeight = 600;
    tabFontSelected_ = CreateFontIndirectW(&lf);
    lf.lfWeight = 500;
    tabFontOther_ = CreateFontIndirectW(&lf);
  }
}

// ---- layout and splitter ----

void DictionaryDialog::Layout() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int width = client.right;
  auto rectOf = [&](int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(hwnd(), id), &r);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  // The two search areas, each half the width.
  for (int d = 0; d < 2; ++d) {
    const int half = width / 2;
    const int x0 = d == 1 ? 0 : half;
    const RECT frame = rectOf(d == 1 ? IDC_FRAME_KR : IDC_FRAME_JP);
    const int fl = x0 + half * 5 / 100, fr = x0 + half * 95 / 100;
    MoveWindow(GetDlgItem(hwnd(), d == 1 ? IDC_FRAME_KR : IDC_FRAME_JP), fl, frame.top, fr - fl,
               frame.bottom - frame.top, TRUE);
    const int boxRight = fl + (fr - fl) * 90 / 100 - 40;
    const RECT button = rectOf(d == 1 ? IDC_FIND_KR : IDC_FIND_JP);
    MoveWindow(boxes_[d], fl + 6, button.top, boxRight - fl - 6, 100, TRUE);
    MoveWindow(GetDlgItem(hwnd(), d == 1 ? IDC_FIND_KR : IDC_FIND_JP), boxRight + 2, button.top, fr - boxRight - 8,
               button.bottom - button.top, TRUE);
  }
  const RECT paneTab = rectOf(IDC_PANE_TAB);
  MoveWindow(GetDlgItem(hwnd(), IDC_PANE_TAB), paneTab.left, paneTab.top, width - 2 * paneTab.left,
             paneTab.bottom - paneTab.top, TRUE);
  const int top = paneTab.bottom + 2;
  const int bottom = client.bottom - 4;
  const long listWidth = std::clamp<long>(listWidth_, 10, std::max<long>(10, width - 50));
  for (int d = 0; d < 2; ++d) {
    for (int l = 0; l < 3; ++l) MoveWindow(GetDlgItem(hwnd(), kListIds[d][l]), 4, top, listWidth - 4, bottom - top, TRUE);
    for (int k = 0; k < kPaneCount; ++k) {
      if (views_[d][k].hwnd() == nullptr) continue;
      const int left = k == kExamplePane ? 4 : listWidth + kSplitterWidth;
      MoveWindow(views_[d][k].hwnd(), left, top, width - 4 - left, bottom - top, TRUE);
    }
  }
}

// ---- directions and panes ----

void DictionaryDialog::SelectDirection(int direction) {
  SendMessageW(GetDlgItem(hwnd(), IDC_DIRECTION_TAB), TCM_SETCURSEL, direction == 1 ? 0 : 1, 0);
  DirectionChanged();
}

void DictionaryDialog::DirectionChanged() {
  const LRESULT tab = SendMessageW(GetDlgItem(hwnd(), IDC_DIRECTION_TAB), TCM_GETCURSEL, 0, 0);
  direction_ = tab == 1 ? 0 : 1;
  SendMessageW(GetDlgItem(hwnd(), IDC_PANE_TAB), TCM_SETCURSEL, static_cast<WPARAM>(paneKind_[direction_]), 0);
  PaneChanged();
}

void DictionaryDialog::PaneChanged() {
  const LRESULT tab = SendMessageW(GetDlgItem(hwnd(), IDC_PANE_TAB), TCM_GETCURSEL, 0, 0);
  paneKind_[direction_] = static_cast<int>(std::clamp<LRESULT>(tab, 0, kPaneCount - 1));
  for (int d = 0; d < 2; ++d) {
    for (int k = 0; k < kPaneCount; ++k) {
      const bool shown = d == direction_ && k == paneKind_[direction_];
      if (views_[d][k].hwnd() != nullptr) ShowWindow(views_[d][k].hwnd(), shown ? SW_SHOW : SW_HIDE);
      if (HWND list = ListOf(d, k)) ShowWindow(list, shown ? SW_SHOW : SW_HIDE);
    }
  }
  InvalidateRect(GetDlgItem(hwnd(), IDC_DIRECTION_TAB), nullptr, TRUE);
  InvalidateRect(GetDlgItem(hwnd(), IDC_PANE_TAB), nullptr, TRUE);
  UpdateButtons();
}

void DictionaryDialog::SelectPane(int kind) {
  if (paneKind_[direction_] == kind) return;
  SendMessageW(GetDlgItem(hwnd(), IDC_PANE_TAB), TCM_SETCURSEL, static_cast<WPARAM>(kind), 0);
  PaneChanged();
}

void DictionaryDialog::UpdateButtons() {
  HWND list = CurrentList();
  const bool selected = list != nullptr && SendMessageW(list, LB_GETCURSEL, 0, 0) != LB_ERR;
  const int kind = paneKind_[direction_];
  EnableWindow(GetDlgItem(hwnd(), IDC_WORDBOOK), selected);
  SetDlgItemTextW(hwnd(), IDC_WORDBOOK, kind == kWordbookPane ? L"削除" : L"登録");
  EnableWindow(GetDlgItem(hwnd(), IDC_DELETE_HISTORY), kind == kHistoryPane && selected);
}

// ---- search boxes ----

std::string DictionaryDialog::BoxText(int direction) {
  wchar_t text[201]{};
  GetWindowTextW(boxes_[direction], text, 200);
  std::string bytes = Bytes(DirectionCodePage(direction), text);
  if (bytes.size() > 200) bytes.resize(200);
  return bytes;
}

void DictionaryDialog::SetBoxText(int direction, const std::string& bytes) {
  SetWindowTextW(boxes_[direction], Wide(DirectionCodePage(direction), bytes).c_str());
}

void DictionaryDialog::FillBoxHistory(int direction) {
  SendMessageW(boxes_[direction], CB_RESETCONTENT, 0, 0);
  const std::wstring current = Wide(DirectionCodePage(direction), lastTyped_[direction]);
  for (const std::string& t : boxHistory_.texts[direction]) {
    const std::string cut = t.substr(0, 256);
    SendMessageW(boxes_[direction], CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Wide(DirectionCodePage(direction), cut).c_str()));
  }
}

void DictionaryDialog::SearchFromBox(int direction) {
  SelectDirection(direction);
  Pane& pane = Current();
  pane.query = BoxText(direction);
  pane.shownRow = -1;
  if (RunSearch(nullptr, -1, false) && CurrentList() != nullptr) SetFocus(CurrentList());
}

// ---- the search ----

bool DictionaryDialog::RunSearch(const std::string* bytes, int32_t id, bool typing) {
  const int d = direction_;
  if (typing && paneKind_[d] != kDictionaryPane) return false;
  if (bytes != nullptr || paneKind_[d] == kHistoryPane || paneKind_[d] == kWordbookPane) SelectPane(kDictionaryPane);
  Pane& pane = Current();
  if (id == -1) {
    std::string text = bytes != nullptr ? *bytes : pane.query;
    if (bytes == nullptr && text.size() > 50) text = LimitQueryLength(text, d);
    if (bytes != nullptr) text = LimitQueryLength(text, d);
    std::wstring wide = Wide(DirectionCodePage(d), text);
    if (wide.size() > 200) wide.resize(200);
    if (wide.empty()) return false;
    pane.query = text;
    if (!typing) pane.pendingBoxText = text;
    if (paneKind_[d] == kExamplePane) {
      RenderExamples(true);
      return true;
    }
    const Searcher::Result r = searcher_.RunTextSearch(d, App().method, U16(wide), typing, RowsWanted());
    if (!r.searched && !r.wildcard) return false;
    pane.rows = r.rows;
    pane.wildcard = r.wildcard;
    if (r.wildcard && r.rows.empty()) {
      FillList(d, kDictionaryPane);
      Box(hwnd(), L"条件に一致する結果が見つかりませんでした.", MB_OK);
      return false;
    }
  } else {
    const Searcher::Result r = searcher_.RunIdSearch(d, id, RowsWanted());
    if (!r.searched) return false;
    pane.rows = r.rows;
    pane.wildcard = false;
    pane.jumpTarget = id;
  }
  FillList(d, kDictionaryPane);
  if (!pane.wildcard && !typing) {
    SendMessageW(ListOf(d, kDictionaryPane), LB_SETCURSEL, 0, 0);
    ShowSelectedRow();
  }
  return true;
}

void DictionaryDialog::FillList(int direction, int kind) {
  HWND list = ListOf(direction, kind);
  if (list == nullptr) return;
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  const unsigned cp = DirectionCodePage(direction);
  if (kind == kDictionaryPane) {
    Pane& pane = panes_[direction][kind];
    if (pane.rows.size() > static_cast<size_t>(kMaxListRows)) pane.rows.resize(kMaxListRows);
    for (size_t i = 0; i < pane.rows.size(); ++i) {
      std::string word;
      HeadwordToCodePage(files_, pane.rows[i], word);
      const LRESULT r = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(cp, word).c_str()));
      if (r == LB_ERR || r == LB_ERRSPACE) {
        pane.rows.resize(i);
        break;
      }
    }
  } else if (std::vector<ListItem>* items = ItemsOf(direction, kind)) {
    for (const ListItem& it : *items)
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(cp, it.headword).c_str()));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void DictionaryDialog::ShowEmptyPage(int direction, int kind) {
  const std::u16string page = BuildPageHead(Style(), false) + u"</BODY>\n</HTML>\n";
  views_[direction][kind].WritePage(W(page));
}

void DictionaryDialog::RenderRow(int direction, int kind, int row) {
  EntryRef* ref = nullptr;
  if (kind == kDictionaryPane) {
    Pane& pane = panes_[direction][kind];
    if (row < 0 || row >= static_cast<int>(pane.rows.size())) return;
    ref = &pane.rows[static_cast<size_t>(row)];
  } else if (std::vector<ListItem>* items = ItemsOf(direction, kind)) {
    if (row < 0 || row >= static_cast<int>(items->size())) return;
    ref = &(*items)[static_cast<size_t>(row)].ref;
  }
  if (ref == nullptr) return;
  Pane& pane = panes_[direction][kind];
  EntryPage page;
  if (!RenderEntryPage(files_, *ref, Style(), pane.jumpTarget, page)) {
    ShowEmptyPage(direction, kind);
    return;
  }
  if (page.anchorError) Box(hwnd(), L"Error", MB_OK);
  pane.shownId = page.lastIdIndex;
  views_[direction][kind].WritePage(W(page.html));
  if (!page.anchor.empty()) views_[direction][kind].ScrollToAnchor(W(page.anchor));
  pane.jumpTarget = -1;
}

void DictionaryDialog::ShowSelectedRow() {
  if (keyRepeating_) return;
  const int d = direction_, kind = paneKind_[d];
  Pane& pane = Current();
  if (!pane.pendingBoxText.empty()) {
    RememberSearchText(boxHistory_.texts[d], pane.pendingBoxText);
    pane.pendingBoxText.clear();
    const std::wstring text = Wide(DirectionCodePage(d), BoxText(d));
    FillBoxHistory(d);
    SetWindowTextW(boxes_[d], text.c_str());
  }
  HWND list = CurrentList();
  if (list == nullptr) return;
  const LRESULT sel = SendMessageW(list, LB_GETCURSEL, 0, 0);
  pane.shownRow = sel == LB_ERR ? -1 : static_cast<int>(sel);
  if (pane.shownRow >= 0) {
    RenderRow(d, kind, pane.shownRow);
    if (kind == kDictionaryPane && pane.shownRow < static_cast<int>(pane.rows.size())) {
      ListItem item;
      item.ref = pane.rows[static_cast<size_t>(pane.shownRow)];
      HeadwordToCodePage(files_, item.ref, item.headword);
      AddToHistory(history_[d], std::move(item));
      FillList(d, kHistoryPane);
    }
  }
  UpdateButtons();
  SetFocus(list);
}

void DictionaryDialog::RenderExamples(bool newSearch) {
  const int d = direction_;
  Pane& pane = panes_[d][kExamplePane];
  const std::string path = App().dataRoot + "OMBREL\\" + kExampleFileName;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    Box(hwnd(), L"ファイルオープン失敗", MB_OK);
    return;
  }
  std::u16string page;
  if (newSearch) {
    std::wstring q = Wide(DirectionCodePage(d), pane.query);
    if (q.size() > 256) q.resize(256);
    page = RenderExampleSearch(f, d, U16(q), Style(), pane.hits);
  } else {
    page = RenderExampleHits(f, pane.hits, Style());
  }
  std::fclose(f);
  views_[d][kExamplePane].WritePage(W(page));
}

// ---- paging ----

int DictionaryDialog::LoadKeys(bool forward, int n) {
  const int d = direction_;
  Pane& pane = panes_[d][kDictionaryPane];
  if (pane.wildcard || pane.rows.empty()) return 0;
  HWND list = ListOf(d, kDictionaryPane);
  EntryRef cursor = forward ? pane.rows.back() : pane.rows.front();
  int added = 0;
  while (added < std::max(n, 1) && pane.rows.size() < 1024) {
    if (!(forward ? NextKey(files_, cursor) : PrevKey(files_, cursor))) break;
    if (std::any_of(pane.rows.begin(), pane.rows.end(), [&](const EntryRef& r) { return r.idIndex == cursor.idIndex; }))
      continue;
    std::string word;
    HeadwordToCodePage(files_, cursor, word);
    const std::wstring text = Wide(DirectionCodePage(d), word);
    const LRESULT r = forward ? SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()))
                              : SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (r == LB_ERR || r == LB_ERRSPACE) break;
    if (forward) {
      pane.rows.push_back(cursor);
    } else {
      pane.rows.insert(pane.rows.begin(), cursor);
    }
    ++added;
  }
  return added;
}

bool DictionaryDialog::OnListKey(int key, HWND list, LRESULT& result) {
  if (list != ListOf(direction_, kDictionaryPane)) return false;
  RECT r{};
  GetClientRect(list, &r);
  const int visible = std::max(1, static_cast<int>(r.bottom / std::max(itemHeight_, 1)));
  const int p = std::max(visible - 1, 1);
  const int row = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  int select = -1;
  if (key == VK_PRIOR && row >= 0 && row < p) {
    LoadKeys(false, p);
    select = row;
  } else if (key == VK_NEXT && row >= 0 && row + p >= count) {
    select = row + LoadKeys(true, p);
    select = std::min(select + 0, static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)) - 1);
  } else if (key == VK_UP && row == 0) {
    if (LoadKeys(false, 1) > 0) select = 0;
  } else if (key == VK_DOWN && row >= 0 && row == count - 1) {
    if (LoadKeys(true, 1) > 0) select = row + 1;
  } else {
    return false;
  }
  if (select >= 0) {
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(select), 0);
    ShowSelectedRow();
  }
  result = -2;  // the list does nothing more with the key
  return true;
}

// ---- history and word book ----

void DictionaryDialog::AddToWordbookOrDelete() {
  const int d = direction_, kind = paneKind_[d];
  if (kind == kWordbookPane) {
    RemoveSelected(true);
    return;
  }
  HWND list = CurrentList();
  const LRESULT row = list != nullptr ? SendMessageW(list, LB_GETCURSEL, 0, 0) : LB_ERR;
  if (row == LB_ERR) return;
  ListItem item;
  if (kind == kDictionaryPane) {
    if (row >= static_cast<LRESULT>(panes_[d][kind].rows.size())) return;
    item.ref = panes_[d][kind].rows[static_cast<size_t>(row)];
  } else {
    std::vector<ListItem>* items = ItemsOf(d, kind);
    if (items == nullptr || row >= static_cast<LRESULT>(items->size())) return;
    item.ref = (*items)[static_cast<size_t>(row)].ref;
  }
  if (item.ref.textOffset == -1) LoadEntryByIdIndex(files_, item.ref);
  // The entry shown is the headword's first one: keep that id.
  if (panes_[d][kind].shownId >= 0 && kind == kDictionaryPane) {
    EntryRef first = item.ref;
    while ((first.flags & kFlagContinues) != 0 && PrevRecord(files_, first)) {}
    item.ref = first;
  }
  HeadwordToCodePage(files_, item.ref, item.headword);
  switch (AddToWordbook(wordbook_[d], item)) {
    case WordbookAdd::kAlreadyThere:
      Box(hwnd(), L"既に登録されています", MB_ICONEXCLAMATION, L"My単語帳");
      break;
    case WordbookAdd::kFull:
      Box(hwnd(), L"これ以上登録できません。\n不必要な単語を削除してください。", MB_ICONEXCLAMATION, L"My単語帳");
      break;
    case WordbookAdd::kAdded:
      FillList(d, kWordbookPane);
      Box(hwnd(), L"単語帳に登録しました", MB_ICONINFORMATION, L"My単語帳");
      break;
  }
}

void DictionaryDialog::RemoveSelected(bool wordbook) {
  const int d = direction_, kind = paneKind_[d];
  if (kind != (wordbook ? kWordbookPane : kHistoryPane)) return;
  HWND list = CurrentList();
  const LRESULT row = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (row == LB_ERR) return;
  if (wordbook && Box(hwnd(), L"削除しますか？", MB_YESNO | MB_ICONQUESTION, L"My単語帳") != IDYES) return;
  std::vector<ListItem>& items = wordbook ? wordbook_[d] : history_[d];
  const int next = RemoveRow(items, static_cast<int>(row));
  FillList(d, kind);
  if (next < 0) {
    ShowEmptyPage(d, kind);
    UpdateButtons();
    return;
  }
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(next), 0);
  ShowSelectedRow();
}

void DictionaryDialog::ClearAllHistory() {
  if (Box(hwnd(), L"履歴を全て削除しますか？", MB_YESNO | MB_ICONQUESTION, L"履歴") != IDYES) return;
  history_[direction_].clear();
  FillList(direction_, kHistoryPane);
  ShowEmptyPage(direction_, kHistoryPane);
  UpdateButtons();
}

void DictionaryDialog::PrintWordbookList() {
  const int d = direction_;
  if (wordbook_[d].empty()) return;
  PRINTDLGW pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = hwnd();
  pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS;
  if (!PrintDlgW(&pd)) return;
  if (pd.hDC == nullptr) {
    Box(hwnd(), L"HDCがありません", MB_OK);
    return;
  }
  HDC dc = pd.hDC;
  const int points = settings_.sizeTenths / 10;
  const int lineHeight = MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  const std::wstring face = Wide(932, d == 1 ? settings_.koreanFace : settings_.japaneseFace);
  HFONT font = CreateFontW(-lineHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, d == 1 ? HANGEUL_CHARSET : SHIFTJIS_CHARSET, 0,
                           0, 0, 0, face.c_str());
  DOCINFOW di{sizeof di, L"LIST PRINT", nullptr, nullptr, 0};
  const int pageHeight = GetDeviceCaps(dc, VERTRES);
  if (StartDocW(dc, &di) > 0) {
    StartPage(dc);
    HGDIOBJ old = SelectObject(dc, font);
    int offset = 0;
    for (const ListItem& it : wordbook_[d]) {
      if (lineHeight + offset + lineHeight > pageHeight - 2 * lineHeight) {
        EndPage(dc);
        StartPage(dc);
        SelectObject(dc, font);
        offset = 0;
      }
      const std::wstring text = Wide(DirectionCodePage(d), it.headword);
      TextOutW(dc, lineHeight, lineHeight + offset, text.c_str(), static_cast<int>(text.size()));
      offset += lineHeight;
    }
    SelectObject(dc, old);
    EndPage(dc);
    EndDoc(dc);
  }
  DeleteObject(font);
  DeleteDC(dc);
  if (pd.hDevMode != nullptr) GlobalFree(pd.hDevMode);
  if (pd.hDevNames != nullptr) GlobalFree(pd.hDevNames);
}

// ---- hand-over and requests ----

void DictionaryDialog::OnCopyData(const COPYDATASTRUCT* cds) {
  if (cds == nullptr) return;
  const auto request = link::DecodeDictionaryRequest(cds->lpData, cds->cbData);
  if (!request) return;  // a block of another shape: nothing is taken from it
  AppState& app = App();
  app.topmost = request->topmost;
  SetWindowPos(hwnd(), app.topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const int d = request->direction;
  if (request->method != app.method) {
    app.method = request->method;
    SendMessageW(GetDlgItem(hwnd(), IDC_METHOD), CB_SETCURSEL, static_cast<WPARAM>(app.method), 0);
  }
  const std::wstring text = Unescape(request->text, 64);
  if (text.empty()) return;
  app.query = Bytes(DirectionCodePage(d), text);
  SetBoxText(d, app.query);
  SelectDirection(d);
  SelectPane(kDictionaryPane);
  Current().query = app.query;
  Current().shownRow = -1;
  RunSearch(nullptr, -1, false);
}

void DictionaryDialog::PostSearchRequest() {
  AppState& app = App();
  const std::wstring text = Unescape(app.query, 64);
  if (text.empty()) return;
  const int d = app.commandDirection;
  app.query = Bytes(DirectionCodePage(d), text);
  PostMessageW(hwnd(), d == 1 ? kSearchKoreanMessage : kSearchJapaneseMessage, 0, 0);
}

void DictionaryDialog::OnAppUrl(HtmlView&, const std::string& text) {
  const AppUrl url = ParseAppUrl("app:" + text);
  AppState& app = App();
  switch (url.kind) {
    case AppUrl::kSpeak: {
      if (!app.speechLoaded) return;
      LoadVoiceValues();
      const std::wstring words = Unescape(url.text, 1024);
      const std::string ks = Bytes(949, words);
      if (Speech().SpeakToWaveFile(ks.c_str(), app.speechFile.c_str(), app.speaker, app.volume, app.rate, app.pitch) ==
          speech::kSpeakOk) {
        PlaySoundA(app.speechFile.c_str(), nullptr, SND_FILENAME | SND_SYNC);
      }
      break;
    }
    case AppUrl::kHelp:
      fw::CurrentHelpViewer().ShowContext(hwnd(), app.programFolder + "kelto.chm", static_cast<unsigned long>(url.number));
      break;
    case AppUrl::kJump:
      // An idlist index of the pane's direction, within 0 ... M - 1.
      if (url.number >= 0 && url.number < files_.EntryCount(direction_) && RunSearch(nullptr, url.number, false))
        SetFocus(CurrentList());
      break;
    case AppUrl::kNone:
      break;
  }
}

void DictionaryDialog::OnContextSearch(HtmlView&, const std::wstring& selected) {
  AppState& app = App();
  app.commandDirection = selected[0] >= 0xAC00 && selected[0] <= 0xDFFF ? 1 : 0;
  app.query = Escape(selected, 384);
  PostSearchRequest();
}

// ---- settings ----

void DictionaryDialog::SaveAll() {
  AppState& app = App();
  if (!WriteWholeFile(boxHistoryFile_, EncodeSearchBoxHistory(boxHistory_)))
    Box(hwnd(), module().String(IDS_HISTORY_SAVE_FAILED).c_str(), MB_ICONEXCLAMATION);
  for (int d = 0; d < 2; ++d) {
    const std::string folder = app.dataRoot + kDirectionFolders[d] + "\\";
    WriteWholeFile(folder + kWordbookFileName, EncodeListFile(wordbook_[d]));
    WriteWholeFile(folder + kHistoryFileName, EncodeListFile(history_[d]));
  }
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(hwnd(), &wp);
  settings_.windowPos = WindowPosValues{static_cast<int>(wp.length), static_cast<int>(wp.flags),
                                        static_cast<int>(wp.showCmd), wp.ptMinPosition.x, wp.ptMinPosition.y,
                                        wp.ptMaxPosition.x, wp.ptMaxPosition.y, wp.rcNormalPosition.left,
                                        wp.rcNormalPosition.top, wp.rcNormalPosition.right, wp.rcNormalPosition.bottom};
  settings_.listWidth = listWidth_;
  SaveDictionarySettings(settings::SystemSettings(), settings_);
}

void DictionaryDialog::OnFontSettings() {
  HDC dc = GetDC(hwnd());
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(hwnd(), dc);
  const int height = fontdlg::HeightForPoints(settings_.sizeTenths / 10, dpi);
  fontdlg::FontSide jp{Wide(932, settings_.japaneseFace), height, SHIFTJIS_CHARSET, 0,
                       fontdlg::FindColorValue(settings_.japaneseColor)};
  fontdlg::FontSide kr{Wide(932, settings_.koreanFace), height, HANGEUL_CHARSET, 0,
                       fontdlg::FindColorValue(settings_.koreanColor)};
  fontdlg::CFontSetDlg dialog(module(), fontdlg::kDictionaryFontDialog, jp, kr);
  if (dialog.DoModal(hwnd()) != IDOK) return;
  settings_.japaneseFace = Bytes(932, dialog.Japanese().face);
  settings_.koreanFace = Bytes(932, dialog.Korean().face);
  settings_.japaneseColor = fontdlg::ColorOfIndex(dialog.Japanese().color);
  settings_.koreanColor = fontdlg::ColorOfIndex(dialog.Korean().color);
  settings_.sizeTenths = fontdlg::PointsForHeight(dialog.Japanese().height, dpi) * 10;
  MakeFonts();
  Pane& pane = Current();
  if (paneKind_[direction_] == kExamplePane) RenderExamples(false);
  else if (pane.shownRow >= 0) RenderRow(direction_, paneKind_[direction_], pane.shownRow);
}

void DictionaryDialog::OnVoiceSettings() {
  if (!App().speechLoaded) return;
  LoadVoiceValues();
  VoiceSettingsDialog dialog(module());
  if (dialog.DoModal(hwnd()) == IDOK) SaveVoiceValues();
}

void DictionaryDialog::OnInputSystem() {
  InputSystemDialog dialog(module(), settings_);
  if (dialog.DoModal(hwnd()) != IDOK) return;
  dialog.Apply(settings_);
  FindLayouts();
  HWND focus = GetFocus();
  for (int d = 0; d < 2; ++d)
    if (focus != nullptr && (focus == boxes_[d] || IsChild(boxes_[d], focus))) ActivateLayoutFor(d);
}

void DictionaryDialog::FindLayouts() {
  layouts_[0] = FindLayoutFor(settings_.japaneseIme, 0);
  layouts_[1] = FindLayoutFor(settings_.koreanIme, 1);
}

void DictionaryDialog::ActivateLayoutFor(int direction) {
  HKL layout = layouts_[direction];
  if (layout == nullptr) return;
  if (GetKeyboardLayout(0) != layout) {
    ActivateKeyboardLayout(layout, KLF_SETFORPROCESS);
    HIMC context = ImmGetContext(hwnd());
    if (context != nullptr) {
      ImmSetOpenStatus(context, TRUE);
      ImmReleaseContext(hwnd(), context);
    }
  }
}

// ---- drawing ----

void DictionaryDialog::DrawListItem(const DRAWITEMSTRUCT& di) {
  if (di.itemID == static_cast<UINT>(-1)) return;
  const LRESULT n = SendMessageW(di.hwndItem, LB_GETTEXTLEN, di.itemID, 0);
  std::wstring text(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
  if (n > 0) SendMessageW(di.hwndItem, LB_GETTEXT, di.itemID, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  const bool selected = (di.itemState & ODS_SELECTED) != 0;
  FillRect(di.hDC, &di.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(di.hDC, TRANSPARENT);
  SetTextColor(di.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  HGDIOBJ old = SelectObject(di.hDC, reinterpret_cast<HFONT>(SendMessageW(di.hwndItem, WM_GETFONT, 0, 0)));
  TextOutW(di.hDC, di.rcItem.left, di.rcItem.top, text.c_str(), static_cast<int>(text.size()));
  SelectObject(di.hDC, old);
  if ((di.itemState & ODS_FOCUS) != 0) DrawFocusRect(di.hDC, &di.rcItem);
}

void DictionaryDialog::DrawTab(const DRAWITEMSTRUCT& di) {
  wchar_t text[64]{};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 63;
  SendMessageW(di.hwndItem, TCM_GETITEMW, di.itemID, reinterpret_cast<LPARAM>(&item));
  const bool selected = static_cast<LRESULT>(di.itemID) == SendMessageW(di.hwndItem, TCM_GETCURSEL, 0, 0);
  FillRect(di.hDC, &di.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(di.hDC, TRANSPARENT);
  SetTextColor(di.hDC, selected ? RGB(0, 0, 255) : RGB(50, 50, 50));
  HGDIOBJ old = SelectObject(di.hDC, selected ? tabFontSelected_ : tabFontOther_);
  RECT r = di.rcItem;
  DrawTextW(di.hDC, text, -1, &r, DT_CENTER | DT_SINGLELINE | (selected ? DT_VCENTER : DT_BOTTOM));
  SelectObject(di.hDC, old);
}

void DictionaryDialog::InitMenu(HMENU menu) {
  const int d = direction_, kind = paneKind_[d];
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    const UINT id = GetMenuItemID(menu, i);
    if (id == static_cast<UINT>(-1) || id == 0 || id >= 0xF000) continue;
    bool enabled = false;
    switch (id) {
      case ID_FILE_PRINT: case ID_APP_EXIT: case ID_FONT: case ID_INPUT_SYSTEM: case ID_ABOUT: case ID_HELP_FINDER:
        enabled = true;
        break;
      case ID_VOICE: enabled = App().speechLoaded; break;
      case ID_CLEAR_HISTORY: enabled = kind == kHistoryPane && !history_[d].empty(); break;
      case ID_PRINT_WORDBOOK: enabled = kind == kWordbookPane && !wordbook_[d].empty(); break;
      default: break;
    }
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
}

// ---- keys ----

bool DictionaryDialog::FilterKey(MSG& msg) {
  if (hwnd() == nullptr || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
    for (int d = 0; d < 2; ++d) {
      if (msg.hwnd == boxes_[d] || IsChild(boxes_[d], msg.hwnd)) {
        if (SendMessageW(boxes_[d], CB_GETDROPPEDSTATE, 0, 0)) SendMessageW(boxes_[d], CB_SHOWDROPDOWN, FALSE, 0);
        PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(d == 1 ? IDC_FIND_KR : IDC_FIND_JP, BN_CLICKED), 0);
        return true;
      }
    }
    const int id = GetDlgCtrlID(msg.hwnd);
    if (id == IDC_FIND_KR || id == IDC_FIND_JP) {
      PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
      return true;
    }
    return id != IDC_WORDBOOK;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    for (HWND box : boxes_)
      if (SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0)) return false;
    return true;
  }
  for (auto& row : views_)
    for (HtmlView& v : row)
      if (v.hwnd() != nullptr && v.Contains(msg.hwnd)) return v.TranslateAccelerator(msg);
  return false;
}

void DictionaryDialog::OnOK() {}
void DictionaryDialog::OnCancel() {}

bool DictionaryDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      switch (id) {
        case IDC_FIND_KR: if (code == BN_CLICKED) SearchFromBox(1); return true;
        case IDC_FIND_JP: if (code == BN_CLICKED) SearchFromBox(0); return true;
        case IDC_WORDBOOK: AddToWordbookOrDelete(); return true;
        case IDC_DELETE_HISTORY: RemoveSelected(false); return true;
        case IDC_SEARCH_KR:
        case IDC_SEARCH_JP: {
          const int d = id == IDC_SEARCH_KR ? 1 : 0;
          if (code == CBN_SELCHANGE) {
            direction_ = d;
            // The chosen text searches through the edit-change path.
            const LRESULT sel = SendMessageW(boxes_[d], CB_GETCURSEL, 0, 0);
            if (sel != CB_ERR) {
              wchar_t text[257]{};
              if (SendMessageW(boxes_[d], CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0) < 257) {
                SendMessageW(boxes_[d], CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text));
                SetWindowTextW(boxes_[d], text);
              }
            }
            PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE), lParam);
          } else if (code == CBN_EDITCHANGE) {
            if (direction_ != d || paneKind_[d] != kDictionaryPane) {
              SelectDirection(d);
              SelectPane(kDictionaryPane);
            }
            lastTyped_[d] = BoxText(d);
            Pane& pane = panes_[d][kDictionaryPane];
            pane.query = lastTyped_[d];
            pane.shownRow = -1;
            if (paneKind_[d] != kExamplePane) RunSearch(nullptr, -1, true);
          } else if (code == CBN_SETFOCUS) {
            ActivateLayoutFor(d);
          } else if (code == CBN_KILLFOCUS) {
            if (!lastTyped_[d].empty()) panes_[d][paneKind_[d]].query = lastTyped_[d];
          }
          return true;
        }
        case IDC_METHOD:
          if (code == CBN_SELCHANGE) {
            const LRESULT m = SendMessageW(GetDlgItem(hwnd(), IDC_METHOD), CB_GETCURSEL, 0, 0);
            if (m >= 0 && m <= 2) App().method = static_cast<int>(m);
          }
          return true;
        case ID_APP_EXIT:
        case IDOK:
          if (id == IDOK && lParam != 0) return true;  // Enter never ends the dialog
          SaveAll();
          EndDialog(IDOK);
          return true;
        case IDCANCEL:
          return true;  // Escape is swallowed; closing goes through WM_CLOSE
        case ID_VOICE: OnVoiceSettings(); return true;
        case ID_FONT: OnFontSettings(); return true;
        case ID_INPUT_SYSTEM: OnInputSystem(); return true;
        case ID_ABOUT: {
          fw::Dialog about(module(), IDD_ABOUT);
          about.DoModal(hwnd());
          return true;
        }
        case ID_FILE_PRINT: CurrentView().Print(); return true;
        case ID_PRINT_WORDBOOK: PrintWordbookList(); return true;
        case ID_CLEAR_HISTORY: ClearAllHistory(); return true;
        case ID_HELP_FINDER:
          fw::CurrentHelpViewer().ShowContext(hwnd(), App().programFolder + "kelto.chm", 200);
          return true;
        default:
          break;
      }
      if (code == LBN_SELCHANGE && reinterpret_cast<HWND>(lParam) == CurrentList()) {
        ShowSelectedRow();
        return true;
      }
      break;
    }
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
      if (hdr->code == TCN_SELCHANGE && hdr->idFrom == IDC_DIRECTION_TAB) DirectionChanged();
      if (hdr->code == TCN_SELCHANGE && hdr->idFrom == IDC_PANE_TAB) PaneChanged();
      break;
    }
    case WM_COPYDATA:
      OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
      result = TRUE;
      return true;
    case kSearchJapaneseMessage:
    case kSearchKoreanMessage: {
      const int d = message == kSearchKoreanMessage ? 1 : 0;
      SetBoxText(d, App().query);
      SelectDirection(d);
      SelectPane(kDictionaryPane);
      Current().query = App().query;
      Current().shownRow = -1;
      if (RunSearch(nullptr, -1, false) && CurrentList() != nullptr) SetFocus(CurrentList());
      return true;
    }
    case kListEndMessage: {
      HWND list = ListOf(direction_, kDictionaryPane);
      if (CurrentList() != list) return true;
      RECT r{};
      GetClientRect(list, &r);
      const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
      const int visible = static_cast<int>(r.bottom / std::max(itemHeight_, 1));
      const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
      if (wParam == 0 && top == 0) LoadKeys(false, 1);
      if (wParam == 1 && top + visible >= count) LoadKeys(true, 1);
      return true;
    }
    case kSearchTextMessage: {
      // Only a text of this process, sent by its own thread.
      if (InSendMessage() || OwnTexts().count(lParam) == 0) return true;
      if (paneKind_[direction_] == kExamplePane) return true;
      const std::string text(reinterpret_cast<const char*>(lParam));
      Current().shownRow = -1;
      RunSearch(&text, -1, false);
      return true;
    }
    case WM_VKEYTOITEM:
      if (OnListKey(LOWORD(wParam), reinterpret_cast<HWND>(lParam), result)) {
        SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, result);
        return true;
      }
      SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, -1);
      result = -1;
      return true;
    case WM_DRAWITEM: {
      const auto& di = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (di.CtlType == ODT_LISTBOX) DrawListItem(di);
      else if (di.CtlType == ODT_TAB) DrawTab(di);
      else break;
      result = TRUE;
      return true;
    }
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (mi->CtlType == ODT_LISTBOX) {
        mi->itemHeight = static_cast<UINT>(itemHeight_);
        result = TRUE;
        return true;
      }
      break;
    }
    case WM_SIZE:
      Layout();
      break;
    case WM_GETMINMAXINFO: {
      auto* mm = reinterpret_cast<MINMAXINFO*>(lParam);
      if (minTrackWidth_ > 0) mm->ptMinTrackSize.x = minTrackWidth_;
      mm->ptMinTrackSize.y = 300;
      return true;
    }
    case WM_SETCURSOR: {
      POINT pt{};
      GetCursorPos(&pt);
      ScreenToClient(hwnd(), &pt);
      if (reinterpret_cast<HWND>(wParam) == hwnd() && pt.x >= listWidth_ && pt.x < listWidth_ + kSplitterWidth) {
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
      }
      break;
    }
    case WM_LBUTTONDOWN: {
      const int x = static_cast<short>(LOWORD(lParam));
      if (x >= listWidth_ && x < listWidth_ + kSplitterWidth) {
        SetCapture(hwnd());
        dragging_ = true;
        dragX_ = x;
        HDC dc = GetDC(hwnd());
        RECT c{};
        GetClientRect(hwnd(), &c);
        PatBlt(dc, dragX_, 0, kSplitterWidth, c.bottom, PATINVERT);
        ReleaseDC(hwnd(), dc);
      }
      break;
    }
    case WM_MOUSEMOVE:
      if (dragging_) {
        RECT c{};
        GetClientRect(hwnd(), &c);
        const int x = static_cast<short>(LOWORD(lParam));
        if (x >= 50 && x <= c.right - 50) {
          HDC dc = GetDC(hwnd());
          PatBlt(dc, dragX_, 0, kSplitterWidth, c.bottom, PATINVERT);
          dragX_ = x;
          PatBlt(dc, dragX_, 0, kSplitterWidth, c.bottom, PATINVERT);
          ReleaseDC(hwnd(), dc);
        }
      }
      break;
    case WM_LBUTTONUP:
      if (dragging_) {
        RECT c{};
        GetClientRect(hwnd(), &c);
        HDC dc = GetDC(hwnd());
        PatBlt(dc, dragX_, 0, kSplitterWidth, c.bottom, PATINVERT);
        ReleaseDC(hwnd(), dc);
        ReleaseCapture();
        dragging_ = false;
        listWidth_ = dragX_;
        Layout();
      }
      break;
    case WM_INITMENUPOPUP:
      InitMenu(reinterpret_cast<HMENU>(wParam));
      return true;
    case WM_PAINT:
      if (CurrentList() != nullptr) InvalidateRect(CurrentList(), nullptr, FALSE);
      break;
    case WM_CLOSE:
      SaveAll();
      EndDialog(IDCANCEL);
      return true;
    default:
      break;
  }
  return Dialog::OnMessage(message, wParam, lParam, result);
}

}  // namespace ombrel::win
