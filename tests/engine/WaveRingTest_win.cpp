#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstring>

#include "toolkit/KernelHandle.h"
#include "engine/WaveRing.h"

namespace {

PcmFormat Stereo16(std::uint32_t rate) {
  PcmFormat f;
  f.formatTag = 1;
  f.channels = 2;
  f.samplesPerSec = rate;
  f.bitsPerSample = 16;
  f.blockAlign = 4;
  f.avgBytesPerSec = rate * 4;
  return f;
}

}  // namespace

TEST(WaveRing, FinishedBlocksSignalTheEvent) {
  KernelHandle done(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  HANDLE events[2] = {done.Get(), nullptr};
  WaveRing ring;
  ASSERT_TRUE(ring.Open(events, Stereo16(44100), 4410 * 4, 4));  // 0.1 s blocks
  for (int k = 0; k < 3; ++k) {
    ring.Silence(k);
    EXPECT_TRUE(ring.Write(k));
    EXPECT_FALSE(ring.Finished(k));
  }
  EXPECT_TRUE(ring.Finished(3)) << "a block never queued waits to be filled";
  // Signals may merge in the auto-reset event; the blocks' own flags tell.
  DWORD start = GetTickCount();
  while (!ring.Finished(2) && GetTickCount() - start < 5000) WaitForSingleObject(done.Get(), 100);
  EXPECT_TRUE(ring.Finished(0) && ring.Finished(1) && ring.Finished(2)) << "all played within 5 s";
  std::int64_t played = ring.PlayedBytes();
  EXPECT_GT(played, 0);
  EXPECT_LE(played, 3 * 4410 * 4) << "never past what was queued";
  // A finished block can be queued again.
  EXPECT_TRUE(ring.Write(0));
  ring.Close();
  ring.Close();
  EXPECT_FALSE(ring.IsOpen());
  EXPECT_FALSE(ring.Write(0));
}

TEST(WaveRing, FullVolumeLeavesSamplesUntouched) {
  KernelHandle done(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  HANDLE events[2] = {done.Get(), nullptr};
  WaveRing ring;
  ASSERT_TRUE(ring.Open(events, Stereo16(44100), 64, 2));
  for (int i = 0; i < 64; ++i) ring.Block(0)[i] = static_cast<std::uint8_t>(i * 37);
  std::uint8_t before[64];
  std::memcpy(before, ring.Block(0), 64);
  ring.SetVolume(256);
  ring.ApplyVolume(0);
  EXPECT_EQ(0, std::memcmp(before, ring.Block(0), 64));
  ring.SetVolume(128);
  ring.ApplyVolume(0);
  EXPECT_NE(0, std::memcmp(before, ring.Block(0), 64));
  // Device volume: the samples stay as they are.
  std::memcpy(ring.Block(0), before, 64);
  ring.SetHardwareVolume(true);
  ring.SetVolume(128);
  ring.ApplyVolume(0);
  EXPECT_EQ(0, std::memcmp(before, ring.Block(0), 64));
}

TEST(WaveRing, DeviceVolumeSetsBothChannels) {
  KernelHandle done(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  HANDLE events[2] = {done.Get(), nullptr};
  WaveRing ring;
  ring.SetHardwareVolume(true);
  ring.SetVolume(128);  // before any device is open
  ASSERT_TRUE(ring.Open(events, Stereo16(44100), 64, 2));
  EXPECT_EQ(0x7FFF7FFFu, ring.DeviceVolume()) << "the level set while idle reaches the device";
  ring.SetVolume(3);
  EXPECT_EQ(0x02FF02FFu, ring.DeviceVolume()) << "(3 x 0xFFFF) >> 8 on both channels";
  ring.SetVolume(256);
  EXPECT_EQ(0xFFFFFFFFu, ring.DeviceVolume());
}
