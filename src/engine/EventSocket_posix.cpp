#include "engine/EventSocket.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "toolkit/Platform.h"

int SocketTraits::Close(Handle h) { return ::close(h); }

bool StartWinSock(int major, int minor) { return major == 2 && minor == 2; }
void CleanupWinSock() {}

EventSocket::~EventSocket() = default;

void EventSocket::CloseWaitEvent() {}

bool EventSocket::Create(int family, bool stream, int protocol) {
  socket.Reset(::socket(family, (stream ? SOCK_STREAM : SOCK_DGRAM) | SOCK_CLOEXEC, protocol));
  return socket.IsValid();
}

std::uint32_t EventSocket::Resolve(const char* host) {
  std::uint32_t address = ParseAddress(host);
  return address != kAddressNone ? address : LookUp(host);
}

std::uint32_t EventSocket::ParseAddress(const char* host) { return inet_addr(host); }

std::uint32_t EventSocket::LookUp(const char* host) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found) return kAddressNone;
  std::uint32_t result = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  freeaddrinfo(found);
  return result;
}

bool EventSocket::ConnectWithTimeout(int family, int port, std::uint32_t address, std::uint32_t timeoutMs,
                                     Event* stop) {
  int s = socket.Get();
  int flags = fcntl(s, F_GETFL, 0);
  if (flags < 0 || fcntl(s, F_SETFL, flags | O_NONBLOCK) != 0) return false;
  sockaddr_in to{};
  to.sin_family = static_cast<sa_family_t>(family);
  to.sin_port = htons(static_cast<std::uint16_t>(port));
  to.sin_addr.s_addr = address;
  bool connected = false;
  if (::connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) {
    connected = true;
  } else if (errno == EINPROGRESS) {
    pollfd p[2] = {{s, POLLOUT, 0}, {stop ? stop->Native() : -1, POLLIN, 0}};
    std::uint32_t start = platform::TickCount();
    int ready;
    do {
      // A signal does not restart the whole wait.
      ready = ::poll(p, stop ? 2 : 1, Event::PollTimeout(start, timeoutMs));
    } while (ready < 0 && errno == EINTR);
    int error = 0;
    socklen_t length = sizeof error;
    if (ready >= 1 && (p[0].revents & (POLLOUT | POLLERR | POLLHUP)) &&
        getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) {
      connected = true;
    }
  }
  fcntl(s, F_SETFL, flags & ~O_NONBLOCK);
  return connected;
}

int EventSocket::Send(const void* bytes, int length) {
  return static_cast<int>(::send(socket.Get(), bytes, static_cast<size_t>(length), MSG_NOSIGNAL));
}

int EventSocket::Receive(void* buffer, int size) {
  return static_cast<int>(::recv(socket.Get(), buffer, static_cast<size_t>(size), 0));
}

int EventSocket::SetNonBlocking(bool on) {
  int flags = fcntl(socket.Get(), F_GETFL, 0);
  if (flags < 0) return -1;
  return fcntl(socket.Get(), F_SETFL, on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK)) == 0 ? 0 : -1;
}

void EventSocket::Shutdown(int direction) {
  if (socket.IsValid()) ::shutdown(socket.Get(), direction);
}

int EventSocket::Close() {
  if (!socket.IsValid()) return -1;
  return socket.Close();
}

int EventSocket::Wait(Event* const* events, int count, std::uint32_t ms) {
  if (!socket.IsValid() || count < 0 || count > 8) return kWaitFailed;
  if (SetNonBlocking(true) != 0) return kWaitFailed;
  pollfd p[9];
  for (int i = 0; i < count; ++i) p[i] = {events[i]->Native(), POLLIN, 0};
  p[count] = {socket.Get(), POLLIN, 0};
  std::uint32_t start = platform::TickCount();
  for (;;) {
    int timeout = Event::PollTimeout(start, ms);
    int ready = ::poll(p, static_cast<nfds_t>(count + 1), timeout);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return kWaitFailed;
    if (ready == 0) return kWaitTimedOut;
    for (int i = 0; i < count; ++i) {
      if ((p[i].revents & POLLIN) && events[i]->TakeSignal()) return i;
    }
    if (p[count].revents) return kWaitSocket;
    // An auto-reset event that another waiter took: wait on.
  }
}

bool EventSocket::LastErrorWouldBlock() { return errno == EAGAIN || errno == EWOULDBLOCK; }
