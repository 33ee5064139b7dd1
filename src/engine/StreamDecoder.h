// Turns the MP3 bytes of a stream into blocks of PCM of half a second each:
// finds and checks the first frame, describes the stream to the codec, then
// feeds it every later frame that carries the first frame's signature.
#pragma once

#include <cstdint>

#include "engine/FrameCodec.h"
#include "toolkit/ByteBuffer.h"

// DecodeBlock results.
enum DecodeResult : int {
  kBlockReady = 0,  // a block of PCM is staged
  kNeedInput = 2,   // the next frame is not wholly in the data yet
};

// Told of every frame converted, in stream order: where it starts and how
// many PCM bytes the decoder had made before it (since Init).
class FrameObserver {
 public:
  virtual void FrameConverted(const std::uint8_t* frame, std::int64_t pcmBefore) = 0;

 protected:
  ~FrameObserver() = default;
};

class StreamDecoder {
 public:
  explicit StreamDecoder(FrameCodec& frameCodec) : codec(frameCodec) {}
  ~StreamDecoder() { Close(); }
  StreamDecoder(const StreamDecoder&) = delete;
  StreamDecoder& operator=(const StreamDecoder&) = delete;

  // Finds the first frame in [cursor, end) and opens the codec for its
  // stream; cursor ends on the frame. A failed Init leaves what it acquired
  // for Close.
  bool Init(const std::uint8_t*& cursor, const std::uint8_t* end, int blocksPerSecond);
  // Returns kBlockReady when blockBytes of PCM are staged, kNeedInput when
  // the next frame is not wholly in [cursor, end) yet.
  DecodeResult DecodeBlock(const std::uint8_t*& cursor, const std::uint8_t* end, FrameObserver* observer = nullptr);
  // Copies one staged block of blockBytes to destination; nothing when less
  // than a block is staged.
  void TakeBlock(std::uint8_t* destination);
  void Close();

  const PcmFormat& Format() const { return pcmFormat; }
  const Mp3Format& SourceFormat() const { return mp3Format; }
  int BlockBytes() const { return blockBytes; }
  int Bitrate() const { return bitrate; }
  int FrameLength() const { return frameLength; }
  std::uint32_t FrameSignature() const { return frameSignature; }
  int StagedBytes() const { return stagedBytes; }
  // PCM bytes made since Init, taken or still staged.
  std::int64_t PcmMade() const { return pcmMade; }

 private:
  FrameCodec& codec;
  MemoryBlock pcmStaging;
  int blockBytes = 0;
  int stagedBytes = 0;
  std::int64_t pcmMade = 0;
  int bitrate = 0;
  PcmFormat pcmFormat;
  Mp3Format mp3Format;
  int pcmOutBytes = 0;
  int frameLength = 0;
  std::uint32_t frameSignature = 0;
};
