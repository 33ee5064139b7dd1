// A standard control whose window procedure is replaced by the common one,
// so that its messages pass through the object's slots first; what the
// object leaves unhandled goes on to the control's own procedure.
#pragma once

#include "toolkit/Window.h"

class SubclassedControl : public Window {
 public:
  SubclassedControl() = default;
  ~SubclassedControl() override;

  // Once, on a control whose hwnd is set.
  void Subclass();
  // Gives the control its own procedure back; hwnd becomes null.
  void Unsubclass();

  LRESULT FinishMessage(bool notHandled, LRESULT result, UINT message, WPARAM wParam, LPARAM lParam) override;

  WNDPROC controlProc = nullptr;
};
