// An event that one thread sets and another waits for, alone or together with
// a socket (EventSocket::Wait). Windows: an event object; POSIX: an eventfd.
// An auto-reset event is taken by the wait that sees it; a manual-reset one
// stays set until Reset.
#pragma once

#include <cstdint>

#ifdef _WIN32
using EventHandle = void*;  // HANDLE
#else
using EventHandle = int;  // eventfd
#endif

constexpr std::uint32_t kWaitForever = 0xFFFFFFFFu;

class Event {
 public:
  Event() = default;
  ~Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  // Not set at first; false when the system has none to give.
  bool Create(bool manualReset);
  void Set();
  void Reset();
  // Waits at most ms (kWaitForever: no limit); true when the event was set.
  bool Wait(std::uint32_t ms);
  // Wait(0): whether it is set now, taking an auto-reset event's signal.
  bool IsSet() { return Wait(0); }
  bool IsValid() const;
  bool ManualReset() const { return manual; }
  EventHandle Native() const { return handle; }

#ifndef _WIN32
  // After poll found the eventfd readable: takes an auto-reset event's signal.
  // False when another waiter took it first.
  bool TakeSignal();
  // poll's time-out for what is left of ms (kWaitForever: -1) since start.
  static int PollTimeout(std::uint32_t start, std::uint32_t ms);
#endif

 private:
#ifdef _WIN32
  EventHandle handle = nullptr;
#else
  EventHandle handle = -1;
#endif
  bool manual = false;
};
