// Any bytes as the answer to a playlist request.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Playlist.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string answer(reinterpret_cast<const char*>(data), size);  // NUL behind, as ReceiveAll leaves it
  int count = static_cast<int>(size);
  int body = FindPlaylistBody(answer.c_str(), count);
  if (body > count) __builtin_trap();
  PlaylistEntries entries;
  int found = ReadPlaylist(answer.c_str() + (body > 0 ? body : 0), count - (body > 0 ? body : 0), entries);
  if (found > PlaylistEntries::kMaxEntries) __builtin_trap();
  for (int i = 0; i < found; ++i) {
    if (entries.files[i].IsEmpty()) __builtin_trap();
    IsPlaylistUrl(entries.files[i].CStr());
  }
  IsPlaylistUrl(answer.c_str());
  return 0;
}
