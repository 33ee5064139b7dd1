#include "shell/SideWindowHost.h"

#include "shell/Settings.h"
#include "ui/favorites/FavoritesWindow.h"

namespace {

void ToggleBit(std::int32_t bit, bool hide) {
  if (hide) {
    gSettings.optFlag &= ~bit;
  } else {
    gSettings.optFlag ^= bit;
  }
}

}  // namespace

// The search window has no face yet: its bit is all there is to show or hide.
void SideWindowHost::ToggleSearchWindow(bool hide) { ToggleBit(kOptSearchShown, hide); }

void SideWindowHost::ToggleFavoritesWindow(bool hide) {
  if (favorites) {
    favorites->ToggleShown(hide);
  } else {
    ToggleBit(kOptFavoritesShown, hide);
  }
}

void SideWindowHost::AddFavorite(const char* name, const char* info, const char* url, const char* home) {
  if (favorites) favorites->AddFavorite(name, info, url, home);
}

void SideWindowHost::SaveFavorites() {
  if (favorites) favorites->SaveFavorites();
}
