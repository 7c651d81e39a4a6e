// The settings sheet of the installed input method on the keyboard road
// (32-bit): the input method of the installed suite active for this
// program's window, its sheet driven from a second thread while the first
// one is inside the modal call, as a user would click it:
//  - the toolbar's settings button opens the sheet "環境設定" with its four
//    pages; cancelled, it writes nothing;
//  - ImmConfigureIMEA (IME_CONFIG_GENERAL) opens it too: screenshots of the
//    four pages (size and sampled pixels), the arrangement set to roman, a
//    toolbar box unticked (the preview follows), the colour dialog with its
//    COLORBUTTONs clicked with the mouse, the font dialog, and a dictionary
//    that cannot be opened; OK applies it: the registry holds the new values,
//    the old dictionary stays, the toolbar loses the button and the next
//    keys compose on the roman arrangement;
//  - IME_CONFIG_SELECTDICTIONARY shows the dictionary and version pages only;
//    its file dialog chooses another dictionary, which OK opens;
//  - values that another process's sheet writes to the registry hold from
//    the next key on (the 3-set arrangement, all toolbar buttons, the
//    101-key on-screen keyboard);
//  - the GM edition's sheet: its own face list in the font dialog.
//
//   ime_settings_sheet_test.exe <screenshot folder> <GmV6KS.dic>
//   (the suite installed by GeulmaruSetup.exe)
#include "check.h"
#include "ime_driver.h"
#include "ime_wait.h"
#include "ime_layouts.h"
#include "screenshot.h"

#include <commctrl.h>
#include <commdlg.h>
#include <prsht.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using wtest::check;
using wtest::note;

namespace {

std::u16string g_results;  // GCS_RESULTSTR strings in arrival order

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_IME_COMPOSITION && (lp & GCS_RESULTSTR)) g_results += imedrv::ResultString(hwnd);
  if (msg == WM_CHAR) return 0;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

using imedrv::Pump;

const wchar_t kSheetTitle[] = L"\x74B0\x5883\x8A2D\x5B9A";  // 環境設定
const wchar_t kColourTitle[] = L"\x6587\x5B57\x8272";       // 文字色
const wchar_t kFontTitle[] = L"\x4F7F\x7528\x30D5\x30A9\x30F3\x30C8";  // 使用フォント

std::wstring Modes(const wchar_t* name) {
  return imeinst::GetString(HKEY_CURRENT_USER, imeinst::EditionKey(L"ZO", L"Modes"), name);
}
std::wstring Value(const wchar_t* subkey, const wchar_t* name) {
  return imeinst::GetString(HKEY_CURRENT_USER, imeinst::EditionKey(L"ZO", subkey), name);
}
std::string Narrow(const std::wstring& w) { return imedrv::Utf8(std::u16string(w.begin(), w.end())); }

// A visible top-level dialog of this process with the caption, other than
// except, waited for up to ms.
HWND FindDialog(const wchar_t* title, HWND except = nullptr, DWORD ms = wtest::Allowance()) {
  struct Search {
    const wchar_t* title;
    HWND except;
    HWND found = nullptr;
  } s{title, except};
  const DWORD end = GetTickCount() + ms;
  do {
    EnumWindows(
        [](HWND w, LPARAM lp) WINAPI -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          wchar_t cls[16]{}, text[64]{};
          GetClassNameW(w, cls, 16);
          GetWindowTextW(w, text, 64);
          if (pid == GetCurrentProcessId() && w != s->except && IsWindowVisible(w) && lstrcmpW(cls, L"#32770") == 0 &&
              lstrcmpW(text, s->title) == 0) {
            s->found = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    Sleep(100);
  } while (static_cast<int>(end - GetTickCount()) > 0);
  return nullptr;
}

// The texts of a dialog's static controls (a message box's text).
std::u16string StaticTexts(HWND dlg) {
  std::u16string text;
  EnumChildWindows(
      dlg,
      [](HWND w, LPARAM lp) WINAPI -> BOOL {
        wchar_t cls[16]{}, t[256]{};
        GetClassNameW(w, cls, 16);
        if (lstrcmpiW(cls, L"Static") == 0 && GetWindowTextW(w, t, 256) > 0) {
          reinterpret_cast<std::u16string*>(lp)->append(reinterpret_cast<const char16_t*>(t));
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&text));
  return text;
}

// Runs a script on a thread of its own while this one is in a modal call.
class Driver {
 public:
  explicit Driver(std::function<void()> script) : script_(std::move(script)) {
    thread_ = CreateThread(nullptr, 0, &Driver::Run, this, 0, nullptr);
  }
  ~Driver() {
    // Every step of the script waits at most an allowance or two.
    WaitForSingleObject(thread_, 4 * wtest::Allowance());
    CloseHandle(thread_);
  }
  bool Done() const { return WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0; }

 private:
  static DWORD WINAPI Run(void* p) {
    static_cast<Driver*>(p)->script_();
    return 0;
  }
  std::function<void()> script_;
  HANDLE thread_ = nullptr;
};

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }
HWND Page(HWND sheet, int index) {
  SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
  Sleep(200);
  return CurrentPage(sheet);
}
int Tabs(HWND sheet) {
  HWND tab = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
  return tab ? static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0)) : 0;
}
void Press(HWND sheet, int button) { PostMessageW(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0); }
void Command(HWND dlg, int id) {
  PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
  Sleep(150);
}

// A control's rectangle in the coordinates of a screenshot of window w.
RECT InShot(HWND w, HWND control) {
  RECT wr{}, cr{};
  GetWindowRect(w, &wr);
  GetWindowRect(control, &cr);
  return {cr.left - wr.left, cr.top - wr.top, cr.right - wr.left, cr.bottom - wr.top};
}

bool Dark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 200; }

// Text is drawn inside a control (dark pixels).
int Ink(const wtest::Shot& shot, HWND w, HWND control) { return shot.Count(InShot(w, control), Dark); }

// A page of the sheet shows in full: the page has the size of its template
// (280 x 190 dialog units) and lies inside the sheet's shot.
void CheckPageSize(HWND sheet, HWND page, const wtest::Shot& shot, const char* name) {
  RECT want{0, 0, 280, 190};
  MapDialogRect(page, &want);
  const RECT r = InShot(sheet, page);
  check(r.right - r.left == want.right && r.bottom - r.top == want.bottom,
        "%s page: %ld x %ld pixels, its template's size %ld x %ld", name, r.right - r.left, r.bottom - r.top,
        want.right, want.bottom);
  check(r.left >= 0 && r.top >= 0 && r.right <= shot.w && r.bottom <= shot.h, "%s page inside the sheet (%d x %d)",
        name, shot.w, shot.h);
}

void ClickAt(HWND w, int x, int y) {
  POINT p{x, y};
  ClientToScreen(w, &p);
  INPUT in[3]{};
  in[0].type = in[1].type = in[2].type = INPUT_MOUSE;
  in[0].mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in[0].mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, in, sizeof(INPUT));
}

void Type(const char* keys) {
  for (const char* k = keys; *k; ++k) {
    UINT vk;
    unsigned ch;
    imedrv::ScriptKey(*k, vk, ch);
    imedrv::PressKey(vk);
  }
  Pump(200);
}

HWND Shown(const wchar_t* cls) {
  const std::vector<HWND> w = imedrv::ThreadWindows(cls, true);
  return w.empty() ? nullptr : w[0];
}
int Width(HWND w) { return imedrv::WindowRect(w).right - imedrv::WindowRect(w).left; }

void Focus(HWND hwnd) {
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  imedrv::WaitForKeyboardFocus(hwnd);
}

// ---- the colour dialog --------------------------------------------------------------

void ColourDialog(HWND page, const std::wstring& shots) {
  Command(page, 1050);
  HWND box = FindDialog(kColourTitle);
  if (!check(box != nullptr, "the colour button opens the dialog \"COLORBOX\"")) return;
  // The conversion pair, then text colour 2 (red) by a click on its button.
  Command(box, 289);
  HWND red = GetDlgItem(box, 322);
  RECT rc{};
  GetClientRect(red, &rc);
  ClickAt(red, rc.right / 2, rc.bottom / 2);
  // The click is handled on the sheet's thread and shows only in pixels: a
  // quiet moment of an allowance's fortieth (about 400 ms natively).
  Sleep(wtest::Allowance() / 40);
  const wtest::Shot shot = wtest::Capture(box, shots, L"settings-colours");
  // Swatches in the palette's colours: 1 blue, 2 red, 6 yellow.
  auto centre = [&](int id) {
    const RECT r = InShot(box, GetDlgItem(box, id));
    return shot.at((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  };
  check(wtest::Near(centre(321), RGB(0, 0, 255)), "button 321 shows blue (0x%06lx)", static_cast<unsigned long>(centre(321)));
  check(wtest::Near(centre(322), RGB(255, 0, 0)), "button 322 shows red (0x%06lx)", static_cast<unsigned long>(centre(322)));
  check(wtest::Near(centre(342), RGB(255, 255, 0)), "button 342 shows yellow (0x%06lx)",
        static_cast<unsigned long>(centre(342)));
  // Pressed buttons are sunken (grey at the top left), the others raised
  // (white): the clicked text colour 2 and background 5 of the conversion pair.
  auto corner = [&](int id) {
    const RECT r = InShot(box, GetDlgItem(box, id));
    return shot.at(r.left, r.top);
  };
  check(wtest::Near(corner(322), RGB(128, 128, 128), 8) && wtest::Near(corner(341), RGB(128, 128, 128), 8),
        "the clicked text button and the pair's background button are pressed");
  check(corner(320) == RGB(255, 255, 255) && corner(326) == RGB(255, 255, 255),
        "the input pair's buttons are released once the conversion pair is chosen");
  // The conversion sample: red on cyan.
  const RECT sample = InShot(box, GetDlgItem(box, 305));
  const int cyan = shot.Count(sample, [](COLORREF c) { return wtest::Near(c, RGB(0, 255, 255)); });
  const int redText = shot.Count(sample, [](COLORREF c) { return wtest::Near(c, RGB(255, 0, 0), 60); });
  check(cyan > 100 && redText > 5, "the conversion sample shows red text on cyan (%d, %d pixels)", cyan, redText);
  Command(box, IDOK);
  wtest::WaitUntil([&] { return Modes(L"ConvColor") == L"2,5" && Modes(L"InputColor") == L"6,0"; });
  check(Modes(L"ConvColor") == L"2,5" && Modes(L"InputColor") == L"6,0",
        "\"設定\" writes ConvColor 2,5 and InputColor 6,0 at once (%s, %s)", Narrow(Modes(L"ConvColor")).c_str(),
        Narrow(Modes(L"InputColor")).c_str());
}

// ---- the font dialog ------------------------------------------------------------------

void FontDialog(HWND page, const std::wstring& shots) {
  Command(page, 1049);
  HWND font = FindDialog(kFontTitle);
  if (!check(font != nullptr, "the font button opens dialog 113")) return;
  HWND ks = GetDlgItem(font, 1058), gm = GetDlgItem(font, 1057), size = GetDlgItem(font, 1056);
  check(IsWindowVisible(ks) && !IsWindowVisible(gm), "the KS edition shows the KS face list, not the GM one");
  const int faces = static_cast<int>(SendMessageW(ks, CB_GETCOUNT, 0, 0));
  wchar_t face[64]{};
  SendMessageW(ks, CB_GETLBTEXT, static_cast<WPARAM>(SendMessageW(ks, CB_GETCURSEL, 0, 0)), reinterpret_cast<LPARAM>(face));
  note("KS faces: %d, selected: %s", faces, Narrow(face).c_str());
  check(faces > 0 && face[0] != 0, "the Korean TrueType faces are listed and the current one selected");
  check(SendMessageW(size, CB_GETCOUNT, 0, 0) == 17 && SendMessageW(size, CB_GETCURSEL, 0, 0) == 8,
        "sizes 8 to 24, 16 selected");
  wtest::Capture(font, shots, L"settings-font");
  SendMessageW(size, CB_SETCURSEL, 12, 0);  // 20
  Command(font, IDOK);
  wtest::WaitUntil([&] { return Value(L"Font", L"Height") == L"20"; });
  check(Value(L"Font", L"Height") == L"20", "OK writes Height 20 (%s)", Narrow(Value(L"Font", L"Height")).c_str());
}

// ---- the sheet of ImmConfigureIMEA ---------------------------------------------------

void DriveGeneralSheet(const std::wstring& shots, const std::string& dictionary) {
  HWND sheet = FindDialog(kSheetTitle);
  if (!check(sheet != nullptr, "ImmConfigureIMEA opens the sheet")) return;
  check(Tabs(sheet) == 4, "four pages (%d)", Tabs(sheet));

  // General page: 2-set, half width, jamo, at the cursor, 106 keys, one
  // unconfirmed character.
  HWND general = Page(sheet, 0);
  wtest::Shot shot = wtest::Capture(sheet, shots, L"settings-general");
  CheckPageSize(sheet, general, shot, "general");
  for (int id : {1060, 1063, 1054, 1067, 1051}) {
    check(SendDlgItemMessageW(general, id, BM_GETCHECK, 0, 0) == BST_CHECKED, "general page: %d selected", id);
  }
  // The selected radio shows its dot: more dark pixels than its neighbour's.
  auto dot = [&](int id) {
    RECT r = InShot(sheet, GetDlgItem(general, id));
    r.right = r.left + (r.bottom - r.top);
    return shot.Count(r, Dark);
  };
  check(dot(1060) > dot(1061), "the 2-set radio is drawn selected (%d against %d dark pixels)", dot(1060), dot(1061));
  check(Ink(shot, sheet, GetDlgItem(general, 1062)) > 20, "the radio captions are drawn");
  wchar_t mikaku[16]{};
  GetDlgItemTextW(general, 1045, mikaku, 16);
  check(lstrcmpW(mikaku, L"1") == 0, "the unconfirmed count shows 1");
  check(!IsWindowVisible(GetDlgItem(general, 1077)), "no interface choice on this Windows");
  SendDlgItemMessageW(general, 1062, BM_CLICK, 0, 0);  // ローマ字

  // Display page: untick "プロパティ" (function 11); the preview loses a button.
  HWND display = Page(sheet, 1);
  SendDlgItemMessageW(display, 1089, BM_CLICK, 0, 0);
  // The preview repaints on the sheet's thread; seen only in pixels.
  Sleep(wtest::Allowance() / 50);
  shot = wtest::Capture(sheet, shots, L"settings-display");
  CheckPageSize(sheet, display, shot, "display");
  HWND preview = GetDlgItem(display, 1030);
  RECT pc{};
  GetClientRect(preview, &pc);
  const RECT pr = InShot(sheet, preview);
  // Inside the 2-pixel frame, centred: the top strip of a toolbar of ten
  // buttons, 288 pixels wide.
  const int x0 = pr.left + 2 + (pc.right - 4 - 288) / 2, y0 = pr.top + 2 + (pc.bottom - 4 - 29) / 2;
  // (The strip runs from dark to lighter blue.)
  auto strip = [](COLORREF c) { return GetBValue(c) > 100 && GetRValue(c) < 80 && GetBValue(c) > GetRValue(c) + 50; };
  check(strip(shot.at(x0 + 2, y0 + 3)) && strip(shot.at(x0 + 285, y0 + 3)), "the preview shows the toolbar's top strip");
  check(!strip(shot.at(x0 + 290, y0 + 3)), "ten buttons wide (the strip ends at 288)");
  check(shot.at(x0 + 3, y0 + 15) == RGB(255, 255, 255), "and its grip");
  ColourDialog(display, shots);
  FontDialog(display, shots);

  // Dictionary page: a file that does not exist.
  HWND dic = Page(sheet, 2);
  shot = wtest::Capture(sheet, shots, L"settings-dictionary");
  CheckPageSize(sheet, dic, shot, "dictionary");
  char path[MAX_PATH]{};
  GetDlgItemTextA(dic, 1004, path, MAX_PATH);
  check(dictionary == path, "the dictionary page shows the dictionary in use (%s)", path);
  check(Ink(shot, sheet, GetDlgItem(dic, 1004)) > 20, "the path is drawn in its box");
  check(SendDlgItemMessageW(dic, 1002, BM_GETCHECK, 0, 0) == BST_CHECKED, "learning ON selected");

  HWND about = Page(sheet, 3);
  shot = wtest::Capture(sheet, shots, L"settings-version");
  CheckPageSize(sheet, about, shot, "version");
  wchar_t edition[64]{};
  GetDlgItemTextW(about, 1007, edition, 64);
  check(lstrcmpW(edition, L"GeulmaruV6(KS)") == 0, "the version page names the KS edition (%s)", Narrow(edition).c_str());
  check(Ink(shot, sheet, GetDlgItem(about, 1007)) > 20, "and draws it");

  Page(sheet, 2);
  SetDlgItemTextA(dic, 1004, "C:\\no such folder\\none.dic");
  Press(sheet, PSBTN_OK);
  // The dictionary engine tells why it cannot open the file.
  HWND box = FindDialog(L"", sheet);
  if (check(box != nullptr, "a file that cannot be opened is reported")) {
    note("message: %s", imedrv::Utf8(StaticTexts(box)).c_str());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
}

// The select-dictionary sheet: its file dialog starts in the folder of the
// dictionary in use and puts the file chosen there into the path box; OK
// opens it.
void DriveDictionarySheet(const std::string& dictionary, const std::string& other) {
  HWND sheet = FindDialog(kSheetTitle);
  if (!check(sheet != nullptr, "IME_CONFIG_SELECTDICTIONARY opens the sheet")) return;
  check(Tabs(sheet) == 2, "two pages (%d)", Tabs(sheet));
  HWND dic = CurrentPage(sheet);
  if (!check(GetDlgItem(dic, 1004) != nullptr, "the first page is the dictionary page")) {
    Press(sheet, PSBTN_CANCEL);
    return;
  }
  Command(dic, 1006);
  HWND files = FindDialog(L"\x8F9E\x66F8\x306E\x6307\x5B9A");  // 辞書の指定
  if (check(files != nullptr, "\"参照...\" opens the file dialog \"辞書の指定\"")) {
    wchar_t folder[MAX_PATH]{};
    SendMessageW(files, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    const std::wstring want = imedrv::WidenArg(dictionary.substr(0, dictionary.rfind('\\')).c_str());
    check(lstrcmpiW(folder, want.c_str()) == 0, "it starts in the dictionary's folder (%s)", Narrow(folder).c_str());
    // The file name box: the dialog's edit control.
    HWND name = nullptr;
    EnumChildWindows(
        files,
        [](HWND w, LPARAM lp) WINAPI -> BOOL {
          wchar_t cls[16]{};
          GetClassNameW(w, cls, 16);
          if (lstrcmpiW(cls, L"Edit") != 0 || !IsWindowVisible(w)) return TRUE;
          *reinterpret_cast<HWND*>(lp) = w;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&name));
    SetWindowTextA(name, other.c_str());
    Command(files, IDOK);
    wtest::WaitUntil([&] {
      char chosen[MAX_PATH]{};
      GetDlgItemTextA(dic, 1004, chosen, MAX_PATH);
      return lstrcmpiA(chosen, other.c_str()) == 0;
    });
  }
  char path[MAX_PATH]{};
  GetDlgItemTextA(dic, 1004, path, MAX_PATH);
  check(lstrcmpiA(path, other.c_str()) == 0, "the chosen file goes into the path box (%s)", path);
  Press(sheet, PSBTN_OK);
}

void DriveCancelledSheet(const char* how) {
  HWND sheet = FindDialog(kSheetTitle);
  if (!check(sheet != nullptr, "%s opens the sheet", how)) return;
  check(Tabs(sheet) == 4, "%s: four pages (%d)", how, Tabs(sheet));
  Press(sheet, PSBTN_CANCEL);
}

// The GM edition's sheet: no unconfirmed count, its own face list (1057) in
// the font dialog, in place of the KS one.
void DriveGmSheet(const std::wstring& shots) {
  // Loaded for the sheet, the GM edition reports that no GM font is installed.
  // Whichever comes first: the sheet, or the box before it.
  HWND sheet = nullptr, box = nullptr;
  wtest::WaitUntil([&] {
    sheet = FindDialog(kSheetTitle, nullptr, 0);
    box = sheet ? nullptr : FindDialog(L"", nullptr, 0);
    return sheet || box;
  });
  if (!sheet) {
    if (box) {
      note("message: %s", imedrv::Utf8(StaticTexts(box)).c_str());
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    sheet = FindDialog(kSheetTitle);
  }
  if (!check(sheet != nullptr, "the GM edition's sheet opens")) return;
  HWND general = Page(sheet, 0);
  check(!IsWindowVisible(GetDlgItem(general, 1045)), "the GM edition has no unconfirmed count");
  HWND about = Page(sheet, 3);
  wchar_t edition[64]{};
  GetDlgItemTextW(about, 1007, edition, 64);
  check(lstrcmpW(edition, L"GeulmaruV6(GM)") == 0, "the version page names the GM edition (%s)", Narrow(edition).c_str());
  HWND display = Page(sheet, 1);
  Command(display, 1049);
  HWND font = FindDialog(kFontTitle);
  if (check(font != nullptr, "the GM edition's font dialog opens")) {
    HWND gm = GetDlgItem(font, 1057), ks = GetDlgItem(font, 1058);
    check(gm != nullptr && IsWindowVisible(gm) && !IsWindowVisible(ks), "it shows the GM face list 1057, not the KS one");
    note("GM faces here: %d", static_cast<int>(SendMessageW(gm, CB_GETCOUNT, 0, 0)));
    wtest::Capture(font, shots, L"settings-font-gm");
    Command(font, IDCANCEL);
  }
  Press(sheet, PSBTN_CANCEL);
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 settings";
  if (argc < 3) {
    std::printf("usage: ime_settings_sheet_test <screenshot folder> <GmV6KS.dic>\n");
    return 2;
  }
  const std::wstring shots = imedrv::WidenArg(argv[1]);
  // Copies of the built dictionary, since learning writes into the one in use:
  // the one to start with and one to choose on the dictionary page.
  char temp[MAX_PATH]{};
  GetTempPathA(MAX_PATH, temp);
  // They and the settings that name them go on every way out.
  imeinst::Leftovers leftovers({L"ZO", L"WA"});
  const std::string dictionary = leftovers.File(std::string(temp) + "settings-sheet-1.dic");
  const std::string other = leftovers.File(std::string(temp) + "settings-sheet-2.dic");
  check(CopyFileA(argv[2], dictionary.c_str(), FALSE) != 0 && CopyFileA(argv[2], other.c_str(), FALSE) != 0,
        "two copies of the dictionary");
  CreateDirectoryW(shots.c_str(), nullptr);
  imeinst::ResetImeSettings(L"ZO");
  check(imedrv::SetDictionaryPath(L"ZO", dictionary.c_str()), "settings written");

  HWND hwnd = imedrv::CreateTestWindow(WndProc, L"ImeSettingsTest", L"ime settings test", {100, 80, 600, 340},
                                       static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!check(hwnd != nullptr, "window created")) return wtest::finish();
  HKL hkl = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName("ZORBENV6.IME"));
  if (!check(hkl != nullptr, "a layout of the installed ZORBENV6.IME is found by its file name")) return wtest::finish();
  imedrv::BoxWatcher boxes;
  boxes.Start();
  HKL previous = ActivateKeyboardLayout(hkl, 0);
  ShowWindow(hwnd, SW_SHOW);
  Focus(hwnd);
  // The first key brings the window's context over to the input method;
  // opening it then makes the UI window and the toolbar.
  Type("r\x1b");
  if (HIMC himc = ImmGetContext(hwnd)) {
    ImmSetOpenStatus(himc, TRUE);
    ImmReleaseContext(hwnd, himc);
  }
  wtest::WaitUntil([] { return Shown(L"warbenv3Status") != nullptr; });
  boxes.Stop();
  for (const std::u16string& t : boxes.Texts()) note("message box: %s", imedrv::Utf8(t).c_str());
  g_results.clear();
  Type("rk ");
  imedrv::WaitForLength(g_results, 2);
  check(g_results == u"\xAC00 ", "2-set: r k Space commit U+AC00 (%s)", imedrv::Hex(g_results).c_str());

  // ---- the toolbar's settings button -------------------------------------------------
  HWND bar = Shown(L"warbenv3Status");
  if (check(bar != nullptr && Width(bar) == 310, "the toolbar shows eleven buttons")) {
    Driver d([] { DriveCancelledSheet("the toolbar's settings button"); });
    // "101111111111": function 11 at position 9. The sheet runs inside the
    // click's handling.
    ClickAt(bar, 53 + 22 * 9 + 11, 18);
    wtest::WaitUntil([&] { return d.Done(); }, 4 * wtest::Allowance());
  }
  check(Modes(L"InputSize") == L"(none)" && Modes(L"HanglInput") == L"(none)", "the cancelled sheet wrote nothing");

  // ---- ImmConfigureIMEA ---------------------------------------------------------------
  BOOL shown = FALSE;
  {
    Driver d([&] { DriveGeneralSheet(shots, dictionary); });
    shown = ImmConfigureIMEA(hkl, hwnd, IME_CONFIG_GENERAL, nullptr);
  }
  check(shown == TRUE, "ImmConfigureIMEA gives 1 after the sheet closes");
  // The general page writes its size and Backspace unit every time, the
  // arrangement because it changed, the keyboard not at all.
  check(Modes(L"HanglInput") == L"ROMAN", "HanglInput ROMAN (%s)", Narrow(Modes(L"HanglInput")).c_str());
  check(Modes(L"InputSize") == L"SBCS" && Modes(L"JisoTaniBack") == L"Yes", "InputSize SBCS and JisoTaniBack Yes");
  check(Modes(L"Mikaku") == L"1", "Mikaku 1 as shown");
  check(Modes(L"Keyboard") == L"(none)" && Modes(L"IndirectMode") == L"(none)", "Keyboard and IndirectMode untouched");
  check(Modes(L"ToolBar") == L"101111111101", "ToolBar without function 11 (%s)", Narrow(Modes(L"ToolBar")).c_str());
  check(imedrv::WidenArg(dictionary.c_str()) == Value(L"DicEnv", L"DicPathName") &&
            Value(L"DicEnv", L"Gakusyu") == L"(none)",
        "the dictionary that failed left DicPathName and Gakusyu alone");

  Focus(hwnd);
  wtest::WaitUntil([&] { return bar && Width(bar) == 288; });
  check(bar && Width(bar) == 288, "the toolbar shows ten buttons (width %d)", bar ? Width(bar) : 0);
  g_results.clear();
  Type("ka ");
  imedrv::WaitForLength(g_results, 2);
  check(g_results == u"\xAC00 ", "roman: k a Space commit U+AC00 (%s)", imedrv::Hex(g_results).c_str());
  // The dictionary in use is still the old one: a conversion offers hanja.
  g_results.clear();
  Type("han\x19\x19\r");
  imedrv::WaitForLength(g_results, 1);
  const bool hanja = g_results.size() == 1 && g_results[0] >= 0x4E00 && g_results[0] <= 0x9FFF;
  check(hanja, "h a n converts to a hanja with the old dictionary (%s)", imedrv::Hex(g_results).c_str());

  // ---- the select-dictionary mode and a mode without a dialog ------------------------
  {
    Driver d([&] { DriveDictionarySheet(dictionary, other); });
    shown = ImmConfigureIMEA(hkl, hwnd, IME_CONFIG_SELECTDICTIONARY, nullptr);
  }
  check(shown == TRUE, "IME_CONFIG_SELECTDICTIONARY gives 1");
  check(lstrcmpiW(Value(L"DicEnv", L"DicPathName").c_str(), imedrv::WidenArg(other.c_str()).c_str()) == 0 &&
            Value(L"DicEnv", L"Gakusyu") == L"ON",
        "OK writes the new DicPathName and Gakusyu ON (%s)", Narrow(Value(L"DicEnv", L"DicPathName")).c_str());
  Focus(hwnd);
  g_results.clear();
  Type("han\x19\x19\r");
  imedrv::WaitForLength(g_results, 1);
  check(g_results.size() == 1 && g_results[0] >= 0x4E00 && g_results[0] <= 0x9FFF,
        "the new dictionary converts h a n (%s)", imedrv::Hex(g_results).c_str());
  check(ImmConfigureIMEA(hkl, hwnd, 7, nullptr) == FALSE, "an unknown mode gives 0");


  // ---- values written by another process's sheet --------------------------------------
  Focus(hwnd);
  imeinst::SetImeValue(L"ZO", L"Modes", L"HanglInput", L"KS3");
  imeinst::SetImeValue(L"ZO", L"Modes", L"ToolBar", L"111111111111");
  g_results.clear();
  Type("kf ");
  imedrv::WaitForLength(g_results, 2);
  check(g_results == u"\xAC00 ", "3-set from the next key: k f Space commit U+AC00 (%s)", imedrv::Hex(g_results).c_str());
  wtest::WaitUntil([&] { return bar && Width(bar) == 332; });
  check(bar && Width(bar) == 332, "and the toolbar shows all twelve buttons (width %d)", bar ? Width(bar) : 0);
  // The on-screen keyboard (function 4, now at position 3) takes the width of
  // a keyboard of another type.
  if (bar) ClickAt(bar, 53 + 22 * 3 + 11, 18);
  HWND guide = nullptr;
  wtest::WaitUntil([&] { return (guide = Shown(L"warbenv3Guide")) != nullptr && Width(guide) == 473; });
  if (check(guide != nullptr && Width(guide) == 473, "the on-screen keyboard of the 106-key keyboard (width %d)",
            guide ? Width(guide) : 0)) {
    imeinst::SetImeValue(L"ZO", L"Modes", L"Keyboard", L"101");
    Focus(hwnd);
    Type("\x1b");
    wtest::WaitUntil([&] { return Width(guide) == 449; });
    check(Width(guide) == 449, "a 101-key keyboard from the next key on: width 449 (%d)", Width(guide));
  }


  // ---- the GM edition (last: cancelling its sheet makes its own layout active) ----
  imeinst::ResetImeSettings(L"WA");
  if (HKL gm = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName("WARBENV6.IME"))) {
    Driver d([&] { DriveGmSheet(shots); });
    check(ImmConfigureIMEA(gm, hwnd, IME_CONFIG_GENERAL, nullptr) == TRUE, "the GM edition's sheet gives 1");
  } else {
    check(false, "a layout of the installed WARBENV6.IME is found by its file name");
  }
  imeinst::ResetImeSettings(L"WA");
  ActivateKeyboardLayout(previous, 0);
  DestroyWindow(hwnd);
  return wtest::finish();
}
