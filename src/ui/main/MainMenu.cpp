// The bar's context menu (menu resource 200) and its notification-area icon.
#include "engine/StreamPlayer.h"
#include "shell/ApplicationState.h"
#include "shell/Settings.h"
#include "shell/SkinList.h"
#include "toolkit/Menu.h"
#include "toolkit/MenuText.h"
#include "ui/main/BarCommands.h"
#include "ui/main/MainWindow.h"
#include "ui/main/MainWindowRes.h"

void MainWindow::ShowContextMenu(int x, int y) {
  Menu menu;
  if (!menu.Load(GetModuleHandleA(nullptr), IDM_CONTEXT)) return;
  Menu popup;
  popup.Attach(menu.GetSubMenu(0));
  if (popup.handle) {
    PrepareContextMenu(popup);
    popup.Track(hwnd, x, y, TPM_RIGHTBUTTON);
  }
  menu.Destroy();
}

void MainWindow::PrepareContextMenu(Menu& popup) {
  const std::int32_t flags = gSettings.optFlag;
  popup.CheckItem(IDM_MUTE, false, (flags & kOptMuted) != 0);
  popup.CheckItem(IDM_TOPMOST, false, (flags & kOptTopmost) != 0);
  popup.CheckItem(IDM_SEARCH_WINDOW, false, (flags & kOptSearchShown) != 0);
  popup.CheckItem(IDM_FAVORITES_WINDOW, false, (flags & kOptFavoritesShown) != 0);

  const StreamInfo* info = player.Info();
  const PcmFormat* format = player.Format();
  if (player.State() == kPlayerPlaying && info && format) {
    for (int id = IDM_SERVER_NAME; id <= IDM_SERVER_PAGE; ++id) popup.EnableItem(id, false, true);
    // The name and the addresses come from the station.
    TextString line;
    MenuItemText(info->name.CStr(), line);
    popup.SetItemText(IDM_SERVER_NAME, false, line.CStr());
    line.Format("MP3 %dkbps %dHz %s", info->bitrate, static_cast<int>(format->samplesPerSec),
                format->channels == 1 ? "mono" : "stereo");
    popup.SetItemText(IDM_SERVER_FORMAT, false, line.CStr());
    MenuItemText(gApplicationState.serverRootUrl.CStr(), line);
    popup.SetItemText(IDM_SERVER_ROOT, false, line.CStr());
    MenuItemText(info->url.CStr(), line);
    popup.SetItemText(IDM_SERVER_PAGE, false, line.CStr());
  }

  // The skin pop-up is the item right after the settings command.
  int settings = popup.FindPosition(IDM_SETTINGS);
  if (settings < 0) return;
  Menu skins;
  skins.Attach(popup.GetSubMenu(settings + 1));
  if (!skins.handle) return;
  skins.DeleteItem(0, true);
  int count = SkinListCount(gSkinList);
  if (count > kMaxSkinItems) count = kMaxSkinItems;
  TextString shown;
  for (int i = 0; i < count; ++i) {
    const char* name = SkinListName(gSkinList, i);
    if (!name) break;
    MenuItemText(name, shown);
    skins.InsertItem(static_cast<UINT>(i), true, static_cast<UINT>(SkinCommand(i)), shown.CStr());
    if (gSettings.skin.CompareNoCase(name) == 0) skins.CheckItem(static_cast<UINT>(SkinCommand(i)), false, true);
  }
}

bool MainWindow::OnTrayMessage(LPARAM mouseMessage) {
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONDOWN:
      Show(SW_SHOWNORMAL);
      SetForegroundWindow(hwnd);
      return true;
    case WM_RBUTTONDOWN: {
      SetForegroundWindow(hwnd);
      POINT at = {};
      GetCursorPos(&at);
      ShowContextMenu(at.x, at.y);
      // Lets the menu close when the user clicks elsewhere.
      Send(WM_NULL, 0, 0);
      return true;
    }
    default:
      return false;
  }
}
