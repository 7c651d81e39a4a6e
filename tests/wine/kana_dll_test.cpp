// Loads "Omidel.dll" by name from its folder and reads Korean text through
// its export KNChange, as the workbench and the text player call it: once to
// measure, once to write.
//
//   kana_dll_test.exe <folder that holds Omidel.dll>
#include <windows.h>

#include <string>

#include "check.h"

using wtest::check;
using wtest::check_eq;

namespace {

using KNChangeFn = int(WINAPI*)(int kanjiForm, const char** text, char* out, int inputIsKS, int keepFullWidth);

std::string ToCodePage(UINT codePage, const wchar_t* text) {
  const int n = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(codePage, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
  return out;
}

// The reading through both calls; the lengths must agree.
std::string Read(KNChangeFn change, const std::string& text, int kanjiForm, int inputIsKS, int keepFullWidth) {
  const char* p = text.c_str();
  const int n = change(kanjiForm, &p, nullptr, inputIsKS, keepFullWidth);
  std::string out(static_cast<size_t>(n > 0 ? n : 0) + 1, '\x7F');
  const int written = change(kanjiForm, &p, out.data(), inputIsKS, keepFullWidth);
  check(written == n && out[static_cast<size_t>(n)] == '\0', "measuring call %d, writing call %d, terminated", n,
        written);
  check(p == text.c_str(), "the text pointer is left alone");
  out.resize(static_cast<size_t>(n > 0 ? n : 0));
  return out;
}

void ExpectReading(KNChangeFn change, const char* what, const wchar_t* korean, const wchar_t* kana, int kanjiForm = 0,
                   int keepFullWidth = 1) {
  const std::string got = Read(change, ToCodePage(949, korean), kanjiForm, 1, keepFullWidth);
  check(got == ToCodePage(932, kana), "%s (kanji form %d, full width %d)", what, kanjiForm, keepFullWidth);
}

}  // namespace

int main(int argc, char** argv) {
  wtest::report().group = sizeof(void*) == 8 ? "kana64" : "kana32";
  if (argc != 2) {
    std::printf("usage: kana_dll_test <folder of Omidel.dll>\n");
    return 2;
  }
  SetDllDirectoryA(argv[1]);
  HMODULE dll = LoadLibraryA("Omidel.dll");
  if (!check(dll != nullptr, "Omidel.dll loads by name")) {
    wtest::note("LoadLibrary error %lu", GetLastError());
    return wtest::finish();
  }

  const auto byName = reinterpret_cast<KNChangeFn>(reinterpret_cast<void*>(GetProcAddress(dll, "KNChange")));
  const auto byOrdinal =
      reinterpret_cast<KNChangeFn>(reinterpret_cast<void*>(GetProcAddress(dll, MAKEINTRESOURCEA(1))));
  check(byName != nullptr, "KNChange is exported by name");
  check(byName == byOrdinal, "ordinal 1 is KNChange");
  if (byName == nullptr) return wtest::finish();

  const char* const tables[] = {"HAN-JP", "HAN2-JP", "KS-JIS", "GM95-V3", "GMV3-95", "FSHAN-JP", "LHAN-JP", "KNTRAN"};
  const DWORD sizes[] = {24450, 3296, 35344, 1470, 1470, 4028, 168, 174};
  for (size_t i = 0; i < 8; ++i) {
    HRSRC r = FindResourceA(dll, tables[i], "CVDATA");
    check(r != nullptr && SizeofResource(dll, r) == sizes[i], "CVDATA resource %s of %lu bytes", tables[i], sizes[i]);
  }

  ExpectReading(byName, "a sentence", L"학교에 갑니다", L"ハッキョエ カムニダ");
  ExpectReading(byName, "word starts", L"가, 아가", L"カ, アガ");
  ExpectReading(byName, "sound changes", L"신라 국물 같이", L"シルラ クンムル カチ");
  ExpectReading(byName, "modern kanji", L"國藝", L"国芸", 0);
  ExpectReading(byName, "same kanji", L"國藝", L"國藝", 1);
  ExpectReading(byName, "half width", L"학교", L"ﾊｯｷｮ", 0, 0);

  // Syllables of code page 949 beyond KS X 1001 are read by their jamo, the
  // sound rules included: 햏아 as 해아 (ㅎ before a vowel is silent), 똠이 as 또미.
  const auto ks = [](const wchar_t* w) { return ToCodePage(949, w); };
  check(Read(byName, ks(L"햏아"), 0, 1, 1) == Read(byName, ks(L"해아"), 0, 1, 1), "햏아 reads as 해아");
  check(Read(byName, ks(L"똠이"), 0, 1, 1) == Read(byName, ks(L"또미"), 0, 1, 1), "똠이 reads as 또미");
  const std::string bwaelk = Read(byName, ks(L"뷁"), 0, 1, 1);
  bool katakana = bwaelk.size() >= 4;
  for (size_t i = 0; i + 1 < bwaelk.size(); i += 2) katakana = katakana && static_cast<unsigned char>(bwaelk[i]) == 0x83;
  check(katakana && bwaelk.size() % 2 == 0, "뷁 reads as full-width katakana (%zu bytes)", bwaelk.size());

  // The same text in GM code: 가 is 88 9F, 나 is 8A 49.
  check(Read(byName, "\x88\x9F\x8A\x49", 0, 0, 1) == ToCodePage(932, L"カナ"), "GM text");
  const char* empty = "";
  char untouched[2] = {'x', 'x'};
  check_eq(static_cast<uint64_t>(byName(0, &empty, untouched, 1, 1)), 0, "an empty text gives 0");
  check(untouched[0] == 'x', "and writes nothing");

  FreeLibrary(dll);
  return wtest::finish();
}
