// Any bytes as the answer to a playlist request, and as a favorites file:
// what the reader takes from a document, the writer writes so that the
// reader takes it back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/Playlist.h"
#include "toolkit/Platform.h"

namespace {

// The writer's CR LF behind a value that ends in half a double-byte
// character would be read as that character's second byte: such a value
// cannot come back whole, whoever wrote it.
bool EndsInHalfCharacter(const TextString& value) {
  const char* p = value.CStr();
  const char* last = nullptr;
  while (*p) {
    last = p;
    p = platform::NextChar(p);
  }
  return last && p - last == 1 && platform::IsLeadByte(static_cast<unsigned char>(*last));
}

bool Same(const TextString& a, const TextString& b) {
  return EndsInHalfCharacter(a) || std::strcmp(a.CStr(), b.CStr()) == 0;
}

void CheckRoundTrip(const std::string& bytes) {
  PlaylistDocument read;
  read.LoadText(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  int count = read.EntryCount();
  // Sixteen reach the two-digit entry numbers; each entry more is one more
  // walk over the whole document, twice, and only costs time.
  if (count < 0 || count > 16) return;
  TextString written;
  PlaylistWriter writer(written, count);
  PlaylistEntry entry;
  for (int k = 1; k <= count; ++k) {
    read.GetEntry(k, entry);
    writer.Add(entry);
  }
  writer.Finish();

  PlaylistDocument again;
  if (!again.LoadText(written.CStr(), static_cast<std::uint32_t>(written.Length()))) __builtin_trap();
  if (again.EntryCount() != count) __builtin_trap();
  PlaylistEntry back;
  for (int k = 1; k <= count; ++k) {
    read.GetEntry(k, entry);
    again.GetEntry(k, back);
    if (!Same(entry.title, back.title) || !Same(entry.info, back.info) || !Same(entry.file, back.file) ||
        !Same(entry.home, back.home)) {
      __builtin_trap();
    }
  }
}

}  // namespace

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
  CheckRoundTrip(answer);
  return 0;
}
