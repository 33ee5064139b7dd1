#include "toolkit/Platform.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>

// Everything that walks text assumes code page 932; a test run in any other
// setting would silently test the wrong thing.
TEST(Platform, RunsInCodePage932) { ASSERT_EQ(932u, GetACP()); }
#endif

TEST(Platform, LeadBytesOfCodePage932) {
  for (int c = 0; c < 256; ++c) {
    bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    EXPECT_EQ(lead, platform::IsLeadByte(static_cast<unsigned char>(c))) << c;
  }
  const char text[] = "a\x95\x5c" "b";
  EXPECT_EQ(text + 1, platform::NextChar(text));
  EXPECT_EQ(text + 3, platform::NextChar(text + 1));
  const char cut[] = "\x95";
  EXPECT_EQ(cut + 1, platform::NextChar(cut)) << "a lead byte before the NUL is one character";
}

TEST(Platform, CaseInsensitiveCompare) {
  EXPECT_TRUE(platform::EqualNoCaseN("PlayList]", "playlist", 8));
  EXPECT_FALSE(platform::EqualNoCaseN("playlisx", "playlist", 8));
  EXPECT_EQ(0, platform::CompareTextNoCase("Default", "DEFAULT"));
  EXPECT_NE(0, platform::CompareTextNoCase("Default", "Defaults"));
}

TEST(Platform, Utf8ToAnsiConvertsJapanese) {
  // 日本 in UTF-8 becomes its code page 932 bytes.
  const char utf8[] = "\xe6\x97\xa5\xe6\x9c\xac";
  int needed = platform::Utf8ToAnsi(utf8, nullptr, 0);
  ASSERT_EQ(5, needed);
  char out[8];
  ASSERT_EQ(5, platform::Utf8ToAnsi(utf8, out, sizeof out));
  EXPECT_EQ(std::string("\x93\xfa\x96\x7b"), out);
  EXPECT_EQ(0, platform::Utf8ToAnsi(utf8, out, 3)) << "never writes past the room it was given";
}

TEST(Platform, TicksAdvanceAcrossASleep) {
  std::uint32_t start = platform::TickCount();
  platform::SleepMs(100);
  // The tick count may move in steps of 15 or 16 ms.
  EXPECT_GE(platform::TickCount() - start, 80u);
}
