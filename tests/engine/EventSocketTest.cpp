#include "engine/EventSocket.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/LoopbackServer.h"
#include "toolkit/Platform.h"

#ifndef _WIN32
#include <fcntl.h>
#endif

namespace {
constexpr std::uint32_t kLoopback = 0x0100007Fu;  // 127.0.0.1 in network order

bool Connect(EventSocket& s, int port, std::uint32_t timeoutMs = 5000) {
  return s.Create(kInetFamily, true, 0) && s.ConnectWithTimeout(kInetFamily, port, kLoopback, timeoutMs);
}
}  // namespace

TEST(EventSocket, CloseOfANeverOpenedSocketIsMinusOne) {
  EventSocket s;
  EXPECT_EQ(-1, s.Close());
  EXPECT_EQ(-1, s.Close());
  ASSERT_TRUE(s.Create(kInetFamily, true, 0));
  EXPECT_EQ(0, s.Close());
  EXPECT_EQ(-1, s.Close());
}

TEST(EventSocket, ResolveTakesDottedAddressesAndNames) {
  EXPECT_EQ(kLoopback, EventSocket::Resolve("127.0.0.1"));
  EXPECT_EQ(kLoopback, EventSocket::Resolve("localhost"));
}

TEST(EventSocket, WinSockRefusesAnotherVersion) {
  // The library grants 2.2 for 3.0: a mismatch counts as failure.
  EXPECT_FALSE(StartWinSock(3, 0));
}

TEST(EventSocket, ConnectToAClosedPortFailsFast) {
  int port = LoopbackServer::ClosedPort();
  EventSocket s;
  std::uint32_t start = platform::TickCount();
  EXPECT_FALSE(Connect(s, port));
  EXPECT_LT(platform::TickCount() - start, 2500u) << "the refusal ends the wait, not the time-out";
  EXPECT_TRUE(s.IsValid()) << "the caller closes a failed socket";
}

TEST(EventSocket, ConnectedSocketIsBlocking) {
  LoopbackServer server([](ServerConnection& c) {
    c.SleepMs(300);
    c.Send("late");
  });
  EventSocket s;
  ASSERT_TRUE(Connect(s, server.Port()));
  char buffer[8];
  // A non-blocking socket would report "no data yet" at once.
  EXPECT_EQ(4, s.Receive(buffer, sizeof buffer));
}

TEST(EventSocket, ConnectTimesOutWhenTheListenQueueIsFull) {
  LoopbackServer server(nullptr, -1);
  std::vector<std::intptr_t> fillers;
  for (int i = 0; i < 4; ++i) fillers.push_back(OpenRawClient(server.Port()));
  platform::SleepMs(100);

  EventSocket s;
  std::uint32_t start = platform::TickCount();
  EXPECT_FALSE(Connect(s, server.Port(), 5000));
  std::uint32_t elapsed = platform::TickCount() - start;
  EXPECT_GE(elapsed, 4900u);
  EXPECT_LT(elapsed, 8000u);
  EXPECT_TRUE(s.IsValid());
#ifndef _WIN32
  // ioctlsocket cannot be read back on Windows; here the flag can.
  EXPECT_EQ(0, fcntl(s.Native(), F_GETFL) & O_NONBLOCK);
#endif
  for (auto f : fillers) CloseRaw(f);
}
