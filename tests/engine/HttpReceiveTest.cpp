// The client against a real loopback server: request bytes as the server
// receives them, and every receive loop with its stop rule and budget.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <cstring>
#include <string>

#include "engine/HttpClient.h"
#include "support/LoopbackServer.h"
#include "toolkit/ByteBuffer.h"
#include "toolkit/Platform.h"
#include "toolkit/UrlText.h"

namespace {

// Runs one request against a server that records it and answers `reply`.
std::string RequestBytes(const std::string& path, RequestForm form) {
  std::promise<std::string> seen;
  LoopbackServer server([&](ServerConnection& c) {
    seen.set_value(c.ReadRequest());
    c.Send("HTTP/1.0 200 OK\r\n\r\nok");
  });
  HttpClient client;
  if (!client.Open(server.Url(path).c_str(), 80)) {
    ADD_FAILURE() << "no connection";
    return "";
  }
  if (form == RequestForm::IcyGet) {
    client.SendIcyRequest();
  } else {
    client.SendRequest(form == RequestForm::Post);
  }
  char buffer[256];
  EXPECT_GT(client.ReceiveAll(buffer, sizeof buffer), 0);
  client.Close();
  auto request = seen.get_future();
  if (request.wait_for(std::chrono::seconds(5)) != std::future_status::ready) return "";
  return request.get();
}


}  // namespace

TEST(HttpClient, GetRequestBytes) {
  EXPECT_EQ("GET /live?x=1 HTTP/1.0\r\nHost: 127.0.0.1\r\nUser-Agent: Mozilla\r\n\r\n",
            RequestBytes("live?x=1", RequestForm::Get));
}

TEST(HttpClient, PostRequestCarriesTheQueryAsBody) {
  EXPECT_EQ(
      "POST /search-ajax/ HTTP/1.0\r\nContent-Type: application/x-www-form-urlencoded\r\n"
      "User-Agent: Mozilla\r\nHost: 127.0.0.1\r\nContent-Length: 19\r\n\r\norder=desc&count=50",
      RequestBytes("search-ajax/?order=desc&count=50", RequestForm::Post));
}

TEST(HttpClient, IcyRequestAsksForMetadataAndHostHasNoPort) {
  EXPECT_EQ("GET / HTTP/1.0\r\nHost: 127.0.0.1\r\nUser-Agent: Korimba\r\nAccept: */*\r\nIcy-MetaData:1\r\n\r\n",
            RequestBytes("", RequestForm::IcyGet));
}

TEST(HttpClient, RequestLineCarriesNoControlByte) {
  // Escaped, not sent: no byte of a URL can end the line or add a header.
  EXPECT_EQ("GET /a%09b%0Bc%20d%7F%0D%0AX:%201 HTTP/1.0\r\nHost: 127.0.0.1\r\nUser-Agent: Mozilla\r\n\r\n",
            RequestBytes("a\tb\x0b" "c d\x7f\r\nX: 1", RequestForm::Get));
  // Where a URL comes in, it ends at its first line break.
  TextString url;
  url.Assign("http://host/live\r\nX-Injected: 1\r\n");
  CutUrlAtLineBreak(url);
  EXPECT_STREQ("http://host/live", url.CStr());
  url.Assign("http://host/\nsecond line");
  CutUrlAtLineBreak(url);
  EXPECT_STREQ("http://host/", url.CStr());
}

TEST(HttpClient, OpenRefusesPortsOutsideTheRangeInsteadOfWrapping) {
  LoopbackServer server([](ServerConnection& c) { c.WaitForClose(3000); });
  long long port = server.Port();
  for (long long wrapped : {port + 65536, port - 65536, port + 4294967296LL, 0LL}) {
    HttpClient client;
    std::string url = "http://127.0.0.1:" + std::to_string(wrapped) + "/";
    EXPECT_FALSE(client.Open(url.c_str(), 8000)) << url;
  }
  HttpClient client;
  EXPECT_TRUE(client.Open(("http://127.0.0.1:" + std::to_string(port) + "/").c_str(), 8000));
}

TEST(HttpClient, OpenFailsOnAClosedPortAndStaysReusable) {
  HttpClient client;
  std::string url = "127.0.0.1:" + std::to_string(LoopbackServer::ClosedPort());
  EXPECT_FALSE(client.Open(url.c_str(), 8000));
  LoopbackServer server([](ServerConnection& c) { c.Send("x"); });
  EXPECT_TRUE(client.Open(server.Url().c_str(), 80));
}

TEST(HttpClient, ReceiveAllGathersPiecesUntilTheServerCloses) {
  LoopbackServer server([](ServerConnection& c) {
    c.ReadRequest();
    c.Send("HTTP/1.0 200 OK\r\n\r\n[playlist]");
    c.SleepMs(300);
    c.Send("\r\nnumberofentries=1");
    c.SleepMs(300);
    c.Send("\r\nFile1=x\r\n");
  });
  HttpClient client;
  ASSERT_TRUE(client.Open(server.Url("list.pls").c_str(), 80));
  client.SendRequest(false);
  char buffer[32768];
  int n = client.ReceiveAll(buffer, sizeof buffer);
  EXPECT_EQ("HTTP/1.0 200 OK\r\n\r\n[playlist]\r\nnumberofentries=1\r\nFile1=x\r\n", std::string(buffer));
  EXPECT_EQ(static_cast<int>(std::string(buffer).size()), n);
}

TEST(HttpClient, ReceiveAllKeepsWhatFitsInAFullBuffer) {
  LoopbackServer server([](ServerConnection& c) {
    c.ReadRequest();
    c.Send(std::string(100, 'z'));
    c.WaitForClose(3000);
  });
  HttpClient client;
  ASSERT_TRUE(client.Open(server.Url().c_str(), 80));
  client.SendRequest(false);
  char buffer[17];
  buffer[0] = buffer[16] = 'x';
  EXPECT_EQ(-1, client.ReceiveAll(buffer, 0)) << "no room even for the NUL";
  EXPECT_EQ('x', buffer[0]);
  EXPECT_EQ(15, client.ReceiveAll(buffer, 16));
  EXPECT_EQ(std::string(15, 'z'), buffer);
  EXPECT_EQ('x', buffer[16]);
  client.Close();
}

TEST(HttpClient, ReceiveAllGivesUpAfterItsBudget) {
  LoopbackServer server([](ServerConnection& c) {
    c.ReadRequest();
    // A trickle that is still going after the 8000 ms budget.
    for (int i = 0; i < 25 && c.Send("."); ++i) c.SleepMs(400);
  });
  HttpClient client;
  ASSERT_TRUE(client.Open(server.Url().c_str(), 80));
  client.SendRequest(false);
  char buffer[1024];
  std::uint32_t start = platform::TickCount();
  EXPECT_EQ(-1, client.ReceiveAll(buffer, sizeof buffer));
  std::uint32_t elapsed = platform::TickCount() - start;
  EXPECT_GE(elapsed, 8000u);
  EXPECT_LT(elapsed, 9500u) << "fails at the first pause after the budget";
  client.Close();
}

TEST(HttpClient, ReceiveAllWithProgressCountsKilobytesRoundedUp) {
  struct Recorder : ProgressSink {
    std::string last;
    int calls = 0;
    void ShowProgress(const char* text) override {
      last = text;
      ++calls;
    }
  } recorder;
  LoopbackServer server([](ServerConnection& c) {
    c.ReadRequest();
    c.Send("x");
  });
  HttpClient client;
  ASSERT_TRUE(client.Open(server.Url().c_str(), 80));
  client.SendRequest(false);
  ByteBuffer body;
  ASSERT_TRUE(body.Init(8192, 1024));
  EXPECT_EQ(1, client.ReceiveAllWithProgress(body, 8192, &recorder));
  ASSERT_EQ(2u, body.length) << "the body and a NUL behind it";
  EXPECT_EQ('x', body.data[0]);
  EXPECT_EQ(0, body.data[1]);
  EXPECT_EQ(1, recorder.calls);
  EXPECT_EQ("\x8e\xf3\x90M\x92\x86 ... 1KB", recorder.last);  // 受信中 ... 1KB
}

TEST(HttpClient, ReceiveHeaderReturnsTheBodyBytesThatCameWithIt) {
  LoopbackServer server([](ServerConnection& c) {
    c.ReadRequest();
    c.Send("ICY 200 OK\r\nicy-metaint:16\r\n\r\nBODY");
    c.WaitForClose(3000);
  });
  HttpClient client;
  ASSERT_TRUE(client.Open(server.Url().c_str(), 8000));
  client.SendIcyRequest();
  char buffer[3000];
  int n = client.ReceiveHeader(buffer, 3000);
  ASSERT_EQ(34, n);
  EXPECT_STREQ("ICY 200 OK\r\nicy-metaint:16", buffer);
  EXPECT_EQ("BODY", std::string(buffer + std::strlen(buffer) + 4, 4));
  client.Close();
}

TEST(HttpClient, ReceiveHeaderFindsAnEmptyLineThatArrivesByteByByte) {
  const std::string header = "ICY 200 OK\r\nicy-name:Drip\r\n\r\n";
  LoopbackServer server([&](ServerConnection& c) {
    c.ReadRequest();
    for (char ch : header) {
      c.Send(std::string(1, ch));
      c.SleepMs(2);
    }
    c.WaitForClose(3000);
  });
  HttpClient client;
  ASSERT_TRUE(client.Open(server.Url().c_str(), 8000));
  client.SendIcyRequest();
  char buffer[3000];
  EXPECT_EQ(static_cast<int>(header.size()), client.ReceiveHeader(buffer, 3000));
  EXPECT_STREQ("ICY 200 OK\r\nicy-name:Drip", buffer);
  client.Close();
}

TEST(HttpClient, ReceiveHeaderFailsOnCloseAndOnOverlongHeaders) {
  LoopbackServer closes([](ServerConnection& c) {
    c.ReadRequest();
    c.Send("ICY 200 OK\r\n");
  });
  HttpClient client;
  ASSERT_TRUE(client.Open(closes.Url().c_str(), 8000));
  client.SendIcyRequest();
  char buffer[3000];
  EXPECT_EQ(-1, client.ReceiveHeader(buffer, 3000));
  client.Close();

  LoopbackServer chatty([](ServerConnection& c) {
    c.ReadRequest();
    c.Send("ICY 200 OK\r\n" + std::string(3000, 'h') + "\r\n\r\n");
    c.WaitForClose(3000);
  });
  ASSERT_TRUE(client.Open(chatty.Url().c_str(), 8000));
  client.SendIcyRequest();
  EXPECT_EQ(-1, client.ReceiveHeader(buffer, 3000));
  client.Close();
}

TEST(HttpClient, ReceiveHeaderGivesUpOnAStalledPartialHeader) {
  LoopbackServer server([](ServerConnection& c) {
    c.ReadRequest();
    c.Send("ICY 200 OK\r\nicy-na");
    c.WaitForClose(15000);
  });
  HttpClient client;
  ASSERT_TRUE(client.Open(server.Url().c_str(), 8000));
  client.SendIcyRequest();
  char buffer[3000];
  std::uint32_t start = platform::TickCount();
  EXPECT_EQ(-1, client.ReceiveHeader(buffer, 3000));
  std::uint32_t elapsed = platform::TickCount() - start;
  EXPECT_GE(elapsed, 10000u);
  EXPECT_LT(elapsed, 12000u);
  client.Close();
}

TEST(HttpClient, ReceiveAtLeastWaitsForTheMinimum) {
  LoopbackServer server([](ServerConnection& c) {
    c.ReadRequest();
    for (int i = 0; i < 5; ++i) {
      c.Send(std::string(1000, static_cast<char>('a' + i)));
      c.SleepMs(50);
    }
    c.WaitForClose(3000);
  });
  HttpClient client;
  ASSERT_TRUE(client.Open(server.Url().c_str(), 8000));
  client.SendIcyRequest();
  char buffer[8192];
  int n = client.ReceiveAtLeast(buffer, 4096, 4500);
  EXPECT_GE(n, 4096);
  EXPECT_LE(n, 4500);
  EXPECT_EQ('e', buffer[4095]);
  client.Close();
}

TEST(HttpClient, ReceiveAtLeastReportsCloseAndStall) {
  LoopbackServer closes([](ServerConnection& c) {
    c.ReadRequest();
    c.Send("short");
  });
  HttpClient client;
  ASSERT_TRUE(client.Open(closes.Url().c_str(), 8000));
  client.SendIcyRequest();
  char buffer[8192];
  EXPECT_EQ(kReceiveClosed, client.ReceiveAtLeast(buffer, 4096, 8192));
  client.Close();

  LoopbackServer stalls([](ServerConnection& c) {
    c.ReadRequest();
    c.Send("some");
    c.WaitForClose(15000);
  });
  ASSERT_TRUE(client.Open(stalls.Url().c_str(), 8000));
  client.SendIcyRequest();
  std::uint32_t start = platform::TickCount();
  EXPECT_EQ(kReceiveError, client.ReceiveAtLeast(buffer, 4096, 8192));
  EXPECT_GE(platform::TickCount() - start, 10000u);
  client.Close();
}

TEST(HttpClient, ReceiveSomeTellsDataWouldBlockAndClose) {
  std::promise<void> release;
  auto released = release.get_future();
  LoopbackServer server([&](ServerConnection& c) {
    c.ReadRequest();
    released.wait();
    c.Send("data");
  });
  HttpClient client;
  ASSERT_TRUE(client.Open(server.Url().c_str(), 8000));
  client.SendIcyRequest();
  char buffer[64];
  EXPECT_EQ(kReceiveWouldBlock, client.ReceiveSome(buffer, sizeof buffer));
  release.set_value();
  int n;
  std::uint32_t start = platform::TickCount();
  while ((n = client.ReceiveSome(buffer, sizeof buffer)) == kReceiveWouldBlock && platform::TickCount() - start < 5000) {
    platform::SleepMs(1);
  }
  EXPECT_EQ(4, n);
  while ((n = client.ReceiveSome(buffer, sizeof buffer)) == kReceiveWouldBlock && platform::TickCount() - start < 5000) {
    platform::SleepMs(1);
  }
  EXPECT_EQ(kReceiveClosed, n);
  client.Close();
}
