// Ids of the program's resources: shared by the resource script and the code,
// so plain macros only.
#pragma once

#include "resources/ResourceText.h"

// Icons, the context menu, the built-in skin (bitmap and "EXDAT" text).
#define IDI_VELMORIN 100
#define IDI_TRAY 101
#define IDM_CONTEXT 200
#define IDB_SKIN 302
#define IDR_SKIN_TEXT 350
#define RT_SKIN_TEXT "EXDAT"

// Dialogs: about box, settings with its general and search pages.
#define IDD_ABOUT 500
#define IDD_SETTINGS 501
#define IDD_SETTINGS_GENERAL 505
#define IDD_SETTINGS_SEARCH 506

// Commands of the bar: skin buttons and context menu.
#define IDM_PLAY_LAST 40001
#define IDM_PLAY_CLIPBOARD 40002
#define IDM_STOP 40003
#define IDM_MUTE 40004
#define IDM_COPY_TITLE 40005
#define IDM_MEMO_TITLE 40006
#define IDM_OPEN_MEMO 40007
#define IDM_SEARCH_WINDOW 40008
#define IDM_FAVORITES_WINDOW 40009
#define IDM_SETTINGS 40010
#define IDM_TOPMOST 40011
#define IDM_DIRECTORY_PAGE 40012
#define IDM_HELP 40013
#define IDM_ABOUT 40014
#define IDM_MINIMIZE 40015
#define IDM_EXIT 40016
#define IDM_REC 40099
#define IDM_SKIN_FIRST 40700
#define IDM_SKIN_LAST 40749
#define IDM_SERVER_NAME 40800
#define IDM_SERVER_FORMAT 40801
#define IDM_SERVER_ROOT 40802
#define IDM_SERVER_PAGE 40803
#define IDM_VOLUME_0 40900
#define IDM_VOLUME_10 40901
#define IDM_VOLUME_20 40902
#define IDM_VOLUME_30 40903
#define IDM_VOLUME_40 40904
#define IDM_VOLUME_50 40905
#define IDM_VOLUME_60 40906
#define IDM_VOLUME_70 40907
#define IDM_VOLUME_80 40908
#define IDM_VOLUME_90 40909
#define IDM_VOLUME_100 40910

// Controls of the about box and the settings pages. Both pages call their
// first check box 1500; each page reads its own.
#define IDC_HOME_PAGE 1100
#define IDC_TITLE_SCROLL 1200
#define IDC_TITLE_SCROLL_ADD 1201
#define IDC_WHEEL_ADD 1202
#define IDC_SEARCH_COUNT 1203
#define IDC_TITLE_SCROLL_SPIN 1300
#define IDC_TITLE_SCROLL_ADD_SPIN 1301
#define IDC_WHEEL_ADD_SPIN 1302
#define IDC_SEARCH_COUNT_SPIN 1303
#define IDC_PLAY_BUFFER 1350
#define IDC_PLAY_BUFFER_LABEL 1400
#define IDC_DEVICE_VOLUME 1500
#define IDC_MP3_ONLY 1500
#define IDC_CLEAR_ON_CLOSE 1501
#define IDC_SETTINGS_TABS 1550

#define TEXT_VERSION "Velmorin ver 3.02"
