#include "shell/GenreList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace {

std::string Load(const TempDir& dir, const std::string& text) {
  dir.Write("genre.txt", text);
  MemoryBlock list;
  LoadGenreList(list, dir.File("genre.txt").c_str());
  if (!list.data) return "<no data>";
  return std::string(static_cast<const char*>(list.data), list.size);
}

}  // namespace

TEST(GenreList, SixLineExamplePacksExactly) {
  TempDir dir;
  std::string packed = Load(dir, "<Rock\r\nHard Rock|hardrock\r\n-\r\nMetal\r\n>\r\nJazz\r\n");
  EXPECT_EQ(std::string("\x02Rock\x00"
                        "\x00Hard Rock|hardrock\x00"
                        "\x01"
                        "\x00Metal\x00"
                        "\x03"
                        "\x00Jazz\x00"
                        "\x64",
                        42),
            packed);
}

TEST(GenreList, BlankLinesVanishAndTheRestOfMarkerLinesIsIgnored) {
  TempDir dir;
  EXPECT_EQ(std::string("\x01\x03\x00Pop\x00\x64", 8), Load(dir, "\r\n-----\r\n\r\n>ignored\r\n\r\nPop\r\n\r\n"));
  EXPECT_EQ(std::string("\x02\x00\x64", 3), Load(dir, "<\r\n")) << "a group without a title";
  EXPECT_EQ(std::string("\x64", 1), Load(dir, "")) << "an empty file is an empty menu";
}

TEST(GenreList, LastLineWithoutLineEndIsTaken) {
  TempDir dir;
  EXPECT_EQ(std::string("\x00" "a\x00" "\x00" "Jazz\x00" "\x64", 10), Load(dir, "a\r\nJazz"));
}

TEST(GenreList, BareLineFeedsRunIntoChunksOf511Bytes) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 200; ++i) text += "Pop\n";  // 800 bytes
  std::string packed = Load(dir, text);
  std::string expected;
  expected += '\0';
  expected += text.substr(0, 511);
  expected += '\0';
  expected += '\0';
  expected += text.substr(511);
  expected += '\0';
  expected += '\x64';
  EXPECT_EQ(expected, packed);
}

TEST(GenreList, LongLinesAreSplitWithoutBreakingDoubleByteCharacters) {
  TempDir dir;
  // 510 ASCII bytes, then 表 (0x95 0x5C) straddling the 511-byte cut.
  std::string line = std::string(510, 'g') + "\x95\x5c" + "tail";
  std::string packed = Load(dir, line + "\r\n");
  std::string expected;
  expected += '\0';
  expected += line.substr(0, 512);
  expected += '\0';
  expected += '\0';
  expected += "tail";
  expected += '\0';
  expected += '\x64';
  EXPECT_EQ(expected, packed);
}

TEST(GenreList, MissingFileLeavesNoData) {
  TempDir dir;
  MemoryBlock list;
  ASSERT_NE(nullptr, list.Allocate(4, true));
  LoadGenreList(list, dir.File("genre.txt").c_str());
  EXPECT_EQ(nullptr, list.data);
  EXPECT_EQ(0u, list.size);
  std::uint32_t offset = 0;
  GenreRecord record;
  EXPECT_FALSE(NextGenreRecord(list, offset, record));
}

TEST(GenreList, WalkReadsEveryRecordAndStopsAtTheEnd) {
  TempDir dir;
  dir.Write("genre.txt", "<Rock\r\nHard Rock|hardrock\r\n-\r\n>\r\n");
  MemoryBlock list;
  LoadGenreList(list, dir.File("genre.txt").c_str());
  std::vector<std::pair<int, std::string>> records;
  std::uint32_t offset = 0;
  GenreRecord record;
  while (NextGenreRecord(list, offset, record)) records.emplace_back(record.code, record.text);
  ASSERT_EQ(4u, records.size());
  EXPECT_EQ(std::make_pair(int{kGenreGroupStart}, std::string("Rock")), records[0]);
  EXPECT_EQ(std::make_pair(int{kGenreEntry}, std::string("Hard Rock|hardrock")), records[1]);
  EXPECT_EQ(std::make_pair(int{kGenreSeparator}, std::string()), records[2]);
  EXPECT_EQ(std::make_pair(int{kGenreGroupEnd}, std::string()), records[3]);
  EXPECT_EQ(list.size - 1, offset) << "the walk stops on the end record";
}

TEST(GenreList, WalkNeverLeavesATruncatedBlock) {
  MemoryBlock list;
  ASSERT_NE(nullptr, list.Allocate(4, false));
  std::memcpy(list.data, "\x02" "abc", 4);  // a title without its NUL
  std::uint32_t offset = 0;
  GenreRecord record;
  EXPECT_FALSE(NextGenreRecord(list, offset, record));
  std::memcpy(list.data, "\x01\x07\x03\x02", 4);  // an unknown code, then a title without its NUL
  EXPECT_TRUE(NextGenreRecord(list, offset, record));
  EXPECT_EQ(kGenreSeparator, record.code);
  EXPECT_TRUE(NextGenreRecord(list, offset, record));
  EXPECT_EQ(kGenreGroupEnd, record.code) << "the unknown byte is stepped over";
  EXPECT_FALSE(NextGenreRecord(list, offset, record));
}
