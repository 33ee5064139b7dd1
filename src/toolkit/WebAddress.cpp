#include "toolkit/WebAddress.h"

namespace {

// ASCII only: a lead byte of a double-byte character never matches.
bool StartsWithNoCase(const char* text, const char* prefix, const char** rest) {
  for (; *prefix; ++text, ++prefix) {
    char c = *text;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != *prefix) return false;
  }
  *rest = text;
  return true;
}

}  // namespace

bool IsWebAddress(const char* text) {
  if (!text) return false;
  const char* rest = nullptr;
  if (!StartsWithNoCase(text, "http://", &rest) && !StartsWithNoCase(text, "https://", &rest)) return false;
  return *rest != '\0';
}
