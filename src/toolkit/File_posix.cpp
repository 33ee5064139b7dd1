#include "toolkit/File.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "toolkit/PosixPath.h"

int FileTraits::Close(Handle h) { return ::close(h) == 0 ? 1 : 0; }

namespace {
int Open(const char* path, int flags) {
  TextString native;
  ToPosixPath(path, native);
  return ::open(native.CStr(), flags | O_CLOEXEC, 0644);
}
}  // namespace

bool File::OpenRead(const char* path) {
  handle.Reset(Open(path, O_RDONLY));
  return handle.IsValid();
}

bool File::CreateWrite(const char* path) {
  handle.Reset(Open(path, O_WRONLY | O_CREAT | O_TRUNC));
  return handle.IsValid();
}

bool File::OpenAppend(const char* path) {
  handle.Reset(Open(path, O_WRONLY | O_CREAT));
  if (!handle.IsValid()) return false;
  ::lseek(handle.Get(), 0, SEEK_END);
  return true;
}

int File::Read(void* buffer, int count) {
  if (!handle.IsValid() || count <= 0) return 0;
  ssize_t got = ::read(handle.Get(), buffer, static_cast<size_t>(count));
  return got > 0 ? static_cast<int>(got) : 0;
}

int File::Write(const void* bytes, int count) {
  if (!handle.IsValid() || count <= 0) return 0;
  ssize_t written = ::write(handle.Get(), bytes, static_cast<size_t>(count));
  return written > 0 ? static_cast<int>(written) : 0;
}

std::uint32_t File::Size() {
  struct stat st {};
  if (!handle.IsValid() || ::fstat(handle.Get(), &st) != 0) return 0;
  return static_cast<std::uint32_t>(st.st_size);
}

std::uint32_t File::Seek(std::int32_t distance, int origin) {
  off_t at = ::lseek(handle.Get(), distance, origin);
  return static_cast<std::uint32_t>(at);
}

bool File::Flush() { return handle.IsValid() && ::fsync(handle.Get()) == 0; }

bool File::Replace(const char* source, const char* target) {
  TextString from, to;
  ToPosixPath(source, from);
  ToPosixPath(target, to);
  return ::rename(from.CStr(), to.CStr()) == 0;
}

bool File::Delete(const char* path) {
  TextString native;
  ToPosixPath(path, native);
  return ::unlink(native.CStr()) == 0;
}

// The mode, not access(): the superuser may write a file nobody may write.
bool File::IsReadOnly(const char* path) {
  TextString native;
  ToPosixPath(path, native);
  struct stat st {};
  return ::stat(native.CStr(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}
