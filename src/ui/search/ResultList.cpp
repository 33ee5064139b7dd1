#include "ui/search/ResultList.h"

#include "shell/Settings.h"
#include "toolkit/Platform.h"
#include "toolkit/ScopedSelect.h"
#include "toolkit/StatusBar.h"
#include "toolkit/TextString.h"
#include "ui/search/FetchDialog.h"
#include "ui/search/SearchWindowRes.h"
#include "ui/search/StationRecord.h"

namespace {

constexpr int kRowHeight = 33;
// Width of everything on a station row but the name column: the numbers
// (36) and the bit rate and tags column (100).
constexpr int kFixedColumns = 136;
constexpr int kNumberColumn = 36;

constexpr COLORREF kSelectionColour = RGB(210, 204, 255);
constexpr COLORREF kOrdinalColour = RGB(0, 0, 255);
constexpr COLORREF kGreyColour = RGB(128, 128, 128);
constexpr COLORREF kNameColour = RGB(32, 32, 32);
constexpr COLORREF kMp3Colour = RGB(193, 0, 0);
constexpr COLORREF kOtherTypeColour = RGB(137, 127, 0);
constexpr COLORREF kTagsColour = RGB(112, 60, 20);

constexpr UINT kCutText = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;

void Line(HDC dc, int left, int top, int right, int bottom) {
  RECT r = {left, top, right, bottom};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void Text(HDC dc, const char* text, COLORREF colour, int left, int top, int right, int bottom, UINT format) {
  RECT r = {left, top, right, bottom};
  SetTextColor(dc, colour);
  DrawTextA(dc, text, -1, &r, format);
}

void DrawStation(HDC dc, const Record* station, const RECT& row) {
  const LONG L = row.left, T = row.top, R = row.right, B = row.bottom;
  int a = (R - L) - kFixedColumns;
  if (a <= 6) a = 6;
  Line(dc, L + kNumberColumn, T, L + kNumberColumn + 1, B);
  Line(dc, L + kNumberColumn + a, T, L + kNumberColumn + a + 1, B);

  TextString number;
  number.Format("%d", ReadStationNumber(station, kStationOrdinal));
  Text(dc, number.CStr(), kOrdinalColour, L + 2, T + 3, L + 34, B, DT_RIGHT | kCutText);
  number.Format("%d", ReadStationNumber(station, kStationListeners));
  Text(dc, number.CStr(), kGreyColour, L + 2, T + 18, L + 34, B, DT_RIGHT | kCutText);

  Text(dc, ReadStationText(station, kStationName), kNameColour, L + 40, T + 3, L + a + 34, B, kCutText);
  Text(dc, ReadStationText(station, kStationRecent), kGreyColour, L + 40, T + 18, L + a + 34, B, kCutText);

  const char* type = ReadStationText(station, kStationType);
  TextString format;
  format.Format("%dkbps %s", ReadStationNumber(station, kStationBitrate), type);
  COLORREF typeColour = platform::CompareTextNoCase(type, "MP3") == 0 ? kMp3Colour : kOtherTypeColour;
  Text(dc, format.CStr(), typeColour, R - 96, T + 3, R - 2, B, kCutText);
  Text(dc, ReadStationText(station, kStationTags), kTagsColour, R - 96, T + 18, R - 2, B, kCutText);
}

}  // namespace

bool ResultList::Create(HWND parent, int x, int y, int width, int height, HFONT rowFont) {
  font = rowFont;
  if (!selectionBrush.CreateSolidBrush(kSelectionColour)) return false;
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_DISABLENOSCROLL | LBS_NOTIFY |
                      LBS_OWNERDRAWVARIABLE | LBS_NOINTEGRALHEIGHT;
  if (!ListBox::Create(WS_EX_CLIENTEDGE, style, x, y, width, height, parent, IDC_SEARCH_RESULTS)) return false;
  SetFont(rowFont, false);
  return true;
}

void ResultList::RunQuery(const char* words, QueryKind kind, StatusBar& status) {
  TextString url;
  const int count = gSettings.searchCnt;
  int start = results.PrepareQuery(words, kind, count, (gSettings.optFlag & kOptMp3Only) != 0, url);
  ByteBuffer answer;
  if (!answer.Init(kAnswerInitialBytes, kAnswerGrowthBytes)) return;
  if (FetchUrl(hwnd, url.CStr(), answer, kFetchPost, kDirectoryFetchLimits) < 0) return;
  // The old rows still hold the old records' addresses until ShowRecords
  // replaces them, right after: nothing reads a row in between.
  if (!results.TakeAnswer(answer, start, count)) return;
  status.SetText(StatusBar::kSimplePart, "");
  ShowRecords();
  SetSelection(0);
  ShowTags(status);
  SetFocus(hwnd);
}

void ResultList::Clear(StatusBar& status) {
  RemoveAll();
  results.ClearRecords();
  status.SetText(StatusBar::kSimplePart, "");
}

SelectedRow ResultList::Selected() {
  SelectedRow row;
  int index = GetSelection();
  std::uintptr_t value = index >= 0 ? static_cast<std::uintptr_t>(GetItemData(index)) : 0;
  row.kind = ClassifyRow(index, value);
  if (row.kind == kStationRow) {
    row.station = reinterpret_cast<const Record*>(value);
    if (!row.station) row.kind = kNoRow;
  }
  return row;
}

void ResultList::ShowTags(StatusBar& status) {
  SelectedRow row = Selected();
  status.SetText(StatusBar::kSimplePart, row.kind == kStationRow ? ReadStationText(row.station, kStationTags) : "");
}

void ResultList::MeasureRow(MEASUREITEMSTRUCT& measure) { measure.itemHeight = kRowHeight; }

void ResultList::DrawRow(const DRAWITEMSTRUCT& draw) {
  HDC dc = draw.hDC;
  const RECT& row = draw.rcItem;
  ScopedSelect rowFont(dc, font);
  SetBkMode(dc, TRANSPARENT);
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &row, selected ? selectionBrush.Brush() : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  Line(dc, row.left, row.bottom - 1, row.right, row.bottom);

  std::uintptr_t value = static_cast<std::uintptr_t>(draw.itemData);
  switch (ClassifyRow(static_cast<int>(draw.itemID), value)) {
    case kNextRow:
    case kBackRow: {
      RECT r = row;
      SetTextColor(dc, RGB(0, 0, 0));
      DrawTextA(dc, value == kNextRowValue ? kNextRowText : kBackRowText, -1, &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      break;
    }
    case kStationRow:
      if (value) DrawStation(dc, reinterpret_cast<const Record*>(value), row);
      break;
    case kNoRow:
      break;
  }
}

void ResultList::ShowRecords() {
  RemoveAll();
  for (const Record* r = results.records.first; r; r = r->next) AddItem(nullptr, reinterpret_cast<LPARAM>(r));
  if (results.HasNextRow()) AddItem(kNextRowText, static_cast<LPARAM>(kNextRowValue));
  if (results.HasBackRow()) AddItem(kBackRowText, static_cast<LPARAM>(kBackRowValue));
}
