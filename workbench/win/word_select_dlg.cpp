#include "word_select_dlg.h"

#include <commctrl.h>
#include <imm.h>

#include <cstring>

#include "candidate_list_rules.h"
#include "dalmok_help.h"
#include "help.h"
#include "ime_layouts.h"
#include "part_of_speech.h"
#include "text_codes.h"
#include "user_dic_editor.h"
#include "word_select_resource.h"

namespace dalmok {
namespace {

namespace choice = workbench::choice;

constexpr wchar_t kCaption[] = L"訳語選択";
// The learn check box's state, kept between openings for the process.
bool g_learn = false;

std::wstring Utf8(std::string_view text) { return Wide(CP_UTF8, text); }

const wchar_t* DictionaryName(int number) {
  switch (number) {
    case 0: return L"ユーザ辞書1";
    case 1: return L"ユーザ辞書2";
    case 2: return L"ユーザ辞書3";
    default: return L"システム辞書";
  }
}

HFONT MakeFont(LOGFONTA& log, const char* face, BYTE charset, int height) {
  std::memset(&log, 0, sizeof log);
  log.lfHeight = height;
  log.lfWeight = FW_NORMAL;
  log.lfCharSet = charset;
  lstrcpynA(log.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectA(&log);
}

int ClientHeight(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return r.bottom - r.top;
}

RECT ChildRect(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

CWordSelectDlg::CWordSelectDlg(const fw::Module& module, WordSelectInputs inputs, workbench::UserDicEngine& engine)
    : fw::Dialog(module, IDD_WORD_SELECT), in_(std::move(inputs)), candidates_(engine) {}

CWordSelectDlg::~CWordSelectDlg() {
  if (koreanFont_) DeleteObject(koreanFont_);
  if (japaneseFont_) DeleteObject(japaneseFont_);
}

void CWordSelectDlg::Box(const wchar_t* text, UINT icon) { MessageBoxW(hwnd(), text, kCaption, MB_OK | icon); }

std::string CWordSelectDlg::ToModeCode(const std::string& ks) const {
  if (in_.codeMode == 1 || !in_.gm) return ks;
  std::string gm = ks;
  gm.push_back('\0');
  in_.gm->KsToGm(gm.data(), static_cast<unsigned>(ks.size()));
  gm.resize(ks.size());
  return gm;
}

bool CWordSelectDlg::OnInitDialog() {
  HWND dlg = hwnd();
  RECT r{};
  GetWindowRect(dlg, &r);
  // Centred, and above the always-on-top frame that opened it.
  HWND owner = GetWindow(dlg, GW_OWNER);
  const bool topmost = owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(dlg, topmost ? HWND_TOPMOST : nullptr, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 0, 0,
               SWP_NOSIZE | (topmost ? 0 : SWP_NOZORDER));
  const bool pair = !in_.pair.noPair;
  EnableWindow(GetDlgItem(dlg, IDC_WS_REPLACE), pair);
  EnableWindow(GetDlgItem(dlg, IDC_WS_LEARN), pair);
  EnableWindow(GetDlgItem(dlg, IDC_WS_REGISTER), static_cast<bool>(in_.openEditor));
  CheckDlgButton(dlg, IDC_WS_LEARN, g_learn ? BST_CHECKED : BST_UNCHECKED);
  const HINSTANCE instance = module().handle();
  SendDlgItemMessageW(dlg, IDC_WS_UP, BM_SETIMAGE, IMAGE_ICON,
                      reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MOVE_UP), IMAGE_ICON, 16, 16, 0)));
  SendDlgItemMessageW(dlg, IDC_WS_DOWN, BM_SETIMAGE, IMAGE_ICON,
                      reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MOVE_DOWN), IMAGE_ICON, 16, 16, 0)));

  // Fonts: the list's Korean column in the face of the code mode, the
  // search field in a Japanese face.
  search_ = GetDlgItem(dlg, IDC_WS_SEARCH_WORD);
  const int height = ClientHeight(search_) - 8;
  koreanFont_ = in_.codeMode == 1 ? MakeFont(koreanLog_, "KS P Mincho", HANGUL_CHARSET, height)
                                  : MakeFont(koreanLog_, "\x82\x66\x82\x6c\x8a\xd8\x8d\x91\x96\xbe\x92\xa9",
                                             SHIFTJIS_CHARSET, height);  // ＧＭ韓国明朝
  japaneseFont_ = MakeFont(japaneseLog_, "\x82\x6c\x82\x72 \x82\x6f\x96\xbe\x92\xa9", SHIFTJIS_CHARSET,
                           height);  // ＭＳ Ｐ明朝
  HWND list = GetDlgItem(dlg, IDC_WS_LIST);
  list_.SubclassList(list, in_.codeMode == 1 ? 949 : 932);
  list_.SetFontColumn(0);
  list_.SetDrawStyle(workbench::candidates::kWholeRow, koreanFont_);
  SendMessageA(search_, WM_SETFONT, reinterpret_cast<WPARAM>(japaneseFont_), reinterpret_cast<LPARAM>(&japaneseLog_));
  SetWindowTextW(dlg, kCaption);

  SendMessageA(search_, EM_LIMITTEXT, 256, 0);
  SendMessageA(search_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(in_.pair.japanese.c_str()));
  {
    RECT window{}, help{}, field{};
    GetWindowRect(dlg, &window);
    GetWindowRect(GetDlgItem(dlg, 3), &help);
    GetWindowRect(search_, &field);
    minimum_.cy = help.bottom - window.top + 14;
    minimum_.cx = (window.right - window.left) - (field.right - field.left) + 32;
    initialWindow_ = window;
    GetClientRect(dlg, &initialClient_);
  }

  // The list: empty, three columns.
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  RECT lr{};
  GetClientRect(list, &lr);
  const int width = lr.right - lr.left;
  const struct {
    const wchar_t* title;
    int width;
  } columns[] = {{L"訳語", width * 13 / 30}, {L"品詞", width * 7 / 30}, {L"辞書", width * 9 / 30 - 4}};
  for (int c = 0; c < 3; ++c) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<wchar_t*>(columns[c].title);
    col.cx = columns[c].width;
    col.iSubItem = c;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
  }

  bool cut = false;
  if (in_.gm) word_ = choice::SearchWord(in_.pair.japanese, *in_.gm, &cut);
  japaneseLayout_ = reinterpret_cast<HKL>(in_.imeName.empty() ? 0 : codeconv::FindImeLayoutByName(in_.imeName));
  for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    placements_.push_back({child, ChildRect(dlg, child)});

  PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDC_WS_SEARCH, BN_CLICKED), 0);
  return true;
}

int CWordSelectDlg::SelectedRow() const {
  return static_cast<int>(SendMessageW(list_.hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CWordSelectDlg::SelectRow(int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list_.hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  SendMessageW(list_.hwnd(), LVM_SETSELECTIONMARK, 0, row);
  SendMessageW(list_.hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

// The row's three texts from the record it shows (so that the rows always
// show the records they stand for).
void CWordSelectDlg::ShowRow(int row, bool insert) {
  const choice::Record* record = candidates_.RowRecord(row);
  if (!record) return;
  const std::string ks = choice::RecordKorean(*record);
  if (list_.fontTexts.size() <= static_cast<std::size_t>(row)) list_.fontTexts.resize(static_cast<std::size_t>(row) + 1);
  list_.fontTexts[static_cast<std::size_t>(row)] = ToModeCode(ks);
  const std::wstring korean = Wide(949, ks);
  const std::wstring pos = Utf8(workbench::ChooserPartOfSpeechName(
      {choice::RecordType(*record), choice::RecordSubtype(*record), choice::RecordThird(*record)}));
  const wchar_t* texts[3] = {korean.c_str(), pos.c_str(), DictionaryName(choice::RecordDictionary(*record))};
  HWND list = list_.hwnd();
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = const_cast<wchar_t*>(texts[0]);
  if (insert)
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  else
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  for (int c = 1; c < 3; ++c) {
    item.iSubItem = c;
    item.pszText = const_cast<wchar_t*>(texts[c]);
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }
}

void CWordSelectDlg::Search() {
  HWND dlg = hwnd();
  HWND list = list_.hwnd();
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  list_.fontTexts.clear();
  candidates_.Clear();
  std::memset(list_.boundaries, 0, sizeof list_.boundaries);
  char typed[128] = {};
  SendMessageA(search_, WM_GETTEXT, sizeof typed, reinterpret_cast<LPARAM>(typed));
  bool cut = false;
  const std::string word = in_.gm ? choice::SearchWord(typed, *in_.gm, &cut) : std::string(typed);
  if (cut) MessageBeep(MB_ICONEXCLAMATION);

  if (const auto fixed = choice::FixedVerbKorean(word)) {
    // The verbs the engine does not look up: one row, and no replacing,
    // learning or registering for the rest of the dialog's life.
    list_.fontTexts.push_back(ToModeCode(*fixed));
    const std::wstring korean = Wide(949, *fixed);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<wchar_t*>(korean.c_str());
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    const wchar_t* texts[2] = {L"動詞    ", L"システム辞書"};
    for (int c = 1; c < 3; ++c) {
      item.iSubItem = c;
      item.pszText = const_cast<wchar_t*>(texts[c - 1]);
      SendMessageW(list, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    }
    fixedVerb_ = true;
    fixedKorean_ = *fixed;
  } else {
    if (!candidates_.LookUp(word)) Box(L"Memory alloc error!");
    const auto b = candidates_.Boundaries();
    for (int g = 0; g < 4; ++g) list_.boundaries[g] = b[static_cast<std::size_t>(g)];
    for (int row = 0, n = candidates_.RowCount(); row < n; ++row) ShowRow(row, true);
    const int match = candidates_.RowOf(in_.pair.korean);
    if (match >= 0) SelectRow(match);
  }
  if (fixedVerb_) {
    EnableWindow(GetDlgItem(dlg, IDC_WS_REPLACE), FALSE);
    EnableWindow(GetDlgItem(dlg, IDC_WS_LEARN), FALSE);
    EnableWindow(GetDlgItem(dlg, IDC_WS_REGISTER), FALSE);
  }
  EnableWindow(list, TRUE);
  InvalidateRect(list, nullptr, TRUE);
}

void CWordSelectDlg::Refusal(int code) {
  MessageBeep(MB_ICONEXCLAMATION);
  const std::u16string text = choice::OrderChangeRefusal(code);
  Box(reinterpret_cast<const wchar_t*>(text.c_str()));
  EndDialog(3);
}

void CWordSelectDlg::MoveSelected(bool up) {
  const int row = SelectedRow();
  const choice::MoveOutcome out = candidates_.Move(row, up);
  switch (out.kind) {
    case choice::MoveOutcome::kBeep:
      MessageBeep(MB_ICONEXCLAMATION);
      return;
    case choice::MoveOutcome::kOtherDictionary:
      Box(L"同一辞書内でしか順序変更できません！");
      return;
    case choice::MoveOutcome::kRefused:
      Refusal(out.code);
      return;
    case choice::MoveOutcome::kMoved:
      ShowRow(row, false);
      ShowRow(out.row, false);
      SelectRow(out.row);
      SetFocus(list_.hwnd());
      InvalidateRect(list_.hwnd(), nullptr, TRUE);
      return;
  }
}

void CWordSelectDlg::Replace() {
  const int row = SelectedRow();
  const choice::Record* record = candidates_.RowRecord(row);
  if (!record) {
    Box(L"訳語を選択してください");
    return;
  }
  workbench::AlignmentTable* table = in_.pair.info.table;
  if (!table || !in_.gm || !choice::WriteCandidate(table->Buffer(), in_.pair.info.entryIndex, *record, *in_.gm)) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  replaced_ = true;
  if (IsDlgButtonChecked(hwnd(), IDC_WS_LEARN) == BST_CHECKED) {
    const choice::MoveOutcome out = candidates_.Learn(row);
    if (out.kind == choice::MoveOutcome::kRefused) {
      // The entry is written: the opener still regenerates the text.
      Refusal(out.code);
      return;
    }
  }
  EndDialog(IDOK);
}

void CWordSelectDlg::Register() {
  if (in_.frameEditor) {
    if (HWND existing = in_.frameEditor()) {
      ShowWindow(existing, SW_SHOW);
      return;
    }
  }
  HWND editor = in_.openEditor ? in_.openEditor(hwnd(), in_.pair.japanese) : nullptr;
  if (!editor) {
    MessageBeep(MB_ICONEXCLAMATION);
    Box(L"メモリが不足!", MB_ICONSTOP);
    return;
  }
  editor_ = editor;
}

void CWordSelectDlg::Copy() {
  const choice::Record* record = candidates_.RowRecord(SelectedRow());
  std::string ks;
  if (record)
    ks = choice::RecordKorean(*record);
  else if (fixedVerb_ && SelectedRow() == 0)
    ks = fixedKorean_;
  if (ks.empty()) return;
  if (!OpenClipboard(hwnd()) || !EmptyClipboard()) {
    CloseClipboard();
    MessageBeep(MB_ICONEXCLAMATION);
    Box(L"ｸﾘｯﾌﾟﾎﾞｰﾄﾞへの書き込みでエラーが発生しました。");
    return;
  }
  const std::wstring unicode = Wide(949, ks);
  const std::string ansi = in_.codeMode == 1 ? Narrow(CP_ACP, unicode) : ToModeCode(ks);
  auto put = [](UINT format, const void* data, std::size_t bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!h) return;
    std::memcpy(GlobalLock(h), data, bytes);
    GlobalUnlock(h);
    if (!SetClipboardData(format, h)) GlobalFree(h);
  };
  put(CF_TEXT, ansi.c_str(), ansi.size() + 1);
  put(CF_UNICODETEXT, unicode.c_str(), (unicode.size() + 1) * sizeof(wchar_t));
  CloseClipboard();
}

void CWordSelectDlg::PopupMenu(POINT at) {
  HMENU menu = LoadMenuW(module().handle(), MAKEINTRESOURCEW(IDR_WORD_SELECT_MENU));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu, 0);
  const bool marked = SendMessageW(list_.hwnd(), LVM_GETSELECTIONMARK, 0, 0) >= 0;
  EnableMenuItem(popup, ID_WS_COPY, MF_BYCOMMAND | (marked ? MF_ENABLED : MF_GRAYED));
  TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_CENTERALIGN, at.x, at.y, 0, hwnd(), nullptr);
  DestroyMenu(menu);
}

void CWordSelectDlg::ActivateJapaneseLayout() {
  if (!japaneseLayout_ || japaneseLayout_ == GetKeyboardLayout(0)) return;
  HIMC imc = ImmGetContext(hwnd());
  const bool open = imc && ImmGetOpenStatus(imc);
  if (open) ImmSetOpenStatus(imc, FALSE);
  ActivateKeyboardLayout(japaneseLayout_, 0);
  if (open) ImmSetOpenStatus(imc, TRUE);
  if (imc) ImmReleaseContext(hwnd(), imc);
}

// The list grows with the window, the buttons follow its right edge and
// the search field widens (while it stays wider than 9 pixels).
void CWordSelectDlg::Layout() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const long dx = (client.right - client.left) - (initialClient_.right - initialClient_.left);
  const long dy = (client.bottom - client.top) - (initialClient_.bottom - initialClient_.top);
  for (const Placement& p : placements_) {
    RECT r = p.rect;
    const int id = GetDlgCtrlID(p.control);
    if (p.control == list_.hwnd()) {
      r.right += dx;
      r.bottom += dy;
    } else if (p.control == search_) {
      if (r.right + dx - r.left <= 9) continue;
      r.right += dx;
    } else if (id == -1 || id == 0xFFFF) {
      continue;  // the label keeps its place
    } else {
      OffsetRect(&r, dx, 0);
    }
    MoveWindow(p.control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
}

bool CWordSelectDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      switch (id) {
        case IDC_WS_SEARCH: Search(); result = 0; return true;
        case IDC_WS_REPLACE: Replace(); result = 0; return true;
        case IDC_WS_REGISTER: Register(); result = 0; return true;
        case IDC_WS_UP: MoveSelected(true); result = 0; return true;
        case IDC_WS_DOWN: MoveSelected(false); result = 0; return true;
        case IDC_WS_LEARN:
          g_learn = IsDlgButtonChecked(hwnd(), IDC_WS_LEARN) == BST_CHECKED;
          result = 0;
          return true;
        case ID_WS_COPY: Copy(); result = 0; return true;
        case 3:
          dalmok::ShowHelp(workbench::help::kHelpContextWordChoice);
          result = 0;
          return true;
        case IDC_WS_SEARCH_WORD:
          if (code == 100) ActivateJapaneseLayout();
          result = 0;
          return true;
        case IDCANCEL: EndDialog(IDCANCEL); result = 0; return true;
        case IDOK: result = 0; return true;  // Enter is the search button's
        default: break;
      }
      break;
    }
    case WM_NOTIFY: {
      const auto* n = reinterpret_cast<const NMHDR*>(lParam);
      if (n->idFrom == IDC_WS_LIST && n->code == NM_RCLICK) {
        POINT at{};
        GetCursorPos(&at);
        PopupMenu(at);
        result = 0;
        return true;
      }
      break;
    }
    case kUserDicEditorClosed:
      editor_ = nullptr;
      if (!word_.empty()) {
        PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(IDC_WS_SEARCH, BN_CLICKED), 0);
        SetFocus(search_);
      }
      result = 0;
      return true;
    case WM_SIZE:
      if (!placements_.empty()) Layout();
      break;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = minimum_.cx;
      info->ptMinTrackSize.y = minimum_.cy;
      result = 0;
      return true;
    }
    case WM_SIZING: {
      // At least half as wide and two thirds as tall as at opening; the
      // height changes by even steps.
      auto* r = reinterpret_cast<RECT*>(lParam);
      const long w0 = initialWindow_.right - initialWindow_.left, h0 = initialWindow_.bottom - initialWindow_.top;
      const bool left = wParam == WMSZ_LEFT || wParam == WMSZ_TOPLEFT || wParam == WMSZ_BOTTOMLEFT;
      const bool top = wParam == WMSZ_TOP || wParam == WMSZ_TOPLEFT || wParam == WMSZ_TOPRIGHT;
      if (r->right - r->left < w0 / 2) {
        if (left) r->left = r->right - w0 / 2; else r->right = r->left + w0 / 2;
      }
      if (r->bottom - r->top < h0 * 2 / 3) {
        if (top) r->top = r->bottom - h0 * 2 / 3; else r->bottom = r->top + h0 * 2 / 3;
      }
      if (((r->bottom - r->top) - h0) % 2) {
        if (top) ++r->top; else --r->bottom;
      }
      result = TRUE;
      return true;
    }
    case WM_DESTROY:
      candidates_.Clear();
      if (editor_ && IsWindow(editor_)) DestroyWindow(editor_);
      editor_ = nullptr;
      break;
    default:
      break;
  }
  return fw::Dialog::OnMessage(message, wParam, lParam, result);
}

}  // namespace dalmok
