#include "shell/SideWindowHost.h"

#include "shell/Settings.h"
#include "ui/favorites/FavoritesWindow.h"
#include "ui/search/SearchWindow.h"

namespace {

void ToggleBit(std::int32_t bit, bool hide) {
  if (hide) {
    gSettings.optFlag &= ~bit;
  } else {
    gSettings.optFlag ^= bit;
  }
}

}  // namespace

void SideWindowHost::ToggleSearchWindow(bool hide) {
  if (search) {
    search->ToggleSearchWindow(hide);
  } else {
    ToggleBit(kOptSearchShown, hide);
  }
}

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
