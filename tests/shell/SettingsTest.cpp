#include "shell/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TempDir.h"
#include "toolkit/File.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

const char kFreshFile[] =
    "[Korimba3]\r\n"
    "WinX=-10000\r\n"
    "WinY=-10000\r\n"
    "FavWinLeft=-10000\r\n"
    "FavWinTop=-10000\r\n"
    "FavWinRight=300\r\n"
    "FavWinBottom=300\r\n"
    "SearchWinLeft=-10000\r\n"
    "SearchWinTop=-10000\r\n"
    "SearchWinRight=300\r\n"
    "SearchWinBottom=300\r\n"
    "FavColW1=100\r\n"
    "FavColW2=100\r\n"
    "FavColW3=100\r\n"
    "FavColW4=100\r\n"
    "OptFlag=16\r\n"
    "Vol=100\r\n"
    "WheelAdd=10\r\n"
    "PlayBuf=1500\r\n"
    "TitleScroll=160\r\n"
    "TitleScrollAdd=4\r\n"
    "SearchCnt=50\r\n"
    "Skin=default\r\n"
    "LastURL=\r\n";

void ExpectDefaults(const Settings& s) {
  EXPECT_EQ(-10000, s.winX);
  EXPECT_EQ(-10000, s.winY);
  EXPECT_EQ(-10000, s.favWinLeft);
  EXPECT_EQ(-10000, s.favWinTop);
  EXPECT_EQ(300, s.favWinRight);
  EXPECT_EQ(300, s.favWinBottom);
  EXPECT_EQ(-10000, s.searchWinLeft);
  EXPECT_EQ(-10000, s.searchWinTop);
  EXPECT_EQ(300, s.searchWinRight);
  EXPECT_EQ(300, s.searchWinBottom);
  for (int w : s.favColW) EXPECT_EQ(100, w);
  EXPECT_EQ(0x10, s.optFlag);
  EXPECT_EQ(100, s.vol);
  EXPECT_EQ(10, s.wheelAdd);
  EXPECT_EQ(1500, s.playBuf);
  EXPECT_EQ(160, s.titleScroll);
  EXPECT_EQ(4, s.titleScrollAdd);
  EXPECT_EQ(50, s.searchCnt);
  EXPECT_STREQ("default", s.skin.CStr());
  EXPECT_STREQ("", s.lastURL.CStr());
}

// Every field set to something other than its default.
void FillDistinct(Settings& s) {
  s.winX = 12;
  s.winY = -34;
  s.favWinLeft = 1;
  s.favWinTop = 2;
  s.favWinRight = 3;
  s.favWinBottom = 4;
  s.searchWinLeft = 5;
  s.searchWinTop = 6;
  s.searchWinRight = 7;
  s.searchWinBottom = 8;
  s.favColW[0] = 81;
  s.favColW[1] = 82;
  s.favColW[2] = 83;
  s.favColW[3] = 84;
  s.optFlag = 0x7F;
  s.vol = 42;
  s.wheelAdd = 7;
  s.playBuf = 3000;
  s.titleScroll = 99;
  s.titleScrollAdd = 3;
  s.searchCnt = 200;
  s.skin.Assign("my.dark");
  // The bar stores whatever URL played; cp932 bytes pass unchanged.
  s.lastURL.Assign("http://example.test:8000/\x95\x5c?a=b");
}

int CountFiles(const std::string& directory) {
  int n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    (void)entry;
    ++n;
  }
  return n;
}

}  // namespace

TEST(Settings, MissingFileOrSectionGivesDefaults) {
  TempDir dir;
  Settings s;
  FillDistinct(s);
  LoadSettings(s, dir.File("Korimba3.ini").c_str());
  ExpectDefaults(s);

  dir.Write("other.ini", "[Other]\r\nVol=5\r\nSkin=blue\r\n");
  FillDistinct(s);
  LoadSettings(s, dir.File("other.ini").c_str());
  ExpectDefaults(s);

  dir.Write("empty.ini", "");
  LoadSettings(s, dir.File("empty.ini").c_str());
  ExpectDefaults(s);
}

TEST(Settings, FreshFileHasTheExactBytes) {
  TempDir dir;
  Settings s;
  ASSERT_TRUE(SaveSettings(s, dir.File("Korimba3.ini").c_str()));
  std::string bytes = dir.Read("Korimba3.ini");
  EXPECT_EQ(kFreshFile, bytes);
  int lines = 0;
  for (size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2)) ++lines;
  EXPECT_EQ(24, lines);
}

TEST(Settings, WrittenValuesReadBackAndSavingTwiceGivesTheSameBytes) {
  TempDir dir;
  std::string path = dir.File("Korimba3.ini");
  Settings written;
  FillDistinct(written);
  ASSERT_TRUE(SaveSettings(written, path.c_str()));
  std::string first = dir.Read("Korimba3.ini");
  EXPECT_NE(std::string::npos, first.find("\r\nFavColW3=83\r\nFavColW4=84\r\nOptFlag=127\r\n"));
  EXPECT_NE(std::string::npos, first.find("\r\nLastURL=http://example.test:8000/\x95\x5c?a=b\r\n"));

  Settings read;
  LoadSettings(read, path.c_str());
  TextString formattedWritten, formattedRead;
  FormatSettings(written, formattedWritten);
  FormatSettings(read, formattedRead);
  EXPECT_STREQ(formattedWritten.CStr(), formattedRead.CStr());

  ASSERT_TRUE(SaveSettings(read, path.c_str()));
  EXPECT_EQ(first, dir.Read("Korimba3.ini"));
  EXPECT_EQ(1, CountFiles(dir.Path())) << "no temporary file is left behind";
}

TEST(Settings, ReaderRules) {
  TempDir dir;
  dir.Write("k.ini",
            "; hand-edited\r\n"
            "[KORIMBA3]\r\n"
            "vol=abc\r\n"
            "FavColW1=0\r\n"
            "FavColW2=2\r\n"
            "FavColW3=1\r\n"
            "FavColW4=-7\r\n"
            "WheelAdd=500\r\n"
            "PlayBuf=1700\r\n"
            "TitleScroll= 25\r\n"
            "skin=Blue\r\n");
  Settings s;
  LoadSettings(s, dir.File("k.ini").c_str());
  EXPECT_EQ(0, s.vol) << "not a number reads as 0";
  EXPECT_EQ(100, s.favColW[0]);
  EXPECT_EQ(2, s.favColW[1]);
  EXPECT_EQ(100, s.favColW[2]);
  EXPECT_EQ(100, s.favColW[3]);
  EXPECT_EQ(500, s.wheelAdd) << "values are not clamped on reading";
  EXPECT_EQ(1700, s.playBuf);
  EXPECT_EQ(25, s.titleScroll);
  EXPECT_STREQ("Blue", s.skin.CStr());
  EXPECT_EQ(0x10, s.optFlag) << "a missing key keeps its default";
  EXPECT_STREQ("", s.lastURL.CStr());
}

TEST(Settings, LineBreaksInTextValuesCannotAddLines) {
  TempDir dir;
  Settings s;
  s.lastURL.Assign("http://a.test/\r\n[Korimba3]\r\nVol=0");
  s.skin.Assign("blue\nx");
  ASSERT_TRUE(SaveSettings(s, dir.File("k.ini").c_str()));
  std::string bytes = dir.Read("k.ini");
  EXPECT_EQ(std::string::npos, bytes.find("Vol=0"));
  EXPECT_NE(std::string::npos, bytes.find("\r\nSkin=blue\r\nLastURL=http://a.test/\r\n"));
  Settings read;
  LoadSettings(read, dir.File("k.ini").c_str());
  EXPECT_EQ(100, read.vol);
  EXPECT_STREQ("blue", read.skin.CStr());

  // A lead byte left alone at the end would take the line end for its
  // second byte when the file is read.
  s.skin.Assign("\x95\x5c" "n\x8a");
  s.lastURL.Assign("http://a.test/\x8a\r\nrest");
  ASSERT_TRUE(SaveSettings(s, dir.File("k.ini").c_str()));
  EXPECT_NE(std::string::npos, dir.Read("k.ini").find("\r\nSkin=\x95\x5c" "n\r\nLastURL=http://a.test/\r\n"));
  LoadSettings(read, dir.File("k.ini").c_str());
  EXPECT_STREQ("\x95\x5c" "n", read.skin.CStr());
  EXPECT_STREQ("http://a.test/", read.lastURL.CStr());
}

TEST(Settings, TheLastUrlEndsAtALineBreakTheReaderKeeps) {
  // The reader steps over a double-byte character whole, so a CR behind a
  // lead byte stays inside the value: the URL still ends there.
  TempDir dir;
  dir.Write("k.ini", "[Korimba3]\r\nLastURL=http://a.test/\x8a\rHost: b.test\r\nVol=40\r\n");
  Settings s;
  LoadSettings(s, dir.File("k.ini").c_str());
  EXPECT_STREQ("http://a.test/\x8a", s.lastURL.CStr());
  EXPECT_EQ(40, s.vol);
}

namespace {
bool FailingReplace(const char*, const char*) { return false; }
}  // namespace

TEST(Settings, FailedSaveLeavesThePreviousFileWhole) {
  TempDir dir;
  std::string path = dir.File("Korimba3.ini");
  const std::string previous = std::string(kFreshFile) + "; a longer tail that must survive\r\n";
  dir.Write("Korimba3.ini", previous);

  Settings s;
  FillDistinct(s);
  EXPECT_FALSE(SaveSettings(s, path.c_str(), &FailingReplace));
  EXPECT_EQ(previous, dir.Read("Korimba3.ini"));
  EXPECT_EQ(1, CountFiles(dir.Path())) << "the temporary file is removed";

  // A directory that does not exist: nothing can be created, nothing changes.
  EXPECT_FALSE(SaveSettings(s, dir.File("missing/Korimba3.ini").c_str()));
  EXPECT_EQ(1, CountFiles(dir.Path()));

  // A successful save replaces the whole file, tail included.
  ASSERT_TRUE(SaveSettings(Settings(), path.c_str()));
  EXPECT_EQ(kFreshFile, dir.Read("Korimba3.ini"));
}

#ifdef _WIN32
TEST(Settings, FileHeldOpenByAnotherProgramStaysWhole) {
  TempDir dir;
  std::string path = dir.File("Korimba3.ini");
  dir.Write("Korimba3.ini", kFreshFile);
  // An editor or a virus scanner holding the file without delete sharing
  // makes the replace fail; the open file is left as it was.
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  Settings s;
  FillDistinct(s);
  EXPECT_FALSE(SaveSettings(s, path.c_str()));
  CloseHandle(held);
  EXPECT_EQ(kFreshFile, dir.Read("Korimba3.ini"));
  EXPECT_EQ(1, CountFiles(dir.Path()));
}
#endif
