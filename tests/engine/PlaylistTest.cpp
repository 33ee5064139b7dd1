#include "engine/Playlist.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(Playlist, RecognisesPlaylistUrls) {
  EXPECT_TRUE(IsPlaylistUrl("http://host/tunein-station.pls?id=123"));
  EXPECT_TRUE(IsPlaylistUrl("http://host/list.PLS"));
  EXPECT_FALSE(IsPlaylistUrl("http://host/stream.mp3"));
  EXPECT_FALSE(IsPlaylistUrl("http://host:8000/"));
  EXPECT_FALSE(IsPlaylistUrl("10.0.0.5:8000")) << "the extension is 5:8000";
  EXPECT_FALSE(IsPlaylistUrl("http://host/x.plsx"));
  EXPECT_FALSE(IsPlaylistUrl("http://host/a?b.pls"));
  EXPECT_FALSE(IsPlaylistUrl(""));
}

TEST(Playlist, ReadsPlaylistAnswers) {
  std::string answer =
      "HTTP/1.0 200 OK\r\nContent-Type: audio/x-scpls\r\n\r\n"
      "[playlist]\r\nnumberofentries=6\r\n"
      "File1=http://a/1\r\nFile2=http://b/2\r\nFile3=http://c/3\r\n"
      "File4=http://d/4\r\nFile5=http://e/5\r\nFile6=http://f/6\r\nVersion=2\r\n";
  int body = FindPlaylistBody(answer.c_str(), static_cast<int>(answer.size()));
  ASSERT_GT(body, 0);
  PlaylistEntries entries;
  EXPECT_EQ(4, ReadPlaylist(answer.c_str() + body, static_cast<int>(answer.size()) - body, entries))
      << "at most File1 to File4";
  EXPECT_STREQ("http://d/4", entries.files[3].CStr());

  std::string notFound = "HTTP/1.0 404 Not Found\r\n\r\n[playlist]\r\nnumberofentries=1\r\nFile1=x\r\n";
  EXPECT_EQ(-1, FindPlaylistBody(notFound.c_str(), static_cast<int>(notFound.size())));
  EXPECT_EQ(-1, FindPlaylistBody("ICY 200 OK\r\n\r\nx", 15));
  EXPECT_EQ(-1, FindPlaylistBody("HTTP/1.0 200 OK", 15)) << "no empty line";
  EXPECT_EQ(-1, FindPlaylistBody("HTTP", 4));

  const char* none = "[playlist]\r\nFile1=http://a/1\r\n";
  EXPECT_EQ(kPlaylistNone, ReadPlaylist(none, static_cast<int>(std::strlen(none)), entries));
  const char* zero = "[playlist]\r\nnumberofentries=0\r\n";
  EXPECT_EQ(kPlaylistNone, ReadPlaylist(zero, static_cast<int>(std::strlen(zero)), entries));
  const char* firstEmpty = "[playlist]\r\nnumberofentries=2\r\nFile1=\r\nFile2=http://b/2\r\n";
  EXPECT_EQ(0, ReadPlaylist(firstEmpty, static_cast<int>(std::strlen(firstEmpty)), entries));
  EXPECT_EQ(kPlaylistUnreadable, ReadPlaylist("", 0, entries));
  const char* mixedCase = "[PlayList]\r\nNumberOfEntries=1\r\nfile1=http://a/1\r\n";
  EXPECT_EQ(1, ReadPlaylist(mixedCase, static_cast<int>(std::strlen(mixedCase)), entries));
}
