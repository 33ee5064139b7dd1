// The scraper on answers built from station blocks that carry the markers in
// the order the directory writes them, with CR LF lines and TAB indents.
#include "ui/search/StationScraper.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/search/StationRecord.h"

namespace {

struct Block {
  int id;
  std::string name = "Station";
  std::string tags = "<a href=\"/g?n=Pop\">Pop</a> <a href=\"/g?n=Rock\">Rock</a>";
  std::string site = "http://site.example/";
  bool nowPlaying = true;
  std::string playing = "Song";
  int listeners = 10;
  int bitrate = 128;
  std::string type = "MP3";

  std::string Html() const {
    std::string html = "<div class=\"boxcontent\">\r\n\t<a href=\"http://yp.example/sbin/tunein-station.pls?id=" +
                       std::to_string(id) + "\" title=\"Play\"></a>\r\n";
    html += "\t<a class=\"clickabletitle\" href=\"/st\" title=\"" + name + "\">" + name + "</a>\r\n";
    html += "\t<div class=\"dirgenre\">Tags: " + tags + "</div>\r\n";
    html += "\t<div class=\"dirsite\">Site: <a href=\"" + site + "\" target=\"_blank\">site</a></div>\r\n";
    if (nowPlaying) html += "\t<div class=\"playingtext\" title=\"" + playing + "\">Now: it</div>\r\n";
    html += "\t<div class=\"dirlistners\">" + std::to_string(listeners) + "</div>\r\n";
    html += "\t<div class=\"dirbitrate\">" + std::to_string(bitrate) + "</div>\r\n";
    html += "\t<div class=\"dirtype\">" + type + "</div>\r\n</div>\r\n";
    return html;
  }
};

struct Station {
  int id, listeners, bitrate, ordinal;
  std::string name, tags, site, recent, type;
};

std::string Page(const std::vector<Block>& blocks) {
  std::string page = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n";
  for (const Block& b : blocks) page += b.Html();
  return page;
}

// Scrapes the answer and reads every record back through its accessors.
std::vector<Station> Scrape(const std::string& answer, int start = 0, int searchCount = 50) {
  RecordList records;
  int taken = ScrapeAnswer(reinterpret_cast<const std::uint8_t*>(answer.data()),
                           static_cast<std::uint32_t>(answer.size()), start, searchCount, records);
  std::vector<Station> out;
  for (Record* r = records.first; r; r = r->next) {
    out.push_back({ReadStationNumber(r, kStationId), ReadStationNumber(r, kStationListeners),
                   ReadStationNumber(r, kStationBitrate), ReadStationNumber(r, kStationOrdinal),
                   ReadStationText(r, kStationName), ReadStationText(r, kStationTags),
                   ReadStationText(r, kStationSite), ReadStationText(r, kStationRecent),
                   ReadStationText(r, kStationType)});
  }
  EXPECT_EQ(taken, static_cast<int>(out.size()));
  return out;
}

std::vector<int> Ids(const std::vector<Station>& stations) {
  std::vector<int> ids;
  for (const Station& s : stations) ids.push_back(s.id);
  return ids;
}

}  // namespace

TEST(StationScraper, TakesEveryFieldOfEachStation) {
  Block first{1001};
  first.name = "\x93\xfa\x96\x7b\x82\xcc\x83\x89\x83\x57\x83\x49";  // 日本のラジオ, Shift_JIS as the page has it
  first.playing = "\xe4\xbb\x8a\xe3\x81\xae\xe6\x9b\xb2";  // 今の曲 in UTF-8
  first.listeners = 950;
  Block second{1002};
  second.name = "Jazz &amp; <b>More</b>";
  second.tags = "<a href=\"/g\">Jazz</a>";
  second.site = "";
  second.playing = "Artist - Title";
  second.bitrate = 64;
  second.type = "aacp";

  std::vector<Station> s = Scrape(Page({first, second}), 50);
  ASSERT_EQ(2u, s.size());
  EXPECT_EQ(1001, s[0].id);
  EXPECT_EQ(950, s[0].listeners);
  EXPECT_EQ(128, s[0].bitrate);
  EXPECT_EQ(51, s[0].ordinal) << "counted from the start index + 1";
  EXPECT_EQ(first.name, s[0].name) << "names keep the page's bytes";
  EXPECT_EQ("Pop Rock ", s[0].tags) << "each tag followed by one blank";
  EXPECT_EQ("http://site.example/", s[0].site);
  EXPECT_EQ("Recent: \x8d\xa1\x82\xcc\x8b\xc8", s[0].recent) << "UTF-8 now-playing text converted";
  EXPECT_EQ("MP3", s[0].type);

  EXPECT_EQ(52, s[1].ordinal);
  EXPECT_EQ("Jazz &amp; <b>More</b>", s[1].name) << "no entity decoded, markup kept";
  EXPECT_EQ("Jazz ", s[1].tags);
  EXPECT_EQ("", s[1].site);
  EXPECT_EQ("Recent: Artist - Title", s[1].recent);
  EXPECT_EQ(64, s[1].bitrate);
  EXPECT_EQ("aacp", s[1].type);
}

TEST(StationScraper, NowPlayingTextIsLookedForOnlyInTheStationsOwnBlock) {
  Block quiet{1}, next{2}, last{3};
  quiet.nowPlaying = false;
  quiet.listeners = 111;
  quiet.bitrate = 32;
  quiet.type = "OGG";
  next.playing = "Next Song";
  next.listeners = 222;
  last.nowPlaying = false;  // nothing after its site link at all
  last.listeners = 333;

  std::vector<Station> s = Scrape(Page({quiet, next, last}));
  ASSERT_EQ((std::vector<int>{1, 2, 3}), Ids(s)) << "the station after a quiet one does not vanish";
  EXPECT_EQ("", s[0].recent);
  EXPECT_EQ(111, s[0].listeners);
  EXPECT_EQ(32, s[0].bitrate);
  EXPECT_EQ("OGG", s[0].type);
  EXPECT_EQ("Recent: Next Song", s[1].recent);
  EXPECT_EQ(222, s[1].listeners);
  EXPECT_EQ("", s[2].recent);
  EXPECT_EQ(333, s[2].listeners);
}

TEST(StationScraper, LineBreaksAndTabsAreDroppedBeforeScanning) {
  Block b{7};
  b.name = "Jazz\r\n\t\tLounge\tRadio";
  b.playing = "Hit\r\nSong";
  b.tags = "<a\r\n href=\"/g\">Smooth\r\n\tJazz</a>";
  std::vector<Station> s = Scrape(Page({b}));
  ASSERT_EQ(1u, s.size());
  EXPECT_EQ("JazzLoungeRadio", s[0].name);
  EXPECT_EQ("Recent: HitSong", s[0].recent);
  EXPECT_EQ("SmoothJazz ", s[0].tags) << "a link tag broken over lines still reads \"<a \"";
}

TEST(StationScraper, TypeIsCutToSixBytesOfWholeCharacters) {
  const struct {
    const char* page;
    const char* type;
  } cases[] = {
      {"AACPLUS", "AACPLU"},
      {"MP3 VBR", "MP3"},
      {"MP3</div>", "MP3"},
      {"abcde\x83\x5e", "abcde"},              // a double-byte character across the sixth byte
      {"\x83\x5e\x83\x43\x83\x67x", "\x83\x5e\x83\x43\x83\x67"},  // タイト: three whole characters
      {"", ""},
  };
  for (const auto& c : cases) {
    Block b{1};
    b.type = c.page;
    std::vector<Station> s = Scrape(Page({b}));
    ASSERT_EQ(1u, s.size()) << c.page;
    EXPECT_EQ(c.type, s[0].type) << c.page;
  }
}

TEST(StationScraper, TagsAreTakenOnlyInsideTheirBlock) {
  Block b{1};
  // A link's text runs to the next "</", another element's too. The second
  // link has none before the block's "</div>", so the collection ends there
  // and the link after the block is never taken.
  b.tags = "<a href=\"/g\">Pop <b>hot</b></a> <a href=\"/g\">Indie</div> <a href=\"/late\">Late</a>";
  std::vector<Station> s = Scrape(Page({b}));
  ASSERT_EQ(1u, s.size());
  EXPECT_EQ("Pop <b>hot ", s[0].tags);
  EXPECT_EQ("http://site.example/", s[0].site);
  b.tags = "";
  s = Scrape(Page({b}));
  ASSERT_EQ(1u, s.size());
  EXPECT_EQ("", s[0].tags);

  // Links inside a link's text: each text runs to the one shared "</", so
  // they overlap. 30,000 of them would make 2.2 GB of tags; the record keeps
  // its longest text of them, and the block's followers are still read.
  const int nested = 30000;
  std::string link = "<a x>";
  b.tags.clear();
  for (int i = 0; i < nested; ++i) b.tags += link;
  b.tags += "Z</a>";
  std::string expected;
  for (int i = 0; expected.size() < static_cast<size_t>(kStationTextMax); ++i) {
    for (int j = i + 1; j < nested && expected.size() < static_cast<size_t>(kStationTextMax); ++j) expected += link;
    expected += "Z ";
  }
  expected.resize(kStationTextMax);
  s = Scrape(Page({b, Block{2}}));
  ASSERT_EQ(2u, s.size());
  EXPECT_EQ(expected, s[0].tags);
  EXPECT_EQ("http://site.example/", s[0].site);
  EXPECT_EQ("Pop Rock ", s[1].tags);
}

TEST(StationScraper, AStationWithAMissingMarkerEndsTheScan) {
  // Markers are searched to the end of the answer: one missing from the last
  // station is found nowhere, and the stations before it stay.
  const char* markers[] = {"clickabletitle", "Tags:", "Site:", "dirlistners\">", "dirbitrate\">", "dirtype\">"};
  for (const char* marker : markers) {
    std::string broken = Block{2}.Html();
    size_t at = broken.find(marker);
    ASSERT_NE(std::string::npos, at) << marker;
    broken[at + 1] = '_';
    EXPECT_EQ((std::vector<int>{1}), Ids(Scrape(Page({Block{1}}) + broken))) << marker;
  }
  std::string unclosed = Page({Block{1}}) + "<a href=\"/sbin/tunein-station.pls?id=2\"> clickabletitle title=\"Open";
  EXPECT_EQ((std::vector<int>{1}), Ids(Scrape(unclosed))) << "a name without its closing quote";
  // A now-playing element without its title ends the scan rather than
  // taking the next station's.
  std::string untitled = Block{2}.Html();
  untitled.replace(untitled.find("title=\"Song\""), 12, "data=\"Song\"");
  EXPECT_EQ((std::vector<int>{1}), Ids(Scrape(Page({Block{1}}) + untitled + Block{3}.Html())));
}

TEST(StationScraper, TakesAtMostTheCountAskedFor) {
  std::string page = Page({Block{1}, Block{2}, Block{3}});
  EXPECT_EQ((std::vector<int>{1, 2}), Ids(Scrape(page, 0, 2)));
  EXPECT_TRUE(Scrape(page, 0, 0).empty());
  EXPECT_TRUE(Scrape(page, 0, -5).empty());
  EXPECT_TRUE(Scrape("", 0, 50).empty());
  EXPECT_TRUE(Scrape("HTTP/1.1 200 OK\r\n\r\n<p>No stations</p>", 0, 50).empty());
}

TEST(StationScraper, ReadsNothingPastTheEndOfTheAnswer) {
  // Under the sanitizers: markers at the very end, with no room for what
  // follows them, and a NUL that ends the text early.
  const char* tails[] = {"tunein-station.pls", "tunein-station.pls?i", "dirtype\">"};
  for (const char* tail : tails) EXPECT_TRUE(Scrape(tail).empty()) << tail;
  std::string page = Page({Block{1}});
  std::string early = page.substr(0, page.find("dirtype")) + std::string(1, '\0') + page.substr(page.find("dirtype"));
  EXPECT_TRUE(Scrape(early).empty()) << "the copy reads as text up to its first NUL";
  std::string huge(70000, 'n');
  Block b{1};
  b.name = huge;
  std::vector<Station> s = Scrape(Page({b}));
  ASSERT_EQ(1u, s.size());
  EXPECT_EQ(static_cast<size_t>(kStationTextMax), s[0].name.size()) << "cut so its count fits 16 bits";
  EXPECT_EQ("MP3", s[0].type) << "the texts after a cut one are intact";
}

TEST(StationRecord, PacksFourNumbersThenFiveCountedTexts) {
  RecordList list;
  StationFields fields;
  fields.numbers[kStationId] = 0x01020304;
  fields.numbers[kStationListeners] = -1;
  fields.numbers[kStationBitrate] = 128;
  fields.numbers[kStationOrdinal] = 51;
  const char* texts[] = {"Name", "Pop ", "", "Recent: x", "MP3"};
  for (int i = 0; i < kStationTexts; ++i) fields.texts[i] = texts[i];
  Record* r = AddStationRecord(list, fields);
  ASSERT_NE(nullptr, r);
  const std::string expected(
      "\x04\x03\x02\x01" "\xff\xff\xff\xff" "\x80\x00\x00\x00" "\x33\x00\x00\x00"
      "\x05\x00Name\x00" "\x05\x00Pop \x00" "\x01\x00\x00" "\x0a\x00Recent: x\x00" "\x04\x00MP3\x00",
      16 + 7 + 7 + 3 + 12 + 6);
  EXPECT_EQ(expected, std::string(reinterpret_cast<const char*>(r->Payload()), expected.size()));
  EXPECT_STREQ("MP3", ReadStationText(r, kStationType));
  EXPECT_EQ(-1, ReadStationNumber(r, kStationListeners));
}
