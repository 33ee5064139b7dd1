// Any bytes through the double-byte-aware string operations.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "toolkit/TextString.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int index = data[0] % 8;
  const int limit = data[1];
  const char separator = static_cast<char>(data[2]);
  std::string text(reinterpret_cast<const char*>(data + 3), size - 3);
  std::size_t cut = text.find('\0');
  std::string search = cut == std::string::npos ? std::string(" ") : text.substr(0, cut % 4 + 1);
  if (search.empty() || search[0] == '\0') search = "&";

  TextString s;
  s.Assign(text.c_str());
  s.ReplaceAll(search.c_str(), "%20");
  TextString t;
  t.Assign(text.c_str());
  int before = t.Length();
  t.TruncateBytes(limit);
  if (t.Length() > limit || t.Length() > before) __builtin_trap();
  TextString f;
  f.Assign(text.c_str());
  const char* piece = f.Field(index, separator);
  if (piece < f.CStr() || piece > f.CStr() + f.Capacity()) __builtin_trap();
  (void)std::strlen(piece);
  TextString g, out;
  g.Assign(text.c_str());
  g.GetBaseName(out);
  g.GetExtension(out);
  g.RemoveFileName();
  return 0;
}
