// The editor's document on the real system (32-bit): CHARVANE.dll, imported
// by name through the document shell, detects a KS, a GM, a UTF-8 and two
// UTF-16 files that the test writes; CBriselDoc opens each with automatic
// detection and writes the text in each of the five output codes
// byte-exact, through a new file that replaces the old one. A read-only
// file is not replaced (and a plain save asks for a name instead), nothing
// is left beside the files, a file in the wrong code fails the open, and a
// notice shows its text in a message box.
//
// The table of tricky files (the same rows as the native tests): the lines
// read, the load marked lossy, the bytes of a plain save (or the save dialog
// instead), the one message; and saves into codes that lack characters of
// the text: the question, nothing written, or the text whole in another
// code. Windows' own conversion (no best fit) is what finds them here.
//
//   editor_doc_test.exe
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "brisel_doc.h"
#include "charvane_detector.h"
#include "check.h"
#include "wait.h"
#include "doc_notices.h"
#include "gm_converter.h"
#include "sdi.h"
#include "test_files.h"
#include "tricky_files.h"
#include "win_file_store.h"

using wtest::check;
using wtest::check_eq;
using wtest::note;

namespace {

// "한글 ok" and "abc" with their line ends in each code (U+D55C U+AE00).
const std::string kUtf8 = "\xED\x95\x9C\xEA\xB8\x80 ok\r\nabc\r\n";
const std::string kUtf16Le = std::string("\xFF\xFE\x5C\xD5\x00\xAE \0o\0k\0\r\0\n\0a\0b\0c\0\r\0\n\0", 26);
const std::string kUtf16Be = std::string("\xFE\xFF\xD5\x5C\xAE\x00\0 \0o\0k\0\r\0\n\0a\0b\0c\0\r\0\n", 26);
const std::string kKs = "\xC7\xD1\xB1\xDB ok\r\nabc\r\n";  // code page 949
const std::string kGm = "\x94\x70\x89\x7A ok\r\nabc\r\n";  // rows 39 and 17 in the Shift-JIS shape
const std::string kLine0 = "\xED\x95\x9C\xEA\xB8\x80 ok";

std::wstring Folder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"brisel_doc_test";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder + L"\\";
}

std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

// A fixture written over a file the test may have made read-only.
bool WriteRaw(const std::wstring& path, const std::string& bytes) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return wtest::WriteFileBytes(path, bytes);
}

int CountTemporaries(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder + L"brs*.tmp").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do ++n;
  while (FindNextFileW(h, &found));
  FindClose(h);
  return n;
}

std::string Hex(const std::string& bytes) {
  std::string out;
  char b[4];
  for (unsigned char c : bytes) {
    std::snprintf(b, sizeof b, "%02X ", c);
    out += b;
  }
  return out;
}

bool CheckBytes(const std::string& actual, const std::string& expected, const char* what) {
  if (actual == expected) return check(true, "%s: %u bytes as expected", what, static_cast<unsigned>(expected.size()));
  return check(false, "%s: got %s, expected %s", what, Hex(actual).c_str(), Hex(expected).c_str());
}

class RecordingHost final : public brisel::DocumentHost {
 public:
  int FontCode() const override { return fontCode; }  // a KS font unless told
  void Notify(brisel::DocNotice notice) override { notices.push_back(notice); }
  void NotifyReadChanged(const brisel::ReadOutcome& read) override { changedReads.push_back(read); }
  brisel::MissingAnswer AskAboutMissing(const brisel::MissingCharacters& missing, int outFileType) override {
    asked.push_back({missing, outFileType});
    return answer;
  }
  brisel::MissingAnswer answer = brisel::MissingAnswer::kCancel;
  int fontCode = 0;
  std::vector<brisel::DocNotice> notices;
  std::vector<brisel::ReadOutcome> changedReads;
  std::vector<std::pair<brisel::MissingCharacters, int>> asked;
};

// The framework's save questions, with a save dialog that is cancelled.
class CancellingUi final : public fw::Win32DocumentUi {
 public:
  CancellingUi() : fw::Win32DocumentUi(fw::Module(GetModuleHandleW(nullptr))) {}
  std::optional<std::u16string> PromptSaveName(std::u16string_view, unsigned) override {
    ++prompted;
    if (onPrompt) onPrompt();
    if (!chosen.empty()) return chosen;
    return std::nullopt;
  }
  std::function<void()> onPrompt;  // the code chosen in the dialog
  int prompted = 0;
  std::u16string chosen;  // a name "chosen" in the dialog; empty: cancelled
};

// The text of the message box with the caption, read and closed from
// another thread while ShowDocNotice waits in it.
std::wstring BoxTextOf(brisel::DocNotice notice) {
  static constexpr wchar_t kCaption[] = L"EditorDocTest";
  std::wstring text;
  std::thread watcher([&] {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < wtest::Allowance()) {
      HWND box = FindWindowW(L"#32770", kCaption);
      if (box) {
        wchar_t buffer[256] = {};
        GetDlgItemTextW(box, 0xFFFF, buffer, 256);
        text = buffer;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(50);
    }
  });
  brisel::ShowDocNotice(nullptr, kCaption, notice);
  watcher.join();
  return text;
}

}  // namespace

int main() {
  wtest::report().group = "editor-doc";
  codeconv::GmCodeConverter gm;
  gm.LoadTables(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr)), codeconv::ModuleResourceFinder("CVDATA"));
  if (!check(gm.Tables().toV3.Present() && gm.Tables().fromV3.Present(), "GM tables loaded")) return wtest::finish();

  const std::wstring folder = Folder();
  brisel::Win32FileStore files;
  brisel::CharvaneDetector detector;
  RecordingHost host;
  CancellingUi ui;
  brisel::FileCodeSettings settings;

  // The detector itself, through the import.
  struct Sample {
    const char* name;
    std::string bytes;
    unsigned anyOf;
    unsigned noneOf;
    int loaded;
  };
  const std::vector<Sample> samples = {
      {"ks", kKs, 0x20, 0x1B0318 | 0x48084 | 0x40, 4},
      {"gm", kGm, 0x40, 0x1B0318 | 0x48084, 5},
      {"utf8", kUtf8, 0x48084, 0x1B0318, 1},
      {"utf16le", kUtf16Le, 0x1B0318, 0, 2},
      {"utf16be", kUtf16Be, 0x1B0318, 0, 2},
  };
  for (const Sample& s : samples) {
    const unsigned flags = detector.Detect(s.bytes, 992);
    check((flags & s.anyOf) != 0 && (flags & s.noneOf) == 0, "Charvane(%s, 992) = 0x%x", s.name, flags);
  }
  check((detector.Detect(kGm, 96) & 0x40) != 0, "Charvane(gm, 96) has 0x40");
  check((detector.Detect(kKs, 96) & 0x40) == 0, "Charvane(ks, 96) has no 0x40");

  // Each file opened with automatic detection, then written in every code.
  const std::string outputs[5] = {kUtf8, kUtf16Le, kKs, kKs, kGm};
  for (const Sample& s : samples) {
    wtest::report().group = std::string("editor-doc ") + s.name;
    const std::wstring path = folder + std::wstring(s.name, s.name + std::strlen(s.name)) + L".txt";
    check(WriteRaw(path, s.bytes), "fixture written");
    brisel::CBriselDoc doc({ui, files, host, settings, gm, codeconv::PlatformCodePages(), &detector});
    settings.inFileType = brisel::kInAutomatic;
    if (!check(doc.OnOpenDocument(U16(path)), "opened")) continue;
    doc.SetPathName(U16(path));
    check_eq(doc.LoadedFileType(), s.loaded, "LoadedFileType");
    check_eq(doc.LineCount(), 2, "lines");
    check(doc.GetLine(0) == kLine0 && doc.GetLine(1) == "abc", "the lines' text");
    for (int out = 0; out <= 4; ++out) {
      settings.outFileType = out;
      doc.SetModifiedFlag();
      char what[64];
      std::snprintf(what, sizeof what, "saved as the file in OutFileType %d", out);
      // Another code is chosen in "save as" (a plain save keeps the code read).
      ui.chosen = U16(path);
      check(doc.DoSave(nullptr), "%s", what);
      ui.chosen.clear();
      CheckBytes(wtest::ReadFileBytes(path), outputs[out], what);
      check_eq(doc.LoadedFileType(), out + 1, "LoadedFileType after the save");
    }
    check_eq(CountTemporaries(folder), 0, "nothing left beside the files");
  }
  wtest::report().group = "editor-doc";

  // A read-only file is neither replaced by a direct save nor by a plain one.
  {
    const std::wstring path = folder + L"readonly.txt";
    WriteRaw(path, kKs);
    brisel::CBriselDoc doc({ui, files, host, settings, gm, codeconv::PlatformCodePages(), &detector});
    settings.inFileType = brisel::kInAutomatic;
    check(doc.OnOpenDocument(U16(path)), "read-only file opened");
    doc.SetPathName(U16(path));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    settings.outFileType = brisel::kOutUtf8;
    host.notices.clear();
    const std::u16string target = U16(path);
    check(!doc.DoSave(&target), "a save onto the read-only file fails");
    check(host.notices.size() == 1 && host.notices[0] == brisel::DocNotice::kSaveFailed, "and says so");
    CheckBytes(wtest::ReadFileBytes(path), kKs, "the read-only file as it was");
    check_eq(CountTemporaries(folder), 0, "no file left beside it");
    const int prompted = ui.prompted;
    doc.SetModifiedFlag();
    check(!doc.DoFileSave() && ui.prompted == prompted + 1, "a plain save asks for a name instead");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }

  // A new file through the same road, in a folder of its own.
  {
    const std::wstring path = folder + L"new.txt";
    DeleteFileW(path.c_str());
    brisel::CBriselDoc doc({ui, files, host, settings, gm, codeconv::PlatformCodePages(), &detector});
    doc.OnNewDocument();
    doc.SetLine(0, kLine0);
    settings.outFileType = brisel::kOutGm;
    const std::u16string target = U16(path);
    check(doc.DoSave(&target), "a new file saved");
    CheckBytes(wtest::ReadFileBytes(path), "\x94\x70\x89\x7A ok\r\n", "the new GM file");
  }

  // A KS file read as UTF-8 fails the open with the message.
  {
    const std::wstring path = folder + L"wrongcode.txt";
    WriteRaw(path, "\xB0\xA1\xB0\xA1\r\n");  // two KS syllables: continuation bytes where UTF-8 leads
    brisel::CBriselDoc doc({ui, files, host, settings, gm, codeconv::PlatformCodePages(), &detector});
    settings.inFileType = brisel::kInUtf8;
    host.notices.clear();
    check(!doc.OnOpenDocument(U16(path)), "a KS file read as UTF-8 does not open");
    check(host.notices.size() == 1 && host.notices[0] == brisel::DocNotice::kBadFormat, "with the message");
    check_eq(doc.LoadedFileType(), static_cast<uint64_t>(-1), "LoadedFileType -1");
  }

  // ---- the tricky files, through the real files and the detector DLL ----
  for (const brisel::tricky::FileRow& r : brisel::tricky::FileRows()) {
    wtest::report().group = std::string("editor-doc tricky ") + r.name;
    const std::wstring path = folder + L"tricky.txt";
    check(WriteRaw(path, r.file), "fixture written");
    brisel::CBriselDoc doc({ui, files, host, settings, gm, codeconv::PlatformCodePages(), &detector});
    settings.inFileType = r.in;
    settings.outFileType = brisel::kOutGm;  // a plain save must not take the setting
    host.notices.clear();
    host.changedReads.clear();
    if (!check(doc.OnOpenDocument(U16(path)), "opened")) continue;
    doc.SetPathName(U16(path));
    check_eq(static_cast<uint64_t>(doc.LineCount()), static_cast<uint64_t>(r.lines), "lines read");
    check(doc.IncompleteLoad() == r.lossy, "the load is %s", r.lossy ? "lossy" : "faithful");
    check(host.notices.empty(), "no other notice (%u)", static_cast<unsigned>(host.notices.size()));
    brisel::tricky::Told told;
    if (host.changedReads.size() == 1) told = brisel::tricky::TellingOf(host.changedReads[0]);
    check(host.changedReads.size() <= 1 && told == r.told,
          "told once: changed lines %u, controls %u, lone CRs %u, splits %u", static_cast<unsigned>(told.undecodable),
          static_cast<unsigned>(told.dropped), static_cast<unsigned>(told.loneCrs), static_cast<unsigned>(told.split));
    const int prompted = ui.prompted;
    doc.SetModifiedFlag();
    const bool saved = doc.DoFileSave();
    if (r.plainSave) {
      check(saved && ui.prompted == prompted, "a plain save writes over the file");
      CheckBytes(wtest::ReadFileBytes(path), *r.plainSave, "the plain save");
    } else {
      check(!saved && ui.prompted == prompted + 1, "a plain save asks for a name (cancelled here)");
      CheckBytes(wtest::ReadFileBytes(path), r.file, "the file as it was");
    }
  }

  // ---- saves into codes that lack characters of the text ----
  for (const brisel::tricky::SaveRow& r : brisel::tricky::SaveRows()) {
    for (const bool otherCode : {false, true}) {
      wtest::report().group = std::string("editor-doc lacking ") + r.name + (otherCode ? ", another code" : ", cancelled");
      const std::wstring path = folder + L"lacking.txt";
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
      RecordingHost lacking;
      lacking.fontCode = r.fontCode;
      lacking.answer = otherCode ? brisel::MissingAnswer::kOtherCode : brisel::MissingAnswer::kCancel;
      brisel::CBriselDoc doc({ui, files, lacking, settings, gm, codeconv::PlatformCodePages(), &detector});
      doc.OnNewDocument();
      doc.SetLine(0, r.line0);
      if (!r.line1.empty() && doc.InsertLine(1)) doc.SetLine(1, r.line1);
      doc.SetModifiedFlag();
      settings.outFileType = r.out;
      ui.chosen = U16(path);
      ui.onPrompt = [&] {
        if (!lacking.asked.empty()) settings.outFileType = brisel::kOutUtf8;
      };
      const bool saved = doc.DoFileSave();
      ui.chosen.clear();
      ui.onPrompt = nullptr;
      if (!check(lacking.asked.size() == 1, "asked once before writing (%u)", static_cast<unsigned>(lacking.asked.size()))) {
        continue;
      }
      const brisel::MissingCharacters& m = lacking.asked[0].first;
      check(m.count == r.count && m.first == r.first && m.firstLine == r.firstLine,
            "%u characters lacking, the first U+%04X in line %d (got %u, U+%04X, %d)", static_cast<unsigned>(r.count),
            static_cast<unsigned>(r.first), r.firstLine, static_cast<unsigned>(m.count), static_cast<unsigned>(m.first),
            m.firstLine);
      if (otherCode) {
        check(saved, "saved in another code");
        CheckBytes(wtest::ReadFileBytes(path), brisel::tricky::Utf8FileOf(r), "the text whole in UTF-8");
      } else {
        check(!saved && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES, "cancelled: nothing written");
      }
    }
  }
  // No best fit in Windows' conversion: "é" and "¥" are not written as "e" and "￥".
  CheckBytes(codeconv::PlatformCodePages().FromUtf16(949, u"é¥"), "??", "code page 949 of U+00E9 U+00A5");
  check_eq(CountTemporaries(folder), 0, "nothing left beside the files");
  wtest::report().group = "editor-doc";

  // The notice as the user sees it.
  const std::wstring shown = BoxTextOf(brisel::DocNotice::kBadFormat);
  check(shown == L"データの形式が正しくありません。", "the box says the file's data is malformed (%u characters)",
        static_cast<unsigned>(shown.size()));
  return wtest::finish();
}
