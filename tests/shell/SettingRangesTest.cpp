#include "shell/SettingRanges.h"

#include <gtest/gtest.h>

TEST(SettingRanges, PlayBufferMapsToTrackPositionsAndBack) {
  EXPECT_EQ(0, PlayBufferToTrackPosition(1000));
  EXPECT_EQ(1, PlayBufferToTrackPosition(1500));
  EXPECT_EQ(1, PlayBufferToTrackPosition(1700)) << "a hand-edited 1700 truncates";
  EXPECT_EQ(8, PlayBufferToTrackPosition(5000));
  EXPECT_EQ(0, PlayBufferToTrackPosition(700)) << "truncated toward zero";
  EXPECT_EQ(0, PlayBufferToTrackPosition(-5000)) << "kept on the trackbar";
  EXPECT_EQ(8, PlayBufferToTrackPosition(99999));
  EXPECT_EQ(0, PlayBufferToTrackPosition(INT32_MIN));
  EXPECT_EQ(8, PlayBufferToTrackPosition(INT32_MAX));
  for (int p = 0; p <= 8; ++p) {
    EXPECT_EQ(1000 + 500 * p, TrackPositionToPlayBuffer(p));
    EXPECT_EQ(p, PlayBufferToTrackPosition(TrackPositionToPlayBuffer(p)));
  }
  EXPECT_EQ(1000, TrackPositionToPlayBuffer(-1));
  EXPECT_EQ(5000, TrackPositionToPlayBuffer(9));
}

TEST(SettingRanges, VolumeIsKeptWithinZeroToHundred) {
  EXPECT_EQ(0, ClampVolume(-1));
  EXPECT_EQ(0, ClampVolume(INT32_MIN));
  EXPECT_EQ(100, ClampVolume(101));
  EXPECT_EQ(100, ClampVolume(std::int64_t{INT32_MAX} + 10));
  EXPECT_EQ(37, ClampVolume(37));
  EXPECT_EQ(100, ClampVolume(95 + 10)) << "wheel up from 95 by 10";
}
