#include "toolkit/FileFinder.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include "toolkit/PosixPath.h"

bool FileFinder::FindFirst(const char* pattern) {
  Close();
  TextString native;
  ToPosixPath(pattern, native);
  int slash = native.FindLast('/');
  if (slash < 0) {
    directory.Assign(".");
    wildcard.Assign(native.CStr());
  } else {
    native.Substring(directory, 0, slash == 0 ? 1 : slash);
    native.Substring(wildcard, slash + 1, -1);
  }
  DIR* dir = ::opendir(directory.CStr());
  if (!dir) return false;
  handle = dir;
  if (FindNext()) return true;
  Close();
  return false;
}

bool FileFinder::FindNext() {
  if (!handle) return false;
  DIR* dir = static_cast<DIR*>(handle);
  while (dirent* entry = ::readdir(dir)) {
    // Windows matches names ignoring case.
    if (::fnmatch(wildcard.CStr(), entry->d_name, FNM_CASEFOLD) != 0) continue;
    entryName.Assign(entry->d_name);
    TextString full(directory.Length() + entryName.Length() + 1);
    full.Format("%s/%s", directory.CStr(), entry->d_name);
    struct stat st {};
    entryIsDirectory = ::stat(full.CStr(), &st) == 0 && S_ISDIR(st.st_mode);
    return true;
  }
  return false;
}

int FileFinder::Close() {
  if (!handle) return 0;
  int result = ::closedir(static_cast<DIR*>(handle)) == 0 ? 1 : 0;
  handle = nullptr;
  return result;
}
