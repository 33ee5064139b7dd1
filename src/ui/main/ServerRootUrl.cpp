#include "ui/main/ServerRootUrl.h"

#include "toolkit/TextString.h"

void CutServerRootUrl(const char* url, TextString& root) {
  root.Assign(url);
  int found = 0;  // the first search starts at position 1
  for (int i = 0; i < 3; ++i) {
    found = root.Find(found + 1, '/');
    if (found < 0) return;
  }
  root.TruncateBytes(found + 1);
}
