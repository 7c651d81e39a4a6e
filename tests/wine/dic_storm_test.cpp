// Several processes adding words to one dictionary file at the same moment,
// as applications that share the input method's dictionary do: every
// process opens the file (as the input method does when a process starts)
// and adds its words as fast as it can, all starting together. No add may be
// refused, the file must stay sound, and every word added must be found.
// Prints the adds per second of all processes together.
//
//   dic_storm_test.exe <processes> <adds per process>      parent
//   dic_storm_test.exe child <file> <tag> <index> <adds>   one of the others
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "check.h"
#include "wait.h"
#include "dic_check.h"
#include "dic_engine.h"

using wtest::check;
using wtest::note;

namespace {

// Up to eight processes of this kind start and work side by side.
const DWORD kWait = 8 * wtest::Allowance();
constexpr int kReadings = 10;

struct CountingFeedback final : ime::UserFeedback {
  int boxes = 0;
  std::string first;
  void Beep(unsigned) override {}
  int ShowMessage(const std::string& text, unsigned) override {
    if (boxes++ == 0) first = text;
    return 1;
  }
};

// GM95 readings shared by all processes (so that their adds meet in the
// same leaves) and words of their own.
std::string Reading(int i) {
  const int r = i % kReadings;
  return std::string{'\x88', static_cast<char>(0x9F + r)};
}

std::string Word(int process, int i) {
  return std::string{'\xE0', static_cast<char>(0x9F + process), static_cast<char>(0xE1 + i / 94),
                     static_cast<char>(0x9F + i % 94)};
}

std::string ResultFile(const std::string& dic, int index) { return dic + "." + std::to_string(index) + ".txt"; }

// One process's share: open, then add as fast as possible. Writes one line
// of results: the open result, the refused adds, the boxes, the time in ms
// and a 1/0 per add.
void Storm(const std::string& path, const std::string& tag, int index, int adds) {
  HANDLE start = OpenEventA(SYNCHRONIZE, FALSE, ("DicStorm" + tag).c_str());
  HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, ("DicStormReady" + tag).c_str());
  if (ready) {
    ReleaseSemaphore(ready, 1, nullptr);
    CloseHandle(ready);
  }
  if (start) {
    WaitForSingleObject(start, kWait);
    CloseHandle(start);
  }
  CountingFeedback feedback;
  ime::dic::DicEngine engine(ime::PlatformBlockFiles(), feedback, 0);
  const DWORD began = GetTickCount();
  const int open = engine.DicOpen(path);
  int refused = 0;
  std::string done;
  for (int i = 0; i < adds; ++i) {
    ime::dic::DicRequest r;
    r.reading = Reading(i);
    r.word = Word(index, i);
    const int rc = engine.DicAddWord(r);
    engine.DicEndAccess();
    if (rc != 0) ++refused;
    done.push_back(rc == 0 ? '1' : '0');
  }
  const DWORD ms = GetTickCount() - began;
  if (FILE* f = std::fopen(ResultFile(path, index).c_str(), "w")) {
    std::fprintf(f, "%d %d %d %lu %s\n", open, refused, feedback.boxes, static_cast<unsigned long>(ms), done.c_str());
    std::fclose(f);
  }
}

struct Result {
  int open = -2, refused = 0, boxes = 0;
  unsigned long ms = 0;
  std::string done;
};

bool ReadResult(const std::string& file, Result* r) {
  FILE* f = std::fopen(file.c_str(), "r");
  if (!f) return false;
  char done[4096] = {};
  const int n = std::fscanf(f, "%d %d %d %lu %4095s", &r->open, &r->refused, &r->boxes, &r->ms, done);
  std::fclose(f);
  r->done = done;
  return n == 5;
}

int Parent(int processes, int adds) {
  wtest::report().group = std::string(sizeof(void*) == 8 ? "win64" : "win32") + " dic storm " +
                          std::to_string(processes);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string tag = std::to_string(GetCurrentProcessId());
  const std::string path = std::string(temp) + "dicstorm" + tag + ".dic";
  if (!check(ime::WriteWholeFile(path, ime::dic::NewDictionaryImage()), "new dictionary %s", path.c_str())) {
    return wtest::finish();
  }
  HANDLE start = CreateEventA(nullptr, TRUE, FALSE, ("DicStorm" + tag).c_str());
  HANDLE ready = CreateSemaphoreA(nullptr, 0, processes, ("DicStormReady" + tag).c_str());
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::vector<PROCESS_INFORMATION> children;
  for (int p = 1; p < processes; ++p) {
    std::string command = "\"" + std::string(self) + "\" child \"" + path + "\" " + tag + " " + std::to_string(p) +
                          " " + std::to_string(adds);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!check(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0,
               "process %d started", p)) {
      return wtest::finish();
    }
    children.push_back(pi);
  }
  // All start together once every other process waits at the start.
  for (size_t p = 0; p < children.size(); ++p) {
    if (!check(WaitForSingleObject(ready, kWait) == WAIT_OBJECT_0, "process %zu ready", p + 1)) return wtest::finish();
  }
  SetEvent(start);
  Storm(path, tag, 0, adds);
  for (const PROCESS_INFORMATION& pi : children) {
    check(WaitForSingleObject(pi.hProcess, kWait) == WAIT_OBJECT_0, "process ended");
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  CloseHandle(start);
  CloseHandle(ready);

  int refused = 0, boxes = 0, openFailures = 0, succeeded = 0;
  unsigned long slowest = 0;
  std::vector<Result> results(static_cast<size_t>(processes));
  for (int p = 0; p < processes; ++p) {
    Result& r = results[static_cast<size_t>(p)];
    if (!check(ReadResult(ResultFile(path, p), &r), "results of process %d", p)) return wtest::finish();
    DeleteFileA(ResultFile(path, p).c_str());
    note("process %d: open %d, %d of %d adds refused, %d boxes, %lu ms", p, r.open, r.refused, adds, r.boxes, r.ms);
    refused += r.refused;
    boxes += r.boxes;
    openFailures += r.open != 0;
    succeeded += adds - r.refused;
    if (r.ms > slowest) slowest = r.ms;
  }
  note("%d processes: %d of %d adds refused (%.0f %%), %.1f adds per second together", processes, refused,
       processes * adds, 100.0 * refused / (processes * adds), slowest ? 1000.0 * succeeded / slowest : 0.0);
  check(openFailures == 0, "every process opened the dictionary (%d did not)", openFailures);
  check(refused == 0, "no add was refused (%d were)", refused);
  check(boxes == 0, "no message box (%d)", boxes);

  std::vector<uint8_t> bytes;
  check(ime::ReadWholeFile(path, &bytes), "file read back");
  const std::string fault = ime::dic::DicCheckImage(bytes);
  check(fault.empty(), "the file's trees are sound%s%s", fault.empty() ? "" : ": ", fault.c_str());
  std::vector<ime::dic::DicEntry> entries;
  ime::dic::DicCheckImage(bytes, &entries);
  int missing = 0;
  for (int p = 0; p < processes; ++p) {
    const Result& r = results[static_cast<size_t>(p)];
    for (int i = 0; i < adds && i < static_cast<int>(r.done.size()); ++i) {
      if (r.done[static_cast<size_t>(i)] != '1') continue;
      bool found = false;
      for (const ime::dic::DicEntry& e : entries) found = found || (e.reading == Reading(i) && e.word == Word(p, i));
      missing += !found;
    }
  }
  check(missing == 0, "every word added is in the file (%d missing)", missing);
  check(entries.size() == static_cast<size_t>(succeeded), "the file holds %zu entries for %d adds", entries.size(),
        succeeded);
  DeleteFileA(path.c_str());
  return wtest::finish();
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc >= 6 && std::string(argv[1]) == "child") {
    Storm(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]));
    return 0;
  }
  const int processes = argc >= 2 ? std::atoi(argv[1]) : 3;
  const int adds = argc >= 3 ? std::atoi(argv[2]) : 100;
  return Parent(processes < 1 ? 1 : processes > 8 ? 8 : processes, adds < 1 ? 1 : adds > 1000 ? 1000 : adds);
}
