// Any bytes as the text of "genre.txt": the packed list is well formed, a
// walk over it stays inside the block and ends on the end record.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "shell/GenreList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryBlock list;
  ParseGenreList(data, static_cast<std::uint32_t>(size), list);
  if (!list.data) abort();  // any text makes a list
  const std::uint8_t* bytes = static_cast<const std::uint8_t*>(list.data);
  if (list.size == 0 || bytes[list.size - 1] != kGenreListEnd) abort();

  std::uint32_t offset = 0;
  GenreRecord record;
  std::size_t textBytes = 0;
  while (NextGenreRecord(list, offset, record)) {
    if (offset > list.size) abort();
    if (record.code == kGenreEntry && record.text[0] == '\0') abort();  // blank lines leave no trace
    textBytes += std::strlen(record.text);
  }
  if (offset != list.size - 1) abort();
  if (textBytes > size) abort();
  return 0;
}
