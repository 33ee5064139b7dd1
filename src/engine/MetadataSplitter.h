// Separates the metadata blocks that a SHOUTcast server interleaves after
// every metaInterval audio bytes from the audio, and keeps each block's title
// under the index of the ring block that was being filled when it arrived, so
// that it can be shown when that block starts to sound.
#pragma once

#include <cstdint>

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

  // Files every title received with kUnfiled whose audio begins before
  // audioPosition under blockIndex (each block keeps the last one).
  void FileTitles(int blockIndex, std::int64_t audioPosition);
  // Removes and returns the title filed under blockIndex.
  bool TakeTitle(int blockIndex, TextString& title);
  // Returns the newest filed title and forgets every filed one; unfiled
  // titles wait for their blocks.
  bool TakeNewestTitle(TextString& title);
  void ClearTitles() { pendingTitles.Clear(); }
  static const char* TitleOf(Record* record);

  // The block index that files a title by its audio position later on.
  static constexpr int kUnfiled = 0xFFFF;

  int metaInterval = 0;
  // Above 0: audio bytes before the next length byte; 0: the next byte is a
  // length byte; below 0: a block of -metaCountdown bytes lies, incomplete,
  // at the start of the receive buffer.
  int metaCountdown = 0;
  // Audio bytes appended to decode buffers since Start.
  std::int64_t audioTotal = 0;
  // Payload: a 16-bit block index, the 64-bit audio position at which the
  // title's audio begins, then the NUL-terminated title.
  RecordList pendingTitles;
};
