// Any bytes as a settings, skin or playlist text: load, select, look up.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "toolkit/KeyValueDocument.h"
#include "toolkit/TextString.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte picks how much of the input names the section and key.
  if (size < 2) return 0;
  std::size_t nameLength = data[0] % 16;
  if (nameLength + 1 > size) return 0;
  char name[17] = {};
  std::memcpy(name, data + 1, nameLength);
  KeyValueDocument doc;
  doc.LoadText(data + 1 + nameLength, static_cast<std::uint32_t>(size - 1 - nameLength));
  for (const char* section : {static_cast<const char*>(name), "playlist", "Korimba3", "skin"}) {
    doc.SelectSection(section);
    for (const char* key : {static_cast<const char*>(name), "File1", "numberofentries", "Vol", "title_textcol", ""}) {
      if (const char* value = doc.FindValue(key)) (void)std::strlen(value);
      char buffer[32];
      doc.GetString(key, buffer, sizeof buffer, "x");
      TextString text;
      doc.GetText(key, text, "");
      (void)doc.GetInt(key, 0);
      (void)doc.GetHex(key, 0);
    }
  }
  return 0;
}
