// The entry point: one instance at most, start-up, the message loop.
#include <windows.h>

#include "shell/Application.h"
#include "toolkit/KernelHandle.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // A second instance ends silently. The handle stays open until the
  // process ends: the name is taken for exactly that long.
  SetLastError(0);
  KernelHandle instance(CreateMutexA(nullptr, FALSE, "*Korimba3*"));
  if (!instance.IsValid() || GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  if (!Initialize()) {
    Shutdown();
    return 0;
  }
  MSG message = {};
  for (;;) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) break;
    if (got == -1) return 0;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
