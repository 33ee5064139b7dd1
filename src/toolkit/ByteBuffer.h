// Growable byte array with a fixed growth step; users read data and length
// directly (a downloaded body is parsed in place, a packed list copied out).
#pragma once

#include <cstdint>

class ByteBuffer {
 public:
  ByteBuffer() = default;
  ~ByteBuffer() { Release(); }
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;

  bool Init(std::uint32_t initialSize, std::uint32_t growthStep);
  bool Append(const void* bytes, std::uint32_t count);
  bool AppendByte(unsigned value);
  bool AppendWord(unsigned value);
  void Release();

  std::uint8_t* data = nullptr;
  std::uint32_t capacity = 0;
  std::uint32_t length = 0;
  std::uint32_t step = 0;
};

// A fixed heap block; it never grows.
class MemoryBlock {
 public:
  MemoryBlock() = default;
  ~MemoryBlock() { Release(); }
  MemoryBlock(const MemoryBlock&) = delete;
  MemoryBlock& operator=(const MemoryBlock&) = delete;

  void* Allocate(std::uint32_t bytes, bool zero);
  void Release();

  void* data = nullptr;
  std::uint32_t size = 0;
};
