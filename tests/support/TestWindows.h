// Windows tests only: a plain hidden parent window for controls, a message
// pump that waits for a condition with a deadline, and a helper that answers
// modal boxes from inside their own message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

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

// Runs run(); when it opens a dialog box on this thread, answer(box) is
// called once from inside the box's own message loop and must end it.
// Returns whether a box was answered.
bool AnswerModalBox(const std::function<void()>& run, const std::function<void(HWND box)>& answer);
// The text of a message box.
std::string MessageBoxText(HWND box);
