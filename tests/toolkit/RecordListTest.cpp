#include "toolkit/RecordList.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
Record* Add(RecordList& list, std::uint16_t key, const char* text) {
  std::uint32_t size = 2 + static_cast<std::uint32_t>(std::strlen(text)) + 1;
  Record* r = list.AddRecord(size);
  std::memcpy(r->Payload(), &key, 2);
  std::memcpy(r->Payload() + 2, text, size - 2);
  return r;
}
const char* Text(Record* r) { return reinterpret_cast<const char*>(r->Payload() + 2); }
}  // namespace

TEST(RecordList, FindByKeyOnEmptyListIsNull) {
  RecordList list;
  EXPECT_EQ(nullptr, list.FindByKey(0));
  EXPECT_TRUE(list.IsEmpty());
}

TEST(RecordList, FirstRecordWithTheKeyWins) {
  RecordList list;
  Add(list, 1, "one");
  Add(list, 2, "two");
  Add(list, 1, "uno");
  EXPECT_STREQ("one", Text(list.FindByKey(1)));
  EXPECT_STREQ("two", Text(list.FindByKey(2)));
  EXPECT_EQ(nullptr, list.FindByKey(3));
  EXPECT_STREQ("uno", Text(list.last));
}

TEST(RecordList, RecordsTooShortForAKeyAreSearchedSafely) {
  RecordList list;
  list.AddRecord(0);
  list.AddRecord(1)->Payload()[0] = 0x7F;
  Add(list, 9, "nine");
  // The short records read as key 0 (the sanitizer build sees any over-read).
  EXPECT_EQ(list.first, list.FindByKey(0));
  EXPECT_STREQ("nine", Text(list.FindByKey(9)));
}

TEST(RecordList, RemoveRelinksNeighboursAndEnds) {
  RecordList list;
  Record* a = Add(list, 1, "a");
  Record* b = Add(list, 2, "b");
  Record* c = Add(list, 3, "c");
  list.RemoveRecord(b);
  EXPECT_EQ(c, a->next);
  EXPECT_EQ(a, c->prev);
  list.RemoveRecord(a);
  EXPECT_EQ(c, list.first);
  EXPECT_EQ(nullptr, c->prev);
  list.RemoveRecord(c);
  EXPECT_EQ(nullptr, list.first);
  EXPECT_EQ(nullptr, list.last);
}

TEST(RecordList, ClearEmptiesTheList) {
  RecordList list;
  for (int i = 0; i < 10; ++i) Add(list, static_cast<std::uint16_t>(i), "x");
  list.Clear();
  EXPECT_EQ(nullptr, list.first);
  EXPECT_EQ(nullptr, list.last);
  Add(list, 5, "again");
  EXPECT_STREQ("again", Text(list.FindByKey(5)));
}
