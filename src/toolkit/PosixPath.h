// POSIX builds only: the program writes Windows paths; a single-byte
// backslash is a separator (a trail byte 0x5C of a double-byte character is not).
#pragma once

#include "toolkit/TextString.h"

inline void ToPosixPath(const char* path, TextString& out) {
  out.Assign(path);
  out.ReplaceChar('\\', '/');
}
