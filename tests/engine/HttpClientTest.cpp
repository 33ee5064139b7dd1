#include "engine/HttpText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
struct Split {
  std::string host, path;
  int port;
};
Split SplitOf(const std::string& url, int defaultPort) {
  UrlParts parts;
  SplitUrl(url.data(), static_cast<int>(url.size()), defaultPort, parts);
  return {parts.host.CStr(), parts.path.CStr(), parts.port};
}
int Len(const char* text) { return static_cast<int>(std::strlen(text)); }
int Parse(const char* text, StreamInfo& info) { return ParseIcyResponse(text, Len(text), info); }
}  // namespace

TEST(HttpClient, SplitUrlTakesHostPortAndPath) {
  Split s = SplitOf("http://10.0.0.5:8080/live?x=1", 8000);
  EXPECT_EQ("10.0.0.5", s.host);
  EXPECT_EQ(8080, s.port);
  EXPECT_EQ("live?x=1", s.path);

  s = SplitOf("10.0.0.5", 8000);
  EXPECT_EQ("10.0.0.5", s.host);
  EXPECT_EQ(8000, s.port);
  EXPECT_EQ("", s.path);

  s = SplitOf("radio.example:9000", 80);
  EXPECT_EQ("radio.example", s.host);
  EXPECT_EQ(9000, s.port);
  EXPECT_EQ("", s.path);

  s = SplitOf("host/a/b:c", 80);
  EXPECT_EQ("host", s.host);
  EXPECT_EQ(80, s.port);
  EXPECT_EQ("a/b:c", s.path);

  s = SplitOf("host:12x/p", 80);
  EXPECT_EQ(12, s.port);
  EXPECT_EQ("p", s.path);
}

TEST(HttpClient, SplitUrlKnowsOnlyLowerCaseHttp) {
  Split s = SplitOf("HTTP://host:8000/x", 8000);
  EXPECT_EQ("HTTP", s.host);
  EXPECT_EQ(0, s.port) << "the port is read from the slashes";
  EXPECT_EQ("/host:8000/x", s.path);
}

TEST(HttpClient, SplitUrlKeepsLongHostsAndPathsWhole) {
  std::string host(300, 'h');
  std::string path(2000, 'p');
  Split s = SplitOf("http://" + host + ":81/" + path, 80);
  EXPECT_EQ(host, s.host);
  EXPECT_EQ(path, s.path);
  EXPECT_EQ(81, s.port);
}

TEST(HttpClient, FindHeaderValueSkipsBlanksAndStopsAtCr) {
  const char* header = "ICY 200 OK\r\nicy-br:  128\r\nicy-name:\r\nicy-url: http://x\r\n";
  TextString value;
  ASSERT_TRUE(FindHeaderValue(header, Len(header), "icy-url:", &value));
  EXPECT_STREQ("http://x", value.CStr());
  ASSERT_TRUE(FindHeaderValue(header, Len(header), "icy-name:", &value));
  EXPECT_STREQ("", value.CStr());
  int n = 0;
  ASSERT_TRUE(FindHeaderNumber(header, Len(header), "icy-br:", &n));
  EXPECT_EQ(128, n);
  EXPECT_FALSE(FindHeaderValue(header, Len(header), "Icy-Br:", &value)) << "names match case-sensitively";
  // The name may stand anywhere, not only at a line start.
  ASSERT_TRUE(FindHeaderValue("x-icy-br:5", 10, "icy-br:", &value));
  EXPECT_STREQ("5", value.CStr());
}

TEST(HttpClient, ParseIcyResponseCodes) {
  StreamInfo info;
  EXPECT_EQ(kIcyServerFull, Parse("ICY 400 Server Full\r\n", info));
  EXPECT_EQ(kIcyRefused, Parse("ICY 401 Unauthorized\r\n", info));
  EXPECT_EQ(kIcyRefused, Parse("HTTP/1.0 200 OK\r\n", info));
  EXPECT_EQ(kIcyServerFull, Parse("HTTP/1.1 302 Found\r\n", info));
  EXPECT_EQ(kIcyNotShoutcast, Parse("<html><body>", info));
  EXPECT_EQ(kIcyNotShoutcast, Parse("icy 200 ok", info));
  // Status lines too short to hold a number read as status 0.
  EXPECT_EQ(kIcyRefused, Parse("ICY", info));
  EXPECT_EQ(kIcyRefused, Parse("HTTP/1", info));
}

TEST(HttpClient, ParseIcyResponseFillsStreamInfo) {
  StreamInfo info;
  info.bitrate = 77;
  ASSERT_EQ(kIcyStream, Parse("ICY 200 OK\r\nicy-metaint:8192\r\nicy-name:Test FM\r\n", info));
  EXPECT_EQ(kStreamMpeg, info.format) << "no content type is MP3";
  EXPECT_EQ(8192, info.metaInterval);
  EXPECT_EQ(77, info.bitrate) << "left as it was without icy-br";
  EXPECT_STREQ("Test FM", info.name.CStr());
  EXPECT_STREQ("", info.url.CStr());

  ASSERT_EQ(kIcyStream, Parse("ICY 200 OK\r\ncontent-type:audio/aacp\r\nicy-br:64\r\n", info));
  EXPECT_EQ(kStreamAacPlus, info.format);
  EXPECT_EQ(64, info.bitrate);
  EXPECT_EQ(0, info.metaInterval);
  ASSERT_EQ(kIcyStream, Parse("ICY 200 OK\r\ncontent-type:audio/mpeg3\r\n", info));
  EXPECT_EQ(kStreamOther, info.format);
  ASSERT_EQ(kIcyStream, Parse("ICY 200 OK\r\nContent-Type:audio/aacp\r\n", info));
  EXPECT_EQ(kStreamMpeg, info.format) << "a capitalised header name is not seen";
}
