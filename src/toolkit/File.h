// Owner of an open file: unbuffered reads and writes, a CR LF line reader and
// the key=value line writers that produce the program's settings and lists.
#pragma once

#include <cstdint>

#include "toolkit/ByteBuffer.h"
#include "toolkit/UniqueHandle.h"

struct FileTraits {
#ifdef _WIN32
  using Handle = void*;  // HANDLE; an invalid one is never stored, it becomes null
  static Handle Invalid() { return nullptr; }
#else
  using Handle = int;
  static Handle Invalid() { return -1; }
#endif
  static int Close(Handle h);
};

// Puts the new file in place of the old one: File::Replace, or a stand-in
// that tests use to fail the last step.
using ReplaceFileFunction = bool (*)(const char* source, const char* target);

class File {
 public:
  File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool OpenRead(const char* path);
  bool CreateWrite(const char* path);
  bool OpenAppend(const char* path);
  int Close() { return handle.Close(); }
  bool IsOpen() const { return handle.IsValid(); }

  int Read(void* buffer, int count);
  // One line ended by CR LF, or count bytes of a longer one (a double-byte
  // character begun at count - 1 is kept whole: buffer holds count + 2), NUL
  // terminated, the CR LF stripped or kept. Returns the bytes consumed,
  // CR LF included; 0 at the end of the file.
  int ReadLine(char* buffer, int count, bool strip);
  // ReadLine's rule over the `got` bytes at buffer, already in memory: ends
  // the line in place and returns the bytes it takes (0 only when got is 0).
  static int EndLine(char* buffer, int got, int count, bool strip);
  // The whole file into block; false when it cannot be read or is larger
  // than limit.
  static bool ReadWhole(const char* path, std::uint32_t limit, MemoryBlock& block);
  int Write(const void* bytes, int count);
  int WriteText(const char* text);
  int WriteNewLine();
  void WriteKeyInt(const char* key, int value);
  void WriteKeyText(const char* key, const char* value);
  std::uint32_t Size();
  std::uint32_t Seek(std::int32_t distance, int origin);
  // Forces written bytes to the disk before the file takes another's place.
  bool Flush();

  // Puts source in place of target in one step (target may exist).
  static bool Replace(const char* source, const char* target);
  static bool Delete(const char* path);
  // True when path is a file marked read-only.
  static bool IsReadOnly(const char* path);
  // Writes the bytes to path through a temporary file beside it (path and
  // ".tmp", or ".1.tmp" and on when that name is taken) that takes the old
  // file's place only once it is complete and flushed, so the old file stays
  // whole whatever fails, and no temporary file is left behind. A read-only
  // file is not replaced. False when nothing was replaced.
  static bool SaveWhole(const char* path, const void* bytes, int count, ReplaceFileFunction replace = &File::Replace);

 private:
  static constexpr int kTemporaryNames = 10;

  UniqueHandle<FileTraits> handle;
};
