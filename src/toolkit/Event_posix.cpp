#include "toolkit/Event.h"

#include <errno.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "toolkit/Platform.h"

Event::~Event() {
  if (handle >= 0) close(handle);
}

bool Event::Create(bool manualReset) {
  if (handle >= 0) close(handle);
  manual = manualReset;
  handle = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  return handle >= 0;
}

void Event::Set() {
  std::uint64_t one = 1;
  ssize_t written = write(handle, &one, sizeof one);
  (void)written;  // a full counter is set already
}

void Event::Reset() {
  std::uint64_t count;
  ssize_t got = read(handle, &count, sizeof count);
  (void)got;  // EAGAIN: it was not set
}

bool Event::IsValid() const { return handle >= 0; }

bool Event::TakeSignal() {
  if (manual) return true;
  std::uint64_t count;
  return read(handle, &count, sizeof count) == sizeof count;
}

int Event::PollTimeout(std::uint32_t start, std::uint32_t ms) {
  if (ms == kWaitForever) return -1;
  std::uint32_t spent = platform::TickCount() - start;
  return spent >= ms ? 0 : static_cast<int>(ms - spent);
}

bool Event::Wait(std::uint32_t ms) {
  std::uint32_t start = platform::TickCount();
  for (;;) {
    int timeout = PollTimeout(start, ms);
    pollfd p{handle, POLLIN, 0};
    int ready = poll(&p, 1, timeout);
    if (ready < 0 && errno == EINTR) continue;
    if (ready != 1) return false;
    if (TakeSignal()) return true;
    if (timeout == 0) return false;  // another waiter took it
  }
}
