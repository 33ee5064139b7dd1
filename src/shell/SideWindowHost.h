// Start-up's side of the search and favorites windows: everything the bar
// and the search window ask of them goes through here, so that neither
// includes the other's headers. Their shown state lives in the OptFlag bits,
// which the settings file keeps.
#pragma once

#include "ui/SideWindows.h"

class FavoritesWindow;

class SideWindowHost final : public SideWindows {
 public:
  // The favorites window may be constructed after this object; without one
  // (a test of the bar alone) the favorites side is its OptFlag bit only.
  explicit SideWindowHost(FavoritesWindow* favoritesWindow = nullptr) : favorites(favoritesWindow) {}

  void ToggleSearchWindow(bool hide) override;
  void ToggleFavoritesWindow(bool hide) override;
  void AddFavorite(const char* name, const char* info, const char* url, const char* home) override;
  void SaveFavorites() override;

 private:
  FavoritesWindow* favorites;
};
