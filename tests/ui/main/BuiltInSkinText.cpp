#include "BuiltInSkinText.h"

#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

std::string BuiltInSkinFile() {
  std::ifstream in(VELMORIN_SOURCE_DIR "/src/resources/skin.ini", std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::string BuiltInSkinText() {
#ifdef _WIN32
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(350), "EXDAT");
  if (!found) return std::string();
  HGLOBAL loaded = LoadResource(module, found);
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (!bytes) return std::string();
  return std::string(bytes, SizeofResource(module, found));
#else
  return BuiltInSkinFile();
#endif
}
