#include "BitmapSamples.h"

#include <fstream>
#include <sstream>

#include "ui/main/PixelImage.h"

namespace {

struct Spec {
  std::uint32_t headerSize = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: top-down
  int bitsPerPixel = 0;
  std::uint32_t compression = 0;
  std::uint32_t used = 0;
  std::vector<std::uint32_t> masks;  // red, green, blue
  std::vector<std::uint32_t> table;  // 0x00RRGGBB
  std::vector<std::uint8_t> pixels;
};

void Put16(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

std::string MakeFile(const Spec& spec) {
  std::string header;
  Put32(header, spec.headerSize);
  if (spec.headerSize == 12) {
    Put16(header, static_cast<std::uint32_t>(spec.width));
    Put16(header, static_cast<std::uint32_t>(spec.height));
    Put16(header, 1);
    Put16(header, spec.bitsPerPixel);
  } else {
    Put32(header, static_cast<std::uint32_t>(spec.width));
    Put32(header, static_cast<std::uint32_t>(spec.height));
    Put16(header, 1);
    Put16(header, spec.bitsPerPixel);
    Put32(header, spec.compression);
    Put32(header, static_cast<std::uint32_t>(spec.pixels.size()));
    Put32(header, 2835);
    Put32(header, 2835);
    Put32(header, spec.used);
    Put32(header, 0);
    // Masks sit inside a longer header, after a 40-byte one.
    if (spec.headerSize > 40) {
      for (std::uint32_t mask : spec.masks) Put32(header, mask);
    }
    header.resize(spec.headerSize, '\0');
    if (spec.headerSize == 40) {
      for (std::uint32_t mask : spec.masks) Put32(header, mask);
    }
  }
  for (std::uint32_t color : spec.table) {
    header += static_cast<char>(color & 0xFF);
    header += static_cast<char>((color >> 8) & 0xFF);
    header += static_cast<char>((color >> 16) & 0xFF);
    if (spec.headerSize != 12) header += '\0';
  }
  std::string file = "BM";
  std::uint32_t offset = 14 + static_cast<std::uint32_t>(header.size());
  Put32(file, offset + static_cast<std::uint32_t>(spec.pixels.size()));
  Put32(file, 0);
  Put32(file, offset);
  file += header;
  file.append(spec.pixels.begin(), spec.pixels.end());
  return file;
}

BitmapSample Sample(const char* name, const Spec& spec, std::vector<std::uint32_t> pixels) {
  BitmapSample s;
  s.name = name;
  s.file = MakeFile(spec);
  s.width = spec.width;
  s.height = spec.height < 0 ? -spec.height : spec.height;
  s.pixels = std::move(pixels);
  return s;
}

}  // namespace

std::vector<BitmapSample> BitmapSamples() {
  std::vector<BitmapSample> all;
  Spec s;

  s = Spec{40, 3, 2, 1, 0, 0, {}, {0xFF0000, 0x0000FF}, {0xC0, 0, 0, 0, 0x40, 0, 0, 0}};
  all.push_back(Sample("1 bit, bottom-up", s, {0xFF0000, 0x0000FF, 0xFF0000, 0x0000FF, 0x0000FF, 0xFF0000}));

  s = Spec{40, 3, -2, 4, 0, 4, {}, {0x000000, 0xFFFFFF, 0x112233, 0x445566}, {0x23, 0x10, 0, 0, 0x10, 0x20, 0, 0}};
  all.push_back(Sample("4 bits, top-down", s, {0x112233, 0x445566, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x112233}));

  // Two colours in the table: index 7 has none and reads as black.
  s = Spec{40, 2, 2, 8, 0, 2, {}, {0x010203, 0x040506}, {1, 7, 0, 0, 0, 1, 0, 0}};
  all.push_back(Sample("8 bits, short table", s, {0x010203, 0x040506, 0x040506, 0x000000}));

  s = Spec{40, 2, 1, 16, 0, 0, {}, {}, {0x00, 0x7C, 0x10, 0x42}};
  all.push_back(Sample("16 bits, 5-5-5", s, {0xFF0000, 0x848484}));

  s = Spec{40, 2, 1, 16, 3, 0, {0xF800, 0x07E0, 0x001F}, {}, {0xE0, 0x07, 0x10, 0x80}};
  all.push_back(Sample("16 bits, 5-6-5 bit fields", s, {0x00FF00, 0x840084}));

  s = Spec{40, 2, 2, 24, 0, 0, {}, {}, {1, 2, 3, 4, 5, 6, 0, 0, 10, 11, 12, 13, 14, 15, 0, 0}};
  all.push_back(Sample("24 bits, padded rows", s, {0x0C0B0A, 0x0F0E0D, 0x030201, 0x060504}));

  s = Spec{40, 2, 1, 32, 0, 0, {}, {}, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}};
  all.push_back(Sample("32 bits", s, {0x332211, 0x776655}));

  s = Spec{124, 1, -2, 32, 3, 0, {0x000000FF, 0x0000FF00, 0x00FF0000}, {}, {0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0}};
  all.push_back(Sample("32 bits, 124-byte header, bit fields, top-down", s, {0x112233, 0x445566}));

  std::vector<std::uint32_t> coreTable(256, 0x777777);
  coreTable[0] = 0x102030;
  coreTable[255] = 0xA0B0C0;
  s = Spec{12, 2, 1, 8, 0, 0, {}, coreTable, {0, 255, 0, 0}};
  all.push_back(Sample("8 bits, 12-byte core header", s, {0x102030, 0xA0B0C0}));

  // Bottom row: a run of three. Middle: three literal pixels (padded to an
  // even count). Top: a move two to the right, then a run of two. The
  // pixels never written stay black.
  s = Spec{40, 4, 3, 8, 1, 4, {}, {0x000000, 0x111111, 0x222222, 0x333333},
           {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1}};
  all.push_back(Sample("8-bit run lengths", s,
                       {0, 0, 0x333333, 0x333333, 0x222222, 0x333333, 0x111111, 0, 0x111111, 0x111111, 0x111111, 0}));

  s = Spec{40, 5, 2, 4, 2, 5, {}, {0x000000, 0x111111, 0x222222, 0x333333, 0x444444},
           {5, 0x12, 0, 0, 0, 3, 0x31, 0x20, 2, 0x44, 0, 1}};
  all.push_back(Sample("4-bit run lengths", s,
                       {0x333333, 0x111111, 0x222222, 0x444444, 0x444444, 0x111111, 0x222222, 0x111111, 0x222222,
                        0x111111}));
  return all;
}

std::vector<std::uint32_t> ImagePixels(const PixelImage& image) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) pixels.push_back(*image.PixelAt(x, y));
  }
  return pixels;
}

std::string BuiltInSkinBitmapFile() {
  std::ifstream in(VELMORIN_SOURCE_DIR "/src/resources/skin.bmp", std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}
