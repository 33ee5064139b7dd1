#include "engine/WaveRing.h"

#include <cstring>

int VolumeFromPercent(int percent) {
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  // percent x 2.56 + 0.5 in integers: (percent x 256 + 50) / 100.
  return (percent * 256 + 50) / 100;
}

int BlockCountFor(int playBufferMs) {
  if (playBufferMs > 8000) playBufferMs = 8000;
  int count = (playBufferMs + 499) / 500;
  return count < 2 ? 2 : count;
}

std::int64_t UnwrapPosition(std::uint32_t position, std::int64_t queuedBytes) {
  constexpr std::int64_t kWrap = std::int64_t{1} << 32;
  std::int64_t unwrapped = (queuedBytes & ~(kWrap - 1)) + position;
  if (unwrapped > queuedBytes) unwrapped -= kWrap;
  return unwrapped < 0 ? -1 : unwrapped;
}

SampleKind SampleKindFor(const PcmFormat& format) {
  if (format.blockAlign == 1) return kSamples8Mono;
  if (format.blockAlign == 2) return format.channels == 2 ? kSamples8Stereo : kSamples16Mono;
  return kSamples16Stereo;
}

void ScaleSamples(std::uint8_t* bytes, int count, SampleKind kind, int volume) {
  if (kind == kSamples16Mono || kind == kSamples16Stereo) {
    for (int i = 0; i + 1 < count; i += 2) {
      int s = static_cast<std::int16_t>(bytes[i] | bytes[i + 1] << 8);
      // An arithmetic shift: -1 x 0 >> 8 is 0, -32768 x 128 >> 8 is -16384.
      int scaled = (s * volume) >> 8;
      bytes[i] = static_cast<std::uint8_t>(scaled & 0xFF);
      bytes[i + 1] = static_cast<std::uint8_t>((scaled >> 8) & 0xFF);
    }
  } else {
    for (int i = 0; i < count; ++i) {
      bytes[i] = static_cast<std::uint8_t>((((bytes[i] - 128) * volume) >> 8) + 128);
    }
  }
}

void WaveRing::Silence(int k) {
  // Unsigned 8-bit PCM is silent at 128, not at 0.
  bool eightBit = sampleKind == kSamples8Mono || sampleKind == kSamples8Stereo;
  std::memset(buffers[k], eightBit ? 0x80 : 0, static_cast<size_t>(blockBytes));
}

void WaveRing::ApplyVolume(int k) {
  int v = volume.load(std::memory_order_relaxed);
  if (hardwareVolume.load(std::memory_order_relaxed) || v >= kFullVolume) return;
  ScaleSamples(buffers[k], blockBytes, sampleKind, v);
}
