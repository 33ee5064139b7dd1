#include "toolkit/Menu.h"

#include <gtest/gtest.h>

#include <string>

#include "WindowTestResources.h"

namespace {

std::string TextAt(HMENU menu, int position) {
  char text[64] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

}  // namespace

TEST(Menu, FindPositionWalksIdsAndSkipsSeparatorsByTheirId) {
  Menu menu;
  ASSERT_TRUE(menu.Load(GetModuleHandleA(nullptr), IDM_TEST));
  Menu popup;
  popup.Attach(menu.GetSubMenu(0));
  ASSERT_NE(nullptr, popup.handle);
  EXPECT_EQ(5, popup.GetItemCount());
  EXPECT_EQ(0, popup.FindPosition(40001));
  EXPECT_EQ(2, popup.FindPosition(40010)) << "the separator before it has id 0";
  EXPECT_EQ(4, popup.FindPosition(40011));
  EXPECT_EQ(-1, popup.FindPosition(12345));
  EXPECT_EQ(1, popup.FindPosition(0)) << "a separator's id is 0";
  // The skin pop-up is the item right after the settings item.
  Menu skins;
  skins.Attach(popup.GetSubMenu(popup.FindPosition(40010) + 1));
  EXPECT_EQ(40700u, skins.GetItemId(0));
  menu.Destroy();
  EXPECT_EQ(nullptr, menu.handle);
}

TEST(Menu, InsertsItemsSeparatorsAndSubMenus) {
  Menu menu;
  ASSERT_TRUE(menu.CreatePopup());
  ASSERT_TRUE(menu.InsertItem(0, true, 10000, "Rock"));
  ASSERT_TRUE(menu.InsertItem(0, true, 10001, "Jazz"));  // before Rock
  ASSERT_TRUE(menu.InsertSeparator(2, true));
  Menu sub;
  ASSERT_TRUE(sub.CreatePopup());
  ASSERT_TRUE(sub.InsertItem(0, true, 10002, "Metal"));
  ASSERT_TRUE(menu.InsertSubMenu(3, true, "\x83\x8d\x83\x62\x83\x4e", sub.handle));  // ロック
  ASSERT_TRUE(menu.InsertItem(10000, false, 10003, "Pop"));  // before the item with id 10000

  EXPECT_EQ(5, menu.GetItemCount());
  EXPECT_EQ("Jazz", TextAt(menu.handle, 0));
  EXPECT_EQ("Pop", TextAt(menu.handle, 1));
  EXPECT_EQ("Rock", TextAt(menu.handle, 2));
  EXPECT_EQ(0u, menu.GetItemId(3));
  EXPECT_EQ("\x83\x8d\x83\x62\x83\x4e", TextAt(menu.handle, 4));
  EXPECT_EQ(sub.handle, menu.GetSubMenu(4));

  MENUITEMINFOA info;
  char text[16];
  ASSERT_TRUE(menu.GetItemInfo(2, true, info, text, sizeof text));
  EXPECT_EQ(10000u, info.wID);
  EXPECT_STREQ("Rock", text);
  menu.Destroy();  // the submenu goes with it
  EXPECT_FALSE(IsMenu(sub.handle));
}

TEST(Menu, TextStateAndDeletion) {
  Menu menu;
  ASSERT_TRUE(menu.CreatePopup());
  menu.InsertItem(0, true, 40800, "-");
  menu.InsertItem(1, true, 40801, "-");
  menu.InsertSeparator(2, true);

  EXPECT_TRUE(menu.SetItemText(40800, false, "A station with a rather long name"));
  EXPECT_EQ("A station with a rather long name", TextAt(menu.handle, 0));
  EXPECT_TRUE(menu.SetItemText(1, true, "MP3 128kbps 44100Hz stereo"));
  EXPECT_EQ("MP3 128kbps 44100Hz stereo", TextAt(menu.handle, 1));

  menu.EnableItem(40800, false, false);
  EXPECT_TRUE(GetMenuState(menu.handle, 40800, MF_BYCOMMAND) & MF_GRAYED);
  menu.EnableItem(0, true, true);
  EXPECT_FALSE(GetMenuState(menu.handle, 40800, MF_BYCOMMAND) & MF_GRAYED);
  menu.CheckItem(40801, false, true);
  EXPECT_TRUE(GetMenuState(menu.handle, 1, MF_BYPOSITION) & MF_CHECKED);
  menu.CheckItem(1, true, false);
  EXPECT_FALSE(GetMenuState(menu.handle, 1, MF_BYPOSITION) & MF_CHECKED);

  EXPECT_TRUE(menu.DeleteItem(0, true));
  EXPECT_EQ(40801u, menu.GetItemId(0));
  EXPECT_TRUE(menu.DeleteItem(40801, false));
  EXPECT_FALSE(menu.DeleteItem(40801, false));
  EXPECT_EQ(1, menu.GetItemCount());
  menu.Destroy();
}
