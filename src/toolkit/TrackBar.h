// The slider of a dialog, attached with AttachItem.
#pragma once

#include "toolkit/SubclassedControl.h"

class TrackBar : public SubclassedControl {
 public:
  void SetRange(int minimum, int maximum, bool redraw);
  void SetPos(int position, bool redraw);
  int GetPos();
  // For the owner's WM_HSCROLL / WM_VSCROLL: the slider's new position, set
  // again with redraw, or -1 when the message comes from another control.
  int TrackScroll(WORD code, WORD position, LPARAM control);
};
