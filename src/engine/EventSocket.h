// TCP socket over the platform's socket library. Its one piece of logic is a
// connect with a time-out; every other call returns the platform's result.
#pragma once

#include <cstdint>

#include "toolkit/UniqueHandle.h"

struct SocketTraits {
#ifdef _WIN32
  using Handle = std::uintptr_t;  // SOCKET
  static Handle Invalid() { return ~static_cast<Handle>(0); }
#else
  using Handle = int;
  static Handle Invalid() { return -1; }
#endif
  static int Close(Handle h);
};

// WSAStartup with the version asked for; a library that grants another
// version counts as a failed start and is cleaned up at once.
bool StartWinSock(int major, int minor);
void CleanupWinSock();

constexpr int kInetFamily = 2;               // AF_INET on every platform
constexpr int kShutdownBoth = 2;             // SD_BOTH / SHUT_RDWR
constexpr std::uint32_t kAddressNone = 0xFFFFFFFFu;  // INADDR_NONE
constexpr int kSocketError = -1;             // SOCKET_ERROR

class EventSocket {
 public:
  EventSocket() = default;
  EventSocket(const EventSocket&) = delete;
  EventSocket& operator=(const EventSocket&) = delete;

  bool Create(int family, bool stream, int protocol);
  // Dotted IPv4 first, then a name look-up; network byte order, or kAddressNone.
  static std::uint32_t Resolve(const char* host);
  bool ConnectWithTimeout(int family, int port, std::uint32_t address, std::uint32_t timeoutMs);
  int Send(const void* bytes, int length);
  int Receive(void* buffer, int size);
  int SetNonBlocking(bool on);
  void Shutdown(int direction);
  int Close();
  bool IsValid() const { return socket.IsValid(); }
  SocketTraits::Handle Native() const { return socket.Get(); }

  // After a Receive that gave kSocketError: no data yet on a non-blocking socket.
  static bool LastErrorWouldBlock();

 private:
  UniqueHandle<SocketTraits> socket;
};
