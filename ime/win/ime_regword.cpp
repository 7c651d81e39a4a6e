// User word registration on Windows: the register-word dialog 101 with its
// owner-drawn word list, and the word-registration entry points of the input
// method manager. Both hand the pair to the portable registration
// (user_words.h) in GM95: the dialog converts the text of its edits from
// the code in use, the entry points the application's text (UTF-16 through
// code page 949 under the Unicode interface).
#include "ime_regword.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "code_page.h"
#include "ime_state.h"
#include "user_words.h"

namespace ime {

namespace {

constexpr int kDialogId = 101;
constexpr int kReadingEdit = 1010;
constexpr int kWordEdit = 1011;
constexpr int kRegisterButton = 1012;
constexpr int kDeleteButton = 1013;
constexpr int kWordList = 1014;

constexpr size_t kListEntryBytes = 50;
// What an edit gives: one byte more than it takes, so that an overlong
// text is refused rather than cut.
constexpr int kReadingTextBytes = 33;
constexpr int kWordTextBytes = 17;
constexpr UINT_PTR kReadingLimit = 32;
constexpr UINT_PTR kWordLimit = 16;

const char kProtectedModeText[] =  // 保護モードではユーザー辞書は利用できません
    "\x95\xdb\x8c\xec\x83\x82\x81\x5b\x83\x68\x82\xc5\x82\xcd\x83\x86\x81\x5b\x83\x55\x81\x5b\x8e\xab\x8f\x91\x82\xcd"
    "\x97\x98\x97\x70\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1";

// Message boxes of the dialog, owned by it.
class DialogFeedback final : public UserFeedback {
 public:
  explicit DialogFeedback(HWND owner) : owner_(owner) {}
  void Beep(unsigned type) override { MessageBeep(type); }
  int ShowMessage(const std::string& text, unsigned flags) override {
    return MessageBoxA(owner_, text.c_str(), "", flags);
  }
  int ShowCaptionedMessage(const std::string& text, const std::string& caption, unsigned flags) override {
    return MessageBoxA(owner_, text.c_str(), caption.c_str(), flags);
  }

 private:
  HWND owner_;
};

// The dialog of this process (it is modal; one at a time).
struct WordDialog {
  bool open = false;
  unsigned conversionMode = 0;
  const void* registerWord = nullptr;
  // The words shown, in the code in use.
  std::array<std::array<char, kListEntryBytes>, kMaxWordsPerReading> words{};
  size_t count = 0;
  LOGFONTA logFont{};  // the edits keep a pointer to it
  HFONT font = nullptr;
  int fontHeight = 16;
  int columnWidth = 0;
};

WordDialog& Dialog() {
  static WordDialog d;
  return d;
}

// ---- code conversion --------------------------------------------------------

// Text of the code in use, as the edits and the ANSI interface hold it, to
// GM95 and back.
std::string ToGm95(const std::string& text) { return Module().engine->DbToGm95(text); }
std::string FromGm95(const std::string& gm95) { return Module().engine->Gm95ToDb(gm95); }

// Text an application hands over, bounded: UTF-16 under the Unicode
// interface (false when code page 949 lacks one of its characters), bytes
// of the code in use otherwise. The result is the code in use.
bool ApplicationText(const void* text, size_t most, std::string* out) {
  out->clear();
  if (!text) return true;
  if (Module().settings.Unicode()) {
    const auto* w = static_cast<const char16_t*>(text);
    std::u16string u;
    while (u.size() <= most && w[u.size()] != 0) u.push_back(w[u.size()]);
    const codeconv::CodePageConverter& cp = codeconv::PlatformCodePages();
    *out = cp.FromUtf16(949, u);
    return cp.ToUtf16(949, *out) == u;
  }
  const auto* a = static_cast<const char*>(text);
  out->assign(a, strnlen(a, most + 1));
  return true;
}

// The text of the code in use in a form for drawing.
std::wstring Drawable(const std::string& text) {
  const std::u16string u = codeconv::PlatformCodePages().ToUtf16(Module().config.charset == 129 ? 949 : 932, text);
  return std::wstring(u.begin(), u.end());
}

// ---- the dialog ---------------------------------------------------------------

std::string EditText(HWND dialog, int id, int bytes) {
  char buf[64] = {};
  GetDlgItemTextA(dialog, id, buf, std::min<int>(bytes + 1, sizeof buf));
  return buf;
}

// The reading in GM95 with its ASCII letters in upper case.
std::string ReadingOf(HWND dialog) {
  std::string reading = ToGm95(EditText(dialog, kReadingEdit, kReadingTextBytes));
  for (size_t i = 0; i < reading.size(); ++i) {
    const auto b = static_cast<uint8_t>(reading[i]);
    if (codeconv::IsGmLeadByte(b)) {
      ++i;
    } else if (b >= 'a' && b <= 'z') {
      reading[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
  return reading;
}

std::string WordOf(HWND dialog) { return ToGm95(EditText(dialog, kWordEdit, kWordTextBytes)); }

void ClearList(HWND dialog) {
  SendDlgItemMessageA(dialog, kWordList, LB_RESETCONTENT, 0, 0);
  Dialog().count = 0;
}

// The list shows every word of the reading, each in a column wide enough for
// the widest of them.
void ListWords(HWND dialog) {
  WordDialog& d = Dialog();
  ClearList(dialog);
  dic::DicEngine* engine = ImeDictionaryEngine();
  const std::string reading = ReadingOf(dialog);
  if (!engine || reading.empty()) return;
  HWND list = GetDlgItem(dialog, kWordList);
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, d.font);
  int widest = d.columnWidth;
  for (const std::string& gm : ListUserWords(*engine, reading, d.conversionMode)) {
    if (d.count >= d.words.size()) break;
    std::string text = FromGm95(gm);
    text.resize(std::min(text.size(), kListEntryBytes - 1));
    std::array<char, kListEntryBytes>& slot = d.words[d.count];
    slot.fill(0);
    std::memcpy(slot.data(), text.data(), text.size());
    SendMessageA(list, LB_ADDSTRING, 0, static_cast<LPARAM>(d.count));
    const std::wstring w = Drawable(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    widest = std::max<int>(widest, size.cx + 6);
    ++d.count;
  }
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  SendMessageA(list, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(widest), 0);
}

void Run(HWND dialog, bool remove) {
  dic::DicEngine* engine = ImeDictionaryEngine();
  if (!engine) {
    MessageBeep(0);
    return;
  }
  dic::DicRequest request;
  request.reading = ReadingOf(dialog);
  request.word = WordOf(dialog);
  DialogFeedback feedback(dialog);
  const unsigned mode = Dialog().conversionMode;
  const int rc = remove ? DeleteUserWord(*engine, &feedback, request, mode)
                        : RegisterUserWord(*engine, &feedback, request, mode);
  // A refusal keeps what the user typed; a done or declined request clears
  // the dialog for the next word.
  if (rc != kUserWordDone) return;
  ClearList(dialog);
  SetDlgItemTextA(dialog, kReadingEdit, "");
  SetDlgItemTextA(dialog, kWordEdit, "");
  SetFocus(GetDlgItem(dialog, kReadingEdit));
}

void SetHeight(HWND control, int height) {
  RECT r;
  GetWindowRect(control, &r);
  SetWindowPos(control, nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int FontHeight() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return MulDiv(std::clamp(Module().config.fontPoints, 10, 20), dpi, 72);
}

void Initialize(HWND dialog) {
  WordDialog& d = Dialog();
  const ImeConfig& cfg = Module().config;
  d.count = 0;
  d.fontHeight = FontHeight();
  d.logFont = LOGFONTA{};
  d.logFont.lfHeight = d.fontHeight;
  d.logFont.lfCharSet = static_cast<BYTE>(cfg.charset);
  lstrcpynA(d.logFont.lfFaceName, cfg.currentFace.c_str(), LF_FACESIZE);
  d.font = CreateFontIndirectA(&d.logFont);
  for (int id : {kReadingEdit, kWordEdit}) {
    HWND edit = GetDlgItem(dialog, id);
    SetHeight(edit, d.fontHeight + 8);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(d.font), reinterpret_cast<LPARAM>(&d.logFont));
    SendMessageA(edit, EM_LIMITTEXT, id == kReadingEdit ? kReadingLimit : kWordLimit, 0);
  }
  HWND list = GetDlgItem(dialog, kWordList);
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, d.font);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  d.columnWidth = 2 * (tm.tmAveCharWidth + tm.tmAveCharWidth / 4);
  SendMessageA(list, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(d.columnWidth), 0);
  SendMessageA(list, LB_SETITEMHEIGHT, 0, d.fontHeight);

  // ImeConfigure's pair, as the application gave it.
  if (d.registerWord) {
    const auto* rw = static_cast<const REGISTERWORDA*>(d.registerWord);  // the same layout in both interfaces
    std::string reading, word;
    if (ApplicationText(rw->lpReading, kReadingLimit, &reading)) SetDlgItemTextA(dialog, kReadingEdit, reading.c_str());
    if (ApplicationText(rw->lpWord, kWordLimit, &word)) SetDlgItemTextA(dialog, kWordEdit, word.c_str());
    ListWords(dialog);
  }
  SetFocus(GetDlgItem(dialog, kReadingEdit));
}

void DrawItem(const DRAWITEMSTRUCT& item) {
  WordDialog& d = Dialog();
  if (item.itemID == static_cast<UINT>(-1)) return;
  HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  // The whole item each time, so that a focus frame that moves on is gone.
  {
    const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &item.rcItem, brush);
    DeleteObject(brush);
    const size_t index = item.itemData;
    if (index < d.count) {
      const std::wstring w = Drawable(d.words[index].data());
      HGDIOBJ old = SelectObject(dc, d.font);
      SetTextColor(dc, text);
      SetBkMode(dc, TRANSPARENT);
      RECT r = item.rcItem;
      r.left += 2;
      DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
      SelectObject(dc, old);
    }
  }
  if (item.itemState & ODS_FOCUS) {
    // A dotted frame of yellow pixels, every second one.
    const RECT& r = item.rcItem;
    for (LONG x = r.left; x < r.right; x += 2) {
      SetPixel(dc, x, r.top, RGB(255, 255, 0));
      SetPixel(dc, x, r.bottom - 1, RGB(255, 255, 0));
    }
    for (LONG y = r.top; y < r.bottom; y += 2) {
      SetPixel(dc, r.left, y, RGB(255, 255, 0));
      SetPixel(dc, r.right - 1, y, RGB(255, 255, 0));
    }
  }
}

void SelectionChanged(HWND dialog) {
  WordDialog& d = Dialog();
  const LRESULT sel = SendDlgItemMessageA(dialog, kWordList, LB_GETCURSEL, 0, 0);
  if (sel < 0) return;
  const LRESULT index = SendDlgItemMessageA(dialog, kWordList, LB_GETITEMDATA, static_cast<WPARAM>(sel), 0);
  if (index < 0 || static_cast<size_t>(index) >= d.count) return;
  const char* word = d.words[static_cast<size_t>(index)].data();
  if (std::strlen(word) <= kWordLimit) SetDlgItemTextA(dialog, kWordEdit, word);
}

// Enter: from the reading to the word, from the word to the register button,
// which it presses.
void EnterPressed(HWND dialog) {
  HWND focus = GetFocus();
  if (focus == GetDlgItem(dialog, kReadingEdit)) {
    SetFocus(GetDlgItem(dialog, kWordEdit));
  } else if (focus == GetDlgItem(dialog, kWordEdit)) {
    SetFocus(GetDlgItem(dialog, kRegisterButton));
    Run(dialog, false);
  } else if (focus == GetDlgItem(dialog, kDeleteButton)) {
    Run(dialog, true);
  } else if (focus == GetDlgItem(dialog, kRegisterButton)) {
    Run(dialog, false);
  }
}

}  // namespace

unsigned ContextConversionMode(HIMC context) {
  if (!context) return 0;
  INPUTCONTEXT* ic = ImmLockIMC(context);
  if (!ic) return 0;
  const unsigned mode = ic->fdwConversion;
  ImmUnlockIMC(context);
  return mode;
}

int OpenWordRegistration(HWND owner, HIMC context, const void* registerWord) {
  EnsureImeInitialized();
  ImeModule& m = Module();
  if (m.config.protectedMode) {
    MessageBoxA(owner, kProtectedModeText, "Geulmaru", MB_OK);
    return 0;
  }
  WordDialog& d = Dialog();
  if (d.open) return 0;
  d.open = true;
  d.conversionMode = ContextConversionMode(context);
  d.registerWord = registerWord;
  const INT_PTR shown = DialogBoxParamA(m.instance, MAKEINTRESOURCEA(kDialogId), owner, RegWordDlgProc, 0);
  d.registerWord = nullptr;
  d.open = false;
  return shown == -1 ? 0 : 1;
}

}  // namespace ime

using ime::Dialog;

extern "C" __declspec(dllexport) INT_PTR CALLBACK RegWordDlgProc(HWND dialog, UINT message, WPARAM wParam,
                                                                 LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ime::Initialize(dialog);
      return FALSE;  // the focus is set
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item->CtlID != static_cast<UINT>(ime::kWordList)) return FALSE;
      item->itemHeight = static_cast<UINT>(ime::FontHeight());
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID != static_cast<UINT>(ime::kWordList)) return FALSE;
      ime::DrawItem(*item);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case ime::kReadingEdit:
          if (HIWORD(wParam) == EN_CHANGE) ime::ListWords(dialog);
          return TRUE;
        case ime::kWordList:
          if (HIWORD(wParam) == LBN_SELCHANGE) ime::SelectionChanged(dialog);
          return TRUE;
        case ime::kRegisterButton:
          if (HIWORD(wParam) == BN_CLICKED) ime::Run(dialog, false);
          return TRUE;
        case ime::kDeleteButton:
          if (HIWORD(wParam) == BN_CLICKED) ime::Run(dialog, true);
          return TRUE;
        case IDOK:
          ime::EnterPressed(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_DESTROY:
      if (Dialog().font) DeleteObject(Dialog().font);
      Dialog().font = nullptr;
      Dialog().count = 0;
      return FALSE;
    default:
      return FALSE;
  }
}

// ---- the input method manager's word registration -------------------------------

namespace {

// Reading and word of an application as GM95; false when they exceed the
// limits (33 bytes of reading, 17 of word) or cannot be converted.
bool ApplicationPair(const void* reading, const void* word, ime::dic::DicRequest* request) {
  std::string r, w;
  if (!ime::ApplicationText(reading, ime::kMaxUserReading, &r) || !ime::ApplicationText(word, ime::kMaxUserWord, &w)) {
    return false;
  }
  if (r.size() > ime::kMaxUserReading || w.size() > ime::kMaxUserWord) return false;
  request->reading = ime::ToGm95(r);
  request->word = ime::ToGm95(w);
  return true;
}

// The conversion mode of the context of the window with the focus.
unsigned FocusConversionMode() {
  HWND focus = GetFocus();
  HIMC context = focus ? ImmGetContext(focus) : nullptr;
  const unsigned mode = ime::ContextConversionMode(context);
  if (context) ImmReleaseContext(focus, context);
  return mode;
}

// Registration through the entry points: never in protected mode, never
// with a message of its own.
ime::dic::DicEngine* WritableDictionary() {
  ime::EnsureImeInitialized();
  if (ime::Module().config.protectedMode) return nullptr;
  return ime::ImeDictionaryEngine();
}

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI ImeRegisterWord(LPCVOID reading, DWORD, LPCVOID word) {
  ime::dic::DicEngine* engine = WritableDictionary();
  ime::dic::DicRequest request;
  if (!engine || !ApplicationPair(reading, word, &request)) return FALSE;
  return ime::RegisterUserWord(*engine, nullptr, request, FocusConversionMode()) == ime::kUserWordDone;
}

__declspec(dllexport) BOOL WINAPI ImeUnregisterWord(LPCVOID reading, DWORD, LPCVOID word) {
  ime::dic::DicEngine* engine = WritableDictionary();
  ime::dic::DicRequest request;
  if (!engine || !ApplicationPair(reading, word, &request)) return FALSE;
  return ime::DeleteUserWord(*engine, nullptr, request, FocusConversionMode()) == ime::kUserWordDone;
}

// One style: a noun of the user.
__declspec(dllexport) UINT WINAPI ImeGetRegisterWordStyle(UINT count, LPVOID styles) {
  ime::EnsureImeInitialized();
  if (count == 0 || !styles) return 1;
  if (ime::Module().settings.Unicode()) {
    auto* s = static_cast<STYLEBUFW*>(styles);
    s->dwStyle = IME_REGWORD_STYLE_USER_FIRST;
    lstrcpynW(s->szDescription, L"NOUN", 32);
  } else {
    auto* s = static_cast<STYLEBUFA*>(styles);
    s->dwStyle = IME_REGWORD_STYLE_USER_FIRST;
    lstrcpynA(s->szDescription, "NOUN", 32);
  }
  return 1;
}

}  // extern "C"
