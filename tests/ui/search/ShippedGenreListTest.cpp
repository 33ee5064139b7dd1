// The genre list that ships beside the executable, read by the program's own
// loader: its groups, and entries the genre menu can show and search for.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/GenreList.h"

TEST(ShippedGenreList, LoadsIntoFlatGroupsOfLabelledSearches) {
  MemoryBlock list;
  LoadGenreList(list, VELMORIN_SOURCE_DIR "/src/resources/genre.txt");
  ASSERT_NE(nullptr, list.data);

  std::vector<std::string> groups;
  int depth = 0, entries = 0, separators = 0;
  std::uint32_t offset = 0;
  GenreRecord record;
  while (NextGenreRecord(list, offset, record)) {
    switch (record.code) {
      case kGenreGroupStart:
        EXPECT_EQ(0, depth) << "groups are not nested: " << record.text;
        groups.push_back(record.text);
        ++depth;
        break;
      case kGenreGroupEnd:
        EXPECT_EQ(1, depth);
        --depth;
        break;
      case kGenreSeparator:
        ++separators;
        break;
      case kGenreEntry: {
        ++entries;
        const char* bar = std::strchr(record.text, '|');
        ASSERT_NE(nullptr, bar) << record.text;
        EXPECT_LT(record.text, bar) << "a label before the bar: " << record.text;
        EXPECT_NE('\0', bar[1]) << "search words after the bar: " << record.text;
        break;
      }
      default:
        ADD_FAILURE() << "unexpected code " << record.code;
    }
  }
  EXPECT_EQ(0, depth) << "every group is closed";
  EXPECT_EQ(list.size - 1, offset) << "the walk ends on the end record";
  EXPECT_EQ(1, separators);
  EXPECT_GE(entries, 50);
  EXPECT_EQ((std::vector<std::string>{
                "\x83\x7c\x83\x62\x83\x76\x83\x58",                                          // ポップス
                "\x83\x8d\x83\x62\x83\x4e",                                                  // ロック
                "\x83\x5f\x83\x93\x83\x58\x81\x45\x83\x47\x83\x8c\x83\x4e\x83\x67\x83\x8d\x83\x6a\x83\x4a",  // ダンス・エレクトロニカ
                "\x83\x57\x83\x83\x83\x59\x81\x45\x83\x75\x83\x8b\x81\x5b\x83\x58",          // ジャズ・ブルース
                "\x83\x4e\x83\x89\x83\x56\x83\x62\x83\x4e",                                  // クラシック
                "\x83\x71\x83\x62\x83\x76\x83\x7a\x83\x62\x83\x76\x81\x45\x83\x8c\x83\x51\x83\x47",  // ヒップホップ・レゲエ
                "\x93\xfa\x96\x7b",                                                          // 日本
                "\x83\x8f\x81\x5b\x83\x8b\x83\x68",                                          // ワールド
                "\x83\x67\x81\x5b\x83\x4e\x81\x45\x83\x6a\x83\x85\x81\x5b\x83\x58",          // トーク・ニュース
            }),
            groups);
}
