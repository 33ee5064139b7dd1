// A "tooltips_class32" window for the tools of another window.
#pragma once

#include "toolkit/Window.h"

class ToolTip : public Window {
 public:
  // Always-tip style, owned by parent; tips wrap at 500 pixels.
  bool Create(HWND parent);
  // A tool that subclasses window to see its mouse; rect null covers the
  // window's client area.
  bool AddTool(HWND window, UINT_PTR id, HINSTANCE instance, const char* text, const RECT* rect);
  void DeleteTool(HWND window, UINT_PTR id);
};
