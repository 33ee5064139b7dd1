// Any bytes as a stream title or directory text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "engine/StreamText.h"
#include "toolkit/TextString.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Exactly the text and its NUL: a read past the NUL is a heap overflow.
  std::unique_ptr<char[]> text(new char[size + 1]);
  std::memcpy(text.get(), data, size);
  text[size] = '\0';
  int shiftJis = ScoreShiftJis(text.get());
  int utf8 = ScoreUtf8(text.get());
  if (shiftJis > 100 || utf8 > 100 || shiftJis < -1 || utf8 < -1) __builtin_trap();
  TextString out;
  DecodeStreamText(text.get(), out);
  if (!DecodeStreamText(text.get(), out) && std::strcmp(out.CStr(), text.get()) != 0) __builtin_trap();
  return 0;
}
