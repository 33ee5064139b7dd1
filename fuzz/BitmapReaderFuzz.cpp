// Any bytes as a skin bitmap file and as a packed bitmap resource. A layout
// that is accepted keeps its colour table and pixel start inside the bytes,
// and a decoded image has the size the headers give; AddressSanitizer catches
// any read past the bytes or write past the image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ui/main/BitmapReader.h"
#include "ui/main/PixelImage.h"

namespace {

void Check(const std::uint8_t* data, std::size_t size, bool withFileHeader) {
  BitmapLayout layout;
  if (!ReadBitmapLayout(data, size, withFileHeader, &layout)) return;
  if (layout.pixelOffset > size || layout.width <= 0 || layout.height <= 0) std::abort();
  // Run lengths can describe a huge image in a few bytes; such sizes decode
  // no differently from small ones and would only slow each run.
  if (std::int64_t{layout.width} * layout.height > (1 << 16)) return;
  PixelImage image;
  if (DecodeBitmap(data, size, layout, image)) {
    if (image.Width() != layout.width || image.Height() != layout.height) std::abort();
    // Every pixel is 0x00RRGGBB.
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width(); ++x) {
        if (*image.PixelAt(x, y) >> 24) std::abort();
      }
    }
  } else if (!image.IsEmpty()) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Check(data, size, true);
  Check(data, size, false);
  return 0;
}
