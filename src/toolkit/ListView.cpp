#include "toolkit/ListView.h"

#include <commctrl.h>

#include "toolkit/TextString.h"

bool ListView::Create(DWORD exStyle, DWORD style, int x, int y, int width, int height, HWND parent, int id) {
  return CreateControl(exStyle, WC_LISTVIEWA, style, x, y, width, height, parent, id);
}

void ListView::SetExtendedStyle(bool checkBoxes, bool fullRow, bool grid) {
  DWORD style = static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  auto setBit = [&style](DWORD bit, bool on) { style = on ? (style | bit) : (style & ~bit); };
  setBit(LVS_EX_CHECKBOXES, checkBoxes);
  setBit(LVS_EX_FULLROWSELECT, fullRow);
  setBit(LVS_EX_GRIDLINES, grid);
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style));
}

int ListView::InsertColumn(int index, const char* text, int width, int format) {
  LVCOLUMNA column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
  column.fmt = format;
  column.cx = width;
  column.pszText = const_cast<char*>(text);
  return static_cast<int>(Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int ListView::GetColumnWidth(int column) {
  return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

int ListView::InsertItem(int index, const char* text, int image, LPARAM data) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  if (image != -1) {
    item.mask |= LVIF_IMAGE;
    item.iImage = image;
  }
  item.iItem = index < 0 ? GetItemCount() : index;
  item.pszText = const_cast<char*>(text);
  item.lParam = data;
  return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL ListView::DeleteItem(int index) {
  return static_cast<BOOL>(Send(LVM_DELETEITEM, static_cast<WPARAM>(index), 0));
}

int ListView::GetItemCount() { return static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0)); }

void ListView::Select(int index, bool selected) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void ListView::Focus(int index) {
  LVITEMA item = {};
  item.stateMask = LVIS_FOCUSED;
  item.state = LVIS_FOCUSED;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int ListView::NextSelected(int start) {
  return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(start), LVNI_SELECTED));
}

int ListView::GetItemText(int index, int column, TextString& text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = text.Data();
  item.cchTextMax = text.BufferSize();
  Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  // Some list views fill a block that is too small to its last byte without
  // a terminator; the string must end inside its block whatever they do.
  text.Data()[text.Capacity()] = '\0';
  return text.Length();
}

int ListView::ReadItemText(int index, int column, TextString& text) {
  if (text.Capacity() < 255) text.Reserve(255);
  for (;;) {
    int length = GetItemText(index, column, text);
    // A text that was cut fills the block to its last byte, or to the one
    // before when a double-byte character did not fit: two bytes to spare
    // mean it came whole.
    if (length + 2 <= text.Capacity()) return length;
    text.Reserve(text.Capacity() * 2 + 1);
  }
}

BOOL ListView::SetItemText(int index, int column, const char* text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text);
  return static_cast<BOOL>(Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}
