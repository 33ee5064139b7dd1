// Any bytes as a server's answer header, read in place: no NUL needed
// behind them, no byte read beyond them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/HttpText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 16) return 0;
  // An exact copy: ASan sees a read past the end.
  std::vector<char> text(data, data + size);
  int length = static_cast<int>(size);
  StreamInfo info;
  int code = ParseIcyResponse(text.data(), length, info);
  if (code != kIcyStream && code != kIcyNotShoutcast && code != kIcyServerFull && code != kIcyRefused) __builtin_trap();
  TextString value;
  FindHeaderValue(text.data(), length, "icy-name:", &value);
  if (value.Length() > length) __builtin_trap();
  int number = 0;
  FindHeaderNumber(text.data(), length, "icy-metaint:", &number);
  return 0;
}
