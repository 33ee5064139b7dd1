// The result list's query and paging state, without a window: the URLs it
// asks for and the rows it offers after each answer.
#include "ui/search/SearchResults.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/search/DirectoryHosts.h"
#include "ui/search/StationRecord.h"

namespace {

const std::string kPrefix = std::string("http://") + kDirectoryHost + "/search-ajax/";
const std::string kFixed = "?order=desc&mode=listenershead2&ajax=true";

std::string Url(const char* words, int start = 0, int count = 50, bool mp3Only = false) {
  TextString url;
  BuildQueryUrl(words, start, count, mp3Only, url);
  return url.CStr();
}

// An answer of n complete station blocks.
void Answer(ByteBuffer& answer, int n) {
  std::string page = "HTTP/1.1 200 OK\r\n\r\n";
  for (int i = 0; i < n; ++i) {
    page += "<a href=\"/sbin/tunein-station.pls?id=" + std::to_string(100 + i) +
            "\"></a><a class=\"clickabletitle\" title=\"S\">S</a>"
            "<div>Tags: <a href=\"/g\">Pop</a></div><div>Site: <a href=\"\"></a></div>"
            "<div class=\"dirlistners\">1</div><div class=\"dirbitrate\">128</div><div class=\"dirtype\">MP3</div>";
  }
  ASSERT_TRUE(answer.Init(kAnswerInitialBytes, kAnswerGrowthBytes));
  ASSERT_TRUE(answer.Append(page.data(), static_cast<std::uint32_t>(page.size())));
  ASSERT_TRUE(answer.AppendByte(0));
}

// Runs one query as the window does, with the fetch answered by n stations.
std::string Query(SearchResults& results, const char* words, QueryKind kind, int n, int searchCount = 50) {
  TextString url;
  int start = results.PrepareQuery(words, kind, searchCount, true, url);
  ByteBuffer answer;
  Answer(answer, n);
  EXPECT_TRUE(results.TakeAnswer(answer, start, searchCount));
  EXPECT_EQ(nullptr, answer.data) << "the answer is released once copied";
  return url.CStr();
}

int FirstOrdinal(const SearchResults& r) {
  return r.records.first ? ReadStationNumber(r.records.first, kStationOrdinal) : -1;
}

}  // namespace

TEST(DirectoryQuery, EscapesOnlyBlanksAndAmpersands) {
  EXPECT_EQ(kPrefix + "top" + kFixed + "&count=50&strIndex=0", Url(""));
  EXPECT_EQ(kPrefix + "rock%20%26%20roll" + kFixed + "&count=30&strIndex=60&filter=mp3",
            Url("rock & roll", 60, 30, true));
  EXPECT_EQ(kPrefix + "a%20%20b%c/d+e" + kFixed + "&count=50&strIndex=0", Url("a  b%c/d+e"))
      << "a percent sign, a slash and a plus go out as typed";
  // 表 ends in the byte 0x5C and ア in 0x41: Japanese bytes go out unchanged.
  EXPECT_EQ(kPrefix + "\x95\x5c%20\x83\x41" + kFixed + "&count=50&strIndex=0", Url("\x95\x5c \x83\x41"));
  EXPECT_EQ(kPrefix + "jazz?x" + kFixed + "&count=50&strIndex=0", Url("jazz?x"));
}

TEST(DirectoryQuery, StartIndexOfEachKind) {
  EXPECT_EQ(0, QueryStartIndex(kNewSearch, 100, 50, 50));
  EXPECT_EQ(50, QueryStartIndex(kNextPage, 0, 50, 50));
  EXPECT_EQ(37, QueryStartIndex(kNextPage, 30, 7, 50)) << "a short page continues after its last station";
  EXPECT_EQ(0, QueryStartIndex(kPreviousPage, 50, 50, 50));
  EXPECT_EQ(0, QueryStartIndex(kPreviousPage, 30, 50, 50)) << "never below 0";
  EXPECT_EQ(70, QueryStartIndex(kPreviousPage, 120, 13, 50));
  EXPECT_EQ(INT32_MAX, QueryStartIndex(kNextPage, INT32_MAX - 5, 50, 50)) << "no overflow";
  EXPECT_EQ(0, QueryStartIndex(kPreviousPage, INT32_MIN + 5, 0, 50));
}

TEST(SearchResults, PagesForwardAndBackKeepingTheWordsOfTheLastSearch) {
  SearchResults r;
  std::string url = Query(r, "", kNewSearch, 50);
  EXPECT_NE(std::string::npos, url.find("/search-ajax/top?")) << url;
  EXPECT_STREQ("", r.query.CStr()) << "the empty words are kept, not \"top\"";
  EXPECT_EQ(0, r.pageStart);
  EXPECT_EQ(50, r.pageCount);
  EXPECT_TRUE(r.HasNextRow());
  EXPECT_FALSE(r.HasBackRow());
  EXPECT_EQ(1, FirstOrdinal(r));

  url = Query(r, nullptr, kNextPage, 30);
  EXPECT_NE(std::string::npos, url.find("/search-ajax/top?")) << "paging keeps sending \"top\"";
  EXPECT_NE(std::string::npos, url.find("&strIndex=50&filter=mp3")) << url;
  EXPECT_EQ(50, r.pageStart);
  EXPECT_EQ(30, r.pageCount);
  EXPECT_EQ(51, FirstOrdinal(r));
  EXPECT_TRUE(r.HasNextRow()) << "a short page still offers NEXT";
  EXPECT_TRUE(r.HasBackRow());

  url = Query(r, nullptr, kNextPage, 0);
  EXPECT_NE(std::string::npos, url.find("&strIndex=80&")) << url;
  EXPECT_EQ(nullptr, r.records.first);
  EXPECT_FALSE(r.HasNextRow()) << "a page without stations offers no NEXT";
  EXPECT_TRUE(r.HasBackRow()) << "only BACK";

  url = Query(r, nullptr, kPreviousPage, 50);
  EXPECT_NE(std::string::npos, url.find("&strIndex=30&")) << url;
  url = Query(r, nullptr, kPreviousPage, 50);
  EXPECT_NE(std::string::npos, url.find("&strIndex=0&")) << "back from 30 goes to 0: " << url;
  EXPECT_FALSE(r.HasBackRow());

  url = Query(r, "jazz", kNewSearch, 3);
  EXPECT_NE(std::string::npos, url.find("/search-ajax/jazz?")) << url;
  EXPECT_STREQ("jazz", r.query.CStr());
  EXPECT_EQ(3, r.pageCount);

  // Hiding with the clear option: NEXT is gone until the next search, the
  // words and the paging state stay.
  r.ClearRecords();
  EXPECT_EQ(nullptr, r.records.first);
  EXPECT_FALSE(r.HasNextRow());
  TextString next;
  EXPECT_EQ(3, r.PrepareQuery(nullptr, kNextPage, 50, false, next));
  EXPECT_NE(std::string::npos, std::string(next.CStr()).find("/search-ajax/jazz?")) << next.CStr();
}
