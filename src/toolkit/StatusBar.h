// A "msctls_statusbar32" control.
#pragma once

#include <commctrl.h>

#include "toolkit/Window.h"

class StatusBar : public Window {
 public:
  // The part that holds the simple-mode text.
  static constexpr int kSimplePart = 255;

  // WS_CHILD is added to style.
  bool Create(DWORD exStyle, DWORD style, HWND parent, int id) {
    return CreateControl(exStyle, STATUSCLASSNAMEA, style | WS_CHILD, 0, 0, 0, 0, parent, id);
  }
  void SetSimple(bool on) { Send(SB_SIMPLE, on, 0); }
  // Part 255 is the simple-mode text; drawn without borders.
  BOOL SetText(int part, const char* text) {
    WPARAM kind = static_cast<WPARAM>(part & 0xFF) | SBT_NOBORDERS;
    return static_cast<BOOL>(Send(SB_SETTEXTA, kind, reinterpret_cast<LPARAM>(text)));
  }
};
