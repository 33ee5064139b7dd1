// The tab control of a dialog, attached with AttachItem.
#pragma once

#include "toolkit/SubclassedControl.h"

class TabControl : public SubclassedControl {
 public:
  int InsertTab(int index, const char* text, int image, LPARAM data);
  int GetSelection();
  // Moves page over the tab control's display area.
  void FitPage(HWND page);
};
