// The application object and the one message loop of a program: start-up,
// the pre-translate chain (accelerators, dialog keys), the idle work and
// the exit. A program derives its application from App and runs it once.
//
// The chain: the filters of the message's window and of its parents up to
// its top-level window, then, for a message of another top-level window (a
// modeless dialog), the main window's, so that the frame's accelerators work
// there too. Modeless dialogs and property sheets of this layer get their
// keys from the thread hook of modeless_keys.h, which also serves modal loops
// (DialogBox, menus, message boxes) that never reach this loop.
#pragma once
#include <windows.h>

#include <string>

#include "command_line.h"
#include "command_target.h"
#include "idle_rules.h"
#include "module.h"

namespace fw {

class SingleDocTemplate;

// One instance of a program by a named mutex: false when the mutex exists
// already (another instance runs); otherwise true with the mutex created
// into mutex (null when it could not be), which the program closes at exit.
bool ClaimSingleInstance(const char* mutexName, HANDLE& mutex);

class MessageFilter {
 public:
  virtual ~MessageFilter() = default;
  // True when the message was dealt with; it is then not dispatched.
  virtual bool PreTranslateMessage(MSG& msg) = 0;
};

// The filter of a window of this thread (one a window; null removes it).
void SetMessageFilter(HWND hwnd, MessageFilter* filter);
// The chain above for one message; true when a filter dealt with it.
bool PreTranslateChain(MSG& msg, HWND mainWindow);

// IsDialogMessage (PSM_ISDIALOGMESSAGE for a property sheet) for a modeless
// window that the loop serves itself.
class DialogKeysFilter final : public MessageFilter {
 public:
  DialogKeysFilter(HWND window, bool sheet) : window_(window), sheet_(sheet) {}
  bool PreTranslateMessage(MSG& msg) override;

 private:
  HWND window_;
  bool sheet_;
};

class App : public CommandTarget {
 public:
  App(const Module& module, std::wstring programName);
  ~App() override;
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // The application of this thread's program (the last one constructed).
  static App* Current();
  const Module& module() const { return module_; }
  const std::wstring& programName() const { return programName_; }
  HWND MainWindow() const { return mainWindow_; }
  void SetMainWindow(HWND hwnd) { mainWindow_ = hwnd; }
  SingleDocTemplate* DocTemplate() const { return template_; }
  void SetDocTemplate(SingleDocTemplate* docTemplate) { template_ = docTemplate; }

  // InitInstance, the loop until WM_QUIT, ExitInstance; the exit code.
  int Run();
  // One message: waits for it, offers it to the chain, dispatches it; false
  // on WM_QUIT (its code is kept for ExitInstance).
  bool PumpMessage();
  // The messages waiting now, then the idle work once; false on WM_QUIT.
  bool PumpWaitingMessages();

  // The program's command line (GetCommandLineW) read as its shell command.
  static CommandLineInfo ParseCommandLine();
  // A new document or the named file through the template; false on failure.
  virtual bool ProcessShellCommand(const CommandLineInfo& info);
  // The main window closes when the template has asked about unsaved
  // changes; false when the user cancelled.
  virtual bool CloseMainWindow();

  bool OnCommand(unsigned id) override;
  bool OnUpdateCommand(unsigned id, CommandState& state) override;

 protected:
  virtual bool InitInstance() { return true; }
  virtual int ExitInstance() { return exitCode_; }
  // Idle work; count counts the calls since the last message that restarted
  // it. The first updates the main frame's elements. True asks for another call.
  virtual bool OnIdle(long count);
  virtual bool PreTranslateMessage(MSG& msg) { return PreTranslateChain(msg, mainWindow_); }
  int exitCode_ = 0;

 private:
  bool RunIdle(long count) noexcept;

  Module module_;
  std::wstring programName_;
  HWND mainWindow_ = nullptr;
  SingleDocTemplate* template_ = nullptr;
  App* previous_ = nullptr;
  IdleRules idleRules_;
  bool restartsIdle_ = false;  // of the message PumpMessage dispatched last
};

}  // namespace fw
