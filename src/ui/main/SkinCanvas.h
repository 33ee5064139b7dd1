// The bar's off-screen image. The canvas composes the window image from the
// skin bitmap element by element, blends the title text in from a mask
// (scrolling it by moving the mask's start column), and answers the hit tests
// of the mouse handlers. The paint handler only copies the image out.
//
// All pixel work is here and portable; the platform part (drawing context,
// font, text rasteriser, image loading) comes through SkinCanvasPlatform.
#pragma once

#include <cstdint>

#include "ui/main/PixelImage.h"
#include "ui/main/SkinDescription.h"
#include "ui/main/TextMask.h"

class SkinCanvasPlatform;

struct CanvasRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class SkinCanvas {
 public:
  SkinCanvas() = default;
  ~SkinCanvas();
  SkinCanvas(const SkinCanvas&) = delete;
  SkinCanvas& operator=(const SkinCanvas&) = delete;

  // The platform part must outlive the canvas, or be detached (null) first.
  void AttachPlatform(SkinCanvasPlatform* platformPart) { platform = platformPart; }

  bool LoadSkin(const char* name, int volume, bool muted);
  bool ParseSkin(const char* path) { return ::ParseSkin(skin, path); }
  bool ParseSkin(const void* bytes, std::uint32_t count) { return ::ParseSkin(skin, bytes, count); }
  void LoadBuiltInSkin();
  void RebuildWindowImage(int volume, bool muted);

  void DrawElement(int index, int frame);
  void RestoreElement(int index);
  void DrawVolume(int volume);
  bool SetTitle(const char* text, bool error, CanvasRect* rect);
  bool ScrollTitle(int step, CanvasRect* rect);
  void PaintTo(void* device) const;

  bool HitAnyControl(int x, int y, int volume) const;
  int ButtonAt(int x, int y) const;
  int MuteAt(int x, int y) const;
  bool KnobAt(int x, int y, int volume) const;
  int KnobGrabOffset(int x, int volume) const;
  int VolumeFromX(int x) const;
  CanvasRect TitleRect() const;

  int WindowWidth() const { return windowWidth; }
  int WindowHeight() const { return windowHeight; }
  const SkinDescription& Skin() const { return skin; }
  const PixelImage& WindowImage() const { return windowImage; }
  PixelImage& SkinImage() { return skinImage; }
  const TextMask& TitleMask() const { return titleMask; }
  int ScrollOffset() const { return scrollOffset; }
  int TextTop() const { return textTop; }
  bool IsScrolling() const { return scrolling != 0; }
  int ColorIndex() const { return colorIndex; }

 private:
  bool LoadBitmapFile(const char* path);
  bool RenderTitleMask(const char* text);
  void DrawTitle();
  bool ElementHolds(int index, int x, int y) const;
  std::int64_t KnobLeft(int volume) const;

  SkinCanvasPlatform* platform = nullptr;
  PixelImage skinImage;
  PixelImage windowImage;
  TextMask titleMask;
  int windowWidth = 0;
  int windowHeight = 0;
  SkinDescription skin;
  int scrollOffset = 0;
  int textTop = 0;
  std::uint16_t scrolling = 0;
  std::uint16_t colorIndex = 0;
};
