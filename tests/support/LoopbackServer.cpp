#include "support/LoopbackServer.h"

#include <chrono>
#include <cstring>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using socklen_type = int;
constexpr int kSendFlags = 0;
static void CloseSocket(std::intptr_t s) { closesocket(static_cast<SOCKET>(s)); }
static void SetNonBlocking(std::intptr_t s) {
  u_long on = 1;
  ioctlsocket(static_cast<SOCKET>(s), FIONBIO, &on);
}
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
using socklen_type = socklen_t;
constexpr int kSendFlags = MSG_NOSIGNAL;  // a closed peer is a test outcome, not a signal
static void CloseSocket(std::intptr_t s) { ::close(static_cast<int>(s)); }
static void SetNonBlocking(std::intptr_t s) {
  int fd = static_cast<int>(s);
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL, 0) | O_NONBLOCK);
}
#endif

namespace {

std::intptr_t NewSocket() { return static_cast<std::intptr_t>(::socket(AF_INET, SOCK_STREAM, 0)); }

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<unsigned short>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

// Waits until the socket is readable; false on time-out.
bool WaitReadable(std::intptr_t s, int timeoutMs) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  return select(static_cast<int>(s + 1), &set, nullptr, nullptr, &tv) > 0;
}

}  // namespace

std::string ServerConnection::ReadRequest(int timeoutMs) {
  std::string got;
  size_t headerEnd = std::string::npos;
  size_t want = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    if (headerEnd != std::string::npos && got.size() >= want) break;
    if (!WaitReadable(socket, 50)) continue;
    char buffer[4096];
    int n = static_cast<int>(recv(socket, buffer, sizeof buffer, 0));
    if (n <= 0) break;
    got.append(buffer, static_cast<size_t>(n));
    if (headerEnd == std::string::npos && (headerEnd = got.find("\r\n\r\n")) != std::string::npos) {
      want = headerEnd + 4;
      size_t at = got.find("Content-Length: ");
      if (at != std::string::npos && at < headerEnd) want += static_cast<size_t>(std::atoi(got.c_str() + at + 16));
    }
  }
  return got;
}

bool ServerConnection::Send(const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    int n = static_cast<int>(send(socket, bytes.data() + sent, static_cast<int>(bytes.size() - sent), kSendFlags));
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

void ServerConnection::SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void ServerConnection::WaitForClose(int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    if (!WaitReadable(socket, 50)) continue;
    char buffer[512];
    if (recv(socket, buffer, sizeof buffer, 0) <= 0) return;
  }
}

LoopbackServer::LoopbackServer(Script s, int backlog) : script(std::move(s)), accepting(backlog >= 0) {
  listener = NewSocket();
  int yes = 1;
  setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
  sockaddr_in a = Loopback(0);
  bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
  listen(listener, backlog >= 0 ? backlog : 0);
  socklen_type length = sizeof a;
  getsockname(listener, reinterpret_cast<sockaddr*>(&a), &length);
  port = ntohs(a.sin_port);
  if (accepting) acceptThread = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
  stopping = true;
  if (acceptThread.joinable()) acceptThread.join();
  for (auto& w : workers) w.join();
  CloseSocket(listener);
}

void LoopbackServer::AcceptLoop() {
  while (!stopping) {
    if (!WaitReadable(listener, 20)) continue;
    std::intptr_t client = static_cast<std::intptr_t>(accept(listener, nullptr, nullptr));
    if (client < 0) continue;
    std::lock_guard<std::mutex> lock(mutex);
    workers.emplace_back([this, client] {
      ServerConnection connection(client);
      script(connection);
      CloseSocket(client);
    });
  }
}

std::string LoopbackServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port) + "/" + path;
}

int LoopbackServer::ClosedPort() {
  std::intptr_t s = NewSocket();
  sockaddr_in a = Loopback(0);
  bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_type length = sizeof a;
  getsockname(s, reinterpret_cast<sockaddr*>(&a), &length);
  CloseSocket(s);
  return ntohs(a.sin_port);
}

std::intptr_t OpenRawClient(int port) {
  std::intptr_t s = NewSocket();
  SetNonBlocking(s);
  sockaddr_in a = Loopback(port);
  connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  return s;
}

void CloseRaw(std::intptr_t s) { CloseSocket(s); }
