#include "ui/search/GenreMenu.h"

#include <cstring>

namespace {

// The menu shows "&&" as one "&".
void MenuLabel(const char* text, TextString& label) {
  const char* bar = std::strchr(text, '|');
  label.Assign(text, bar ? static_cast<int>(bar - text) : static_cast<int>(std::strlen(text)));
  label.ReplaceAll("&", "&&");
}

}  // namespace

bool ReadGenreMenu(const MemoryBlock& list, GenreMenuSink& sink) {
  if (!list.data) return false;
  std::uint32_t offset = 0;
  GenreRecord record;
  int depth = 0;
  int items = 0;
  TextString label;
  while (NextGenreRecord(list, offset, record)) {
    switch (record.code) {
      case kGenreEntry: {
        int command = kGenreFirstCommand + items;
        MenuLabel(record.text, label);
        sink.AddItem(label.CStr(), command <= kGenreLastCommand ? command : kGenreInertCommand);
        ++items;
        break;
      }
      case kGenreSeparator:
        sink.AddSeparator();
        break;
      case kGenreGroupStart:
        if (depth == 0) {
          label.Assign(record.text);
          label.ReplaceAll("&", "&&");
          sink.OpenSubmenu(label.CStr());
        }
        ++depth;
        break;
      case kGenreGroupEnd:
        // An end without a start closes nothing; the depth may go below 0
        // and a later start then opens no submenu until it is back at 0.
        if (depth == 1) sink.CloseSubmenu();
        --depth;
        break;
      default:
        break;
    }
  }
  return true;
}

bool GenreSearchWords(const MemoryBlock& list, int n, TextString& words) {
  std::uint32_t offset = 0;
  GenreRecord record;
  int items = 0;
  while (NextGenreRecord(list, offset, record)) {
    if (record.code != kGenreEntry) continue;
    if (items++ != n) continue;
    const char* bar = std::strchr(record.text, '|');
    words.Assign(bar ? bar + 1 : record.text);
    return true;
  }
  return false;
}
