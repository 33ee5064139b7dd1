// Plays PCM through the wave mapper as a ring of equal blocks of half a
// second each. A finished block sets event 0 of the owner's event array. The
// ring carries the volume: it scales the samples of each block before it is
// queued, or, with hardware volume, sets the device's own level instead.
//
// The sample arithmetic (ApplyVolume, Silence and the helpers below) is
// portable; the device calls live in WaveRing_win.cpp.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/FrameCodec.h"

struct HWAVEOUT__;
struct wavehdr_tag;

constexpr int kFullVolume = 256;

// Volume in 256ths from the user's percent: the integer part of
// percent x 2.56 + 0.5, so 0 -> 0, 1 -> 3, 50 -> 128, 99 -> 253, 100 -> 256.
int VolumeFromPercent(int percent);

// Blocks in the ring for a play-buffer length in milliseconds: one per half
// second, rounded up, at least 2 and at most 16.
int BlockCountFor(int playBufferMs);

// How a block's bytes are samples, from the PCM format's block align and
// channels.
enum SampleKind : int {
  kSamples8Mono = 0,     // block align 1
  kSamples8Stereo = 1,   // block align 2, two channels
  kSamples16Mono = 2,    // block align 2, one channel
  kSamples16Stereo = 3,  // any other block align
};
SampleKind SampleKindFor(const PcmFormat& format);

// The 64-bit byte position that the device's 32-bit one stands for, given
// the bytes queued so far: the device cannot have played more than that,
// and never a whole 4 GB less (the ring holds seconds). -1 when no such
// position exists.
std::int64_t UnwrapPosition(std::uint32_t position, std::int64_t queuedBytes);

// Scales bytes in place by volume/256: signed 16-bit little-endian samples
// for the 16-bit kinds, unsigned 8-bit samples around 128 for the others.
void ScaleSamples(std::uint8_t* bytes, int count, SampleKind kind, int volume);

class WaveRing {
 public:
  WaveRing() = default;
  ~WaveRing();
  WaveRing(const WaveRing&) = delete;
  WaveRing& operator=(const WaveRing&) = delete;

  // events[0] is set each time a block has finished playing.
  bool Open(void* const* events, const PcmFormat& format, int blockBytes, int count);
  // Queues block k (prepared anew). True when it was queued.
  bool Write(int k);
  // Whether the device is done with block k, or never took it (a Write
  // that failed): either way it waits to be filled again.
  bool Finished(int k) const;
  void Silence(int k);
  void ApplyVolume(int k);
  // 0-256. With hardware volume the device level follows at once.
  void SetVolume(int v);
  void SetHardwareVolume(bool on) { hardwareVolume.store(on ? 1 : 0); }
  // Ends what is still queued at once (waveOutReset): the sound stops.
  void CutOff();
  void Close();

  std::uint8_t* Block(int k) { return buffers[k]; }
  int BlockBytes() const { return blockBytes; }
  int Count() const { return count; }
  bool IsOpen() const { return device.load() != nullptr; }
  // The open device's level (left in the low, right in the high 16 bits),
  // 0xFFFFFFFF when it cannot be read.
  std::uint32_t DeviceVolume() const;
  // PCM bytes the device has played since Open, or -1 when it cannot tell.
  // For the play thread only.
  std::int64_t PlayedBytes();

 private:
  std::atomic<HWAVEOUT__*> device{nullptr};
  void* const* events = nullptr;
  wavehdr_tag* headers = nullptr;
  std::uint8_t** buffers = nullptr;
  int count = 0;
  int blockBytes = 0;
  int blockAlign = 0;
  SampleKind sampleKind = kSamples16Stereo;
  // PCM bytes queued since Open, to read the device's 32-bit position by.
  std::int64_t queuedBytes = 0;
  // Written by the main thread, read once per block by the play thread.
  std::atomic<int> volume{kFullVolume};
  std::atomic<int> hardwareVolume{0};
};
