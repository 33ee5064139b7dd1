// What the bar and the search window may ask of the side windows: show or
// hide the search and favorites windows, add a favorite, save the favorites.
// Start-up owns the side windows and implements it. Main thread only.
#pragma once

class SideWindows {
 public:
  // hide false flips the window's shown state, hide true ends it; the state
  // is the window's OptFlag bit (0x02 search, 0x04 favorites).
  virtual void ToggleSearchWindow(bool hide) = 0;
  virtual void ToggleFavoritesWindow(bool hide) = 0;
  // Appends a favorite at the end of the list and selects it.
  virtual void AddFavorite(const char* name, const char* info, const char* url, const char* home) = 0;
  // Writes the favorites to "favorite.pls" beside the executable.
  virtual void SaveFavorites() = 0;

 protected:
  ~SideWindows() = default;
};
