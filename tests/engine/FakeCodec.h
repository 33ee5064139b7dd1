// A codec for tests: each frame yields samplesPerFrame stereo 16-bit samples
// whose bytes count up from the frame's number, so that lost, doubled or
// reordered PCM shows. Frames can be refused by number.
#pragma once

#include <set>
#include <vector>

#include "engine/FrameCodec.h"

class FakeCodec : public FrameCodec {
 public:
  int Open(const Mp3Format& source, int inputBytes, PcmFormat& pcm) override {
    opened = true;
    lastSource = source;
    lastInputBytes = inputBytes;
    pcm = PcmFormat{};
    pcm.formatTag = 1;
    pcm.channels = static_cast<std::uint16_t>(channels);
    pcm.samplesPerSec = static_cast<std::uint32_t>(source.sampleRate);
    pcm.bitsPerSample = 16;
    pcm.blockAlign = static_cast<std::uint16_t>(2 * channels);
    pcm.avgBytesPerSec = pcm.samplesPerSec * pcm.blockAlign;
    bytesPerFrame = samplesPerFrame * pcm.blockAlign;
    out.assign(static_cast<size_t>(bytesPerFrame), 0);
    return failOpen ? 0 : bytesPerFrame;
  }
  int Convert(const std::uint8_t* frame, int length, const std::uint8_t** pcm) override {
    int number = converted++;
    frameLengths.push_back(length);
    firstBytes.push_back(frame[0]);
    if (refuse.count(number)) return -1;
    for (int i = 0; i < bytesPerFrame; ++i) out[static_cast<size_t>(i)] = static_cast<std::uint8_t>(number + i);
    *pcm = out.data();
    return bytesPerFrame;
  }
  void Close() override { opened = false; }

  int channels = 2;
  int samplesPerFrame = 1152;
  bool failOpen = false;
  std::set<int> refuse;

  bool opened = false;
  Mp3Format lastSource;
  int lastInputBytes = 0;
  int bytesPerFrame = 0;
  int converted = 0;
  std::vector<int> frameLengths;
  std::vector<std::uint8_t> firstBytes;

 private:
  std::vector<std::uint8_t> out;
};
