// The loaders under test read files: each input is written to a private
// scratch directory first.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

inline const std::string& FuzzScratchDirectory() {
  static const std::string directory = [] {
    // A memory file system where there is one: the settings writer flushes
    // to the disk on every save.
    char inMemory[] = "/dev/shm/velmorin-fuzz-XXXXXX";
    char onDisk[] = "/tmp/velmorin-fuzz-XXXXXX";
    const char* made = mkdtemp(inMemory);
    if (!made) made = mkdtemp(onDisk);
    if (!made) abort();
    return std::string(made);
  }();
  return directory;
}

inline std::string FuzzPath(const char* name) { return FuzzScratchDirectory() + "/" + name; }

inline void WriteFuzzFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) abort();
  if (size && std::fwrite(data, 1, size, file) != size) abort();
  std::fclose(file);
}

inline std::string ReadFuzzFile(const std::string& path) {
  std::string bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  std::fclose(file);
  return bytes;
}
