#include "toolkit/File.h"

#include <windows.h>

int FileTraits::Close(Handle h) { return CloseHandle(h) ? 1 : 0; }

namespace {
void* Open(const char* path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE h = CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? nullptr : h;
}
}  // namespace

bool File::OpenRead(const char* path) {
  handle.Reset(Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  return handle.IsValid();
}

bool File::CreateWrite(const char* path) {
  handle.Reset(Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS));
  return handle.IsValid();
}

bool File::OpenAppend(const char* path) {
  handle.Reset(Open(path, GENERIC_WRITE, 0, OPEN_ALWAYS));
  if (!handle.IsValid()) return false;
  SetFilePointer(handle.Get(), 0, nullptr, FILE_END);
  return true;
}

int File::Read(void* buffer, int count) {
  DWORD got = 0;
  if (!handle.IsValid() || count <= 0) return 0;
  if (!ReadFile(handle.Get(), buffer, static_cast<DWORD>(count), &got, nullptr)) return 0;
  return static_cast<int>(got);
}

int File::Write(const void* bytes, int count) {
  DWORD written = 0;
  if (!handle.IsValid() || count <= 0) return 0;
  if (!WriteFile(handle.Get(), bytes, static_cast<DWORD>(count), &written, nullptr)) return 0;
  return static_cast<int>(written);
}

std::uint32_t File::Size() { return handle.IsValid() ? GetFileSize(handle.Get(), nullptr) : 0; }

std::uint32_t File::Seek(std::int32_t distance, int origin) {
  return SetFilePointer(handle.Get(), distance, nullptr, static_cast<DWORD>(origin));
}

bool File::Flush() { return handle.IsValid() && FlushFileBuffers(handle.Get()); }

bool File::Replace(const char* source, const char* target) {
  return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool File::Delete(const char* path) { return DeleteFileA(path) != FALSE; }

bool File::IsReadOnly(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}
