#include "engine/StreamDecoder.h"

#include <cstring>

#include "engine/Mp3Frame.h"

bool StreamDecoder::Init(const std::uint8_t*& cursor, const std::uint8_t* end, int blocksPerSecond) {
  Close();
  Mp3Header first;
  if (!FindFirstMp3Frame(cursor, end, &first)) return false;
  mp3Format.channels = first.channels;
  mp3Format.sampleRate = first.sampleRate;
  mp3Format.avgBytesPerSec = first.bitrateKbps * 1000 / 8;
  mp3Format.paddingOn = first.padding;
  mp3Format.blockSize = first.frameLength;
  bitrate = first.bitrateKbps;
  frameLength = first.frameLength - (first.padding ? 1 : 0);
  frameSignature = Mp3FrameSignature(cursor);

  pcmOutBytes = codec.Open(mp3Format, frameLength + 1, pcmFormat);
  if (pcmOutBytes <= 0) return false;
  if (blocksPerSecond <= 0 || pcmFormat.blockAlign == 0) return false;
  // Whole sample frames only: a block that ended inside a sample would shift
  // every later sample of the ring (11025 Hz stereo gives 22050 bytes a half).
  blockBytes = static_cast<int>(pcmFormat.avgBytesPerSec / static_cast<unsigned>(blocksPerSecond));
  blockBytes -= blockBytes % pcmFormat.blockAlign;
  if (blockBytes <= 0) return false;
  // One block and a third holds a block plus one frame's PCM for every
  // format the tables allow; the larger size only guards a codec that
  // reports more per frame than that.
  int staging = blockBytes + blockBytes / 3;
  if (staging < blockBytes + pcmOutBytes) staging = blockBytes + pcmOutBytes;
  if (!pcmStaging.Allocate(static_cast<std::uint32_t>(staging), false)) return false;
  stagedBytes = 0;
  pcmMade = 0;
  return true;
}

DecodeResult StreamDecoder::DecodeBlock(const std::uint8_t*& cursor, const std::uint8_t* end,
                                        FrameObserver* observer) {
  if (!pcmStaging.data) return kNeedInput;
  std::uint8_t* staging = static_cast<std::uint8_t*>(pcmStaging.data);
  while (stagedBytes < blockBytes) {
    int length = FindNextMp3Frame(cursor, end, frameSignature, frameLength);
    if (length == 0) return kNeedInput;
    const std::uint8_t* pcm = nullptr;
    int made = codec.Convert(cursor, length, &pcm);
    if (made < 0 || made > pcmOutBytes) {
      ++cursor;  // refused: the next search finds the following frame
      continue;
    }
    if (observer) observer->FrameConverted(cursor, pcmMade);
    if (made > 0) std::memcpy(staging + stagedBytes, pcm, static_cast<size_t>(made));
    stagedBytes += made;
    pcmMade += made;
    cursor += length;
  }
  return kBlockReady;
}

void StreamDecoder::TakeBlock(std::uint8_t* destination) {
  if (stagedBytes < blockBytes || blockBytes <= 0) return;
  std::uint8_t* staging = static_cast<std::uint8_t*>(pcmStaging.data);
  std::memcpy(destination, staging, static_cast<size_t>(blockBytes));
  stagedBytes -= blockBytes;
  std::memmove(staging, staging + blockBytes, static_cast<size_t>(stagedBytes));
}

void StreamDecoder::Close() {
  codec.Close();
  pcmStaging.Release();
  stagedBytes = 0;
  blockBytes = 0;
}
