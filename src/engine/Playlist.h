// PLS playlists, the one format of a playlist URL's answer, the favorites
// file and the directory's tune-in answer: recognising a playlist URL,
// finding the body of a downloaded answer, reading a document's entries and
// writing the favorites file. Pure functions over the caller's bytes; the
// caller reads and writes the files.
#pragma once

#include <cstdint>

#include "toolkit/KeyValueDocument.h"
#include "toolkit/TextString.h"

// Whether the URL names a playlist: "pls" after the last '.', before any '?'.
bool IsPlaylistUrl(const char* url);

// The answer must be HTTP status 200 with a body behind an empty line:
// returns the body's offset, or -1.
int FindPlaylistBody(const char* answer, int count);

// One entry: the four texts of a favorite, in the favorites list's column
// order, with the keys that carry them.
struct PlaylistEntry {
  TextString title;  // "Title%d": the station's name
  TextString info;   // "Info%d": free text about the stream
  TextString file;   // "File%d": the URL to play
  TextString home;   // "Home%d": the station's home page
};

// A PLS document read with the key/value reader's rules: only the first
// "[playlist]" section counts, section and key names match without regard to
// letter case, a key only at the very start of its line with "=" right
// behind it, and the value is the rest of that line, verbatim.
class PlaylistDocument {
 public:
  // A file (the favorites) or a downloaded text (a tune-in answer, headers
  // and all); false when there is nothing to read. Without a "[playlist]"
  // section every look-up finds nothing.
  bool LoadFile(const char* path);
  bool LoadText(const void* bytes, std::uint32_t count);

  // "numberofentries" as a decimal number; 0 when it is missing.
  int EntryCount() const;
  // Entry k, counted from 1; a key that is missing gives an empty text.
  void GetEntry(int k, PlaylistEntry& entry) const;
  void GetFile(int k, TextString& url) const;

 private:
  void GetNumbered(const char* key, int k, TextString& value) const;

  KeyValueDocument document;
};

// A playlist answer read into the entries that will be tried.
struct PlaylistEntries {
  static constexpr int kMaxEntries = 4;
  TextString files[kMaxEntries];
  int count = 0;  // non-empty entries before the first empty one
};

constexpr int kPlaylistUnreadable = -1;  // no body, or not a key/value text: silent
constexpr int kPlaylistNone = -2;        // no entry count, or 0: "pls none"

// Reads "File1" to "File4" of the first [playlist] section: returns the
// number of entries before the first empty one, kPlaylistNone or
// kPlaylistUnreadable.
int ReadPlaylist(const char* body, int length, PlaylistEntries& entries);

// Writes a playlist document as the favorites file keeps it: "[playlist]",
// the entry count, five lines an entry ("File", "Title", "Info", "Home" and
// "Length" k "=-1"), then "Version=2"; every line ends in CR LF and values go
// out verbatim. The count is written first: add exactly that many entries.
class PlaylistWriter {
 public:
  PlaylistWriter(TextString& out, int count);
  void Add(const PlaylistEntry& entry);
  void Finish();

 private:
  void Put(const char* text);
  void PutNumber(int value);

  TextString& out;
  int length = 0;  // kept here: measuring the text per append was quadratic
  int added = 0;
};
