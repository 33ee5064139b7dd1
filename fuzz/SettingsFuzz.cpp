// Any bytes as "Korimba3.ini": reading never fails, and what is read is
// formatted as a save writes it and read again unchanged, in the exact bytes
// of the format. (The files around it are the whole-file save's and the
// key/value reader's, tested and fuzzed on their own.)
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "shell/Settings.h"
#include "toolkit/TextString.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Settings first;
  ParseSettings(first, data, static_cast<std::uint32_t>(size));
  for (std::int32_t width : first.favColW) {
    if (width <= 1) abort();
  }

  TextString expected;
  FormatSettings(first, expected);
  Settings second;
  ParseSettings(second, expected.CStr(), static_cast<std::uint32_t>(expected.Length()));
  TextString again;
  FormatSettings(second, again);
  if (std::strcmp(expected.CStr(), again.CStr()) != 0) abort();
  return 0;
}
