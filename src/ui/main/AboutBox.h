// The about box (dialog 500): the program's name and version, OK and a
// button that opens the home page.
#pragma once

#include "toolkit/Dialog.h"

class AboutBox : public Dialog {
 public:
  bool OnCommand(WORD id, WORD code, LPARAM control) override;
};
