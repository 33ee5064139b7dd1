// The genre menu as read from the packed list: what each menu holds, the
// command of each item, the words each item searches for.
#include "ui/search/GenreMenu.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A packed list from its records: "<title", ">", "-", an entry's text, or
// "\x07" for a byte that is no code.
void Pack(MemoryBlock& list, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    if (line[0] == '<') {
      bytes += '\x02';
      bytes += line.substr(1);
      bytes += '\0';
    } else if (line == ">") {
      bytes += '\x03';
    } else if (line == "-") {
      bytes += '\x01';
    } else if (line == "\x07") {
      bytes += line;
    } else {
      bytes += '\0';
      bytes += line;
      bytes += '\0';
    }
  }
  bytes += '\x64';
  ASSERT_NE(nullptr, list.Allocate(static_cast<std::uint32_t>(bytes.size()), false));
  std::memcpy(list.data, bytes.data(), bytes.size());
}

// Writes down the menu: "open T", "item L 10000", "sep", "close".
struct Recorder final : GenreMenuSink {
  std::vector<std::string> steps;
  void AddItem(const char* label, int command) override {
    steps.push_back("item " + std::string(label) + " " + std::to_string(command));
  }
  void AddSeparator() override { steps.push_back("sep"); }
  void OpenSubmenu(const char* label) override { steps.push_back("open " + std::string(label)); }
  void CloseSubmenu() override { steps.push_back("close"); }
};

std::vector<std::string> Read(const std::vector<std::string>& lines) {
  MemoryBlock list;
  Pack(list, lines);
  Recorder r;
  EXPECT_TRUE(ReadGenreMenu(list, r));
  return r.steps;
}

std::string Words(const std::vector<std::string>& lines, int n) {
  MemoryBlock list;
  Pack(list, lines);
  TextString words;
  return GenreSearchWords(list, n, words) ? words.CStr() : "(none)";
}

}  // namespace

TEST(GenreMenu, GroupsInsideGroupsAddTheirItemsToTheOuterSubmenu) {
  EXPECT_EQ((std::vector<std::string>{"item Top 10000", "open Rock", "item Hard Rock 10001", "sep",
                                      "item Metal 10002", "item Doom 10003", "item Sludge 10004", "close",
                                      "item Jazz 10005"}),
            Read({"Top|top", "<Rock", "Hard Rock|hardrock", "-", "\x07", "Metal", "<Heavy", "Doom|doom",
                  ">", "Sludge", ">", "Jazz|jazz"}))
      << "an unknown byte is skipped; the inner group shows no label of its own";
}

TEST(GenreMenu, AmpersandsShowAsTheyAreWritten) {
  EXPECT_EQ((std::vector<std::string>{"open R&&B", "item R&&B 10000", "item A && B && C 10001", "close"}),
            Read({"<R&B", "R&B|r&b", "A & B & C", ">"}));
  EXPECT_EQ("r&b", Words({"<R&B", "R&B|r&b"}, 0)) << "the words keep their one ampersand";
}

TEST(GenreMenu, UnbalancedGroupsKeepEveryItem) {
  EXPECT_EQ((std::vector<std::string>{"item A 10000", "item B 10001", "item C 10002", "item E 10003"}),
            Read({">", "A", "<X", "B", ">", "C", "<D", "E"}))
      << "after an end without a start, groups open no submenu: their items stay in the root";
  EXPECT_EQ((std::vector<std::string>{"open D", "item E 10000"}), Read({"<D", "E"})) << "an unclosed group";
}

TEST(GenreMenu, ItemsPastTheThousandthAreListedWithoutACommand) {
  std::vector<std::string> lines(1002, "g");
  std::vector<std::string> steps = Read(lines);
  ASSERT_EQ(1002u, steps.size());
  EXPECT_EQ("item g 10999", steps[999]);
  EXPECT_EQ("item g 11000", steps[1000]);
  EXPECT_EQ("item g 11000", steps[1001]);
}

TEST(GenreMenu, EachItemSearchesForTheWordsAfterItsFirstBar) {
  const std::vector<std::string> lines = {"<Rock", "Hard Rock|hard rock", "-", "Metal", ">", "Jazz|smooth|jazz",
                                          "Empty|"};
  EXPECT_EQ("hard rock", Words(lines, 0));
  EXPECT_EQ("Metal", Words(lines, 1)) << "without a bar the whole text";
  EXPECT_EQ("smooth|jazz", Words(lines, 2)) << "after the first bar only";
  EXPECT_EQ("", Words(lines, 3));
  EXPECT_EQ("(none)", Words(lines, 4));
  EXPECT_EQ("(none)", Words(lines, -1));

  MemoryBlock none;
  Recorder r;
  EXPECT_FALSE(ReadGenreMenu(none, r)) << "no genre list, no menu";
  TextString words;
  EXPECT_FALSE(GenreSearchWords(none, 0, words));
}
