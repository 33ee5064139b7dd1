// The canvas's platform part under Windows: a memory device context that
// holds the window image, the title font, GDI's text rasteriser and the
// program's resources. Owned by the main window, which detaches it from the canvas
// before it goes.
#pragma once

#include <windows.h>

#include "toolkit/GdiObject.h"
#include "toolkit/MemoryDC.h"
#include "ui/main/SkinCanvasPlatform.h"

class GdiSkinPlatform final : public SkinCanvasPlatform {
 public:
  GdiSkinPlatform() = default;
  ~GdiSkinPlatform();
  GdiSkinPlatform(const GdiSkinPlatform&) = delete;
  GdiSkinPlatform& operator=(const GdiSkinPlatform&) = delete;

  // A device context compatible with the window's screen, transparent text
  // background. False when none can be made.
  bool Initialize(HWND window);

  void SelectWindowImage(const PixelImage* image) override;
  void CreateTitleFont(const SkinDescription& skin) override;
  bool MeasureTitle(const char* text, int* width, int* height) override;
  void RasterizeTitle(const char* text, PixelImage& target) override;
  std::uint32_t LoadBitmapResource(int id, const void** data) override;
  std::uint32_t LoadResourceData(const char* type, int id, const void** data) override;
  void PaintTo(void* device, int width, int height) override;

 private:
  MemoryDC dc;
  GdiObject titleFont;
  // The bitmap the context was made with; put back before the window image
  // is released or the context deleted.
  HGDIOBJ originalBitmap = nullptr;
};
