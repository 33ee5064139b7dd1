// A menu handle. The wrapper never destroys on its own: a loaded or created
// menu is destroyed with Destroy, an attached submenu never through it.
#pragma once

#include <windows.h>

class Menu {
 public:
  bool Load(HINSTANCE instance, int resourceId);
  bool CreatePopup();
  void Attach(HMENU menu) { handle = menu; }
  void Destroy();
  HMENU GetSubMenu(int position) { return ::GetSubMenu(handle, position); }

  // item is a position when byPosition is set, else a command id.
  bool InsertItem(UINT item, bool byPosition, UINT command, const char* text);
  bool InsertSeparator(UINT item, bool byPosition);
  bool InsertSubMenu(UINT item, bool byPosition, const char* text, HMENU subMenu);
  // Every field of the item; text receives at most bufferSize - 1 bytes.
  bool GetItemInfo(UINT item, bool byPosition, MENUITEMINFOA& info, char* text, UINT bufferSize);
  bool SetItemText(UINT item, bool byPosition, const char* text);
  bool DeleteItem(UINT item, bool byPosition);
  int GetItemCount() { return ::GetMenuItemCount(handle); }
  UINT GetItemId(int position) { return ::GetMenuItemID(handle, position); }
  void EnableItem(UINT item, bool byPosition, bool enable);
  void CheckItem(UINT item, bool byPosition, bool check);
  // Position of the first item with command id, or -1.
  int FindPosition(UINT command);
  // The command chosen (with TPM_RETURNCMD) or the platform's result.
  int Track(HWND owner, int x, int y, UINT flags);

  HMENU handle = nullptr;
};
