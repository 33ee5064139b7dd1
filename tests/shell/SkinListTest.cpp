#include "shell/SkinList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/TempDir.h"

namespace {
std::string Bytes(const ByteBuffer& list) {
  return std::string(reinterpret_cast<const char*>(list.data), list.length);
}
}  // namespace

TEST(SkinList, PacksLengthPrefixedNamesEndedByZero) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("skin"));
  dir.Write("skin/blue.ini", "[skin]\r\n");
  ByteBuffer list;
  BuildSkinList(list, dir.Path().c_str());
  EXPECT_EQ(std::string("\x05\x00" "blue\x00" "\x00\x00", 9), Bytes(list));
  EXPECT_EQ(1, SkinListCount(list));
  EXPECT_STREQ("blue", SkinListName(list, 0));
  EXPECT_EQ(nullptr, SkinListName(list, 1));
  EXPECT_EQ(nullptr, SkinListName(list, -1));
}

TEST(SkinList, NamesAreCutAtTheLastDotAndDirectoriesAreSkipped) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("skin/x.ini"));
  dir.Write("skin/my.dark.ini", "");
  dir.Write("skin/notes.txt", "");
  dir.Write("skin/blue.bmp", "");
  ByteBuffer list;
  BuildSkinList(list, dir.Path().c_str());
  ASSERT_EQ(1, SkinListCount(list));
  EXPECT_STREQ("my.dark", SkinListName(list, 0));
}

TEST(SkinList, SixtySkinsGiveFifty) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("skin"));
  std::set<std::string> made;
  for (int i = 0; i < 60; ++i) {
    std::string name = "s" + std::to_string(i);
    dir.Write("skin/" + name + ".ini", "");
    made.insert(name);
  }
  ByteBuffer list;
  BuildSkinList(list, dir.Path().c_str());
  ASSERT_EQ(50, SkinListCount(list));
  std::set<std::string> listed;
  for (int i = 0; i < 50; ++i) {
    const char* name = SkinListName(list, i);
    ASSERT_NE(nullptr, name);
    EXPECT_EQ(1u, made.count(name)) << name;
    listed.insert(name);
  }
  EXPECT_EQ(50u, listed.size()) << "no name twice";
  // The end record follows the fiftieth name directly.
  ASSERT_GE(list.length, 2u);
  EXPECT_EQ(0, list.data[list.length - 1]);
  EXPECT_EQ(0, list.data[list.length - 2]);
}

TEST(SkinList, WithoutSkinsTheListHoldsTheEndRecordAlone) {
  TempDir dir;
  ByteBuffer list;
  BuildSkinList(list, dir.Path().c_str());
  EXPECT_EQ(std::string("\x00\x00", 2), Bytes(list));
  EXPECT_EQ(0, SkinListCount(list));

  ByteBuffer none;
  EXPECT_EQ(0, SkinListCount(none));
  EXPECT_EQ(nullptr, SkinListName(none, 0));
}

TEST(SkinList, WalkStopsAtRecordsThatDoNotFit) {
  ByteBuffer list;
  ASSERT_TRUE(list.Init(16, 16));
  const char bytes[] = "\x03\x00" "ab\x00" "\x09\x00" "cd\x00";
  ASSERT_TRUE(list.Append(bytes, sizeof bytes - 1));
  EXPECT_EQ(1, SkinListCount(list));
  EXPECT_STREQ("ab", SkinListName(list, 0));
  EXPECT_EQ(nullptr, SkinListName(list, 1));
}
