// The canvas drawn through GDI: the real built-in skin, real fonts, and the
// copy to a window.
#include "ui/main/GdiSkinPlatform_win.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TestWindows.h"
#include "ui/main/SkinCanvas.h"

namespace {

class GdiSkinPlatformTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gdi.Initialize(host.Get()));
    canvas.AttachPlatform(&gdi);
    ASSERT_FALSE(canvas.LoadSkin("no such skin", 50, false));
  }
  void TearDown() override { canvas.AttachPlatform(nullptr); }

  std::uint32_t At(int x, int y) const { return *canvas.WindowImage().PixelAt(x, y); }
  int CountInTitle(std::uint32_t color) const {
    CanvasRect r = canvas.TitleRect();
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += At(x, y) == color ? 1 : 0;
    }
    return n;
  }
  bool TitleShowsBackground() {
    CanvasRect r = canvas.TitleRect();
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        if (At(x, y) != *canvas.SkinImage().PixelAt(x, y)) return false;
      }
    }
    return true;
  }

  HostWindow host;
  SkinCanvas canvas;
  GdiSkinPlatform gdi;  // after the canvas: ends first, detached in TearDown
};

}  // namespace

TEST_F(GdiSkinPlatformTest, BuiltInSkinComesFromTheProgramsResources) {
  EXPECT_EQ(343, canvas.WindowWidth());
  EXPECT_EQ(20, canvas.WindowHeight());
  const PixelImage& sheet = canvas.SkinImage();
  ASSERT_EQ(343, sheet.Width());
  ASSERT_EQ(34, sheet.Height());
  // The background is the sheet's top rows; the play button its frame 0.
  EXPECT_EQ(*sheet.PixelAt(3, 10), At(3, 10));
  for (int y = 0; y < 13; ++y) {
    for (int x = 0; x < 13; ++x) ASSERT_EQ(*sheet.PixelAt(x, 21 + y), At(279 + x, 4 + y)) << x << "," << y;
  }
  // The knob at volume 50 has its left edge at 251.
  EXPECT_EQ(*sheet.PixelAt(205, 21), At(251, 4));
  const void* bytes = nullptr;
  EXPECT_EQ(0u, gdi.LoadBitmapResource(9999, &bytes)) << "a bitmap the program does not carry";
}

TEST_F(GdiSkinPlatformTest, TitleIsRasterisedInTheTitleFontAndColours) {
  ASSERT_TRUE(canvas.SetTitle("Velmorin", false, nullptr));
  EXPECT_FALSE(canvas.IsScrolling());
  EXPECT_GT(CountInTitle(0xFFFFFF), 20) << "white ink of the text colour";
  EXPECT_EQ(0, CountInTitle(0xFF9999));
  // The mask is as wide as GDI measures the text in a 12-pixel font.
  EXPECT_GT(canvas.TitleMask().Width(), 30);
  EXPECT_LT(canvas.TitleMask().Width(), 120);
  EXPECT_GE(canvas.TitleMask().Height(), 10);

  ASSERT_TRUE(canvas.SetTitle("Connect error", true, nullptr));
  EXPECT_GT(CountInTitle(0xFF9999), 20) << "the error colour";
  EXPECT_EQ(0, CountInTitle(0xFFFFFF));

  ASSERT_TRUE(canvas.SetTitle("", false, nullptr));
  EXPECT_TRUE(TitleShowsBackground());
}

TEST_F(GdiSkinPlatformTest, JapaneseTitleDrawsInk) {
  /* 日本語のタイトル */
  ASSERT_TRUE(canvas.SetTitle("\x93\xfa\x96{\x8c\xea\x82\xcc\x83^\x83" "C\x83g\x83\x8b", false, nullptr));
  EXPECT_GT(CountInTitle(0xFFFFFF), 40);
}

TEST_F(GdiSkinPlatformTest, WideTitleScrollsAsABand) {
  std::string wide(80, 'W');
  ASSERT_TRUE(canvas.SetTitle(wide.c_str(), false, nullptr));
  ASSERT_TRUE(canvas.IsScrolling());
  int width = canvas.TitleMask().Width();
  EXPECT_GT(width, canvas.TitleRect().right - canvas.TitleRect().left);
  CanvasRect moved;
  ASSERT_TRUE(canvas.ScrollTitle(4, &moved));
  EXPECT_EQ(4, canvas.ScrollOffset());
  EXPECT_EQ(8, moved.left);
  EXPECT_EQ(215, moved.right);
}

TEST_F(GdiSkinPlatformTest, PaintCopiesTheWindowImageToADevice) {
  ASSERT_TRUE(canvas.SetTitle("Velmorin", false, nullptr));
  PixelImage target;
  ASSERT_TRUE(target.Create(343, 20));
  target.Fill(0x123456);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, static_cast<HBITMAP>(target.Bitmap()));
  canvas.PaintTo(dc);
  GdiFlush();
  SelectObject(dc, previous);
  DeleteDC(dc);
  int differing = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 343; ++x) differing += (*target.PixelAt(x, y) & 0xFFFFFF) != (At(x, y) & 0xFFFFFF);
  }
  EXPECT_EQ(0, differing);
}
