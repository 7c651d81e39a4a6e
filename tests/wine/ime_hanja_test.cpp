// Hanja conversion of the built input method with the built dictionary,
// through its exports: the dictionary is installed under the program folder
// of "Install Directory" (no DicPathName), a word is typed, converted with
// the Hanja key, the list opened and its third candidate picked by digit;
// the result string is read from the composition record, and the picked word
// comes first at the next conversion (learned in the file).
//
//   ime_hanja_test.exe <ZORBENV6.IME> <GmV6KS.dic>
#include "check.h"
#include "ime_driver.h"

#include <cstdio>
#include <string>
#include <vector>

using wtest::check;
using wtest::check_eq;
using wtest::note;

namespace {

constexpr UINT kVkHanja = 0x19;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd, msg, wp, lp); }

std::wstring Widen(const std::string& s, UINT cp) {
  int n = MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
  return w;
}

std::u16string U16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }

// The candidate strings of the context's list (KS bytes, shown as UTF-16),
// with its selection.
struct CandList {
  DWORD count = 0, selection = 0, pageSize = 0;
  std::vector<std::u16string> words;
};

CandList ReadCandidates(HIMC himc) {
  CandList out;
  INPUTCONTEXT* ic = ImmLockIMC(himc);
  if (!ic) return out;
  if (auto* p = static_cast<const uint8_t*>(ImmLockIMCC(ic->hCandInfo))) {
    const auto* info = reinterpret_cast<const CANDIDATEINFO*>(p);
    if (info->dwCount == 1) {
      const auto* list = reinterpret_cast<const CANDIDATELIST*>(p + info->dwOffset[0]);
      out.count = list->dwCount;
      out.selection = list->dwSelection;
      out.pageSize = list->dwPageSize;
      for (DWORD i = 0; i < list->dwCount && i < 128; ++i) {
        const char* s = reinterpret_cast<const char*>(list) + list->dwOffset[i];
        out.words.push_back(U16(Widen(std::string(s, strnlen(s, 18)), 949)));
      }
    }
    ImmUnlockIMCC(ic->hCandInfo);
  }
  ImmUnlockIMC(himc);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = std::string(sizeof(void*) == 8 ? "win64" : "win32") + " hanja";
  if (argc < 3) {
    std::printf("usage: ime_hanja_test <ZORBENV6.IME> <GmV6KS.dic>\n");
    return 2;
  }

  // The program folder: <temp>\hanjaNNN (no "\" at its end) + GeulmaruV6\SYSDIC.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string install = std::string(temp) + "hanja" + std::to_string(GetCurrentProcessId());
  const std::string sysdic = install + "\\GeulmaruV6\\SYSDIC";
  const std::string dic = sysdic + "\\GmV6KS.dic";
  imeinst::Leftovers leftovers({L"ZO"});
  CreateDirectoryA(leftovers.Folder(install).c_str(), nullptr);
  CreateDirectoryA(leftovers.Folder(install + "\\GeulmaruV6").c_str(), nullptr);
  CreateDirectoryA(leftovers.Folder(sysdic).c_str(), nullptr);
  leftovers.File(dic);
  if (!check(CopyFileA(argv[2], dic.c_str(), FALSE) != 0, "dictionary copied to %s", dic.c_str())) return wtest::finish();
  // The installed suite's value comes back at the end.
  const imeinst::InstallDirectoryOverride installDirectory(imeinst::Widen(install.c_str()));
  check(installDirectory.Set(), "Install Directory set");
  // Default settings but two unconfirmed characters, so that a two-syllable
  // word stays composing; no DicPathName.
  imeinst::ResetImeSettings(L"ZO");
  check(imeinst::SetImeValue(L"ZO", L"Modes", L"Mikaku", L"2"), "settings written");

  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ImeHanjaTest";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"ime hanja test", WS_OVERLAPPEDWINDOW, 0, 0, 320, 200, nullptr,
                              nullptr, wc.hInstance, nullptr);
  if (!check(hwnd != nullptr, "test window created")) return wtest::finish();

  imedrv::BoxWatcher boxes;
  boxes.Start();
  imedrv::Ime ime;
  std::wstring imePath = Widen(argv[1], CP_ACP);
  const bool loaded = ime.Load(imePath.c_str());
  boxes.Stop();
  if (!check(loaded, "input method loaded with its exports")) return wtest::finish();
  for (const std::u16string& t : boxes.Texts()) note("message box at load: %s", imedrv::Utf8(t).c_str());
  check(boxes.Texts().empty(), "no message box at load: the dictionary of the program folder opened");
  check(ime.unicode, "Unicode interface");

  BYTE state[256]{};
  auto type = [&](HIMC himc, const char* keys) {
    for (const char* p = keys; *p; ++p) {
      UINT vk;
      unsigned ch;
      imedrv::ScriptKey(*p, vk, ch);
      ime.ToAscii(himc, vk, ch, state);
    }
  };
  auto comp = [&](HIMC himc) {
    imedrv::CompRecord r = imedrv::Ime::ReadComp(himc);
    return r.wide(r.hdr().dwCompStrOffset, r.hdr().dwCompStrLen);
  };

  HIMC himc = ime.NewContext(hwnd);
  type(himc, "gksrnr");
  check(comp(himc) == u"\xD55C\xAD6D", "typed 한국 (got %s)", imedrv::Hex(comp(himc)).c_str());
  imedrv::KeyResult r = ime.ToAscii(himc, kVkHanja, 0, state);
  const std::u16string first = comp(himc);
  check(first.size() == 2 && first[0] >= 0x4E00, "the Hanja key converts to a hanja word (got %s)",
        imedrv::Hex(first).c_str());
  check(r.returned == 1 && r.messages[0].message == WM_IME_COMPOSITION, "one WM_IME_COMPOSITION for the conversion");

  r = ime.ToAscii(himc, kVkHanja, 0, state);
  bool opened = false;
  for (const TRANSMSG& m : r.messages) opened = opened || (m.message == WM_IME_NOTIFY && m.wParam == IMN_OPENCANDIDATE);
  check(opened, "the second Hanja key opens the candidate list");
  CandList list = ReadCandidates(himc);
  note("%lu candidates", static_cast<unsigned long>(list.count));
  if (!check(list.count >= 3 && list.words.size() == list.count, "at least three candidates")) return wtest::finish();
  check_eq(list.selection, 1, "the second candidate selected");
  check_eq(list.pageSize, list.count < 9 ? list.count : 9, "page size");
  check(list.words[0] == first, "the first candidate is the converted word");
  check(comp(himc) == list.words[1], "the composition shows the selected candidate");
  bool hasKorea = false;
  for (const auto& w : list.words) hasKorea = hasKorea || w == u"\x97D3\x570B";
  check(hasKorea, "韓國 is among the candidates");

  r = ime.ToAscii(himc, '3', '3', state);
  imedrv::CompRecord rec = imedrv::Ime::ReadComp(himc);
  const std::u16string result = rec.wide(rec.hdr().dwResultStrOffset, rec.hdr().dwResultStrLen);
  check(result == list.words[2], "digit 3 determines the third candidate: result %s, expected %s",
        imedrv::Hex(result).c_str(), imedrv::Hex(list.words[2]).c_str());
  check_eq(rec.hdr().dwCompStrLen, 0, "nothing composing afterwards");
  check(!r.messages.empty() && r.messages.back().message == WM_IME_ENDCOMPOSITION, "the composition ends");
  check(ReadCandidates(himc).count == 0, "the list is closed");

  // Learned: the picked word comes first now, and the others follow in their order.
  type(himc, "gksrnr");
  ime.ToAscii(himc, kVkHanja, 0, state);
  check(comp(himc) == list.words[2], "the learned word comes first (got %s)", imedrv::Hex(comp(himc)).c_str());
  ime.ToAscii(himc, kVkHanja, 0, state);
  CandList again = ReadCandidates(himc);
  std::vector<std::u16string> expected = list.words;
  expected.erase(expected.begin() + 2);
  expected.insert(expected.begin(), list.words[2]);
  check(again.words == expected, "the other candidates keep their order behind it");
  ime.ToAscii(himc, VK_ESCAPE, 0x1B, state);
  ime.ToAscii(himc, VK_ESCAPE, 0x1B, state);

  // The application drives the list: NI_SELECTCANDIDATESTR moves the
  // composition with the selection, so Enter commits the word shown.
  type(himc, "gksrnr");
  ime.ToAscii(himc, kVkHanja, 0, state);
  ime.ToAscii(himc, kVkHanja, 0, state);
  CandList shown = ReadCandidates(himc);
  if (check(shown.count >= 4, "list open again")) {
    check(ime.Notify(himc, NI_SELECTCANDIDATESTR, 0, 3) != FALSE, "NI_SELECTCANDIDATESTR 3 answers 1");
    check(comp(himc) == shown.words[3], "the composition shows candidate 4 (got %s)", imedrv::Hex(comp(himc)).c_str());
    ime.ToAscii(himc, VK_RETURN, 13, state);
    rec = imedrv::Ime::ReadComp(himc);
    const std::u16string picked = rec.wide(rec.hdr().dwResultStrOffset, rec.hdr().dwResultStrLen);
    check(picked == shown.words[3], "Enter commits the selected candidate (got %s)", imedrv::Hex(picked).c_str());
  }
  // NI_CLOSECANDIDATE closes the list: the next letter commits the word and
  // composes, and a second close is refused.
  type(himc, "gksrnr");
  ime.ToAscii(himc, kVkHanja, 0, state);
  ime.ToAscii(himc, kVkHanja, 0, state);
  const std::u16string showing = comp(himc);
  check(ime.Notify(himc, NI_CLOSECANDIDATE, 0, 0) != FALSE, "NI_CLOSECANDIDATE with the list open answers 1");
  check(ReadCandidates(himc).count == 0, "the list is closed in the candidate record");
  check(ime.Notify(himc, NI_CLOSECANDIDATE, 0, 0) == FALSE, "a second NI_CLOSECANDIDATE answers 0");
  type(himc, "r");
  rec = imedrv::Ime::ReadComp(himc);
  check(rec.wide(rec.hdr().dwResultStrOffset, rec.hdr().dwResultStrLen) == showing,
        "the next letter commits the word shown");
  check(comp(himc) == u"\x3131", "and composes its own jamo (got %s)", imedrv::Hex(comp(himc)).c_str());
  ime.ToAscii(himc, VK_ESCAPE, 0x1B, state);

  ime.DeleteContext(himc);
  ime.Unload();
  DestroyWindow(hwnd);
  return wtest::finish();
}
