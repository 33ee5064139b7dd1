// Selects a GDI object into a device context for one scope and puts the
// previous one back.
#pragma once

#include <windows.h>

class ScopedSelect {
 public:
  ScopedSelect(HDC target, HGDIOBJ object) : dc(target), previous(SelectObject(target, object)) {}
  ~ScopedSelect() {
    if (previous && previous != HGDI_ERROR) SelectObject(dc, previous);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc;
  HGDIOBJ previous;
};
