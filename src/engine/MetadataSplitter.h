// Separates the metadata blocks that a SHOUTcast server interleaves after
// every metaInterval audio bytes from the audio, and keeps each title with
// the place of the audio that came with it: first the audio byte, then (once
// that audio is decoded) the PCM byte where it begins, and then the ring
// block that carries it, so that it is shown when its first sample sounds.
#pragma once

#include <cstdint>
#include <climits>

#include "toolkit/RecordList.h"

class TextString;

constexpr int kReceiveBufferBytes = 32768;
// 32768 plus room for an incomplete frame carried over.
constexpr int kDecodeBufferBytes = 34816;
// A metadata block of this size or more is dropped whole.
constexpr int kMaxMetadataBytes = 512;

// The two byte buffers of one playback: network bytes not yet split, and the
// audio bytes waiting for the decoder. Positions are offsets.
struct StreamBuffers {
  std::uint8_t* receive = nullptr;  // kReceiveBufferBytes
  int receiveEnd = 0;
  std::uint8_t* decode = nullptr;  // kDecodeBufferBytes
  int decodeCursor = 0;
  int decodeEnd = 0;
};

class MetadataSplitter {
 public:
  MetadataSplitter() = default;
  MetadataSplitter(const MetadataSplitter&) = delete;
  MetadataSplitter& operator=(const MetadataSplitter&) = delete;

  // A stream with this interval begins; 0 (or a nonsensical negative value)
  // means the stream carries no metadata.
  void Start(int interval);

  // Consumes buffers.receive[0, receiveEnd): audio is appended at decodeEnd,
  // titles are filed under blockIndex. Stops early, keeping the rest at the
  // start of the receive buffer, when a metadata block is still incomplete
  // (BlockIncomplete) or when the decode buffer is full (HasUnsplitAudio).
  void SplitReceived(int blockIndex, StreamBuffers& buffers);
  void HandleMetadata(int blockIndex, const std::uint8_t* bytes, int size);

  // A metadata block has begun and waits, incomplete, at the start of the
  // receive buffer: receive more before decoding.
  bool BlockIncomplete() const { return metaCountdown < 0; }
  // Split bytes are left over because the decode buffer was full: decode,
  // then split again before receiving more.
  bool HasUnsplitAudio(const StreamBuffers& buffers) const { return metaCountdown >= 0 && buffers.receiveEnd > 0; }

  // A frame that begins at audio byte audioPosition was decoded into PCM
  // from pcmPosition on: every title received with kUnfiled whose audio
  // begins there or before now begins at that PCM byte.
  void ResolveTitles(std::int64_t audioPosition, std::int64_t pcmPosition);
  bool HasUnresolvedTitles() const { return unresolved > 0; }
  // Files every title whose PCM begins before pcmEnd under blockIndex (each
  // block keeps the last one).
  void FileTitles(int blockIndex, std::int64_t pcmEnd);
  // Removes and returns the title filed under blockIndex, and the PCM byte
  // where it begins (0 for a title given a block when it arrived).
  bool TakeTitle(int blockIndex, TextString& title, std::int64_t* pcmPosition = nullptr);
  // Returns the newest filed title that begins at pcmUpTo or before, and
  // forgets every filed one that does; the others wait for their blocks.
  bool TakeNewestTitle(TextString& title, std::int64_t pcmUpTo = INT64_MAX);
  void ClearTitles() {
    pendingTitles.Clear();
    unresolved = 0;
  }
  static const char* TitleOf(Record* record);

  // The block index that files a title by its audio position later on.
  static constexpr int kUnfiled = 0xFFFF;
  // Not a block either: the title's PCM position is known, its block not yet.
  static constexpr int kResolved = 0xFFFE;

  int metaInterval = 0;
  // Above 0: audio bytes before the next length byte; 0: the next byte is a
  // length byte; below 0: a block of -metaCountdown bytes lies, incomplete,
  // at the start of the receive buffer.
  int metaCountdown = 0;
  // Audio bytes appended to decode buffers since Start.
  std::int64_t audioTotal = 0;
  // Payload: a 16-bit block index, a 64-bit position (the audio byte while
  // kUnfiled, else the PCM byte) at which the title's audio begins, then the
  // NUL-terminated title.
  RecordList pendingTitles;

 private:
  int unresolved = 0;
  bool titleSeen = false;
};
