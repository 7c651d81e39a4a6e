// ImeConfigure's settings sheet "環境設定": the general, display, dictionary
// and version pages, each applying its working copy on PSN_APPLY (the
// decisions and their order are in settings_sheet.h), the display page's
// toolbar preview and its font dialog (113) and colour dialog ("COLORBOX").
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "comp_paint.h"
#include "ime_regword_hook.h"
#include "ime_state.h"
#include "ime_ui.h"
#include "settings_ids.h"

#include <commctrl.h>
#include <commdlg.h>

namespace ime {

namespace {

constexpr UINT WM_SET_SWATCH = WM_USER, WM_SET_TEXT_COLOUR = WM_USER + 1;
constexpr UINT WM_REDRAW_SAMPLES = WM_USER + 8;

// ---- what every page does ----------------------------------------------------------

// PSN_APPLY applies the page; PSN_RESET gives the thread its layout back
// (the sheet may have switched it); the other notices are answered handled.
template <typename Apply>
INT_PTR PageNotify(HWND dlg, LPARAM lParam, Apply apply) {
  switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
    case PSN_APPLY:
      apply(dlg);
      SetWindowLongPtrA(dlg, DWLP_MSGRESULT, PSNRET_NOERROR);
      return TRUE;
    case PSN_RESET:
      ActivateOwnKeyboardLayout();
      return TRUE;
    case PSN_SETACTIVE:
    case PSN_KILLACTIVE:
    case PSN_HELP:
      SetWindowLongPtrA(dlg, DWLP_MSGRESULT, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

bool Checked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }

std::string ItemText(HWND dlg, int id, int size) {
  std::string text(static_cast<size_t>(size), '\0');
  text.resize(static_cast<size_t>(GetDlgItemTextA(dlg, id, &text[0], size)));
  return text;
}

void ShowItem(HWND dlg, int id, bool show) {
  HWND item = GetDlgItem(dlg, id);
  ShowWindow(item, show ? SW_SHOW : SW_HIDE);
  EnableWindow(item, show);
}

// ---- general page (100) ------------------------------------------------------------

int ArrangementButton(int inputMode) {
  switch (inputMode) {
    case 1: return IDC_KS2;
    case 2: return IDC_KS3;
    default: return IDC_ROMAN;
  }
}

bool InterfaceOffered() {
  const ImeModule& m = Module();
  return m.settings.koreanCode == 1 && m.facts.interfaceChoice;
}

void InitGeneral(HWND dlg) {
  const ImeConfig& cfg = Module().config;
  const bool ks = cfg.engine.koreanCode == 1;
  const GeneralPage p =
      GeneralPageFor(cfg, InterfaceOffered(), SettingsAccess(Registry(), cfg.prefix).String("Modes", "Interface", ""));
  CheckRadioButton(dlg, IDC_KS2, IDC_ROMAN, ArrangementButton(p.inputMode));
  CheckRadioButton(dlg, IDC_HALF_WIDTH, IDC_FULL_WIDTH, p.halfWidth ? IDC_HALF_WIDTH : IDC_FULL_WIDTH);
  CheckRadioButton(dlg, IDC_BACK_JAMO, IDC_BACK_SYLLABLE, p.jisoTaniBack ? IDC_BACK_JAMO : IDC_BACK_SYLLABLE);
  CheckRadioButton(dlg, IDC_AT_CURSOR, IDC_AT_BOTTOM, p.indirectMode ? IDC_AT_BOTTOM : IDC_AT_CURSOR);
  CheckRadioButton(dlg, IDC_KEYBOARD_106, IDC_KEYBOARD_101, IDC_KEYBOARD_106 + p.keyboardType);
  if (p.interfaceShown) {
    for (int id : {IDC_INTERFACE_LABEL, IDC_INTERFACE_UNICODE, IDC_INTERFACE_ASCII}) ShowItem(dlg, id, true);
    CheckRadioButton(dlg, IDC_INTERFACE_UNICODE, IDC_INTERFACE_ASCII,
                     p.interfaceAnsi ? IDC_INTERFACE_ASCII : IDC_INTERFACE_UNICODE);
  }
  if (ks) {
    SendDlgItemMessageA(dlg, IDC_MIKAKU, EM_LIMITTEXT, 9, 0);
    SetDlgItemTextA(dlg, IDC_MIKAKU, p.mikakuText.c_str());
  } else {
    ShowItem(dlg, IDC_MIKAKU, false);
    ShowItem(dlg, IDC_MIKAKU_LABEL, false);
  }
}

void ApplyGeneral(HWND dlg) {
  ImeModule& m = Module();
  GeneralPage p;
  p.inputMode = Checked(dlg, IDC_KS2) ? 1 : Checked(dlg, IDC_KS3) ? 2 : 0;
  p.halfWidth = Checked(dlg, IDC_HALF_WIDTH);
  p.jisoTaniBack = Checked(dlg, IDC_BACK_JAMO);
  p.indirectMode = Checked(dlg, IDC_AT_BOTTOM);
  p.keyboardType = Checked(dlg, IDC_KEYBOARD_98) ? 1 : Checked(dlg, IDC_KEYBOARD_101) ? 2 : 0;
  p.interfaceShown = InterfaceOffered();
  p.interfaceAnsi = Checked(dlg, IDC_INTERFACE_ASCII);
  if (m.settings.koreanCode == 1) {
    p.mikakuText = ItemText(dlg, IDC_MIKAKU, 64);
    p.mikakuCount = EditBoxNumber(p.mikakuText);
  }
  ApplyGeneralPage(p, m.config, RegistryWrite(), ModuleSettingsPlatform());
}

// ---- font dialog (113) ----------------------------------------------------------

FontDialog g_font;

int FaceList(bool ks) { return ks ? IDC_FONT_KS : IDC_FONT_GM; }

void InitFont(HWND dlg) {
  const ImeConfig& cfg = Module().config;
  const bool ks = cfg.engine.koreanCode == 1;
  g_font = FontDialogFor(cfg, EnumerateDisplayFonts());
  // Each edition shows its own face list; the other one stays hidden.
  ShowItem(dlg, FaceList(!ks), false);
  HWND faces = GetDlgItem(dlg, FaceList(ks));
  for (const std::string& face : g_font.faces) SendMessageA(faces, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
  SendMessageA(faces, CB_SETCURSEL, static_cast<WPARAM>(g_font.face), 0);
  HWND sizes = GetDlgItem(dlg, IDC_FONT_SIZE);
  for (int i = 0; i < kFontSizeEntries; ++i) {
    SendMessageA(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(i + 8).c_str()));
  }
  SendMessageA(sizes, CB_SETCURSEL, static_cast<WPARAM>(g_font.size), 0);
}

INT_PTR CALLBACK FontDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      InitFont(dlg);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        ImeModule& m = Module();
        g_font.face = static_cast<int>(SendDlgItemMessageA(dlg, FaceList(m.settings.koreanCode == 1), CB_GETCURSEL, 0, 0));
        g_font.size = static_cast<int>(SendDlgItemMessageA(dlg, IDC_FONT_SIZE, CB_GETCURSEL, 0, 0));
        ApplyFontDialog(g_font, m.config, RegistryWrite(), ModuleSettingsPlatform());
        EndDialog(dlg, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// ---- colour dialog ("COLORBOX") ---------------------------------------------------

std::optional<ColourDialog> g_colours;

void PressColourButtons(HWND dlg) {
  for (int i = 0; i < ColourDialog::kColours; ++i) {
    SetColorButtonPressed(dlg, IDC_TEXT_COLOUR + i, g_colours->TextPressed(i));
    SetColorButtonPressed(dlg, IDC_BACK_COLOUR + i, g_colours->BackgroundPressed(i));
  }
  PostMessageA(dlg, WM_REDRAW_SAMPLES, 0, 0);
}

void InitColours(HWND dlg) {
  const ImeConfig& cfg = Module().config;
  for (int i = 0; i < ColourDialog::kColours; ++i) {
    for (int id : {IDC_TEXT_COLOUR + i, IDC_BACK_COLOUR + i}) {
      SendDlgItemMessageA(dlg, id, WM_SET_SWATCH, 0, static_cast<LPARAM>(PaletteColour(i)));
      SendDlgItemMessageA(dlg, id, WM_SET_TEXT_COLOUR, 0, static_cast<LPARAM>(PaletteColour(i)));
    }
  }
  g_colours.emplace(cfg.inputColour, cfg.convColour);
  CheckRadioButton(dlg, IDC_PAIR_INPUT, IDC_PAIR_CONV, IDC_PAIR_INPUT);
  PressColourButtons(dlg);
}

// A sample: the caption of its radio, centred in the pair's colours.
void DrawSample(HWND dlg, const DRAWITEMSTRUCT& di) {
  const ColourPair pair = g_colours->Pair(di.CtlID == IDC_SAMPLE_CONV ? ColourDialog::kConversion : ColourDialog::kInput);
  wchar_t caption[51] = {};
  GetDlgItemTextW(dlg, static_cast<int>(di.CtlID) - 16, caption, 51);
  RECT r = di.rcItem;
  HBRUSH back = CreateSolidBrush(PaletteColour(pair.background));
  FillRect(di.hDC, &r, back);
  DeleteObject(back);
  HGDIOBJ old = SelectObject(di.hDC, reinterpret_cast<HFONT>(SendMessageA(dlg, WM_GETFONT, 0, 0)));
  SetTextColor(di.hDC, PaletteColour(pair.text));
  SetBkColor(di.hDC, PaletteColour(pair.background));
  SetBkMode(di.hDC, OPAQUE);
  DrawTextW(di.hDC, caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(di.hDC, old);
}

INT_PTR OnColourCommand(HWND dlg, int id) {
  if (id == IDC_PAIR_INPUT || id == IDC_PAIR_CONV) {
    g_colours->Select(id == IDC_PAIR_CONV ? ColourDialog::kConversion : ColourDialog::kInput);
  } else if (id >= IDC_TEXT_COLOUR && id < IDC_TEXT_COLOUR + ColourDialog::kColours) {
    g_colours->SetText(id - IDC_TEXT_COLOUR);
  } else if (id >= IDC_BACK_COLOUR && id < IDC_BACK_COLOUR + ColourDialog::kColours) {
    g_colours->SetBackground(id - IDC_BACK_COLOUR);
  } else if (id == IDC_DEFAULT_COLOURS) {
    g_colours->Defaults();
    CheckRadioButton(dlg, IDC_PAIR_INPUT, IDC_PAIR_CONV, IDC_PAIR_INPUT);
  } else if (id == IDOK) {
    g_colours->Commit(Module().config, RegistryWrite());
    EndDialog(dlg, IDOK);
    return TRUE;
  } else if (id == IDCANCEL) {
    EndDialog(dlg, IDCANCEL);
    return TRUE;
  } else {
    return FALSE;
  }
  PressColourButtons(dlg);
  return TRUE;
}

INT_PTR CALLBACK ColorDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      InitColours(dlg);
      return TRUE;
    case WM_COMMAND:
      return OnColourCommand(dlg, LOWORD(wParam));
    case WM_DRAWITEM: {
      const auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (di->CtlID != IDC_SAMPLE_INPUT && di->CtlID != IDC_SAMPLE_CONV) return FALSE;
      DrawSample(dlg, *di);
      return TRUE;
    }
    case WM_REDRAW_SAMPLES:
      for (int id : {IDC_SAMPLE_INPUT, IDC_SAMPLE_CONV}) InvalidateRect(GetDlgItem(dlg, id), nullptr, FALSE);
      return TRUE;
    default:
      return FALSE;
  }
}

// ---- display page (114) ----------------------------------------------------------

DisplayPage g_display;
HBITMAP g_previewBitmap = nullptr;  // loaded when no toolbar shows

HBITMAP ToolbarBitmap() {
  ImeModule& m = Module();
  if (HWND status = m.uiWindow ? StatusWindowOf(m.uiWindow) : nullptr) {
    if (HBITMAP b = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(status, kStatusLongBitmap))) return b;
  }
  if (!g_previewBitmap) {
    HDC screen = GetDC(nullptr);
    const bool manyColours = GetDeviceCaps(screen, NUMCOLORS) == -1;
    ReleaseDC(nullptr, screen);
    g_previewBitmap = LoadBitmapA(m.instance, manyColours ? "STATUSBMP" : "STATUSBMP256");
  }
  return g_previewBitmap;
}

// Inside the static's sunken frame, the toolbar with the ticked buttons.
void DrawPreview(HWND preview, HDC dc) {
  RECT rc;
  GetClientRect(preview, &rc);
  DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
  HBITMAP bmp = ToolbarBitmap();
  if (!bmp) return;
  int buttons = 0;
  for (int n = 1; n <= kStatusFunctions; ++n) buttons += g_display.enabled[n];
  const Size size = StatusToolbarSize(buttons);
  const int x = rc.left + std::max(0, static_cast<int>(rc.right - rc.left - size.cx) / 2);
  const int y = rc.top + std::max(0, static_cast<int>(rc.bottom - rc.top - size.cy) / 2);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bmp);
  for (const StatusBlit& b : ToolbarPreviewPlan(g_display, Module().settings.conversionMode)) {
    BitBlt(dc, x + b.dst.x, y + b.dst.y, b.src.Width(), b.src.Height(), mem, b.src.left, b.src.top, SRCCOPY);
  }
  SelectObject(mem, old);
  DeleteDC(mem);
  RestoreDC(dc, saved);
}

void InitDisplay(HWND dlg) {
  g_display = DisplayPageFor(Module().config.toolbar);
  for (int n = 1; n <= kStatusFunctions; ++n) {
    CheckDlgButton(dlg, IDC_TOOLBAR_FIRST + n - 1, g_display.enabled[n] ? BST_CHECKED : BST_UNCHECKED);
  }
}

INT_PTR OnDisplayCommand(HWND dlg, int id) {
  ImeModule& m = Module();
  if (id >= IDC_TOOLBAR_FIRST && id <= IDC_TOOLBAR_LAST) {
    g_display.enabled[id - IDC_TOOLBAR_FIRST + 1] = Checked(dlg, id);
    InvalidateRect(GetDlgItem(dlg, IDC_PREVIEW), nullptr, FALSE);
    return TRUE;
  }
  if (id == IDC_FONT_BUTTON) {
    DialogBoxParamA(m.instance, MAKEINTRESOURCEA(IDD_FONT), dlg, FontDlgProc, 0);
    return TRUE;
  }
  if (id == IDC_COLOUR_BUTTON) {
    DialogBoxParamA(m.instance, "COLORBOX", dlg, ColorDlgProc, 0);
    ClearColorButtons();
    return TRUE;
  }
  return FALSE;
}

// ---- dictionary page (102) ---------------------------------------------------------

std::wstring Wide(const std::string& acp) {
  wchar_t out[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, acp.c_str(), -1, out, MAX_PATH);
  return out;
}

// "参照...": an existing file, starting in the current file's folder.
void BrowseDictionary(HWND dlg) {
  const std::wstring folder = Wide(DictionaryFolder(ItemText(dlg, IDC_DIC_PATH, MAX_PATH)));
  wchar_t file[MAX_PATH] = {};
  // 辞書(*.dic), 全ﾌｧｲﾙ(*.*)
  static const wchar_t kFilter[] = L"\x8F9E\x66F8(*.dic)\0*.dic\0\x5168\xFF8C\xFF67\xFF72\xFF99(*.*)\0*.*\0";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = dlg;
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = L"\x8F9E\x66F8\x306E\x6307\x5B9A";  // 辞書の指定
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return;
  char path[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, file, -1, path, MAX_PATH, nullptr, nullptr);
  SetDlgItemTextA(dlg, IDC_DIC_PATH, path);
}

void InitDictionary(HWND dlg) {
  const ImeConfig& cfg = Module().config;
  SendDlgItemMessageA(dlg, IDC_DIC_PATH, EM_LIMITTEXT, MAX_PATH - 1, 0);
  SetDlgItemTextA(dlg, IDC_DIC_PATH, cfg.dictionaryPath.c_str());
  CheckRadioButton(dlg, IDC_LEARN_ON, IDC_LEARN_OFF, cfg.engine.learning ? IDC_LEARN_ON : IDC_LEARN_OFF);
  if (cfg.protectedMode) {
    for (int id : {IDC_LEARN_ON, IDC_LEARN_OFF, IDC_DIC_EDIT}) EnableWindow(GetDlgItem(dlg, id), FALSE);
  }
}

void ApplyDictionary(HWND dlg) {
  ImeModule& m = Module();
  ApplyDictionaryPage(ItemText(dlg, IDC_DIC_PATH, MAX_PATH), Checked(dlg, IDC_LEARN_ON), m.config, RegistryWrite(),
                      ModuleSettingsPlatform());
}

}  // namespace

}  // namespace ime

using namespace ime;

extern "C" {

__declspec(dllexport) INT_PTR CALLBACK GeneralDlgProc(HWND dlg, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    InitGeneral(dlg);
    return TRUE;
  }
  if (msg == WM_NOTIFY) return PageNotify(dlg, lParam, ApplyGeneral);
  return FALSE;
}

INT_PTR CALLBACK ToolbarPageDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      InitDisplay(dlg);
      return TRUE;
    case WM_COMMAND:
      return HIWORD(wParam) == BN_CLICKED ? OnDisplayCommand(dlg, LOWORD(wParam)) : FALSE;
    case WM_CTLCOLORSTATIC:
      // The preview is drawn as the static paints; the static itself adds
      // nothing (no text, hollow background).
      if (reinterpret_cast<HWND>(lParam) != GetDlgItem(dlg, IDC_PREVIEW)) return FALSE;
      DrawPreview(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetStockObject(HOLLOW_BRUSH));
    case WM_DESTROY:
      if (g_previewBitmap) DeleteObject(g_previewBitmap);
      g_previewBitmap = nullptr;
      return FALSE;
    case WM_NOTIFY:
      return PageNotify(dlg, lParam, [](HWND) {
        ApplyDisplayPage(g_display, Module().config, RegistryWrite(), ModuleSettingsPlatform());
      });
    default:
      return FALSE;
  }
}

__declspec(dllexport) INT_PTR CALLBACK SelectDictionaryDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      InitDictionary(dlg);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      if (LOWORD(wParam) == IDC_DIC_BROWSE) {
        BrowseDictionary(dlg);
        return TRUE;
      }
      if (LOWORD(wParam) == IDC_DIC_EDIT) {
        ConfigureRegisterWord(GetParent(dlg), nullptr);
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY:
      return PageNotify(dlg, lParam, ApplyDictionary);
    default:
      return FALSE;
  }
}

__declspec(dllexport) INT_PTR CALLBACK AboutDlgProc(HWND dlg, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetDlgItemTextW(dlg, IDC_EDITION, Module().settings.koreanCode == 1 ? L"GeulmaruV6(KS)" : L"GeulmaruV6(GM)");
    return TRUE;
  }
  if (msg == WM_NOTIFY) return PageNotify(dlg, lParam, [](HWND) { ActivateOwnKeyboardLayout(); });
  return FALSE;
}

}  // extern "C"

namespace ime {

namespace {

DLGPROC PageProcedure(int page) {
  switch (page) {
    case kPageGeneral: return GeneralDlgProc;
    case kPageDisplay: return ToolbarPageDlgProc;
    case kPageDictionary: return SelectDictionaryDlgProc;
    default: return AboutDlgProc;
  }
}

// One page; a page that cannot be made is left out.
HPROPSHEETPAGE AddConfigPage(int page) {
  PROPSHEETPAGEA p{};
  p.dwSize = sizeof p;
  p.dwFlags = 0;
  p.hInstance = Module().instance;
  p.pszTemplate = MAKEINTRESOURCEA(page);
  p.pfnDlgProc = PageProcedure(page);
  p.lParam = 0;
  return CreatePropertySheetPageA(&p);
}

void ShowSheet(HWND owner, const std::vector<int>& pageIds) {
  ImeModule& m = Module();
  HPROPSHEETPAGE pages[4];
  UINT n = 0;
  for (int id : pageIds) {
    if (n == 4) break;
    if (HPROPSHEETPAGE page = AddConfigPage(id)) pages[n++] = page;
  }
  if (n == 0) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  PROPSHEETHEADERW h{};
  h.dwSize = sizeof h;
  h.dwFlags = PSH_NOAPPLYNOW;
  h.hwndParent = owner;
  h.hInstance = m.instance;
  h.pszCaption = L"\x74B0\x5883\x8A2D\x5B9A";  // 環境設定
  h.nPages = n;
  h.phpage = pages;
  // The toolbar shows its settings and dictionary buttons disabled meanwhile.
  const bool wasOpen = m.dialogOpen;
  m.dialogOpen = true;
  RedrawStatusWindow();
  PropertySheetW(&h);
  m.dialogOpen = wasOpen;
  RedrawStatusWindow();
}

}  // namespace

BOOL RunImeConfigure(HWND owner, DWORD mode, void* data) {
  if (mode == IME_CONFIG_REGISTERWORD) return ConfigureRegisterWord(owner, data);
  const std::vector<int> pages = ConfigurePages(mode);
  if (pages.empty()) return FALSE;
  ShowSheet(owner, pages);
  return TRUE;
}

}  // namespace ime
