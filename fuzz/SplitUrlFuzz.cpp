// Any bytes as a URL to play: the host and path split from it are never
// longer than the URL itself.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/HttpClient.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string url(reinterpret_cast<const char*>(data), size);
  TextString host, path;
  int port = 0;
  HttpClient::SplitUrl(url.c_str(), 8000, host, path, port);
  std::size_t length = std::strlen(url.c_str());
  if (static_cast<std::size_t>(host.Length()) > length || static_cast<std::size_t>(path.Length()) > length) __builtin_trap();
  return 0;
}
