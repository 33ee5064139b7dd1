#include "engine/AcmCodec.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <vector>

#include "engine/StreamDecoder.h"
#include "support/Media.h"

namespace {

struct Case {
  const char* file;
  int sampleRate, channels, frequency;
};

// Rising zero crossings per second of the first channel.
double Frequency(const std::vector<std::int16_t>& samples, int channels, int sampleRate, size_t from, size_t count) {
  int crossings = 0;
  for (size_t i = from + 1; i < from + count; ++i) {
    if (samples[(i - 1) * channels] < 0 && samples[i * channels] >= 0) ++crossings;
  }
  return crossings * static_cast<double>(sampleRate) / static_cast<double>(count);
}

}  // namespace

// What the platform's codec does with each kind of stream: the suggested PCM
// format, the output room it reports for one frame, and the sound itself.
TEST(AcmCodec, DecodesEveryKindOfLayerThreeStream) {
  const Case cases[] = {
      {"tone1k_44k_stereo_128.mp3", 44100, 2, 1000},
      {"tone440_44k_mono_96.mp3", 44100, 1, 440},
      {"tone1k_22k_stereo_64.mp3", 22050, 2, 1000},
      {"tone440_22k_mono_32.mp3", 22050, 1, 440},
      {"tone1k_11k_mono_24.mp3", 11025, 1, 1000},
      {"tone440_8k_stereo_16.mp3", 8000, 2, 440},
      {"tone1k_44k_stereo_128_crc.mp3", 44100, 2, 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<std::uint8_t> data = ReadMedia(c.file);
    ASSERT_FALSE(data.empty());
    AcmCodec codec;
    StreamDecoder decoder(codec);
    const std::uint8_t* cursor = data.data();
    const std::uint8_t* end = data.data() + data.size();
    ASSERT_TRUE(decoder.Init(cursor, end, 2));
    const PcmFormat& f = decoder.Format();
    std::printf("%s: PCM %u Hz %u ch %u bit, align %u, %u B/s; %d B per %d-byte frame\n", c.file,
                static_cast<unsigned>(f.samplesPerSec), f.channels, f.bitsPerSample, f.blockAlign,
                static_cast<unsigned>(f.avgBytesPerSec), static_cast<int>(codec.OutputBytes()),
                decoder.FrameLength() + 1);
    EXPECT_EQ(1, f.formatTag);
    EXPECT_EQ(static_cast<std::uint32_t>(c.sampleRate), f.samplesPerSec);
    EXPECT_EQ(c.channels, f.channels);
    EXPECT_EQ(16, f.bitsPerSample);
    EXPECT_EQ(f.avgBytesPerSec / 2 / f.blockAlign * f.blockAlign, static_cast<std::uint32_t>(decoder.BlockBytes()));

    std::vector<std::uint8_t> pcm;
    std::vector<std::uint8_t> block(static_cast<size_t>(decoder.BlockBytes()));
    while (decoder.DecodeBlock(cursor, end) == kBlockReady) {
      decoder.TakeBlock(block.data());
      pcm.insert(pcm.end(), block.begin(), block.end());
    }
    // Every file holds about 2 s: at least three whole half-second blocks.
    ASSERT_GE(pcm.size(), 3u * block.size());
    std::vector<std::int16_t> samples(pcm.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::int16_t>(pcm[2 * i] | pcm[2 * i + 1] << 8);
    size_t frames = samples.size() / c.channels;
    double hz = Frequency(samples, c.channels, c.sampleRate, frames / 4, frames / 2);
    EXPECT_NEAR(c.frequency, hz, c.frequency * 0.02);
  }
}

TEST(AcmCodec, ConvertsNothingBeforeItIsOpened) {
  AcmCodec codec;
  const std::uint8_t* pcm = nullptr;
  std::uint8_t frame[4] = {0xFF, 0xFB, 0x90, 0x64};
  EXPECT_EQ(-1, codec.Convert(frame, 4, &pcm)) << "not open";
  codec.Close();
  codec.Close();
}

TEST(AcmCodec, StreamArrivingInSmallPiecesDecodesWithoutGaps) {
  // As a paced station sends it: 320-byte pieces, less than one frame.
  std::vector<std::uint8_t> data = ReadMedia("tone1k_44k_stereo_128_30s.mp3");
  ASSERT_FALSE(data.empty());
  AcmCodec codec;
  StreamDecoder decoder(codec);
  std::vector<std::uint8_t> buffer(34816);
  size_t fed = 4096;
  std::memcpy(buffer.data(), data.data(), fed);
  int end = static_cast<int>(fed), cursorAt = 0;
  const std::uint8_t* cursor = buffer.data();
  ASSERT_TRUE(decoder.Init(cursor, buffer.data() + end, 2));
  cursorAt = static_cast<int>(cursor - buffer.data());
  std::vector<std::int16_t> left;
  std::vector<std::uint8_t> block(static_cast<size_t>(decoder.BlockBytes()));
  for (;;) {
    cursor = buffer.data() + cursorAt;
    if (decoder.DecodeBlock(cursor, buffer.data() + end) == kBlockReady) {
      cursorAt = static_cast<int>(cursor - buffer.data());
      decoder.TakeBlock(block.data());
      for (size_t i = 0; i + 3 < block.size(); i += 4) left.push_back(static_cast<std::int16_t>(block[i] | block[i + 1] << 8));
      continue;
    }
    cursorAt = static_cast<int>(cursor - buffer.data());
    if (fed >= data.size()) break;
    std::memmove(buffer.data(), buffer.data() + cursorAt, static_cast<size_t>(end - cursorAt));
    end -= cursorAt;
    cursorAt = 0;
    size_t n = std::min<size_t>(320, data.size() - fed);
    std::memcpy(buffer.data() + end, data.data() + fed, n);
    end += static_cast<int>(n);
    fed += n;
  }
  ASSERT_GT(left.size(), 44100u * 28);
  // Skip the encoder's lead-in, then no quiet run of half a frame or more.
  size_t first = 0;
  while (first < left.size() && std::abs(left[first]) <= 1000) ++first;
  int run = 0, longest = 0;
  size_t longestAt = 0;
  for (size_t i = first; i < left.size(); ++i) {
    run = std::abs(left[i]) <= 1000 ? run + 1 : 0;
    if (run > longest) {
      longest = run;
      longestAt = i;
    }
  }
  EXPECT_LT(longest, 576) << "a gap of " << longest << " samples ending at " << longestAt;
}
