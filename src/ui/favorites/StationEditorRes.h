// Ids of the station editor (StationEditor.rc). Plain macros only.
#pragma once

#define IDD_STATION_EDITOR 502

#define IDC_STATION_NAME 1200
#define IDC_STATION_INFO 1201
#define IDC_STATION_URL 1202
#define IDC_STATION_HOME 1203
