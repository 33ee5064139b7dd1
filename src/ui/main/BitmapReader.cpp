#include "ui/main/BitmapReader.h"

#include "ui/main/PixelImage.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

std::uint32_t U16(const std::uint8_t* p) { return p[0] | (std::uint32_t{p[1]} << 8); }
std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}
std::int32_t S32(const std::uint8_t* p) { return static_cast<std::int32_t>(U32(p)); }

std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return (red << 16) | (green << 8) | blue;
}

// A mask must be one run of set bits that fits the pixel.
bool MaskIsUsable(std::uint32_t mask, int bitsPerPixel) {
  if (bitsPerPixel < 32 && (mask >> bitsPerPixel) != 0) return false;
  if (mask == 0) return true;
  while ((mask & 1) == 0) mask >>= 1;
  return (mask & (mask + 1)) == 0;
}

// One channel of a 16- or 32-bit pixel, brought to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit Channel(std::uint32_t m) : mask(m) {
    if (m == 0) return;
    while (((m >> shift) & 1) == 0) ++shift;
    while (bits + shift < 32 && ((m >> (shift + bits)) & 1) != 0) ++bits;
  }

  // Fewer than 8 bits are widened by repeating them, as GDI does: 5-bit
  // 0x1F gives 0xFF and 0x10 gives 0x84.
  std::uint32_t Of(std::uint32_t pixel) const {
    if (bits == 0) return 0;
    std::uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return v >> (bits - 8);
    std::uint32_t wide = v << (8 - bits);
    for (int filled = bits; filled < 8; filled *= 2) wide |= wide >> filled;
    return wide;
  }
};

bool ValidHeaderSize(std::uint32_t size) {
  return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 52 || size == 56 || size == 108 ||
         size == 124;
}

bool ValidDepth(int bitsPerPixel, std::uint32_t compression) {
  switch (compression) {
    case kBitmapRgb:
      return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 16 ||
             bitsPerPixel == 24 || bitsPerPixel == 32;
    case kBitmapRle8:
      return bitsPerPixel == 8;
    case kBitmapRle4:
      return bitsPerPixel == 4;
    case kBitmapBitFields:
      return bitsPerPixel == 16 || bitsPerPixel == 32;
    default:
      return false;  // JPEG, PNG and the rest are not skin bitmaps
  }
}

void DecodeRow(const std::uint8_t* in, const BitmapLayout& layout, const Channel* channels, std::uint32_t* out) {
  int width = layout.width;
  switch (layout.bitsPerPixel) {
    case 1:
      for (int x = 0; x < width; ++x) out[x] = layout.colors[(in[x >> 3] >> (7 - (x & 7))) & 1];
      break;
    case 4:
      for (int x = 0; x < width; ++x) out[x] = layout.colors[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
      break;
    case 8:
      for (int x = 0; x < width; ++x) out[x] = layout.colors[in[x]];
      break;
    case 16:
      for (int x = 0; x < width; ++x) {
        std::uint32_t v = U16(in + 2 * x);
        out[x] = Rgb(channels[0].Of(v), channels[1].Of(v), channels[2].Of(v));
      }
      break;
    case 24:
      for (int x = 0; x < width; ++x) out[x] = Rgb(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
      break;
    default:  // 32
      for (int x = 0; x < width; ++x) {
        std::uint32_t v = U32(in + 4 * x);
        out[x] = Rgb(channels[0].Of(v), channels[1].Of(v), channels[2].Of(v));
      }
      break;
  }
}

bool DecodeRows(const std::uint8_t* bytes, std::size_t count, const BitmapLayout& layout, PixelImage& image) {
  std::uint64_t rowBits = std::uint64_t{static_cast<std::uint32_t>(layout.width)} * layout.bitsPerPixel;
  std::uint64_t stride = (rowBits + 31) / 32 * 4;
  std::uint64_t rowBytes = (rowBits + 7) / 8;
  // The last row's padding may be missing; its pixels may not.
  std::uint64_t needed = stride * (static_cast<std::uint64_t>(layout.height) - 1) + rowBytes;
  if (needed > count - layout.pixelOffset) return false;
  if (!image.Create(layout.width, layout.height)) return false;
  Channel channels[3] = {Channel(layout.masks[0]), Channel(layout.masks[1]), Channel(layout.masks[2])};
  const std::uint8_t* row = bytes + layout.pixelOffset;
  for (int i = 0; i < layout.height; ++i, row += stride) {
    int y = layout.topDown ? i : layout.height - 1 - i;
    DecodeRow(row, layout, channels, image.PixelAt(0, y));
  }
  return true;
}

// Run-length pixels: pairs (count, colour), or an escape (0, code): 0 ends a
// row, 1 ends the bitmap, 2 moves right and up by the next two bytes, and 3 or
// more is that many literal pixels padded to an even byte count. Pixels that
// fall outside the image are dropped; pixels never written stay black.
bool DecodeRunLengths(const std::uint8_t* bytes, std::size_t count, const BitmapLayout& layout, PixelImage& image) {
  if (!image.Create(layout.width, layout.height)) return false;
  const bool four = layout.compression == kBitmapRle4;
  const std::int64_t width = layout.width;
  const std::int64_t height = layout.height;
  std::int64_t x = 0;
  std::int64_t y = 0;  // rows from the bottom
  auto put = [&](std::uint32_t index) {
    if (x < width && y < height) *image.PixelAt(static_cast<int>(x), static_cast<int>(height - 1 - y)) = layout.colors[index];
    if (x < width) ++x;
  };
  std::size_t p = layout.pixelOffset;
  while (y < height) {
    if (count - p < 2) {
      image.Release();
      return false;
    }
    std::uint32_t n = bytes[p];
    std::uint32_t code = bytes[p + 1];
    p += 2;
    if (n > 0) {
      for (std::uint32_t i = 0; i < n && x < width; ++i) put(four ? ((i & 1) ? code & 0x0F : code >> 4) : code);
    } else if (code == 0) {
      x = 0;
      ++y;
    } else if (code == 1) {
      return true;
    } else if (code == 2) {
      if (count - p < 2) {
        image.Release();
        return false;
      }
      x += bytes[p];
      y += bytes[p + 1];
      if (x > width) x = width;
      p += 2;
    } else {
      std::size_t literal = four ? (code + 1) / 2 : code;
      std::size_t padded = (literal + 1) & ~std::size_t{1};
      if (count - p < padded) {
        image.Release();
        return false;
      }
      for (std::uint32_t i = 0; i < code; ++i) {
        std::uint8_t b = bytes[p + (four ? i / 2 : i)];
        put(four ? ((i & 1) ? b & 0x0F : b >> 4) : b);
      }
      p += padded;
    }
  }
  return true;  // every row ended: what follows cannot land in the image
}

}  // namespace

bool ReadBitmapLayout(const void* data, std::size_t count, bool withFileHeader, BitmapLayout* layout) {
  const std::uint8_t* bytes = static_cast<const std::uint8_t*>(data);
  if (!bytes || !layout) return false;
  std::size_t start = 0;
  std::uint32_t pixelOffset = 0;
  if (withFileHeader) {
    if (count < kFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') return false;
    pixelOffset = U32(bytes + 10);
    start = kFileHeaderSize;
  }
  if (count - start < 4) return false;
  const std::uint8_t* h = bytes + start;
  std::uint32_t headerSize = U32(h);
  if (!ValidHeaderSize(headerSize) || headerSize > count - start) return false;

  BitmapLayout l;
  std::int64_t width;
  std::int64_t height;
  std::uint32_t planes;
  std::uint32_t used = 0;
  std::size_t entrySize = 4;
  if (headerSize == kCoreHeaderSize) {
    width = U16(h + 4);
    height = U16(h + 6);
    planes = U16(h + 8);
    l.bitsPerPixel = static_cast<int>(U16(h + 10));
    entrySize = 3;
  } else {
    width = S32(h + 4);
    height = S32(h + 8);
    planes = U16(h + 12);
    l.bitsPerPixel = static_cast<int>(U16(h + 14));
    l.compression = U32(h + 16);
    used = U32(h + 32);
  }
  if (planes != 1 || !ValidDepth(l.bitsPerPixel, l.compression)) return false;
  l.topDown = height < 0;
  if (l.topDown) height = -height;
  // Run lengths are stored bottom-up only.
  if (l.topDown && l.compression != kBitmapRgb && l.compression != kBitmapBitFields) return false;
  if (width <= 0 || height <= 0 || width * height > PixelImage::kMaxPixels) return false;
  l.width = static_cast<int>(width);
  l.height = static_cast<int>(height);

  std::uint64_t tableStart = start + std::uint64_t{headerSize};
  if (l.compression == kBitmapBitFields) {
    const std::uint8_t* m = h + kInfoHeaderSize;
    if (headerSize == kInfoHeaderSize) {
      // The three masks follow a 40-byte header; longer headers hold them.
      if (count - tableStart < 12) return false;
      m = bytes + tableStart;
      tableStart += 12;
    }
    for (int i = 0; i < 3; ++i) l.masks[i] = U32(m + 4 * i);
  } else if (l.bitsPerPixel == 16) {
    l.masks[0] = 0x7C00;
    l.masks[1] = 0x03E0;
    l.masks[2] = 0x001F;
  } else if (l.bitsPerPixel == 32) {
    l.masks[0] = 0x00FF0000;
    l.masks[1] = 0x0000FF00;
    l.masks[2] = 0x000000FF;
  }
  for (std::uint32_t mask : l.masks) {
    if (!MaskIsUsable(mask, l.bitsPerPixel)) return false;
  }

  // A table entry is blue, green, red (and a spare byte but in the core form).
  std::uint64_t entries = used;
  if (l.bitsPerPixel <= 8) {
    std::uint64_t full = std::uint64_t{1} << l.bitsPerPixel;
    if (entries == 0 || headerSize == kCoreHeaderSize) entries = full;
    std::uint64_t read = entries < full ? entries : full;
    if (read * entrySize > count - tableStart) return false;
    for (std::uint64_t i = 0; i < read; ++i) {
      const std::uint8_t* e = bytes + tableStart + i * entrySize;
      l.colors[i] = Rgb(e[2], e[1], e[0]);
    }
  }
  std::uint64_t tableEnd = tableStart + entries * entrySize;
  if (withFileHeader) {
    if (pixelOffset < start + std::uint64_t{headerSize} || pixelOffset > count) return false;
    l.pixelOffset = pixelOffset;
  } else {
    if (tableEnd > count) return false;
    l.pixelOffset = static_cast<std::size_t>(tableEnd);
  }
  *layout = l;
  return true;
}

bool DecodeBitmap(const void* data, std::size_t count, const BitmapLayout& layout, PixelImage& image) {
  image.Release();
  const std::uint8_t* bytes = static_cast<const std::uint8_t*>(data);
  if (!bytes || layout.pixelOffset > count || layout.width <= 0 || layout.height <= 0 ||
      !ValidDepth(layout.bitsPerPixel, layout.compression)) {
    return false;
  }
  if (layout.compression == kBitmapRle8 || layout.compression == kBitmapRle4) {
    return DecodeRunLengths(bytes, count, layout, image);
  }
  return DecodeRows(bytes, count, layout, image);
}

namespace {

bool ReadBitmap(const void* bytes, std::size_t count, bool withFileHeader, PixelImage& image) {
  BitmapLayout layout;
  if (!ReadBitmapLayout(bytes, count, withFileHeader, &layout)) {
    image.Release();
    return false;
  }
  return DecodeBitmap(bytes, count, layout, image);
}

}  // namespace

bool ReadBitmapFile(const void* bytes, std::size_t count, PixelImage& image) {
  return ReadBitmap(bytes, count, true, image);
}

bool ReadPackedBitmap(const void* bytes, std::size_t count, PixelImage& image) {
  return ReadBitmap(bytes, count, false, image);
}
