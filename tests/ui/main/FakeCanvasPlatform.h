// The canvas's platform part for tests: a fixed-pitch "font" whose glyphs ink
// the first column of their cell, bitmaps whose every pixel names its own
// position, and the built-in skin text as the only resource.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "BuiltInSkinText.h"
#include "toolkit/File.h"
#include "ui/main/PixelImage.h"
#include "ui/main/SkinCanvasPlatform.h"
#include "ui/main/SkinDescription.h"

class FakeCanvasPlatform : public SkinCanvasPlatform {
 public:
  // A sheet pixel: tag in bits 20 up, x in 8-19, y in 0-7.
  static std::uint32_t Sheet(int x, int y, int tag = 0) {
    return (static_cast<std::uint32_t>(tag) << 20) | (static_cast<std::uint32_t>(x) << 8) | static_cast<std::uint32_t>(y);
  }

  void SelectWindowImage(const PixelImage* image) override { selections.push_back(image); }

  void CreateTitleFont(const SkinDescription& skin) override {
    ++fontsCreated;
    fontFace = skin.fontFace;
    fontSize = skin.fontSize;
    fontBold = skin.bold;
  }

  bool MeasureTitle(const char* text, int* width, int* height) override {
    *width = static_cast<int>(std::strlen(text)) * glyphWidth + extraWidth;
    *height = glyphHeight;
    return true;
  }

  void RasterizeTitle(const char* text, PixelImage& target) override {
    rasterized.push_back(text);
    for (int i = 0; text[i] != '\0'; ++i) {
      if (text[i] == ' ') continue;
      for (int r = 0; r < target.Height(); ++r) *target.PixelAt(i * glyphWidth, r) = 0xFFFFFF;
    }
  }

  bool LoadBitmapFile(const char* path, PixelImage& image) override {
    loadedFiles.push_back(path);
    File file;
    if (!file.OpenRead(path)) return false;
    return MakeSheet(image, 1, 400, 40);
  }

  bool LoadBitmapResource(int id, PixelImage& image) override {
    if (!hasResources || id != 302) return false;
    return MakeSheet(image, 0, 343, 34);
  }

  std::uint32_t LoadResourceData(const char* type, int id, const void** data) override {
    if (!hasResources || std::strcmp(type, "EXDAT") != 0 || id != 350) return 0;
    *data = skinText.data();
    return static_cast<std::uint32_t>(skinText.size());
  }

  void PaintTo(void* device, int width, int height) override {
    paintedDevice = device;
    paintedWidth = width;
    paintedHeight = height;
  }

  static bool MakeSheet(PixelImage& image, int tag, int width, int height) {
    if (!image.Create(width, height)) return false;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) *image.PixelAt(x, y) = Sheet(x, y, tag);
    }
    return true;
  }

  int glyphWidth = 6;
  int glyphHeight = 12;
  int extraWidth = 0;
  bool hasResources = true;
  std::string skinText = BuiltInSkinText();

  std::vector<const PixelImage*> selections;
  std::vector<std::string> rasterized;
  std::vector<std::string> loadedFiles;
  int fontsCreated = 0;
  std::string fontFace;
  int fontSize = 0;
  int fontBold = 0;
  void* paintedDevice = nullptr;
  int paintedWidth = 0;
  int paintedHeight = 0;
};
