// Any bytes as a server's answer header.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/HttpClient.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  StreamInfo info;
  int code = HttpClient::ParseIcyResponse(text.c_str(), info);
  if (code != kIcyStream && code != kIcyNotShoutcast && code != kIcyServerFull && code != kIcyRefused) __builtin_trap();
  TextString value;
  HttpClient::FindHeaderValue(text.c_str(), "icy-name:", &value);
  if (value.Length() > static_cast<int>(size)) __builtin_trap();
  int number = 0;
  HttpClient::FindHeaderNumber(text.c_str(), "icy-metaint:", &number);
  return 0;
}
