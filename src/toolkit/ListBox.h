// A "LISTBOX" control; every operation is one or two messages.
#pragma once

#include "toolkit/SubclassedControl.h"

class ListBox : public SubclassedControl {
 public:
  bool Create(DWORD exStyle, DWORD style, int x, int y, int width, int height, HWND parent, int id) {
    return CreateControl(exStyle, "LISTBOX", style, x, y, width, height, parent, id);
  }
  // The new item's index, or a negative LB_ERR / LB_ERRSPACE.
  int AddItem(const char* text, LPARAM data) {
    int index = static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    if (index >= 0) Send(LB_SETITEMDATA, static_cast<WPARAM>(index), data);
    return index;
  }
  LPARAM GetItemData(int index) { return Send(LB_GETITEMDATA, static_cast<WPARAM>(index), 0); }
  void SetSelection(int index) { Send(LB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  // -1 without a selection.
  int GetSelection() { return static_cast<int>(Send(LB_GETCURSEL, 0, 0)); }
  int GetCount() { return static_cast<int>(Send(LB_GETCOUNT, 0, 0)); }
  void RemoveAll() { Send(LB_RESETCONTENT, 0, 0); }
};
