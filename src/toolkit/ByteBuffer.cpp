#include "toolkit/ByteBuffer.h"

#include <cstdlib>
#include <cstring>

bool ByteBuffer::Init(std::uint32_t initialSize, std::uint32_t growthStep) {
  Release();
  data = static_cast<std::uint8_t*>(std::malloc(initialSize ? initialSize : 1));
  if (!data) return false;
  capacity = initialSize;
  length = 0;
  step = growthStep;
  return true;
}

bool ByteBuffer::Append(const void* bytes, std::uint32_t count) {
  if (!data) return false;
  if (count > UINT32_MAX - length) return false;
  std::uint32_t needed = length + count;
  if (needed > capacity) {
    if (step == 0) return false;
    // Whole steps, as many as it takes for the new bytes to fit.
    std::uint64_t steps = (static_cast<std::uint64_t>(needed - capacity) + step - 1) / step;
    std::uint64_t grown = capacity + steps * step;
    if (grown > UINT32_MAX) return false;
    void* block = std::realloc(data, static_cast<size_t>(grown));
    if (!block) return false;
    data = static_cast<std::uint8_t*>(block);
    capacity = static_cast<std::uint32_t>(grown);
  }
  if (count) std::memcpy(data + length, bytes, count);
  length = needed;
  return true;
}

bool ByteBuffer::AppendByte(unsigned value) {
  std::uint8_t b = static_cast<std::uint8_t>(value);
  return Append(&b, 1);
}

bool ByteBuffer::AppendWord(unsigned value) {
  std::uint8_t b[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
  return Append(b, 2);
}

void ByteBuffer::Release() {
  std::free(data);
  data = nullptr;
  capacity = 0;
  length = 0;
}

void* MemoryBlock::Allocate(std::uint32_t bytes, bool zero) {
  Release();
  data = zero ? std::calloc(bytes ? bytes : 1, 1) : std::malloc(bytes ? bytes : 1);
  if (!data) return nullptr;
  size = bytes;
  return data;
}

void MemoryBlock::Release() {
  std::free(data);
  data = nullptr;
  size = 0;
}
