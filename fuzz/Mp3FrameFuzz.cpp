// Any bytes as MP3 data: the first-frame search, then the decoder's search
// for later frames with a codec that accepts or refuses by the input's say.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/Mp3Frame.h"
#include "engine/StreamDecoder.h"

namespace {

class ByteCodec final : public FrameCodec {
 public:
  int Open(const Mp3Format& source, int inputBytes, PcmFormat& pcm) override {
    if (source.channels < 1 || source.channels > 2 || inputBytes < 24 || inputBytes > 1442) __builtin_trap();
    pcm = PcmFormat{};
    pcm.formatTag = 1;
    pcm.channels = static_cast<std::uint16_t>(source.channels);
    pcm.samplesPerSec = static_cast<std::uint32_t>(source.sampleRate);
    pcm.blockAlign = static_cast<std::uint16_t>(2 * source.channels);
    pcm.bitsPerSample = 16;
    pcm.avgBytesPerSec = pcm.samplesPerSec * pcm.blockAlign;
    out.assign(9216, 0x55);
    maxInput = inputBytes;
    return 9216;
  }
  int Convert(const std::uint8_t* frame, int length, const std::uint8_t** pcm) override {
    if (length > maxInput || length <= 0) __builtin_trap();
    if (frame[length - 1] & 1) return -1;
    *pcm = out.data();
    return (frame[length - 1] & 2) ? 9216 : 4608;
  }
  void Close() override {}

 private:
  std::vector<std::uint8_t> out;
  int maxInput = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy, so that a read past the end is caught.
  std::vector<std::uint8_t> bytes(data, data + size);
  const std::uint8_t* begin = bytes.data();
  const std::uint8_t* end = begin + bytes.size();
  const std::uint8_t* cursor = begin;
  Mp3Header header;
  if (FindFirstMp3Frame(cursor, end, &header)) {
    if (cursor + header.frameLength > end) __builtin_trap();
  }
  if (cursor < begin || cursor > end) __builtin_trap();

  ByteCodec codec;
  StreamDecoder decoder(codec);
  cursor = begin;
  if (!decoder.Init(cursor, end, 2)) return 0;
  std::vector<std::uint8_t> block(static_cast<std::size_t>(decoder.BlockBytes()));
  // The input in growing windows, as the network brings it.
  for (const std::uint8_t* limit = cursor; limit <= end; limit += 97) {
    while (decoder.DecodeBlock(cursor, limit) == kBlockReady) decoder.TakeBlock(block.data());
    if (cursor < begin || cursor > limit) __builtin_trap();
  }
  while (decoder.DecodeBlock(cursor, end) == kBlockReady) decoder.TakeBlock(block.data());
  return 0;
}
