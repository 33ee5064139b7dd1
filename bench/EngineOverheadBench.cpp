// What the engine itself spends on one second of 128 kbit/s audio, codec
// excluded: splitting the ICY stream (metaint 8192, a title every 10 s),
// finding the frames, and scaling the PCM to 50 % volume. The baseline is a
// plain memcpy of the same bytes: the stream bytes the splitter and the
// frame finder walk, and the PCM bytes the scaling walks.
//
//   bench_engine_overhead MP3FILE            wall-clock figures and the ratio
//   bench_engine_overhead MP3FILE engine     one pass, for callgrind
//   bench_engine_overhead MP3FILE memcpy     one pass, for callgrind
//
// Under callgrind (bench/callgrind.sh) only the measured pass is counted.
#include <valgrind/callgrind.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/MetadataSplitter.h"
#include "engine/Mp3Frame.h"
#include "engine/WaveRing.h"

namespace {

constexpr int kSeconds = 60;
constexpr int kMetaInterval = 8192;
constexpr int kPcmPerSecond = 176400;  // 44100 Hz, 16-bit stereo

std::vector<std::uint8_t> ReadFile(const char* path) {
  std::vector<std::uint8_t> bytes;
  FILE* f = std::fopen(path, "rb");
  if (!f) return bytes;
  std::uint8_t chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
  std::fclose(f);
  return bytes;
}

struct Workload {
  std::vector<std::uint8_t> wire;  // the ICY body of kSeconds of audio
  std::size_t audioBytes = 0;
  std::vector<std::uint8_t> pcm;   // kSeconds of PCM
};

Workload Make(const std::vector<std::uint8_t>& mp3) {
  Workload w;
  std::size_t audioBytes = static_cast<std::size_t>(kSeconds) * 16000;
  std::vector<std::uint8_t> audio;
  while (audio.size() < audioBytes) audio.insert(audio.end(), mp3.begin(), mp3.end());
  audio.resize(audioBytes);
  w.audioBytes = audioBytes;
  int point = 0;
  for (std::size_t at = 0; at < audio.size(); at += kMetaInterval) {
    std::size_t n = std::min<std::size_t>(kMetaInterval, audio.size() - at);
    w.wire.insert(w.wire.end(), audio.begin() + static_cast<long>(at), audio.begin() + static_cast<long>(at + n));
    if (++point % 20 == 0) {
      std::string block = "StreamTitle='Artist - Title " + std::to_string(point) + "';StreamUrl='';";
      block.resize((block.size() + 15) / 16 * 16, '\0');
      w.wire.push_back(static_cast<std::uint8_t>(block.size() / 16));
      w.wire.insert(w.wire.end(), block.begin(), block.end());
    } else {
      w.wire.push_back(0);
    }
  }
  w.pcm.resize(static_cast<std::size_t>(kSeconds) * kPcmPerSecond);
  for (std::size_t i = 0; i < w.pcm.size(); ++i) w.pcm[i] = static_cast<std::uint8_t>(i * 2654435761u >> 13);
  return w;
}

// The engine's pass: 4 KB network reads split into the decode buffer, every
// frame found by its signature, every PCM block scaled. Returns the frames
// found, so nothing is optimised away.
long EnginePass(Workload& w, std::uint32_t signature, int frameLength) {
  std::vector<std::uint8_t> receive(kReceiveBufferBytes), decode(kDecodeBufferBytes);
  StreamBuffers b;
  b.receive = receive.data();
  b.decode = decode.data();
  MetadataSplitter splitter;
  splitter.Start(kMetaInterval);
  long frames = 0;
  for (std::size_t at = 0; at < w.wire.size();) {
    std::size_t n = std::min<std::size_t>(4096, w.wire.size() - at);
    std::memcpy(b.receive + b.receiveEnd, w.wire.data() + at, n);  // what recv does
    b.receiveEnd += static_cast<int>(n);
    at += n;
    splitter.SplitReceived(MetadataSplitter::kUnfiled, b);
    const std::uint8_t* cursor = b.decode + b.decodeCursor;
    const std::uint8_t* end = b.decode + b.decodeEnd;
    for (int length; (length = FindNextMp3Frame(cursor, end, signature, frameLength)) > 0; cursor += length) ++frames;
    int left = static_cast<int>(end - cursor);
    std::memmove(b.decode, cursor, static_cast<std::size_t>(left));
    b.decodeCursor = 0;
    b.decodeEnd = left;
    splitter.ResolveTitles(splitter.audioTotal, splitter.audioTotal);
    splitter.FileTitles(0, splitter.audioTotal);
    splitter.ClearTitles();
  }
  for (std::size_t at = 0; at < w.pcm.size(); at += kPcmPerSecond / 2) {
    ScaleSamples(w.pcm.data() + at, kPcmPerSecond / 2, kSamples16Stereo, 128);
  }
  return frames;
}

// The baseline: the same bytes copied once each.
long MemcpyPass(Workload& w) {
  std::vector<std::uint8_t> target(kReceiveBufferBytes), pcmTarget(kPcmPerSecond / 2);
  long sum = 0;
  for (std::size_t at = 0; at < w.wire.size(); at += 4096) {
    std::size_t n = std::min<std::size_t>(4096, w.wire.size() - at);
    std::memcpy(target.data(), w.wire.data() + at, n);
    sum += target[0];
  }
  for (std::size_t at = 0; at < w.pcm.size(); at += kPcmPerSecond / 2) {
    std::memcpy(pcmTarget.data(), w.pcm.data() + at, kPcmPerSecond / 2);
    sum += pcmTarget[0];
  }
  return sum;
}

template <class F>
double BestOf(int runs, F f) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    f();
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (s < best) best = s;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_engine_overhead MP3FILE [engine|memcpy]\n");
    return 2;
  }
  std::vector<std::uint8_t> mp3 = ReadFile(argv[1]);
  Mp3Header first;
  const std::uint8_t* cursor = mp3.data();
  if (mp3.empty() || !FindFirstMp3Frame(cursor, mp3.data() + mp3.size(), &first) || first.bitrateKbps != 128) {
    std::fprintf(stderr, "%s: not a 128 kbit/s MP3\n", argv[1]);
    return 2;
  }
  std::uint32_t signature = Mp3FrameSignature(cursor);
  int frameLength = first.frameLength - (first.padding ? 1 : 0);
  Workload w = Make(mp3);
  std::string mode = argc > 2 ? argv[2] : "";

  if (mode == "engine" || mode == "memcpy") {
    CALLGRIND_START_INSTRUMENTATION;
    long result = mode == "engine" ? EnginePass(w, signature, frameLength) : MemcpyPass(w);
    CALLGRIND_STOP_INSTRUMENTATION;
    std::printf("%s pass over %d s of audio: %ld\n", mode.c_str(), kSeconds, result);
    return 0;
  }

  long frames = 0;
  double engine = BestOf(5, [&] { frames = EnginePass(w, signature, frameLength); });
  volatile long sink = 0;
  double copy = BestOf(5, [&] { sink = sink + MemcpyPass(w); });
  std::printf("%d s of 128 kbit/s audio: %zu stream bytes, %zu PCM bytes, %ld frames found\n", kSeconds,
              w.wire.size(), w.pcm.size(), frames);
  std::printf("engine (split + frames + volume): %8.3f ms  = %7.1f us per second of audio\n", engine * 1e3,
              engine * 1e6 / kSeconds);
  std::printf("memcpy of the same bytes:         %8.3f ms  = %7.1f us per second of audio\n", copy * 1e3,
              copy * 1e6 / kSeconds);
  std::printf("ratio engine / memcpy: %.2f\n", engine / copy);
  return 0;
}
