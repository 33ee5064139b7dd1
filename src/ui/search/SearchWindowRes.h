// Ids of the search window (SearchWindow.rc and the controls it makes).
// Plain macros only.
#pragma once

// Four 15 x 15 toolbar images side by side; pure green is the button face.
#define IDB_SEARCH_TOOLBAR 301
// The buttons' tooltips, separated by "/", in command order.
#define IDS_SEARCH_TIPS 30002

#define IDC_SEARCH_TEXT 5020
#define IDC_SEARCH_TOOLBAR 5021
#define IDC_SEARCH_RESULTS 5022
#define IDC_SEARCH_STATUS 5023

// Toolbar commands; 2000 is also Enter in the text box, 2001 a double-click
// on a station.
#define IDM_SEARCH_RUN 2000
#define IDM_SEARCH_PLAY 2001
#define IDM_SEARCH_ADD_FAVORITE 2002
#define IDM_SEARCH_HOME_PAGE 2003
