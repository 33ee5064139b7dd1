// MPEG audio Layer III frame headers: the strict check of a first frame (with
// its CRC-16 when the frame is protected), the signature that later frames of
// the same stream share, and the searches for both. Pure functions over bytes.
#pragma once

#include <cstdint>

struct Mp3Header {
  int version = 0;          // 1 MPEG-1, 2 MPEG-2, 25 MPEG-2.5
  int bitrateKbps = 0;
  int sampleRate = 0;
  int channelMode = 0;      // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
  int channels = 0;
  int samplesPerFrame = 0;
  int sideInfoBytes = 0;
  bool padding = false;
  bool protectedByCrc = false;
  int frameLength = 0;      // with the padding byte when there is one
};

// The bytes of a frame of this stream without its padding byte.
int Mp3FrameLength(int version, int bitrateKbps, int sampleRate);

// Fills header from four bytes when they pass every check of a first frame
// but the CRC; false otherwise.
bool ParseMp3Header(const std::uint8_t* b, Mp3Header* header);

// CRC-16, polynomial 0x8005, most significant bit first.
std::uint16_t Crc16(const std::uint8_t* bytes, int count, std::uint16_t crc);

// For a protected frame that lies whole in memory: whether the CRC stored in
// bytes 4-5 covers header bytes 2-3 and the side information.
bool Mp3CrcMatches(const std::uint8_t* frame, const Mp3Header& header);

// The first four header bytes, little-endian, without the protection,
// padding, private, mode-extension, copyright, original and emphasis bits.
constexpr std::uint32_t kFrameSignatureMask = 0xC0FCFEFFu;
std::uint32_t Mp3FrameSignature(const std::uint8_t* b);

// Searches [cursor, end) for a first frame that passes every check and lies
// whole in the data, and whose next frame, when it lies in the data too,
// has a header of the same stream. On success cursor points at it. On failure cursor is
// where the search stopped: at a candidate cut off by the end of the data, or
// at the end of the positions it could test.
bool FindFirstMp3Frame(const std::uint8_t*& cursor, const std::uint8_t* end, Mp3Header* header);

// Searches [cursor, end) for the next frame with the signature. Returns its
// length when it lies whole in the data (cursor on it), 0 when it is cut off
// (cursor on it) or when nothing matched (cursor on the first position that
// could still begin a header once more bytes arrive).
int FindNextMp3Frame(const std::uint8_t*& cursor, const std::uint8_t* end, std::uint32_t signature,
                     int frameLength);
