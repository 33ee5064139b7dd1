#include <windows.h>

#include "ui/main/PixelImage.h"

namespace {
// A 40-byte header followed by the three channel masks of BI_BITFIELDS.
struct SectionInfo {
  BITMAPINFOHEADER header;
  DWORD masks[3];
};
}  // namespace

bool PixelImage::Allocate(int newWidth, int newHeight) {
  SectionInfo info = {};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = newWidth;
  info.header.biHeight = newHeight;  // positive: rows bottom-up
  info.header.biPlanes = 1;
  info.header.biBitCount = 32;
  info.header.biCompression = BI_BITFIELDS;
  info.masks[0] = 0x00FF0000;
  info.masks[1] = 0x0000FF00;
  info.masks[2] = 0x000000FF;
  void* block = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &block, nullptr, 0);
  bitmap = section;
  bits = section ? block : nullptr;
  return section != nullptr && block != nullptr;
}

void PixelImage::Free() {
  // A section still selected into a device context is not deleted: the
  // canvas's platform part deselects the window image before releasing it.
  if (bitmap) DeleteObject(static_cast<HBITMAP>(bitmap));
}
