// A small check-and-report helper for the Windows test programs: each check
// prints one line, the totals come at the end, and the exit code is the
// number of failures (capped) so that CTest sees any failure.
#pragma once
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

namespace wtest {

struct Report {
  int passed = 0;
  int failed = 0;
  std::string group;  // shown in front of every line
};

inline Report& report() {
  static Report r;
  return r;
}

inline void vlog(const char* tag, const char* fmt, va_list ap) {
  std::printf("[%s] %s", report().group.c_str(), tag);
  std::vprintf(fmt, ap);
  std::printf("\n");
  std::fflush(stdout);
}

inline void note(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  vlog("note: ", fmt, ap);
  va_end(ap);
}

// Records one result; returns cond so that callers can stop early.
inline bool check(bool cond, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  vlog(cond ? "ok:   " : "FAIL: ", fmt, ap);
  va_end(ap);
  (cond ? report().passed : report().failed)++;
  return cond;
}

// Equality of two integers, both shown in hexadecimal.
inline bool check_eq(uint64_t actual, uint64_t expected, const char* what) {
  return check(actual == expected, "%s: got 0x%llx, expected 0x%llx", what,
               static_cast<unsigned long long>(actual), static_cast<unsigned long long>(expected));
}

// Prints the totals and gives the process exit code.
inline int finish() {
  std::printf("[%s] %d passed, %d failed\n", report().group.c_str(), report().passed, report().failed);
  std::fflush(stdout);
  return report().failed == 0 ? 0 : (report().failed > 60 ? 60 : report().failed);
}

}  // namespace wtest
