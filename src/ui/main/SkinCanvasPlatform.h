// What the skin canvas needs from the platform: a drawing context holding the
// window image, the title font and text rasteriser, and the program's
// resources. The Windows implementation is GDI (memory device context,
// CreateFontIndirectA, GetTextExtentPoint32A, DrawTextA); tests supply their
// own. Skin bitmaps are read by the canvas itself (BitmapReader).
#pragma once

#include <cstdint>

class PixelImage;
struct SkinDescription;

class SkinCanvasPlatform {
 public:
  // Makes `image` the target of the drawing context and of PaintTo. With
  // null, gives the context its own bitmap back, so that the image that was
  // selected may be released (GDI does not delete a selected bitmap).
  virtual void SelectWindowImage(const PixelImage* image) = 0;
  // Replaces the title font by one made from the skin's face, cell height
  // and weight (non-antialiased, default character set).
  virtual void CreateTitleFont(const SkinDescription& skin) = 0;
  // Width and height of the whole text in the title font; false on failure.
  virtual bool MeasureTitle(const char* text, int* width, int* height) = 0;
  // Draws the text as one line, white (0xFFFFFF) in the title font, at the
  // top-left of `target`, which the canvas has created at the measured size
  // and filled with 0. The pixels must be readable when this returns.
  virtual void RasterizeTitle(const char* text, PixelImage& target) = 0;
  // Read-only bytes of a bitmap resource of the program (a packed bitmap:
  // info header, colour table, pixels); 0 when it is missing.
  virtual std::uint32_t LoadBitmapResource(int id, const void** data) = 0;
  // Read-only bytes of a resource of the program; 0 when it is missing.
  virtual std::uint32_t LoadResourceData(const char* type, int id, const void** data) = 0;
  // Copies width x height pixels of the window image to (0, 0) of a device.
  virtual void PaintTo(void* device, int width, int height) = 0;

 protected:
  ~SkinCanvasPlatform() = default;
};
