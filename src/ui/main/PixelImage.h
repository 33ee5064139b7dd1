// A 32-bit image stored bottom-up, as a device-independent section is: the
// top row is the last in memory and pixel (x, y) lies at top row + x - y *
// width. Pixels are 0x00RRGGBB. Every drawing operation stays inside the image.
//
// The pixel block comes from the platform (PixelImage_win.cpp: a DIB section
// that GDI can draw into and copy from; PixelImage_posix.cpp: the heap).
#pragma once

#include <cstdint>

class TextMask;

class PixelImage {
 public:
  static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

  PixelImage() = default;
  ~PixelImage() { Release(); }
  PixelImage(const PixelImage&) = delete;
  PixelImage& operator=(const PixelImage&) = delete;

  // Releases the old block and makes a new one, all pixels 0. False,
  // leaving the image empty, for a size that is not positive or too large.
  bool Create(int width, int height);
  void Release();

  bool IsEmpty() const { return topRow == nullptr; }
  // The platform's bitmap handle (HBITMAP on Windows); null when empty.
  void* Bitmap() const { return bitmap; }
  // First byte of the block as the platform returns it (the bottom row).
  void* Bits() const { return bits; }
  std::uint32_t* TopRow() const { return topRow; }
  int Width() const { return width; }
  int Height() const { return height; }
  // No bounds check: callers keep 0 <= x < width, 0 <= y < height.
  std::uint32_t* PixelAt(int x, int y) const { return topRow + x - static_cast<std::int64_t>(y) * width; }

  void Fill(std::uint32_t value);
  // Copies w x h pixels from (sx, sy) of source to (x, y) here. Nothing when
  // a start lies left of or above its image; the rectangle is cut to both.
  void CopyRect(int x, int y, const PixelImage& source, int sx, int sy, int w, int h);
  // Every ink byte of the mask sets the pixel at (x + column, y + row).
  void DrawMask(int x, int y, const TextMask& mask, std::uint32_t value);
  // Draws `length` columns of the mask starting at column `start`, wrapping
  // to column 0 past its right edge: the title as an endless band. With
  // `rows` not negative, at most that many rows of the mask are drawn.
  void DrawMaskWrapped(int x, int y, int length, const TextMask& mask, int start, std::uint32_t value,
                       int rows = -1);

 private:
  bool Allocate(int width, int height);  // platform part: sets bitmap and bits
  void Free();                           // platform part

  void* bitmap = nullptr;
  void* bits = nullptr;
  std::uint32_t* topRow = nullptr;
  int width = 0;
  int height = 0;
};
