#include "shell/GenreList.h"

#include <cstring>

#include "toolkit/File.h"
#include "toolkit/TextString.h"

MemoryBlock gGenreList;

namespace {

// Longest line taken at once; the rest of a longer line is read as the next
// one.
constexpr int kLineBytes = 511;
// A menu of hand-written lines: anything larger is not a genre list.
constexpr std::uint32_t kLargestFile = 16u << 20;

bool AppendText(ByteBuffer& buffer, const char* text) {
  return buffer.Append(text, static_cast<std::uint32_t>(std::strlen(text)) + 1);
}

}  // namespace

void ParseGenreList(const void* bytes, std::uint32_t count, MemoryBlock& list) {
  list.Release();
  ByteBuffer buffer;
  if (!buffer.Init(4096, 2048)) return;

  // Lines are cut as File::ReadLine cuts them; a double-byte character begun
  // at the last position is completed and its NUL put behind it: two bytes
  // beyond the count.
  const char* text = static_cast<const char*>(bytes);
  char line[kLineBytes + 2];
  bool ok = true;
  std::uint32_t at = 0;
  while (ok && at < count) {
    std::uint32_t rest = count - at;
    int got = rest > kLineBytes ? kLineBytes + 1 : static_cast<int>(rest);
    std::memcpy(line, text + at, static_cast<std::size_t>(got));
    at += static_cast<std::uint32_t>(File::EndLine(line, got, kLineBytes, true));
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
  if (!ok || !buffer.AppendByte(kGenreListEnd)) return;
  if (!list.Allocate(buffer.length, false)) return;
  std::memcpy(list.data, buffer.data, buffer.length);
}

void LoadGenreList(MemoryBlock& list, const char* path) {
  list.Release();
  MemoryBlock file;
  if (!File::ReadWhole(path, kLargestFile, file)) return;
  ParseGenreList(file.data, file.size, list);
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
