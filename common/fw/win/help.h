// The help seam: programs ask for a help topic through it, so that tests
// (and systems where the help viewer shows nothing, as under Wine) can put
// their own viewer behind it.
#pragma once
#include <windows.h>

#include <string>

namespace fw {

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  // Shows the topic of a context number in a help file.
  virtual void ShowContext(HWND caller, const std::string& file, unsigned long context) = 0;
  // Any HTML Help command (help_route.h): kHhHelpContext goes to
  // ShowContext; a viewer that shows the other commands overrides this.
  virtual void Show(HWND caller, const std::string& file, unsigned command, unsigned long data);
};

// A WinHelp request of a program's window (the framework's help commands,
// the dialogs' Help buttons) as HTML Help on the program's help file,
// through the current viewer (help_route.h).
void RouteWinHelpToViewer(HWND caller, const std::string& file, unsigned command, unsigned long data);
// The program's help file: its module's path with the extension "chm".
std::string HelpFileOf(HMODULE module);

// HTML Help: hhctrl.ocx's HtmlHelpA with HH_HELP_CONTEXT, the library
// loaded at the first request.
HelpViewer& HtmlHelpViewer();

// The viewer in use: HtmlHelpViewer unless one was set.
HelpViewer& CurrentHelpViewer();
void SetHelpViewer(HelpViewer* viewer);

}  // namespace fw
