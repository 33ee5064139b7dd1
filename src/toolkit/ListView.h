// A "SysListView32" control in report view.
#pragma once

#include "toolkit/SubclassedControl.h"

class TextString;

class ListView : public SubclassedControl {
 public:
  bool Create(DWORD exStyle, DWORD style, int x, int y, int width, int height, HWND parent, int id);
  // Sets or clears check boxes, full-row selection and grid lines; other
  // extended styles stay as they are.
  void SetExtendedStyle(bool checkBoxes, bool fullRow, bool grid);
  int InsertColumn(int index, const char* text, int width, int format);
  int GetColumnWidth(int column);
  // A negative index appends; image -1 gives the row no image. Returns the
  // new row's index or -1.
  int InsertItem(int index, const char* text, int image, LPARAM data);
  BOOL DeleteItem(int index);
  int GetItemCount();
  void Select(int index, bool selected);
  void Focus(int index);
  // The next selected row after start (-1: from the top), or -1.
  int NextSelected(int start);
  // Into the string's present block; the string does not grow. Returns the
  // length of the text taken.
  int GetItemText(int index, int column, TextString& text);
  // The whole text: the string grows until it holds it. Returns its length.
  int ReadItemText(int index, int column, TextString& text);
  BOOL SetItemText(int index, int column, const char* text);
};
