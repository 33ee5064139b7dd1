// The codec behind StreamDecoder: something that turns one whole MP3 frame at
// a time into PCM. On Windows it is the Audio Compression Manager (AcmCodec);
// tests and fuzz targets put in a codec of their own.
#pragma once

#include <cstdint>

// The fields of a WAVEFORMATEX for PCM.
struct PcmFormat {
  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t samplesPerSec = 0;
  std::uint32_t avgBytesPerSec = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 0;
};

// What the first frame tells about the stream (an MPEGLAYER3WAVEFORMAT).
struct Mp3Format {
  int channels = 0;
  int sampleRate = 0;
  int avgBytesPerSec = 0;  // kbit/s x 1000 / 8
  bool paddingOn = false;  // the first frame carries a padding byte
  int blockSize = 0;       // the first frame's length
};

class FrameCodec {
 public:
  // Opens a conversion of source; fills pcm with the suggested output format
  // and prepares buffers for frames of at most inputBytes. Returns the most
  // PCM bytes one frame can yield, or 0 on failure.
  virtual int Open(const Mp3Format& source, int inputBytes, PcmFormat& pcm) = 0;
  // Converts one whole frame. Returns the PCM bytes made (at most what Open
  // returned) and points pcm at them, or -1 when the codec refused the frame.
  virtual int Convert(const std::uint8_t* frame, int length, const std::uint8_t** pcm) = 0;
  // Safe on a codec that was never opened or is already closed.
  virtual void Close() = 0;

 protected:
  ~FrameCodec() = default;
};
