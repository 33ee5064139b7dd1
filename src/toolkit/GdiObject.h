// Owner of one GDI object (a font or a brush). Each creation deletes the
// object held before; a failed creation leaves the owner empty.
#pragma once

#include <windows.h>

class GdiObject {
 public:
  GdiObject() = default;
  ~GdiObject() { Delete(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  BOOL Delete() {
    if (!handle) return 0;
    BOOL deleted = DeleteObject(handle);
    handle = nullptr;
    return deleted;
  }
  // CreateFont is CreateFontA wherever this header is seen.
  bool CreateFont(int height, int weight, DWORD charSet, const char* faceName) {
    Delete();
    handle = ::CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charSet, 0, 0, 0, 0, faceName);
    return handle != nullptr;
  }
  bool CreateFontFrom(const LOGFONTA& font) {
    Delete();
    handle = CreateFontIndirectA(&font);
    return handle != nullptr;
  }
  bool CreateSolidBrush(COLORREF colour) {
    Delete();
    handle = ::CreateSolidBrush(colour);
    return handle != nullptr;
  }
  HFONT Font() const { return static_cast<HFONT>(handle); }
  HBRUSH Brush() const { return static_cast<HBRUSH>(handle); }

  HGDIOBJ handle = nullptr;
};
