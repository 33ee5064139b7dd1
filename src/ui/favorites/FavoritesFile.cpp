#include "ui/favorites/FavoritesFile.h"

#include <cstddef>
#include <cstdint>

#include "toolkit/Platform.h"

namespace {

const char kSection[] = "playlist";

// The entry's text for each field, in the list's column order.
TextString PlaylistEntry::*const kFieldMembers[kFavoriteFields] = {
    &PlaylistEntry::title, &PlaylistEntry::info, &PlaylistEntry::file, &PlaylistEntry::home};

struct FieldKey {
  const char* name;
  int length;
  int field;
};
// An entry's numbered keys and the fields they fill; no name begins another.
const FieldKey kKeys[] = {
    {"Title", 5, kFavoriteName},
    {"Info", 4, kFavoriteInfo},
    {"File", 4, kFavoriteUrl},
    {"Home", 4, kFavoriteHome},
};

bool HoldsBytes(const char* line, int n) {
  for (int i = 0; i < n; ++i) {
    if (line[i] == '\0') return false;
  }
  return true;
}

// The entry number behind a key name when it is written as a look-up for
// "Title" k would match it (decimal without sign or leading zero, "=" right
// behind) and is at most limit; else 0. value receives the text after "=".
int EntryNumber(const char* p, int limit, const char** value) {
  if (*p < '1' || *p > '9') return 0;
  std::int64_t k = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    k = k * 10 + (*p - '0');
    if (k > limit) return 0;
  }
  if (*p != '=') return 0;
  *value = p + 1;
  return static_cast<int>(k);
}

// A value goes out as one line that the reader takes back whole: a line
// break inside it becomes a blank, and a lead byte left without its second
// byte is dropped (the reader would pair it with the line end).
void StorableCopy(const TextString& value, TextString& copy) {
  copy.Assign(value.CStr());
  copy.ReplaceChar('\r', ' ');
  copy.ReplaceChar('\n', ' ');
  copy.Data()[StorableValueLength(copy.CStr())] = '\0';
}

}  // namespace

TextString& FavoriteField(PlaylistEntry& row, int field) { return row.*kFieldMembers[field]; }

const TextString& FavoriteField(const PlaylistEntry& row, int field) { return row.*kFieldMembers[field]; }

// "numberofentries" says how many rows there are; rows past the entries
// present stay empty, so a file that declares 3 and holds 2 gives 3 rows.
// The count is believed up to the number of text lines in the section:
// every entry that any program writes takes at least one line there, so no
// real file loses a row, while a count beyond that (2147483647 in a file of
// a few bytes) could only add empty rows until memory ran out. The rows
// never outnumber the lines the file really holds.
int FavoriteRowCount(int declared, int sectionTextLines) {
  if (declared <= 0) return 0;
  return declared < sectionTextLines ? declared : sectionTextLines;
}

void FavoritesDocument::LoadFile(const char* path) {
  document.LoadFile(path);
  ReadRows();
}

void FavoritesDocument::LoadText(const void* bytes, std::uint32_t count) {
  document.LoadText(bytes, count);
  ReadRows();
}

void FavoritesDocument::ReadRows() {
  rowCount = 0;
  fields.clear();
  document.SelectSection(kSection);
  int section = document.Section();
  if (section < 0) return;
  int end = section + 1;
  int textLines = 0;
  for (; end < document.LineCount() && document.Line(end)[0] != '['; ++end) {
    if (document.Line(end)[0] != '\0') ++textLines;
  }
  rowCount = FavoriteRowCount(document.GetInt("numberofentries", 0), textLines);
  fields.assign(static_cast<size_t>(rowCount) * kFavoriteFields, nullptr);
  // One pass over the section instead of a look-up per key, which would
  // walk it 4 x rows times; the first line of a key wins, as in a look-up.
  for (int i = section + 1; i < end; ++i) {
    const char* line = document.Line(i);
    for (const FieldKey& key : kKeys) {
      if (!HoldsBytes(line, key.length) || !platform::EqualNoCaseN(line, key.name, key.length)) continue;
      const char* value = nullptr;
      int k = EntryNumber(line + key.length, rowCount, &value);
      if (k) {
        const char*& slot = fields[static_cast<size_t>(k - 1) * kFavoriteFields + key.field];
        if (!slot) slot = value;
      }
      break;
    }
  }
}

const char* FavoritesDocument::Field(int row, int field) const {
  const char* value = fields[static_cast<size_t>(row) * kFavoriteFields + field];
  return value ? value : "";
}

void FavoritesDocument::GetRow(int row, PlaylistEntry& entry) const {
  for (int field = 0; field < kFavoriteFields; ++field) FavoriteField(entry, field).Assign(Field(row, field));
}

void FormatFavorites(const FavoriteRows& rows, TextString& out) {
  // Room for it all at once: the writer appends a few bytes at a time.
  int bytes = 64;
  for (const PlaylistEntry& row : rows) {
    bytes += 80;
    for (int field = 0; field < kFavoriteFields; ++field) bytes += FavoriteField(row, field).Length();
  }
  out.Reserve(bytes);
  PlaylistWriter writer(out, static_cast<int>(rows.size()));
  PlaylistEntry line;
  for (const PlaylistEntry& row : rows) {
    for (int field = 0; field < kFavoriteFields; ++field) {
      StorableCopy(FavoriteField(row, field), FavoriteField(line, field));
    }
    writer.Add(line);
  }
  writer.Finish();
}

bool SaveFavoritesFile(const char* path, const FavoriteRows& rows, ReplaceFileFunction replace) {
  TextString bytes;
  FormatFavorites(rows, bytes);
  return File::SaveWhole(path, bytes.CStr(), bytes.Length(), replace);
}
