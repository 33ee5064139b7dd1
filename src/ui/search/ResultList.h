// The search window's owner-drawn list box (id 5022): the stations of the
// page shown, two lines each, with the "NEXT >>" and "<< BACK" rows below
// them, and the query that fills it. Each row's item value is its station
// record, or kNextRowValue / kBackRowValue. Main thread only.
#pragma once

#include "toolkit/GdiObject.h"
#include "toolkit/ListBox.h"
#include "ui/search/SearchResults.h"

class StatusBar;

struct SelectedRow {
  SearchRowKind kind = kNoRow;
  const Record* station = nullptr;  // for kStationRow
};

class ResultList : public ListBox {
 public:
  // Every row is drawn in rowFont, which the caller keeps alive.
  bool Create(HWND parent, int x, int y, int width, int height, HFONT rowFont);

  // Fetches a page behind the fetch dialog and shows it, the first row
  // selected, its tags in status and the keyboard focus on the list: a new
  // search for words, or the next or previous page of the last one (words
  // null). A failed fetch changes nothing.
  void RunQuery(const char* words, QueryKind kind, StatusBar& status);
  // Rows and records go; the words and the paging state stay.
  void Clear(StatusBar& status);
  // One row per record of results, then the paging rows; nothing selected.
  void ShowRecords();
  SelectedRow Selected();
  // The selected station's tags, or nothing.
  void ShowTags(StatusBar& status);

  void MeasureRow(MEASUREITEMSTRUCT& measure);
  void DrawRow(const DRAWITEMSTRUCT& draw);

  SearchResults results;

 private:
  HFONT font = nullptr;
  GdiObject selectionBrush;
};
