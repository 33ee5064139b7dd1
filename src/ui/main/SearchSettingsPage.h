// Page 506 of the settings dialog, "検索": stations per query, MP3 only and
// clearing the list on close. Filled from the settings when it opens, written
// back when the dialog ends with OK.
#pragma once

#include "toolkit/Dialog.h"

class SearchSettingsPage : public Dialog {
 public:
  bool OnInitDialog(LRESULT* result) override;
  void Apply();
};
