#include "ui/main/PixelImage.h"

#include <gtest/gtest.h>

#include "ui/main/TextMask.h"

namespace {

// Every pixel tells where it is: x * 256 + y.
void Number(PixelImage& image) {
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) *image.PixelAt(x, y) = static_cast<std::uint32_t>(x * 256 + y);
  }
}

int CountValue(const PixelImage& image, std::uint32_t value) {
  int n = 0;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) n += (*image.PixelAt(x, y) == value);
  }
  return n;
}

// One row of ink from a pattern: '#' is ink.
void SetMaskRow(TextMask& mask, int row, const char* pattern) {
  for (int c = 0; c < mask.Width(); ++c) mask.Row(row)[c] = pattern[c] == '#' ? 0xFF : 0;
}

std::string RowOf(const PixelImage& image, int y, std::uint32_t ink) {
  std::string s;
  for (int x = 0; x < image.Width(); ++x) s += (*image.PixelAt(x, y) == ink) ? '#' : '.';
  return s;
}

}  // namespace

TEST(PixelImage, StoresRowsBottomUp) {
  PixelImage image;
  ASSERT_TRUE(image.Create(4, 3));
  EXPECT_EQ(4, image.Width());
  EXPECT_EQ(3, image.Height());
  EXPECT_EQ(12, CountValue(image, 0)) << "a new image is black";
  std::uint32_t* block = static_cast<std::uint32_t*>(image.Bits());
  EXPECT_EQ(block + 8, image.TopRow()) << "the top row is the last in memory";
  EXPECT_EQ(image.TopRow() + 1 - 4, image.PixelAt(1, 1));
  EXPECT_EQ(block + 3, image.PixelAt(3, 2));
  image.Fill(0x123456);
  EXPECT_EQ(12, CountValue(image, 0x123456));
}

TEST(PixelImage, CreateRejectsImpossibleSizesAndReleases) {
  PixelImage image;
  ASSERT_TRUE(image.Create(2, 2));
  EXPECT_FALSE(image.Create(0, 5));
  EXPECT_TRUE(image.IsEmpty()) << "the old block is released first";
  EXPECT_FALSE(image.Create(5, -1));
  EXPECT_FALSE(image.Create(65536, 65536));
  EXPECT_FALSE(image.Create(2147483647, 2));
  EXPECT_EQ(0, image.Width());
  EXPECT_EQ(nullptr, image.TopRow());
  image.Fill(1);  // harmless on an empty image
}

TEST(PixelImage, CopyRectCopiesRowsFromTheTop) {
  PixelImage source, target;
  ASSERT_TRUE(source.Create(10, 8));
  ASSERT_TRUE(target.Create(6, 5));
  Number(source);
  target.CopyRect(1, 2, source, 4, 3, 2, 3);
  EXPECT_EQ(24, CountValue(target, 0));
  EXPECT_EQ(4u * 256 + 3, *target.PixelAt(1, 2));
  EXPECT_EQ(5u * 256 + 3, *target.PixelAt(2, 2));
  EXPECT_EQ(4u * 256 + 5, *target.PixelAt(1, 4));
  EXPECT_EQ(5u * 256 + 5, *target.PixelAt(2, 4));
  EXPECT_EQ(0u, *target.PixelAt(3, 2));
  EXPECT_EQ(0u, *target.PixelAt(1, 1));
}

TEST(PixelImage, CopyRectCutsToBothImages) {
  PixelImage source, target;
  ASSERT_TRUE(source.Create(10, 8));
  ASSERT_TRUE(target.Create(6, 5));
  Number(source);
  // Hangs over the target's right and bottom edges: the 2 x 2 inside is copied.
  target.CopyRect(4, 3, source, 0, 0, 5, 5);
  EXPECT_EQ(0u * 256 + 0, *target.PixelAt(4, 3));
  EXPECT_EQ(1u * 256 + 1, *target.PixelAt(5, 4));
  EXPECT_EQ(27, CountValue(target, 0)) << "4 copied, one of them the 0 of (0, 0)";

  // Hangs over the source's right and bottom edges.
  target.Fill(7);
  target.CopyRect(0, 0, source, 8, 6, 5, 5);
  EXPECT_EQ(8u * 256 + 6, *target.PixelAt(0, 0));
  EXPECT_EQ(9u * 256 + 7, *target.PixelAt(1, 1));
  EXPECT_EQ(26, CountValue(target, 7));

  // Starts left of or above an image, or a size that is not positive: nothing.
  target.Fill(7);
  target.CopyRect(-1, 0, source, 0, 0, 3, 3);
  target.CopyRect(0, -1, source, 0, 0, 3, 3);
  target.CopyRect(0, 0, source, -1, 0, 3, 3);
  target.CopyRect(0, 0, source, 0, -1, 3, 3);
  target.CopyRect(0, 0, source, 0, 0, 0, 3);
  target.CopyRect(0, 0, source, 0, 0, 3, -2);
  target.CopyRect(6, 0, source, 0, 0, 3, 3);
  target.CopyRect(0, 0, source, 10, 0, 3, 3);
  target.CopyRect(2147483647, 2147483647, source, 0, 0, 2147483647, 2147483647);
  target.CopyRect(0, 0, source, 2147483647, 0, 2147483647, 2147483647);
  EXPECT_EQ(30, CountValue(target, 7));
}

TEST(PixelImage, DrawMaskSetsInkPixelsOnlyAndStaysInside) {
  PixelImage image;
  ASSERT_TRUE(image.Create(8, 3));
  TextMask mask;
  ASSERT_TRUE(mask.Allocate(4, 2));
  SetMaskRow(mask, 0, "#..#");
  SetMaskRow(mask, 1, ".##.");
  image.DrawMask(1, 1, mask, 5);
  EXPECT_EQ("........", RowOf(image, 0, 5));
  EXPECT_EQ(".#..#...", RowOf(image, 1, 5));
  EXPECT_EQ("..##....", RowOf(image, 2, 5));

  // Over every edge: only the part inside is drawn.
  image.Fill(0);
  image.DrawMask(-2, -1, mask, 5);
  EXPECT_EQ("#.......", RowOf(image, 0, 5));
  image.Fill(0);
  image.DrawMask(6, 2, mask, 5);
  EXPECT_EQ("......#.", RowOf(image, 2, 5));
  image.DrawMask(8, 0, mask, 5);
  image.DrawMask(0, 3, mask, 5);
  image.DrawMask(-4, 0, mask, 5);
  image.DrawMask(-2147483647, -2147483647, mask, 5);
  image.DrawMask(2147483647, 2147483647, mask, 5);
  EXPECT_EQ(1, CountValue(image, 5));
}

TEST(PixelImage, DrawMaskWrappedReadsTheMaskAsABand) {
  PixelImage image;
  ASSERT_TRUE(image.Create(10, 1));
  TextMask mask;
  ASSERT_TRUE(mask.Allocate(5, 1));
  SetMaskRow(mask, 0, "#.##.");
  image.DrawMaskWrapped(0, 0, 10, mask, 0, 9);
  EXPECT_EQ("#.##.#.##.", RowOf(image, 0, 9));
  image.Fill(0);
  image.DrawMaskWrapped(1, 0, 6, mask, 3, 9);
  EXPECT_EQ(".#.#.##...", RowOf(image, 0, 9)) << "columns 3, 4, 0, 1, 2, 3";
  // A start outside the mask is taken modulo its width, negative ones too.
  image.Fill(0);
  image.DrawMaskWrapped(0, 0, 5, mask, 8, 9);
  EXPECT_EQ("#.#.#.....", RowOf(image, 0, 9));
  image.Fill(0);
  image.DrawMaskWrapped(0, 0, 5, mask, -2, 9);
  EXPECT_EQ("#.#.#.....", RowOf(image, 0, 9));
  // Columns left of the image are skipped without losing the band's phase.
  image.Fill(0);
  image.DrawMaskWrapped(-3, 0, 8, mask, 0, 9);
  EXPECT_EQ("#.#.#.....", RowOf(image, 0, 9)) << "columns 3, 4, 0, 1, 2";
  image.Fill(0);
  image.DrawMaskWrapped(0, 0, 0, mask, 0, 9);
  image.DrawMaskWrapped(0, 0, -5, mask, 0, 9);
  EXPECT_EQ(0, CountValue(image, 9));
}

TEST(PixelImage, DrawMaskWrappedDrawsAtMostTheRowsAsked) {
  PixelImage image;
  ASSERT_TRUE(image.Create(3, 3));
  TextMask mask;
  ASSERT_TRUE(mask.Allocate(3, 3));
  for (int r = 0; r < 3; ++r) SetMaskRow(mask, r, "###");
  image.DrawMaskWrapped(0, 0, 3, mask, 0, 4, 2);
  EXPECT_EQ(6, CountValue(image, 4));
  image.DrawMaskWrapped(0, 0, 3, mask, 0, 5, 0);
  EXPECT_EQ(0, CountValue(image, 5));
  image.DrawMaskWrapped(0, 0, 3, mask, 0, 6, 99);
  EXPECT_EQ(9, CountValue(image, 6));
}

TEST(TextMask, AllocatesZeroedRowsTopDown) {
  TextMask mask;
  EXPECT_TRUE(mask.IsEmpty());
  ASSERT_TRUE(mask.Allocate(3, 2));
  EXPECT_EQ(mask.Row(0) + 3, mask.Row(1));
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 3; ++c) EXPECT_EQ(0, mask.Row(r)[c]);
  }
  EXPECT_FALSE(mask.Allocate(0, 2));
  EXPECT_TRUE(mask.IsEmpty());
  EXPECT_FALSE(mask.Allocate(100000, 100000));
  EXPECT_EQ(0, mask.Width());
}

#ifdef _WIN32
#include <windows.h>

TEST(PixelImage, IsABottomUpSectionWithChannelMasks) {
  PixelImage image;
  ASSERT_TRUE(image.Create(7, 5));
  ASSERT_NE(nullptr, image.Bitmap());
  DIBSECTION section = {};
  ASSERT_EQ(static_cast<int>(sizeof section), GetObjectA(static_cast<HBITMAP>(image.Bitmap()), sizeof section, &section));
  EXPECT_EQ(image.Bits(), section.dsBm.bmBits);
  EXPECT_EQ(7, section.dsBmih.biWidth);
  EXPECT_EQ(5, section.dsBmih.biHeight) << "positive: rows bottom-up";
  EXPECT_EQ(32, section.dsBmih.biBitCount);
  EXPECT_EQ(static_cast<DWORD>(BI_BITFIELDS), section.dsBmih.biCompression);
  EXPECT_EQ(0x00FF0000u, section.dsBitfields[0]);
  EXPECT_EQ(0x0000FF00u, section.dsBitfields[1]);
  EXPECT_EQ(0x000000FFu, section.dsBitfields[2]);
  // GDI sees what the pixel operations write: (x, y) from the top-left.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, static_cast<HBITMAP>(image.Bitmap()));
  *image.PixelAt(2, 1) = 0x00123456;
  EXPECT_EQ(RGB(0x12, 0x34, 0x56), GetPixel(dc, 2, 1));
  SetPixel(dc, 6, 4, RGB(0xAB, 0xCD, 0xEF));
  GdiFlush();
  EXPECT_EQ(0x00ABCDEFu, *image.PixelAt(6, 4));
  SelectObject(dc, old);
  DeleteDC(dc);
}
#endif
