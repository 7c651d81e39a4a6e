#include "app.h"

#include <prsht.h>

#include <map>

#include "document.h"
#include "frame.h"

namespace fw {

namespace {

thread_local std::map<HWND, MessageFilter*>* t_filters = nullptr;
thread_local App* t_app = nullptr;

MessageFilter* FilterOf(HWND hwnd) {
  if (!t_filters) return nullptr;
  auto it = t_filters->find(hwnd);
  return it == t_filters->end() ? nullptr : it->second;
}

}  // namespace

void SetMessageFilter(HWND hwnd, MessageFilter* filter) {
  if (!hwnd) return;
  if (filter) {
    if (!t_filters) t_filters = new std::map<HWND, MessageFilter*>;
    (*t_filters)[hwnd] = filter;
    return;
  }
  if (!t_filters) return;
  t_filters->erase(hwnd);
  if (t_filters->empty()) {
    delete t_filters;
    t_filters = nullptr;
  }
}

bool PreTranslateChain(MSG& msg, HWND mainWindow) {
  HWND top = nullptr;
  for (HWND w = msg.hwnd; w; w = (GetWindowLongW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr) {
    if (MessageFilter* f = FilterOf(w)) {
      if (f->PreTranslateMessage(msg)) return true;
    }
    top = w;
  }
  // A message of another top-level window (a modeless dialog) still meets
  // the main window's accelerators.
  if (mainWindow && top != mainWindow && msg.hwnd) {
    if (MessageFilter* f = FilterOf(mainWindow)) return f->PreTranslateMessage(msg);
  }
  return false;
}

bool DialogKeysFilter::PreTranslateMessage(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  if (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)) return false;
  if (sheet_) return SendMessageW(window_, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&msg)) != 0;
  return IsDialogMessageW(window_, &msg) != FALSE;
}

// ---- App ----

bool ClaimSingleInstance(const char* mutexName, HANDLE& mutex) {
  if (HANDLE running = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, mutexName)) {
    CloseHandle(running);
    return false;
  }
  mutex = CreateMutexA(nullptr, FALSE, mutexName);
  return true;
}

App::App(const Module& module, std::wstring programName)
    : module_(module), programName_(std::move(programName)), previous_(t_app) {
  t_app = this;
}

App::~App() {
  if (t_app == this) t_app = previous_;
}

App* App::Current() { return t_app; }

bool App::RunIdle(long count) noexcept {
  try {
    return OnIdle(count);
  } catch (...) {
    return false;
  }
}

int App::Run() {
  bool ok = false;
  try {
    ok = InitInstance();
  } catch (...) {
    ok = false;
  }
  if (!ok) return ExitInstance();
  bool idle = true;
  long count = 0;
  MSG peek;
  for (;;) {
    while (idle && !PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!RunIdle(count++)) idle = false;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (restartsIdle_) {
        idle = true;
        count = 0;
      }
    } while (PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE));
  }
}

bool App::PumpMessage() {
  MSG msg;
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    if (got == 0) exitCode_ = static_cast<int>(msg.wParam);
    return false;
  }
  restartsIdle_ = idleRules_.RestartsIdle(msg.message, msg.pt.x, msg.pt.y);
  if (!PreTranslateMessage(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool App::PumpWaitingMessages() {
  MSG peek;
  while (PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
    if (!PumpMessage()) return false;
  }
  for (long count = 0; !PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE) && RunIdle(count); ++count) {
  }
  return true;
}

CommandLineInfo App::ParseCommandLine() {
  const wchar_t* line = GetCommandLineW();
  const std::wstring w = line ? line : L"";
  return fw::ParseCommandLine(SplitCommandLine(std::u16string(w.begin(), w.end())));
}

bool App::ProcessShellCommand(const CommandLineInfo& info) {
  if (!template_) return false;
  switch (info.command) {
    case ShellCommand::kFileNew: return template_->OpenDocumentFile(nullptr) != nullptr;
    case ShellCommand::kFileOpen: return template_->OpenDocumentFile(&info.fileName) != nullptr;
    default: return false;  // printing comes with the printing loop
  }
}

bool App::CloseMainWindow() {
  if (template_) {
    if (!template_->SaveAllModified()) return false;
    template_->CloseAllDocuments();  // destroys the frame
    return true;
  }
  if (mainWindow_) DestroyWindow(mainWindow_);
  return true;
}

bool App::OnCommand(unsigned id) {
  switch (id) {
    case cmd::kFileNew:
      if (template_) template_->OpenDocumentFile(nullptr);
      return true;
    case cmd::kAppExit:
      if (mainWindow_) PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
      return true;
    default: return false;
  }
}

bool App::OnUpdateCommand(unsigned id, CommandState& state) {
  if (id == cmd::kFileNew) {
    state.enabled = template_ != nullptr;
    return true;
  }
  return id == cmd::kAppExit;
}

bool App::OnIdle(long count) {
  if (count == 0) {
    if (auto* frame = dynamic_cast<FrameWindow*>(Window::FromHandle(mainWindow_))) frame->OnIdleUpdateUi();
  }
  return false;
}

}  // namespace fw
