#include "find_sheet.h"

#include <vector>

#include "dialogs_resources.h"
#include "help.h"
#include "module.h"

namespace brisel {

namespace {

constexpr int kApplyButton = 0x3021;
constexpr int kFaceBytes = LF_FACESIZE - 1;

bool IsSheetButton(int id) { return id == IDOK || id == IDCANCEL || id == IDHELP || id == kApplyButton; }

// A face name as ANSI bytes (code page 932) for a LOGFONTA: at most 31
// bytes, never half a double-byte character.
std::string CutFaceBytes(const std::string& face) {
  if (face.size() <= static_cast<size_t>(kFaceBytes)) return face;
  size_t end = 0;
  while (end < face.size()) {
    const size_t n = IsDBCSLeadByteEx(932, static_cast<BYTE>(face[end])) ? 2 : 1;
    if (end + n > static_cast<size_t>(kFaceBytes)) break;
    end += n;
  }
  return face.substr(0, end);
}

// The view font's face, charset and pitch in the given height.
LOGFONTW BoxFont(const LOGFONTW& view, int height) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfCharSet = view.lfCharSet;
  lf.lfPitchAndFamily = view.lfPitchAndFamily;
  lstrcpynW(lf.lfFaceName, view.lfFaceName, LF_FACESIZE);
  return lf;
}

// The same as the SEdit control takes it: its charset chooses how the text
// is drawn, its whole record goes to the input method.
LOGFONTA AnsiLogFont(const LOGFONTW& w) {
  LOGFONTA a{};
  a.lfHeight = w.lfHeight;
  a.lfWeight = w.lfWeight;
  a.lfCharSet = w.lfCharSet;
  a.lfPitchAndFamily = w.lfPitchAndFamily;
  const std::string face = CutFaceBytes(fw::ToCodePage(932, w.lfFaceName));
  lstrcpynA(a.lfFaceName, face.c_str(), LF_FACESIZE);
  return a;
}

}  // namespace

// ---- the search boxes ----

HWND SearchBox::Attach(HWND dialog, int id) {
  HWND box = GetDlgItem(dialog, id);
  if (box && !hwnd()) Subclass(box);
  return box;
}

std::string SearchBox::Text(std::size_t limit) const {
  if (!hwnd()) return {};
  std::vector<char> buffer(kCarryTextLimit + 1, '\0');
  const int n = GetWindowTextA(hwnd(), buffer.data(), static_cast<int>(buffer.size()));
  return CutUtf8(std::string_view(buffer.data(), n > 0 ? static_cast<size_t>(n) : 0), limit);
}

void SearchBox::SetText(const std::string& text) {
  if (hwnd()) SendMessageA(hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool SearchBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != WM_GETDLGCODE) return false;
  // Letters typed into the box are text, not mnemonics of the page.
  result = CallDefault(message, wParam, lParam) | DLGC_WANTCHARS;
  return true;
}

// ---- the pages ----

SearchPage::SearchPage(const fw::Module& module, const SearchPageParts& parts, editorview::HangulView& view,
                       std::string initialText, std::string helpFile)
    : fw::PropertyPage(module, parts.templateId),
      view_(view),
      parts_(parts),
      initialText_(std::move(initialText)),
      helpFile_(std::move(helpFile)) {}

CPSheet& SearchPage::Sheet() const { return *static_cast<CPSheet*>(sheet()); }

bool SearchPage::OnInitDialog() {
  search_.Attach(hwnd(), parts_.searchBoxId);
  if (parts_.replacementBoxId) replacement_.Attach(hwnd(), parts_.replacementBoxId);
  RECT client{};
  if (search_.hwnd()) GetClientRect(search_.hwnd(), &client);
  const LOGFONTW lf = BoxFont(view_.ViewLogFont(), client.bottom - client.top - 8);
  font_.reset(CreateFontIndirectW(&lf));
  logFont_ = AnsiLogFont(lf);
  for (HWND box : {search_.hwnd(), replacement_.hwnd()}) {
    if (box && font_) {
      SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), reinterpret_cast<LPARAM>(&logFont_));
    }
  }
  search_.SetText(InitialSearchText(initialText_));
  ShowMatchCase(MatchCase());
  return true;
}

void SearchPage::ShowMatchCase(bool on) { CheckDlgButton(hwnd(), parts_.matchCaseId, on ? BST_CHECKED : BST_UNCHECKED); }

void SearchPage::FlipMatchCase() {
  bool& flag = SharedFindOptions().*parts_.matchCase;
  flag = !flag;
}

bool SearchPage::OnSetActive() {
  Sheet().PageActivating(this == &Sheet().FindPage() ? kFindPage : kReplacePage);
  return true;
}

void SearchPage::OnHelp() { fw::CurrentHelpViewer().ShowContext(hwnd(), helpFile_, parts_.helpTopic); }

bool SearchPage::TakeSearchText(std::string& text) {
  text = SearchTextBox().Text(kSearchTextLimit);
  if (!text.empty()) return true;
  MessageBeep(MB_ICONEXCLAMATION);
  return false;
}

bool SearchPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = LOWORD(wParam);
    result = 0;
    if (id == IDCANCEL) {
      // The sheet goes; PostNcDestroy tells its owner.
      if (sheet() && sheet()->hwnd()) DestroyWindow(sheet()->hwnd());
      return true;
    }
    if (id == IDHELP) {
      OnHelp();
      return true;
    }
    OnButton(id);
    return true;
  }
  return fw::PropertyPage::OnMessage(message, wParam, lParam, result);
}

constexpr SearchPageParts kFindParts{IDD_FIND_PAGE, IDC_FIND_TEXT, 0, IDC_FIND_MATCH_CASE,
                                     &FindOptions::findMatchCase, HELP_FIND_PAGE};
constexpr SearchPageParts kReplaceParts{IDD_REPLACE_PAGE, IDC_REPLACE_FIND_TEXT, IDC_REPLACE_WITH_TEXT,
                                        IDC_REPLACE_MATCH_CASE, &FindOptions::replaceMatchCase, HELP_REPLACE_PAGE};

CFindDlg::CFindDlg(const fw::Module& module, editorview::HangulView& view, std::string initialText,
                   std::string helpFile)
    : SearchPage(module, kFindParts, view, std::move(initialText), std::move(helpFile)) {}

bool CFindDlg::OnInitDialog() {
  SearchPage::OnInitDialog();
  CheckRadioButton(hwnd(), IDC_FIND_UP, IDC_FIND_DOWN, SharedFindOptions().forward ? IDC_FIND_DOWN : IDC_FIND_UP);
  return true;
}

void CFindDlg::OnButton(int id) {
  FindOptions& o = SharedFindOptions();
  switch (id) {
    case IDC_FIND_UP: o.forward = false; break;
    case IDC_FIND_DOWN: o.forward = true; break;
    case IDC_FIND_MATCH_CASE: FlipMatchCase(); break;
    case IDC_FIND_NEXT: {
      std::string text;
      if (TakeSearchText(text)) view_.Engine().SetFindText(text, o.forward, o.findMatchCase);
      break;
    }
    default: break;
  }
}

CReplaceDlg::CReplaceDlg(const fw::Module& module, editorview::HangulView& view, std::string initialText,
                         std::string helpFile)
    : SearchPage(module, kReplaceParts, view, std::move(initialText), std::move(helpFile)) {}

void CReplaceDlg::OnButton(int id) {
  FindOptions& o = SharedFindOptions();
  std::string search;
  switch (id) {
    case IDC_REPLACE_MATCH_CASE: FlipMatchCase(); break;
    case IDC_FIND_NEXT:
      if (TakeSearchText(search)) view_.Engine().SetFindText(search, true, o.replaceMatchCase);
      break;
    case IDC_REPLACE_NEXT:
    case IDC_REPLACE_ALL:
      if (TakeSearchText(search)) {
        const std::string with = replacement_.Text(kSearchTextLimit);
        if (id == IDC_REPLACE_NEXT) {
          view_.Engine().ReplaceAndFindNext(search, with, o.replaceMatchCase);
        } else {
          view_.Engine().ReplaceAll(search, with, o.replaceMatchCase);
        }
      }
      break;
    default: break;
  }
}

// ---- the sheet ----

CPSheet::CPSheet(const fw::Module& module, editorview::HangulView& view, std::string seed, std::string helpFile,
                 std::function<void()> closed)
    : fw::PropSheet(module, kCaption),
      view_(view),
      find_(module, view, seed, helpFile),
      replace_(module, view, seed, helpFile),
      closed_(std::move(closed)) {
  AddPage(find_);
  AddPage(replace_);
  SetHelpButton(false);
}

HWND CPSheet::Create() {
  HWND owner = view_.hwnd() ? GetAncestor(view_.hwnd(), GA_ROOT) : nullptr;
  return CreateModeless(owner);
}

void CPSheet::ShowPage(int page) {
  if (!hwnd()) return;
  SetActiveWindow(hwnd());
  SendMessageW(hwnd(), PSM_SETCURSEL, static_cast<WPARAM>(page), 0);
  // The search box takes the keys, its text selected, so that typing replaces it.
  if (HWND box = Page(page).SearchTextBox().hwnd()) {
    SetFocus(box);
    SendMessageA(box, EM_SETSEL, 0, -1);
  }
}

void CPSheet::PageActivating(int index) {
  if (index == lastActive_) return;
  const int other = index == kFindPage ? kReplacePage : kFindPage;
  SearchPage& source = Page(other);
  SearchPage& target = Page(index);
  const bool sourceExists = lastActive_ == other && source.hwnd() != nullptr;
  const std::string text = sourceExists ? source.SearchTextBox().Text(kCarryTextLimit) : std::string();
  if (const auto carry = PlanPageSwitch(lastActive_, index, sourceExists, target.hwnd() != nullptr, text,
                                        source.MatchCase())) {
    ApplyCarriedFlag(SharedFindOptions(), *carry);
    if (carry->intoControl) {
      target.SearchTextBox().SetText(carry->text);
      target.ShowMatchCase(carry->matchCase);
    } else {
      target.SetInitialText(carry->text);
    }
  }
  lastActive_ = index;
}

bool CPSheet::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // Enter and the buttons' own keys reach the sheet as its dialog; they
  // belong to the page that shows (its default button "次を検索").
  fw::PropertyPage* page = ActivePage();
  if (page && page->hwnd()) {
    if (message == DM_GETDEFID) {
      const LRESULT id = SendMessageW(page->hwnd(), DM_GETDEFID, 0, 0);
      if (HIWORD(id) == DC_HASDEFID) {
        result = id;
        return true;
      }
    } else if (message == WM_COMMAND && !IsSheetButton(LOWORD(wParam))) {
      if (HWND control = GetDlgItem(page->hwnd(), LOWORD(wParam))) {
        SendMessageW(page->hwnd(), WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control));
        result = 0;
        return true;
      }
    }
  }
  return fw::PropSheet::OnMessage(message, wParam, lParam, result);
}

void CPSheet::OnFinalMessage() {
  if (closed_) closed_();
  DeleteLater(this);
}

}  // namespace brisel
