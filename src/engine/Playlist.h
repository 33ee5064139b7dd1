// PLS playlists: recognising a playlist URL, finding the body of a downloaded
// answer and reading the stream entries that the player tries. Pure
// functions over the caller's bytes; no I/O.
#pragma once

#include "toolkit/TextString.h"

// A playlist answer read into the entries that will be tried.
struct PlaylistEntries {
  static constexpr int kMaxEntries = 4;
  TextString files[kMaxEntries];
  int count = 0;  // non-empty entries before the first empty one
};

constexpr int kPlaylistUnreadable = -1;  // no body, or not a key/value text: silent
constexpr int kPlaylistNone = -2;        // no entry count, or 0: "pls none"

// Whether the URL names a playlist: "pls" after the last '.', before any '?'.
bool IsPlaylistUrl(const char* url);

// The answer must be HTTP status 200 with a body behind an empty line:
// returns the body's offset, or -1.
int FindPlaylistBody(const char* answer, int count);

// Reads "File1" to "File4" of the first [playlist] section: returns the
// number of entries before the first empty one, kPlaylistNone or
// kPlaylistUnreadable.
int ReadPlaylist(const char* body, int length, PlaylistEntries& entries);
