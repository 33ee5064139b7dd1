#include "toolkit/File.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/TempDir.h"
#include "toolkit/FileFinder.h"
#include "toolkit/TextString.h"

TEST(File, ReadLineSplitsOnCrLfOnly) {
  TempDir dir;
  dir.Write("a.txt", "abc\r\nde");
  File f;
  ASSERT_TRUE(f.OpenRead(dir.File("a.txt").c_str()));
  char buffer[16];
  EXPECT_EQ(5, f.ReadLine(buffer, 10, true));
  EXPECT_STREQ("abc", buffer);
  EXPECT_EQ(2, f.ReadLine(buffer, 10, true));
  EXPECT_STREQ("de", buffer);
  EXPECT_EQ(0, f.ReadLine(buffer, 10, true));

  File g;
  ASSERT_TRUE(g.OpenRead(dir.File("a.txt").c_str()));
  EXPECT_EQ(5, g.ReadLine(buffer, 10, false));
  EXPECT_STREQ("abc\r\n", buffer);
}

TEST(File, BlankLinesAndLongLinesAndBareLineFeeds) {
  TempDir dir;
  dir.Write("b.txt", "\r\nabcdef\r\nx\ny\nz");
  File f;
  ASSERT_TRUE(f.OpenRead(dir.File("b.txt").c_str()));
  char buffer[8];
  EXPECT_EQ(2, f.ReadLine(buffer, 4, true)) << "an empty line still counts its CR LF";
  EXPECT_STREQ("", buffer);
  EXPECT_EQ(4, f.ReadLine(buffer, 4, true));
  EXPECT_STREQ("abcd", buffer);
  EXPECT_EQ(4, f.ReadLine(buffer, 4, true));
  EXPECT_STREQ("ef", buffer);
  EXPECT_EQ(4, f.ReadLine(buffer, 4, true)) << "a bare LF is no line end";
  EXPECT_STREQ("x\ny\n", buffer);
  EXPECT_EQ(1, f.ReadLine(buffer, 4, true));
  EXPECT_STREQ("z", buffer);
}

TEST(File, CrAtTheCountLimitDoesNotPairWithTheNextLf) {
  TempDir dir;
  dir.Write("c.txt", "abc\r\nq");
  File f;
  ASSERT_TRUE(f.OpenRead(dir.File("c.txt").c_str()));
  char buffer[8];
  EXPECT_EQ(4, f.ReadLine(buffer, 4, true));
  EXPECT_STREQ("abc\r", buffer);
  EXPECT_EQ(2, f.ReadLine(buffer, 4, true));
  EXPECT_STREQ("\nq", buffer);
}

TEST(File, DoubleByteCharacterIsKeptWholeAtTheLimit) {
  TempDir dir;
  // 表 begins at position count - 1 and is completed past count.
  dir.Write("d.txt", std::string("abc\x95\x5c") + "d\r\n");
  File f;
  ASSERT_TRUE(f.OpenRead(dir.File("d.txt").c_str()));
  char buffer[4 + 2];
  EXPECT_EQ(5, f.ReadLine(buffer, 4, true));
  EXPECT_STREQ("abc\x95\x5c", buffer);
  // A lead byte with nothing behind it ends the file cleanly.
  dir.Write("e.txt", "ab\x95");
  File g;
  ASSERT_TRUE(g.OpenRead(dir.File("e.txt").c_str()));
  char small[12];
  EXPECT_EQ(3, g.ReadLine(small, 10, true));
  EXPECT_EQ(std::string("ab\x95"), small);
}

TEST(File, KeyLineWritersProduceExactBytes) {
  TempDir dir;
  {
    File f;
    ASSERT_TRUE(f.CreateWrite(dir.File("k.ini").c_str()));
    EXPECT_EQ(12, f.WriteText("[Korimba3]\r\n"));
    f.WriteKeyInt("Vol", 80);
    f.WriteKeyInt("WinX", -10000);
    f.WriteKeyText("LastURL", "");
    f.WriteKeyText("Skin", "blue");
  }
  EXPECT_EQ("[Korimba3]\r\nVol=80\r\nWinX=-10000\r\nLastURL=\r\nSkin=blue\r\n", dir.Read("k.ini"));
}

TEST(File, CreateWriteTruncatesAndOpenAppendCreatesAndAppends) {
  TempDir dir;
  dir.Write("m.txt", "old contents");
  {
    File f;
    ASSERT_TRUE(f.CreateWrite(dir.File("m.txt").c_str()));
  }
  EXPECT_EQ("", dir.Read("m.txt"));
  for (const char* title : {"first", "second"}) {
    File f;
    ASSERT_TRUE(f.OpenAppend(dir.File("memo.txt").c_str()));
    f.WriteText(title);
    f.WriteNewLine();
  }
  EXPECT_EQ("first\r\nsecond\r\n", dir.Read("memo.txt"));
  File r;
  ASSERT_TRUE(r.OpenRead(dir.File("memo.txt").c_str()));
  EXPECT_EQ(15u, r.Size());
  EXPECT_EQ(7u, r.Seek(7, 0));
  char word[7] = {};
  EXPECT_EQ(6, r.Read(word, 6));
  EXPECT_STREQ("second", word);
}

TEST(File, ClosedFileReportsNothing) {
  File f;
  EXPECT_EQ(0, f.Close());
  EXPECT_FALSE(f.OpenRead("no such directory/x"));
  char c;
  EXPECT_EQ(0, f.Read(&c, 1));
  EXPECT_EQ(0, f.Write("x", 1));
}

TEST(File, ReplacePutsTheNewFileInPlace) {
  TempDir dir;
  dir.Write("target", "old");
  dir.Write("source", "new");
  ASSERT_TRUE(File::Replace(dir.File("source").c_str(), dir.File("target").c_str()));
  EXPECT_EQ("new", dir.Read("target"));
  EXPECT_FALSE(File::Replace(dir.File("source").c_str(), dir.File("target").c_str()));
  EXPECT_EQ("new", dir.Read("target"));
  EXPECT_TRUE(File::Delete(dir.File("target").c_str()));
  EXPECT_FALSE(File::Delete(dir.File("target").c_str()));
}

namespace {

bool FailingReplace(const char*, const char*) { return false; }

std::set<std::string> Listing(const TempDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

}  // namespace

// A whole-file save keeps a file the user marked read-only as it is, is not
// stopped by a directory where its temporary file goes, and leaves nothing
// of its own behind when it fails.
TEST(File, SaveWholeKeepsReadOnlyFilesAndLeavesNoTemporaryFile) {
  namespace fs = std::filesystem;
  TempDir dir;
  const std::string path = dir.File("Korimba3.ini");
  dir.Write("Korimba3.ini", "old");
  ASSERT_TRUE(File::SaveWhole(path.c_str(), "new", 3));
  EXPECT_EQ("new", dir.Read("Korimba3.ini"));
  EXPECT_FALSE(File::IsReadOnly(path.c_str()));

  const fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(path, writable, fs::perm_options::remove);
  ASSERT_TRUE(File::IsReadOnly(path.c_str()));
  EXPECT_FALSE(File::SaveWhole(path.c_str(), "newer", 5));
  EXPECT_EQ("new", dir.Read("Korimba3.ini"));
  EXPECT_TRUE(File::IsReadOnly(path.c_str())) << "still marked read-only";
  EXPECT_EQ(std::set<std::string>{"Korimba3.ini"}, Listing(dir));
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);

  ASSERT_TRUE(fs::create_directory(path + ".tmp"));
  EXPECT_TRUE(File::SaveWhole(path.c_str(), "newest", 6)) << "another temporary name";
  EXPECT_EQ("newest", dir.Read("Korimba3.ini"));
  EXPECT_FALSE(File::SaveWhole(path.c_str(), "lost", 4, &FailingReplace));
  EXPECT_EQ("newest", dir.Read("Korimba3.ini"));
  EXPECT_EQ((std::set<std::string>{"Korimba3.ini", "Korimba3.ini.tmp"}), Listing(dir));
  EXPECT_FALSE(File::IsReadOnly((path + ".tmp").c_str())) << "a directory is no read-only file";
}

TEST(FileFinder, ListsMatchesAndTellsDirectories) {
  TempDir dir;
  dir.Write("blue.ini", "x");
  dir.Write("red.INI", "x");
  dir.Write("notes.txt", "x");
  ASSERT_TRUE(std::filesystem::create_directory(dir.File("folder.ini")));

  FileFinder finder;
  std::string pattern = dir.Path() + "\\*.ini";
  std::set<std::string> files, dirs;
  TextString name;
  for (bool more = finder.FindFirst(pattern.c_str()); more; more = finder.FindNext()) {
    finder.GetFileName(name);
    (finder.IsDirectory() ? dirs : files).insert(name.CStr());
  }
  EXPECT_EQ((std::set<std::string>{"blue.ini", "red.INI"}), files);
  EXPECT_EQ((std::set<std::string>{"folder.ini"}), dirs);
  EXPECT_EQ(1, finder.Close());
  EXPECT_EQ(0, finder.Close());

  std::string none = dir.Path() + "\\skin\\*.ini";
  EXPECT_FALSE(finder.FindFirst(none.c_str()));
  EXPECT_EQ(0, finder.Close());
}
