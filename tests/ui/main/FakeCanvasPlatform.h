// The canvas's platform part for tests: a fixed-pitch "font" whose glyphs ink
// the first column of their cell, and the built-in skin text and a bitmap
// whose every pixel names its own position as the only resources.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "BuiltInSkinText.h"
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

  std::uint32_t LoadBitmapResource(int id, const void** data) override {
    if (!hasResources || id != 302) return 0;
    // The packed form: the file without its 14-byte header.
    *data = builtInSheet.data() + 14;
    return static_cast<std::uint32_t>(builtInSheet.size() - 14);
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

  // A 24-bit bitmap file, rows bottom-up, whose every pixel is Sheet(x, y, tag).
  static std::string SheetFile(int tag, int width, int height) {
    std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::string file(54 + stride * height, '\0');
    auto put = [&file](std::size_t at, std::uint32_t v, int bytes) {
      for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, static_cast<std::uint32_t>(file.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) put(54 + (height - 1 - y) * stride + 3 * x, Sheet(x, y, tag), 3);
    }
    return file;
  }

  int glyphWidth = 6;
  int glyphHeight = 12;
  int extraWidth = 0;
  bool hasResources = true;
  std::string skinText = BuiltInSkinText();
  std::string builtInSheet = SheetFile(0, 343, 34);

  std::vector<const PixelImage*> selections;
  std::vector<std::string> rasterized;
  int fontsCreated = 0;
  std::string fontFace;
  int fontSize = 0;
  int fontBold = 0;
  void* paintedDevice = nullptr;
  int paintedWidth = 0;
  int paintedHeight = 0;
};
