// A memory device context: deleted by this object only when it made it.
#pragma once

#include <windows.h>

#include "toolkit/UniqueHandle.h"

// Owner traits for device contexts made with CreateCompatibleDC.
struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static int Close(Handle h) { return DeleteDC(h); }
};

class MemoryDC {
 public:
  bool CreateCompatible(HDC dc) {
    Delete();
    HDC created = CreateCompatibleDC(dc);
    if (!created) return false;
    made.Reset(created);
    borrowed = nullptr;
    return true;
  }
  bool CreateForWindow(HWND window) {
    HDC windowDc = GetDC(window);
    if (!windowDc) return false;
    bool created = CreateCompatible(windowDc);
    ReleaseDC(window, windowDc);
    return created;
  }
  // Holds a device context that someone else made and deletes.
  void Attach(HDC dc) {
    Delete();
    borrowed = dc;
  }
  // A device context that is not owned is never deleted and stays held.
  BOOL Delete() { return made.IsValid() ? made.Close() : FALSE; }

  HDC Handle() const { return made.IsValid() ? made.Get() : borrowed; }
  bool Owns() const { return made.IsValid(); }
  HGDIOBJ Select(HGDIOBJ object) { return SelectObject(Handle(), object); }
  int SetTransparent(bool on) { return SetBkMode(Handle(), on ? TRANSPARENT : OPAQUE); }
  // count -1 measures the whole text.
  bool TextExtent(const char* text, int count, SIZE& size) {
    if (count < 0) count = lstrlenA(text);
    return GetTextExtentPoint32A(Handle(), text, count, &size) != FALSE;
  }

 private:
  UniqueHandle<MemoryDcTraits> made;
  HDC borrowed = nullptr;
};
