#include "support/Media.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

std::string MediaPath(const std::string& name) {
  const char* dir = std::getenv("VELMORIN_MEDIA_DIR");
  if (!dir || !*dir) {
    ADD_FAILURE() << "VELMORIN_MEDIA_DIR is not set (CTest sets it; run make_media.py otherwise)";
    return name;
  }
  std::string path = dir;
#ifdef _WIN32
  // Under Wine the Unix directory is reached through drive Z:.
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
#endif
  return path + "/" + name;
}

std::vector<std::uint8_t> ReadMedia(const std::string& name) {
  std::string path = MediaPath(name);
  std::vector<std::uint8_t> bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    ADD_FAILURE() << "cannot open test media " << path;
    return bytes;
  }
  std::uint8_t chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
  std::fclose(f);
  if (bytes.empty()) ADD_FAILURE() << "empty test media " << path;
  return bytes;
}
