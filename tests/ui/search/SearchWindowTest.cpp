// The search window as a real window over a host owner: its place, its
// layout, hiding, and the rows of a page as they are drawn. Nothing here
// fetches (the directory's hosts are not the test's to reach): searching,
// paging, playing and the tooltips are tested end to end (search_e2e.py).
#include "ui/search/SearchWindow.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "shell/ApplicationState.h"
#include "shell/Settings.h"
#include "support/TestWindows.h"
#include "ui/PlayerBar.h"
#include "ui/SideWindows.h"
#include "ui/search/SearchWindowRes.h"
#include "ui/search/StationRecord.h"

// Rectangles compare and print whole.
static bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
static void PrintTo(const RECT& r, std::ostream* out) {
  *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

struct FakeBar final : PlayerBar {
  void Play(int, const char*) override {}
  int PlayerState() const override { return 0; }
  const StreamInfo* PlayingStream() const override { return nullptr; }
  const char* LastUrl() const override { return ""; }
};

struct FakeSides final : SideWindows {
  void ToggleSearchWindow(bool) override {}
  void ToggleFavoritesWindow(bool) override {}
  void AddFavorite(const char*, const char*, const char*, const char*) override {}
  void SaveFavorites() override {}
};

// A page of three stations answered for a query at start 50.
const char kPage[] =
    "HTTP/1.0 200 OK\r\n\r\n"
    "<a href=\"/sbin/tunein-station.pls?id=701\"></a><a class=\"clickabletitle\" title=\"Alpha FM\"></a>"
    "<div>Tags: <a href=\"/g\">Pop</a> <a href=\"/g\">Rock</a></div><div>Site: <a href=\"http://alpha/\"></a></div>"
    "<div class=\"playingtext\" title=\"Song\"></div>"
    "<div class=\"dirlistners\">900</div><div class=\"dirbitrate\">128</div><div class=\"dirtype\">mp3</div>"
    "<a href=\"/sbin/tunein-station.pls?id=702\"></a><a class=\"clickabletitle\" title=\"Beta\"></a>"
    "<div>Tags: <a href=\"/g\">Jazz</a></div><div>Site: <a href=\"\"></a></div>"
    "<div class=\"dirlistners\">80</div><div class=\"dirbitrate\">64</div><div class=\"dirtype\">AAC+</div>"
    "<a href=\"/sbin/tunein-station.pls?id=703\"></a><a class=\"clickabletitle\" title=\"Gamma\"></a>"
    "<div>Tags: </div><div>Site: <a href=\"\"></a></div>"
    "<div class=\"dirlistners\">7</div><div class=\"dirbitrate\">32</div><div class=\"dirtype\">MP3</div>";

class SearchWindowTest : public testing::Test {
 protected:
  SearchWindowTest() : window(bar, sides) {
    gSettings.SetDefaults();
    gApplicationState.layoutPending = true;
    window.Create(owner.Get());
  }
  ~SearchWindowTest() override {
    if (window.hwnd) DestroyWindow(window.hwnd);
    gSettings.SetDefaults();
    gApplicationState.layoutPending = true;
  }

  // The second page of a search for "pop": three stations from 51 on.
  void LoadPage() {
    SearchResults& results = window.resultList.results;
    TextString url;
    results.PrepareQuery("pop", kNewSearch, 50, true, url);
    results.pageCount = 50;
    int start = results.PrepareQuery(nullptr, kNextPage, 50, true, url);
    ByteBuffer answer;
    ASSERT_TRUE(answer.Init(4096, 4096));
    ASSERT_TRUE(answer.Append(kPage, sizeof kPage));
    ASSERT_TRUE(results.TakeAnswer(answer, start, 50));
    window.resultList.ShowRecords();
  }
  void Select(int row) {
    window.resultList.SetSelection(row);
    window.Send(WM_COMMAND, MAKEWPARAM(IDC_SEARCH_RESULTS, LBN_SELCHANGE), 0);
  }
  std::string Status() {
    char text[256] = {};
    // In simple mode every part number reads the simple text.
    window.statusBar.Send(SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
  }
  RECT ChildRect(Window& child) {
    RECT r;
    child.GetWindowRect(r);
    MapWindowPoints(nullptr, window.hwnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  HostWindow owner;
  FakeBar bar;
  FakeSides sides;
  SearchWindow window;
};

}  // namespace

TEST_F(SearchWindowTest, IsAHiddenToolWindowBelowItsOwnerUntilAPlaceIsStored) {
  ASSERT_NE(nullptr, window.hwnd);
  char text[32] = {};
  GetClassNameA(window.hwnd, text, sizeof text);
  EXPECT_STREQ("kmb_search", text);
  GetWindowTextA(window.hwnd, text, sizeof text);
  EXPECT_STREQ("\x8c\x9f\x8d\xf5", text);  // 検索
  EXPECT_FALSE(IsWindowVisible(window.hwnd));
  EXPECT_TRUE(window.GetLong(GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(owner.Get(), GetWindow(window.hwnd, GW_OWNER));
  RECT r;
  window.GetWindowRect(r);
  EXPECT_EQ((RECT{100, 140, 500, 540}), r);

  SearchWindow stored(bar, sides);
  gSettings.searchWinLeft = 50;
  gSettings.searchWinTop = 60;
  gSettings.searchWinRight = 450;
  gSettings.searchWinBottom = 400;
  ASSERT_TRUE(stored.Create(owner.Get()));
  stored.GetWindowRect(r);
  EXPECT_EQ((RECT{50, 60, 450, 400}), r);
  DestroyWindow(stored.hwnd);
}

TEST_F(SearchWindowTest, LaysOutItsControlsOnceStartUpHasFinished) {
  window.SetSize(500, 400);
  EXPECT_EQ(100, ChildRect(window.textBox).right - ChildRect(window.textBox).left) << "no layout while starting up";

  gApplicationState.layoutPending = false;
  window.Send(WM_SIZE, 0, 0);
  SIZE client = window.GetClientSize();
  RECT tools = ChildRect(window.toolBar);
  int toolsWidth = tools.right - tools.left;
  EXPECT_EQ(4, window.toolBar.Send(TB_BUTTONCOUNT, 0, 0));
  TBBUTTON first = {};
  window.toolBar.Send(TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_EQ(IDM_SEARCH_RUN, first.idCommand);
  EXPECT_TRUE(first.fsStyle & BTNS_DROPDOWN);

  int box = client.cx - toolsWidth - 4;
  EXPECT_EQ((RECT{2, 2, 2 + box, 22}), ChildRect(window.textBox));
  EXPECT_EQ(box + 4, tools.left);
  EXPECT_EQ(0, tools.top);
  RECT status = ChildRect(window.statusBar);
  EXPECT_EQ(client.cy, status.bottom);
  EXPECT_EQ((RECT{0, 26, client.cx, status.top}), ChildRect(window.resultList));

  RECT sizing = {10, 10, 60, 40};
  window.Send(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&sizing));
  EXPECT_EQ((RECT{10, 10, 210, 116}), sizing) << "at least 200 x 106 with the frame";
}

TEST_F(SearchWindowTest, ClosingOnlyHidesAndEmptiesTheListWhenAskedTo) {
  LoadPage();
  window.ToggleSearchWindow(false);
  EXPECT_TRUE(IsWindowVisible(window.hwnd));
  EXPECT_EQ(kOptSearchShown, gSettings.optFlag & kOptSearchShown);
  window.Send(WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window.hwnd));
  EXPECT_FALSE(IsWindowVisible(window.hwnd));
  EXPECT_EQ(0, gSettings.optFlag & kOptSearchShown);
  EXPECT_EQ(5, window.resultList.GetCount());

  gSettings.optFlag |= kOptClearOnClose;
  window.ToggleSearchWindow(false);
  Select(1);
  window.ToggleSearchWindow(false);
  EXPECT_FALSE(IsWindowVisible(window.hwnd));
  EXPECT_EQ(0, window.resultList.GetCount());
  EXPECT_EQ(nullptr, window.resultList.results.records.first);
  EXPECT_EQ("", Status());
  EXPECT_STREQ("pop", window.resultList.results.query.CStr()) << "the words stay for the next search";
  EXPECT_FALSE(window.resultList.results.HasNextRow());
}

namespace {

// A row drawn by the window into a 300 x 33 bitmap; its pixels, top row first.
std::vector<COLORREF> DrawRow(SearchWindow& window, LPARAM item, bool selected) {
  const int w = 300, h = 33;
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  DRAWITEMSTRUCT draw = {};
  draw.CtlType = ODT_LISTBOX;
  draw.CtlID = IDC_SEARCH_RESULTS;
  draw.itemID = 0;
  draw.itemAction = ODA_DRAWENTIRE;
  draw.itemState = selected ? ODS_SELECTED : 0;
  draw.hwndItem = window.resultList.hwnd;
  draw.hDC = dc;
  draw.rcItem = {0, 0, w, h};
  draw.itemData = static_cast<ULONG_PTR>(item);
  window.Send(WM_DRAWITEM, IDC_SEARCH_RESULTS, reinterpret_cast<LPARAM>(&draw));
  GdiFlush();
  std::vector<COLORREF> pixels(static_cast<size_t>(w * h));
  for (int i = 0; i < w * h; ++i) {
    DWORD p = static_cast<DWORD*>(bits)[i];
    pixels[static_cast<size_t>(i)] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

// Pixels in [x0, x1) x [y0, y1) nearer to colour than to any grey.
int Inked(const std::vector<COLORREF>& pixels, int x0, int y0, int x1, int y1, COLORREF colour) {
  int n = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      COLORREF p = pixels[static_cast<size_t>(y * 300 + x)];
      int dr = GetRValue(p) - GetRValue(colour), dg = GetGValue(p) - GetGValue(colour),
          db = GetBValue(p) - GetBValue(colour);
      if (dr * dr + dg * dg + db * db < 60 * 60) ++n;
    }
  }
  return n;
}

}  // namespace

TEST_F(SearchWindowTest, RowsOfAPageInTheirColoursWithTheSelectedStationsTags) {
  LoadPage();
  ASSERT_EQ(5, window.resultList.GetCount()) << "three stations, NEXT >>, << BACK";
  EXPECT_EQ(static_cast<LPARAM>(kNextRowValue), window.resultList.GetItemData(3));
  EXPECT_EQ(static_cast<LPARAM>(kBackRowValue), window.resultList.GetItemData(4));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(33, window.resultList.Send(LB_GETITEMHEIGHT, i, 0));
  Select(0);
  EXPECT_EQ("Pop Rock ", Status());
  Select(3);
  EXPECT_EQ("", Status()) << "a paging row has no tags";

  const LPARAM alpha = window.resultList.GetItemData(0), beta = window.resultList.GetItemData(1);
  std::vector<COLORREF> plain = DrawRow(window, alpha, false);
  const int a = 300 - 136;
  for (int y = 0; y < 33; ++y) {
    EXPECT_EQ(RGB(0, 0, 0), plain[static_cast<size_t>(y * 300 + 36)]) << y;
    EXPECT_EQ(RGB(0, 0, 0), plain[static_cast<size_t>(y * 300 + 36 + a)]) << y;
  }
  for (int x = 0; x < 300; ++x) EXPECT_EQ(RGB(0, 0, 0), plain[static_cast<size_t>(32 * 300 + x)]) << x;
  EXPECT_EQ(RGB(255, 255, 255), plain[5]);
  EXPECT_GT(Inked(plain, 2, 3, 34, 17, RGB(0, 0, 255)), 5) << "the ordinal in blue";
  EXPECT_GT(Inked(plain, 204, 3, 298, 17, RGB(193, 0, 0)), 5) << "\"mp3\" in the MP3 colour";
  EXPECT_GT(Inked(plain, 204, 18, 298, 32, RGB(112, 60, 20)), 5) << "the tags";
  EXPECT_EQ(0, Inked(plain, 204, 3, 298, 17, RGB(137, 127, 0)));

  std::vector<COLORREF> other = DrawRow(window, beta, true);
  EXPECT_EQ(RGB(210, 204, 255), other[5]) << "the selection colour";
  EXPECT_GT(Inked(other, 204, 3, 298, 17, RGB(137, 127, 0)), 5) << "\"AAC+\" in the other colour";
  EXPECT_EQ(0, Inked(other, 204, 3, 298, 17, RGB(193, 0, 0)));

  std::vector<COLORREF> next = DrawRow(window, static_cast<LPARAM>(kNextRowValue), false);
  EXPECT_GT(Inked(next, 110, 8, 190, 26, RGB(0, 0, 0)), 5) << "NEXT >> in the middle";
  EXPECT_EQ(0, Inked(next, 0, 0, 100, 31, RGB(0, 0, 0)));
}
