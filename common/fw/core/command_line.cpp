#include "command_line.h"

namespace fw {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string Lower(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return out;
}

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
  std::vector<std::u16string> args;
  size_t i = 0;
  // The program: no escapes, only its quotes.
  {
    std::u16string program;
    if (i < line.size() && line[i] == u'"') {
      ++i;
      while (i < line.size() && line[i] != u'"') program.push_back(line[i++]);
      if (i < line.size()) ++i;
    } else {
      while (i < line.size() && !IsBlank(line[i])) program.push_back(line[i++]);
    }
    if (!program.empty() || !line.empty()) args.push_back(program);
  }
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    std::u16string arg;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
      const char16_t c = line[i];
      if (c == u'\\') {
        size_t slashes = 0;
        while (i < line.size() && line[i] == u'\\') {
          ++slashes;
          ++i;
        }
        if (i < line.size() && line[i] == u'"') {
          arg.append(slashes / 2, u'\\');
          if (slashes % 2 == 1) {
            arg.push_back(u'"');
            ++i;
          }
          // An even count leaves the quote to the next round.
        } else {
          arg.append(slashes, u'\\');
        }
        continue;
      }
      if (c == u'"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
          arg.push_back(u'"');
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      arg.push_back(c);
      ++i;
    }
    args.push_back(std::move(arg));
  }
  return args;
}

CommandLineInfo ParseCommandLine(const std::vector<std::u16string>& args) {
  CommandLineInfo info;
  int printToArgs = 0;  // printer, driver and port still to come after "/pt"
  for (size_t n = 1; n < args.size(); ++n) {
    const std::u16string& a = args[n];
    if (!a.empty() && (a[0] == u'/' || a[0] == u'-')) {
      const std::u16string flag = Lower(std::u16string_view(a).substr(1));
      if (flag == u"p") {
        info.command = ShellCommand::kFilePrint;
      } else if (flag == u"pt") {
        info.command = ShellCommand::kFilePrintTo;
        printToArgs = 3;
      } else if (flag == u"dde") {
        info.command = ShellCommand::kFileDde;
      }
      continue;
    }
    if (info.fileName.empty()) {
      info.fileName = a;
    } else if (info.command == ShellCommand::kFilePrintTo && printToArgs > 0) {
      std::u16string* field = printToArgs == 3 ? &info.printerName : printToArgs == 2 ? &info.driverName : &info.portName;
      *field = a;
      --printToArgs;
    }
  }
  if (info.command == ShellCommand::kFileNew && !info.fileName.empty()) info.command = ShellCommand::kFileOpen;
  return info;
}

}  // namespace fw
