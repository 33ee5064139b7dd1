#include "ui/main/GdiSkinPlatform_win.h"

#include <cstring>

#include "toolkit/ScopedSelect.h"
#include "toolkit/Shell.h"
#include "ui/main/PixelImage.h"
#include "ui/main/SkinDescription.h"

GdiSkinPlatform::~GdiSkinPlatform() { SelectWindowImage(nullptr); }

bool GdiSkinPlatform::Initialize(HWND window) {
  if (!dc.CreateForWindow(window)) return false;
  originalBitmap = nullptr;
  dc.SetTransparent(true);
  return true;
}

void GdiSkinPlatform::SelectWindowImage(const PixelImage* image) {
  if (!dc.Handle()) return;
  if (!image || image->IsEmpty()) {
    if (originalBitmap) dc.Select(originalBitmap);
    return;
  }
  HGDIOBJ previous = dc.Select(static_cast<HBITMAP>(image->Bitmap()));
  if (!originalBitmap && previous && previous != HGDI_ERROR) originalBitmap = previous;
}

void GdiSkinPlatform::CreateTitleFont(const SkinDescription& skin) {
  LOGFONTA font = {};
  font.lfHeight = skin.fontSize;
  font.lfWeight = skin.bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = NONANTIALIASED_QUALITY;  // the mask is ink or no ink
  static_assert(sizeof font.lfFaceName == sizeof skin.fontFace, "face fields differ");
  std::memcpy(font.lfFaceName, skin.fontFace, sizeof font.lfFaceName);
  font.lfFaceName[sizeof font.lfFaceName - 1] = '\0';
  titleFont.CreateFontFrom(font);
}

bool GdiSkinPlatform::MeasureTitle(const char* text, int* width, int* height) {
  if (!dc.Handle()) return false;
  ScopedSelect font(dc.Handle(), titleFont.Handle() ? titleFont.Handle() : GetStockObject(SYSTEM_FONT));
  SIZE size = {};
  if (!dc.TextExtent(text, -1, size)) return false;
  *width = size.cx;
  *height = size.cy;
  return true;
}

void GdiSkinPlatform::RasterizeTitle(const char* text, PixelImage& target) {
  if (!dc.Handle() || target.IsEmpty()) return;
  {
    ScopedSelect font(dc.Handle(), titleFont.Handle() ? titleFont.Handle() : GetStockObject(SYSTEM_FONT));
    ScopedSelect bitmap(dc.Handle(), static_cast<HBITMAP>(target.Bitmap()));
    SetTextColor(dc.Handle(), RGB(255, 255, 255));
    RECT area = {0, 0, target.Width(), target.Height()};
    DrawTextA(dc.Handle(), text, -1, &area, DT_SINGLELINE | DT_NOPREFIX);
  }
  // The canvas reads the section's pixels next: GDI must have finished.
  GdiFlush();
}

std::uint32_t GdiSkinPlatform::LoadBitmapResource(int id, const void** data) {
  return ::LoadResourceData(GetModuleHandleA(nullptr), RT_BITMAP, id, data);
}

std::uint32_t GdiSkinPlatform::LoadResourceData(const char* type, int id, const void** data) {
  return ::LoadResourceData(GetModuleHandleA(nullptr), type, id, data);
}

void GdiSkinPlatform::PaintTo(void* device, int width, int height) {
  if (!dc.Handle() || !device) return;
  BitBlt(static_cast<HDC>(device), 0, 0, width, height, dc.Handle(), 0, 0, SRCCOPY);
}
