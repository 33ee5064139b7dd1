#include "toolkit/File.h"

#include <cstring>

#include "toolkit/Platform.h"
#include "toolkit/TextString.h"

int File::ReadLine(char* buffer, int count, bool strip) {
  // Byte by byte, so that exactly one line is consumed per call. The buffer
  // holds count + 2 bytes: a double-byte character begun at count - 1 is
  // completed at count and its NUL lands behind it.
  int i = 0;
  bool previousCr = false;
  while (i < count) {
    if (Read(buffer + i, 1) != 1) {
      buffer[i] = '\0';
      return i;
    }
    unsigned char c = static_cast<unsigned char>(buffer[i]);
    if (platform::IsLeadByte(c)) {
      if (Read(buffer + i + 1, 1) != 1) {
        // A lead byte with nothing behind it ends the file.
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
  // The temporary file sits in the same directory so that the replace is a
  // rename within one volume.
  TextString temporary(511);
  temporary.Assign(path);
  temporary.Append(".tmp");

  File file;
  if (!file.CreateWrite(temporary.CStr())) return false;
  bool complete = file.Write(bytes, count) == count && file.Flush();
  complete = file.Close() == 1 && complete;
  if (complete && replace(temporary.CStr(), path)) return true;
  Delete(temporary.CStr());
  return false;
}
