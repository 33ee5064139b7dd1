#include "shell/SkinList.h"

#include "toolkit/FileFinder.h"
#include "toolkit/TextString.h"

ByteBuffer gSkinList;

void BuildSkinList(ByteBuffer& list, const char* directory) {
  if (!list.Init(1024, 1024)) return;
  TextString pattern(511);
  pattern.Assign(directory);
  pattern.Append("\\skin\\*.ini");

  FileFinder finder;
  TextString fileName(255);
  TextString name(255);
  int count = 0;
  for (bool found = finder.FindFirst(pattern.CStr()); found && count < kMaxSkins; found = finder.FindNext()) {
    if (finder.IsDirectory()) continue;
    finder.GetFileName(fileName);
    fileName.GetBaseName(name);
    std::uint32_t bytes = static_cast<std::uint32_t>(name.Length()) + 1;
    if (bytes > 0xFFFF) continue;
    // Length and name go in together or not at all, so a failed append can
    // never leave a length without its name.
    std::uint8_t header[2] = {static_cast<std::uint8_t>(bytes), static_cast<std::uint8_t>(bytes >> 8)};
    std::uint32_t before = list.length;
    if (!list.Append(header, 2) || !list.Append(name.CStr(), bytes)) {
      list.length = before;
      break;
    }
    ++count;
  }
  finder.Close();
  if (!list.AppendWord(0)) list.Release();
}

void BuildSkinList() {
  TextString directory(511);
  directory.SetToExeDirectory(nullptr);
  BuildSkinList(gSkinList, directory.CStr());
}

namespace {

// Walks to the record at index; returns its name or null.
const char* FindRecord(const ByteBuffer& list, int index, int* count) {
  std::uint32_t at = 0;
  int n = 0;
  while (list.data && at + 2 <= list.length) {
    std::uint32_t bytes = list.data[at] | (static_cast<std::uint32_t>(list.data[at + 1]) << 8);
    if (bytes == 0 || bytes > list.length - at - 2) break;
    const char* name = reinterpret_cast<const char*>(list.data + at + 2);
    if (name[bytes - 1] != '\0') break;
    if (n == index) return name;
    ++n;
    at += 2 + bytes;
  }
  if (count) *count = n;
  return nullptr;
}

}  // namespace

int SkinListCount(const ByteBuffer& list) {
  int count = 0;
  FindRecord(list, -1, &count);
  return count;
}

const char* SkinListName(const ByteBuffer& list, int index) {
  if (index < 0) return nullptr;
  return FindRecord(list, index, nullptr);
}
