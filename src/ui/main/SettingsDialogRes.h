// Ids of the settings dialog and its general and search pages
// (SettingsDialog.rc). Plain macros only. Both pages call their first check
// box 1500; each page reads its own.
#pragma once

#define IDD_SETTINGS 501
#define IDD_SETTINGS_GENERAL 505
#define IDD_SETTINGS_SEARCH 506

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
