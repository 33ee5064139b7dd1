#include "engine/MetadataSplitter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "toolkit/TextString.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes AudioPattern(int n, int seed) {
  Bytes audio(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) audio[static_cast<size_t>(i)] = static_cast<std::uint8_t>((i * 7 + seed) % 251);
  return audio;
}

Bytes MetadataBlock(const std::string& text) {
  size_t units = (text.size() + 15) / 16;
  Bytes block(1 + units * 16, 0);
  block[0] = static_cast<std::uint8_t>(units);
  std::memcpy(block.data() + 1, text.data(), text.size());
  return block;
}

// An ICY body: audio with a metadata block (or a 0 length byte) after every
// interval audio bytes.
struct IcyStream {
  Bytes wire;
  Bytes audio;
};

IcyStream Interleave(const Bytes& audio, int interval, const std::vector<std::string>& titles) {
  IcyStream s;
  s.audio = audio;
  size_t point = 0;
  for (size_t at = 0; at < audio.size(); at += static_cast<size_t>(interval)) {
    size_t n = std::min(static_cast<size_t>(interval), audio.size() - at);
    s.wire.insert(s.wire.end(), audio.begin() + static_cast<long>(at), audio.begin() + static_cast<long>(at + n));
    if (at + n < audio.size()) {
      const std::string& t = titles[point++ % titles.size()];
      Bytes block = t.empty() ? Bytes{0} : MetadataBlock(t);
      s.wire.insert(s.wire.end(), block.begin(), block.end());
    }
  }
  return s;
}

// Runs the splitter over the wire in the given chunks, draining the decode
// buffer after each call; titles are collected in arrival order.
struct SplitResult {
  Bytes audio;
  std::vector<std::string> titles;
};

class Harness {
 public:
  explicit Harness(int interval) : receive(kReceiveBufferBytes), decode(kDecodeBufferBytes) {
    b.receive = receive.data();
    b.decode = decode.data();
    splitter.Start(interval);
  }

  void Feed(const std::uint8_t* bytes, int n, int blockIndex) {
    ASSERT_LE(b.receiveEnd + n, kReceiveBufferBytes);
    std::memcpy(b.receive + b.receiveEnd, bytes, static_cast<size_t>(n));
    b.receiveEnd += n;
    splitter.SplitReceived(blockIndex, b);
    Drain();
  }

  void Drain() {
    result.audio.insert(result.audio.end(), b.decode, b.decode + b.decodeEnd);
    b.decodeEnd = 0;
    for (Record* r = splitter.pendingTitles.first; r; r = r->next) {
      result.titles.push_back(MetadataSplitter::TitleOf(r));
    }
    splitter.ClearTitles();
  }

  Bytes receive, decode;
  StreamBuffers b;
  MetadataSplitter splitter;
  SplitResult result;
};

SplitResult SplitInChunks(const Bytes& wire, int interval, const std::vector<int>& chunks) {
  Harness h(interval);
  size_t at = 0;
  int call = 0;
  for (size_t i = 0; at < wire.size(); ++i) {
    int n = static_cast<int>(std::min(wire.size() - at, static_cast<size_t>(chunks[i % chunks.size()])));
    h.Feed(wire.data() + at, n, call++ % 16);
    at += static_cast<size_t>(n);
  }
  return h.result;
}

std::string Title(MetadataSplitter& s, int block) {
  TextString t;
  return s.TakeTitle(block, t) ? t.CStr() : "<none>";
}

}  // namespace

TEST(MetadataSplitter, KeepsAudioAlignedAcrossSplitBlocks) {
  const int interval = 100;
  IcyStream s = Interleave(AudioPattern(1000, 3), interval, {"StreamTitle='One';", "", "StreamTitle='Three';"});
  // Nine metadata points: One, (none), Three, three times over.
  std::vector<std::string> expected = {"One", "Three", "One", "Three", "One", "Three"};

  // Chunks no larger than the interval complete at most one block per call,
  // so every chunking must give the same titles in the same order.
  std::vector<std::vector<int>> chunkings = {{1}, {2}, {3}, {7}, {16}, {99}, {100}, {101 - 1}, {1, 100}, {50, 51}};
  std::mt19937 random(42);
  for (int i = 0; i < 20; ++i) {
    std::vector<int> chunks;
    for (int j = 0; j < 50; ++j) chunks.push_back(1 + static_cast<int>(random() % 100));
    chunkings.push_back(chunks);
  }
  for (const auto& chunks : chunkings) {
    SplitResult r = SplitInChunks(s.wire, interval, chunks);
    EXPECT_EQ(s.audio, r.audio) << "chunk " << chunks[0];
    EXPECT_EQ(expected, r.titles) << "chunk " << chunks[0];
  }

  // Two reads with the split at every position of the first two blocks:
  // right after the length byte, inside the block, right before its end.
  for (int cut = 1; cut < 260 && cut < static_cast<int>(s.wire.size()); ++cut) {
    std::vector<int> chunks(40, 97);
    chunks[0] = cut;
    SplitResult r = SplitInChunks(s.wire, interval, chunks);
    EXPECT_EQ(s.audio, r.audio) << "cut at " << cut;
    EXPECT_EQ(expected, r.titles) << "cut at " << cut;
  }
}

TEST(MetadataSplitter, WholeStreamInOneReadKeepsOnlyTheLastTitleOfTheBlock) {
  IcyStream s = Interleave(AudioPattern(500, 1), 100, {"StreamTitle='First';", "StreamTitle='Second';"});
  Harness h(100);
  h.Feed(s.wire.data(), static_cast<int>(s.wire.size()), 3);
  EXPECT_EQ(s.audio, h.result.audio);
  EXPECT_EQ(std::vector<std::string>{"Second"}, h.result.titles);
}

TEST(MetadataSplitter, IncompleteBlockWaitsAtTheStartOfTheReceiveBuffer) {
  IcyStream s = Interleave(AudioPattern(200, 5), 100, {"StreamTitle='Late';"});
  Harness h(100);
  // Audio, the length byte and 5 bytes of the block.
  h.Feed(s.wire.data(), 106, 0);
  EXPECT_TRUE(h.splitter.BlockIncomplete());
  EXPECT_EQ(5, h.b.receiveEnd);
  EXPECT_EQ(100u, h.result.audio.size());
  EXPECT_TRUE(h.result.titles.empty());
  // No audio may pass while the block is incomplete, however it is fed.
  h.Feed(s.wire.data() + 106, 1, 0);
  EXPECT_TRUE(h.splitter.BlockIncomplete());
  EXPECT_EQ(100u, h.result.audio.size());
  h.Feed(s.wire.data() + 107, static_cast<int>(s.wire.size()) - 107, 2);
  EXPECT_FALSE(h.splitter.BlockIncomplete());
  EXPECT_EQ(s.audio, h.result.audio);
  EXPECT_EQ(std::vector<std::string>{"Late"}, h.result.titles);
}

TEST(MetadataSplitter, SkipsOversizedBlocksWithAudioKeptAligned) {
  Bytes audio = AudioPattern(300, 9);
  Bytes wire(audio.begin(), audio.begin() + 100);
  Bytes big(1 + 32 * 16, 'x');  // 512 bytes: dropped whole
  big[0] = 32;
  std::memcpy(big.data() + 1, "StreamTitle='Big';", 18);
  wire.insert(wire.end(), big.begin(), big.end());
  wire.insert(wire.end(), audio.begin() + 100, audio.begin() + 200);
  Bytes fits(1 + 31 * 16, 0);  // 496 bytes: still read
  fits[0] = 31;
  std::memcpy(fits.data() + 1, "StreamTitle='Fits';", 19);
  wire.insert(wire.end(), fits.begin(), fits.end());
  wire.insert(wire.end(), audio.begin() + 200, audio.end());
  for (int chunk : {1, 13, 100, 4096}) {
    SplitResult r = SplitInChunks(wire, 100, {chunk});
    EXPECT_EQ(audio, r.audio) << chunk;
    EXPECT_EQ(std::vector<std::string>{"Fits"}, r.titles) << chunk;
  }
}

TEST(MetadataSplitter, ZeroLengthByteGivesNoTitleAndAudioFollows) {
  IcyStream s = Interleave(AudioPattern(400, 2), 64, {""});
  SplitResult r = SplitInChunks(s.wire, 64, {1000});
  EXPECT_EQ(s.audio, r.audio);
  EXPECT_TRUE(r.titles.empty());
}

TEST(MetadataSplitter, TakesTheTitleOutOfTheBlock) {
  MetadataSplitter s;
  auto handle = [&](const char* text, int block) {
    s.HandleMetadata(block, reinterpret_cast<const std::uint8_t*>(text), static_cast<int>(std::strlen(text)));
  };
  handle("StreamTitle='A - B';StreamUrl='';", 1);
  EXPECT_EQ("A - B", Title(s, 1));
  handle("Just some text", 2);
  EXPECT_EQ("Just some text", Title(s, 2)) << "a block without the tag is the title";
  handle("StreamTitle='No end", 3);
  EXPECT_EQ("No end", Title(s, 3)) << "runs to the end of the block";
  handle("StreamTitle='It's here';", 4);
  EXPECT_EQ("It's here", Title(s, 4)) << "only a quote followed by ; ends it";
  EXPECT_EQ("<none>", Title(s, 4)) << "a shown title is gone";

  handle("StreamTitle='Old';", 5);
  handle("StreamTitle='New';", 5);
  handle("StreamTitle='Other';", 6);
  EXPECT_EQ("New", Title(s, 5)) << "each block keeps only the last title";
  EXPECT_EQ("Other", Title(s, 6));
}

TEST(MetadataSplitter, FirstTitleIsTheNewestAndClearsTheRest) {
  MetadataSplitter s;
  const char* a = "StreamTitle='A';";
  const char* b = "StreamTitle='B';";
  s.HandleMetadata(0, reinterpret_cast<const std::uint8_t*>(a), 16);
  s.HandleMetadata(1, reinterpret_cast<const std::uint8_t*>(b), 16);
  TextString t;
  ASSERT_TRUE(s.TakeNewestTitle(t));
  EXPECT_STREQ("B", t.CStr());
  EXPECT_TRUE(s.pendingTitles.IsEmpty());
  EXPECT_FALSE(s.TakeNewestTitle(t));
}

TEST(MetadataSplitter, StreamWithoutMetadataIsAllAudio) {
  Bytes audio = AudioPattern(5000, 4);
  for (int interval : {0, -16, -2147483647 - 1}) {
    SplitResult r = SplitInChunks(audio, interval, {333});
    EXPECT_EQ(audio, r.audio) << interval;
  }
}

TEST(MetadataSplitter, NeverWritesPastTheDecodeBuffer) {
  // A tiny interval and reads that always end inside a block: audio piles up
  // in the decode buffer while nobody decodes. The splitter must stop at the
  // buffer's end and keep the rest.
  const int interval = 16;
  IcyStream s = Interleave(AudioPattern(60000, 8), interval, {"StreamTitle='x';"});
  Harness h(interval);
  size_t at = 0;
  Bytes got;
  bool sawFull = false;
  while (at < s.wire.size()) {
    int room = kReceiveBufferBytes - h.b.receiveEnd;
    int n = static_cast<int>(std::min<size_t>(static_cast<size_t>(room), s.wire.size() - at));
    std::memcpy(h.b.receive + h.b.receiveEnd, s.wire.data() + at, static_cast<size_t>(n));
    h.b.receiveEnd += n;
    at += static_cast<size_t>(n);
    h.splitter.SplitReceived(0, h.b);
    ASSERT_LE(h.b.decodeEnd, kDecodeBufferBytes);
    if (h.splitter.HasUnsplitAudio(h.b)) {
      sawFull = true;
      EXPECT_EQ(kDecodeBufferBytes, h.b.decodeEnd);
      // Decode (drain), then split the rest before receiving more.
      got.insert(got.end(), h.b.decode, h.b.decode + h.b.decodeEnd);
      h.b.decodeEnd = 0;
      h.splitter.SplitReceived(0, h.b);
    }
  }
  got.insert(got.end(), h.b.decode, h.b.decode + h.b.decodeEnd);
  EXPECT_TRUE(sawFull);
  EXPECT_EQ(s.audio, got);
}

TEST(MetadataSplitter, FilesTitlesUnderTheBlockThatCarriesTheirAudio) {
  IcyStream s = Interleave(AudioPattern(1000, 6), 100, {"StreamTitle='A';", "StreamTitle='B';", "", "StreamTitle='C';"});
  Harness h(100);
  // Everything arrives at once, ahead of the blocks being filled.
  std::memcpy(h.b.receive, s.wire.data(), s.wire.size());
  h.b.receiveEnd = static_cast<int>(s.wire.size());
  h.splitter.SplitReceived(MetadataSplitter::kUnfiled, h.b);
  EXPECT_EQ(1000, h.splitter.audioTotal);
  TextString t;
  EXPECT_FALSE(h.splitter.TakeNewestTitle(t)) << "nothing is filed yet";
  // Frames of 50 audio bytes decode into 10 PCM bytes each. A, the
  // station's first title, holds from PCM byte 0; B comes with the frame
  // at audio byte 200, C with the one at 400, A again with the one at 500.
  for (int audio = 0; audio < 1000; audio += 50) h.splitter.ResolveTitles(audio, audio / 5);
  EXPECT_FALSE(h.splitter.HasUnresolvedTitles());
  // A (PCM from 0 on) and B (from 40) fall into a block ending at 50: the
  // block keeps the later one. C (from 80) waits.
  h.splitter.FileTitles(0, 50);
  std::int64_t at = -1;
  TextString title;
  ASSERT_TRUE(h.splitter.TakeTitle(0, title, &at));
  EXPECT_STREQ("B", title.CStr());
  EXPECT_EQ(40, at);
  EXPECT_EQ("<none>", Title(h.splitter, 1));
  h.splitter.FileTitles(1, 80);
  EXPECT_EQ("<none>", Title(h.splitter, 1)) << "C's PCM begins where the block ends";
  h.splitter.FileTitles(2, 81);
  EXPECT_FALSE(h.splitter.TakeNewestTitle(t, 79)) << "C begins after the limit";
  ASSERT_TRUE(h.splitter.TakeNewestTitle(t, 80));
  EXPECT_STREQ("C", t.CStr());
  h.splitter.FileTitles(3, 101);
  EXPECT_EQ("A", Title(h.splitter, 3));
}
