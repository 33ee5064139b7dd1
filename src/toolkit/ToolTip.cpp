#include "toolkit/ToolTip.h"

#include <commctrl.h>

bool ToolTip::Create(HWND parent) {
  hwnd = CreateWindowExA(0, TOOLTIPS_CLASSA, "", TTS_ALWAYSTIP, 0, 0, CW_USEDEFAULT, 0, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) return false;
  Send(TTM_SETMAXTIPWIDTH, 0, 500);
  return true;
}

bool ToolTip::AddTool(HWND window, UINT_PTR id, HINSTANCE instance, const char* text, const RECT* rect) {
  TTTOOLINFOA tool = {};
  // The record without its trailing reserved field: every version of the
  // control accepts this size.
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = window;
  tool.uId = id;
  if (rect) {
    tool.rect = *rect;
  } else {
    ::GetClientRect(window, &tool.rect);
  }
  tool.hinst = instance;
  tool.lpszText = const_cast<char*>(text);
  return Send(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

void ToolTip::DeleteTool(HWND window, UINT_PTR id) {
  TTTOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = window;
  tool.uId = id;
  Send(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}
