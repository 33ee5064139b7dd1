#include "toolkit/Event.h"

#include <windows.h>

Event::~Event() {
  if (handle) CloseHandle(handle);
}

bool Event::Create(bool manualReset) {
  if (handle) CloseHandle(handle);
  manual = manualReset;
  handle = CreateEventA(nullptr, manualReset ? TRUE : FALSE, FALSE, nullptr);
  return handle != nullptr;
}

void Event::Set() { SetEvent(handle); }
void Event::Reset() { ResetEvent(handle); }
bool Event::IsValid() const { return handle != nullptr; }

bool Event::Wait(std::uint32_t ms) {
  return WaitForSingleObject(handle, ms == kWaitForever ? INFINITE : ms) == WAIT_OBJECT_0;
}
