// The program's command line: split into arguments by the rules of the
// Windows C runtime, and read as the shell command a document program
// carries out at start-up (a new document, or open or print a file).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Arguments of a command line (GetCommandLineW's text). The first, the
// program, ends at the first blank or, when it begins with a double quote,
// at the next one, with no other rule. After it, blanks and TABs separate
// arguments; a double quote opens or closes a quoted part (blanks in it
// stay); inside one, two double quotes are one literal double quote;
// 2n backslashes before a double quote give n backslashes and the quote
// keeps its meaning, 2n + 1 give n backslashes and a literal double quote;
// other backslashes stay as they are.
std::vector<std::u16string> SplitCommandLine(std::u16string_view line);

enum class ShellCommand : unsigned char {
  kFileNew,      // no file named: a new document
  kFileOpen,     // open fileName
  kFilePrint,    // "/p": print fileName and end
  kFilePrintTo,  // "/pt" file printer driver port: print there and end
  kFileDde,      // "/dde": the shell sends the command by DDE
};

struct CommandLineInfo {
  ShellCommand command = ShellCommand::kFileNew;
  std::u16string fileName;
  std::u16string printerName;
  std::u16string driverName;
  std::u16string portName;
};

// Reads the arguments after the program (args[0] is skipped). Flags begin
// with "/" or "-" and are compared without regard to case; unknown flags are
// passed over. The first other argument is the file; with "/pt" the next
// three name the printer, its driver and its port; later ones are passed over.
CommandLineInfo ParseCommandLine(const std::vector<std::u16string>& args);

}  // namespace fw
