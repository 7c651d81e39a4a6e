// The installed workbench's user dictionaries (32-bit), driven from outside:
//   - "辞書指定" (command 32822) creates a dictionary with a dotted name
//     (my.user.dic) after its question, stores it without its extension,
//     and opens again on it (the dotted name kept);
//   - a sentence with 猫 translates with the system dictionary's 고양이;
//   - "辞書編集" (command 32821) registers 猫 as 냥이 in that dictionary,
//     refuses the same entry twice, and while it is open the frame's
//     translate and dictionary commands are disabled; once closed (the window
//     destroyed) they come back and the next translation says 냥이;
//   - 29 more entries registered through the editor, then "辞書一覧" pages
//     through the 30: rows 1, 14, 27 (4 rows on the last page), back to 14;
//     "検索" with its prompt finds 猫 once;
// screenshots of each dialog.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "check.h"
#include "ime_driver.h"
#include "ime_install.h"
#include "ime_link.h"
#include "screenshot.h"
#include "wait.h"
#include "workbench_drive.h"

using wtest::check;
using wtest::CheckWithin;
using wtest::WaitUntil;

using namespace wbdrive;

namespace {

DWORD g_pid = 0;

HWND WaitForDialog(const wchar_t* title) {
  HWND found = wtest::WaitForProcessWindow(g_pid, L"#32770", title, Allowance());
  if (!found) wtest::NoteProcessWindows(g_pid);  // what the workbench showed instead
  return found;
}

void Click(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void SetText(HWND dialog, int id, const std::wstring& text) {
  SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                      Allowance(), nullptr);
}

std::wstring ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

// A text field of the dictionary dialogs (an SEdit control): its text goes
// in as the bytes of its code page (Shift-JIS, or KS for the Korean field).
void SetFieldText(HWND dialog, int id, const std::wstring& text, unsigned codePage) {
  char bytes[256]{};
  WideCharToMultiByte(codePage, 0, text.c_str(), -1, bytes, sizeof bytes - 1, nullptr, nullptr);
  SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(bytes), SMTO_ABORTIFHUNG,
                      Allowance(), nullptr);
}

// A message box that the dialog owner shows (it has the dialog's caption)
// and its text.
struct BoxSearch {
  HWND owner, found;
};
BOOL CALLBACK FindBoxProc(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<BoxSearch*>(p);
  wchar_t cls[32]{};
  GetClassNameW(w, cls, 32);
  if (w != s->owner && GetWindow(w, GW_OWNER) == s->owner && IsWindowVisible(w) && lstrcmpW(cls, L"#32770") == 0) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}
HWND WaitForBox(HWND owner, std::wstring& text) {
  BoxSearch search{owner, nullptr};
  WaitUntil(
      [&] {
        search.found = nullptr;
        EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      Allowance());
  text.clear();
  if (search.found) WaitUntil([&] { return !(text = ItemText(search.found, 0xFFFF)).empty(); }, Allowance());
  return search.found;
}

bool WaitClosed(HWND w, const char* what) {
  return CheckWithin(
      Allowance(), [&] { return !IsWindow(w); }, [] { return std::string("still there"); }, "%s closes", what);
}

bool ToolbarEnabled(HWND frame, int command) {
  HWND bar = FindChild(frame, L"ToolbarWindow32");
  return bar && SendMessageW(bar, TB_ISBUTTONENABLED, command, 0) != 0;
}

// The Korean text of a translation of text typed into the Japanese pane.
std::wstring Translate(HWND frame, const std::wstring& text) {
  HWND japanese = FindChild(frame, L"Edit");
  HWND korean = FindChild(frame, L"GeulmaruHangulView");
  if (!japanese || !korean) return L"(no panes)";
  PostMessageW(frame, WM_COMMAND, 32773, 0);  // 全クリア: both panes empty
  if (!WaitUntil([&] { return Text(japanese).empty(); }, Allowance())) return L"(not cleared)";
  if (!PasteJapanese(frame, japanese, text)) return L"(not pasted)";
  Foreground(frame);
  PostMessageW(frame, WM_COMMAND, 32776, 0);
  std::wstring got;
  WaitUntil([&] { return (got = KoreanText(frame, korean)).size() > 0 && got != L"(nothing copied)"; }, Allowance());
  return got;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 workbench dictionaries";
  if (argc != 2) {
    std::printf("usage: workbench_udic_test <screenshot folder>\n");
    return 2;
  }
  const std::wstring shots = imedrv::WidenArg(argv[1]);
  const std::wstring folder = WorkbenchFolder();
  if (!check(GetFileAttributesW((folder + L"DALMOK.EXE").c_str()) != INVALID_FILE_ATTRIBUTES,
             "the suite installed DALMOK.EXE in %s", U8(folder).c_str()))
    return wtest::finish();

  // The dictionaries' folder, empty.
  wchar_t temp[MAX_PATH]{};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring dicFolder = std::wstring(temp) + L"udictest";
  CreateDirectoryW(dicFolder.c_str(), nullptr);
  const std::wstring dicBase = dicFolder + L"\\my.user";
  DeleteFileW((dicBase + L".DIC").c_str());

  HWND receiver = imedrv::CreateTestWindow(DefWindowProcW, L"UdicTestReceiver", L"input method UI window",
                                           {20, 40, 320, 240}, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  HWND application = imedrv::CreateTestWindow(DefWindowProcW, L"UdicTestApplication", L"application",
                                              {340, 40, 640, 240}, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  PROCESS_INFORMATION pi{};
  if (!check(StartWorkbench(folder, receiver, application, pi), "DALMOK.EXE starts")) return wtest::finish();
  g_pid = pi.dwProcessId;
  HWND frame = FindFrame(L"ＤＡＬＭＯＫ(パリスク) － ＫＳ");
  if (!check(frame != nullptr, "the workbench's frame shows")) {
    TerminateProcess(pi.hProcess, 9);
    return wtest::finish();
  }

  // ---- 辞書指定: a new dictionary with a dotted name ----
  PostMessageW(frame, WM_COMMAND, 32822, 0);
  HWND dicChoice = WaitForDialog(L"辞書指定");
  if (check(dicChoice != nullptr, "command 32822 opens 辞書指定")) {
    wtest::Capture(dicChoice, shots, L"workbench-dic-dicChoice");
    SetText(dicChoice, 124, dicBase + L".dic");
    Click(dicChoice, IDOK);
    std::wstring text;
    HWND box = WaitForBox(dicChoice, text);
    check(box && text == L"辞書(" + dicBase + L".dic)が存在しません！\n新規作成しますか？",
          "OK asks whether to create the missing dictionary: %s", U8(text).c_str());
    if (box) PostMessageW(box, WM_COMMAND, IDYES, 0);
    WaitClosed(dicChoice, "辞書指定");
  }
  CheckWithin(
      Allowance(), [&] { return GetFileAttributesW((dicBase + L".DIC").c_str()) != INVALID_FILE_ATTRIBUTES; },
      [] { return std::string("no file"); }, "the engine created my.user.DIC");
  const wchar_t kUserDic[] = L"SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok\\DMUserDic";
  check(imeinst::GetString(HKEY_CURRENT_USER, kUserDic, L"User Dic1") == dicBase,
        "\"User Dic1\" holds the path without its extension, dots kept: %s",
        U8(imeinst::GetString(HKEY_CURRENT_USER, kUserDic, L"User Dic1")).c_str());
  PostMessageW(frame, WM_COMMAND, 32822, 0);
  dicChoice = WaitForDialog(L"辞書指定");
  if (check(dicChoice != nullptr, "辞書指定 opens again")) {
    CheckWithin(
        Allowance(), [&] { return ItemText(dicChoice, 124) == dicBase + L".DIC"; }, [&] { return U8(ItemText(dicChoice, 124)); },
        "it shows the stored dictionary with .DIC");
    Click(dicChoice, IDCANCEL);
    WaitClosed(dicChoice, "辞書指定");
  }
  check(imeinst::GetString(HKEY_CURRENT_USER, kUserDic, L"User Dic1") == dicBase,
        "the opening check kept the dotted dictionary in the registry");

  // ---- the system dictionary's word first ----
  const std::wstring before = Translate(frame, L"猫が好きです");
  check(before.find(L"고양이") != std::wstring::npos, "猫 translates as 고양이 before: %s", U8(before).c_str());

  // ---- 辞書編集: 猫 as 냥이 ----
  Foreground(frame);
  PostMessageW(frame, WM_COMMAND, 32821, 0);
  HWND editor = WaitForDialog(L"辞書編集");
  if (!check(editor != nullptr, "command 32821 opens 辞書編集")) {
    TerminateProcess(pi.hProcess, 9);
    return wtest::finish();
  }
  CheckWithin(
      Allowance(), [&] { return !ToolbarEnabled(frame, 32821) && !ToolbarEnabled(frame, 32776); },
      [] { return std::string("enabled"); }, "while the editor is open, 翻訳 and 辞書編集 are disabled");
  CheckWithin(
      Allowance(), [&] { return Text(GetDlgItem(editor, 1024)) == dicBase; },
      [&] { return U8(Text(GetDlgItem(editor, 1024))); }, "the editor offers the dictionary by its name");
  auto registerEntry = [&](const std::wstring& source, const std::wstring& translation, int countAfter) {
    SetFieldText(editor, 132, source, 932);
    SetFieldText(editor, 133, translation, 949);
    Click(editor, 138);
    return CheckWithin(
        Allowance(), [&] { return ItemText(editor, 134) == std::to_wstring(countAfter); },
        [&] { return U8(ItemText(editor, 134)); }, "registering %s: the count becomes %d", U8(source).c_str(),
        countAfter);
  };
  registerEntry(L"猫", L"냥이", 1);
  wtest::Capture(editor, shots, L"workbench-dic-edit");
  // The very same entry again.
  SetFieldText(editor, 133, L"냥이", 949);
  Click(editor, 138);
  {
    std::wstring text;
    HWND box = WaitForBox(editor, text);
    check(box && text == L"全く同じ内容を重複登録しようとしました。", "the same entry again is refused: %s",
          U8(text).c_str());
    if (box) {
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      WaitClosed(box, "the box");
    }
  }
  check(ItemText(editor, 134) == L"1", "the count stays 1");
  Click(editor, IDCANCEL);
  WaitClosed(editor, "the editor (destroyed)");
  CheckWithin(
      Allowance(), [&] { return ToolbarEnabled(frame, 32821) && ToolbarEnabled(frame, 32776); },
      [] { return std::string("disabled"); }, "after the editor closed, 翻訳 and 辞書編集 are enabled again");
  const std::wstring after = Translate(frame, L"猫が好きです");
  check(after.find(L"냥이") != std::wstring::npos && after.find(L"고양이") == std::wstring::npos,
        "the next translation uses the registered word: %s", U8(after).c_str());

  // ---- 30 entries and the list ----
  PostMessageW(frame, WM_COMMAND, 32821, 0);
  editor = WaitForDialog(L"辞書編集");
  if (check(editor != nullptr, "the editor opens again")) {
    bool all = true;
    for (int i = 1; i <= 29 && all; ++i) {
      wchar_t source[16];
      std::swprintf(source, 16, L"語%02d", i);
      all = registerEntry(source, L"말", i + 1);
    }
    Click(editor, 141);
    HWND list = WaitForDialog(L"辞書一覧");
    if (check(list != nullptr, "辞書一覧 opens from the editor")) {
      HWND rows = GetDlgItem(list, 215);
      auto page = [&](const wchar_t* first, int count, const char* what) {
        CheckWithin(
            Allowance(),
            [&] { return ItemText(list, 1073) == first && SendMessageW(rows, LVM_GETITEMCOUNT, 0, 0) == count; },
            [&] {
              return U8(ItemText(list, 1073)) + " / " + std::to_string(SendMessageW(rows, LVM_GETITEMCOUNT, 0, 0));
            },
            "%s: row %s first, %d rows", what, U8(first).c_str(), count);
      };
      check(ItemText(list, 174) == L"30", "the list counts 30 entries: %s", U8(ItemText(list, 174)).c_str());
      page(L"    1", 13, "the first page");
      wtest::Capture(list, shots, L"workbench-dic-list");
      Click(list, 171);
      page(L"   14", 13, "次ページ");
      Click(list, 171);
      page(L"   27", 4, "次ページ again");
      check(!IsWindowEnabled(GetDlgItem(list, 171)), "on the last page 次ページ is disabled");
      Click(list, 1027);
      page(L"   14", 13, "前ページ");
      Click(list, 172);
      HWND prompt = WaitForDialog(L"検索文字列の指定");
      if (check(prompt != nullptr, "検索 opens its prompt")) {
        wtest::Capture(prompt, shots, L"workbench-dic-search");
        SetFieldText(prompt, 207, L"猫", 932);
        CheckWithin(
            Allowance(), [&] { return ItemText(prompt, 207) == L"猫"; }, [&] { return U8(ItemText(prompt, 207)); },
            "the prompt holds 猫");
        Click(prompt, 1094);
        if (!WaitClosed(prompt, "the prompt")) wtest::NoteProcessWindows(g_pid);
        std::wstring text;
        HWND box = WaitForBox(list, text);
        check(box && text == L"指定された文字列が 1 個見つかりました", "the find reports one entry: %s",
              U8(text).c_str());
        if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
        CheckWithin(
            Allowance(), [&] { return ItemText(list, 1073) == L"   30"; }, [&] { return U8(ItemText(list, 1073)); },
            "the found entry (the 30th) is selected");
      }
      Click(list, IDCANCEL);
      WaitClosed(list, "辞書一覧");
    }
    Click(editor, IDCANCEL);
    WaitClosed(editor, "the editor");
  }

  PostMessageW(frame, WM_CLOSE, 0, 0);
  CheckWithin(
      2 * Allowance(), [&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; },
      [] { return std::string("running"); }, "the workbench ends");
  if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 9);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return wtest::finish();
}
