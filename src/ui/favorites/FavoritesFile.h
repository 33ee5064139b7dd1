// The favorites file, "favorite.pls" beside the executable: rows of four
// texts (name, info, URL, home page) in list order, stored as a PLS playlist.
// Reading follows the key/value reader's rules; writing gives the PLS
// writer's bytes. Pure over the caller's bytes and files: the favorites
// window fills its list from a FavoritesDocument and saves its rows here.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/Playlist.h"
#include "toolkit/File.h"
#include "toolkit/KeyValueDocument.h"

constexpr char kFavoritesFileName[] = "favorite.pls";

// The four texts of a row, in the list's column order.
constexpr int kFavoriteName = 0;
constexpr int kFavoriteInfo = 1;
constexpr int kFavoriteUrl = 2;
constexpr int kFavoriteHome = 3;
constexpr int kFavoriteFields = 4;

TextString& FavoriteField(PlaylistEntry& row, int field);
const TextString& FavoriteField(const PlaylistEntry& row, int field);

using FavoriteRows = std::vector<PlaylistEntry>;

// The rows of a favorites file: "numberofentries" of them (bounded, see
// FavoriteRowCount), each field the value of its numbered key in the first
// "[playlist]" section, empty when the key is missing.
class FavoritesDocument {
 public:
  // A missing, unreadable or empty file, or text without a "[playlist]"
  // section or a positive count, gives no rows.
  void LoadFile(const char* path);
  void LoadText(const void* bytes, std::uint32_t count);

  int RowCount() const { return rowCount; }
  // Field of row (from 0), pointing into the document; "" when missing.
  const char* Field(int row, int field) const;
  void GetRow(int row, PlaylistEntry& entry) const;

 private:
  void ReadRows();

  KeyValueDocument document;
  int rowCount = 0;
  std::vector<const char*> fields;  // kFavoriteFields a row; null when missing
};

// The declared count, bounded by the text lines of the section.
int FavoriteRowCount(int declared, int sectionTextLines);

// The file's exact bytes for rows.
void FormatFavorites(const FavoriteRows& rows, TextString& out);
// Writes rows to path whole (File::SaveWhole): the old file stays as it was
// whatever fails. False when nothing was replaced.
bool SaveFavoritesFile(const char* path, const FavoriteRows& rows, ReplaceFileFunction replace = &File::Replace);
