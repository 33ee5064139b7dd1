#include "engine/StreamDecoder.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/FakeCodec.h"
#include "engine/Mp3Frame.h"
#include "support/Media.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Decodes data in one piece; returns the blocks taken.
std::vector<Bytes> DecodeAll(StreamDecoder& decoder, const Bytes& data) {
  std::vector<Bytes> blocks;
  const std::uint8_t* cursor = data.data();
  const std::uint8_t* end = data.data() + data.size();
  while (decoder.DecodeBlock(cursor, end) == kBlockReady) {
    Bytes block(static_cast<size_t>(decoder.BlockBytes()));
    decoder.TakeBlock(block.data());
    blocks.push_back(block);
  }
  return blocks;
}

}  // namespace

TEST(StreamDecoder, InitDescribesTheStreamFromItsFirstFrame) {
  Bytes data = ReadMedia("tone1k_44k_stereo_128_id3.mp3");
  ASSERT_FALSE(data.empty());
  FakeCodec codec;
  StreamDecoder decoder(codec);
  const std::uint8_t* cursor = data.data();
  ASSERT_TRUE(decoder.Init(cursor, data.data() + data.size(), 2));
  EXPECT_EQ('I', data[0]);
  EXPECT_EQ(0xFF, *cursor) << "cursor on the first frame, after the tag";
  EXPECT_EQ(128, decoder.Bitrate());
  EXPECT_EQ(417, decoder.FrameLength());
  EXPECT_EQ(418, codec.lastInputBytes) << "room for a padded frame";
  EXPECT_EQ(2, codec.lastSource.channels);
  EXPECT_EQ(44100, codec.lastSource.sampleRate);
  EXPECT_EQ(16000, codec.lastSource.avgBytesPerSec);
  EXPECT_EQ(88200, decoder.BlockBytes()) << "half a second of 44100 Hz 16-bit stereo";
  EXPECT_EQ(Mp3FrameSignature(cursor), decoder.FrameSignature());
  EXPECT_EQ(0xFFu, decoder.FrameSignature() & 0xFF);
}

TEST(StreamDecoder, BlocksHoldEveryFramesPcmInOrder) {
  Bytes data = ReadMedia("tone1k_44k_stereo_128.mp3");
  ASSERT_FALSE(data.empty());
  FakeCodec codec;
  StreamDecoder decoder(codec);
  const std::uint8_t* cursor = data.data();
  ASSERT_TRUE(decoder.Init(cursor, data.data() + data.size(), 2));
  std::vector<Bytes> blocks = DecodeAll(decoder, data);
  // About 5 s of frames: 9 whole blocks of 88200 bytes.
  ASSERT_EQ(static_cast<size_t>(codec.converted) * 4608 / 88200, blocks.size());
  // The PCM of frame n starts with byte n; the blocks are its seamless run.
  Bytes all;
  for (const Bytes& b : blocks) all.insert(all.end(), b.begin(), b.end());
  for (size_t i = 0; i < all.size(); i += 4608) ASSERT_EQ(static_cast<std::uint8_t>(i / 4608), all[i]) << i;
  for (int length : codec.frameLengths) EXPECT_TRUE(length == 417 || length == 418);
  EXPECT_LT(decoder.StagedBytes(), decoder.BlockBytes());
}

TEST(StreamDecoder, ByteByByteInputGivesTheSameBlocks) {
  Bytes data = ReadMedia("tone1k_22k_stereo_64.mp3");
  ASSERT_FALSE(data.empty());
  FakeCodec whole, pieces;
  StreamDecoder a(whole), b(pieces);
  const std::uint8_t* cursor = data.data();
  ASSERT_TRUE(a.Init(cursor, data.data() + data.size(), 2));
  std::vector<Bytes> expected = DecodeAll(a, data);

  cursor = data.data();
  ASSERT_TRUE(b.Init(cursor, data.data() + data.size(), 2));
  std::vector<Bytes> got;
  for (size_t end = 0; end <= data.size(); ++end) {
    while (b.DecodeBlock(cursor, data.data() + end) == kBlockReady) {
      Bytes block(static_cast<size_t>(b.BlockBytes()));
      b.TakeBlock(block.data());
      got.push_back(block);
    }
  }
  EXPECT_EQ(expected, got);
  EXPECT_EQ(whole.converted, pieces.converted);
}

TEST(StreamDecoder, RefusedFrameIsSkippedByteByByte) {
  Bytes data = ReadMedia("tone1k_44k_stereo_128.mp3");
  ASSERT_FALSE(data.empty());
  FakeCodec codec;
  codec.refuse = {3};
  StreamDecoder decoder(codec);
  const std::uint8_t* cursor = data.data();
  ASSERT_TRUE(decoder.Init(cursor, data.data() + data.size(), 2));
  DecodeAll(decoder, data);
  // Frame 3 was refused; the next search found frame 4 at its own start.
  ASSERT_GT(codec.firstBytes.size(), 5u);
  for (std::uint8_t b : codec.firstBytes) EXPECT_EQ(0xFF, b);
  int total = 0;
  for (int length : codec.frameLengths) total += length;
  EXPECT_GE(static_cast<size_t>(total), data.size() - 500) << "no frame lost besides the refused one";
}

TEST(StreamDecoder, BlocksEndOnWholeSampleFrames) {
  // 11025 Hz stereo 16-bit: half a second is 22050 bytes, not a multiple of 4.
  Bytes data = ReadMedia("tone1k_11k_mono_24.mp3");
  ASSERT_FALSE(data.empty());
  FakeCodec codec;
  codec.channels = 2;
  codec.samplesPerFrame = 576;
  StreamDecoder decoder(codec);
  const std::uint8_t* cursor = data.data();
  ASSERT_TRUE(decoder.Init(cursor, data.data() + data.size(), 2));
  EXPECT_EQ(22048, decoder.BlockBytes());
  EXPECT_EQ(0, decoder.BlockBytes() % decoder.Format().blockAlign);
}

TEST(StreamDecoder, InitFailsWithoutAWholeFirstFrame) {
  Bytes data = ReadMedia("tone1k_44k_stereo_128.mp3");
  ASSERT_GT(data.size(), 416u);
  FakeCodec codec;
  StreamDecoder decoder(codec);
  const std::uint8_t* cursor = data.data();
  EXPECT_FALSE(decoder.Init(cursor, data.data() + 416, 2));
  EXPECT_FALSE(codec.opened);
  Bytes text(5000, 'a');
  cursor = text.data();
  EXPECT_FALSE(decoder.Init(cursor, text.data() + text.size(), 2));

  codec.failOpen = true;
  cursor = data.data();
  EXPECT_FALSE(decoder.Init(cursor, data.data() + data.size(), 2));
  decoder.Close();
  decoder.Close();
  EXPECT_FALSE(codec.opened);
}

TEST(StreamDecoder, TakeBlockDoesNothingBeforeABlockIsStaged) {
  FakeCodec codec;
  StreamDecoder decoder(codec);
  std::uint8_t out[4] = {1, 2, 3, 4};
  decoder.TakeBlock(out);
  EXPECT_EQ(1, out[0]);
  const std::uint8_t* cursor = out;
  EXPECT_EQ(kNeedInput, decoder.DecodeBlock(cursor, out + 4));
}
