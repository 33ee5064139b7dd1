#include "toolkit/TabControl.h"

#include <commctrl.h>

int TabControl::InsertTab(int index, const char* text, int image, LPARAM data) {
  TCITEMA item = {};
  item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
  item.pszText = const_cast<char*>(text);
  item.iImage = image;
  item.lParam = data;
  return static_cast<int>(Send(TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

int TabControl::GetSelection() { return static_cast<int>(Send(TCM_GETCURSEL, 0, 0)); }

void TabControl::FitPage(HWND page) {
  RECT area = {};
  ::GetClientRect(hwnd, &area);
  Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  MoveWindow(page, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}
