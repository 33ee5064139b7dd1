// Ids of the favorites window (FavoritesWindow.rc): its toolbar bitmap and
// tooltips, its two controls and its commands. Plain macros only.
#pragma once

#define IDB_FAVORITES_TOOLBAR 300
#define IDS_FAVORITES_TOOLTIPS 30001

#define IDC_FAVORITES_TOOLBAR 5010
#define IDC_FAVORITES_LIST 5011

// Toolbar buttons, in their order.
#define IDM_FAVORITE_PLAY 2000
#define IDM_FAVORITE_HOME_PAGE 2001
#define IDM_FAVORITE_ADD 2002
#define IDM_FAVORITE_DELETE 2003
#define IDM_FAVORITE_EDIT 2004
#define IDM_FAVORITE_UP 2005
#define IDM_FAVORITE_DOWN 2006
// Items of the add button's menu.
#define IDM_FAVORITE_ADD_PLAYING 2010
#define IDM_FAVORITE_ADD_NEW 2011
