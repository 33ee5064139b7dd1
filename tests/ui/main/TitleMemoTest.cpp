#include "ui/main/TitleMemo.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

TEST(TitleMemo, EveryTitleStaysOneLine) {
  TempDir dir;
  const std::string path = dir.File("memo.txt");
  EXPECT_TRUE(AppendToTitleMemo(path.c_str(), "First"));
  EXPECT_TRUE(AppendToTitleMemo(path.c_str(), "Artist\r\nSong"));
  EXPECT_TRUE(AppendToTitleMemo(path.c_str(), "\nBare\rbreaks\n\n"));
  /* 日本語\nの歌 */
  EXPECT_TRUE(AppendToTitleMemo(path.c_str(), "\x93\xfa\x96{\x8c\xea\n\x82\xcc\x89\xcc"));
  EXPECT_FALSE(AppendToTitleMemo(path.c_str(), "\r\n")) << "nothing left to note";
  EXPECT_EQ(std::string("First\r\nArtist Song\r\nBare breaks\r\n") + "\x93\xfa\x96{\x8c\xea \x82\xcc\x89\xcc\r\n",
            dir.Read("memo.txt"));
  EXPECT_FALSE(AppendToTitleMemo(dir.File("no such folder\\memo.txt").c_str(), "Song"));
}
