// Ids of the resources that the window tests create dialogs, menus, icons and
// bitmaps from.
#pragma once

#define IDD_ITEMS 900
#define IDD_PAGE 901
#define IDM_TEST 910
#define IDI_TEST 100
#define IDB_TOOLS 920
#define IDR_DATA 930

#define IDC_NUMBER 1200
#define IDC_SPIN 1300
#define IDC_CHECK 1500
#define IDC_TEXT 1201
#define IDC_SLIDER 1350
#define IDC_TABS 1550
