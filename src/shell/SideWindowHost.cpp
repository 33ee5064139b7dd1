#include "shell/SideWindowHost.h"

#include "shell/Settings.h"

namespace {

void ToggleBit(std::int32_t bit, bool hide) {
  if (hide) {
    gSettings.optFlag &= ~bit;
  } else {
    gSettings.optFlag ^= bit;
  }
}

}  // namespace

// Neither window has a face yet: its bit is all there is to show or hide.
void SideWindowHost::ToggleSearchWindow(bool hide) { ToggleBit(kOptSearchShown, hide); }

void SideWindowHost::ToggleFavoritesWindow(bool hide) { ToggleBit(kOptFavoritesShown, hide); }

// There is no favorites list yet to add to or to save.
void SideWindowHost::AddFavorite(const char*, const char*, const char*, const char*) {}

void SideWindowHost::SaveFavorites() {}
