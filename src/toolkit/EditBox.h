// An "EDIT" control made with CreateControl; the search text box subclasses
// it to see the Enter key first.
#pragma once

#include "toolkit/SubclassedControl.h"

class EditBox : public SubclassedControl {
 public:
  bool Create(DWORD exStyle, DWORD style, int x, int y, int width, int height, HWND parent, int id) {
    return CreateControl(exStyle, "EDIT", style, x, y, width, height, parent, id);
  }
};
