#include "ui/main/SkinCanvas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "FakeCanvasPlatform.h"
#include "toolkit/Platform.h"

namespace {

namespace fs = std::filesystem;

using Fake = FakeCanvasPlatform;

// Skin files in the "skin" folder beside the test program, named after the
// running test so that parallel tests never meet; removed at the end.
class SkinFolder {
 public:
  SkinFolder() {
    char exe[1024];
    platform::ExecutablePath(exe, sizeof exe);
    std::string path = exe;
    path.erase(path.find_last_of("\\/") + 1);
    dir = fs::path(path) / "skin";
    fs::create_directories(dir);
    name = testing::UnitTest::GetInstance()->current_test_info()->name();
  }
  ~SkinFolder() {
    std::error_code ignored;
    fs::remove(dir / (name + ".ini"), ignored);
    fs::remove(dir / (name + ".bmp"), ignored);
  }
  void Write(const std::string& extension, const std::string& bytes) const {
    std::ofstream out(dir / (name + extension), std::ios::binary);
    out << bytes;
  }
  fs::path dir;
  std::string name;
};

const std::string kSmallSkin =
    "[skin]\r\nmain_rc=0,0,99,19\r\ntitle_rc=0,0,49,11\r\nplay_bt=0,21,38,33,60,4\r\nrec_bt=0,21,38,33,80,4\r\n";

class SkinCanvasTest : public testing::Test {
 protected:
  void SetUp() override { canvas.AttachPlatform(&fake); }
  void TearDown() override { canvas.AttachPlatform(nullptr); }

  void LoadBuiltIn(int volume = 50, bool muted = false) {
    ASSERT_FALSE(canvas.LoadSkin("no such skin", volume, muted));
    ASSERT_EQ(343, canvas.WindowWidth());
  }
  // Replaces the built-in text by another, then loads it as the built-in skin.
  void LoadText(const std::string& text) {
    fake.skinText = text;
    canvas.LoadSkin("no such skin", 50, false);
  }
  std::uint32_t At(int x, int y) const { return *canvas.WindowImage().PixelAt(x, y); }
  // Which window columns of row y carry the colour.
  std::string Ink(int y, std::uint32_t color, int from, int to) const {
    std::string s;
    for (int x = from; x < to; ++x) s += At(x, y) == color ? '#' : '.';
    return s;
  }

  Fake fake;
  SkinCanvas canvas;
};

}  // namespace

TEST_F(SkinCanvasTest, MissingSkinFallsBackToTheBuiltInOne) {
  EXPECT_FALSE(canvas.LoadSkin("default", 50, false));
  EXPECT_EQ(343, canvas.WindowWidth());
  EXPECT_EQ(20, canvas.WindowHeight());
  EXPECT_EQ(343, canvas.WindowImage().Width());
  EXPECT_EQ(20, canvas.WindowImage().Height());
  EXPECT_EQ(Fake::Sheet(100, 10), At(100, 10)) << "the background comes from the built-in bitmap";
}

TEST_F(SkinCanvasTest, NamedSkinLoadsItsTextAndBitmapFromTheSkinFolder) {
  SkinFolder folder;
  folder.Write(".ini", kSmallSkin);
  folder.Write(".bmp", Fake::SheetFile(1, 400, 40));
  EXPECT_TRUE(canvas.LoadSkin(folder.name.c_str(), 50, false));
  EXPECT_EQ(100, canvas.WindowWidth());
  EXPECT_EQ(20, canvas.WindowHeight());
  EXPECT_EQ(400, canvas.SkinImage().Width());
  EXPECT_EQ(Fake::Sheet(10, 10, 1), At(10, 10));
  EXPECT_EQ(Fake::Sheet(0, 21, 1), At(60, 4)) << "play button, frame 0";
  EXPECT_EQ(kRecButton, canvas.ButtonAt(80, 4));
}

// A bitmap that is missing, cut short or no bitmap at all makes the whole
// skin fall back; the same skin loads once its bitmap is whole.
TEST_F(SkinCanvasTest, SkinWithAMissingOrDamagedBitmapFallsBackWholly) {
  SkinFolder folder;
  folder.Write(".ini", kSmallSkin);
  const std::string sheet = Fake::SheetFile(1, 400, 40);
  for (const std::string& bitmap : {std::string(), sheet.substr(0, sheet.size() / 2), std::string("BM any")}) {
    if (!bitmap.empty()) folder.Write(".bmp", bitmap);
    EXPECT_FALSE(canvas.LoadSkin(folder.name.c_str(), 50, false)) << bitmap.size();
    EXPECT_EQ(343, canvas.WindowWidth());
    EXPECT_EQ(-1, canvas.Skin()[kRecButton].dy) << "nothing of the failed skin survives";
    EXPECT_EQ(-1, canvas.ButtonAt(80, 4));
    EXPECT_EQ(Fake::Sheet(100, 10), At(100, 10)) << "the built-in bitmap";
  }
  folder.Write(".bmp", sheet);
  EXPECT_TRUE(canvas.LoadSkin(folder.name.c_str(), 50, false));
}

TEST_F(SkinCanvasTest, SkinTextWithoutSkinSectionFallsBack) {
  SkinFolder folder;
  folder.Write(".ini", "[other]\r\nmain_rc=0,0,99,19\r\n");
  folder.Write(".bmp", Fake::SheetFile(1, 400, 40));
  EXPECT_FALSE(canvas.LoadSkin(folder.name.c_str(), 50, false));
  EXPECT_EQ(343, canvas.WindowWidth());
}

TEST_F(SkinCanvasTest, WithoutResourcesNothingBreaks) {
  fake.hasResources = false;
  EXPECT_FALSE(canvas.LoadSkin("default", 50, false));
  canvas.SetTitle("text", false, nullptr);
  canvas.ScrollTitle(4, nullptr);
  canvas.DrawVolume(30);
  canvas.AttachPlatform(nullptr);
  SkinCanvas bare;
  EXPECT_FALSE(bare.LoadSkin("default", 50, false));
  EXPECT_FALSE(bare.SetTitle("text", false, nullptr));
  bare.PaintTo(nullptr);
}

TEST_F(SkinCanvasTest, RebuildComposesBackgroundButtonsMuteAndKnob) {
  LoadBuiltIn(50, true);
  // The old image left the drawing context before the new one went in.
  ASSERT_GE(fake.selections.size(), 2u);
  EXPECT_EQ(nullptr, fake.selections[fake.selections.size() - 2]);
  EXPECT_EQ(&canvas.WindowImage(), fake.selections.back());
  EXPECT_EQ(1, fake.fontsCreated);
  EXPECT_EQ(canvas.Skin().fontFace, fake.fontFace);
  EXPECT_EQ(12, fake.fontSize);

  EXPECT_EQ(Fake::Sheet(0, 0), At(0, 0));
  EXPECT_EQ(Fake::Sheet(342, 19), At(342, 19));
  EXPECT_EQ(Fake::Sheet(8, 4), At(8, 4)) << "the title area shows the background";
  EXPECT_EQ(Fake::Sheet(0, 21), At(279, 4)) << "play, frame 0";
  EXPECT_EQ(Fake::Sheet(12, 33), At(291, 16));
  EXPECT_EQ(Fake::Sheet(40, 21), At(292, 4)) << "stop";
  EXPECT_EQ(Fake::Sheet(80, 21), At(305, 4)) << "search";
  EXPECT_EQ(Fake::Sheet(120, 21), At(318, 4)) << "list";
  EXPECT_EQ(Fake::Sheet(160, 21), At(335, 4)) << "close";
  EXPECT_EQ(Fake::Sheet(182, 21), At(335, 12)) << "minimise";
  EXPECT_EQ(Fake::Sheet(225, 21), At(221, 5)) << "mute, frame 1 (muted)";
  EXPECT_EQ(Fake::Sheet(205, 21), At(251, 4)) << "knob at volume 50";
  EXPECT_EQ(Fake::Sheet(210, 32), At(256, 15));

  canvas.RebuildWindowImage(50, false);
  EXPECT_EQ(Fake::Sheet(214, 21), At(221, 5)) << "mute, frame 0";
  EXPECT_EQ(2, fake.fontsCreated);
}

TEST_F(SkinCanvasTest, ButtonFramesAndRestore) {
  LoadBuiltIn();
  canvas.DrawElement(kPlayButton, 1);
  EXPECT_EQ(Fake::Sheet(13, 21), At(279, 4)) << "hover frame starts at column 13";
  canvas.DrawElement(kPlayButton, 2);
  EXPECT_EQ(Fake::Sheet(26, 21), At(279, 4));
  EXPECT_EQ(Fake::Sheet(38, 33), At(291, 16));
  EXPECT_EQ(Fake::Sheet(40, 21), At(292, 4)) << "the neighbour is untouched";
  canvas.DrawElement(kMuteButton, 1);
  EXPECT_EQ(Fake::Sheet(225, 21), At(221, 5));
  canvas.RestoreElement(kPlayButton);
  EXPECT_EQ(Fake::Sheet(279, 4), At(279, 4)) << "restored from the bitmap at the window position";
  EXPECT_EQ(Fake::Sheet(291, 16), At(291, 16));

  // Absent elements and bad indices draw nothing.
  canvas.DrawElement(kRecButton, 0);
  canvas.DrawElement(-1, 0);
  canvas.DrawElement(kSkinElementCount, 0);
  canvas.RestoreElement(kSkinElementCount);
  canvas.DrawElement(kPlayButton, 1000000000);
  canvas.DrawElement(kPlayButton, -1000000000);
  EXPECT_EQ(Fake::Sheet(279, 4), At(279, 4));
}

TEST_F(SkinCanvasTest, KnobSitsAtTheDocumentedColumns) {
  LoadBuiltIn();
  struct Case {
    int volume;
    int left;
  } cases[] = {{0, 234}, {50, 251}, {100, 268}, {-20, 234}, {250, 268}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volume);
    canvas.DrawVolume(c.volume);
    EXPECT_EQ(Fake::Sheet(205, 21), At(c.left, 4));
    EXPECT_EQ(Fake::Sheet(210, 32), At(c.left + 5, 15));
    EXPECT_EQ(Fake::Sheet(c.left - 1, 4), At(c.left - 1, 4)) << "track restored left of the knob";
    EXPECT_TRUE(canvas.KnobAt(c.left, 4, c.volume));
    EXPECT_TRUE(canvas.KnobAt(c.left + 5, 15, c.volume));
    EXPECT_FALSE(canvas.KnobAt(c.left + 6, 4, c.volume));
    EXPECT_FALSE(canvas.KnobAt(c.left - 1, 4, c.volume));
    EXPECT_FALSE(canvas.KnobAt(c.left, 16, c.volume));
    EXPECT_FALSE(canvas.KnobAt(c.left, 3, c.volume));
  }
  // The old knob is gone after a move.
  canvas.DrawVolume(0);
  canvas.DrawVolume(100);
  EXPECT_EQ(Fake::Sheet(234, 4), At(234, 4));
}

TEST_F(SkinCanvasTest, VolumeFromXAndGrabOffset) {
  LoadBuiltIn();
  EXPECT_EQ(0, canvas.VolumeFromX(234));
  EXPECT_EQ(50, canvas.VolumeFromX(251));
  EXPECT_EQ(100, canvas.VolumeFromX(268));
  EXPECT_EQ(0, canvas.VolumeFromX(230));
  EXPECT_EQ(100, canvas.VolumeFromX(300));
  EXPECT_EQ(2, canvas.VolumeFromX(235)) << "100 / 34, truncated";
  EXPECT_EQ(0, canvas.VolumeFromX(INT32_MIN));
  EXPECT_EQ(100, canvas.VolumeFromX(INT32_MAX));
  // A click 2 pixels right of the knob's left edge keeps that distance.
  EXPECT_EQ(2, canvas.KnobGrabOffset(253, 50));
  EXPECT_EQ(50, canvas.VolumeFromX(253 - canvas.KnobGrabOffset(253, 50)));
  EXPECT_EQ(0, canvas.KnobGrabOffset(234, 0));
}

TEST_F(SkinCanvasTest, TrackWithoutLengthStaysInRange) {
  LoadText("[skin]\r\nmain_rc=0,0,99,19\r\nvol_bt=0,21,5,32\r\nvol_rc=50,9,50,10\r\n");
  ASSERT_EQ(1, canvas.Skin()[kVolumeTrack].width);
  int left = canvas.Skin()[kVolumeTrack].dx;
  EXPECT_EQ(47, left);
  EXPECT_EQ(0, canvas.VolumeFromX(left - 1));
  EXPECT_EQ(0, canvas.VolumeFromX(left));
  EXPECT_EQ(100, canvas.VolumeFromX(left + 1));
  EXPECT_EQ(0, canvas.VolumeFromX(INT32_MIN));
  EXPECT_EQ(100, canvas.VolumeFromX(INT32_MAX));
  for (int v : {0, 50, 100}) {
    EXPECT_TRUE(canvas.KnobAt(left, 4, v)) << "the knob never moves";
    EXPECT_EQ(3, canvas.KnobGrabOffset(left + 3, v));
  }
}

TEST_F(SkinCanvasTest, HitTestsFollowTheWindowRectangles) {
  LoadBuiltIn();
  EXPECT_EQ(kPlayButton, canvas.ButtonAt(279, 4));
  EXPECT_EQ(kPlayButton, canvas.ButtonAt(291, 16));
  EXPECT_EQ(kStopButton, canvas.ButtonAt(292, 4));
  EXPECT_EQ(kListButton, canvas.ButtonAt(318, 10));
  EXPECT_EQ(kSearchButton, canvas.ButtonAt(305, 10));
  EXPECT_EQ(kCloseButton, canvas.ButtonAt(341, 10));
  EXPECT_EQ(kMinButton, canvas.ButtonAt(335, 12));
  EXPECT_EQ(kMinButton, canvas.ButtonAt(341, 17));
  EXPECT_EQ(-1, canvas.ButtonAt(278, 4));
  EXPECT_EQ(-1, canvas.ButtonAt(279, 3));
  EXPECT_EQ(-1, canvas.ButtonAt(279, 17));
  EXPECT_EQ(-1, canvas.ButtonAt(341, 11)) << "between close and minimise";
  EXPECT_EQ(-1, canvas.ButtonAt(100, 10));
  EXPECT_EQ(kMuteButton, canvas.MuteAt(221, 5));
  EXPECT_EQ(kMuteButton, canvas.MuteAt(231, 15));
  EXPECT_EQ(-1, canvas.MuteAt(232, 5));
  EXPECT_EQ(-1, canvas.ButtonAt(221, 5)) << "mute is not one of the seven buttons";

  EXPECT_FALSE(canvas.HitAnyControl(100, 10, 50)) << "the title area drags the bar";
  EXPECT_FALSE(canvas.HitAnyControl(2, 2, 50));
  EXPECT_TRUE(canvas.HitAnyControl(279, 4, 50));
  EXPECT_TRUE(canvas.HitAnyControl(225, 10, 50));
  EXPECT_TRUE(canvas.HitAnyControl(251, 4, 50));
  EXPECT_FALSE(canvas.HitAnyControl(240, 4, 50)) << "the track beside the knob";
  EXPECT_TRUE(canvas.HitAnyControl(240, 4, 20));
}

TEST_F(SkinCanvasTest, ButtonWithoutWindowPlaceIsNeitherDrawnNorHit) {
  LoadText("[skin]\r\nmain_rc=0,0,342,19\r\nplay_bt=0,21,38,33\r\n");
  EXPECT_EQ(-1, canvas.ButtonAt(0, 21));
  EXPECT_EQ(-1, canvas.ButtonAt(0, 0));
  EXPECT_FALSE(canvas.HitAnyControl(0, 0, 50));
  EXPECT_FALSE(canvas.KnobAt(0, 0, 50)) << "no track";
  EXPECT_EQ(Fake::Sheet(0, 0), At(0, 0));
}

TEST_F(SkinCanvasTest, TitleExactlyAsWideAsTheAreaDoesNotScroll) {
  LoadBuiltIn();
  fake.glyphWidth = 9;  // 23 glyphs fill the 207 columns exactly
  CanvasRect rect;
  ASSERT_TRUE(canvas.SetTitle("abcdefghijklmnopqrstuvw", false, &rect));
  EXPECT_FALSE(canvas.IsScrolling());
  EXPECT_EQ("abcdefghijklmnopqrstuvw", fake.rasterized.back());
  EXPECT_EQ(207, canvas.TitleMask().Width());
  EXPECT_EQ(8, rect.left);
  EXPECT_EQ(4, rect.top);
  EXPECT_EQ(215, rect.right);
  EXPECT_EQ(16, rect.bottom);
  EXPECT_FALSE(canvas.ScrollTitle(4, &rect));

  fake.extraWidth = 1;  // one pixel wider
  ASSERT_TRUE(canvas.SetTitle("abcdefghijklmnopqrstuvw", false, nullptr));
  EXPECT_TRUE(canvas.IsScrolling());
  EXPECT_EQ("abcdefghijklmnopqrstuvw * ", fake.rasterized.back());
  EXPECT_EQ(26 * 9 + 1, canvas.TitleMask().Width());
}

TEST_F(SkinCanvasTest, TitleIsDrawnLeftAlignedInItsColour) {
  LoadBuiltIn();
  ASSERT_TRUE(canvas.SetTitle("Connect error", true, nullptr));
  EXPECT_EQ(1, canvas.ColorIndex());
  EXPECT_EQ(4, canvas.TextTop());
  // "Connect error": glyphs every 6 columns from column 8, none for the blank.
  EXPECT_EQ("#.....#.....#.....#.....#.....#.....#...........#.....#.....#.....#.....#.....",
            Ink(4, 0xFF9999, 8, 86));
  EXPECT_EQ(Ink(4, 0xFF9999, 8, 86), Ink(15, 0xFF9999, 8, 86));
  EXPECT_EQ(std::string(78, '.'), Ink(3, 0xFF9999, 8, 86));
  EXPECT_EQ(std::string(78, '.'), Ink(16, 0xFF9999, 8, 86));

  // The next title is in the text colour, and the old ink is gone.
  ASSERT_TRUE(canvas.SetTitle("ab", false, nullptr));
  EXPECT_EQ(0, canvas.ColorIndex());
  EXPECT_EQ("#.....#.....", Ink(10, 0xFFFFFF, 8, 20));
  EXPECT_EQ(std::string(78, '.'), Ink(10, 0xFF9999, 8, 86));
  EXPECT_EQ(Fake::Sheet(9, 10), At(9, 10));
}

TEST_F(SkinCanvasTest, EmptyTitleShowsTheBackground) {
  LoadBuiltIn();
  ASSERT_TRUE(canvas.SetTitle("x", false, nullptr));
  CanvasRect rect;
  ASSERT_TRUE(canvas.SetTitle("", false, &rect));
  EXPECT_FALSE(canvas.IsScrolling());
  EXPECT_TRUE(canvas.TitleMask().IsEmpty());
  EXPECT_EQ(Fake::Sheet(8, 4), At(8, 4));
  EXPECT_EQ(215, rect.right);
  EXPECT_FALSE(canvas.ScrollTitle(4, nullptr));
}

TEST_F(SkinCanvasTest, TextIsCentredVerticallyAndCutAtTheAreaBottom) {
  LoadBuiltIn();
  fake.glyphHeight = 8;
  ASSERT_TRUE(canvas.SetTitle("a", false, nullptr));
  EXPECT_EQ(6, canvas.TextTop()) << "(12 - 8) / 2 below the area's top";
  EXPECT_EQ(Fake::Sheet(8, 5), At(8, 5));
  EXPECT_EQ(0xFFFFFFu, At(8, 6));
  EXPECT_EQ(0xFFFFFFu, At(8, 13));
  EXPECT_EQ(Fake::Sheet(8, 14), At(8, 14));

  // A font taller than the area starts at its top; the rows below the area
  // are not drawn, since restoring the area would never erase them.
  fake.glyphHeight = 18;
  ASSERT_TRUE(canvas.SetTitle("a", false, nullptr));
  EXPECT_EQ(4, canvas.TextTop());
  EXPECT_EQ(0xFFFFFFu, At(8, 15));
  EXPECT_EQ(Fake::Sheet(8, 16), At(8, 16));
  EXPECT_EQ(Fake::Sheet(8, 19), At(8, 19));
}

TEST_F(SkinCanvasTest, ScrollOffsetWrapsBelowTheMaskWidth) {
  LoadText("[skin]\r\nmain_rc=0,0,99,19\r\ntitle_rc=0,0,49,11\r\n");
  fake.glyphWidth = 5;
  // 17 glyphs (85 columns) do not fit 50; with " * " the band is 100 wide.
  ASSERT_TRUE(canvas.SetTitle("abcdefghijklmnopq", false, nullptr));
  ASSERT_TRUE(canvas.IsScrolling());
  ASSERT_EQ(100, canvas.TitleMask().Width());
  CanvasRect rect;
  ASSERT_TRUE(canvas.ScrollTitle(49, &rect));
  EXPECT_EQ(50, rect.right);
  EXPECT_EQ(12, rect.bottom);
  ASSERT_TRUE(canvas.ScrollTitle(49, &rect));
  EXPECT_EQ(98, canvas.ScrollOffset());
  ASSERT_TRUE(canvas.ScrollTitle(4, &rect));
  EXPECT_EQ(2, canvas.ScrollOffset());
  // Offset 2: band columns 2.. show, so the glyph of "b" (column 5) is at 3.
  EXPECT_EQ("...#....#....#....#....#....#....#....#....#....#.", Ink(0, 0xFFFFFF, 0, 50));
  // A negative step (a hand-edited setting) scrolls back, staying in range.
  ASSERT_TRUE(canvas.ScrollTitle(-4, nullptr));
  EXPECT_EQ(98, canvas.ScrollOffset());
  ASSERT_TRUE(canvas.ScrollTitle(INT32_MIN, nullptr));
  EXPECT_GE(canvas.ScrollOffset(), 0);
  EXPECT_LT(canvas.ScrollOffset(), 100);
  ASSERT_TRUE(canvas.ScrollTitle(INT32_MAX, nullptr));
  EXPECT_LT(canvas.ScrollOffset(), 100);
  // The band wraps: at offset 90 the last glyphs, " * ", then "a" again.
  ASSERT_TRUE(canvas.SetTitle("abcdefghijklmnopq", false, nullptr));
  ASSERT_TRUE(canvas.ScrollTitle(90, nullptr));
  EXPECT_EQ("#.........#....#....#....#....#....#....#....#....", Ink(0, 0xFFFFFF, 0, 50));
}

TEST_F(SkinCanvasTest, SkinWithoutTitleAreaShowsNoTitle) {
  LoadText("[skin]\r\nmain_rc=0,0,99,19\r\n");
  CanvasRect rect;
  EXPECT_FALSE(canvas.SetTitle("text", false, &rect));
  EXPECT_FALSE(canvas.SetTitle("", false, &rect));
  EXPECT_FALSE(canvas.ScrollTitle(4, &rect));
  EXPECT_TRUE(fake.rasterized.empty());
}

TEST_F(SkinCanvasTest, SkinChangeKeepsTheTitleStateUntilTheNextTitle) {
  LoadBuiltIn();
  ASSERT_TRUE(canvas.SetTitle(std::string(60, 'x').c_str(), false, nullptr));
  ASSERT_TRUE(canvas.IsScrolling());
  canvas.RebuildWindowImage(50, false);
  EXPECT_TRUE(canvas.IsScrolling());
  EXPECT_EQ(Fake::Sheet(8, 4), At(8, 4)) << "the area shows the background after a rebuild";
  EXPECT_TRUE(canvas.ScrollTitle(4, nullptr));
}

TEST_F(SkinCanvasTest, PaintCopiesTheWholeWindowImage) {
  LoadBuiltIn();
  int device = 0;
  canvas.PaintTo(&device);
  EXPECT_EQ(&device, fake.paintedDevice);
  EXPECT_EQ(343, fake.paintedWidth);
  EXPECT_EQ(20, fake.paintedHeight);
}
