#include "ui/main/TitleMemo.h"

#include "toolkit/File.h"
#include "toolkit/TextString.h"

bool AppendToTitleMemo(const char* path, const char* title) {
  // Byte by byte: CR and LF are never the second byte of a double-byte
  // character.
  TextString line;
  bool lineBreak = false;
  for (const char* p = title; *p != '\0'; ++p) {
    if (*p == '\r' || *p == '\n') {
      lineBreak = true;
      continue;
    }
    if (lineBreak && !line.IsEmpty()) line.AppendChar(' ');
    lineBreak = false;
    line.AppendChar(*p);
  }
  if (line.IsEmpty()) return false;
  File memo;
  if (!memo.OpenAppend(path)) return false;
  bool written = memo.Write(line.CStr(), line.Length()) == line.Length();
  written = memo.WriteNewLine() == 2 && written;
  return memo.Close() == 1 && written;
}
