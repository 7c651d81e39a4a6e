// Drives the built input method through its exports, as the input method
// manager would, and checks the messages it returns and the composition
// record it writes.
//
//   ime_exports_test.exe <group> <path of ZORBENV6.IME or WARBENV6.IME>
//   ime_exports_test.exe warmup
//
// One settings group per process: the input method reads its registry
// settings once, when it is loaded.
#include "check.h"
#include "ime_driver.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using wtest::check;
using wtest::check_eq;
using wtest::note;

namespace {

constexpr DWORD kCompFlags8 = GCS_COMPREADSTR | GCS_COMPREADATTR | GCS_COMPREADCLAUSE | GCS_COMPSTR | GCS_COMPATTR |
                              GCS_COMPCLAUSE | GCS_CURSORPOS | GCS_DELTASTART;  // 0x1BF
constexpr DWORD kCompFlags6 =
    GCS_COMPREADSTR | GCS_COMPREADATTR | GCS_COMPREADCLAUSE | GCS_COMPSTR | GCS_COMPATTR | GCS_COMPCLAUSE;  // 0x3F
constexpr DWORD kResultFlags = GCS_RESULTREADSTR | GCS_RESULTREADCLAUSE | GCS_RESULTSTR | GCS_RESULTCLAUSE;  // 0x1E00

#ifndef NI_CONTEXTUPDATED
#define NI_CONTEXTUPDATED 0x0003
#endif
#ifndef IMC_SETCONVERSIONMODE
#define IMC_SETCONVERSIONMODE 0x0002
#endif

constexpr DWORD kRecordSize = 2408;
constexpr DWORD kCandSize = 2992;

// Messages seen by the test window (those leaving through ImmGenerateMessage).
std::vector<TRANSMSG> g_windowMessages;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_NOTIFY:
      g_windowMessages.push_back(TRANSMSG{msg, wp, lp});
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

HWND MakeWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ImeExportsTest";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"ime exports test", WS_OVERLAPPEDWINDOW, 0, 0, 320, 200, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

void PumpMessages() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

const char* MessageName(UINT m) {
  switch (m) {
    case WM_IME_STARTCOMPOSITION: return "START";
    case WM_IME_COMPOSITION: return "COMP";
    case WM_IME_ENDCOMPOSITION: return "END";
    case WM_IME_NOTIFY: return "NOTIFY";
    case WM_NULL: return "NULL";
    default: return "?";
  }
}

std::string Describe(const std::vector<TRANSMSG>& msgs) {
  std::string s = "[";
  for (size_t i = 0; i < msgs.size(); ++i) {
    char buf[64];
    if (msgs[i].message == WM_IME_COMPOSITION)
      std::snprintf(buf, sizeof buf, "%sCOMP(0x%lx)", i ? " " : "", static_cast<unsigned long>(msgs[i].lParam));
    else
      std::snprintf(buf, sizeof buf, "%s%s(0x%x)", i ? " " : "", MessageName(msgs[i].message), msgs[i].message);
    s += buf;
  }
  return s + "]";
}

// Expected message: id, and for WM_IME_COMPOSITION the exact GCS flags.
struct Expect {
  UINT message;
  DWORD flags;
};
const Expect START{WM_IME_STARTCOMPOSITION, 0};
const Expect END{WM_IME_ENDCOMPOSITION, 0};
Expect COMP(DWORD flags) { return Expect{WM_IME_COMPOSITION, flags}; }

void CheckMessages(const std::vector<TRANSMSG>& actual, const std::vector<Expect>& expected, const char* what) {
  bool same = actual.size() == expected.size();
  for (size_t i = 0; same && i < actual.size(); ++i) {
    if (actual[i].message != expected[i].message) same = false;
    if (expected[i].message == WM_IME_COMPOSITION && static_cast<DWORD>(actual[i].lParam) != expected[i].flags)
      same = false;
  }
  std::vector<TRANSMSG> exp;
  for (const Expect& e : expected) exp.push_back(TRANSMSG{e.message, 0, static_cast<LPARAM>(e.flags)});
  check(same, "%s: messages %s, expected %s", what, Describe(actual).c_str(), Describe(exp).c_str());
}

// GM95 pair of a KS X 1001 double byte, from its ordinal (row-1)*94+(cell-1).
std::string KsToGm95(unsigned ks) {
  int ordinal = (static_cast<int>(ks >> 8) - 0xA1) * 94 + (static_cast<int>(ks & 0xFF) - 0xA1);
  int first = ordinal / 188 + 0x81;
  if (first >= 0xA0) first += 0x40;
  int second = ordinal % 188 + 0x40;
  if (second >= 0x7F) second += 1;
  return std::string{static_cast<char>(first), static_cast<char>(second)};
}

std::string Ks(std::initializer_list<unsigned> chars) {
  std::string s;
  for (unsigned c : chars) {
    s.push_back(static_cast<char>(c >> 8));
    s.push_back(static_cast<char>(c & 0xFF));
  }
  return s;
}

std::string Gm(std::initializer_list<unsigned> ksChars) {
  std::string s;
  for (unsigned c : ksChars) s += KsToGm95(c);
  return s;
}

// ---------------------------------------------------------------------------
// Settings groups

struct Group {
  const char* name;
  const wchar_t* prefix;  // first two letters of the file name
  std::vector<std::pair<const wchar_t*, const wchar_t*>> modes;
  bool unicode;  // interface expected
  bool gm;       // GM edition (WARBENV6.IME)
};

const Group kGroups[] = {
    {"ks", L"ZO", {}, true, false},
    {"ks-ansi", L"ZO", {{L"Interface", L"A"}}, false, false},
    {"ks-mikaku2", L"ZO", {{L"Mikaku", L"2"}}, true, false},
    {"ks-nojiso", L"ZO", {{L"JisoTaniBack", L"No"}}, true, false},
    {"ks-roman", L"ZO", {{L"HanglInput", L"R"}}, true, false},
    // The third letter picks the 3-set arrangement ("K3" would still be 2-set).
    {"ks-3set", L"ZO", {{L"HanglInput", L"KS3"}}, true, false},
    {"gm", L"WA", {{L"InputSize", L"DBCS"}}, false, true},
};

// Replaces the settings of the edition by those of the group; the
// dictionary, when given, becomes the edition's DicPathName.
bool WriteSettings(const Group& g, const char* dictionary) {
  imeinst::ResetImeSettings(g.prefix);
  if (dictionary && !imedrv::SetDictionaryPath(g.prefix, dictionary)) return false;
  bool ok = true;
  for (const auto& [name, value] : g.modes) ok &= imeinst::SetImeValue(g.prefix, L"Modes", name, value);
  return ok;
}

// Installed TrueType Korean fonts, sorted as the input method sorts them.
struct Fonts {
  std::vector<std::wstring> ks;  // charset 129
  bool gm = false;               // charset 128, face "ＧＭ韓国..."
};

int CALLBACK FontProc(const LOGFONTW* lf, const TEXTMETRICW*, DWORD type, LPARAM lp) {
  auto* f = reinterpret_cast<Fonts*>(lp);
  if (!(type & TRUETYPE_FONTTYPE)) return 1;
  if (lf->lfCharSet == HANGUL_CHARSET) f->ks.push_back(lf->lfFaceName);
  if (lf->lfCharSet == SHIFTJIS_CHARSET && wcsncmp(lf->lfFaceName, L"\xFF27\xFF2D\x97D3\x56FD", 4) == 0) f->gm = true;
  return 1;
}

Fonts FindFonts() {
  Fonts f;
  HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(dc, &lf, FontProc, reinterpret_cast<LPARAM>(&f), 0);
  DeleteDC(dc);
  return f;
}

// ---------------------------------------------------------------------------
// The test session of one group

class Session {
 public:
  Session(const Group& g, imedrv::Ime& ime, HWND hwnd) : g_(g), ime_(ime), hwnd_(hwnd) {}

  HIMC Fresh() {
    HIMC himc = ime_.NewContext(hwnd_);
    check(himc != nullptr, "ImmCreateContext gives a context");
    return himc;
  }

  // Types a key script; returns the message list of the last key.
  imedrv::KeyResult Type(HIMC himc, const char* keys) {
    imedrv::KeyResult last;
    BYTE state[256]{};
    for (const char* p = keys; *p; ++p) {
      UINT vk;
      unsigned ch;
      imedrv::ScriptKey(*p, vk, ch);
      last = ime_.ToAscii(himc, vk, ch, state);
    }
    return last;
  }

  std::u16string CompW(const imedrv::CompRecord& r) const {
    return r.wide(r.hdr().dwCompStrOffset, r.hdr().dwCompStrLen);
  }
  std::u16string ResultW(const imedrv::CompRecord& r) const {
    return r.wide(r.hdr().dwResultStrOffset, r.hdr().dwResultStrLen);
  }
  std::string CompA(const imedrv::CompRecord& r) const {
    return r.narrow(r.hdr().dwCompStrOffset, r.hdr().dwCompStrLen);
  }
  std::string ResultA(const imedrv::CompRecord& r) const {
    return r.narrow(r.hdr().dwResultStrOffset, r.hdr().dwResultStrLen);
  }

  // One key-script case: the composition, result and cursor afterwards and
  // the messages of the last key.
  struct Case {
    const char* name;
    const char* keys;
    std::u16string comp;  // Unicode interface
    std::u16string result;
    std::string compA;  // ANSI interface (bytes of the edition's code)
    std::string resultA;
    int cursor;  // -1: not checked
    std::optional<std::vector<Expect>> last;
  };

  void RunCase(const Case& c) {
    HIMC himc = Fresh();
    if (!himc) return;
    imedrv::KeyResult r = Type(himc, c.keys);
    imedrv::CompRecord rec = imedrv::Ime::ReadComp(himc);
    std::string what = std::string(c.name);
    if (!check(rec.ok, "%s: composition record readable", c.name)) return;
    if (ime_.unicode) {
      check(CompW(rec) == c.comp, "%s: composition %s, expected %s", c.name, imedrv::Hex(CompW(rec)).c_str(),
            imedrv::Hex(c.comp).c_str());
      check(ResultW(rec) == c.result, "%s: result %s, expected %s", c.name, imedrv::Hex(ResultW(rec)).c_str(),
            imedrv::Hex(c.result).c_str());
    } else {
      check(CompA(rec) == c.compA, "%s: composition %s, expected %s", c.name, imedrv::Hex(CompA(rec)).c_str(),
            imedrv::Hex(c.compA).c_str());
      check(ResultA(rec) == c.resultA, "%s: result %s, expected %s", c.name, imedrv::Hex(ResultA(rec)).c_str(),
            imedrv::Hex(c.resultA).c_str());
    }
    if (c.cursor >= 0) check_eq(rec.hdr().dwCursorPos, c.cursor, (what + ": cursor").c_str());
    if (c.last) {
      CheckMessages(r.messages, *c.last, (what + ": last key").c_str());
      check_eq(r.returned, r.messages.size(), (what + ": ImeToAsciiEx result = messages stored").c_str());
    }
    ime_.DeleteContext(himc);
  }

  void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) RunCase(c);
  }

  // ImeInquire, and the context set-up by ImeSelect.
  void Inquiry() {
    IMEINFO info;
    std::memset(&info, 0xCC, sizeof info);
    wchar_t cls[130];
    std::memset(cls, 0xCC, sizeof cls);
    check_eq(ime_.Inquire(&info, cls, 0), 1, "ImeInquire result");
    check_eq(info.dwPrivateDataSize, 320, "IMEINFO private data size");
    check_eq(info.fdwProperty, g_.unicode ? 0x90002 : 0x10002, "IMEINFO properties");
    check_eq(info.fdwConversionCaps, 9, "IMEINFO conversion caps");
    check_eq(info.fdwSentenceCaps, 0, "IMEINFO sentence caps");
    check_eq(info.fdwUICaps, 1, "IMEINFO UI caps");
    check_eq(info.fdwSCSCaps, 0, "IMEINFO SCS caps");
    check_eq(info.fdwSelectCaps, 0, "IMEINFO select caps");
    if (g_.unicode) {
      check(std::wstring(cls, wcsnlen(cls, 129)) == L"warbenv3UI", "UI class name as UTF-16 \"warbenv3UI\"");
    } else {
      const char* a = reinterpret_cast<const char*>(cls);
      check(std::strncmp(a, "warbenv3UI", 11) == 0, "UI class name as bytes \"warbenv3UI\" (got \"%.20s\")", a);
    }

    HIMC himc = ImmCreateContext();
    if (!check(himc != nullptr, "ImmCreateContext")) return;
    if (INPUTCONTEXT* ic = ImmLockIMC(himc)) {
      ic->fdwInit = 0;
      ic->fdwConversion = 0;
      ic->hWnd = hwnd_;
      ic->fOpen = TRUE;
      ImmUnlockIMC(himc);
    }
    check_eq(ime_.Select(himc, TRUE), 1, "ImeSelect(TRUE)");
    INPUTCONTEXT* ic = ImmLockIMC(himc);
    if (check(ic != nullptr, "ImmLockIMC")) {
      check_eq(ic->fdwConversion, 0x19, "conversion mode after select");
      check_eq(ic->fdwInit & (INIT_LOGFONT | INIT_CONVERSION), INIT_LOGFONT | INIT_CONVERSION, "fdwInit after select");
      BYTE charset = g_.unicode ? ic->lfFont.W.lfCharSet : ic->lfFont.A.lfCharSet;
      check_eq(charset, g_.gm ? SHIFTJIS_CHARSET : HANGUL_CHARSET, "composition font charset");
      if (g_.unicode) {
        std::wstring face = ic->lfFont.W.lfFaceName;
        note("composition font face: %s", imedrv::Utf8(std::u16string(face.begin(), face.end())).c_str());
      }
      check_eq(ImmGetIMCCSize(ic->hCompStr), kRecordSize, "composition record block size");
      check_eq(ImmGetIMCCSize(ic->hCandInfo), kCandSize, "candidate record block size");
      if (auto* cs = static_cast<COMPOSITIONSTRING*>(ImmLockIMCC(ic->hCompStr))) {
        check_eq(cs->dwSize, kRecordSize, "composition record dwSize");
        check_eq(cs->dwCompStrLen, 0, "composition length after select");
        check_eq(cs->dwCursorPos, 0, "cursor after select");
        ImmUnlockIMCC(ic->hCompStr);
      }
      if (auto* ci = static_cast<CANDIDATEINFO*>(ImmLockIMCC(ic->hCandInfo))) {
        check_eq(ci->dwSize, kCandSize, "candidate record dwSize");
        check_eq(ci->dwCount, 0, "candidate list count");
        ImmUnlockIMCC(ic->hCandInfo);
      }
      ImmUnlockIMC(himc);
    }
    check_eq(ime_.Select(himc, FALSE), 1, "ImeSelect(FALSE)");
    ImmDestroyContext(himc);
  }

  // The full layout of the record after r k (one character composing) and
  // after r k s k (one committed, one composing).
  void RecordLayout() {
    const DWORD unit = ime_.unicode ? 1 : 2;  // length of one syllable
    HIMC himc = Fresh();
    if (!himc) return;
    Type(himc, "rk");
    imedrv::CompRecord r = imedrv::Ime::ReadComp(himc);
    if (check(r.ok, "record readable after r k")) {
      const COMPOSITIONSTRING& h = r.hdr();
      check_eq(r.imccSize, kRecordSize, "block size after r k");
      check_eq(h.dwSize, kRecordSize, "dwSize");
      const std::pair<const char*, std::pair<DWORD, DWORD>> offsets[] = {
          {"comp reading string offset", {h.dwCompReadStrOffset, 100}},
          {"comp reading attr offset", {h.dwCompReadAttrOffset, 228}},
          {"comp reading clause offset", {h.dwCompReadClauseOffset, 356}},
          {"comp string offset", {h.dwCompStrOffset, 420}},
          {"comp attr offset", {h.dwCompAttrOffset, 548}},
          {"comp clause offset", {h.dwCompClauseOffset, 676}},
          {"result reading string offset", {h.dwResultReadStrOffset, 868}},
          {"result reading clause offset", {h.dwResultReadClauseOffset, 1126}},
          {"result string offset", {h.dwResultStrOffset, 1638}},
          {"result clause offset", {h.dwResultClauseOffset, 1896}},
      };
      for (const auto& [what, v] : offsets) check_eq(v.first, v.second, what);
      check_eq(h.dwCompStrLen, unit, "comp length");
      check_eq(h.dwCompReadStrLen, unit, "comp reading length");
      check_eq(h.dwCompAttrLen, unit, "comp attr length");
      check_eq(h.dwCompReadAttrLen, unit, "comp reading attr length");
      check_eq(h.dwCompClauseLen, 8, "comp clause length");
      check_eq(h.dwCompReadClauseLen, 8, "comp reading clause length");
      check_eq(r.dw(676), 0, "comp clause[0]");
      check_eq(r.dw(680), unit, "comp clause[1]");
      check_eq(r.dw(356), 0, "comp reading clause[0]");
      check_eq(r.dw(360), unit, "comp reading clause[1]");
      bool attrs0 = true;
      for (DWORD i = 0; i < unit; ++i) attrs0 &= r.bytes[548 + i] == 0 && r.bytes[228 + i] == 0;
      check(attrs0, "attributes are ATTR_INPUT");
      size_t bytes = unit * (ime_.unicode ? 2 : 1);
      check(std::memcmp(&r.bytes[100], &r.bytes[420], bytes) == 0, "reading string equals composition string");
      check_eq(h.dwCursorPos, unit, "cursor at the end");
      check_eq(h.dwDeltaStart, 0, "delta start");
      check_eq(h.dwResultStrLen, 0, "no result yet");
    }
    Type(himc, "sk");
    r = imedrv::Ime::ReadComp(himc);
    if (check(r.ok, "record readable after r k s k") && !g_.gm) {
      const COMPOSITIONSTRING& h = r.hdr();
      check_eq(h.dwResultStrLen, unit, "result length");
      check_eq(h.dwResultReadStrLen, unit, "result reading length");
      check_eq(h.dwResultClauseLen, 8, "result clause length");
      check_eq(h.dwResultReadClauseLen, 8, "result reading clause length");
      check_eq(r.dw(1896), 0, "result clause[0]");
      check_eq(r.dw(1900), unit, "result clause[1]");
      size_t bytes = unit * (ime_.unicode ? 2 : 1);
      check(std::memcmp(&r.bytes[868], &r.bytes[1638], bytes) == 0, "result reading equals result string");
      check_eq(h.dwCompStrLen, unit, "one character still composing");
      check_eq(h.dwCursorPos, unit, "cursor after the committed character moved up");
      check_eq(h.dwDeltaStart, 0, "delta start after the commit");
    }
    ime_.DeleteContext(himc);
  }

  // Which keys ImeProcessKey takes, idle and composing, with modifiers.
  void ProcessKeyTable() {
    enum Mod { kNone, kShift, kCtrl, kAlt };
    struct PK {
      const char* name;
      UINT vk;
      bool composing;
      Mod mod;
      bool up;
      BOOL taken;
    };
    const PK cases[] = {
        {"letter idle", 'R', false, kNone, false, 1},
        {"Space idle", VK_SPACE, false, kNone, false, 1},
        {"digit idle", '5', false, kNone, false, 1},
        {"numpad idle", VK_NUMPAD3, false, kNone, false, 1},
        {"OEM ; idle", VK_OEM_1, false, kNone, false, 1},
        {"Shift+letter idle", 'R', false, kShift, false, 1},
        {"Enter idle", VK_RETURN, false, kNone, false, 0},
        {"Backspace idle", VK_BACK, false, kNone, false, 0},
        {"Esc idle", VK_ESCAPE, false, kNone, false, 0},
        {"Left idle", VK_LEFT, false, kNone, false, 0},
        {"Delete idle", VK_DELETE, false, kNone, false, 0},
        {"F1 idle", VK_F1, false, kNone, false, 0},
        {"Ctrl+letter idle", 'R', false, kCtrl, false, 0},
        {"Alt+letter idle", 'R', false, kAlt, false, 0},
        {"key-up letter idle", 'R', false, kNone, true, 0},
        {"half/full-width key idle", 0xF3, false, kNone, false, 1},
        {"Enter composing", VK_RETURN, true, kNone, false, 1},
        {"Backspace composing", VK_BACK, true, kNone, false, 1},
        {"Esc composing", VK_ESCAPE, true, kNone, false, 1},
        {"Tab composing", VK_TAB, true, kNone, false, 1},
        {"Left composing", VK_LEFT, true, kNone, false, 1},
        {"Home composing", VK_HOME, true, kNone, false, 1},
        {"Delete composing", VK_DELETE, true, kNone, false, 1},
        {"Shift+Enter composing", VK_RETURN, true, kShift, false, 1},
        {"letter composing", 'K', true, kNone, false, 1},
        {"F1 composing", VK_F1, true, kNone, false, 0},
        {"Insert composing", VK_INSERT, true, kNone, false, 0},
        {"Ctrl+Enter composing", VK_RETURN, true, kCtrl, false, 0},
        {"Alt+letter composing", 'K', true, kAlt, false, 0},
        {"key-up Enter composing", VK_RETURN, true, kNone, true, 0},
    };
    HIMC idle = Fresh();
    HIMC composing = Fresh();
    if (!idle || !composing) return;
    Type(composing, "r");
    for (const PK& c : cases) {
      BYTE state[256]{};
      if (c.mod == kShift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
      if (c.mod == kCtrl) state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
      if (c.mod == kAlt) state[VK_MENU] = state[VK_LMENU] = 0x80;
      state[c.vk] = c.up ? 0 : 0x80;
      BOOL got = ime_.Process(c.composing ? composing : idle, c.vk, state, c.up);
      check(got == c.taken, "ImeProcessKey %s (vk 0x%02x): got %d, expected %d", c.name, c.vk, got, c.taken);
    }
    // A closed context takes nothing.
    if (INPUTCONTEXT* ic = ImmLockIMC(idle)) {
      ic->fOpen = FALSE;
      ImmUnlockIMC(idle);
    }
    BYTE state[256]{};
    check_eq(ime_.Process(idle, 'R', state), 0, "ImeProcessKey letter on a closed context");
    ime_.DeleteContext(idle);
    ime_.DeleteContext(composing);
  }

  // Message list limits and key-up handling of ImeToAsciiEx.
  void MessageList() {
    BYTE state[256]{};
    HIMC himc = Fresh();
    if (!himc) return;
    imedrv::KeyResult r = ime_.ToAscii(himc, 'R', 'r', state, 1);
    check_eq(r.returned, 1, "capacity 1: ImeToAsciiEx returns the number stored");
    check(r.guardIntact, "capacity 1: nothing written after the first entry");
    if (!r.messages.empty()) check_eq(r.messages[0].message, WM_IME_STARTCOMPOSITION, "capacity 1: first message");
    imedrv::CompRecord rec = imedrv::Ime::ReadComp(himc);
    check_eq(rec.hdr().dwCompStrLen, ime_.unicode ? 1 : 2, "capacity 1: the key still composed");

    r = ime_.ToAscii(himc, 'R', 'r', state, 32, true);
    check_eq(r.returned, 0, "key-up gives no message");
    imedrv::CompRecord after = imedrv::Ime::ReadComp(himc);
    check(after.bytes == rec.bytes, "key-up leaves the composition record alone");
    ime_.DeleteContext(himc);
  }

  // NotifyIME requests and the messages that leave through ImmGenerateMessage.
  void Notifications() {
    HIMC himc = Fresh();
    if (!himc) return;
    Type(himc, "rk");
    g_windowMessages.clear();
    check_eq(ime_.Notify(himc, NI_COMPOSITIONSTR, CPS_CANCEL, 0), 1, "NotifyIME CPS_CANCEL result");
    PumpMessages();
    imedrv::CompRecord rec = imedrv::Ime::ReadComp(himc);
    check_eq(rec.hdr().dwCompStrLen, 0, "CPS_CANCEL clears the composition");
    check_eq(rec.hdr().dwResultStrLen, 0, "CPS_CANCEL leaves no result");
    CheckMessages(g_windowMessages, {COMP(kCompFlags6), END}, "CPS_CANCEL: window");

    Type(himc, "rk");
    g_windowMessages.clear();
    check_eq(ime_.Notify(himc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0), 1, "NotifyIME CPS_COMPLETE result");
    PumpMessages();
    rec = imedrv::Ime::ReadComp(himc);
    check_eq(rec.hdr().dwCompStrLen, 0, "CPS_COMPLETE empties the composition");
    check_eq(rec.hdr().dwResultStrLen, ime_.unicode ? 1 : 2, "CPS_COMPLETE makes the result");
    CheckMessages(g_windowMessages, {COMP(kResultFlags), END}, "CPS_COMPLETE: window");

    struct N {
      const char* name;
      DWORD action, index, value;
      BOOL expect;
    };
    const N refused[] = {
        {"NI_COMPOSITIONSTR with an unknown index", NI_COMPOSITIONSTR, 99, 0, 0},
        {"NI_OPENCANDIDATE without a conversion", NI_OPENCANDIDATE, 0, 0, 0},
        {"NI_CLOSECANDIDATE without a list", NI_CLOSECANDIDATE, 0, 0, 0},
        {"NI_FINALIZECONVERSIONRESULT", NI_FINALIZECONVERSIONRESULT, 0, 0, 0},
        {"action 2 (out of range)", 2, 0, 0, 0},
        {"NI_CONTEXTUPDATED other than open status", NI_CONTEXTUPDATED, 0, IMC_SETCONVERSIONMODE, 0},
    };
    for (const N& n : refused) check_eq(ime_.Notify(himc, n.action, n.index, n.value), n.expect, n.name);
    ime_.DeleteContext(himc);
  }

  void OtherExports() {
    UINT q = IME_ESC_QUERY_SUPPORT;
    check_eq(ime_.Escape(nullptr, IME_ESC_QUERY_SUPPORT, &q), 1, "ImeEscape query support of itself");
    q = IME_ESC_GETHELPFILENAME;
    check_eq(ime_.Escape(nullptr, IME_ESC_QUERY_SUPPORT, &q), 0, "ImeEscape query support of GETHELPFILENAME");
    q = IME_ESC_SEQUENCE_TO_INTERNAL;
    check_eq(ime_.Escape(nullptr, IME_ESC_QUERY_SUPPORT, &q), 0, "ImeEscape query support of SEQUENCE_TO_INTERNAL");
    char buf[512]{};
    check_eq(ime_.Escape(nullptr, IME_ESC_GETHELPFILENAME, buf), 0, "ImeEscape GETHELPFILENAME");

    HIMC himc = Fresh();
    if (!himc) return;
    wchar_t text[] = L"\xAC00";
    check_eq(ime_.SetCompositionString(himc, SCS_SETSTR, text, sizeof text, nullptr, 0), 0, "ImeSetCompositionString");
    std::vector<uint8_t> list(1024);
    check_eq(ime_.ConversionList(himc, text, reinterpret_cast<CANDIDATELIST*>(list.data()),
                                 static_cast<DWORD>(list.size()), GCL_CONVERSION),
             0, "ImeConversionList");
    ime_.DeleteContext(himc);
  }

 private:
  const Group& g_;
  imedrv::Ime& ime_;
  HWND hwnd_;
};

using Case = Session::Case;
const std::u16string none;

std::vector<Case> CasesFor(const Group& g) {
  const std::string no;
  std::vector<Case> cases;
  auto U = [](std::initializer_list<char16_t> c) { return std::u16string(c); };
  const std::string n = g.name;
  if (n == "ks") {
    cases = {
        {"r", "r", U({0x3131}), none, no, no, 1, std::vector<Expect>{START, COMP(kCompFlags8)}},
        {"r k", "rk", U({0xAC00}), none, no, no, 1, std::vector<Expect>{COMP(kCompFlags8)}},
        {"r k s", "rks", U({0xAC04}), none, no, no, 1, std::vector<Expect>{COMP(kCompFlags8)}},
        {"r k s k (Mikaku 1 commits the first)", "rksk", U({0xB098}), U({0xAC00}), no, no, 1,
         std::vector<Expect>{COMP(kCompFlags8 | kResultFlags)}},
        {"h k compound vowel", "hk", U({0x3158}), none, no, no, 1, std::nullopt},
        {"d h k", "dhk", U({0xC640}), none, no, no, 1, std::nullopt},
        {"r k f r double final", "rkfr", U({0xAC09}), none, no, no, 1, std::nullopt},
        {"r k f r k splits the double final", "rkfrk", U({0xAC00}), U({0xAC08}), no, no, 1, std::nullopt},
        {"Enter commits", "rk\r", none, U({0xAC00}), no, no, 0, std::vector<Expect>{COMP(kResultFlags), END}},
        {"Enter after r k s k commits the second", "rksk\r", none, U({0xB098}), no, no, 0,
         std::vector<Expect>{COMP(kResultFlags), END}},
        {"Esc cancels", "rk\x1b", none, none, no, no, 0, std::vector<Expect>{COMP(kCompFlags6), END}},
        {"Backspace by jamo", "rks\b", U({0xAC00}), none, no, no, 1, std::vector<Expect>{COMP(kCompFlags8)}},
        {"Backspace of the last jamo ends", "r\b", none, none, no, no, 0, std::vector<Expect>{COMP(kCompFlags6), END}},
        {"Space idle is a result at once", " ", none, U({0x20}), no, no, 0,
         std::vector<Expect>{START, COMP(kResultFlags), END}},
        {"digit after r k commits both", "rk1", none, U({0xAC00, '1'}), no, no, 0,
         std::vector<Expect>{COMP(kCompFlags6), COMP(kResultFlags), END}},
        {"Enter idle sends nothing", "\r", none, none, no, no, 0, std::vector<Expect>{}},
        {"Left at the first character stays", "rks\x01", U({0xAC04}), none, no, no, 1, std::nullopt},
    };
  } else if (n == "ks-ansi") {
    cases = {
        {"r k", "rk", none, none, Ks({0xB0A1}), no, 2, std::vector<Expect>{COMP(kCompFlags8)}},
        {"r k s k", "rksk", none, none, Ks({0xB3AA}), Ks({0xB0A1}), 2,
         std::vector<Expect>{COMP(kCompFlags8 | kResultFlags)}},
        {"Backspace by jamo", "rks\b", none, none, Ks({0xB0A1}), no, 2, std::vector<Expect>{COMP(kCompFlags8)}},
        {"Enter commits", "rk\r", none, none, no, Ks({0xB0A1}), 0, std::vector<Expect>{COMP(kResultFlags), END}},
        {"Esc cancels", "rks\x1b", none, none, no, no, 0, std::vector<Expect>{COMP(kCompFlags6), END}},
    };
  } else if (n == "ks-mikaku2") {
    cases = {
        {"r k s k keeps two", "rksk", U({0xAC00, 0xB098}), none, no, no, 2, std::vector<Expect>{COMP(kCompFlags8)}},
        {"a third syllable commits the first", "rkskrk", U({0xB098, 0xAC00}), U({0xAC00}), no, no, 2,
         std::vector<Expect>{COMP(kCompFlags8 | kResultFlags)}},
    };
  } else if (n == "ks-nojiso") {
    cases = {
        {"Backspace removes the syllable", "rks\b", none, none, no, no, 0,
         std::vector<Expect>{COMP(kCompFlags6), END}},
    };
  } else if (n == "ks-roman") {
    cases = {
        {"k a", "ka", U({0xAC00}), none, no, no, 1, std::vector<Expect>{COMP(kCompFlags8)}},
        {"h a n", "han", U({0xD55C}), none, no, no, 1, std::nullopt},
        {"k y (y becomes y a)", "ky", U({0xAC38}), none, no, no, 1, std::nullopt},
        {"k y o", "kyo", U({0xAD50}), none, no, no, 1, std::nullopt},
        {"Backspace after k y removes y a", "ky\b", U({0x3131}), none, no, no, 1, std::nullopt},
    };
  } else if (n == "ks-3set") {
    cases = {
        {"k (initial)", "k", U({0x3131}), none, no, no, 1, std::vector<Expect>{START, COMP(kCompFlags8)}},
        {"k f", "kf", U({0xAC00}), none, no, no, 1, std::vector<Expect>{COMP(kCompFlags8)}},
        {"k f s", "kfs", U({0xAC04}), none, no, no, 1, std::nullopt},
        {"j f s", "jfs", U({0xC548}), none, no, no, 1, std::nullopt},
        {"k f w x combines the final", "kfwx", U({0xAC09}), none, no, no, 1, std::nullopt},
        {"Enter commits", "kf\r", none, U({0xAC00}), no, no, 0, std::vector<Expect>{COMP(kResultFlags), END}},
    };
  } else if (n == "gm") {
    cases = {
        {"r k", "rk", none, none, Gm({0xB0A1}), no, 2, std::vector<Expect>{COMP(kCompFlags8)}},
        {"r k s k keeps both (no unconfirmed limit)", "rksk", none, none, Gm({0xB0A1, 0xB3AA}), no, 4,
         std::vector<Expect>{COMP(kCompFlags8)}},
        {"r k s", "rks", none, none, Gm({0xB0A3}), no, 2, std::nullopt},
        {"Backspace by jamo", "rks\b", none, none, Gm({0xB0A1}), no, 2, std::vector<Expect>{COMP(kCompFlags8)}},
        {"Enter commits", "rk\r", none, none, no, Gm({0xB0A1}), 0, std::vector<Expect>{COMP(kResultFlags), END}},
        {"Esc cancels", "rk\x1b", none, none, no, no, 0, std::vector<Expect>{COMP(kCompFlags6), END}},
        // GM V3 places: the jamo of GM95 row 4 show in row 41, and a full-width
        // symbol takes its place from the gmV3_95 table among the resources.
        {"r alone is a jamo of row 41", "r", none, none, "\x95\x40", no, 2, std::nullopt},
        {"1 full width through the code table", "1", none, none, no, "\x82\x50", 0, std::nullopt},
    };
  }
  return cases;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc >= 2 && std::strcmp(argv[1], "warmup") == 0) {
    // Start-up run of the fixture: brings up the Wine desktop once.
    // The fonts are looked at too: the first font scan of a new prefix
    // takes seconds, and it should not count against a test.
    HWND hwnd = MakeWindow();
    HIMC himc = hwnd ? ImmCreateContext() : nullptr;
    Fonts fonts = FindFonts();
    std::printf("warm-up: window %s, input context %s, ANSI code page %u, %u Korean fonts\n", hwnd ? "ok" : "FAILED",
                himc ? "ok" : "FAILED", GetACP(), static_cast<unsigned>(fonts.ks.size()));
    if (himc) ImmDestroyContext(himc);
    return hwnd && himc ? 0 : 1;
  }
  if (argc < 3) {
    std::printf("usage: ime_exports_test <group> <ime path> [<dictionary>] | warmup\n");
    return 2;
  }
  const Group* group = nullptr;
  for (const Group& g : kGroups)
    if (std::strcmp(g.name, argv[1]) == 0) group = &g;
  if (!group) {
    std::printf("unknown group %s\n", argv[1]);
    return 2;
  }
  wtest::report().group = std::string(sizeof(void*) == 8 ? "win64 " : "win32 ") + group->name;
  note("ANSI code page %u", GetACP());

  HWND hwnd = MakeWindow();
  if (!check(hwnd != nullptr, "test window created")) return wtest::finish();
  check(WriteSettings(*group, argc >= 4 ? argv[3] : nullptr), "settings written");
  Fonts fonts = FindFonts();
  note("Korean TrueType fonts installed: %u; GM font: %s", static_cast<unsigned>(fonts.ks.size()),
       fonts.gm ? "yes" : "no");

  imedrv::BoxWatcher boxes;
  boxes.Start();
  imedrv::Ime ime;
  std::wstring path = imedrv::WidenArg(argv[2]);
  bool loaded = ime.Load(path.c_str());
  boxes.Stop();
  if (!check(ime.module != nullptr, "LoadLibrary %s (error %lu)", argv[2], GetLastError())) return wtest::finish();
  for (const std::string& m : ime.missing) check(false, "export %s present (undecorated)", m.c_str());
  if (!loaded) return wtest::finish();

  for (const std::u16string& t : boxes.Texts()) note("message box at load: %s", imedrv::Utf8(t).c_str());
  check(ime.unicode == group->unicode, "interface is %s", group->unicode ? "Unicode" : "ANSI");

  Session s(*group, ime, hwnd);
  s.Inquiry();
  s.RunCases(CasesFor(*group));
  const std::string n = group->name;
  if (n == "ks" || n == "ks-ansi" || n == "gm") s.RecordLayout();
  if (n == "ks") {
    s.ProcessKeyTable();
    s.MessageList();
    s.Notifications();
    s.OtherExports();
  }
  if (n == "gm") s.Notifications();

  ime.Unload();
  DestroyWindow(hwnd);
  return wtest::finish();
}
