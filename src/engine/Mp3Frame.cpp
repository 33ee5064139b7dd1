#include "engine/Mp3Frame.h"

namespace {

const int kBitratesMpeg1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
const int kBitratesMpeg2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
const int kSampleRates[3] = {44100, 48000, 32000};

// The signature without the bit-rate index.
constexpr std::uint32_t kSameStreamMask = 0xC00CFEFFu;

std::uint32_t ReadLittleEndian32(const std::uint8_t* b) {
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

}  // namespace

int Mp3FrameLength(int version, int bitrateKbps, int sampleRate) {
  if (sampleRate <= 0) return 0;
  int samples = version == 1 ? 1152 : 576;
  return samples * bitrateKbps * 1000 / sampleRate / 8;
}

bool ParseMp3Header(const std::uint8_t* b, Mp3Header* header) {
  if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return false;
  int versionBits = (b[1] >> 3) & 3;
  if (versionBits == 1) return false;
  if (((b[1] >> 1) & 3) != 1) return false;  // Layer III
  int bitrateIndex = b[2] >> 4;
  if (bitrateIndex == 0 || bitrateIndex == 15) return false;  // free format or invalid
  int rateIndex = (b[2] >> 2) & 3;
  if (rateIndex == 3) return false;
  if ((b[3] & 3) == 2) return false;  // reserved emphasis
  int mode = b[3] >> 6;
  // A mode extension only means something in joint stereo.
  if (mode != 1 && ((b[3] >> 4) & 3) != 0) return false;

  Mp3Header h;
  h.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
  h.bitrateKbps = (h.version == 1 ? kBitratesMpeg1 : kBitratesMpeg2)[bitrateIndex];
  h.sampleRate = kSampleRates[rateIndex] / (h.version == 1 ? 1 : h.version == 2 ? 2 : 4);
  h.channelMode = mode;
  h.channels = mode == 3 ? 1 : 2;
  h.samplesPerFrame = h.version == 1 ? 1152 : 576;
  if (h.version == 1) {
    h.sideInfoBytes = h.channels == 1 ? 17 : 32;
  } else {
    h.sideInfoBytes = h.channels == 1 ? 9 : 17;
  }
  h.padding = (b[2] & 2) != 0;
  h.protectedByCrc = (b[1] & 1) == 0;
  h.frameLength = Mp3FrameLength(h.version, h.bitrateKbps, h.sampleRate) + (h.padding ? 1 : 0);
  *header = h;
  return true;
}

std::uint16_t Crc16(const std::uint8_t* bytes, int count, std::uint16_t crc) {
  for (int i = 0; i < count; ++i) {
    crc = static_cast<std::uint16_t>(crc ^ (bytes[i] << 8));
    for (int bit = 0; bit < 8; ++bit) {
      crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x8005 : crc << 1);
    }
  }
  return crc;
}

bool Mp3CrcMatches(const std::uint8_t* frame, const Mp3Header& header) {
  // Header bytes 2-3, then the side information behind the 16-bit CRC field.
  std::uint16_t crc = Crc16(frame + 2, 2, 0xFFFF);
  crc = Crc16(frame + 6, header.sideInfoBytes, crc);
  std::uint16_t stored = static_cast<std::uint16_t>(frame[4] << 8 | frame[5]);
  return crc == stored;
}

std::uint32_t Mp3FrameSignature(const std::uint8_t* b) { return ReadLittleEndian32(b) & kFrameSignatureMask; }

bool FindFirstMp3Frame(const std::uint8_t*& cursor, const std::uint8_t* end, Mp3Header* header) {
  const std::uint8_t* p = cursor;
  for (; end - p > 4; ++p) {
    Mp3Header h;
    if (!ParseMp3Header(p, &h)) continue;
    if (h.frameLength > end - p) {
      cursor = p;
      return false;
    }
    // The smallest frame (MPEG-2.5, 8 kbit/s, 8000 Hz: 72 bytes) still holds
    // its header, CRC and side information, so the check stays in the frame.
    if (h.protectedByCrc && !Mp3CrcMatches(p, h)) continue;
    // A stream joined in the middle of a frame holds false syncs that pass
    // every check above (in encoded audio about one per frame). When the
    // next header lies in the data too it must belong to the same stream;
    // its bit rate may differ.
    const std::uint8_t* next = p + h.frameLength;
    if (end - next >= 4 && (Mp3FrameSignature(next) & kSameStreamMask) != (Mp3FrameSignature(p) & kSameStreamMask)) {
      continue;
    }
    *header = h;
    cursor = p;
    return true;
  }
  cursor = p;
  return false;
}

int FindNextMp3Frame(const std::uint8_t*& cursor, const std::uint8_t* end, std::uint32_t signature,
                     int frameLength) {
  const std::uint8_t* p = cursor;
  for (; end - p > 4; ++p) {
    if (Mp3FrameSignature(p) != signature) continue;
    cursor = p;
    int length = frameLength + ((p[2] & 2) ? 1 : 0);
    return length <= end - p ? length : 0;
  }
  cursor = p;
  return 0;
}
