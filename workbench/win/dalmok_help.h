// The workbench's help: every help command, Help button and F1 of the
// workbench and of its dialogs opens a topic of "Dalmok.chm" in the program
// folder through here (HTML Help on the desktop window, HH_HELP_CONTEXT with
// the topic's number; help_topics.h names them).
#pragma once
#include <string>

#include "help_topics.h"

namespace dalmok {

// The program's folder with its trailing backslash, in the ANSI code page.
std::string ProgramFolder();
// The program folder followed by "Dalmok.chm".
std::string HelpFile();
// Opens the topic of that context number.
void ShowHelp(unsigned long context);

}  // namespace dalmok
