#include "toolkit/ToolBar.h"

#include <commctrl.h>

bool ToolBar::Create(DWORD exStyle, DWORD style, HWND parent, int id) {
  if (!CreateControl(exStyle, TOOLBARCLASSNAMEA, style | WS_CHILD, 0, 0, 0, 0, parent, id)) return false;
  Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  return true;
}

void ToolBar::SetBitmapSize(int width, int height) { Send(TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height)); }

void ToolBar::EnableDropDownArrows() { Send(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS); }

void ToolBar::SetToolTips(HWND toolTip) { Send(TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(toolTip), 0); }

int ToolBar::AddBitmap(int count, int resourceId, COLORREF colour) {
  COLORMAP map = {colour, GetSysColor(COLOR_BTNFACE)};
  // The toolbar keeps using the bitmap for as long as it exists, so the
  // bitmap is never deleted here.
  HBITMAP bitmap = CreateMappedBitmap(GetModuleHandleA(nullptr), resourceId, 0, &map, 1);
  if (!bitmap) return -1;
  TBADDBITMAP add = {};
  add.hInst = nullptr;
  add.nID = reinterpret_cast<UINT_PTR>(bitmap);
  return static_cast<int>(Send(TB_ADDBITMAP, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&add)));
}

bool ToolBar::AddButton(int command, int image, INT_PTR stringIndex, BYTE style, BYTE state, DWORD_PTR data) {
  TBBUTTON button = {};
  button.iBitmap = image;
  button.idCommand = command;
  button.fsState = state;
  button.fsStyle = style;
  button.dwData = data;
  button.iString = stringIndex;
  return Send(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button)) != FALSE;
}

bool ToolBar::GetItemRect(int index, RECT& rect) {
  return Send(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != FALSE;
}

bool ToolBar::GetButtonRect(int command, RECT& rect) {
  return Send(TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&rect)) != FALSE;
}

SIZE ToolBar::GetIdealSize(bool vertical) {
  SIZE size = {0, 0};
  int count = static_cast<int>(Send(TB_BUTTONCOUNT, 0, 0));
  if (count < 1) return size;
  DWORD button = static_cast<DWORD>(Send(TB_GETBUTTONSIZE, 0, 0));
  LONG widths = 0, heights = 0;
  for (int i = 0; i < count; ++i) {
    RECT r = {};
    GetItemRect(i, r);
    widths += r.right - r.left;
    heights += r.bottom - r.top;
  }
  if (vertical) {
    size.cx = LOWORD(button);
    size.cy = heights;
  } else {
    size.cx = widths;
    size.cy = HIWORD(button);
  }
  return size;
}
