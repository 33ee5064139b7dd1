#include "support/TestWindows.h"

#include <commctrl.h>

#include <cstring>

namespace {

struct ModalAnswer {
  const std::function<void(HWND)>* answer = nullptr;
  bool answered = false;
  HWND found = nullptr;
};
ModalAnswer gModal;

BOOL CALLBACK FindDialogBox(HWND window, LPARAM) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  gModal.found = window;
  return FALSE;
}

void CALLBACK LookForBox(HWND, UINT, UINT_PTR timer, DWORD) {
  gModal.found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindDialogBox, 0);
  if (gModal.found && !gModal.answered) {
    gModal.answered = true;
    KillTimer(nullptr, timer);
    (*gModal.answer)(gModal.found);
  }
}

}  // namespace

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

bool AnswerModalBox(const std::function<void()>& run, const std::function<void(HWND box)>& answer) {
  gModal = ModalAnswer{};
  gModal.answer = &answer;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, &LookForBox);
  run();
  if (!gModal.answered) KillTimer(nullptr, timer);
  return gModal.answered;
}

std::string MessageBoxText(HWND box) {
  char text[512] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return text;
}
