#include "toolkit/Menu.h"

#include <cstring>

bool Menu::Load(HINSTANCE instance, int resourceId) {
  handle = LoadMenuA(instance, MAKEINTRESOURCEA(resourceId));
  return handle != nullptr;
}

bool Menu::CreatePopup() {
  handle = CreatePopupMenu();
  return handle != nullptr;
}

void Menu::Destroy() {
  if (handle) DestroyMenu(handle);
  handle = nullptr;
}

bool Menu::InsertItem(UINT item, bool byPosition, UINT command, const char* text) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_ID | MIIM_TYPE;
  info.fType = MFT_STRING;
  info.wID = command;
  info.dwTypeData = const_cast<char*>(text);
  return InsertMenuItemA(handle, item, byPosition, &info) != FALSE;
}

bool Menu::InsertSeparator(UINT item, bool byPosition) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_TYPE;
  info.fType = MFT_SEPARATOR;
  return InsertMenuItemA(handle, item, byPosition, &info) != FALSE;
}

bool Menu::InsertSubMenu(UINT item, bool byPosition, const char* text, HMENU subMenu) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_SUBMENU | MIIM_TYPE;
  info.fType = MFT_STRING;
  info.hSubMenu = subMenu;
  info.dwTypeData = const_cast<char*>(text);
  return InsertMenuItemA(handle, item, byPosition, &info) != FALSE;
}

bool Menu::GetItemInfo(UINT item, bool byPosition, MENUITEMINFOA& info, char* text, UINT bufferSize) {
  std::memset(&info, 0, sizeof info);
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;
  info.dwTypeData = text;
  info.cch = bufferSize;
  return GetMenuItemInfoA(handle, item, byPosition, &info) != FALSE;
}

bool Menu::SetItemText(UINT item, bool byPosition, const char* text) {
  // Only the type is needed from the present item; a short text buffer will do.
  MENUITEMINFOA info;
  char current[9];
  if (!GetItemInfo(item, byPosition, info, current, sizeof current)) return false;
  info.fMask = MIIM_TYPE;
  info.dwTypeData = const_cast<char*>(text);
  return SetMenuItemInfoA(handle, item, byPosition, &info) != FALSE;
}

bool Menu::DeleteItem(UINT item, bool byPosition) {
  return DeleteMenu(handle, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND) != FALSE;
}

void Menu::EnableItem(UINT item, bool byPosition, bool enable) {
  EnableMenuItem(handle, item, (byPosition ? MF_BYPOSITION : MF_BYCOMMAND) | (enable ? MF_ENABLED : MF_GRAYED));
}

void Menu::CheckItem(UINT item, bool byPosition, bool check) {
  CheckMenuItem(handle, item, (byPosition ? MF_BYPOSITION : MF_BYCOMMAND) | (check ? MF_CHECKED : MF_UNCHECKED));
}

int Menu::FindPosition(UINT command) {
  int count = GetItemCount();
  for (int i = 0; i < count; ++i) {
    if (GetItemId(i) == command) return i;
  }
  return -1;
}

int Menu::Track(HWND owner, int x, int y, UINT flags) {
  return TrackPopupMenu(handle, flags, x, y, 0, owner, nullptr);
}
