// Owner of one GDI object (a font or a brush). Each creation deletes the
// object held before; a failed creation leaves the owner empty.
#pragma once

#include <windows.h>

#include "toolkit/UniqueHandle.h"

// Owner traits for GDI objects deleted with DeleteObject: fonts, brushes,
// bitmaps. GdiHandle owns one of any kind.
struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle Invalid() { return nullptr; }
  static int Close(Handle h) { return DeleteObject(h); }
};
using GdiHandle = UniqueHandle<GdiObjectTraits>;

class GdiObject {
 public:
  // DeleteObject's result; 0 when nothing is held.
  BOOL Delete() { return object.Close(); }
  // CreateFont is CreateFontA wherever this header is seen.
  bool CreateFont(int height, int weight, DWORD charSet, const char* faceName) {
    Delete();
    object.Reset(::CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charSet, 0, 0, 0, 0, faceName));
    return object.IsValid();
  }
  bool CreateFontFrom(const LOGFONTA& font) {
    Delete();
    object.Reset(CreateFontIndirectA(&font));
    return object.IsValid();
  }
  bool CreateSolidBrush(COLORREF colour) {
    Delete();
    object.Reset(::CreateSolidBrush(colour));
    return object.IsValid();
  }
  HGDIOBJ Handle() const { return object.Get(); }
  HFONT Font() const { return static_cast<HFONT>(object.Get()); }
  HBRUSH Brush() const { return static_cast<HBRUSH>(object.Get()); }

 private:
  GdiHandle object;
};
