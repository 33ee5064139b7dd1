// The output device alone, played the way the player plays it: a WaveRing of
// half-second blocks, refilled as the device finishes them. Driven by
// bench/title_timing.py, which records the sink and compares.
//
//   bench_device_offset BLOCKS SECONDS
//       48 kHz 16-bit stereo; segment k is a sine of 500 + 250 k Hz, 158976
//       samples long (the test songs' length). Prints, each line flushed at
//       once for the harness to stamp on arrival:
//         "change <k>"        waveOutGetPosition has just reached the first
//                             sample of segment k (looked at every 1 ms)
//         "done <n> <bytes>"  block n (counted from the start) is finished;
//                             the position then stood <bytes> past its end
//         "end"
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "BenchLine.h"
#include "engine/WaveRing.h"

namespace {

constexpr int kRate = 48000;
constexpr int kFrameBytes = 4;
constexpr std::int64_t kSegmentSamples = 138 * 1152;
constexpr double kPi = 3.14159265358979323846;

// Sample n of the whole signal, as the test songs sound at volume 0.5.
std::int16_t SampleAt(std::int64_t n) {
  std::int64_t segment = n / kSegmentSamples;
  double t = static_cast<double>(n % kSegmentSamples) / kRate;
  double hz = 500.0 + 250.0 * static_cast<double>(segment);
  return static_cast<std::int16_t>(std::lround(16383.0 * std::sin(2 * kPi * hz * t)));
}

void FillBlock(std::uint8_t* block, int bytes, std::int64_t firstSample) {
  for (int i = 0; i < bytes / kFrameBytes; ++i) {
    std::uint16_t s = static_cast<std::uint16_t>(SampleAt(firstSample + i));
    for (int c = 0; c < 2; ++c) {
      block[i * kFrameBytes + 2 * c] = static_cast<std::uint8_t>(s & 0xFF);
      block[i * kFrameBytes + 2 * c + 1] = static_cast<std::uint8_t>(s >> 8);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_device_offset BLOCKS SECONDS\n");
    return 2;
  }
  int blocks = std::atoi(argv[1]);
  double seconds = std::atof(argv[2]);
  HANDLE done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  void* events[2] = {done, nullptr};
  PcmFormat format;
  format.formatTag = 1;
  format.channels = 2;
  format.samplesPerSec = kRate;
  format.bitsPerSample = 16;
  format.blockAlign = kFrameBytes;
  format.avgBytesPerSec = kRate * kFrameBytes;
  const int blockBytes = kRate * kFrameBytes / 2;
  WaveRing ring;
  if (blocks < 2 || !ring.Open(events, format, blockBytes, blocks)) return 2;

  std::int64_t queued = 0;    // blocks queued so far
  std::int64_t finished = 0;  // blocks found finished
  for (int k = 0; k < blocks; ++k, ++queued) {
    FillBlock(ring.Block(k), blockBytes, queued * blockBytes / kFrameBytes);
  }
  for (int k = 0; k < blocks; ++k) ring.Write(k);
  std::int64_t nextChange = 1;
  DWORD start = GetTickCount();
  while (GetTickCount() - start < seconds * 1000) {
    WaitForSingleObject(done, 1);
    std::int64_t played = ring.PlayedBytes();
    if (played >= nextChange * kSegmentSamples * kFrameBytes) Line("change %lld", static_cast<long long>(nextChange++));
    while (finished < queued && ring.Finished(static_cast<int>(finished % blocks))) {
      Line("done %lld %lld", static_cast<long long>(finished),
           static_cast<long long>(played - (finished + 1) * blockBytes));
      ++finished;
      int k = static_cast<int>(queued % blocks);
      FillBlock(ring.Block(k), blockBytes, queued * blockBytes / kFrameBytes);
      ring.Write(k);
      ++queued;
    }
  }
  Line("end");
  ring.Close();
  CloseHandle(done);
  return 0;
}
