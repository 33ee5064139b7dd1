#include "toolkit/FileFinder.h"

#include <windows.h>

namespace {
void Take(const WIN32_FIND_DATAA& entry, TextString& name, bool& isDirectory) {
  name.Assign(entry.cFileName);
  isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
}  // namespace

bool FileFinder::FindFirst(const char* pattern) {
  Close();
  WIN32_FIND_DATAA entry;
  HANDLE h = FindFirstFileA(pattern, &entry);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle = h;
  Take(entry, entryName, entryIsDirectory);
  return true;
}

bool FileFinder::FindNext() {
  if (!handle) return false;
  WIN32_FIND_DATAA entry;
  if (!FindNextFileA(handle, &entry)) return false;
  Take(entry, entryName, entryIsDirectory);
  return true;
}

int FileFinder::Close() {
  if (!handle) return 0;
  int result = FindClose(handle) ? 1 : 0;
  handle = nullptr;
  return result;
}
