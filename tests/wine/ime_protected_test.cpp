// The input method in a process that runs in the browser's protected mode
// (the stand-in "ieframe.dll" beside this program says so): it opens its
// dictionary read-only, so that conversion works while another reader holds
// the file and nothing is ever written, learning is off, and word
// registration is refused, by the entry points silently and by the dialog
// with its message.
//
//   protected/ime_protected_test.exe <ZORBENV6.IME> <GmV6KS.dic>
#include "block_file.h"
#include "check.h"
#include "ime_driver.h"

#include <cstdio>
#include <string>
#include <vector>

using wtest::check;
using wtest::note;

namespace {

constexpr UINT kVkHanja = 0x19;

using PImeRegisterWord = BOOL(WINAPI*)(const void*, DWORD, const void*);
using PImeConfigure = BOOL(WINAPI*)(HKL, HWND, DWORD, void*);

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd, msg, wp, lp); }

// The whole file, read as another process would.
std::vector<uint8_t> FileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  ime::ReadWholeFile(path, &bytes);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = std::string(sizeof(void*) == 8 ? "win64" : "win32") + " protected mode";
  if (argc < 3) {
    std::printf("usage: ime_protected_test <ZORBENV6.IME> <GmV6KS.dic>\n");
    return 2;
  }
  // The probe the input method makes, made here first.
  HMODULE probe = LoadLibraryA("ieframe.dll");
  using Probe = HRESULT(WINAPI*)(BOOL*);
  auto isProtected = probe ? reinterpret_cast<Probe>(reinterpret_cast<void*>(GetProcAddress(probe, "IEIsProtectedModeProcess")))
                           : nullptr;
  BOOL on = FALSE;
  if (!check(isProtected && SUCCEEDED(isProtected(&on)) && on, "the stand-in reports protected mode")) {
    return wtest::finish();
  }

  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string dic = std::string(temp) + "protected" + std::to_string(GetCurrentProcessId()) + ".dic";
  imeinst::Leftovers leftovers({L"ZO"});
  leftovers.File(dic);
  if (!check(CopyFileA(argv[2], dic.c_str(), FALSE) != 0, "dictionary copied to %s", dic.c_str())) return wtest::finish();
  SetFileAttributesA(dic.c_str(), FILE_ATTRIBUTE_NORMAL);
  imeinst::ResetImeSettings(L"ZO");
  check(imedrv::SetDictionaryPath(L"ZO", dic.c_str()), "dictionary path written (learning on by default)");
  const std::vector<uint8_t> original = FileBytes(dic);

  // Another reader holds the file all along: only a read-only open shares it.
  HANDLE reader = CreateFileA(dic.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  check(reader != INVALID_HANDLE_VALUE, "another reader holds the file");

  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ImeProtectedTest";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"ime protected test", WS_OVERLAPPEDWINDOW, 0, 0, 320, 200, nullptr,
                              nullptr, wc.hInstance, nullptr);
  imedrv::BoxWatcher boxes;
  boxes.Start();
  imedrv::Ime ime;
  const std::wstring imePath = imedrv::WidenArg(argv[1]);
  if (!check(ime.Load(imePath.c_str()) && ime.unicode, "input method loaded")) return wtest::finish();

  BYTE state[256]{};
  HIMC himc = ime.NewContext(hwnd);
  auto comp = [&] {
    imedrv::CompRecord r = imedrv::Ime::ReadComp(himc);
    return r.wide(r.hdr().dwCompStrOffset, r.hdr().dwCompStrLen);
  };
  auto type = [&](const char* keys) {
    for (const char* k = keys; *k; ++k) {
      UINT vk;
      unsigned ch;
      imedrv::ScriptKey(*k, vk, ch);
      ime.ToAscii(himc, vk, ch, state);
    }
  };
  type("rk");
  ime.ToAscii(himc, kVkHanja, 0, state);
  const std::u16string first = comp();
  const bool hanja = first.size() == 1 && ((first[0] >= 0x4E00 && first[0] <= 0x9FFF) || (first[0] >= 0xF900 && first[0] <= 0xFAFF));
  check(hanja, "가 converts to a hanja beside the other reader (got %s)", imedrv::Hex(first).c_str());
  // The third candidate determined with the list open is not learned.
  ime.ToAscii(himc, kVkHanja, 0, state);
  ime.ToAscii(himc, '3', '3', state);
  imedrv::CompRecord rec = imedrv::Ime::ReadComp(himc);
  const std::u16string third = rec.wide(rec.hdr().dwResultStrOffset, rec.hdr().dwResultStrLen);
  check(third.size() == 1 && third != first, "the third candidate is determined (%s)", imedrv::Hex(third).c_str());
  type("rk");
  ime.ToAscii(himc, kVkHanja, 0, state);
  check(comp() == first, "learning is off: 가 still converts to %s first (got %s)", imedrv::Hex(first).c_str(),
        imedrv::Hex(comp()).c_str());
  ime.ToAscii(himc, VK_ESCAPE, 0x1B, state);
  ime.ToAscii(himc, VK_ESCAPE, 0x1B, state);

  auto reg = reinterpret_cast<PImeRegisterWord>(reinterpret_cast<void*>(GetProcAddress(ime.module, "ImeRegisterWord")));
  auto unreg =
      reinterpret_cast<PImeRegisterWord>(reinterpret_cast<void*>(GetProcAddress(ime.module, "ImeUnregisterWord")));
  auto configure = reinterpret_cast<PImeConfigure>(reinterpret_cast<void*>(GetProcAddress(ime.module, "ImeConfigure")));
  check(reg && !reg(L"\xAC00", IME_REGWORD_STYLE_USER_FIRST, L"\x97D3"), "ImeRegisterWord is refused");
  check(unreg && !unreg(L"\xAC00", IME_REGWORD_STYLE_USER_FIRST, std::u16string(1, first[0]).c_str()),
        "ImeUnregisterWord is refused");
  imedrv::Pump(300);
  check(boxes.Texts().empty(), "without a message box");
  REGISTERWORDW rw{const_cast<wchar_t*>(L"\xAC00"), const_cast<wchar_t*>(L"\x97D3")};
  check(configure && !configure(nullptr, hwnd, IME_CONFIG_REGISTERWORD, &rw),
        "ImeConfigure does not open the register-word dialog");
  imedrv::Pump(300);
  boxes.Stop();
  const std::vector<std::u16string> texts = boxes.Texts();
  for (const std::u16string& t : texts) note("message box: %s", imedrv::Utf8(t).c_str());
  check(texts.size() == 1 && texts[0] == u"保護モードではユーザー辞書は利用できません",
        "it says 保護モードではユーザー辞書は利用できません");
  ime.DeleteContext(himc);
  ime.Unload();
  CloseHandle(reader);
  check(FileBytes(dic) == original, "the file is byte for byte as it was");
  DestroyWindow(hwnd);
  return wtest::finish();
}
