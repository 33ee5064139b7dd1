// The skin bitmap reader: Windows bitmaps (.bmp files and the packed form of
// a bitmap resource) decoded into a PixelImage by the program itself, so that
// a damaged file is refused here instead of reaching the platform's loader.
//
// Read: the 12-byte core header and the 40-, 52-, 56-, 108- and 124-byte info
// headers; 1, 4 and 8 bits per pixel with a colour table, 16 and 32 bits
// (5-5-5 and 8-8-8 or bit-field masks), 24 bits; rows bottom-up or top-down;
// RLE8 and RLE4. Anything else, and anything cut short or inconsistent, is
// refused. Every read is bounded by the byte count.
#pragma once

#include <cstddef>
#include <cstdint>

class PixelImage;

enum BitmapCompression : std::uint32_t {
  kBitmapRgb = 0,
  kBitmapRle8 = 1,
  kBitmapRle4 = 2,
  kBitmapBitFields = 3,
};

// What the headers say, checked against the byte count: the colour table
// and the masks lie inside the bytes, and the pixels start inside them.
struct BitmapLayout {
  int width = 0;
  int height = 0;  // rows, always positive; see topDown
  bool topDown = false;
  int bitsPerPixel = 0;
  std::uint32_t compression = kBitmapRgb;
  std::uint32_t masks[3] = {};  // red, green, blue of 16 and 32 bits per pixel
  std::uint32_t colors[256] = {};  // the colour table as 0x00RRGGBB; unused entries black
  std::size_t pixelOffset = 0;  // from the first byte given
};

// Reads the headers of a bitmap file (withFileHeader: "BM" and the 14-byte
// file header first, the pixels where it says) or of a packed bitmap (the
// info header first, the pixels right after the colour table). False for
// anything malformed, of a kind not read, or larger than a PixelImage may be.
bool ReadBitmapLayout(const void* bytes, std::size_t count, bool withFileHeader, BitmapLayout* layout);

// Decodes the pixels that ReadBitmapLayout found into `image` (0x00RRGGBB).
// False, leaving the image empty, when the pixels are cut short (an RLE
// stream must reach its end mark or its last row) or the image cannot be made.
bool DecodeBitmap(const void* bytes, std::size_t count, const BitmapLayout& layout, PixelImage& image);

// Both steps at once.
bool ReadBitmapFile(const void* bytes, std::size_t count, PixelImage& image);
bool ReadPackedBitmap(const void* bytes, std::size_t count, PixelImage& image);
