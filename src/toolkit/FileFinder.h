// One directory enumeration, in the file system's order.
#pragma once

#include "toolkit/TextString.h"

class FileFinder {
 public:
  FileFinder() = default;
  ~FileFinder() { Close(); }
  FileFinder(const FileFinder&) = delete;
  FileFinder& operator=(const FileFinder&) = delete;

  bool FindFirst(const char* pattern);
  bool FindNext();
  int Close();
  void GetFileName(TextString& name) const { name.Assign(entryName.CStr()); }
  bool IsDirectory() const { return entryIsDirectory; }

 private:
  void* handle = nullptr;  // search handle (Windows) or directory stream (POSIX)
  TextString entryName;
  bool entryIsDirectory = false;
#ifndef _WIN32
  TextString directory;
  TextString wildcard;
#endif
};
