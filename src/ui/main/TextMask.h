// A rendered title: one byte per pixel, rows top-down, non-zero is ink.
#pragma once

#include <cstdint>

class TextMask {
 public:
  // A title of the longest metadata block in a large font still fits.
  static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

  TextMask() = default;
  ~TextMask() { Release(); }
  TextMask(const TextMask&) = delete;
  TextMask& operator=(const TextMask&) = delete;

  // A zero-filled block of width x height; false (and empty) when the size
  // is not positive or too large, or memory is short.
  bool Allocate(int width, int height);
  void Release();

  bool IsEmpty() const { return bits == nullptr; }
  int Width() const { return width; }
  int Height() const { return height; }
  std::uint8_t* Row(int row) { return bits + static_cast<std::int64_t>(row) * width; }
  const std::uint8_t* Row(int row) const { return bits + static_cast<std::int64_t>(row) * width; }

 private:
  std::uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
};
