// The thin wrappers that are one or two messages each: list box, tab
// control, slider, status bar, toolbar and tooltips.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "WindowTestResources.h"
#include "support/TestWindows.h"
#include "toolkit/Dialog.h"
#include "toolkit/ListBox.h"
#include "toolkit/StatusBar.h"
#include "toolkit/TabControl.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolTip.h"
#include "toolkit/TrackBar.h"

TEST(ListBox, AddItemKeepsItsDataAndSelectionMoves) {
  HostWindow host;
  ListBox list;
  ASSERT_TRUE(list.Create(0, WS_CHILD | LBS_NOTIFY, 0, 0, 100, 100, host.Get(), 5022));
  EXPECT_EQ(0, list.AddItem("NEXT >>", 1));
  EXPECT_EQ(1, list.AddItem("station", 0x12345678));
  EXPECT_EQ(1, list.GetItemData(0));
  EXPECT_EQ(0x12345678, list.GetItemData(1));
  EXPECT_EQ(-1, list.GetSelection());
  list.SetSelection(1);
  EXPECT_EQ(1, list.GetSelection());
  EXPECT_EQ(2, list.GetCount());
  list.RemoveAll();
  EXPECT_EQ(0, list.GetCount());
}

TEST(TrackBar, TrackScrollFollowsTheSliderAndIgnoresOtherControls) {
  HostWindow host;
  Dialog dialog;
  ASSERT_TRUE(dialog.CreateModeless(IDD_ITEMS, host.Get()));
  TrackBar slider;
  slider.AttachItem(dialog.hwnd, IDC_SLIDER);
  ASSERT_NE(nullptr, slider.hwnd);
  slider.SetRange(0, 8, false);
  slider.SetPos(1, true);
  EXPECT_EQ(1, slider.GetPos());

  LPARAM other = reinterpret_cast<LPARAM>(dialog.GetItem(IDC_SPIN));
  EXPECT_EQ(-1, slider.TrackScroll(TB_THUMBTRACK, 6, other));
  EXPECT_EQ(1, slider.GetPos()) << "a message of another control moves nothing";

  LPARAM self = reinterpret_cast<LPARAM>(slider.hwnd);
  EXPECT_EQ(6, slider.TrackScroll(TB_THUMBTRACK, 6, self));
  EXPECT_EQ(6, slider.GetPos());
  EXPECT_EQ(7, slider.TrackScroll(TB_THUMBPOSITION, 7, self));
  EXPECT_EQ(0, slider.TrackScroll(TB_TOP, 99, self));
  EXPECT_EQ(8, slider.TrackScroll(TB_BOTTOM, 99, self));
  EXPECT_EQ(8, slider.TrackScroll(TB_ENDTRACK, 2, self)) << "other codes set the current position again";
  EXPECT_EQ(8, slider.GetPos());
  DestroyWindow(dialog.hwnd);
}

TEST(TabControl, TabsAndPagesFitTheDisplayArea) {
  HostWindow host;
  Dialog dialog;
  ASSERT_TRUE(dialog.CreateModeless(IDD_ITEMS, host.Get()));
  TabControl tabs;
  tabs.AttachItem(dialog.hwnd, IDC_TABS);
  EXPECT_EQ(0, tabs.InsertTab(0, "\x91\x53\x94\xca", -1, 0));  // 全般
  EXPECT_EQ(1, tabs.InsertTab(1, "\x8c\x9f\x8d\xf5", -1, 0));  // 検索
  EXPECT_EQ(0, tabs.GetSelection());
  EXPECT_EQ(2, tabs.Send(TCM_GETITEMCOUNT, 0, 0));

  Dialog page;
  ASSERT_TRUE(page.CreateModeless(IDD_PAGE, tabs.hwnd));
  tabs.FitPage(page.hwnd);
  RECT client = {}, area = {}, placed = {};
  GetClientRect(tabs.hwnd, &client);
  area = client;
  tabs.Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  GetWindowRect(page.hwnd, &placed);
  MapWindowPoints(nullptr, tabs.hwnd, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(area.left, placed.left);
  EXPECT_EQ(area.top, placed.top);
  EXPECT_EQ(area.right, placed.right);
  EXPECT_EQ(area.bottom, placed.bottom);
  EXPECT_GT(area.top, client.top) << "the tabs themselves stay uncovered";
  DestroyWindow(dialog.hwnd);
}

TEST(StatusBar, SimpleTextWithoutBorders) {
  HostWindow host;
  StatusBar bar;
  ASSERT_TRUE(bar.Create(0, WS_VISIBLE, host.Get(), 5023));
  EXPECT_TRUE(bar.GetLong(GWL_STYLE) & WS_CHILD);
  bar.SetSimple(true);
  EXPECT_TRUE(bar.Send(SB_ISSIMPLE, 0, 0));
  EXPECT_TRUE(bar.SetText(255, "rock jazz"));
  char text[32] = {};
  // In simple mode every part number reads the simple text.
  LRESULT got = bar.Send(SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ("rock jazz", text);
  EXPECT_EQ(9, LOWORD(got));
  EXPECT_EQ(SBT_NOBORDERS, HIWORD(got) & SBT_NOBORDERS);
}

TEST(ToolBar, ButtonsAndTheirIdealSize) {
  InitTestControls();
  HostWindow host;
  ToolBar bar;
  ASSERT_TRUE(bar.Create(0, WS_VISIBLE | TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE, host.Get(), 5021));
  SIZE empty = bar.GetIdealSize(false);
  EXPECT_EQ(0, empty.cx);
  EXPECT_EQ(0, empty.cy);

  bar.SetBitmapSize(15, 15);
  bar.EnableDropDownArrows();
  EXPECT_EQ(0, bar.AddBitmap(4, IDB_TOOLS, RGB(255, 0, 255)));
  EXPECT_TRUE(bar.AddButton(2000, 0, -1, BTNS_DROPDOWN, TBSTATE_ENABLED, 0));
  EXPECT_TRUE(bar.AddButton(0, 0, -1, BTNS_SEP, 0, 0));
  EXPECT_TRUE(bar.AddButton(2001, 1, -1, BTNS_BUTTON, TBSTATE_ENABLED, 0));
  EXPECT_EQ(3, bar.Send(TB_BUTTONCOUNT, 0, 0));

  RECT first = {}, last = {}, byCommand = {};
  ASSERT_TRUE(bar.GetItemRect(0, first));
  ASSERT_TRUE(bar.GetItemRect(2, last));
  ASSERT_TRUE(bar.GetButtonRect(2001, byCommand));
  EXPECT_TRUE(EqualRect(&last, &byCommand));
  // The buttons sit side by side: the sum of their widths spans them all.
  SIZE ideal = bar.GetIdealSize(false);
  EXPECT_EQ(last.right - first.left, ideal.cx);
  EXPECT_EQ(HIWORD(bar.Send(TB_GETBUTTONSIZE, 0, 0)), ideal.cy);
  SIZE vertical = bar.GetIdealSize(true);
  EXPECT_EQ(LOWORD(bar.Send(TB_GETBUTTONSIZE, 0, 0)), vertical.cx);
  EXPECT_EQ(3 * (first.bottom - first.top), vertical.cy);
}

TEST(ToolTip, ToolsWrapAt500Pixels) {
  InitTestControls();
  HostWindow host;
  ToolTip tip;
  ASSERT_TRUE(tip.Create(host.Get()));
  EXPECT_EQ(500, tip.Send(TTM_GETMAXTIPWIDTH, 0, 0));
  EXPECT_EQ(host.Get(), GetWindow(tip.hwnd, GW_OWNER));
  EXPECT_TRUE(tip.AddTool(host.Get(), 2000, nullptr, "Play", nullptr));
  RECT button = {10, 0, 33, 22};
  EXPECT_TRUE(tip.AddTool(host.Get(), 2001, nullptr, "Open", &button));
  EXPECT_EQ(2, tip.Send(TTM_GETTOOLCOUNT, 0, 0));

  TTTOOLINFOA info = {};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.hwnd = host.Get();
  info.uId = 2001;
  ASSERT_TRUE(tip.Send(TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_TRUE(EqualRect(&button, &info.rect));
  EXPECT_TRUE(info.uFlags & TTF_SUBCLASS);
}
