#include "shell/GenreList.h"

#include <cstring>

#include "toolkit/File.h"
#include "toolkit/TextString.h"

MemoryBlock gGenreList;

namespace {

// Longest line taken at once; the rest of a longer line is read as the next
// one.
constexpr int kLineBytes = 511;

bool AppendText(ByteBuffer& buffer, const char* text) {
  return buffer.Append(text, static_cast<std::uint32_t>(std::strlen(text)) + 1);
}

}  // namespace

void LoadGenreList(MemoryBlock& list, const char* path) {
  list.Release();
  File file;
  ByteBuffer buffer;
  if (!file.OpenRead(path) || !buffer.Init(4096, 2048)) return;

  // ReadLine completes a double-byte character begun at the last position
  // and puts its NUL behind it: two bytes beyond the count.
  char line[kLineBytes + 2];
  bool ok = true;
  while (ok && file.ReadLine(line, kLineBytes, true) > 0) {
    switch (line[0]) {
      case '\0':
        break;
      case '-':
        ok = buffer.AppendByte(kGenreSeparator);
        break;
      case '<':
        ok = buffer.AppendByte(kGenreGroupStart) && AppendText(buffer, line + 1);
        break;
      case '>':
        ok = buffer.AppendByte(kGenreGroupEnd);
        break;
      default:
        ok = buffer.AppendByte(kGenreEntry) && AppendText(buffer, line);
        break;
    }
  }
  file.Close();
  if (!ok || !buffer.AppendByte(kGenreListEnd)) return;
  if (!list.Allocate(buffer.length, false)) return;
  std::memcpy(list.data, buffer.data, buffer.length);
}

void LoadGenreList() {
  TextString path(511);
  path.SetToExeDirectory("genre.txt");
  LoadGenreList(gGenreList, path.CStr());
}

bool NextGenreRecord(const MemoryBlock& list, std::uint32_t& offset, GenreRecord& record) {
  const char* bytes = static_cast<const char*>(list.data);
  if (!bytes) return false;
  record.text = "";
  for (; offset < list.size; ++offset) {
    std::uint8_t code = static_cast<std::uint8_t>(bytes[offset]);
    switch (code) {
      case kGenreSeparator:
      case kGenreGroupEnd:
        record.code = static_cast<GenreCode>(code);
        offset += 1;
        return true;
      case kGenreEntry:
      case kGenreGroupStart: {
        const char* text = bytes + offset + 1;
        const void* end = std::memchr(text, '\0', list.size - offset - 1);
        if (!end) return false;
        record.code = static_cast<GenreCode>(code);
        record.text = text;
        offset = static_cast<std::uint32_t>(static_cast<const char*>(end) - bytes) + 1;
        return true;
      }
      case kGenreListEnd:
        return false;
      default:
        break;  // an unknown code is one byte of nothing
    }
  }
  return false;
}
