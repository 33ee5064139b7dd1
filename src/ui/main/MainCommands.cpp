// The bar's commands: skin buttons and context-menu items arrive here as
// WM_COMMAND.
#include <windows.h>

#include "engine/StreamPlayer.h"
#include "shell/ApplicationState.h"
#include "shell/Settings.h"
#include "shell/SkinList.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Shell.h"
#include "toolkit/UrlText.h"
#include "ui/main/AboutBox.h"
#include "ui/main/AboutBoxRes.h"
#include "ui/main/BarCommands.h"
#include "ui/main/MainWindow.h"
#include "ui/main/MainWindowRes.h"
#include "ui/main/SettingsDialog.h"
#include "ui/main/SettingsDialogRes.h"
#include "ui/main/SkinCanvas.h"
#include "ui/main/TitleMemo.h"
#include "ui/main/WebPages.h"

namespace {

/* ｽｷﾝの読み込みに失敗。\n内蔵ｽｷﾝに変更しました。 */
const char kSkinFailedText[] =
    "\xbd\xb7\xdd\x82\xcc\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x82\xc9\x8e\xb8\x94s\x81"
    "B\n\x93\xe0\x91\xa0\xbd\xb7\xdd\x82\xc9\x95\xcf\x8dX\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81"
    "B";
/* memo.txtが開けません */
const char kMemoFailedText[] = "memo.txt\x82\xaa\x8aJ\x82\xaf\x82\xdc\x82\xb9\x82\xf1";
const char kMemoFileName[] = "memo.txt";
const char kHelpFileName[] = "help.html";

}  // namespace

bool MainWindow::OnCommand(WORD id, WORD, LPARAM) {
  if (IsVolumeCommand(id)) {
    ChangeVolume(VolumeFromCommand(id));
    return true;
  }
  if (IsSkinCommand(id)) {
    SwitchSkin(SkinIndexFromCommand(id));
    return true;
  }
  switch (id) {
    case IDM_PLAY_LAST: Play(kPlayLastUrl, nullptr); return true;
    case IDM_PLAY_CLIPBOARD: Play(kPlayClipboard, nullptr); return true;
    case IDM_STOP: StopPlayback(); return true;
    case IDM_MUTE: ToggleMute(); return true;
    case IDM_COPY_TITLE:
      if (player.State() == kPlayerPlaying && !title.IsEmpty()) CopyTextToClipboard(title.CStr(), hwnd);
      return true;
    case IDM_MEMO_TITLE: AppendTitleToMemo(); return true;
    case IDM_OPEN_MEMO:
      if (!OpenProgramFile(kMemoFileName)) ShowWarning(kMemoFailedText);
      return true;
    case IDM_SEARCH_WINDOW: sideWindows.ToggleSearchWindow(false); return true;
    case IDM_FAVORITES_WINDOW: sideWindows.ToggleFavoritesWindow(false); return true;
    case IDM_SETTINGS: OpenSettings(); return true;
    case IDM_TOPMOST:
      gSettings.optFlag ^= kOptTopmost;
      SetTopmost((gSettings.optFlag & kOptTopmost) != 0);
      return true;
    case IDM_DIRECTORY_PAGE: OpenWebPage(kDirectoryPageUrl); return true;
    case IDM_HELP: OpenProgramFile(kHelpFileName); return true;
    case IDM_ABOUT: {
      AboutBox about;
      about.RunModal(IDD_ABOUT, hwnd);
      return true;
    }
    case IDM_MINIMIZE:
      // The search and favorites windows go with the bar and stay closed
      // when it comes back.
      sideWindows.ToggleSearchWindow(true);
      sideWindows.ToggleFavoritesWindow(true);
      Show(SW_HIDE);
      // Shown again by the tray icon, with no button still lit.
      OnMouseLeave();
      return true;
    case IDM_EXIT: Send(WM_CLOSE, 0, 0); return true;
    case IDM_REC: return true;
    case IDM_SERVER_ROOT: OpenWebPage(gApplicationState.serverRootUrl.CStr()); return true;
    case IDM_SERVER_PAGE: {
      const StreamInfo* info = player.Info();
      if (info) OpenWebPage(info->url.CStr());
      return true;
    }
    default: return false;
  }
}

void MainWindow::Play(int source, const char* url) {
  TextString text;
  if (source == kPlayLastUrl) {
    text.Assign(gSettings.lastURL.CStr());
  } else if (source == kPlayClipboard) {
    if (!GetClipboardText(text)) return;
    CutUrlAtLineBreak(text);
  } else {
    text.Assign(url ? url : "");
  }
  if (text.IsEmpty()) return;
  StopPlayback();
  player.Start(hwnd, text.CStr(), gSettings.playBuf);
}

int MainWindow::PlayerState() const { return player.State(); }

const StreamInfo* MainWindow::PlayingStream() const { return player.Info(); }

const char* MainWindow::LastUrl() const { return gSettings.lastURL.CStr(); }

void MainWindow::StopPlayback() {
  player.Stop();
  StopScrollTimer();
  title.Clear();
  canvas.SetTitle("", false, nullptr);
  Refresh(nullptr);
}

void MainWindow::ToggleMute() {
  gSettings.optFlag ^= kOptMuted;
  bool muted = (gSettings.optFlag & kOptMuted) != 0;
  player.SetMuted(muted);
  canvas.DrawElement(kMuteButton, muted ? kFrameMuted : kFrameNormal);
  Refresh(nullptr);
}

void MainWindow::SwitchSkin(int index) {
  const char* listed = SkinListName(gSkinList, index);
  if (!listed) return;
  TextString name;
  name.Assign(listed);
  StopScrollTimer();
  bool loaded = canvas.LoadSkin(name.CStr(), gSettings.vol, (gSettings.optFlag & kOptMuted) != 0);
  FitToSkin();
  // The old skin's buttons are gone: nothing is lit or pressed any more.
  hotButton = kNoButton;
  pressed = false;
  gSettings.skin.Assign(name.CStr());
  if (player.State() != kPlayerIdle) ShowTitle(false);
  Refresh(nullptr);
  if (!loaded) ShowWarning(kSkinFailedText);
}

void MainWindow::AppendTitleToMemo() {
  if (title.IsEmpty() || player.State() != kPlayerPlaying) return;
  TextString path;
  path.SetToExeDirectory(kMemoFileName);
  AppendToTitleMemo(path.CStr(), title.CStr());
}

void MainWindow::OpenSettings() {
  int scrollBefore = gSettings.titleScroll;
  SettingsDialog dialog;
  if (dialog.RunModal(IDD_SETTINGS, hwnd) != 1) return;
  if (gSettings.titleScroll != scrollBefore && scrollTimer) {
    scrollTimer = SetTimer(hwnd, kScrollTimerId, static_cast<UINT>(gSettings.titleScroll), nullptr);
  }
}
