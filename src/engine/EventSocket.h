// TCP socket over the platform's socket library. Its logic is a connect with
// a time-out and a wait for the socket's news together with events (a stop);
// every other call returns the platform's result.
#pragma once

#include <cstdint>

#include "toolkit/Event.h"
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

// Wait results besides the index of the event that was set.
constexpr int kWaitSocket = -1;    // data, the peer's close or an error: read to see which
constexpr int kWaitTimedOut = -2;
constexpr int kWaitFailed = -3;

class EventSocket {
 public:
  EventSocket() = default;
  ~EventSocket();
  EventSocket(const EventSocket&) = delete;
  EventSocket& operator=(const EventSocket&) = delete;

  bool Create(int family, bool stream, int protocol);
  // Dotted IPv4 first, then a name look-up; network byte order, or kAddressNone.
  static std::uint32_t Resolve(const char* host);
  // The two halves of Resolve: the dotted address alone (instant), and the
  // name look-up (blocks for as long as the name service takes; nothing
  // can cancel it).
  static std::uint32_t ParseAddress(const char* host);
  static std::uint32_t LookUp(const char* host);
  // A set stop event ends the wait at once, as a failed connect.
  bool ConnectWithTimeout(int family, int port, std::uint32_t address, std::uint32_t timeoutMs,
                          Event* stop = nullptr);
  int Send(const void* bytes, int length);
  int Receive(void* buffer, int size);
  int SetNonBlocking(bool on);
  void Shutdown(int direction);
  int Close();
  // Waits (the socket non-blocking from now on) until a read would not block
  // or one of events[0, count) is set, at most ms (kWaitForever: no limit).
  // Returns kWaitSocket, the index of the first event set, kWaitTimedOut or
  // kWaitFailed. The socket's news is not taken: the next read sees it.
  int Wait(Event* const* events, int count, std::uint32_t ms);
  bool IsValid() const { return socket.IsValid(); }
  SocketTraits::Handle Native() const { return socket.Get(); }

  // After a Receive that gave kSocketError: no data yet on a non-blocking socket.
  static bool LastErrorWouldBlock();

 private:
  void CloseWaitEvent();

  UniqueHandle<SocketTraits> socket;
#ifdef _WIN32
  void* readEvent = nullptr;  // WSAEVENT selected for FD_READ and FD_CLOSE
#endif
};
