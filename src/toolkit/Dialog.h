// A dialog from a dialog resource, modal or modeless. The common dialog
// procedure finds the object through the dialog's user word (set at
// WM_INITDIALOG) and routes messages as Window does; a dialog answers 1 for
// a handled message and 0 to let the dialog manager do its default work.
#pragma once

#include "toolkit/Window.h"

class Dialog : public Window {
 public:
  Dialog() = default;
  ~Dialog() override;

  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

  // The value given to EndModal, or -1 when the dialog cannot be made.
  INT_PTR RunModal(int resourceId, HWND parent);
  bool CreateModeless(int resourceId, HWND parent);
  BOOL EndModal(INT_PTR result);

  LRESULT FinishMessage(bool notHandled, LRESULT result, UINT message, WPARAM wParam, LPARAM lParam) override;

  // Items of the dialog, one platform call each.
  HWND GetItem(int id) { return GetDlgItem(hwnd, id); }
  UINT GetItemInt(int id, bool isSigned) { return GetDlgItemInt(hwnd, id, nullptr, isSigned); }
  // The item's number moved into minimum..maximum; text that is no number
  // reads as 0.
  int GetItemIntClamped(int id, bool isSigned, int minimum, int maximum);
  BOOL SetItemInt(int id, UINT value, bool isSigned) { return SetDlgItemInt(hwnd, id, value, isSigned); }
  // Into the string's present block; the string does not grow.
  UINT GetItemText(int id, TextString& text);
  BOOL SetItemText(int id, const char* text) { return SetDlgItemTextA(hwnd, id, text); }
  bool IsItemChecked(int id) { return IsDlgButtonChecked(hwnd, id) == BST_CHECKED; }
  BOOL CheckItem(int id, UINT state) { return CheckDlgButton(hwnd, id, state); }
  LRESULT SendItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(hwnd, id, message, wParam, lParam);
  }
  // Range of the up-down control id.
  LRESULT SetSpinRange(int id, int minimum, int maximum);
};
