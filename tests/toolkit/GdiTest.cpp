// MemoryDC and GdiObject, the owners of GDI handles.
#include <gtest/gtest.h>

#include "toolkit/GdiObject.h"
#include "toolkit/MemoryDC.h"
#include "toolkit/ScopedSelect.h"

TEST(MemoryDC, DeletesOnlyWhatItMade) {
  MemoryDC dc;
  ASSERT_TRUE(dc.CreateCompatible(nullptr));
  EXPECT_TRUE(dc.Owns());
  HDC made = dc.Handle();
  EXPECT_TRUE(dc.Delete());
  EXPECT_EQ(nullptr, dc.Handle());
  EXPECT_EQ(0u, GetObjectType(made)) << "the device context is gone";

  HDC screen = GetDC(nullptr);
  {
    MemoryDC borrowed;
    borrowed.Attach(screen);
    EXPECT_FALSE(borrowed.Delete());
    EXPECT_EQ(screen, borrowed.Handle()) << "a borrowed device context stays held";
  }
  EXPECT_NE(0, GetDeviceCaps(screen, HORZRES)) << "and alive after the owner ended";
  ReleaseDC(nullptr, screen);

  MemoryDC forDesktop;
  EXPECT_TRUE(forDesktop.CreateForWindow(GetDesktopWindow()));
  EXPECT_TRUE(forDesktop.Owns());
}

TEST(MemoryDC, TextExtentAndBackgroundMode) {
  MemoryDC dc;
  ASSERT_TRUE(dc.CreateCompatible(nullptr));
  SIZE whole = {}, part = {}, none = {};
  ASSERT_TRUE(dc.TextExtent("Velmorin", -1, whole));
  ASSERT_TRUE(dc.TextExtent("Velmorin", 3, part));
  ASSERT_TRUE(dc.TextExtent("Velmorin", 0, none));
  EXPECT_GT(whole.cx, part.cx);
  EXPECT_GT(part.cx, 0);
  EXPECT_EQ(0, none.cx);
  dc.SetTransparent(true);
  EXPECT_EQ(TRANSPARENT, GetBkMode(dc.Handle()));
  dc.SetTransparent(false);
  EXPECT_EQ(OPAQUE, GetBkMode(dc.Handle()));
}

TEST(GdiObject, EachCreationReplacesTheObjectHeld) {
  GdiObject font;
  ASSERT_TRUE(font.CreateFont(12, 400, SHIFTJIS_CHARSET, "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e"));
  HGDIOBJ first = font.Handle();
  EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(first));
  LOGFONTA logical = {};
  ASSERT_EQ(static_cast<int>(sizeof logical), GetObjectA(first, sizeof logical, &logical));
  EXPECT_EQ(12, logical.lfHeight);
  EXPECT_EQ(SHIFTJIS_CHARSET, logical.lfCharSet);

  ASSERT_TRUE(font.CreateFontFrom(logical));
  EXPECT_EQ(0u, GetObjectType(first)) << "the first font was deleted";

  ASSERT_TRUE(font.CreateSolidBrush(RGB(210, 204, 255)));
  LOGBRUSH brush = {};
  GetObjectA(font.Handle(), sizeof brush, &brush);
  EXPECT_EQ(0xFFCCD2u, brush.lbColor);
  HGDIOBJ brushHandle = font.Handle();
  EXPECT_TRUE(font.Delete());
  EXPECT_EQ(nullptr, font.Handle());
  EXPECT_EQ(0u, GetObjectType(brushHandle));
  EXPECT_FALSE(font.Delete()) << "an empty owner has nothing to delete";
}

TEST(ScopedSelect, PutsThePreviousObjectBack) {
  MemoryDC dc;
  ASSERT_TRUE(dc.CreateCompatible(nullptr));
  GdiObject brush;
  ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 2, 3)));
  HGDIOBJ before = GetCurrentObject(dc.Handle(), OBJ_BRUSH);
  {
    ScopedSelect select(dc.Handle(), brush.Handle());
    EXPECT_EQ(brush.Handle(), GetCurrentObject(dc.Handle(), OBJ_BRUSH));
  }
  EXPECT_EQ(before, GetCurrentObject(dc.Handle(), OBJ_BRUSH));
}
