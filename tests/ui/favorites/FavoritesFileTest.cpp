#include "ui/favorites/FavoritesFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FavoriteRowText.h"
#include "support/TempDir.h"

namespace {

/* ジャズ局 */
const char kJazz[] = "\x83W\x83\x83\x83Y\x8b\xc7";
/* 東京ＦＭ (trail bytes in the ASCII range) */
const char kTokyo[] = "\x93\x8c\x8b\x9e\x82" "e\x82l";

std::string RowOf(const FavoritesDocument& document, int row) {
  PlaylistEntry entry;
  document.GetRow(row, entry);
  return RowText(entry);
}

void Load(FavoritesDocument& document, const std::string& text) {
  document.LoadText(text.data(), static_cast<std::uint32_t>(text.size()));
}

int RowCountOf(const std::string& text) {
  FavoritesDocument document;
  Load(document, text);
  return document.RowCount();
}

}  // namespace

TEST(FavoritesFile, SavesThePlsBytesAndLoadsEveryFieldBackWhole) {
  TempDir dir;
  std::string path = dir.File("favorite.pls");
  ASSERT_TRUE(SaveFavoritesFile(path.c_str(), FavoriteRows()));
  EXPECT_EQ("[playlist]\r\nnumberofentries=0\r\nVersion=2\r\n", dir.Read("favorite.pls"));
  FavoritesDocument empty;
  empty.LoadFile(path.c_str());
  EXPECT_EQ(0, empty.RowCount());

  FavoriteRows rows;
  rows.push_back(MakeRow("A", "B", "C", "D"));
  ASSERT_TRUE(SaveFavoritesFile(path.c_str(), rows));
  EXPECT_EQ(
      "[playlist]\r\nnumberofentries=1\r\nFile1=C\r\nTitle1=A\r\nInfo1=B\r\nHome1=D\r\nLength1=-1\r\nVersion=2\r\n",
      dir.Read("favorite.pls"));

  // Fields far past any buffer the list ever read through, Japanese text,
  // "=" signs and empty fields, in order.
  std::string longUrl = "http://127.0.0.1:8000/";
  while (longUrl.size() < 3000) longUrl += "stream/";
  std::string longName;
  while (longName.size() < 1200) longName += kJazz;
  rows.clear();
  rows.push_back(MakeRow(longName.c_str(), "MP3 128kbps", longUrl.c_str(), "http://jazz.example/?a=1&b=2"));
  rows.push_back(MakeRow("", "", "", ""));
  rows.push_back(MakeRow(kTokyo, "a=b=c", "=", ""));
  rows.push_back(MakeRow("[playlist]", "", "http://x/list.pls", ""));
  ASSERT_TRUE(SaveFavoritesFile(path.c_str(), rows));
  FavoritesDocument back;
  back.LoadFile(path.c_str());
  ASSERT_EQ(4, back.RowCount());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(RowText(rows[i]), RowOf(back, i)) << "row " << i;

  // A line break would start a line of its own (a key of another entry);
  // half a character at the end would take the line end for its second byte.
  rows.clear();
  rows.push_back(MakeRow("one\r\nFile2=http://evil/", "two\nlines", "http://a/\r", "home\x82"));
  rows.push_back(MakeRow("B", "", "http://b/", ""));
  ASSERT_TRUE(SaveFavoritesFile(path.c_str(), rows));
  back.LoadFile(path.c_str());
  ASSERT_EQ(2, back.RowCount());
  EXPECT_EQ("one  File2=http://evil/|two lines|http://a/ |home", RowOf(back, 0));
  EXPECT_EQ("B||http://b/|", RowOf(back, 1));
}

TEST(FavoritesFile, ReadsTheDeclaredRowsByTheKeyValueRules) {
  struct Case {
    const char* text;
    int rows;
  } counts[] = {
      {"[playlist]\r\nFile1=a\r\nTitle1=A\r\n", 0},                       // no count
      {"[playlist]\r\nnumberofentries=0\r\nFile1=a\r\n", 0},              // zero
      {"[playlist]\r\nnumberofentries=-2\r\nFile1=a\r\n", 0},             // negative
      {"[playlist]\r\nnumberofentries=two\r\nFile1=a\r\n", 0},            // not a number
      {"[playlist]\r\nnumberofentries=4000000000\r\nFile1=a\r\n", 0},     // wraps below zero
      {"numberofentries=1\r\nFile1=a\r\n", 0},                            // no section
      {"[playlist]\nNumberOfEntries= 1\nFile1=a\n", 1},                   // atoi skips the blank
      {"", 0},
  };
  for (const Case& c : counts) EXPECT_EQ(c.rows, RowCountOf(c.text)) << c.text;

  FavoritesDocument three;
  Load(three,
      "[playlist]\r\nnumberofentries=3\r\n"
      "File1=http://one/\r\nTitle1=One\r\nInfo1=MP3 64kbps\r\nHome1=http://one.example/\r\nLength1=-1\r\n"
      "File2=http://two/\r\nTitle2=Two\r\nInfo2=\r\nHome2=\r\nLength2=-1\r\nVersion=2\r\n");
  ASSERT_EQ(3, three.RowCount()) << "the count holds, not the entries present";
  EXPECT_EQ("One|MP3 64kbps|http://one/|http://one.example/", RowOf(three, 0));
  EXPECT_EQ("Two||http://two/|", RowOf(three, 1));
  EXPECT_EQ("|||", RowOf(three, 2));

  FavoritesDocument rules;
  Load(rules,
      "File1=before the section\r\n"
      "[PlayList] ; the rest of the header line is not read\r\n"
      "Home2=http://two.example/\r\n"   // before File1: the order is free
      "NUMBEROFENTRIES=5\r\n"
      "TITLE1=One = 1\r\n"              // further "=" signs belong to the value
      "file1=http://one/\r\n"
      "File1=second line of the key\r\n"
      "Info1 =blank before the sign\r\n"
      " Home1=blank before the key\r\n"
      "File10=http://ten/\r\n"          // not File1
      "File01=http://zero-one/\r\n"     // not File1 either
      "Title2=\r\n"                     // empty, but found: the later line does not count
      "Title2=Two\r\n"
      "[other\r\n"                      // any line that begins with "[" ends the section
      "File3=http://three/\r\n"
      "[playlist]\r\n"
      "File4=http://four/\r\n");
  ASSERT_EQ(5, rules.RowCount());
  EXPECT_EQ("One = 1||http://one/|", RowOf(rules, 0));
  EXPECT_EQ("|||http://two.example/", RowOf(rules, 1));
  EXPECT_EQ("|||", RowOf(rules, 2)) << "after the next section header";
  EXPECT_EQ("|||", RowOf(rules, 3)) << "a second [playlist] section is never read";
  EXPECT_EQ("|||", RowOf(rules, 4));
}

TEST(FavoritesFile, AHugeCountMakesNoMoreRowsThanTheSectionHasLines) {
  // 2147483647 rows would take the list gigabytes and start-up hours.
  FavoritesDocument huge;
  Load(huge,
      "[playlist]\r\nnumberofentries=2147483647\r\nFile1=http://one/\r\nTitle2=Two\r\n"
      "File99999999999999999999=http://overflow/\r\n\r\n\r\n[next]\r\na\r\nb\r\nc\r\n");
  EXPECT_EQ(4, huge.RowCount()) << "the four text lines of the section";
  EXPECT_EQ("||http://one/|", RowOf(huge, 0));
  EXPECT_EQ("Two|||", RowOf(huge, 1));
  EXPECT_EQ("|||", RowOf(huge, 3));
  EXPECT_EQ(1, RowCountOf("[playlist]\nnumberofentries=999999999"));
  EXPECT_EQ(0, FavoriteRowCount(-5, 10));
  EXPECT_EQ(7, FavoriteRowCount(7, 36));
  EXPECT_EQ(36, FavoriteRowCount(2147483647, 36));

  // A big real list is read whole, in one pass over its lines.
  FavoriteRows rows;
  TextString name;
  for (int i = 1; i <= 3000; ++i) {
    name.Format("Station %d", i);
    rows.push_back(MakeRow(name.CStr(), "MP3 128kbps", "http://127.0.0.1:8000/", ""));
  }
  TextString bytes;
  FormatFavorites(rows, bytes);
  FavoritesDocument big;
  big.LoadText(bytes.CStr(), static_cast<std::uint32_t>(bytes.Length()));
  ASSERT_EQ(3000, big.RowCount());
  EXPECT_STREQ("Station 3000", big.Field(2999, kFavoriteName));
  EXPECT_STREQ("Station 1234", big.Field(1233, kFavoriteName));
}

namespace {
bool FailingReplace(const char*, const char*) { return false; }
}  // namespace

TEST(FavoritesFile, AnInterruptedSaveLeavesTheOldFileWhole) {
  TempDir dir;
  std::string path = dir.File("favorite.pls");
  FavoriteRows rows;
  rows.push_back(MakeRow(kJazz, "MP3 128kbps", "http://jazz/", ""));
  ASSERT_TRUE(SaveFavoritesFile(path.c_str(), rows));
  std::string before = dir.Read("favorite.pls");

  rows.push_back(MakeRow("New", "", "http://new/", ""));
  EXPECT_FALSE(SaveFavoritesFile(path.c_str(), rows, &FailingReplace));
  EXPECT_EQ(before, dir.Read("favorite.pls"));
  EXPECT_EQ("", dir.Read("favorite.pls.tmp")) << "no temporary file is left behind";
  EXPECT_FALSE(SaveFavoritesFile(dir.File("missing/favorite.pls").c_str(), rows));

  FavoritesDocument kept;
  kept.LoadFile(path.c_str());
  ASSERT_EQ(1, kept.RowCount());
  EXPECT_STREQ(kJazz, kept.Field(0, kFavoriteName));
  kept.LoadFile(dir.File("no such file.pls").c_str());
  EXPECT_EQ(0, kept.RowCount());
}
