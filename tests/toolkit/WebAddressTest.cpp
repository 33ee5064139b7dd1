#include "toolkit/WebAddress.h"

#include <gtest/gtest.h>

TEST(WebAddress, OnlyHttpAndHttpsAddressesAreWebAddresses) {
  EXPECT_TRUE(IsWebAddress("http://127.0.0.1:8000/"));
  EXPECT_TRUE(IsWebAddress("HTTPS://www.example.com"));
  // What a station's header could name instead: programs, documents, shares.
  EXPECT_FALSE(IsWebAddress("C:\\Windows\\System32\\calc.exe"));
  EXPECT_FALSE(IsWebAddress("calc"));
  EXPECT_FALSE(IsWebAddress("file:///C:/boot.ini"));
  EXPECT_FALSE(IsWebAddress("\\\\server\\share\\run.bat"));
  EXPECT_FALSE(IsWebAddress(" http://leading.blank/"));
  EXPECT_FALSE(IsWebAddress("http:/one.slash/"));
  EXPECT_FALSE(IsWebAddress("http://"));
  EXPECT_FALSE(IsWebAddress(""));
  EXPECT_FALSE(IsWebAddress(nullptr));
  /* A double-byte character whose bytes are not "h" */
  EXPECT_FALSE(IsWebAddress("\x82\x88ttp://x/"));
}
