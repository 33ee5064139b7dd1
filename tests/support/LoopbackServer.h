// A TCP server on 127.0.0.1 in a thread of the test process: each accepted
// connection runs the test's script. Works with WinSock (under Wine) and POSIX.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ServerConnection {
 public:
  explicit ServerConnection(std::intptr_t s) : socket(s) {}
  // Reads a request: through the empty line, then Content-Length body bytes.
  std::string ReadRequest(int timeoutMs = 5000);
  bool Send(const std::string& bytes);
  void SleepMs(int ms);
  // Waits until the client closes (or timeoutMs passes).
  void WaitForClose(int timeoutMs);

 private:
  std::intptr_t socket;
};

class LoopbackServer {
 public:
  using Script = std::function<void(ServerConnection&)>;
  // backlog < 0: listen but never accept (the queue fills up).
  explicit LoopbackServer(Script script, int backlog = 8);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int Port() const { return port; }
  std::string Url(const std::string& path = "") const;

  // A port on which nothing listens.
  static int ClosedPort();

 private:
  void AcceptLoop();

  Script script;
  std::intptr_t listener;
  int port = 0;
  bool accepting;
  std::atomic<bool> stopping{false};
  std::thread acceptThread;
  std::mutex mutex;
  std::vector<std::thread> workers;
  friend class ServerConnection;
};

// Opens raw client connections, e.g. to fill a listen queue.
std::intptr_t OpenRawClient(int port);
void CloseRaw(std::intptr_t s);
