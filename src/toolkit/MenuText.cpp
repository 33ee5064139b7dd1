#include "toolkit/MenuText.h"

void MenuItemText(const char* text, TextString& out) {
  out.Clear();
  // Byte by byte: neither "&" nor a tab is ever the second byte of a
  // double-byte character (those are 0x40 and above).
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '&') {
      out.Append("&&");
    } else {
      out.AppendChar(*p == '\t' ? ' ' : *p);
    }
  }
}
