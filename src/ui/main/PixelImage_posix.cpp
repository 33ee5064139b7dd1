#include <cstdlib>

#include "ui/main/PixelImage.h"

bool PixelImage::Allocate(int newWidth, int newHeight) {
  std::size_t count = static_cast<std::size_t>(newWidth) * static_cast<std::size_t>(newHeight);
  bits = std::calloc(count, sizeof(std::uint32_t));
  bitmap = nullptr;
  return bits != nullptr;
}

void PixelImage::Free() { std::free(bits); }
