#include "ui/main/TextMask.h"

#include <cstdlib>

bool TextMask::Allocate(int newWidth, int newHeight) {
  Release();
  if (newWidth <= 0 || newHeight <= 0) return false;
  std::int64_t count = std::int64_t{newWidth} * newHeight;
  if (count > kMaxPixels) return false;
  bits = static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(count), 1));
  if (!bits) return false;
  width = newWidth;
  height = newHeight;
  return true;
}

void TextMask::Release() {
  std::free(bits);
  bits = nullptr;
  width = 0;
  height = 0;
}
