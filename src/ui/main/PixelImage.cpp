#include "ui/main/PixelImage.h"

#include <cstring>

#include "ui/main/TextMask.h"

bool PixelImage::Create(int newWidth, int newHeight) {
  Release();
  if (newWidth <= 0 || newHeight <= 0) return false;
  if (std::int64_t{newWidth} * newHeight > kMaxPixels) return false;
  if (!Allocate(newWidth, newHeight)) {
    Free();
    bitmap = nullptr;
    bits = nullptr;
    return false;
  }
  width = newWidth;
  height = newHeight;
  topRow = static_cast<std::uint32_t*>(bits) + static_cast<std::int64_t>(width) * (height - 1);
  return true;
}

void PixelImage::Release() {
  if (bitmap || bits) Free();
  bitmap = nullptr;
  bits = nullptr;
  topRow = nullptr;
  width = 0;
  height = 0;
}

void PixelImage::Fill(std::uint32_t value) {
  if (IsEmpty()) return;
  std::uint32_t* p = static_cast<std::uint32_t*>(bits);
  std::int64_t count = std::int64_t{width} * height;
  for (std::int64_t i = 0; i < count; ++i) p[i] = value;
}

void PixelImage::CopyRect(int x, int y, const PixelImage& source, int sx, int sy, int w, int h) {
  if (IsEmpty() || source.IsEmpty()) return;
  if (x < 0 || y < 0 || sx < 0 || sy < 0) return;
  // In 64 bits: the cuts must not overflow for any pair of starts and sizes.
  std::int64_t cw = w, ch = h;
  if (cw > std::int64_t{source.width} - sx) cw = std::int64_t{source.width} - sx;
  if (ch > std::int64_t{source.height} - sy) ch = std::int64_t{source.height} - sy;
  if (cw > std::int64_t{width} - x) cw = std::int64_t{width} - x;
  if (ch > std::int64_t{height} - y) ch = std::int64_t{height} - y;
  if (cw <= 0 || ch <= 0) return;
  std::size_t rowBytes = static_cast<std::size_t>(cw) * sizeof(std::uint32_t);
  for (int r = 0; r < ch; ++r) {
    std::memmove(PixelAt(x, y + r), source.PixelAt(sx, sy + r), rowBytes);
  }
}

void PixelImage::DrawMask(int x, int y, const TextMask& mask, std::uint32_t value) {
  DrawMaskWrapped(x, y, mask.Width(), mask, 0, value);
}

void PixelImage::DrawMaskWrapped(int x, int y, int length, const TextMask& mask, int start,
                                 std::uint32_t value, int rows) {
  if (IsEmpty() || mask.IsEmpty() || length <= 0) return;
  int maskWidth = mask.Width();
  // A start outside the mask (a negative scroll step) is taken modulo its width.
  int first = start % maskWidth;
  if (first < 0) first += maskWidth;
  // Only the columns and rows that land inside the image are visited.
  std::int64_t iBegin = x < 0 ? -std::int64_t{x} : 0;
  std::int64_t iEnd = length;
  if (iEnd > std::int64_t{width} - x) iEnd = std::int64_t{width} - x;
  std::int64_t rBegin = y < 0 ? -std::int64_t{y} : 0;
  std::int64_t rEnd = (rows >= 0 && rows < mask.Height()) ? rows : mask.Height();
  if (rEnd > std::int64_t{height} - y) rEnd = std::int64_t{height} - y;
  if (iBegin >= iEnd || rBegin >= rEnd) return;
  int p0 = static_cast<int>((first + iBegin) % maskWidth);
  for (std::int64_t r = rBegin; r < rEnd; ++r) {
    const std::uint8_t* ink = mask.Row(static_cast<int>(r));
    std::uint32_t* out = PixelAt(static_cast<int>(x + iBegin), static_cast<int>(y + r));
    int p = p0;
    for (std::int64_t i = iBegin; i < iEnd; ++i) {
      if (ink[p]) *out = value;
      ++out;
      if (++p == maskWidth) p = 0;
    }
  }
}
