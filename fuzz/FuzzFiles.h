// The loaders under test read files: each input is written to a private
// scratch directory first, which goes when the process ends.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Held through pointers that are never destroyed, so they are still there
// when the exit handler removes the files.
inline std::string* gFuzzDirectory = nullptr;
inline std::vector<std::string>* gFuzzFiles = nullptr;

inline void RemoveFuzzScratch() {
  for (const std::string& file : *gFuzzFiles) std::remove(file.c_str());
  rmdir(gFuzzDirectory->c_str());
}

inline const std::string& FuzzScratchDirectory() {
  if (!gFuzzDirectory) {
    // A memory file system where there is one: the settings writer flushes
    // to the disk on every save.
    char inMemory[] = "/dev/shm/velmorin-fuzz-XXXXXX";
    char onDisk[] = "/tmp/velmorin-fuzz-XXXXXX";
    const char* made = mkdtemp(inMemory);
    if (!made) made = mkdtemp(onDisk);
    if (!made) abort();
    gFuzzDirectory = new std::string(made);
    gFuzzFiles = new std::vector<std::string>();
    std::atexit(&RemoveFuzzScratch);
  }
  return *gFuzzDirectory;
}

// A file of the scratch directory; the writer's temporary file beside it is
// cleaned up as well.
inline std::string FuzzPath(const char* name) {
  std::string path = FuzzScratchDirectory() + "/" + name;
  gFuzzFiles->push_back(path);
  gFuzzFiles->push_back(path + ".tmp");
  return path;
}

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
