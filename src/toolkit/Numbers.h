#pragma once

#include <cstdint>

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
