#include "ui/main/BarCommands.h"

#include <gtest/gtest.h>

TEST(BarCommands, ButtonsSendTheirCommands) {
  EXPECT_EQ(40001, ButtonCommand(kPlayButton));
  EXPECT_EQ(40003, ButtonCommand(kStopButton));
  EXPECT_EQ(40009, ButtonCommand(kListButton));
  EXPECT_EQ(40008, ButtonCommand(kSearchButton));
  EXPECT_EQ(40016, ButtonCommand(kCloseButton));
  EXPECT_EQ(40015, ButtonCommand(kMinButton));
  EXPECT_EQ(40099, ButtonCommand(kRecButton));
  EXPECT_EQ(0, ButtonCommand(kMuteButton));
  EXPECT_EQ(0, ButtonCommand(kTitleRc));
  EXPECT_EQ(0, ButtonCommand(-1));
}

TEST(BarCommands, VolumeItemsMapToTenPercentSteps) {
  EXPECT_EQ(0, VolumeFromCommand(40900));
  EXPECT_EQ(50, VolumeFromCommand(40905));
  EXPECT_EQ(100, VolumeFromCommand(40910));
  EXPECT_TRUE(IsVolumeCommand(40900));
  EXPECT_TRUE(IsVolumeCommand(40910));
  EXPECT_FALSE(IsVolumeCommand(40899));
  EXPECT_FALSE(IsVolumeCommand(40911));
}

TEST(BarCommands, SkinItemsCoverFiftyNames) {
  EXPECT_EQ(50, kMaxSkinItems);
  EXPECT_EQ(40700, SkinCommand(0));
  EXPECT_EQ(2, SkinIndexFromCommand(40702));
  EXPECT_TRUE(IsSkinCommand(40749));
  EXPECT_FALSE(IsSkinCommand(40750));
  EXPECT_FALSE(IsSkinCommand(40699));
}
