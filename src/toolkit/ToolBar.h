// A "ToolbarWindow32" control.
#pragma once

#include "toolkit/Window.h"

class ToolBar : public Window {
 public:
  // WS_CHILD is added to style; the button record size is set at once.
  bool Create(DWORD exStyle, DWORD style, HWND parent, int id);
  void SetBitmapSize(int width, int height);
  void EnableDropDownArrows();
  void SetToolTips(HWND toolTip);
  // Adds count images of the program's bitmap resource, with colour shown as
  // the button face. Returns the first image's index, or -1.
  int AddBitmap(int count, int resourceId, COLORREF colour);
  bool AddButton(int command, int image, INT_PTR stringIndex, BYTE style, BYTE state, DWORD_PTR data);
  bool GetItemRect(int index, RECT& rect);
  bool GetButtonRect(int command, RECT& rect);
  // All buttons side by side (or stacked when vertical): the sum of their
  // widths and the button height, or the button width and the sum of their
  // heights; 0 x 0 without buttons.
  SIZE GetIdealSize(bool vertical);
};
