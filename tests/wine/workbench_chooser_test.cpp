// The installed workbench's translation-word chooser (32-bit), driven from
// this program as the input method's side. Before the start, this program
// makes a user dictionary through the installed LomiDLL.dll with two
// translations of 学生 (학도, then 생도) and names it as the workbench's
// first user dictionary. Checked, every response waited for:
//   - 私は学生です translates to 저는 학도입니다 (the user dictionary's first
//     word); 学生 selected and 訳語選択 opens the chooser "訳語選択" on it;
//   - its list shows the user dictionary's two rows first (訳語, 品詞
//     "普通名詞", 辞書 "ユーザ辞書1") and then the system dictionary's 학생,
//     with the row of the word in use (학도) selected;
//   - moving the second row up swaps the rows, and 訳語変更 then writes the
//     moved word: the chooser closes and the Korean pane is rebuilt as
//     저는 생도입니다;
//   - with 学習 checked, the user dictionary's verb 공부하다 chosen: the order
//     change that learning asks for is refused with its message and the
//     chooser ends, and the Korean text still shows the word written;
//   - opened again (学習 still checked), 訳語コピー copies the system row's
//     학생 and it replaces the word: 저는 학생입니다;
//   - 辞書登録 opens the user dictionary editor; a second click shows the
//     same one; closing it leaves the chooser listing the word again;
//   - 来る searched: the one fixed row 오다 / "動詞    " / "システム辞書", and
//     訳語変更, 学習 and 辞書登録 disabled; 閉じる changes nothing;
//   - screenshots of the chooser with its coloured rows.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "ime_driver.h"
#include "ime_install.h"
#include "ime_link.h"
#include "lomi_api.h"
#include "screenshot.h"
#include "wait.h"
#include "workbench_drive.h"

using wtest::check;
using wtest::CheckWithin;
using wtest::WaitUntil;

using namespace wbdrive;

namespace {

LRESULT CALLBACK ReceiverProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(w, message, wParam, lParam);
}

// The GM code of KS text: each KS X 1001 pair's row and cell through the
// Shift-JIS arithmetic (Hangul rows are not among those GM V3 moves).
std::string GmOf(const std::string& ks) {
  std::string out;
  for (std::size_t i = 0; i + 1 < ks.size(); i += 2) {
    const int row = static_cast<uint8_t>(ks[i]) - 0xA0, cell = static_cast<uint8_t>(ks[i + 1]) - 0xA0;
    out.push_back(static_cast<char>(((row - 1) >> 1) + (row <= 62 ? 0x81 : 0xC1)));
    out.push_back(static_cast<char>(row % 2 ? cell + 0x3F + (cell >= 64 ? 1 : 0) : cell + 0x9E));
  }
  return out;
}

std::string Sjis(const wchar_t* text) {
  char buf[256]{};
  WideCharToMultiByte(932, 0, text, -1, buf, sizeof buf - 1, nullptr, nullptr);
  return buf;
}

// The user dictionary path (without extension) with 学生 → 학도, 생도,
// made through the engine itself.
bool MakeUserDictionary(const std::wstring& folder, const std::string& path) {
  HMODULE lomi = LoadLibraryW((folder + L"LomiDLL.dll").c_str());
  if (!check(lomi != nullptr, "the installed LomiDLL.dll loads")) return false;
  auto configure = reinterpret_cast<SetJKTransConfigureFn>(GetProcAddress(lomi, "Set_JKTrans_Configure"));
  auto create = reinterpret_cast<CreatUserDicFn>(GetProcAddress(lomi, "nCreatUserDic_JK"));
  auto update = reinterpret_cast<UpdateUserDicFn>(GetProcAddress(lomi, "nUpdateUserDic_JK"));
  if (!check(configure && create && update, "it exports the dictionary calls")) return false;
  DeleteFileA((path + ".DIC").c_str());
  bool ok = check(create(path.c_str()) == 0, "a user dictionary is created at %s", path.c_str());
  lomi::JKTransConfig config{};
  std::memcpy(config.userDic[0], path.c_str(), path.size());
  const int32_t options[9] = {1, 0, 0, 1, 1, 0, 0, 2, 0};
  std::memcpy(config.option, options, sizeof options);
  config.lastOption = 1;
  ok = check((configure(config) & 0xFF) != 0, "the engine takes the configuration with it") && ok;
  const struct {
    const wchar_t* korean;
    uint8_t type, subtype;
  } entries[] = {{L"학도", 6, 1}, {L"생도", 6, 1}, {L"공부하다", 2, 0}};
  for (const auto& e : entries) {
    lomi::DicCandidateRecord r{};
    const std::string source = Sjis(L"学生"), gm = GmOf(Ks(e.korean));
    std::memcpy(r.source, source.data(), source.size());
    std::memcpy(r.korean, gm.data(), gm.size());
    r.carried[0] = '2';
    r.partOfSpeech[0] = e.type;
    r.partOfSpeech[1] = e.subtype;
    ok = check(update(path.c_str(), '0', &r, lomi::kUdicAdd) == 0, "学生 - %s is registered", U8(e.korean).c_str()) &&
         ok;
  }
  FreeLibrary(lomi);
  return ok;
}

// A list view of another process, read through memory of that process.
class RemoteList {
 public:
  RemoteList(HANDLE process, HWND list) : process_(process), list_(list) {
    remote_ = static_cast<char*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  }
  ~RemoteList() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
  }
  int Rows() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }
  std::wstring Text(int row, int column) const {
    if (!remote_) return L"(no memory)";
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote_ + sizeof(LVITEMW));
    item.cchTextMax = 200;
    WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr);
    SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote_));
    wchar_t text[201]{};
    ReadProcessMemory(process_, remote_ + sizeof(LVITEMW), text, 200 * sizeof(wchar_t), nullptr);
    return text;
  }
  int Selected() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }
  void Select(int row) const {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr);
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote_));
  }
  std::string Describe() const {
    std::string s = std::to_string(Rows()) + " rows:";
    for (int r = 0; r < Rows() && r < 8; ++r) s += " [" + U8(Text(r, 0)) + "|" + U8(Text(r, 1)) + "|" + U8(Text(r, 2)) + "]";
    return s + " selected " + std::to_string(Selected());
  }

 private:
  HANDLE process_;
  HWND list_;
  char* remote_ = nullptr;
};

// A message box of the process that shows text.
struct FindBoxState {
  DWORD pid;
  const std::wstring* text;
  HWND found;
};

BOOL CALLBACK FindBoxProc(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<FindBoxState*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  wchar_t cls[16]{};
  GetClassNameW(w, cls, 16);
  if (owner != f->pid || lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(w)) return TRUE;
  HWND label = GetDlgItem(w, 0xFFFF);
  if (label && wbdrive::Text(label) == *f->text) {
    f->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND FindBox(DWORD pid, const std::wstring& text) {
  FindBoxState f{pid, &text, nullptr};
  EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// The chooser opened on the Japanese pane's 学生 (characters 2-4).
HWND OpenChooser(HWND frame, HWND japanese, DWORD pid) {
  Foreground(frame);
  PostMessageW(japanese, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(japanese, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  WaitUntil([&] { return FocusOf(frame) == japanese; }, Allowance());
  // Posted behind the click, not sent: a sent selection is taken before
  // the posted click, which then puts the caret back at the click point
  // (the focus may have been there already, so its wait proves nothing).
  PostMessageW(japanese, EM_SETSEL, 2, 4);
  PostMessageW(frame, WM_COMMAND, 32813, 0);
  return wtest::WaitForProcessWindow(pid, L"#32770", L"訳語選択", Allowance());
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = "win32 workbench chooser";
  if (argc != 2) {
    std::printf("usage: workbench_chooser_test <screenshot folder>\n");
    return 2;
  }
  const std::wstring shots = imedrv::WidenArg(argv[1]);
  const std::wstring folder = WorkbenchFolder();
  if (folder.empty()) return wtest::finish();

  // ---- the user dictionary, named as the workbench's first ----
  char temp[MAX_PATH]{};
  GetTempPathA(MAX_PATH, temp);
  const std::string dicFolder = std::string(temp) + "chooser-test";
  CreateDirectoryA(dicFolder.c_str(), nullptr);
  const std::string dicPath = dicFolder + "\\ChooserDic";
  if (!MakeUserDictionary(folder, dicPath)) return wtest::finish();
  const std::wstring userDicKey = L"SOFTWARE\\Valdrimo\\GeulmaruV6\\Dalmok\\DMUserDic";
  imeinst::SetString(HKEY_CURRENT_USER, userDicKey, L"FOLDER", imeinst::Widen(dicFolder.c_str()));
  imeinst::SetString(HKEY_CURRENT_USER, userDicKey, L"User Dic1", imeinst::Widen(dicPath.c_str()));
  imeinst::SetString(HKEY_CURRENT_USER, userDicKey, L"User Dic2", L"");
  imeinst::SetString(HKEY_CURRENT_USER, userDicKey, L"User Dic3", L"");

  HWND receiver = imedrv::CreateTestWindow(ReceiverProc, L"ChooserTestReceiver", L"input method UI window",
                                           {20, 40, 320, 240}, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  PROCESS_INFORMATION pi{};
  if (!check(StartWorkbench(folder, receiver, nullptr, pi), "DALMOK.EXE starts")) return wtest::finish();
  HWND frame = FindFrame(L"ＤＡＬＭＯＫ(パリスク) － ＫＳ");
  HWND japanese = frame ? FindChild(frame, L"Edit") : nullptr;
  HWND korean = frame ? FindChild(frame, L"GeulmaruHangulView") : nullptr;
  if (!check(frame && japanese && korean, "the workbench's frame shows with its two panes")) {
    TerminateProcess(pi.hProcess, 9);
    return wtest::finish();
  }

  // ---- translate: the user dictionary's first word is used ----
  PasteJapanese(frame, japanese, L"私は学生です");
  CtrlKey('T');
  CheckWithin(
      Allowance(), [&] { return FocusOf(frame) == korean; }, [] { return std::string("focus elsewhere"); },
      "after Ctrl+T the Korean pane has the focus");
  std::wstring text = KoreanText(frame, korean);
  check(text == L"저는 학도입니다", "私は学生です translates with the user word: %s", U8(text).c_str());

  // ---- the chooser on 学生 ----
  HWND chooser = OpenChooser(frame, japanese, pi.dwProcessId);
  if (check(chooser != nullptr, "訳語選択 opens the chooser on the selected 学生")) {
    HWND list = GetDlgItem(chooser, 1161);
    RemoteList rows(pi.hProcess, list);
    CheckWithin(
        Allowance(),
        [&] {
          return rows.Rows() >= 3 && rows.Text(0, 0) == L"학도" && rows.Text(1, 0) == L"생도" &&
                 IsWindowEnabled(list);
        },
        [&] { return rows.Describe(); }, "its list shows the user dictionary's 학도 and 생도 first");
    bool system = false;
    for (int r = 2; r < rows.Rows(); ++r)
      system = system || (rows.Text(r, 0) == L"학생" && rows.Text(r, 2) == L"システム辞書");
    check(system, "and the system dictionary's 학생 after them: %s", rows.Describe().c_str());
    check(rows.Text(0, 1) == L"普通名詞" && rows.Text(0, 2) == L"ユーザ辞書1" && rows.Text(1, 2) == L"ユーザ辞書1",
          "the user rows show 普通名詞 and ユーザ辞書1: %s", rows.Describe().c_str());
    check(rows.Selected() == 0, "the word in use (학도) is selected: %s", rows.Describe().c_str());
    wtest::Capture(chooser, shots, L"workbench-chooser");

    // Move the second row up, then replace with it.
    rows.Select(1);
    SendMessageW(GetDlgItem(chooser, 1017), BM_CLICK, 0, 0);
    CheckWithin(
        Allowance(),
        [&] { return rows.Text(0, 0) == L"생도" && rows.Text(1, 0) == L"학도" && rows.Selected() == 0; },
        [&] { return rows.Describe(); }, "moving 생도 up swaps the two user rows and keeps it selected");
    wtest::Capture(chooser, shots, L"workbench-chooser-moved");
    PostMessageW(GetDlgItem(chooser, 1157), BM_CLICK, 0, 0);
    CheckWithin(
        Allowance(), [&] { return !IsWindow(chooser); }, [] { return std::string("still open"); },
        "訳語変更 ends the chooser");
    CheckWithin(
        Allowance(), [&] { return (text = KoreanText(frame, korean)) == L"저는 생도입니다"; },
        [&] { return U8(text); }, "the Korean pane is rebuilt with the moved word: 저는 생도입니다");
  }

  // ---- learning: the verb may not pass the nouns, but its entry is written ----
  chooser = OpenChooser(frame, japanese, pi.dwProcessId);
  if (check(chooser != nullptr, "the chooser opens again")) {
    RemoteList rows(pi.hProcess, GetDlgItem(chooser, 1161));
    CheckWithin(
        Allowance(),
        [&] { return rows.Rows() >= 4 && rows.Text(2, 0) == L"공부하다" && rows.Text(2, 1) == L"動詞    "; },
        [&] { return rows.Describe(); }, "the user dictionary's verb 공부하다 is its third row");
    rows.Select(2);
    HWND learn = GetDlgItem(chooser, 1184);
    SendMessageW(learn, BM_CLICK, 0, 0);
    check(SendMessageW(learn, BM_GETCHECK, 0, 0) == BST_CHECKED, "学習 is checked");
    PostMessageW(GetDlgItem(chooser, 1157), BM_CLICK, 0, 0);
    const std::wstring refusal =
        L"動詞・形容詞・形容動詞の品詞と、それ以外の品詞とで優先順位を変更することはできません。";
    HWND box = nullptr;
    CheckWithin(
        Allowance(), [&] { return (box = FindBox(pi.dwProcessId, refusal)) != nullptr; },
        [] { return std::string("no such box"); }, "learning refuses to move the verb above a noun, with its message");
    if (box) {
      wtest::Capture(box, shots, L"workbench-chooser-refusal");
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    CheckWithin(
        Allowance(), [&] { return !IsWindow(chooser); }, [] { return std::string("still open"); },
        "the refusal ends the chooser");
    CheckWithin(
        Allowance(), [&] { return (text = KoreanText(frame, korean)).find(L"공부하다") != std::wstring::npos; },
        [&] { return U8(text); }, "the entry written before the refusal is shown: the Korean text holds 공부하다");
  }

  // ---- again, with the system dictionary's word ----
  chooser = OpenChooser(frame, japanese, pi.dwProcessId);
  if (check(chooser != nullptr, "the chooser opens again")) {
    HWND list = GetDlgItem(chooser, 1161);
    RemoteList rows(pi.hProcess, list);
    int hakseng = -1;
    CheckWithin(
        Allowance(),
        [&] {
          for (int r = 0; r < rows.Rows(); ++r)
            if (rows.Text(r, 0) == L"학생") hakseng = r;
          return hakseng >= 3 && rows.Text(0, 0) == L"생도";
        },
        [&] { return rows.Describe(); }, "the new order is kept (생도 first) and 학생 follows");
    check(SendMessageW(GetDlgItem(chooser, 1184), BM_GETCHECK, 0, 0) == BST_CHECKED, "学習 stays checked");
    if (hakseng >= 0) {
      rows.Select(hakseng);
      wtest::Capture(chooser, shots, L"workbench-chooser-system");
      // 訳語コピー puts the selected word on the clipboard.
      if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
      }
      // The clipboard is read only once the chooser has taken it (its
      // sequence number moved): opened here before that, the chooser's
      // own opening would fail.
      const DWORD sequence = GetClipboardSequenceNumber();
      PostMessageW(chooser, WM_COMMAND, 32936, 0);
      CheckWithin(
          Allowance(),
          [&] {
            return GetClipboardSequenceNumber() != sequence && IsClipboardFormatAvailable(CF_UNICODETEXT) &&
                   ClipboardText() == L"학생";
          },
          [&] { return U8(ClipboardText()); }, "訳語コピー puts 학생 on the clipboard");
      PostMessageW(GetDlgItem(chooser, 1157), BM_CLICK, 0, 0);
      CheckWithin(
          Allowance(), [&] { return !IsWindow(chooser); }, [] { return std::string("still open"); },
          "訳語変更 ends the chooser");
      CheckWithin(
          Allowance(), [&] { return (text = KoreanText(frame, korean)) == L"저는 학생입니다"; },
          [&] { return U8(text); }, "the system word replaces it: 저는 학생입니다");
    }
  }

  // ---- 辞書登録: the user dictionary editor on the word, one at a time ----
  chooser = OpenChooser(frame, japanese, pi.dwProcessId);
  if (check(chooser != nullptr, "the chooser opens for 辞書登録")) {
    RemoteList rows(pi.hProcess, GetDlgItem(chooser, 1161));
    CheckWithin(
        Allowance(), [&] { return rows.Rows() >= 4; }, [&] { return rows.Describe(); }, "it lists 学生's candidates");
    PostMessageW(GetDlgItem(chooser, 1158), BM_CLICK, 0, 0);
    HWND editor = wtest::WaitForProcessWindow(pi.dwProcessId, L"#32770", L"辞書編集", Allowance());
    if (check(editor != nullptr, "辞書登録 opens the user dictionary editor")) {
      // The second click, handled before the call returns, shows the same
      // editor; a second one never appears.
      DWORD_PTR unused = 0;
      SendMessageTimeoutW(GetDlgItem(chooser, 1158), BM_CLICK, 0, 0, SMTO_NORMAL, Allowance(), &unused);
      int editors = 0;
      for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", L"辞書編集"); w;
           w = FindWindowExW(nullptr, w, L"#32770", L"辞書編集"))
        ++editors;
      check(editors == 1 && IsWindowVisible(editor), "a second 辞書登録 shows the same editor (%d open)", editors);
      PostMessageW(editor, WM_COMMAND, IDCANCEL, 0);
      CheckWithin(
          Allowance(), [&] { return !IsWindow(editor); }, [] { return std::string("still open"); },
          "the editor closes (destroyed)");
      CheckWithin(
          Allowance(), [&] { return IsWindow(chooser) && rows.Rows() >= 4 && IsWindowEnabled(GetDlgItem(chooser, 1161)); },
          [&] { return rows.Describe(); }, "the chooser stays open and lists the word again");
    }
    PostMessageW(GetDlgItem(chooser, IDCANCEL), BM_CLICK, 0, 0);
    CheckWithin(
        Allowance(), [&] { return !IsWindow(chooser); }, [] { return std::string("still open"); },
        "閉じる ends the chooser");
  }

  // ---- a fixed verb: one row, and nothing to replace, learn or register ----
  chooser = OpenChooser(frame, japanese, pi.dwProcessId);
  if (check(chooser != nullptr, "the chooser opens a third time")) {
    HWND list = GetDlgItem(chooser, 1161);
    RemoteList rows(pi.hProcess, list);
    CheckWithin(
        Allowance(), [&] { return rows.Rows() >= 3; }, [&] { return rows.Describe(); }, "it lists 学生's candidates");
    const std::string kuru = Sjis(L"来る");
    SendMessageA(GetDlgItem(chooser, 1163), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kuru.c_str()));
    PostMessageW(GetDlgItem(chooser, 1156), BM_CLICK, 0, 0);
    CheckWithin(
        Allowance(),
        [&] {
          return rows.Rows() == 1 && rows.Text(0, 0) == L"오다" && rows.Text(0, 1) == L"動詞    " &&
                 rows.Text(0, 2) == L"システム辞書";
        },
        [&] { return rows.Describe(); }, "来る gives the one row 오다 / 動詞 / システム辞書");
    check(!IsWindowEnabled(GetDlgItem(chooser, 1157)) && !IsWindowEnabled(GetDlgItem(chooser, 1184)) &&
              !IsWindowEnabled(GetDlgItem(chooser, 1158)),
          "訳語変更, 学習 and 辞書登録 are disabled after it");
    wtest::Capture(chooser, shots, L"workbench-chooser-verb");
    // Searched back to 学生: a fixed verb leaves 辞書登録 disabled for the
    // dialog's life.
    SendMessageA(GetDlgItem(chooser, 1163), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Sjis(L"学生").c_str()));
    PostMessageW(GetDlgItem(chooser, 1156), BM_CLICK, 0, 0);
    CheckWithin(
        Allowance(), [&] { return rows.Rows() >= 4; }, [&] { return rows.Describe(); }, "学生 is listed again");
    check(!IsWindowEnabled(GetDlgItem(chooser, 1158)), "辞書登録 stays disabled after the fixed verb");
    PostMessageW(GetDlgItem(chooser, IDCANCEL), BM_CLICK, 0, 0);
    CheckWithin(
        Allowance(), [&] { return !IsWindow(chooser); }, [] { return std::string("still open"); },
        "閉じる ends the chooser");
    text = KoreanText(frame, korean);
    check(text == L"저는 학생입니다", "closing changes nothing: %s", U8(text).c_str());
  }

  PostMessageW(frame, WM_CLOSE, 0, 0);
  check(WaitForSingleObject(pi.hProcess, 2 * Allowance()) == WAIT_OBJECT_0, "the workbench ends");
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  DestroyWindow(receiver);
  return wtest::finish();
}
