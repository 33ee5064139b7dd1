// The ranges that the settings dialog and the bar keep settings in, and the
// play-buffer <-> trackbar mapping. A hand-edited settings file may hold any
// 32-bit value; nothing here overflows for one.
#pragma once

#include <cstdint>

struct SettingRange {
  int minimum;
  int maximum;
};

constexpr SettingRange kTitleScrollRange = {5, 2000};    // ms per scroll step
constexpr SettingRange kTitleScrollAddRange = {1, 50};   // pixels per step
constexpr SettingRange kWheelAddRange = {1, 100};        // percent per notch
constexpr SettingRange kSearchCountRange = {10, 200};    // stations per query
constexpr SettingRange kVolumeRange = {0, 100};          // percent
constexpr SettingRange kPlayBufferPositions = {0, 8};    // trackbar positions

constexpr int kPlayBufferBase = 1000;  // ms at position 0
constexpr int kPlayBufferStep = 500;   // ms per position: one wave block

constexpr int ClampToRange(std::int64_t value, SettingRange range) {
  return value < range.minimum ? range.minimum : (value > range.maximum ? range.maximum : static_cast<int>(value));
}

constexpr int ClampVolume(std::int64_t volume) { return ClampToRange(volume, kVolumeRange); }

// The trackbar position that a stored play-buffer length stands for,
// truncated toward zero and kept on the trackbar (1700 ms gives 1).
constexpr int PlayBufferToTrackPosition(std::int32_t playBuffer) {
  return ClampToRange((std::int64_t{playBuffer} - kPlayBufferBase) / kPlayBufferStep, kPlayBufferPositions);
}

// The play-buffer length of a trackbar position: 1000, 1500, ... 5000 ms.
constexpr int TrackPositionToPlayBuffer(int position) {
  return kPlayBufferBase + kPlayBufferStep * ClampToRange(position, kPlayBufferPositions);
}
