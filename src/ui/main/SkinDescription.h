// The parsed skin: thirteen rectangles of the skin bitmap with their places in
// the window, the title font and the two title colours.
#pragma once

#include <cstdint>

// Indices of the element table, in the order of the key string resource.
enum SkinElementIndex {
  kMainRc = 0,
  kTitleRc = 1,
  kPlayButton = 2,
  kStopButton = 3,
  kListButton = 4,
  kSearchButton = 5,
  kCloseButton = 6,
  kMinButton = 7,
  kRecButton = 8,
  kMuteButton = 9,
  kVolumeKnob = 10,
  kVolumeTrack = 11,
  kNowRec = 12,
  kSkinElementCount = 13,
};

constexpr int kFirstButton = kPlayButton;
constexpr int kLastButton = kRecButton;
// What the hit tests answer where no button is.
constexpr int kNoButton = -1;

// Frames of an element's sheet rectangle, side by side from frame 0. A button
// has three; the mute button two, the second one while muted; every other
// element one.
constexpr int kFrameNormal = 0;
constexpr int kFrameHot = 1;  // under the mouse
constexpr int kFramePressed = 2;
constexpr int kFrameMuted = 1;

// Corners inclusive; -1 in the first six fields means "not given".
struct SkinElement {
  std::int32_t x1 = -1;
  std::int32_t y1 = -1;
  std::int32_t x2 = -1;
  std::int32_t y2 = -1;
  std::int32_t dx = -1;
  std::int32_t dy = -1;
  std::int32_t width = 0;   // for buttons: one frame
  std::int32_t height = 0;
};

struct SkinDescription {
  SkinElement elements[kSkinElementCount];
  char fontFace[32] = {};
  std::uint32_t textColor = 0xFFFFFF;
  std::uint32_t errorColor = 0xFF9999;
  std::int32_t fontSize = 12;
  std::int32_t bold = 0;

  const SkinElement& operator[](int index) const { return elements[index]; }
  SkinElement& operator[](int index) { return elements[index]; }
};

// The largest window a skin may ask for. A bigger background could not be
// drawn (its image would not be allocated), so such a skin is rejected.
constexpr std::int32_t kMaxWindowSide = 32767;
constexpr std::int64_t kMaxWindowPixels = std::int64_t{1} << 24;

// Fill the description from a skin text; false when the text cannot be
// loaded or has no usable main_rc. Every element is reset by every call.
bool ParseSkin(SkinDescription& skin, const char* path);
bool ParseSkin(SkinDescription& skin, const void* bytes, std::uint32_t count);
