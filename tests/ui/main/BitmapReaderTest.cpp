#include "ui/main/BitmapReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "BitmapSamples.h"
#include "ui/main/PixelImage.h"

namespace {

bool Reads(const std::string& file, std::size_t count) {
  PixelImage image;
  bool ok = ReadBitmapFile(file.data(), count, image);
  EXPECT_EQ(ok, !image.IsEmpty());
  return ok;
}

void Set32(std::string& file, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

TEST(BitmapReader, ReadsEveryDepthRowOrderAndHeaderForm) {
  for (const BitmapSample& sample : BitmapSamples()) {
    SCOPED_TRACE(sample.name);
    PixelImage image;
    ASSERT_TRUE(ReadBitmapFile(sample.file.data(), sample.file.size(), image));
    EXPECT_EQ(sample.width, image.Width());
    EXPECT_EQ(sample.height, image.Height());
    EXPECT_EQ(sample.pixels, ImagePixels(image));
  }
}

// A bitmap resource is the file without its 14-byte header; the built-in
// skin's short colour table (235 entries) decides where its pixels start.
TEST(BitmapReader, PackedFormReadsAsTheFileDoes) {
  std::string file = BuiltInSkinBitmapFile();
  ASSERT_GT(file.size(), 14u);
  PixelImage fromFile;
  PixelImage packed;
  ASSERT_TRUE(ReadBitmapFile(file.data(), file.size(), fromFile));
  ASSERT_TRUE(ReadPackedBitmap(file.data() + 14, file.size() - 14, packed));
  EXPECT_EQ(343, packed.Width());
  EXPECT_EQ(34, packed.Height());
  EXPECT_EQ(ImagePixels(fromFile), ImagePixels(packed));
  EXPECT_NE(*packed.PixelAt(0, 0), *packed.PixelAt(0, 33)) << "the rows are not all one colour";
}

// The crash this reader exists for: a file cut short anywhere before its last
// pixel (only the last row's padding may be missing) is refused whole.
TEST(BitmapReader, RefusesEveryFileCutShort) {
  std::vector<std::string> files = {BuiltInSkinBitmapFile()};
  for (const BitmapSample& sample : BitmapSamples()) files.push_back(sample.file);
  for (const std::string& file : files) {
    ASSERT_TRUE(Reads(file, file.size()));
    bool runLengths = file[30] == 1 || file[30] == 2;
    std::size_t shortest = runLengths ? file.size() : file.size() - 3;
    for (std::size_t n = 0; n < shortest; ++n) {
      ASSERT_FALSE(Reads(file, n)) << n << " of " << file.size() << " bytes";
    }
  }
}

TEST(BitmapReader, RefusesMalformedHeaders) {
  // 24 bits, 2 x 2, 40-byte header: the fields sit at fixed offsets.
  const std::string good = BitmapSamples()[5].file;
  ASSERT_TRUE(Reads(good, good.size()));
  struct Case {
    const char* what;
    std::size_t at;
    std::uint32_t value;
    int width;  // bytes of the field: 1, 2 or 4
  } cases[] = {
      {"not BM", 0, 'X', 1},
      {"OS/2 2.x header", 14, 64, 4},
      {"header longer than the file", 14, 124, 4},
      {"no planes", 26, 0, 2},
      {"3 bits per pixel", 28, 3, 2},
      {"JPEG", 30, 4, 4},
      {"PNG", 30, 5, 4},
      {"run lengths of 24 bits", 30, 1, 4},
      {"zero width", 18, 0, 4},
      {"negative width", 18, 0xFFFFFFFF, 4},
      {"zero height", 22, 0, 4},
      {"most negative height", 22, 0x80000000, 4},
      {"pixels beyond the end", 10, 4096, 4},
      {"pixels inside the header", 10, 20, 4},
  };
  for (const Case& c : cases) {
    std::string bad = good;
    for (int i = 0; i < c.width; ++i) bad[c.at + i] = static_cast<char>((c.value >> (8 * i)) & 0xFF);
    EXPECT_FALSE(Reads(bad, bad.size())) << c.what;
  }

  // Run lengths are stored bottom-up only.
  std::string rle = BitmapSamples()[9].file;
  ASSERT_TRUE(Reads(rle, rle.size()));
  Set32(rle, 22, static_cast<std::uint32_t>(-3));
  EXPECT_FALSE(Reads(rle, rle.size()));

  // Bit-field masks: one run of bits, inside the pixel.
  std::string fields = BitmapSamples()[4].file;  // 5-6-5, masks after the header
  ASSERT_TRUE(Reads(fields, fields.size()));
  std::string split = fields;
  Set32(split, 54, 0xF00F);
  EXPECT_FALSE(Reads(split, split.size())) << "a mask in two pieces";
  std::string wide = fields;
  Set32(wide, 54, 0x1F800);
  EXPECT_FALSE(Reads(wide, wide.size())) << "a mask beyond 16 bits";

  // A packed bitmap whose colour table runs past the end.
  std::string skin = BuiltInSkinBitmapFile();
  PixelImage image;
  Set32(skin, 14 + 32, 0x40000000);
  EXPECT_FALSE(ReadPackedBitmap(skin.data() + 14, skin.size() - 14, image));
}

// Runs, literals and moves that reach past the right edge or the top row are
// cut at the image: nothing is written outside it (AddressSanitizer watches).
TEST(BitmapReader, RunLengthsStayInsideTheImage) {
  std::string rle = BitmapSamples()[9].file;  // 4 x 3, 8-bit runs
  const unsigned char stream[] = {
      9, 1,                          // bottom row: a run of nine, cut to four
      0, 0, 0, 2, 200, 0, 3, 2,      // next row: far to the right, a run there lands nowhere
      0, 0, 0, 5, 3, 3, 3, 3, 3, 0,  // top row: five literal pixels, cut to four
      0, 2, 0, 9,                    // a move up past the top ends the bitmap
  };
  rle.replace(rle.size() - 20, 20, reinterpret_cast<const char*>(stream), sizeof stream);
  PixelImage image;
  ASSERT_TRUE(ReadBitmapFile(rle.data(), rle.size(), image));
  std::vector<std::uint32_t> expected = {0x333333, 0x333333, 0x333333, 0x333333, 0, 0, 0, 0,
                                         0x111111, 0x111111, 0x111111, 0x111111};
  EXPECT_EQ(expected, ImagePixels(image));
}
