// The reader against the platform's own decoders: every sample file gives the
// pixels GDI draws from it, and the built-in skin resource the pixels that
// LoadImageA gives. (Wine's LoadImageA reads top-down files as black, so the
// files are drawn with SetDIBitsToDevice instead.)
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "BitmapSamples.h"
#include "ui/main/BitmapReader.h"
#include "ui/main/PixelImage.h"

namespace {

BITMAPINFOHEADER TopDown32(int width, int height) {
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  return header;
}

std::vector<std::uint32_t> Opaque(const std::uint32_t* pixels, std::size_t count) {
  std::vector<std::uint32_t> out(pixels, pixels + count);
  for (std::uint32_t& p : out) p &= 0x00FFFFFF;
  return out;
}

// The file's header and pixels drawn by GDI into a 32-bit section.
std::vector<std::uint32_t> DrawnPixels(const std::string& file, int width, int height) {
  BITMAPINFO want = {};
  want.bmiHeader = TopDown32(width, height);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &want, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, section);
  std::uint32_t offset;
  std::memcpy(&offset, file.data() + 10, sizeof offset);
  int rows = SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, file.data() + offset,
                               reinterpret_cast<const BITMAPINFO*>(file.data() + 14), DIB_RGB_COLORS);
  GdiFlush();
  std::vector<std::uint32_t> pixels;
  if (rows > 0) pixels = Opaque(static_cast<std::uint32_t*>(bits), static_cast<std::size_t>(width) * height);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(section);
  return pixels;
}

// A loaded bitmap's pixels, top row first.
std::vector<std::uint32_t> LoadedPixels(HBITMAP bitmap) {
  BITMAP info = {};
  if (!bitmap || GetObjectA(bitmap, sizeof info, &info) == 0) return {};
  BITMAPINFO want = {};
  want.bmiHeader = TopDown32(info.bmWidth, info.bmHeight);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(info.bmWidth) * info.bmHeight);
  HDC screen = GetDC(nullptr);
  int rows = GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &want, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  if (rows != info.bmHeight) return {};
  return Opaque(pixels.data(), pixels.size());
}

}  // namespace

TEST(BitmapReader, ReadsEveryFileAsGdiDrawsIt) {
  for (const BitmapSample& sample : BitmapSamples()) {
    SCOPED_TRACE(sample.name);
    PixelImage image;
    ASSERT_TRUE(ReadBitmapFile(sample.file.data(), sample.file.size(), image));
    std::vector<std::uint32_t> drawn = DrawnPixels(sample.file, sample.width, sample.height);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn, ImagePixels(image));
  }
}

TEST(BitmapReader, ReadsTheBuiltInSkinResourceAsLoadImageDoes) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(302), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  ASSERT_NE(nullptr, found);
  const void* bytes = LockResource(LoadResource(module, found));
  PixelImage image;
  ASSERT_TRUE(ReadPackedBitmap(bytes, SizeofResource(module, found), image));
  HANDLE loaded = LoadImageA(module, MAKEINTRESOURCEA(302), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  std::vector<std::uint32_t> expected = LoadedPixels(static_cast<HBITMAP>(loaded));
  ASSERT_EQ(343u * 34u, expected.size());
  EXPECT_EQ(expected, ImagePixels(image));
}
