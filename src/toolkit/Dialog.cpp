#include "toolkit/Dialog.h"

#include <commctrl.h>

#include "toolkit/TextString.h"

Dialog::~Dialog() {
  if (hwnd && IsWindow(hwnd) && GetWindowLongPtrA(hwnd, DWLP_USER) == reinterpret_cast<LONG_PTR>(this)) {
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
  }
}

INT_PTR CALLBACK Dialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* object;
  if (message == WM_INITDIALOG) {
    object = reinterpret_cast<Dialog*>(lParam);
    if (!object) return 0;
    object->hwnd = dialog;
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(object));
  } else {
    object = reinterpret_cast<Dialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!object) return 0;
  }
  return object->HandleMessage(message, wParam, lParam);
}

INT_PTR Dialog::RunModal(int resourceId, HWND parent) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), parent, &Dialog::DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(int resourceId, HWND parent) {
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), parent, &Dialog::DialogProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

BOOL Dialog::EndModal(INT_PTR result) {
  BOOL ended = EndDialog(hwnd, result);
  hwnd = nullptr;
  return ended;
}

LRESULT Dialog::FinishMessage(bool notHandled, LRESULT result, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) return result;
  return notHandled ? 0 : 1;
}

int Dialog::GetItemIntClamped(int id, bool isSigned, int minimum, int maximum) {
  UINT raw = GetDlgItemInt(hwnd, id, nullptr, isSigned);
  // An unsigned number above INT_MAX is large, not negative.
  long long value = isSigned ? static_cast<long long>(static_cast<int>(raw)) : static_cast<long long>(raw);
  if (value < minimum) return minimum;
  if (value > maximum) return maximum;
  return static_cast<int>(value);
}

UINT Dialog::GetItemText(int id, TextString& text) {
  return GetDlgItemTextA(hwnd, id, text.Data(), text.BufferSize());
}

LRESULT Dialog::SetSpinRange(int id, int minimum, int maximum) {
  return SendItemMessage(id, UDM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
}
