// Windows tests only: a plain hidden parent window for controls, and a
// message pump that waits for a condition with a deadline.
#pragma once

#include <windows.h>

#include <functional>

// Registers the common-control classes once, as start-up does.
void InitTestControls();

// A hidden pop-up window of a DefWindowProc class, destroyed with the object.
class HostWindow {
 public:
  HostWindow();
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND Get() const { return hwnd; }

 private:
  HWND hwnd;
};

// Dispatches this thread's messages until done() holds or timeoutMs passed;
// returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
