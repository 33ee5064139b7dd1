// Ids of the fetch dialog (FetchDialog.rc). Plain macros only.
#pragma once

#define IDD_FETCH 504
#define IDC_FETCH_PROGRESS 1000
