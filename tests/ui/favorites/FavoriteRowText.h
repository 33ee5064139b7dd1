// Favorites rows in the tests: made from four texts, and written out as
// "name|info|URL|home page" for comparison.
#pragma once

#include <string>

#include "engine/Playlist.h"
#include "ui/favorites/FavoritesFile.h"

inline PlaylistEntry MakeRow(const char* name, const char* info, const char* url, const char* home) {
  PlaylistEntry row;
  const char* texts[kFavoriteFields] = {name, info, url, home};
  for (int field = 0; field < kFavoriteFields; ++field) FavoriteField(row, field).Assign(texts[field]);
  return row;
}

inline std::string RowText(const PlaylistEntry& row) {
  std::string text;
  for (int field = 0; field < kFavoriteFields; ++field) {
    text += std::string(field ? "|" : "") + FavoriteField(row, field).CStr();
  }
  return text;
}
