#include "engine/Mp3Frame.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/Media.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Expect {
  const char* file;
  int version, sampleRate, channels, kbps;
  bool crc;
};

// Every frame from the first by signature; the lengths of all frames found.
std::vector<int> WalkFrames(const Bytes& data, Mp3Header* first, size_t* firstOffset) {
  std::vector<int> lengths;
  const std::uint8_t* cursor = data.data();
  const std::uint8_t* end = data.data() + data.size();
  if (!FindFirstMp3Frame(cursor, end, first)) return lengths;
  *firstOffset = static_cast<size_t>(cursor - data.data());
  std::uint32_t signature = Mp3FrameSignature(cursor);
  int base = first->frameLength - (first->padding ? 1 : 0);
  for (;;) {
    int length = FindNextMp3Frame(cursor, end, signature, base);
    if (length == 0) break;
    lengths.push_back(length);
    cursor += length;
  }
  return lengths;
}

Bytes Header(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
  Bytes frame(2000, 0);
  frame[0] = 0xFF;
  frame[1] = b1;
  frame[2] = b2;
  frame[3] = b3;
  return frame;
}

bool Parses(const Bytes& b) {
  Mp3Header h;
  return ParseMp3Header(b.data(), &h);
}

}  // namespace

TEST(Mp3Frame, FindsEveryFrameOfRealEncoderOutput) {
  const Expect files[] = {
      {"tone1k_44k_stereo_128.mp3", 1, 44100, 2, 128, false},
      {"tone440_44k_stereo_128.mp3", 1, 44100, 2, 128, false},
      {"tone440_44k_mono_96.mp3", 1, 44100, 1, 96, false},
      {"tone1k_22k_stereo_64.mp3", 2, 22050, 2, 64, false},
      {"tone440_22k_mono_32.mp3", 2, 22050, 1, 32, false},
      {"tone1k_11k_mono_24.mp3", 25, 11025, 1, 24, false},
      {"tone440_8k_stereo_16.mp3", 25, 8000, 2, 16, false},
      {"tone1k_44k_stereo_128_crc.mp3", 1, 44100, 2, 128, true},
  };
  for (const Expect& e : files) {
    SCOPED_TRACE(e.file);
    Bytes data = ReadMedia(e.file);
    ASSERT_FALSE(data.empty());
    Mp3Header h;
    size_t offset = 0;
    std::vector<int> lengths = WalkFrames(data, &h, &offset);
    EXPECT_EQ(0u, offset) << "lame -t writes audio from the first byte";
    EXPECT_EQ(e.version, h.version);
    EXPECT_EQ(e.sampleRate, h.sampleRate);
    EXPECT_EQ(e.channels, h.channels);
    EXPECT_EQ(e.kbps, h.bitrateKbps);
    EXPECT_EQ(e.crc, h.protectedByCrc);
    // A constant bit rate stream: every frame is found and they tile the file
    // (lame may leave an ID3v1-sized tail at most).
    size_t covered = 0;
    for (int length : lengths) covered += static_cast<size_t>(length);
    EXPECT_GT(lengths.size(), 10u);
    EXPECT_LE(data.size() - covered, 128u);
    int base = Mp3FrameLength(h.version, h.bitrateKbps, h.sampleRate);
    for (int length : lengths) EXPECT_TRUE(length == base || length == base + 1) << length;
  }
}

TEST(Mp3Frame, FrameLengthsOfTheTables) {
  EXPECT_EQ(417, Mp3FrameLength(1, 128, 44100));
  EXPECT_EQ(208, Mp3FrameLength(2, 64, 22050));
  EXPECT_EQ(1440, Mp3FrameLength(1, 320, 32000));
  EXPECT_EQ(72, Mp3FrameLength(25, 8, 8000));

  Mp3Header h;
  // MPEG-1 Layer III, no CRC, 128 kbit/s (index 9), 44100 Hz, padding set.
  ASSERT_TRUE(ParseMp3Header(Header(0xFB, 0x92, 0x64).data(), &h));
  EXPECT_EQ(418, h.frameLength);
  ASSERT_TRUE(ParseMp3Header(Header(0xFB, 0x90, 0x64).data(), &h));
  EXPECT_EQ(417, h.frameLength);
  // MPEG-2, 64 kbit/s (index 8), 22050 Hz.
  ASSERT_TRUE(ParseMp3Header(Header(0xF3, 0x82, 0x64).data(), &h));
  EXPECT_EQ(209, h.frameLength);
  EXPECT_EQ(22050, h.sampleRate);
  EXPECT_EQ(17, h.sideInfoBytes);
  ASSERT_TRUE(ParseMp3Header(Header(0xF3, 0x80, 0xC4).data(), &h));
  EXPECT_EQ(208, h.frameLength);
  EXPECT_EQ(1, h.channels);
  EXPECT_EQ(9, h.sideInfoBytes);
}

TEST(Mp3Frame, RejectsHeadersThatAreNotLayerThreeStreams) {
  EXPECT_TRUE(Parses(Header(0xFB, 0x90, 0x64)));
  EXPECT_FALSE(Parses(Header(0xFB, 0x00, 0x64))) << "free format";
  EXPECT_FALSE(Parses(Header(0xFB, 0xF0, 0x64))) << "bit-rate index 15";
  EXPECT_FALSE(Parses(Header(0xFB, 0x9C, 0x64))) << "sample-rate index 3";
  EXPECT_FALSE(Parses(Header(0xEB, 0x90, 0x64))) << "reserved version";
  EXPECT_FALSE(Parses(Header(0xFF, 0x90, 0x64))) << "Layer I";
  EXPECT_FALSE(Parses(Header(0xFD, 0x90, 0x64))) << "Layer II";
  EXPECT_FALSE(Parses(Header(0xF9, 0x90, 0x64))) << "reserved layer";
  EXPECT_FALSE(Parses(Header(0xFB, 0x90, 0x66))) << "emphasis 2";
  EXPECT_FALSE(Parses(Header(0xFB, 0x90, 0x34))) << "mode extension outside joint stereo";
  EXPECT_TRUE(Parses(Header(0xFB, 0x90, 0x74))) << "mode extension in joint stereo";
  EXPECT_FALSE(Parses(Header(0xDB, 0x90, 0x64))) << "no frame sync";
}

TEST(Mp3Frame, SkipsId3TagsAndJunkBeforeTheFirstFrame) {
  Bytes tagged = ReadMedia("tone1k_44k_stereo_128_id3.mp3");
  ASSERT_GT(tagged.size(), 10u);
  ASSERT_EQ('I', tagged[0]);
  size_t tagSize = 10 + ((tagged[6] & 0x7F) << 21 | (tagged[7] & 0x7F) << 14 | (tagged[8] & 0x7F) << 7 | (tagged[9] & 0x7F));
  Mp3Header h;
  size_t offset = 0;
  std::vector<int> frames = WalkFrames(tagged, &h, &offset);
  EXPECT_EQ(tagSize, offset);
  EXPECT_GT(frames.size(), 50u);

  Bytes plain = ReadMedia("tone1k_44k_stereo_128.mp3");
  std::string junk = "<html>ICY 200 OK\r\n\xFF\xFB\xFF\xE0 not a frame \xFF\xFA\x90";
  Bytes mixed(junk.begin(), junk.end());
  mixed.insert(mixed.end(), plain.begin(), plain.end());
  WalkFrames(mixed, &h, &offset);
  EXPECT_EQ(junk.size(), offset);
}

TEST(Mp3Frame, ChecksTheCrcOfProtectedFirstFrames) {
  Bytes data = ReadMedia("tone1k_44k_stereo_128_crc.mp3");
  ASSERT_GT(data.size(), 2000u);
  Mp3Header h;
  ASSERT_TRUE(ParseMp3Header(data.data(), &h));
  ASSERT_TRUE(h.protectedByCrc);
  EXPECT_TRUE(Mp3CrcMatches(data.data(), h));

  // A wrong CRC: the first frame is skipped, the second is taken.
  Bytes bad = data;
  bad[5] ^= 0x01;
  const std::uint8_t* cursor = bad.data();
  ASSERT_TRUE(FindFirstMp3Frame(cursor, bad.data() + bad.size(), &h));
  EXPECT_EQ(static_cast<long>(Mp3FrameLength(1, 128, 44100) + (bad[2] & 2 ? 1 : 0)), cursor - bad.data());

  // Damaged side information is caught too.
  bad = data;
  bad[20] ^= 0x40;
  cursor = bad.data();
  ASSERT_TRUE(FindFirstMp3Frame(cursor, bad.data() + bad.size(), &h));
  EXPECT_GT(cursor, bad.data());

  // A frame without protection is taken without any CRC check.
  Bytes plain = ReadMedia("tone1k_44k_stereo_128.mp3");
  ASSERT_TRUE(ParseMp3Header(plain.data(), &h));
  EXPECT_FALSE(h.protectedByCrc);
}

TEST(Mp3Frame, IgnoresFalseSyncsWhenTheStreamStartsMidFrame) {
  // A station's first bytes are often the tail of a frame, and encoded audio
  // holds byte patterns that pass every header check.
  int falseSyncs = 0;
  for (const char* file : {"demo_tune.mp3", "tone1k_44k_stereo_128.mp3", "tone1k_44k_stereo_128_crc.mp3"}) {
    Bytes data = ReadMedia(file);
    ASSERT_GT(data.size(), 5000u);
    std::set<size_t> frameStarts;
    Mp3Header h;
    size_t offset = 0;
    size_t at = 0;
    for (int length : WalkFrames(data, &h, &offset)) {
      frameStarts.insert(at);
      at += static_cast<size_t>(length);
    }
    for (size_t start = 1; start + 4096 < data.size(); start += 3) {
      Mp3Header any;
      if (ParseMp3Header(data.data() + start, &any) && !frameStarts.count(start)) ++falseSyncs;
      const std::uint8_t* cursor = data.data() + start;
      ASSERT_TRUE(FindFirstMp3Frame(cursor, data.data() + start + 4096, &h));
      EXPECT_TRUE(frameStarts.count(static_cast<size_t>(cursor - data.data())))
          << file << " joined at " << start << " locked at " << cursor - data.data();
    }
  }
  EXPECT_GT(falseSyncs, 10) << "the data holds false syncs";
}

TEST(Mp3Frame, VariableBitRateStreamKeepsOnlyFramesOfTheFirstRate) {
  Bytes data = ReadMedia("mixed_44k_stereo_vbr.mp3");
  ASSERT_FALSE(data.empty());
  // Every frame that a plain header walk finds, with its bit rate.
  std::vector<int> rates;
  for (size_t p = 0; p + 4 < data.size();) {
    Mp3Header h;
    if (ParseMp3Header(data.data() + p, &h)) {
      rates.push_back(h.bitrateKbps);
      p += static_cast<size_t>(h.frameLength);
    } else {
      ++p;
    }
  }
  Mp3Header first;
  size_t offset = 0;
  std::vector<int> taken = WalkFrames(data, &first, &offset);
  EXPECT_EQ(0u, offset);
  size_t sameRate = 0;
  for (int r : rates) sameRate += r == first.bitrateKbps;
  EXPECT_LT(sameRate, rates.size()) << "the file really changes its rate";
  EXPECT_EQ(sameRate, taken.size());
  int base = Mp3FrameLength(1, first.bitrateKbps, 44100);
  for (int length : taken) EXPECT_TRUE(length == base || length == base + 1);
}

TEST(Mp3Frame, SearchesStopAtTheEndOfTheData) {
  Bytes data = ReadMedia("tone1k_44k_stereo_128.mp3");
  ASSERT_GT(data.size(), 1000u);
  Mp3Header h;
  // The first frame cut off by the end: no frame, cursor on it.
  const std::uint8_t* cursor = data.data();
  EXPECT_FALSE(FindFirstMp3Frame(cursor, data.data() + 416, &h));
  EXPECT_EQ(data.data(), cursor);
  // Fewer than five bytes: nothing to test.
  cursor = data.data();
  EXPECT_FALSE(FindFirstMp3Frame(cursor, data.data() + 4, &h));

  std::uint32_t signature = Mp3FrameSignature(data.data());
  cursor = data.data() + 1;
  EXPECT_EQ(0, FindNextMp3Frame(cursor, data.data() + 417 + 100, signature, 417));
  EXPECT_EQ(data.data() + 417 + (data[2] & 2 ? 1 : 0), cursor) << "cursor on the cut-off frame";
  // No match: the cursor stops where the last four bytes begin.
  Bytes zeros(100, 0);
  cursor = zeros.data();
  EXPECT_EQ(0, FindNextMp3Frame(cursor, zeros.data() + zeros.size(), signature, 417));
  EXPECT_EQ(zeros.data() + 96, cursor);
}
