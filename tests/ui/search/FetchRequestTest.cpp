// The fetch body against loopback servers: the request bytes as the server
// receives them, the progress and failure texts, and the limits that end a
// fetch nobody can cancel.
#include "ui/search/FetchRequest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <future>
#include <string>
#include <vector>

#include "support/LoopbackServer.h"
#include "toolkit/Platform.h"
#include "ui/search/DirectoryHosts.h"
#include "ui/search/SearchResults.h"
#include "ui/search/StationRecord.h"

namespace {

const char kConnecting[] = "\x90\xda\x91\xb1\x92\x86...";                  // 接続中...
const char kReceiving0[] = "\x8e\xf3\x90M\x92\x86 ... 0KB";               // 受信中 ... 0KB
const char kConnectFailed[] = "\x90\xda\x91\xb1\x82\xc9\x8e\xb8\x94s";   // 接続に失敗
const char kReceiveFailed[] = "\x8e\xf3\x90M\x82\xc9\x8e\xb8\x94s";      // 受信に失敗
const char kNotHttp[] = "HTTP\xbb\xb0\xca\xde\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";  // HTTPｻｰﾊﾞではありません

std::string Receiving(int kb) { return "\x8e\xf3\x90M\x92\x86 ... " + std::to_string(kb) + "KB"; }
std::string HttpError(int status) { return "HTTP\xb4\xd7\xb0 " + std::to_string(status); }  // HTTPｴﾗｰ %d

struct Recorder final : ProgressSink {
  std::vector<std::string> texts;
  void ShowProgress(const char* text) override { texts.push_back(text); }
  std::string Last() const { return texts.empty() ? "" : texts.back(); }
};

// The product's URL with the directory's host swapped for the loopback server.
std::string Local(const LoopbackServer& server, const char* url, const char* host) {
  std::string prefix = std::string("http://") + host + "/";
  EXPECT_EQ(0u, std::string(url).find(prefix)) << url;
  return server.Url(url + prefix.size());
}

struct Fetched {
  int result = 0;
  Recorder sink;
  ByteBuffer buffer;
  std::uint32_t elapsedMs = 0;
};

void Fetch(Fetched& f, const std::string& url, FetchMethod method, const FetchLimits& limits) {
  ASSERT_TRUE(f.buffer.Init(8192, 1024));
  std::uint32_t start = platform::TickCount();
  f.result = RunFetch(url.c_str(), f.buffer, method, limits, f.sink);
  f.elapsedMs = platform::TickCount() - start;
}

// Fetches from a server that breaks a limit; the time the failure took.
std::uint32_t ReceiveFailureMs(const LoopbackServer& server, const FetchLimits& limits) {
  Fetched f;
  Fetch(f, server.Url("x"), kFetchGet, limits);
  EXPECT_EQ(-1, f.result);
  EXPECT_EQ(kReceiveFailed, f.sink.Last());
  return f.elapsedMs;
}

// The request the server saw for one fetch of url.
std::string RequestFor(const char* url, const char* host, FetchMethod method) {
  std::promise<std::string> seen;
  LoopbackServer server([&](ServerConnection& c) {
    seen.set_value(c.ReadRequest());
    c.Send("HTTP/1.0 200 OK\r\n\r\n");
  });
  Fetched f;
  Fetch(f, Local(server, url, host), method, kDirectoryFetchLimits);
  EXPECT_LT(0, f.result);
  auto request = seen.get_future();
  if (request.wait_for(std::chrono::seconds(5)) != std::future_status::ready) return "";
  return request.get();
}

std::string Post(const std::string& target, const std::string& body) {
  return "POST /" + target +
         " HTTP/1.0\r\nContent-Type: application/x-www-form-urlencoded\r\nUser-Agent: Mozilla\r\nHost: 127.0.0.1\r\n"
         "Content-Length: " +
         std::to_string(body.size()) + "\r\n\r\n" + body;
}

}  // namespace

TEST(FetchRequest, DirectoryRequestsReachTheServerAsBuilt) {
  SearchResults results;
  TextString url;
  results.PrepareQuery("", kNewSearch, 50, true, url);
  EXPECT_EQ(Post("search-ajax/top", "order=desc&mode=listenershead2&ajax=true&count=50&strIndex=0&filter=mp3"),
            RequestFor(url.CStr(), kDirectoryHost, kFetchPost));

  // A "?" in the words ends the path: the rest of them leads the form body.
  results.PrepareQuery("rock & roll?x y", kNewSearch, 30, false, url);
  EXPECT_EQ(Post("search-ajax/rock%20%26%20roll", "x%20y?order=desc&mode=listenershead2&ajax=true&count=30&strIndex=0"),
            RequestFor(url.CStr(), kDirectoryHost, kFetchPost));

  RecordList list;
  StationFields fields;
  fields.numbers[kStationId] = 99180;
  TuneInUrl(AddStationRecord(list, fields), url);
  EXPECT_EQ("GET /sbin/tunein-station.pls?id=99180 HTTP/1.0\r\nHost: 127.0.0.1\r\nUser-Agent: Mozilla\r\n\r\n",
            RequestFor(url.CStr(), kTuneInHost, kFetchGet));
}

TEST(FetchRequest, AWholeAnswerComesBackWithProgressAndANulBehind) {
  const std::string head = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
  LoopbackServer empty([&](ServerConnection& c) {
    c.ReadRequest();
    c.Send(head);
  });
  Fetched f;
  Fetch(f, empty.Url("x"), kFetchGet, kDirectoryFetchLimits);
  ASSERT_EQ(static_cast<int>(head.size()), f.result) << "an empty body still counts its head";
  ASSERT_EQ(head.size() + 1, f.buffer.length);
  EXPECT_EQ(head, std::string(reinterpret_cast<const char*>(f.buffer.data)));
  EXPECT_EQ((std::vector<std::string>{kConnecting, kReceiving0, Receiving(1)}), f.sink.texts);

  const std::string page = head + std::string(20000 - head.size(), 'p');
  LoopbackServer pieces([&](ServerConnection& c) {
    c.ReadRequest();
    for (size_t at = 0; at < page.size(); at += 7000) {
      c.Send(page.substr(at, 7000));
      c.SleepMs(50);
    }
  });
  Fetched g;
  Fetch(g, pieces.Url("x"), kFetchPost, kDirectoryFetchLimits);
  ASSERT_EQ(20000, g.result);
  EXPECT_EQ(page, std::string(reinterpret_cast<const char*>(g.buffer.data), 20000));
  EXPECT_EQ(Receiving(20), g.sink.Last()) << "a started kilobyte counts whole: 19.5 KB is 20";
  EXPECT_GE(g.sink.texts.size(), 5u) << "a progress text after every chunk";
}

TEST(FetchRequest, EachFailureShowsItsText) {
  const struct {
    const char* answer;
    std::string text;
  } cases[] = {
      {"ICY 200 OK\r\nicy-name:x\r\n\r\n\xff\xfb", kNotHttp},
      {"", kNotHttp},
      {"<html>", kNotHttp},
      {"HTTP/1.1 503 Service Unavailable\r\n\r\nbusy",
       "\xbb\xb0\xca\xde\xb0\x82\xc9\x95\x89\x89\xd7\x82\xaa\x82\xa9\x82\xa9\x82\xc1\x82\xc4\x82\xa2\x82\xdc\x82\xb7"
       "\x81\x42\n\x82\xb5\x82\xce\x82\xe7\x82\xad\x91\xd2\x82\xc1\x82\xc4\x82\xa9\x82\xe7\x8e\x8e\x82\xb5\x82\xc4\x82"
       "\xdd\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42"},  // the two-line busy text
      {"HTTP/1.0 404 Not Found\r\n\r\n", HttpError(404)},
      {"HTTP/1.0 302 Found\r\nLocation: http://elsewhere/\r\n\r\n", HttpError(302)},
      {"HTTP", HttpError(0)},
  };
  for (const auto& c : cases) {
    LoopbackServer server([&](ServerConnection& conn) {
      conn.ReadRequest();
      conn.Send(c.answer);
    });
    Fetched f;
    Fetch(f, server.Url("x"), kFetchPost, kDirectoryFetchLimits);
    EXPECT_EQ(-1, f.result) << c.answer;
    EXPECT_EQ(c.text, f.sink.Last()) << c.answer;
  }

  Fetched refused;
  Fetch(refused, "127.0.0.1:" + std::to_string(LoopbackServer::ClosedPort()) + "/x", kFetchGet,
        kTuneInFetchLimits);
  EXPECT_EQ(-1, refused.result);
  EXPECT_EQ((std::vector<std::string>{kConnecting, kConnectFailed}), refused.sink.texts);
}

TEST(FetchRequest, AnAnswerThatNeverEndsFailsAtTheDeadline) {
  // Paced so that it neither fills the ceiling nor lets the client's own
  // receive budget (from the last pause after 8 s) end it first.
  LoopbackServer server([](ServerConnection& c) {
    c.ReadRequest();
    c.Send("HTTP/1.0 200 OK\r\n\r\n");
    std::string filler(1024, 'f');
    while (c.Send(filler)) c.SleepMs(5);
  });
  std::uint32_t ms = ReceiveFailureMs(server, {1500, 64u * 1024 * 1024});
  std::printf("endless answer ended after %u ms (deadline 1500 ms)\n", static_cast<unsigned>(ms));
  EXPECT_GE(ms, 1500u);
  EXPECT_LT(ms, 5000u);
}

TEST(FetchRequest, AnAnswerPastItsCeilingIsGivenUp) {
  const std::uint32_t ceiling = 256 * 1024;
  const FetchLimits limits = {60000, ceiling};
  const std::string head = "HTTP/1.0 200 OK\r\n\r\n";

  // As fast as the socket takes it, and forever.
  LoopbackServer flood([&](ServerConnection& c) {
    c.ReadRequest();
    c.Send(head);
    std::string block(65536, 'z');
    while (c.Send(block)) {
    }
  });
  ReceiveFailureMs(flood, limits);

  // One byte too many, and the server closes with it: no wait comes between.
  const std::string over = head + std::string(ceiling + 1 - head.size(), 'o');
  LoopbackServer closing([&](ServerConnection& c) {
    c.ReadRequest();
    c.Send(over);
  });
  ReceiveFailureMs(closing, limits);

  // One byte too many, then silence: ends at once, not after the client's
  // receive budget.
  LoopbackServer silence([&](ServerConnection& c) {
    c.ReadRequest();
    c.Send(over);
    c.WaitForClose(15000);
  });
  std::uint32_t ms = ReceiveFailureMs(silence, limits);
  std::printf("an answer past its ceiling failed after %u ms\n", static_cast<unsigned>(ms));
  EXPECT_LT(ms, 4000u);

  // Exactly the ceiling is an answer.
  LoopbackServer full([&](ServerConnection& c) {
    c.ReadRequest();
    c.Send(head + std::string(ceiling - head.size(), 'k'));
  });
  Fetched whole;
  Fetch(whole, full.Url("x"), kFetchGet, limits);
  EXPECT_EQ(static_cast<int>(ceiling), whole.result);
  EXPECT_EQ(Receiving(256), whole.sink.Last());
}
