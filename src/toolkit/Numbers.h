#pragma once

#include <cstdint>

// Writes value in decimal to out (room for 12 bytes) without a NUL;
// returns the count of bytes written.
inline int WriteDecimal(std::int32_t value, char* out) {
  std::uint32_t rest = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  char digits[10];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + rest % 10u);
    rest /= 10u;
  } while (rest);
  int written = 0;
  if (value < 0) out[written++] = '-';
  while (n) out[written++] = digits[--n];
  return written;
}

// Reads a decimal number the way atoi does: leading white space, an optional
// sign, digits up to the first non-digit, 0 without digits. Overflow wraps
// instead of being undefined.
inline std::int32_t ReadDecimal(const char* text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  std::uint32_t value = 0;
  while (*p >= '0' && *p <= '9') value = value * 10u + static_cast<std::uint32_t>(*p++ - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}
