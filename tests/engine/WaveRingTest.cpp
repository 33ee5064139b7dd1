#include "engine/WaveRing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<std::uint8_t> Samples16(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (int v : values) {
    bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
  }
  return bytes;
}

std::vector<int> Values16(const std::vector<std::uint8_t>& bytes) {
  std::vector<int> values;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) values.push_back(static_cast<std::int16_t>(bytes[i] | bytes[i + 1] << 8));
  return values;
}

}  // namespace

TEST(WaveRing, VolumeFromPercentRoundsToTheNearest256th) {
  EXPECT_EQ(0, VolumeFromPercent(0));
  EXPECT_EQ(3, VolumeFromPercent(1));
  EXPECT_EQ(128, VolumeFromPercent(50));
  EXPECT_EQ(253, VolumeFromPercent(99));
  EXPECT_EQ(256, VolumeFromPercent(100));
  for (int p = 0; p <= 100; ++p) EXPECT_EQ(static_cast<int>(p * 2.56 + 0.5), VolumeFromPercent(p)) << p;
  EXPECT_EQ(0, VolumeFromPercent(-5));
  EXPECT_EQ(256, VolumeFromPercent(250));
}

TEST(WaveRing, DevicePositionIsReadPastItsThirtyTwoBits) {
  const std::int64_t wrap = std::int64_t{1} << 32;
  EXPECT_EQ(1000, UnwrapPosition(1000, 90000));
  EXPECT_EQ(90000, UnwrapPosition(90000, 90000));
  // Queued past 4 GB: a position just below the wrap is still the first lap,
  // one just above it the second.
  EXPECT_EQ(wrap - 5000, UnwrapPosition(0xFFFFEC78u, wrap + 80000));
  EXPECT_EQ(wrap + 100, UnwrapPosition(100, wrap + 80000));
  EXPECT_EQ(3 * wrap + 7, UnwrapPosition(7, 3 * wrap + 88200));
  // More than was ever queued is no position at all.
  EXPECT_EQ(-1, UnwrapPosition(90001, 90000));
}

TEST(WaveRing, BlockCountFollowsThePlayBufferLength) {
  EXPECT_EQ(2, BlockCountFor(1000));
  EXPECT_EQ(3, BlockCountFor(1001));
  EXPECT_EQ(3, BlockCountFor(1500));
  EXPECT_EQ(10, BlockCountFor(5000));
  EXPECT_EQ(16, BlockCountFor(8000));
  EXPECT_EQ(16, BlockCountFor(9000));
  EXPECT_EQ(2, BlockCountFor(0));
  EXPECT_EQ(2, BlockCountFor(-300));
  EXPECT_EQ(16, BlockCountFor(2147483647));
}

TEST(WaveRing, SampleKindFollowsTheFormat) {
  PcmFormat f;
  f.blockAlign = 1;
  f.channels = 1;
  EXPECT_EQ(kSamples8Mono, SampleKindFor(f));
  f.blockAlign = 2;
  f.channels = 2;
  EXPECT_EQ(kSamples8Stereo, SampleKindFor(f));
  f.channels = 1;
  EXPECT_EQ(kSamples16Mono, SampleKindFor(f));
  f.blockAlign = 4;
  f.channels = 2;
  EXPECT_EQ(kSamples16Stereo, SampleKindFor(f));
}

TEST(WaveRing, ScalesSixteenBitSamples) {
  auto bytes = Samples16({-32768, 32767, -1, 1, 1000, -1000});
  ScaleSamples(bytes.data(), static_cast<int>(bytes.size()), kSamples16Stereo, 128);
  EXPECT_EQ((std::vector<int>{-16384, 16383, -1, 0, 500, -500}), Values16(bytes));

  bytes = Samples16({-32768, 32767, -1, 1});
  ScaleSamples(bytes.data(), static_cast<int>(bytes.size()), kSamples16Mono, 0);
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), Values16(bytes)) << "-1 x 0 >> 8 is 0";

  bytes = Samples16({-32768, 32767, 12345});
  ScaleSamples(bytes.data(), static_cast<int>(bytes.size()), kSamples16Stereo, 256);
  EXPECT_EQ((std::vector<int>{-32768, 32767, 12345}), Values16(bytes)) << "never out of range";
}

TEST(WaveRing, ScalesEightBitSamplesAroundTheirMiddle) {
  std::vector<std::uint8_t> bytes = {0, 128, 255, 64};
  ScaleSamples(bytes.data(), 4, kSamples8Mono, 0);
  EXPECT_EQ((std::vector<std::uint8_t>{128, 128, 128, 128}), bytes);
  bytes = {0, 128, 255, 64};
  ScaleSamples(bytes.data(), 4, kSamples8Stereo, 128);
  EXPECT_EQ((std::vector<std::uint8_t>{64, 128, 191, 96}), bytes);
}
