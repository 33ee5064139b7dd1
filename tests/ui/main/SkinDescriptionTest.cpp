#include "ui/main/SkinDescription.h"

#include <gtest/gtest.h>

#include <string>

#include "BuiltInSkinText.h"
#include "support/TempDir.h"

namespace {

bool Parse(SkinDescription& skin, const std::string& text) {
  return ParseSkin(skin, text.data(), static_cast<std::uint32_t>(text.size()));
}

// A minimal valid skin plus the given lines.
bool ParseWith(SkinDescription& skin, const std::string& lines) {
  return Parse(skin, "[skin]\r\nmain_rc=0,0,342,19\r\n" + lines);
}

void ExpectElement(const SkinElement& e, int x1, int y1, int x2, int y2, int dx, int dy, int width, int height) {
  EXPECT_EQ(x1, e.x1);
  EXPECT_EQ(y1, e.y1);
  EXPECT_EQ(x2, e.x2);
  EXPECT_EQ(y2, e.y2);
  EXPECT_EQ(dx, e.dx);
  EXPECT_EQ(dy, e.dy);
  EXPECT_EQ(width, e.width);
  EXPECT_EQ(height, e.height);
}

void ExpectAbsent(const SkinElement& e) {
  EXPECT_EQ(-1, e.x1);
  EXPECT_EQ(-1, e.y1);
  EXPECT_EQ(-1, e.x2);
  EXPECT_EQ(-1, e.y2);
  EXPECT_EQ(-1, e.dx);
  EXPECT_EQ(-1, e.dy);
}

// ＭＳ Ｐゴシック and ＭＳ ゴシック in code page 932.
const char kPGothic[] = "\x82l\x82r \x82o\x83S\x83V\x83" "b\x83N";
const char kGothic[] = "\x82l\x82r \x83S\x83V\x83" "b\x83N";

}  // namespace

TEST(SkinDescription, BuiltInSkinTextIsExactlyTheDocumentedBytes) {
  std::string expected =
      "[skin]\r\n"
      "main_rc=0,0,342,19\r\n"
      "title_rc=8,4,214,15\r\n"
      "title_font=" + std::string(kPGothic) + "\r\n"
      "title_fontsize=12\r\n"
      "title_textcol=ffffff\r\n"
      "title_errcol=ff9999\r\n"
      "play_bt=0,21,38,33,279,4\r\n"
      "stop_bt=40,21,78,33,292,4\r\n"
      "search_bt=80,21,118,33,305,4\r\n"
      "list_bt=120,21,158,33,318,4\r\n"
      "close_bt=160,21,180,27,335,4\r\n"
      "min_bt=182,21,202,26,335,12\r\n"
      "mute_bt=214,21,235,31,221,5\r\n"
      "vol_bt=205,21,210,32\r\n"
      "vol_rc=237,9,271,10\r\n";
  EXPECT_EQ(382u, expected.size());
  EXPECT_EQ(expected, BuiltInSkinFile());
  EXPECT_EQ(expected, BuiltInSkinText()) << "the resource carries the file unchanged, without a NUL";
}

TEST(SkinDescription, BuiltInSkinGivesTheDocumentedGeometry) {
  SkinDescription skin;
  ASSERT_TRUE(Parse(skin, BuiltInSkinText()));
  ExpectElement(skin[kMainRc], 0, 0, 342, 19, 0, 0, 343, 20);
  ExpectElement(skin[kTitleRc], 8, 4, 214, 15, 8, 4, 207, 12);
  ExpectElement(skin[kPlayButton], 0, 21, 38, 33, 279, 4, 13, 13);
  ExpectElement(skin[kStopButton], 40, 21, 78, 33, 292, 4, 13, 13);
  ExpectElement(skin[kSearchButton], 80, 21, 118, 33, 305, 4, 13, 13);
  ExpectElement(skin[kListButton], 120, 21, 158, 33, 318, 4, 13, 13);
  ExpectElement(skin[kCloseButton], 160, 21, 180, 27, 335, 4, 7, 7);
  ExpectElement(skin[kMinButton], 182, 21, 202, 26, 335, 12, 7, 6);
  ExpectElement(skin[kMuteButton], 214, 21, 235, 31, 221, 5, 11, 11);
  ExpectElement(skin[kVolumeKnob], 205, 21, 210, 32, -1, -1, 6, 12);
  // The track's dx, dy are the knob's top-left at volume 0: 237 - 6 / 2 and
  // 9 + (2 - 12) / 2.
  ExpectElement(skin[kVolumeTrack], 237, 9, 271, 10, 234, 4, 35, 2);
  ExpectAbsent(skin[kRecButton]);
  ExpectAbsent(skin[kNowRec]);
  EXPECT_STREQ(kPGothic, skin.fontFace);
  EXPECT_EQ(12, skin.fontSize);
  EXPECT_EQ(0, skin.bold);
  EXPECT_EQ(0xFFFFFFu, skin.textColor);
  EXPECT_EQ(0xFF9999u, skin.errorColor);
}

TEST(SkinDescription, ReadsEveryKeyOfTheLongKeyString) {
  // The key string is 103 bytes; cut to a default string's 63 it would lose
  // every name from min_bt on.
  SkinDescription skin;
  ASSERT_TRUE(ParseWith(skin,
                        "min_bt=182,21,202,26,335,12\r\nrec_bt=0,0,29,9,1,2\r\nmute_bt=214,21,235,31,221,5\r\n"
                        "vol_bt=205,21,210,32\r\nvol_rc=237,9,271,10\r\nnowrec=1,2,3,4,5,6\r\n"));
  EXPECT_EQ(12, skin[kMinButton].dy);
  ExpectElement(skin[kRecButton], 0, 0, 29, 9, 1, 2, 10, 10);
  EXPECT_EQ(5, skin[kMuteButton].dy);
  EXPECT_EQ(32, skin[kVolumeKnob].y2);
  EXPECT_EQ(10, skin[kVolumeTrack].y2);
  ExpectElement(skin[kNowRec], 1, 2, 3, 4, 5, 6, 3, 3);
}

TEST(SkinDescription, DefaultsApplyToMissingFontAndColourKeys) {
  SkinDescription skin;
  ASSERT_TRUE(ParseWith(skin, ""));
  EXPECT_STREQ(kGothic, skin.fontFace);
  EXPECT_EQ(12, skin.fontSize);
  EXPECT_EQ(0, skin.bold);
  EXPECT_EQ(0xFFFFFFu, skin.textColor);
  EXPECT_EQ(0xFF9999u, skin.errorColor);

  ASSERT_TRUE(ParseWith(skin, "title_font=Tahoma\r\ntitle_fontsize=16\r\ntitle_bold=1\r\n"
                              "title_textcol=00ff80\r\ntitle_errcol=FF0000\r\n"));
  EXPECT_STREQ("Tahoma", skin.fontFace);
  EXPECT_EQ(16, skin.fontSize);
  EXPECT_EQ(1, skin.bold);
  EXPECT_EQ(0x00FF80u, skin.textColor) << "red in bits 16-23, blue in 0-7";
  EXPECT_EQ(0xFF0000u, skin.errorColor);

  // A face longer than 31 bytes is cut to 31.
  ASSERT_TRUE(ParseWith(skin, "title_font=" + std::string(40, 'f') + "\r\n"));
  EXPECT_EQ(std::string(31, 'f'), skin.fontFace);
}

TEST(SkinDescription, MalformedElementsAreAbsentAndTheRestLoads) {
  SkinDescription skin;
  ASSERT_TRUE(ParseWith(skin,
                        "play_bt=10,10,5,20,1,1\r\n"       // x1 > x2
                        "stop_bt=1,,3,4,5,6\r\n"           // the walk stops at the empty piece
                        "list_bt=0,21,38,33\r\n"           // no dx, dy: not drawn, not clickable
                        "search_bt=0,30,10,20,1,1\r\n"     // y1 > y2
                        "close_bt=0,21,38\r\n"             // three numbers
                        "min_bt=\r\n"                      // empty
                        "mute_bt=214,21,235,31,221,5\r\n"));
  ExpectAbsent(skin[kPlayButton]);
  ExpectAbsent(skin[kStopButton]);
  EXPECT_EQ(-1, skin[kListButton].dy);
  EXPECT_EQ(13, skin[kListButton].width) << "corners given: sizes derive, presence is by dy";
  ExpectAbsent(skin[kSearchButton]);
  ExpectAbsent(skin[kCloseButton]);
  ExpectAbsent(skin[kMinButton]);
  EXPECT_EQ(5, skin[kMuteButton].dy);
}

TEST(SkinDescription, NumbersReadLikeAtoi) {
  SkinDescription skin;
  // Seven numbers: the seventh is ignored. Leading blanks are skipped,
  // trailing junk is ignored, a piece without digits reads 0.
  ASSERT_TRUE(ParseWith(skin, "play_bt= 0, 21,38x,33 ,279,4,99\r\nstop_bt=abc,21,38,33,1,2\r\n"));
  ExpectElement(skin[kPlayButton], 0, 21, 38, 33, 279, 4, 13, 13);
  ExpectElement(skin[kStopButton], 0, 21, 38, 33, 1, 2, 13, 13);
  // Negative numbers are taken as they are.
  ASSERT_TRUE(ParseWith(skin, "play_bt=-9,-3,-1,-1,-5,-7\r\n"));
  ExpectElement(skin[kPlayButton], -9, -3, -1, -1, -5, -7, 3, 3);
}

TEST(SkinDescription, ButtonFramesDivideTheWidth) {
  SkinDescription skin;
  ASSERT_TRUE(ParseWith(skin, "play_bt=0,21,38,33,279,4\r\nclose_bt=160,21,180,27,335,4\r\n"
                              "mute_bt=214,21,235,31,221,5\r\nrec_bt=0,0,10,0,0,0\r\n"
                              "vol_bt=0,0,10,0\r\n"));
  EXPECT_EQ(13, skin[kPlayButton].width) << "39 columns, three frames";
  EXPECT_EQ(7, skin[kCloseButton].width) << "21 columns";
  EXPECT_EQ(11, skin[kMuteButton].width) << "22 columns, two frames";
  EXPECT_EQ(3, skin[kRecButton].width) << "11 / 3 truncates";
  EXPECT_EQ(11, skin[kVolumeKnob].width) << "the knob has one frame";
}

TEST(SkinDescription, TitleAreaIsCutToTheWindowAndPlacedByItsCorners) {
  SkinDescription skin;
  ASSERT_TRUE(Parse(skin, "[skin]\r\nmain_rc=10,5,109,24\r\ntitle_rc=-4,-2,500,90,77,88\r\n"));
  ExpectElement(skin[kMainRc], 10, 5, 109, 24, 0, 0, 100, 20);
  ExpectElement(skin[kTitleRc], 0, 0, 99, 19, 0, 0, 100, 20);

  // Without a title the corners stay -1 and the area stays absent.
  ASSERT_TRUE(Parse(skin, "[skin]\r\nmain_rc=0,0,99,19\r\n"));
  EXPECT_EQ(-1, skin[kTitleRc].x2);
  EXPECT_EQ(-1, skin[kTitleRc].y2);
}

TEST(SkinDescription, KnobTrackUsesTheKnobSizeForItsStart) {
  SkinDescription skin;
  ASSERT_TRUE(ParseWith(skin, "vol_bt=0,0,8,5\r\nvol_rc=100,20,200,30\r\n"));
  // 9 x 6 knob on an 11-row track: dx = 100 - 4, dy = 20 + (11 - 6) / 2.
  EXPECT_EQ(96, skin[kVolumeTrack].dx);
  EXPECT_EQ(22, skin[kVolumeTrack].dy);
  // A knob taller than the track moves the start up, truncating toward zero.
  ASSERT_TRUE(ParseWith(skin, "vol_bt=0,0,4,16\r\nvol_rc=10,9,20,10\r\n"));
  EXPECT_EQ(8, skin[kVolumeTrack].dx);
  EXPECT_EQ(9 + (2 - 17) / 2, skin[kVolumeTrack].dy);
  EXPECT_EQ(2, skin[kVolumeTrack].dy);
}

TEST(SkinDescription, RejectsTextsWithoutAUsableBackground) {
  SkinDescription skin;
  EXPECT_FALSE(Parse(skin, "[other]\r\nmain_rc=0,0,342,19\r\n")) << "no [skin] section";
  EXPECT_FALSE(Parse(skin, "main_rc=0,0,342,19\r\n")) << "keys before any section";
  EXPECT_FALSE(Parse(skin, "[skin]\r\nmain_rc=0,0,342\r\n"));
  EXPECT_FALSE(Parse(skin, "[skin]\r\nmain_rc=5,0,4,19\r\n"));
  EXPECT_FALSE(Parse(skin, ""));
  // A background no window image could hold.
  EXPECT_FALSE(Parse(skin, "[skin]\r\nmain_rc=0,0,32767,19\r\n"));
  EXPECT_FALSE(Parse(skin, "[skin]\r\nmain_rc=0,0,8191,4096\r\n"));
  EXPECT_TRUE(Parse(skin, "[skin]\r\nmain_rc=0,0,32766,19\r\n"));
  EXPECT_TRUE(Parse(skin, "[skin]\r\nMAIN_RC=0,0,3,3\r\n")) << "keys match ignoring case";
  EXPECT_TRUE(Parse(skin, "[SKIN]\nmain_rc=0,0,3,3"));
}

TEST(SkinDescription, EveryParseResetsEveryElement) {
  SkinDescription skin;
  ASSERT_TRUE(Parse(skin, BuiltInSkinText()));
  ASSERT_TRUE(Parse(skin, "[skin]\r\nmain_rc=0,0,9,9\r\n"));
  for (int i = kTitleRc; i < kSkinElementCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(-1, skin[i].y2);
    // The title's and the track's dx, dy are derived, never read.
    if (i != kTitleRc && i != kVolumeTrack) {
      EXPECT_EQ(-1, skin[i].dy);
    }
  }
  // A rejected text still clears the table.
  ASSERT_TRUE(Parse(skin, BuiltInSkinText()));
  ASSERT_FALSE(Parse(skin, "[skin]\r\ntitle_rc=1,1,2,2\r\n"));
  EXPECT_EQ(-1, skin[kPlayButton].dy);
  EXPECT_EQ(-1, skin[kMainRc].y2);
}

TEST(SkinDescription, ExtentsBeyond32BitsAreAbsentNotOverflowed) {
  SkinDescription skin;
  ASSERT_TRUE(ParseWith(skin, "play_bt=-2147483648,0,2147483647,1,0,0\r\n"
                              "stop_bt=-2147483647,0,-1,1,0,0\r\n"
                              "title_rc=0,-2147483648,5,2147483647\r\n"
                              "vol_bt=0,0,9,1\r\nvol_rc=-2147483648,0,-2147483000,1\r\n"));
  ExpectAbsent(skin[kPlayButton]);
  EXPECT_EQ(2147483647 / 3, skin[kStopButton].width);
  EXPECT_EQ(-1, skin[kTitleRc].x2) << "a height beyond 32 bits";
  // The track's start saturates instead of wrapping.
  EXPECT_EQ(INT32_MIN, skin[kVolumeTrack].dx);
}

TEST(SkinDescription, LoadsFromAFileAndFailsWithoutOne) {
  TempDir dir;
  dir.Write("a.ini", BuiltInSkinText());
  dir.Write("empty.ini", "");
  SkinDescription skin;
  ASSERT_TRUE(ParseSkin(skin, dir.File("a.ini").c_str()));
  EXPECT_EQ(343, skin[kMainRc].width);
  EXPECT_FALSE(ParseSkin(skin, dir.File("missing.ini").c_str()));
  EXPECT_FALSE(ParseSkin(skin, dir.File("empty.ini").c_str()));
}
