// A memory device context: deleted by this object only when it made it.
#pragma once

#include <windows.h>

class MemoryDC {
 public:
  MemoryDC() = default;
  ~MemoryDC() { Delete(); }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;

  bool CreateCompatible(HDC dc) {
    Delete();
    HDC made = CreateCompatibleDC(dc);
    if (!made) return false;
    hdc = made;
    owned = 1;
    return true;
  }
  bool CreateForWindow(HWND window) {
    HDC windowDc = GetDC(window);
    if (!windowDc) return false;
    bool made = CreateCompatible(windowDc);
    ReleaseDC(window, windowDc);
    return made;
  }
  // Holds a device context that someone else made and deletes.
  void Attach(HDC dc) {
    Delete();
    hdc = dc;
    owned = 0;
  }
  // A device context that is not owned is never deleted and stays held.
  BOOL Delete() {
    if (!hdc || owned != 1) return FALSE;
    BOOL deleted = DeleteDC(hdc);
    hdc = nullptr;
    owned = 0;
    return deleted;
  }
  HGDIOBJ Select(HGDIOBJ object) { return SelectObject(hdc, object); }
  int SetTransparent(bool on) { return SetBkMode(hdc, on ? TRANSPARENT : OPAQUE); }
  // count -1 measures the whole text.
  bool TextExtent(const char* text, int count, SIZE& size) {
    if (count < 0) count = lstrlenA(text);
    return GetTextExtentPoint32A(hdc, text, count, &size) != FALSE;
  }

  HDC hdc = nullptr;
  DWORD owned = 0;
};
