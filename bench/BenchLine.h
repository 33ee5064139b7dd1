// One output line of a benchmark program, flushed at once: the Python
// runner stamps each line as it arrives, so a buffered line would carry a
// late time.
#pragma once

#include <cstdarg>
#include <cstdio>

inline void Line(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::printf("\n");
  std::fflush(stdout);
}
