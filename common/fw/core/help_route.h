// How a program's WinHelp requests (the framework's help commands and the
// dialogs' Help buttons) become HTML Help requests on the program's .chm.
#pragma once

namespace fw {

// The WinHelp commands that programs send.
inline constexpr unsigned kWinHelpContext = 0x0001;     // HELP_CONTEXT
inline constexpr unsigned kWinHelpContents = 0x0003;    // HELP_CONTENTS
inline constexpr unsigned kWinHelpHelpOnHelp = 0x0004;  // HELP_HELPONHELP
inline constexpr unsigned kWinHelpFinder = 0x000B;      // HELP_FINDER

// The HTML Help commands they become.
inline constexpr unsigned kHhDisplayToc = 0x0001;
inline constexpr unsigned kHhDisplayIndex = 0x0002;
inline constexpr unsigned kHhDisplaySearch = 0x0003;
inline constexpr unsigned kHhHelpContext = 0x000F;

// The framework's help id of the main window and the topic it shows.
inline constexpr unsigned long kFrameworkMainHelpId = 0x20080;
inline constexpr unsigned long kMainWindowTopic = 0x2060A;

struct HtmlHelpRequest {
  bool show = false;     // false: the command shows nothing
  unsigned command = 0;  // kHh*
  unsigned long data = 0;  // the topic of kHhHelpContext
};

// HELP_CONTEXT: the topic (the main window's id turned into its topic);
// HELP_CONTENTS: the table of contents; HELP_HELPONHELP: the full-text
// search with an empty query; HELP_FINDER: the index; others: nothing.
HtmlHelpRequest RouteWinHelp(unsigned command, unsigned long data);

}  // namespace fw
