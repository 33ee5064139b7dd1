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

namespace {

PlaylistEntry Entry(const char* title, const char* info, const char* file, const char* home) {
  PlaylistEntry entry;
  entry.title.Assign(title);
  entry.info.Assign(info);
  entry.file.Assign(file);
  entry.home.Assign(home);
  return entry;
}

std::string Fields(const PlaylistEntry& e) {
  return std::string(e.title.CStr()) + "|" + e.info.CStr() + "|" + e.file.CStr() + "|" + e.home.CStr();
}

}  // namespace

TEST(Playlist, WritesTheFavoritesFileByteForByte) {
  TextString out;
  PlaylistWriter empty(out, 0);
  empty.Finish();
  EXPECT_STREQ("[playlist]\r\nnumberofentries=0\r\nVersion=2\r\n", out.CStr());

  PlaylistWriter one(out, 1);
  one.Add(Entry("A", "B", "C", "D"));
  one.Finish();
  EXPECT_STREQ(
      "[playlist]\r\nnumberofentries=1\r\n"
      "File1=C\r\nTitle1=A\r\nInfo1=B\r\nHome1=D\r\nLength1=-1\r\n"
      "Version=2\r\n",
      out.CStr());

  // Japanese text, "=" signs and empty fields come back as they went.
  /* 日本語の局 */
  const char* japanese = "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x8b\xc7";
  PlaylistEntry rows[] = {Entry(japanese, "MP3 128kbps", "http://a:8000/", "http://a/?x=1&y=2"),
                          Entry("", "", "", ""), Entry("a=b", "=", "http://c/list.pls", "")};
  PlaylistWriter three(out, 3);
  for (const PlaylistEntry& row : rows) three.Add(row);
  three.Finish();
  EXPECT_NE(nullptr, std::strstr(out.CStr(), "File2=\r\nTitle2=\r\nInfo2=\r\nHome2=\r\nLength2=-1\r\n"));
  PlaylistDocument back;
  ASSERT_TRUE(back.LoadText(out.CStr(), static_cast<std::uint32_t>(out.Length())));
  ASSERT_EQ(3, back.EntryCount());
  PlaylistEntry entry;
  for (int k = 1; k <= 3; ++k) {
    back.GetEntry(k, entry);
    EXPECT_EQ(Fields(rows[k - 1]), Fields(entry)) << "entry " << k;
  }
}

TEST(Playlist, ReadsEntriesByTheKeyValueRules) {
  // A tune-in answer: the status line and headers stand before the section.
  const char* text =
      "HTTP/1.0 200 OK\r\nFile1=header\r\n\r\n"
      "[PlayList]\r\n"
      "Home2=http://two/\r\n"
      "NUMBEROFENTRIES=4\r\n"
      "file1=http://one/\r\n"
      "File10=http://ten/\r\n"
      "TITLE1=One = 1\r\n"
      "Info1 =blank before the sign\r\n"
      " Home1=blank before the key\r\n"
      "File1=second line of the key\r\n"
      "[other]\r\n"
      "File3=http://three/\r\n"
      "[playlist]\r\n"
      "File4=http://four/\r\n";
  PlaylistDocument document;
  ASSERT_TRUE(document.LoadText(text, static_cast<std::uint32_t>(std::strlen(text))));
  EXPECT_EQ(4, document.EntryCount());
  PlaylistEntry entry;
  document.GetEntry(1, entry);
  EXPECT_EQ("One = 1||http://one/|", Fields(entry));
  document.GetEntry(2, entry);
  EXPECT_EQ("|||http://two/", Fields(entry)) << "the order of the keys is free";
  document.GetEntry(3, entry);
  EXPECT_EQ("|||", Fields(entry)) << "after the next section header";
  document.GetEntry(4, entry);
  EXPECT_EQ("|||", Fields(entry)) << "a second [playlist] section is never read";
  TextString url;
  document.GetFile(1, url);
  EXPECT_STREQ("http://one/", url.CStr());

  PlaylistDocument none;
  const char* noSection = "numberofentries=1\r\nFile1=http://one/\r\n";
  none.LoadText(noSection, static_cast<std::uint32_t>(std::strlen(noSection)));
  EXPECT_EQ(0, none.EntryCount());
  none.GetFile(1, url);
  EXPECT_STREQ("", url.CStr());
  EXPECT_FALSE(none.LoadFile("no such favorites file.pls"));
  EXPECT_EQ(0, none.EntryCount());
}
