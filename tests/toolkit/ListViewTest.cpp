#include "toolkit/ListView.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "support/TestWindows.h"
#include "toolkit/TextString.h"

namespace {

class ListViewTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(list.Create(WS_EX_CLIENTEDGE, WS_CHILD | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0, 300,
                            200, host.Get(), 5011));
    ASSERT_EQ(0, list.InsertColumn(0, "Name", 120, LVCFMT_LEFT));
    ASSERT_EQ(1, list.InsertColumn(1, "URL", 80, LVCFMT_LEFT));
  }
  int ImageOf(int index) {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    list.Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
  }
  HostWindow host;
  ListView list;
};

}  // namespace

TEST_F(ListViewTest, NegativeIndexAppends) {
  for (int i = 0; i < 5; ++i) ASSERT_EQ(i, list.InsertItem(i, "row", -1, 0));
  EXPECT_EQ(5, list.InsertItem(-1, "last", -1, 0));
  EXPECT_EQ(6, list.GetItemCount());
  EXPECT_EQ(0, list.InsertItem(0, "first", -1, 0));
  TextString text;
  list.GetItemText(6, 0, text);
  EXPECT_STREQ("last", text.CStr());
}

TEST_F(ListViewTest, ImageMinusOneGivesNoImageNotACallback) {
  list.InsertItem(-1, "with", 3, 0);
  list.InsertItem(-1, "without", -1, 0);
  EXPECT_EQ(3, ImageOf(0));
  EXPECT_NE(I_IMAGECALLBACK, ImageOf(1));
}

TEST_F(ListViewTest, ItemTextIsCutToTheStringsBlock) {
  std::string cell(100, 'c');
  list.InsertItem(-1, "name", -1, 0);
  ASSERT_TRUE(list.SetItemText(0, 1, cell.c_str()));
  TextString text;
  EXPECT_EQ(63, list.GetItemText(0, 1, text));
  EXPECT_EQ(std::string(63, 'c'), text.CStr());
  EXPECT_EQ(63, text.Capacity());
  TextString roomy(255);
  EXPECT_EQ(100, list.GetItemText(0, 1, roomy));
  EXPECT_EQ(cell, roomy.CStr());
}

TEST_F(ListViewTest, SelectionFocusAndDeletion) {
  for (int i = 0; i < 3; ++i) list.InsertItem(-1, "row", -1, 100 + i);
  EXPECT_EQ(-1, list.NextSelected(-1));
  list.Select(1, true);
  EXPECT_EQ(1, list.NextSelected(-1));
  EXPECT_EQ(-1, list.NextSelected(1));
  list.Focus(2);
  EXPECT_EQ(LVIS_FOCUSED, list.Send(LVM_GETITEMSTATE, 2, LVIS_FOCUSED));
  list.Select(1, false);
  EXPECT_EQ(-1, list.NextSelected(-1));
  EXPECT_TRUE(list.DeleteItem(0));
  EXPECT_EQ(2, list.GetItemCount());
  EXPECT_FALSE(list.DeleteItem(5));
}

TEST_F(ListViewTest, ExtendedStyleKeepsOtherBitsAndColumnsKeepTheirWidth) {
  list.Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_HEADERDRAGDROP | LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES);
  list.SetExtendedStyle(false, true, false);
  DWORD style = static_cast<DWORD>(list.Send(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_TRUE(style & LVS_EX_HEADERDRAGDROP);
  EXPECT_TRUE(style & LVS_EX_FULLROWSELECT);
  EXPECT_FALSE(style & LVS_EX_CHECKBOXES);
  EXPECT_FALSE(style & LVS_EX_GRIDLINES);

  EXPECT_EQ(120, list.GetColumnWidth(0));
  EXPECT_EQ(80, list.GetColumnWidth(1));
}
