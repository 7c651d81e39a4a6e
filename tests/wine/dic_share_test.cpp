// Two processes on one dictionary file, through the Win32 block files of the
// input method: they take turns adding and learning words, each checking that
// it sees what the other wrote; then one holds the file open while the other
// finds it locked (readers share it with readers only).
//
//   dic_share_test.exe                      parent: makes the file, starts the child
//   dic_share_test.exe child <file> <tag>   the second process
#include <windows.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "check.h"
#include "wait.h"
#include "dic_check.h"
#include "dic_engine.h"

using wtest::check;

namespace {

constexpr int kSteps = 300;
// The other process of this kind: its start, or one of its turns.
const DWORD kWait = 2 * wtest::Allowance();

struct CountingFeedback final : ime::UserFeedback {
  std::vector<std::string> boxes;
  void Beep(unsigned) override {}
  int ShowMessage(const std::string& text, unsigned) override {
    boxes.push_back(text);
    return 1;
  }
};

struct User {
  CountingFeedback feedback;
  ime::dic::DicEngine engine;
  explicit User(int slot = 0) : engine(ime::PlatformBlockFiles(), feedback, slot) {}
  std::vector<std::string> Words(const std::string& reading) {
    std::vector<std::string> out;
    std::string w;
    for (int rc = engine.DicLookup(reading, &w, 0); rc == 0 && out.size() < 10000;
         rc = engine.DicLookupNext(reading, &w)) {
      out.push_back(w);
    }
    engine.DicEndAccess();
    return out;
  }
};

using Model = std::map<std::string, std::vector<std::string>>;

class Turns {
 public:
  Turns(const std::string& tag, bool parent) : parent_(parent) {
    a_ = CreateEventA(nullptr, FALSE, FALSE, ("DicShareA" + tag).c_str());
    b_ = CreateEventA(nullptr, FALSE, FALSE, ("DicShareB" + tag).c_str());
  }
  ~Turns() {
    CloseHandle(a_);
    CloseHandle(b_);
  }
  Turns(const Turns&) = delete;
  Turns& operator=(const Turns&) = delete;
  void Start() { SetEvent(a_); }
  bool Mine() { return WaitForSingleObject(parent_ ? a_ : b_, kWait) == WAIT_OBJECT_0; }
  void Give() { SetEvent(parent_ ? b_ : a_); }

 private:
  bool parent_;
  HANDLE a_, b_;
};

// The shared sequence of steps: both processes draw the same numbers, the
// even steps are the parent's, the odd ones the child's.
bool RunSteps(const std::string& path, Turns& turns, bool parent, Model& model) {
  // Both open the new file before either changes it: each must read the
  // header again for every operation rather than trust its first copy.
  User me;
  if (!check(turns.Mine(), "turn to open")) return false;
  const bool opened = me.engine.DicOpen(path) == 0;
  turns.Give();
  if (!check(opened, "dictionary opened")) return false;
  std::mt19937 rng(11);
  std::string previous;  // reading of the other process's last step
  for (int step = 0; step < kSteps; ++step) {
    const bool mine = (step % 2 == 0) == parent;
    const unsigned draw = rng();
    const unsigned pick = rng();
    std::string reading, word;
    bool learn = draw % 5 == 4 && !model.empty();
    if (learn) {
      auto it = std::next(model.begin(), static_cast<long>(pick % model.size()));
      reading = it->first;
      word = it->second.back();
    } else {
      // IND8 and IND32 readings: wide and narrow nodes, many splits.
      reading.assign(draw % 2 ? 25 : 1, 'k');
      reading.push_back(static_cast<char>('a' + pick % 7));
      word = "w" + std::to_string(step);
    }
    if (mine) {
      if (!turns.Mine()) {
        check(false, "step %d: my turn came", step);
        return false;
      }
      if (!previous.empty() && me.Words(previous) != model[previous]) {
        check(false, "step %d: the other process's last change is seen", step);
        turns.Give();
        return false;
      }
      int rc;
      if (learn) {
        rc = me.engine.DicLearnWord(reading, word);
      } else {
        ime::dic::DicRequest r;
        r.reading = reading;
        r.word = word;
        rc = me.engine.DicAddWord(r);
      }
      me.engine.DicEndAccess();
      if (rc != 0) {
        check(false, "step %d: %s gives %d", step, learn ? "learn" : "add", rc);
        turns.Give();
        return false;
      }
    }
    auto& list = model[reading];
    if (learn) list.pop_back();
    list.insert(list.begin(), word);
    if (mine) {
      const bool same = me.Words(reading) == list;
      turns.Give();
      if (!same) {
        check(false, "step %d: the words of the reading after the change", step);
        return false;
      }
    } else {
      previous = reading;
    }
  }
  check(true, "%d steps, each seeing the other process's last change", kSteps);
  check(me.feedback.boxes.empty(), "no message boxes during the steps");
  return true;
}

// While one process holds the file, the other cannot open it; readers share.
void Exclusion(const std::string& path, Turns& turns, bool parent) {
  User writer, reader(1);
  if (!check(turns.Mine(), "exclusion: turn to open")) return;
  check(writer.engine.DicOpen(path) == 0 && reader.engine.DicOpen(path) == 0, "opened for writing and for reading");
  turns.Give();
  std::string w;
  if (parent) {
    if (!check(turns.Mine(), "exclusion: turn")) return;
    check(writer.engine.DicLookup("ka", &w, 0) == 0, "lookup leaves the file open for reading and writing");
    turns.Give();
    if (!check(turns.Mine(), "exclusion: turn back")) return;
    writer.engine.DicEndAccess();
    check(reader.engine.DicLookup("ka", &w, 0) == 0, "a reader holds the file");
    turns.Give();
    if (!check(turns.Mine(), "exclusion: turn back again")) return;
    reader.engine.DicEndAccess();
    turns.Give();
  } else {
    if (!check(turns.Mine(), "exclusion: turn")) return;
    check(writer.engine.DicBeginAccess() == -1, "a writer cannot open the file another writer holds");
    check(writer.feedback.boxes.size() == 1, "with one message box (error 2)");
    check(reader.engine.DicBeginAccess() == -1, "nor can a reader");
    turns.Give();
    if (!check(turns.Mine(), "exclusion: reader turn")) return;
    check(reader.engine.DicLookup("ka", &w, 0) == 0, "a second reader shares the file with the first");
    reader.engine.DicEndAccess();
    check(writer.engine.DicBeginAccess() == -1, "a writer cannot open the file a reader holds");
    turns.Give();
    if (!check(turns.Mine(), "exclusion: last turn")) return;
    check(writer.engine.DicBeginAccess() == 0, "once the file is free the writer opens it");
    writer.engine.DicEndAccess();
  }
}

int Child(const std::string& path, const std::string& tag) {
  wtest::report().group = "dic share child";
  Turns turns(tag, false);
  Model model;
  if (RunSteps(path, turns, false, model)) Exclusion(path, turns, false);
  return wtest::finish();
}

int Parent() {
  wtest::report().group = std::string(sizeof(void*) == 8 ? "win64" : "win32") + " dic share";
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string tag = std::to_string(GetCurrentProcessId());
  const std::string path = std::string(temp) + "dicshare" + tag + ".dic";
  if (!check(ime::WriteWholeFile(path, ime::dic::NewDictionaryImage()), "new dictionary %s", path.c_str())) {
    return wtest::finish();
  }
  Turns turns(tag, true);
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = "\"" + std::string(self) + "\" child \"" + path + "\" " + tag;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi{};
  if (!check(CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi) != 0,
             "second process started")) {
    return wtest::finish();
  }
  turns.Start();
  Model model;
  if (RunSteps(path, turns, true, model)) Exclusion(path, turns, true);
  DWORD code = 1;
  check(WaitForSingleObject(pi.hProcess, kWait) == WAIT_OBJECT_0, "second process ended");
  GetExitCodeProcess(pi.hProcess, &code);
  check(code == 0, "second process passed its checks (exit code %lu)", code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);

  std::vector<uint8_t> bytes;
  check(ime::ReadWholeFile(path, &bytes), "file read back");
  const std::string fault = ime::dic::DicCheckImage(bytes);
  check(fault.empty(), "the file's trees are sound%s%s", fault.empty() ? "" : ": ", fault.c_str());
  User last;
  last.engine.DicOpen(path);
  bool all = true;
  for (const auto& [reading, words] : model) all = all && last.Words(reading) == words;
  check(all, "every reading offers its words in the order of both processes' steps");
  DeleteFileA(path.c_str());
  return wtest::finish();
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc >= 4 && std::string(argv[1]) == "child") return Child(argv[2], argv[3]);
  return Parent();
}
