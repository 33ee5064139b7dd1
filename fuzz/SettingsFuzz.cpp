// Any bytes as "Korimba3.ini": reading never fails, and what is read is
// written back and read again unchanged, in the exact bytes of the format.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "FuzzFiles.h"
#include "shell/Settings.h"
#include "toolkit/TextString.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string input = FuzzPath("input.ini");
  static const std::string output = FuzzPath("Korimba3.ini");
  WriteFuzzFile(input, data, size);

  Settings first;
  LoadSettings(first, input.c_str());
  for (std::int32_t width : first.favColW) {
    if (width <= 1) abort();
  }
  if (!SaveSettings(first, output.c_str())) abort();

  TextString expected;
  FormatSettings(first, expected);
  if (ReadFuzzFile(output) != expected.CStr()) abort();

  Settings second;
  LoadSettings(second, output.c_str());
  TextString again;
  FormatSettings(second, again);
  if (std::strcmp(expected.CStr(), again.CStr()) != 0) abort();
  return 0;
}
