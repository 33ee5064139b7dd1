#include "support/TestWindows.h"

#include <commctrl.h>

void InitTestControls() {
  static bool done = [] {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)done;
}

HostWindow::HostWindow() {
  InitTestControls();
  static ATOM registered = [] {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "velmorin_test_host";
    return RegisterClassExA(&wc);
  }();
  (void)registered;
  hwnd = CreateWindowExA(0, "velmorin_test_host", "host", WS_POPUP | WS_CLIPCHILDREN, 100, 100, 400, 300, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

HostWindow::~HostWindow() {
  if (hwnd) DestroyWindow(hwnd);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= timeoutMs) return done();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}
