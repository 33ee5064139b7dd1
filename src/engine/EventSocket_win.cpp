#include "engine/EventSocket.h"

#include <winsock2.h>

int SocketTraits::Close(Handle h) { return closesocket(static_cast<SOCKET>(h)); }

bool StartWinSock(int major, int minor) {
  WORD version = MAKEWORD(major, minor);
  WSADATA data;
  if (WSAStartup(version, &data) != 0) return false;
  if (data.wVersion != version) {
    WSACleanup();
    return false;
  }
  return true;
}

void CleanupWinSock() { WSACleanup(); }

EventSocket::~EventSocket() { CloseWaitEvent(); }

void EventSocket::CloseWaitEvent() {
  if (readEvent) WSACloseEvent(readEvent);
  readEvent = nullptr;
}

bool EventSocket::Create(int family, bool stream, int protocol) {
  CloseWaitEvent();
  socket.Reset(::socket(family, stream ? SOCK_STREAM : SOCK_DGRAM, protocol));
  return socket.IsValid();
}

std::uint32_t EventSocket::Resolve(const char* host) {
  std::uint32_t address = ParseAddress(host);
  return address != kAddressNone ? address : LookUp(host);
}

std::uint32_t EventSocket::ParseAddress(const char* host) { return inet_addr(host); }

std::uint32_t EventSocket::LookUp(const char* host) {
  hostent* entry = gethostbyname(host);
  if (entry && entry->h_addr_list && entry->h_addr_list[0] && entry->h_length == 4) {
    return *reinterpret_cast<const u_long*>(entry->h_addr_list[0]);
  }
  return kAddressNone;
}

bool EventSocket::ConnectWithTimeout(int family, int port, std::uint32_t address, std::uint32_t timeoutMs,
                                     Event* stop) {
  SOCKET s = static_cast<SOCKET>(socket.Get());
  WSAEVENT event = WSACreateEvent();
  if (event == WSA_INVALID_EVENT) return false;
  bool connected = false;
  if (WSAEventSelect(s, event, FD_CONNECT) != 0) {
    WSACloseEvent(event);
    return false;
  }
  sockaddr_in to{};
  to.sin_family = static_cast<ADDRESS_FAMILY>(family);
  to.sin_port = htons(static_cast<u_short>(port));
  to.sin_addr.s_addr = address;
  if (connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0 || WSAGetLastError() == WSAEWOULDBLOCK) {
    // The stop event comes second: a connect made as the stop came still
    // counts, and the caller sees the stop at its next check.
    WSAEVENT waitFor[2] = {event, stop ? static_cast<WSAEVENT>(stop->Native()) : nullptr};
    DWORD wait = WSAWaitForMultipleEvents(stop ? 2 : 1, waitFor, FALSE, timeoutMs, FALSE);
    WSANETWORKEVENTS events;
    if (wait == WSA_WAIT_EVENT_0 && WSAEnumNetworkEvents(s, event, &events) == 0 &&
        (events.lNetworkEvents & FD_CONNECT) && events.iErrorCode[FD_CONNECT_BIT] == 0) {
      connected = true;
    }
  }
  WSAEventSelect(s, nullptr, 0);
  WSACloseEvent(event);
  u_long blocking = 0;
  ioctlsocket(s, FIONBIO, &blocking);
  return connected;
}

int EventSocket::Send(const void* bytes, int length) {
  return send(static_cast<SOCKET>(socket.Get()), static_cast<const char*>(bytes), length, 0);
}

int EventSocket::Receive(void* buffer, int size) {
  return recv(static_cast<SOCKET>(socket.Get()), static_cast<char*>(buffer), size, 0);
}

int EventSocket::SetNonBlocking(bool on) {
  u_long value = on ? 1 : 0;
  return ioctlsocket(static_cast<SOCKET>(socket.Get()), FIONBIO, &value);
}

void EventSocket::Shutdown(int direction) {
  if (socket.IsValid()) shutdown(static_cast<SOCKET>(socket.Get()), direction);
}

int EventSocket::Close() {
  CloseWaitEvent();
  if (!socket.IsValid()) return -1;
  return socket.Close();
}

int EventSocket::Wait(Event* const* events, int count, std::uint32_t ms) {
  SOCKET s = static_cast<SOCKET>(socket.Get());
  if (!socket.IsValid() || count < 0 || count >= MAXIMUM_WAIT_OBJECTS) return kWaitFailed;
  if (!readEvent) {
    readEvent = WSACreateEvent();
    if (readEvent == WSA_INVALID_EVENT) {
      readEvent = nullptr;
      return kWaitFailed;
    }
    if (WSAEventSelect(s, readEvent, FD_READ | FD_CLOSE) != 0) {
      CloseWaitEvent();
      return kWaitFailed;
    }
  }
  HANDLE handles[MAXIMUM_WAIT_OBJECTS];
  for (int i = 0; i < count; ++i) handles[i] = events[i]->Native();
  handles[count] = readEvent;
  DWORD result = WaitForMultipleObjects(static_cast<DWORD>(count + 1), handles, FALSE,
                                        ms == kWaitForever ? INFINITE : ms);
  if (result == WAIT_TIMEOUT) return kWaitTimedOut;
  if (result < WAIT_OBJECT_0 || result > WAIT_OBJECT_0 + static_cast<DWORD>(count)) return kWaitFailed;
  int index = static_cast<int>(result - WAIT_OBJECT_0);
  if (index < count) return index;
  // Resets the event; the next read (which re-enables FD_READ) takes the data.
  WSANETWORKEVENTS news;
  WSAEnumNetworkEvents(s, readEvent, &news);
  return kWaitSocket;
}

bool EventSocket::LastErrorWouldBlock() { return WSAGetLastError() == WSAEWOULDBLOCK; }
