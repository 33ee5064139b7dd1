#include "toolkit/SubclassedControl.h"

SubclassedControl::~SubclassedControl() {
  // A control that outlives its object must not call into it any more.
  if (controlProc && hwnd && IsWindow(hwnd)) Unsubclass();
}

void SubclassedControl::Subclass() {
  // A second call would store the common procedure as the control's own and
  // loop forever.
  if (!hwnd || controlProc) return;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  controlProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::WindowProc));
}

void SubclassedControl::Unsubclass() {
  if (controlProc) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc));
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  }
  hwnd = nullptr;
  controlProc = nullptr;
}

LRESULT SubclassedControl::FinishMessage(bool notHandled, LRESULT result, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
  if (!controlProc) return DefWindowProcA(hwnd, message, wParam, lParam);
  return notHandled ? CallWindowProcA(controlProc, hwnd, message, wParam, lParam) : result;
}
