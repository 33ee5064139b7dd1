// The station directory browser: a sizable tool window with a text box for
// the search words, a toolbar (search with the genre menu on its arrow,
// play, add to the favorites, open the home page), the owner-drawn list of
// the stations found and a status bar with the selected station's tags.
// Created hidden at start-up and only ever shown and hidden; its shown state
// is the OptFlag bit 0x02. It plays through the bar and adds favorites
// through the side windows, knowing neither window. Main thread only.
#pragma once

#include "toolkit/EditBox.h"
#include "toolkit/GdiObject.h"
#include "toolkit/StatusBar.h"
#include "toolkit/ToolBar.h"
#include "toolkit/Window.h"
#include "ui/search/ResultList.h"

class PlayerBar;
class SideWindows;
struct Settings;

// The search words: Enter searches as the search button does.
class SearchTextBox : public EditBox {
 public:
  bool OnKeyDown(WPARAM key, LPARAM flags) override;
  bool OnChar(WPARAM code, LPARAM flags) override;
};

class SearchWindow : public Window {
 public:
  SearchWindow(PlayerBar& bar, SideWindows& sideWindows);

  // The window and its controls, hidden, owned by owner, at the stored
  // rectangle (below owner when none is stored) and on the screen. False
  // when anything cannot be made.
  bool Create(HWND owner);
  // hide true hides the window, hide false flips its shown state; the state
  // is kept in OptFlag. Hiding empties the list when OptFlag asks for it.
  void ToggleSearchWindow(bool hide);
  // The window's normal rectangle, for the settings file.
  void StoreLayout(Settings& values);

  bool OnClose() override;
  bool OnCommand(WORD id, WORD code, LPARAM control) override;
  bool OnMeasureItem(LPARAM measure) override;
  bool OnDrawItem(LPARAM draw) override;
  bool OnSize(WPARAM kind, WORD width, WORD height) override;
  bool OnSizing(WPARAM edge, LPARAM rect) override;
  bool OnNotify(WPARAM id, LPARAM header, LRESULT* result) override;

  SearchTextBox textBox;
  ResultList resultList;
  ToolBar toolBar;
  StatusBar statusBar;

 private:
  bool CreateToolBar();
  void ShowGenreMenu();
  void PickGenre(int n);
  void OnListNotification(WORD code);
  void PlaySelected();
  void AddSelectedToFavorites();
  void OpenSelectedHomePage();

  PlayerBar& bar;
  SideWindows& sideWindows;
  GdiObject font;
  int toolBarWidth = 0;
};
