#include "engine/StreamText.h"

#include "toolkit/Platform.h"
#include "toolkit/TextString.h"

namespace {

int Score(long long weight, long long bytes) { return bytes ? static_cast<int>(weight * 100 / (bytes * 2)) : 0; }

bool IsTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }
bool IsContinuation(unsigned char c) { return c >= 0x80 && c <= 0xBF; }

}  // namespace

int ScoreShiftJis(const char* text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  long long weight = 0, bytes = 0;
  while (*p) {
    unsigned char c = *p;
    if (c <= 0x7F || (c >= 0xA1 && c <= 0xDF)) {
      weight += 1;
      bytes += 1;
      p += 1;
    } else if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
      // A NUL after a lead byte is no trail byte: the scan never passes it.
      if (!IsTrail(p[1])) return -1;
      weight += 4;
      bytes += 2;
      p += 2;
    } else {
      return -1;
    }
  }
  return Score(weight, bytes);
}

int ScoreUtf8(const char* text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  long long weight = 0, bytes = 0;
  while (*p) {
    unsigned char c = *p;
    int length, charWeight;
    if (c <= 0x7F) {
      length = 1, charWeight = 1;
    } else if (c >= 0xC0 && c <= 0xDF) {
      length = 2, charWeight = 4;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3, charWeight = 6;
    } else if (c >= 0xF0 && c <= 0xF7) {
      length = 4, charWeight = 8;
    } else {
      return -1;
    }
    // Each continuation byte is tested before the next is looked at, so a
    // NUL stops the scan inside the text.
    for (int i = 1; i < length; ++i) {
      if (!IsContinuation(p[i])) return -1;
    }
    weight += charWeight;
    bytes += length;
    p += length;
  }
  return Score(weight, bytes);
}

bool DecodeStreamText(const char* input, TextString& output) {
  if (input[0] == '\0') {
    output.Clear();
    return false;
  }
  int shiftJis = ScoreShiftJis(input);
  bool fromUtf8;
  if (shiftJis < 0) {
    fromUtf8 = true;
  } else {
    int utf8 = ScoreUtf8(input);
    fromUtf8 = utf8 >= 0 && utf8 >= shiftJis;
  }
  if (fromUtf8) {
    // Sized by the conversion itself, so no title can overrun the output.
    int needed = platform::Utf8ToAnsi(input, nullptr, 0);
    if (needed > 1) {
      output.Reserve(needed);
      if (platform::Utf8ToAnsi(input, output.Data(), output.BufferSize()) > 1) return true;
    }
  }
  output.Assign(input);
  return false;
}
