#include "engine/Playlist.h"

#include <cstring>

#include "toolkit/KeyValueDocument.h"
#include "toolkit/Numbers.h"
#include "toolkit/Platform.h"

bool IsPlaylistUrl(const char* url) {
  const char* question = std::strchr(url, '?');
  const char* end = question ? question : url + std::strlen(url);
  const char* dot = nullptr;
  for (const char* p = url; p < end; ++p) {
    if (*p == '.') dot = p;
  }
  if (!dot) return false;
  return end - (dot + 1) == 3 && platform::EqualNoCaseN(dot + 1, "pls", 3);
}

int FindPlaylistBody(const char* answer, int count) {
  if (count < 9 || std::strncmp(answer, "HTTP", 4) != 0) return -1;
  if (std::strlen(answer) < 9 || ReadDecimal(answer + 9) != 200) return -1;
  for (int i = 9; i + 4 <= count; ++i) {
    if (std::memcmp(answer + i, "\r\n\r\n", 4) == 0) return i + 4;
  }
  return -1;
}

int ReadPlaylist(const char* body, int length, PlaylistEntries& entries) {
  entries.count = 0;
  KeyValueDocument document;
  if (length <= 0 || !document.LoadText(body, static_cast<std::uint32_t>(length))) return kPlaylistUnreadable;
  document.SelectSection("playlist");
  int declared = document.GetInt("numberofentries", 0);
  if (declared == 0) return kPlaylistNone;
  TextString key;
  for (int i = 1; i <= declared && i <= PlaylistEntries::kMaxEntries; ++i) {
    key.Format("File%d", i);
    TextString& file = entries.files[entries.count];
    document.GetText(key.CStr(), file, "");
    if (file.IsEmpty()) break;
    ++entries.count;
  }
  return entries.count;
}
