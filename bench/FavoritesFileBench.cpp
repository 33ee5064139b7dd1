// Writing and reading long favorites lists, against appending the same bytes
// to a std::string (what any writer must at least do). A writer that measures
// or regrows its whole text per append shows as a ratio growing with the list.
#include <chrono>
#include <cstdio>
#include <string>

#include "ui/favorites/FavoritesFile.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

}  // namespace

int main() {
  std::printf("%8s %12s %12s %12s %8s\n", "rows", "baseline ms", "format ms", "load ms", "ratio");
  for (int count : {1000, 20000, 100000}) {
    FavoriteRows rows(static_cast<size_t>(count));
    for (PlaylistEntry& row : rows) {
      for (int field = 0; field < kFavoriteFields; ++field) FavoriteField(row, field).Assign("http://station.example:8000/a/path");
    }
    auto start = std::chrono::steady_clock::now();
    TextString out;
    FormatFavorites(rows, out);
    double format = Seconds(start);

    start = std::chrono::steady_clock::now();
    std::string plain;
    for (const char* p = out.CStr(); *p;) {
      const char* line = p;
      while (*p && *p++ != '\n') {
      }
      plain.append(line, static_cast<size_t>(p - line));
    }
    double baseline = Seconds(start);

    start = std::chrono::steady_clock::now();
    FavoritesDocument document;
    document.LoadText(out.CStr(), static_cast<std::uint32_t>(out.Length()));
    double load = Seconds(start);
    if (document.RowCount() != count || plain.size() != static_cast<size_t>(out.Length())) {
      std::printf("wrong result: %d rows back\n", document.RowCount());
      return 1;
    }
    std::printf("%8d %12.2f %12.2f %12.2f %8.1f\n", count, baseline * 1e3, format * 1e3, load * 1e3,
                format / (baseline > 0 ? baseline : 1e-9));
  }
  return 0;
}
