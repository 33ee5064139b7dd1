// Any bytes as an ICY body with any metadata interval, fed in chunks whose
// sizes the input chooses, with the decoder draining at random. The buffers
// must never be overrun and no audio may be lost while room is left.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/MetadataSplitter.h"
#include "toolkit/TextString.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 6) return 0;
  std::int32_t interval;
  std::memcpy(&interval, data, 4);
  if (data[4] & 1) interval &= 0xFF;  // small intervals reach many blocks
  int chunkScale = data[5] + 1;
  data += 6;
  size -= 6;

  // Made once: a fresh pair per run costs more than the run itself. Each
  // run starts them empty, and every read stays below what it wrote.
  static std::vector<std::uint8_t> receive(kReceiveBufferBytes), decode(kDecodeBufferBytes);
  StreamBuffers b;
  b.receive = receive.data();
  b.decode = decode.data();
  MetadataSplitter splitter;
  splitter.Start(interval);
  TextString title;  // one for every take: a string per chunk cost more than the chunk
  std::size_t at = 0;
  int block = 0;
  while (at < size) {
    int room = kReceiveBufferBytes - b.receiveEnd;
    std::size_t n = static_cast<std::size_t>(data[at] % chunkScale) * 37 + 1;
    if (n > static_cast<std::size_t>(room)) n = static_cast<std::size_t>(room);
    if (n > size - at) n = size - at;
    if (n == 0) break;
    std::memcpy(b.receive + b.receiveEnd, data + at, n);
    b.receiveEnd += static_cast<int>(n);
    at += n;
    splitter.SplitReceived(data[at - 1] & 1 ? MetadataSplitter::kUnfiled : block, b);
    if (b.decodeEnd > kDecodeBufferBytes || b.receiveEnd > kReceiveBufferBytes || b.receiveEnd < 0) __builtin_trap();
    if (splitter.HasUnsplitAudio(b) && b.decodeEnd != kDecodeBufferBytes) __builtin_trap();
    // The decoder takes some or all of the audio.
    int take = (data[at - 1] & 2) ? b.decodeEnd : b.decodeEnd / 2;
    std::memmove(b.decode, b.decode + take, static_cast<std::size_t>(b.decodeEnd - take));
    b.decodeEnd -= take;
    if (splitter.HasUnsplitAudio(b)) splitter.SplitReceived(block, b);
    splitter.ResolveTitles(splitter.audioTotal - b.decodeEnd, static_cast<std::int64_t>(at));
    splitter.FileTitles(block, static_cast<std::int64_t>(at));
    block = (block + 1) % 16;
    splitter.TakeTitle(block, title);
  }
  splitter.TakeNewestTitle(title, 0);
  splitter.TakeNewestTitle(title);
  return 0;
}
