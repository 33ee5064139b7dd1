#include "ui/main/WebPages.h"

#include <gtest/gtest.h>

#include "toolkit/WebAddress.h"

TEST(WebPages, TheBarsOwnPagesPassTheWebAddressCheck) {
  EXPECT_TRUE(IsWebAddress(kDirectoryPageUrl));
  EXPECT_TRUE(IsWebAddress(kHomePageUrl));
}
