#include "engine/Playlist.h"

#include <cstring>

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

bool PlaylistDocument::LoadFile(const char* path) {
  bool loaded = document.LoadFile(path);
  document.SelectSection("playlist");
  return loaded;
}

bool PlaylistDocument::LoadText(const void* bytes, std::uint32_t count) {
  bool loaded = document.LoadText(bytes, count);
  document.SelectSection("playlist");
  return loaded;
}

int PlaylistDocument::EntryCount() const { return document.GetInt("numberofentries", 0); }

void PlaylistDocument::GetNumbered(const char* key, int k, TextString& value) const {
  TextString name;
  name.Format("%s%d", key, k);
  document.GetText(name.CStr(), value, "");
}

void PlaylistDocument::GetEntry(int k, PlaylistEntry& entry) const {
  GetNumbered("Title", k, entry.title);
  GetNumbered("Info", k, entry.info);
  GetNumbered("File", k, entry.file);
  GetNumbered("Home", k, entry.home);
}

void PlaylistDocument::GetFile(int k, TextString& url) const { GetNumbered("File", k, url); }

int ReadPlaylist(const char* body, int length, PlaylistEntries& entries) {
  entries.count = 0;
  PlaylistDocument document;
  if (length <= 0 || !document.LoadText(body, static_cast<std::uint32_t>(length))) return kPlaylistUnreadable;
  int declared = document.EntryCount();
  if (declared == 0) return kPlaylistNone;
  for (int i = 1; i <= declared && i <= PlaylistEntries::kMaxEntries; ++i) {
    TextString& file = entries.files[entries.count];
    document.GetFile(i, file);
    if (file.IsEmpty()) break;
    ++entries.count;
  }
  return entries.count;
}

PlaylistWriter::PlaylistWriter(TextString& text, int count) : out(text) {
  out.Clear();
  Put("[playlist]\r\nnumberofentries=");
  PutNumber(count);
  Put("\r\n");
}

void PlaylistWriter::Put(const char* text) {
  length = out.AppendAt(length, text, static_cast<int>(std::strlen(text)));
}

void PlaylistWriter::PutNumber(int value) {
  char digits[12];
  length = out.AppendAt(length, digits, WriteDecimal(value, digits));
}

void PlaylistWriter::Add(const PlaylistEntry& entry) {
  int k = ++added;
  const char* keys[] = {"File", "\r\nTitle", "\r\nInfo", "\r\nHome"};
  const TextString* values[] = {&entry.file, &entry.title, &entry.info, &entry.home};
  for (int i = 0; i < 4; ++i) {
    Put(keys[i]);
    PutNumber(k);
    Put("=");
    length = out.AppendAt(length, values[i]->CStr(), values[i]->Length());
  }
  Put("\r\nLength");
  PutNumber(k);
  Put("=-1\r\n");
}

void PlaylistWriter::Finish() { Put("Version=2\r\n"); }
