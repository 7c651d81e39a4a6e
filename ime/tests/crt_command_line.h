// How the Windows C runtime splits a program's command line into argv, and
// what WinMain receives as its command line, written from the runtime's
// documented rules for the tests of the command lines the input method
// builds:
//  - arguments are separated by blanks and tabs;
//  - the first one, the program name, may have parts in double quotes,
//    which keep blanks and tabs in it; the quotes are dropped and no other
//    rule applies to it;
//  - after it, a double-quoted part keeps blanks and tabs and may stand
//    inside an argument; a quote preceded by a backslash is a literal quote;
//    backslashes are literal unless they come right before a quote, where
//    2n of them give n backslashes and the quote opens or closes a part,
//    and 2n + 1 give n backslashes and a literal quote; inside a quoted
//    part a pair of quotes is one literal quote; a command line that ends
//    inside a quoted part gives what was read as the last argument.
// WinMain's command line is what follows the program name and the blanks
// and tabs after it.
#pragma once
#include <string>
#include <vector>

namespace ime::test {

struct CrtCommandLine {
  std::vector<std::string> argv;
  std::string winMainLine;
};

inline CrtCommandLine SplitByCrtRules(const std::string& line) {
  CrtCommandLine out;
  size_t i = 0;
  auto blank = [&](size_t k) { return k < line.size() && (line[k] == ' ' || line[k] == '\t'); };
  // The program name.
  std::string program;
  bool quoted = false;
  for (; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      break;
    } else {
      program += c;
    }
  }
  out.argv.push_back(program);
  while (blank(i)) ++i;
  out.winMainLine = line.substr(i);
  // The arguments after it.
  while (i < line.size()) {
    std::string arg;
    bool inQuotes = false;
    for (; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '\\') {
        size_t n = 0;
        while (i < line.size() && line[i] == '\\') {
          ++n;
          ++i;
        }
        if (i < line.size() && line[i] == '"') {
          arg.append(n / 2, '\\');
          if (n % 2 == 1) {
            arg += '"';
            continue;  // the quote is taken; the loop moves past it
          }
          inQuotes = !inQuotes;  // even: the quote opens or closes a part
        } else {
          arg.append(n, '\\');
          --i;  // the next character is read by the loop
        }
      } else if (c == '"' && inQuotes && i + 1 < line.size() && line[i + 1] == '"') {
        arg += '"';
        ++i;
      } else if (c == '"') {
        inQuotes = !inQuotes;
      } else if (!inQuotes && (c == ' ' || c == '\t')) {
        break;
      } else {
        arg += c;
      }
    }
    out.argv.push_back(arg);
    while (blank(i)) ++i;
  }
  return out;
}

}  // namespace ime::test
