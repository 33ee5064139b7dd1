// Page 505 of the settings dialog, "全般": title scrolling, wheel step,
// device volume and play-buffer length. A modeless child dialog inside the
// dialog's tab control; filled from the settings when it opens, written back
// clamped to the ranges when the dialog ends with OK.
#pragma once

#include "toolkit/Dialog.h"
#include "toolkit/TrackBar.h"

class GeneralSettingsPage : public Dialog {
 public:
  bool OnInitDialog(LRESULT* result) override;
  bool OnHScroll(WORD code, WORD position, LPARAM control) override;
  void Apply();

 private:
  void ShowPlayBuffer(int milliseconds);

  TrackBar playBuffer;
};
