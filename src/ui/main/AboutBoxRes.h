// Ids of the about box (AboutBox.rc). Plain macros only.
#pragma once

#define IDD_ABOUT 500
#define IDC_HOME_PAGE 1100

// The name and version the box shows first.
#define TEXT_VERSION "Velmorin ver 3.02"
