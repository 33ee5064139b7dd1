#include "toolkit/File.h"

#include <cstring>

#include "toolkit/Platform.h"
#include "toolkit/TextString.h"

int File::EndLine(char* buffer, int got, int count, bool strip) {
  int i = 0;
  bool previousCr = false;
  while (i < count && i < got) {
    unsigned char c = static_cast<unsigned char>(buffer[i]);
    if (platform::IsLeadByte(c)) {
      if (i + 1 >= got) {
        // A lead byte with nothing behind it ends the text.
        buffer[i + 1] = '\0';
        return i + 1;
      }
      i += 2;
      previousCr = false;
      continue;
    }
    if (previousCr && c == '\n') {
      if (strip) buffer[i - 1] = '\0';
      buffer[i + 1] = '\0';
      return i + 1;
    }
    previousCr = (c == '\r');
    ++i;
  }
  buffer[i] = '\0';
  return i;
}

int File::ReadLine(char* buffer, int count, bool strip) {
  // One read of as much as a line may take, then the bytes past the line go
  // back with a seek: exactly one line is consumed per call, at two platform
  // calls instead of one per byte.
  if (count <= 0) {
    buffer[0] = '\0';
    return 0;
  }
  int got = Read(buffer, count + 1);
  int used = EndLine(buffer, got, count, strip);
  if (got > used) Seek(used - got, 1);
  return used;
}

bool File::ReadWhole(const char* path, std::uint32_t limit, MemoryBlock& block) {
  block.Release();
  File file;
  if (!file.OpenRead(path)) return false;
  std::uint32_t size = file.Size();
  if (size > limit || size > 0x7FFFFFFF) return false;
  if (!block.Allocate(size, false)) return false;
  std::uint32_t done = 0;
  while (done < size) {
    int got = file.Read(static_cast<char*>(block.data) + done, static_cast<int>(size - done));
    if (got <= 0) {
      block.Release();
      return false;
    }
    done += static_cast<std::uint32_t>(got);
  }
  return true;
}

int File::WriteText(const char* text) { return Write(text, static_cast<int>(std::strlen(text))); }

int File::WriteNewLine() { return Write("\r\n", 2); }

void File::WriteKeyInt(const char* key, int value) {
  TextString line(static_cast<int>(std::strlen(key)) + 20);
  line.Format("%s=%d\r\n", key, value);
  WriteText(line.CStr());
}

void File::WriteKeyText(const char* key, const char* value) {
  WriteText(key);
  WriteText("=");
  WriteText(value);
  WriteNewLine();
}

bool File::SaveWhole(const char* path, const void* bytes, int count, ReplaceFileFunction replace) {
  // A file the user marked read-only stays as it is, as it would under a
  // plain write; the rename below would replace it regardless.
  if (IsReadOnly(path)) return false;

  // The temporary file sits in the same directory so that the replace is a
  // rename within one volume. When its usual name is taken by something that
  // cannot be written over (a directory, a read-only file), another is used.
  TextString temporary(511);
  File file;
  for (int attempt = 0; attempt < kTemporaryNames && !file.IsOpen(); ++attempt) {
    temporary.Assign(path);
    if (attempt > 0) temporary.AppendFormat(".%d", attempt);
    temporary.Append(".tmp");
    file.CreateWrite(temporary.CStr());
  }
  if (!file.IsOpen()) return false;
  bool complete = file.Write(bytes, count) == count && file.Flush();
  complete = file.Close() == 1 && complete;
  if (complete && replace(temporary.CStr(), path)) return true;
  Delete(temporary.CStr());
  return false;
}
