// The favorites window ("kmb_fav", "お気に入り"): the user's stations as a
// four-column list (name, info, URL, home page) under a toolbar of seven
// buttons: play, open home page, add (the station playing now, or a new one
// typed into the station editor), delete, edit, move up and move down. The
// list is the only copy in memory, and every change to it is written to the
// favorites file at once (FavoritesFile), so that nothing is lost when the
// program does not end normally. It plays through the bar's PlayerBar and
// includes none of the bar's headers. Main thread only.
#pragma once

#include "engine/Playlist.h"
#include "toolkit/ListView.h"
#include "toolkit/TextString.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolTip.h"
#include "toolkit/Window.h"

class Menu;
class PlayerBar;
struct Settings;

class FavoritesWindow : public Window {
 public:
  explicit FavoritesWindow(PlayerBar& bar);

  // Hidden, owned by owner, placed by the FavWin... settings (below the
  // owner when never saved) with the column widths of the settings. False
  // when anything cannot be made.
  bool CreateFavoritesWindow(HWND owner);
  // Empties the list and fills it from the file, which from then on keeps
  // every change.
  void LoadFavorites(const char* path);
  // Every row to path, whole; false when the old file stayed as it was.
  bool SaveFavorites(const char* path);
  // To the file the list was loaded from; nothing before a load.
  bool SaveFavorites();
  // Appends a row and selects it (neither focused nor scrolled to), also
  // while the window is hidden.
  void AddFavorite(const char* name, const char* info, const char* url, const char* home);
  // hide false flips OptFlag 0x04 and shows the window when it is now set,
  // hides it otherwise; hide true clears the bit and hides it.
  void ToggleShown(bool hide);
  // The window's normal rectangle and the list's column widths, for the
  // settings file.
  void StoreLayout(Settings& values);

  // The add button's menu: "現在再生中のサーバー" (greyed unless the player
  // plays) and "新規追加".
  void PrepareAddMenu(Menu& menu);
  // The first selected row, or -1.
  int SelectedRow();
  // The row's four texts, whole.
  void ReadRow(int row, PlaylistEntry& entry);

  bool OnClose() override;
  bool OnCommand(WORD id, WORD code, LPARAM control) override;
  bool OnSize(WPARAM kind, WORD width, WORD height) override;
  bool OnNotify(WPARAM id, LPARAM header, LRESULT* result) override;

  ToolBar toolbar;
  ToolTip tooltip;
  ListView list;
  int toolbarHeight = 0;

 private:
  bool CreateToolBar();
  void InsertRow(int index, const PlaylistEntry& entry);
  void PlaySelected();
  void OpenSelectedHomePage();
  void ShowAddMenu();
  void AddPlaying();
  void AddNew();
  void DeleteSelected();
  void EditSelected();
  void MoveSelected(int step);
  // After every change: the file holds the list as it is now.
  void KeepChange();

  PlayerBar& bar;
  TextString file;  // where the list is kept; empty until it is loaded
};
