// Small bitmap files of every kind the skin reader takes, each with the
// pixels it must give (written out by hand, top row first, 0x00RRGGBB), and
// the built-in skin bitmap from the source tree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PixelImage;

struct BitmapSample {
  std::string name;
  std::string file;  // a whole .bmp file
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

std::vector<BitmapSample> BitmapSamples();

// An image's pixels, top row first.
std::vector<std::uint32_t> ImagePixels(const PixelImage& image);

// src/resources/skin.bmp.
std::string BuiltInSkinBitmapFile();
