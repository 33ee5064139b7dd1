#include "toolkit/MenuText.h"

#include <gtest/gtest.h>

TEST(MenuText, AmpersandsAreDoubledAndTabsBecomeSpaces) {
  TextString out;
  MenuItemText("Rock & Roll\tFM", out);
  EXPECT_STREQ("Rock && Roll FM", out.CStr());
  MenuItemText("&&x&", out);
  EXPECT_STREQ("&&&&x&&", out.CStr()) << "each one doubled, the last too";
  /* 表&示 */
  MenuItemText("\x95\x5c&\x8e\xa6", out);
  EXPECT_STREQ("\x95\x5c&&\x8e\xa6", out.CStr()) << "double-byte characters stay whole";
  MenuItemText("", out);
  EXPECT_STREQ("", out.CStr());
}
