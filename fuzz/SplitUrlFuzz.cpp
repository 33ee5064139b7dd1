// Any bytes as a URL to play: the host and path split from it are never
// longer than the URL itself, and the request built from them has no byte
// below 0x20 but the CR LF that end its lines, and exactly the lines it
// should have.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/HttpText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 16) return 0;
  const char* url = reinterpret_cast<const char*>(data);
  UrlParts parts;
  SplitUrl(url, static_cast<int>(size), 8000, parts);
  if (static_cast<std::size_t>(parts.host.Length()) > size || static_cast<std::size_t>(parts.path.Length()) > size) {
    __builtin_trap();
  }
  TextString request;
  BuildRequest(RequestForm::IcyGet, parts, request);
  // The request line ends at the first CR LF and holds no other control byte.
  const char* line = request.CStr();
  const char* end = std::strstr(line, "\r\n");
  if (!end || std::strncmp(end - 9, " HTTP/1.0", 9) != 0) __builtin_trap();
  for (const char* p = line; p < end; ++p) {
    if (static_cast<unsigned char>(*p) < 0x20) __builtin_trap();
  }
  return 0;
}
