// Any bytes as the favorites file: the rows are the ones a look-up of each
// numbered key finds, never more than the section has lines, and what the
// file writer makes of them reads back as the same rows.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/Playlist.h"
#include "toolkit/KeyValueDocument.h"
#include "ui/favorites/FavoritesFile.h"

namespace {

// A value the writer stores as it is: one line that the reader gives back whole.
bool Storable(const TextString& value) {
  return StorableValueLength(value.CStr()) == value.Length();
}

void CheckAgainstLookUps(const std::uint8_t* data, std::size_t size, const FavoritesDocument& rows) {
  PlaylistDocument lookUp;
  lookUp.LoadText(data, static_cast<std::uint32_t>(size));
  int declared = lookUp.EntryCount();
  if (rows.RowCount() > (declared > 0 ? declared : 0)) __builtin_trap();
  if (rows.RowCount() > static_cast<int>(size) + 1) __builtin_trap();  // never more rows than lines
  // Each look-up walks the whole text: a long list is checked at its start,
  // where its numbers gain a digit and at its end, so that a run stays short.
  PlaylistEntry found;
  int count = rows.RowCount();
  for (int row = 0; row < count; ++row) {
    bool edge = row < 4 || row == count - 1 || (row >= 8 && row <= 10) || (row >= 98 && row <= 100);
    if (count > 12 && !edge) continue;
    lookUp.GetEntry(row + 1, found);
    for (int field = 0; field < kFavoriteFields; ++field) {
      if (std::strcmp(rows.Field(row, field), FavoriteField(found, field).CStr()) != 0) __builtin_trap();
    }
  }
}

// Kept from input to input: their texts keep their blocks, so most inputs
// allocate nothing here (allocation was much of the time under the
// sanitizers, more than the leak search that a list growing or shrinking
// sets off).
FavoriteRows rows, back;
TextString written, rewritten;

void CheckRoundTrip(const FavoritesDocument& document) {
  rows.resize(static_cast<size_t>(document.RowCount()));
  for (int row = 0; row < document.RowCount(); ++row) document.GetRow(row, rows[row]);
  FormatFavorites(rows, written);

  FavoritesDocument again;
  again.LoadText(written.CStr(), static_cast<std::uint32_t>(written.Length()));
  if (again.RowCount() != document.RowCount()) __builtin_trap();
  bool changed = false;
  for (int row = 0; row < again.RowCount(); ++row) {
    for (int field = 0; field < kFavoriteFields; ++field) {
      const TextString& before = FavoriteField(rows[row], field);
      if (!Storable(before)) {
        changed = true;
      } else if (std::strcmp(before.CStr(), again.Field(row, field)) != 0) {
        __builtin_trap();
      }
    }
  }
  // Rows that all came back as they were would give the same file again.
  // Whatever had to change on the way out is stored as it is the next time.
  if (!changed) return;
  back.resize(rows.size());
  for (int row = 0; row < again.RowCount(); ++row) again.GetRow(row, back[row]);
  FormatFavorites(back, rewritten);
  if (std::strcmp(written.CStr(), rewritten.CStr()) != 0) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FavoritesDocument document;
  document.LoadText(data, static_cast<std::uint32_t>(size));
  CheckAgainstLookUps(data, size, document);
  CheckRoundTrip(document);
  return 0;
}
