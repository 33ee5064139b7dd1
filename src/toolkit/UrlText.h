// Wherever a URL enters the program (the clipboard, the settings, a playlist,
// a list of stations) it ends at its first CR, LF or NUL: a second line of a
// pasted text, or a header someone hoped to slip into a request, is no part
// of it.
#pragma once

#include "toolkit/TextString.h"

inline void CutUrlAtLineBreak(TextString& url) {
  for (char* p = url.Data(); *p; ++p) {
    if (*p == '\r' || *p == '\n') {
      *p = '\0';
      return;
    }
  }
}
