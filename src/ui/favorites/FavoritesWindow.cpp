#include "ui/favorites/FavoritesWindow.h"

#include <commctrl.h>

#include "engine/HttpClient.h"
#include "engine/StreamPlayer.h"
#include "shell/ApplicationState.h"
#include "shell/Settings.h"
#include "toolkit/Menu.h"
#include "toolkit/Shell.h"
#include "ui/PlayerBar.h"
#include "ui/favorites/FavoritesFile.h"
#include "ui/favorites/FavoritesWindowRes.h"
#include "ui/favorites/StationEditor.h"
#include "ui/favorites/StationEditorRes.h"

namespace {

const char kClassName[] = "kmb_fav";
/* お気に入り */
const char kTitle[] = "\x82\xa8\x8b" "C\x82\xc9\x93\xfc\x82\xe8";
/* 名前, 情報, URL, HP */
const char* const kColumnTitles[kFavoriteFields] = {"\x96\xbc\x91O", "\x8f\xee\x95\xf1", "URL", "HP"};
/* 現在再生中のサーバー */
const char kAddPlayingText[] = "\x8c\xbb\x8d\xdd\x8d\xc4\x90\xb6\x92\x86\x82\xcc\x83T\x81[\x83o\x81[";
/* 新規追加 */
const char kAddNewText[] = "\x90V\x8bK\x92\xc7\x89\xc1";

constexpr int kImageSize = 15;
constexpr int kImageCount = 7;
constexpr COLORREF kImageKey = RGB(0, 255, 0);  // shown as the button face

struct ToolButton {
  int command;  // 0: the separator
  int image;
};
const ToolButton kButtons[] = {
    {IDM_FAVORITE_PLAY, 0},   {IDM_FAVORITE_HOME_PAGE, 1}, {0, 0},
    {IDM_FAVORITE_ADD, 2},    {IDM_FAVORITE_DELETE, 3},    {IDM_FAVORITE_EDIT, 4},
    {IDM_FAVORITE_UP, 5},     {IDM_FAVORITE_DOWN, 6},
};

// Where the window goes when no place was ever saved: below the bar.
constexpr int kDefaultWidth = 300;
constexpr int kDefaultDrop = 50;
constexpr int kDefaultBottom = 300;

}  // namespace

FavoritesWindow::FavoritesWindow(PlayerBar& playerBar) : bar(playerBar) {}

bool FavoritesWindow::CreateFavoritesWindow(HWND owner) {
  if (!RegisterClassIfMissing(kClassName, 0, nullptr)) return false;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  if (!Create(WS_EX_TOOLWINDOW, kClassName, kTitle, style, 0, 0, 300, 200, owner, nullptr)) return false;
  if (!CreateToolBar()) return false;
  toolbarHeight = toolbar.GetWindowSize().cy;
  SIZE client = GetClientSize();
  if (!list.Create(WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0,
                   toolbarHeight, client.cx, client.cy - toolbarHeight, hwnd, IDC_FAVORITES_LIST)) {
    return false;
  }
  list.SetExtendedStyle(false, true, false);
  for (int column = 0; column < kFavoriteFields; ++column) {
    int width = gSettings.favColW[column];
    if (list.InsertColumn(column, kColumnTitles[column], width, LVCFMT_LEFT) != column) return false;
  }

  RECT place = {gSettings.favWinLeft, gSettings.favWinTop, gSettings.favWinRight, gSettings.favWinBottom};
  if (place.left == kNoPosition || place.top == kNoPosition) {
    RECT owned = {};
    ::GetWindowRect(owner, &owned);
    place = RECT{owned.left, owned.top + kDefaultDrop, owned.left + kDefaultWidth, owned.top + kDefaultBottom};
  }
  MoveToRect(place, false);
  KeepOnScreen(nullptr);
  return true;
}

bool FavoritesWindow::CreateToolBar() {
  if (!toolbar.Create(0, WS_VISIBLE | CCS_NODIVIDER, hwnd, IDC_FAVORITES_TOOLBAR)) return false;
  toolbar.SetBitmapSize(kImageSize, kImageSize);
  toolbar.SetStyleBits(TBSTYLE_FLAT, true);
  if (toolbar.AddBitmap(kImageCount, IDB_FAVORITES_TOOLBAR, kImageKey) < 0) return false;
  if (!tooltip.Create(toolbar.hwnd)) return false;
  toolbar.SetToolTips(tooltip.hwnd);

  TextString tips(255);
  tips.LoadResourceString(IDS_FAVORITES_TOOLTIPS);
  int tip = 0;
  for (const ToolButton& button : kButtons) {
    if (button.command == 0) {
      toolbar.AddButton(0, 0, 0, BTNS_SEP, 0, 0);
      continue;
    }
    if (!toolbar.AddButton(button.command, button.image, -1, BTNS_BUTTON, TBSTATE_ENABLED, 0)) return false;
    // A toolbar with a tooltip control gives each new button a tool of its
    // own that asks the parent for its text; this one carries its text.
    tooltip.DeleteTool(toolbar.hwnd, static_cast<UINT_PTR>(button.command));
    RECT area = {};
    toolbar.GetButtonRect(button.command, area);
    tooltip.AddTool(toolbar.hwnd, static_cast<UINT_PTR>(button.command), GetModuleHandleA(nullptr),
                    tips.Field(tip++, '/'), &area);
  }
  toolbar.Send(WM_SIZE, 0, 0);
  return true;
}

void FavoritesWindow::LoadFavorites(const char* path) {
  list.Send(LVM_DELETEALLITEMS, 0, 0);
  FavoritesDocument document;
  document.LoadFile(path);
  for (int row = 0; row < document.RowCount(); ++row) {
    int index = list.InsertItem(row, document.Field(row, kFavoriteName), -1, 0);
    for (int field = kFavoriteInfo; field < kFavoriteFields; ++field) {
      list.SetItemText(index, field, document.Field(row, field));
    }
  }
  file.Assign(path);
}

bool FavoritesWindow::SaveFavorites(const char* path) {
  FavoriteRows rows(static_cast<size_t>(list.GetItemCount()));
  for (size_t row = 0; row < rows.size(); ++row) ReadRow(static_cast<int>(row), rows[row]);
  return SaveFavoritesFile(path, rows);
}

bool FavoritesWindow::SaveFavorites() { return !file.IsEmpty() && SaveFavorites(file.CStr()); }

void FavoritesWindow::KeepChange() { SaveFavorites(); }

void FavoritesWindow::AddFavorite(const char* name, const char* info, const char* url, const char* home) {
  PlaylistEntry entry;
  entry.title.Assign(name);
  entry.info.Assign(info);
  entry.file.Assign(url);
  entry.home.Assign(home);
  int row = list.GetItemCount();
  InsertRow(row, entry);
  list.Select(row, true);
  KeepChange();
}

void FavoritesWindow::InsertRow(int index, const PlaylistEntry& entry) {
  int row = list.InsertItem(index, entry.title.CStr(), -1, 0);
  for (int field = kFavoriteInfo; field < kFavoriteFields; ++field) {
    list.SetItemText(row, field, FavoriteField(entry, field).CStr());
  }
}

void FavoritesWindow::ReadRow(int row, PlaylistEntry& entry) {
  for (int field = 0; field < kFavoriteFields; ++field) list.ReadItemText(row, field, FavoriteField(entry, field));
}

int FavoritesWindow::SelectedRow() { return list.NextSelected(-1); }

void FavoritesWindow::ToggleShown(bool hide) {
  if (hide) {
    gSettings.optFlag &= ~kOptFavoritesShown;
  } else {
    gSettings.optFlag ^= kOptFavoritesShown;
  }
  Show((gSettings.optFlag & kOptFavoritesShown) ? SW_SHOWNORMAL : SW_HIDE);
}

void FavoritesWindow::StoreLayout(Settings& values) {
  if (!hwnd) return;
  RECT place;
  if (GetNormalRect(place)) {
    values.favWinLeft = place.left;
    values.favWinTop = place.top;
    values.favWinRight = place.right;
    values.favWinBottom = place.bottom;
  }
  for (int column = 0; column < kFavoriteFields; ++column) values.favColW[column] = list.GetColumnWidth(column);
}

bool FavoritesWindow::OnClose() {
  ToggleShown(true);
  return true;
}

bool FavoritesWindow::OnSize(WPARAM, WORD, WORD) {
  // Start-up sends one size message once every window exists.
  if (gApplicationState.layoutPending) return true;
  toolbar.Send(WM_SIZE, 0, 0);
  SIZE client = GetClientSize();
  list.SetSize(client.cx, client.cy > toolbarHeight ? client.cy - toolbarHeight : 0);
  return true;
}

bool FavoritesWindow::OnNotify(WPARAM id, LPARAM header, LRESULT*) {
  if (id != IDC_FAVORITES_LIST) return false;
  UINT code = reinterpret_cast<const NMHDR*>(header)->code;
  // Enter plays as a double-click does.
  if (code != static_cast<UINT>(NM_DBLCLK) && code != static_cast<UINT>(NM_RETURN)) return false;
  PlaySelected();
  return true;
}

bool FavoritesWindow::OnCommand(WORD id, WORD, LPARAM) {
  switch (id) {
    case IDM_FAVORITE_PLAY: PlaySelected(); return true;
    case IDM_FAVORITE_HOME_PAGE: OpenSelectedHomePage(); return true;
    case IDM_FAVORITE_ADD: ShowAddMenu(); return true;
    case IDM_FAVORITE_DELETE: DeleteSelected(); return true;
    case IDM_FAVORITE_EDIT: EditSelected(); return true;
    case IDM_FAVORITE_UP: MoveSelected(-1); return true;
    case IDM_FAVORITE_DOWN: MoveSelected(1); return true;
    case IDM_FAVORITE_ADD_PLAYING: AddPlaying(); return true;
    case IDM_FAVORITE_ADD_NEW: AddNew(); return true;
    default: return false;
  }
}

void FavoritesWindow::PlaySelected() {
  int row = SelectedRow();
  if (row < 0) return;
  TextString url;
  list.ReadItemText(row, kFavoriteUrl, url);
  if (!url.IsEmpty()) bar.Play(kPlayGivenUrl, url.CStr());
}

void FavoritesWindow::OpenSelectedHomePage() {
  int row = SelectedRow();
  if (row < 0) return;
  TextString home;
  list.ReadItemText(row, kFavoriteHome, home);
  // Only a web address: a favorite may come from any playlist or stream.
  OpenWebPage(home.CStr());
}

void FavoritesWindow::PrepareAddMenu(Menu& menu) {
  menu.InsertItem(0, true, IDM_FAVORITE_ADD_PLAYING, kAddPlayingText);
  menu.InsertItem(1, true, IDM_FAVORITE_ADD_NEW, kAddNewText);
  menu.EnableItem(IDM_FAVORITE_ADD_PLAYING, false, bar.PlayerState() == kPlayerPlaying);
}

void FavoritesWindow::ShowAddMenu() {
  Menu menu;
  if (!menu.CreatePopup()) return;
  PrepareAddMenu(menu);
  RECT button = {};
  toolbar.GetButtonRect(IDM_FAVORITE_ADD, button);
  MapWindowPoints(toolbar.hwnd, nullptr, reinterpret_cast<POINT*>(&button), 2);
  menu.Track(hwnd, button.left, button.bottom, TPM_RIGHTBUTTON);
  menu.Destroy();
}

void FavoritesWindow::AddPlaying() {
  // Greyed unless something plays; chosen anyway it takes what there is.
  const StreamInfo* stream = bar.PlayingStream();
  TextString info;
  info.Format("MP3 %dkbps", stream ? stream->bitrate : 0);
  AddFavorite(stream ? stream->name.CStr() : "", info.CStr(), bar.LastUrl(), stream ? stream->url.CStr() : "");
}

void FavoritesWindow::AddNew() {
  StationEditor editor;
  editor.mode = kEditorNew;
  if (editor.RunModal(IDD_STATION_EDITOR, hwnd) != 1) return;
  AddFavorite(editor.station.title.CStr(), editor.station.info.CStr(), editor.station.file.CStr(),
              editor.station.home.CStr());
}

void FavoritesWindow::DeleteSelected() {
  int row = SelectedRow();
  if (row < 0) return;
  list.DeleteItem(row);
  // The row that moved up into its place, if any.
  if (row < list.GetItemCount()) list.Select(row, true);
  KeepChange();
}

void FavoritesWindow::EditSelected() {
  int row = SelectedRow();
  if (row < 0) return;
  StationEditor editor;
  ReadRow(row, editor.station);
  editor.mode = kEditorEdit;
  if (editor.RunModal(IDD_STATION_EDITOR, hwnd) != 1) return;
  for (int field = 0; field < kFavoriteFields; ++field) {
    list.SetItemText(row, field, FavoriteField(editor.station, field).CStr());
  }
  KeepChange();
}

void FavoritesWindow::MoveSelected(int step) {
  int row = SelectedRow();
  int target = row + step;
  if (row < 0 || target < 0 || target >= list.GetItemCount()) return;
  PlaylistEntry entry;
  ReadRow(row, entry);
  list.DeleteItem(row);
  InsertRow(target, entry);
  list.Select(target, true);
  list.Focus(target);
  KeepChange();
}
