#include "shell/Application.h"

#include <windows.h>

#include "engine/EventSocket.h"
#include "engine/StreamPlayer.h"
#include "shell/ApplicationState.h"
#include "shell/GenreList.h"
#include "shell/SettingRanges.h"
#include "shell/Settings.h"
#include "shell/SideWindowHost.h"
#include "shell/SkinList.h"
#include "toolkit/Shell.h"
#include "toolkit/TextString.h"
#include "ui/favorites/FavoritesFile.h"
#include "ui/favorites/FavoritesWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/main/SkinCanvas.h"
#include "ui/search/SearchWindow.h"

// Constructed in this order, destroyed in the reverse one: the bar detaches
// its drawing context from the canvas before the canvas goes. The bar and
// the side windows know each other only through the interfaces wired here;
// the side windows come after the bar they play through, and the side
// windows' host, made before them, only holds their addresses.
StreamPlayer gPlayer;
SkinCanvas gCanvas;
SideWindowHost gSideWindows(&gFavoritesWindow, &gSearchWindow);
MainWindow gMainWindow(gPlayer, gCanvas, BarLifecycle{&SaveAll, &Shutdown, &FinishStart}, gSideWindows);
SearchWindow gSearchWindow(gMainWindow, gSideWindows);
FavoritesWindow gFavoritesWindow(gMainWindow);

namespace {

/* WinSock初期化に失敗 */
const char kWinSockFailedText[] = "WinSock\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8\x94s";

// Settings, skins, memo and help live beside the executable, wherever the
// program was started from.
void EnterProgramDirectory() {
  TextString directory(500);
  directory.SetToExeDirectory(nullptr);
  SetCurrentDirectoryA(directory.CStr());
}

// The favorites file into the list, and one size message now that every
// window exists.
void LayOutFavorites() {
  TextString favorites;
  favorites.SetToExeDirectory(kFavoritesFileName);
  gFavoritesWindow.LoadFavorites(favorites.CStr());
  gFavoritesWindow.Send(WM_SIZE, 0, 0);
}

}  // namespace

bool Initialize() {
  EnterProgramDirectory();
  if (!StartWinSock(2, 2)) {
    ShowWarning(kWinSockFailedText);
    return false;
  }
  gApplicationState.winsockStarted = true;
  LoadSettings();
  if (!gPlayer.Allocate()) return false;
  gPlayer.SetHardwareVolume((gSettings.optFlag & kOptDeviceVolume) != 0);
  // A hand-edited file may hold any number; the player and the knob take
  // 0-100 only.
  gSettings.vol = ClampVolume(gSettings.vol);
  gPlayer.SetVolume(gSettings.vol);
  const bool muted = (gSettings.optFlag & kOptMuted) != 0;
  gPlayer.SetMuted(muted);
  BuildSkinList();
  LoadGenreList();
  if (!gMainWindow.CreateMainWindow()) return false;
  // Side windows shown from the start come up with the bar; hidden ones are
  // made from the message loop once the bar is on the screen (with the
  // common controls, whose library's start they would otherwise wait for).
  const bool favoritesShown = (gSettings.optFlag & kOptFavoritesShown) != 0;
  const bool searchShown = (gSettings.optFlag & kOptSearchShown) != 0;
  if (favoritesShown || searchShown) RegisterCommonControls();
  if (favoritesShown && !gFavoritesWindow.CreateFavoritesWindow(gMainWindow.hwnd)) return false;
  if (searchShown && !gSearchWindow.Create(gMainWindow.hwnd)) return false;
  gMainWindow.AttachCanvas();
  gCanvas.LoadSkin(gSettings.skin.CStr(), gSettings.vol, muted);
  gMainWindow.FitToSkin();
  gApplicationState.layoutPending = false;
  if (favoritesShown) LayOutFavorites();
  if (searchShown) gSearchWindow.Send(WM_SIZE, 0, 0);
  if (gSettings.optFlag & kOptTopmost) gMainWindow.SetTopmost(true);
  if (favoritesShown) gFavoritesWindow.Show(SW_SHOWNORMAL);
  if (searchShown) gSearchWindow.Show(SW_SHOWNORMAL);
  gMainWindow.Show(SW_SHOWNORMAL);
  UpdateWindow(gMainWindow.hwnd);
  return true;
}

// A command sent to the bar before this ran (another process's message is
// taken ahead of the posted one) could only flip a window's bit: show what
// the bits now say.
void FinishStart() {
  if (!gFavoritesWindow.hwnd && gFavoritesWindow.CreateFavoritesWindow(gMainWindow.hwnd)) {
    LayOutFavorites();
    if (gSettings.optFlag & kOptFavoritesShown) gFavoritesWindow.Show(SW_SHOWNORMAL);
  }
  if (!gSearchWindow.hwnd && gSearchWindow.Create(gMainWindow.hwnd)) {
    gSearchWindow.Send(WM_SIZE, 0, 0);
    if (gSettings.optFlag & kOptSearchShown) gSearchWindow.Show(SW_SHOWNORMAL);
  }
}

void SaveAll() {
  gSideWindows.SaveFavorites();
  POINT place;
  if (gMainWindow.hwnd && gMainWindow.GetNormalPosition(place)) {
    gSettings.winX = place.x;
    gSettings.winY = place.y;
  }
  gFavoritesWindow.StoreLayout(gSettings);
  gSearchWindow.StoreLayout(gSettings);
  SaveSettings();
}

void Shutdown() {
  gPlayer.Destroy();
  if (gApplicationState.winsockStarted) {
    CleanupWinSock();
    gApplicationState.winsockStarted = false;
  }
}
