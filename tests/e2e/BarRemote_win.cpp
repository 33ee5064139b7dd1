// Reaches the running bar from outside, for the end-to-end tests: what a
// notification-area click or the system sends it, and what a user would see
// of it without a window manager.
//
//   bar_remote post MESSAGE WPARAM LPARAM   PostMessage to the bar
//   bar_remote send MESSAGE WPARAM LPARAM   SendMessage (5 s at most); prints the result
//   bar_remote state                        prints "visible enabled topmost left top width height"
//   bar_remote clipboard                    prints the clipboard's text (CF_TEXT) as hexadecimal bytes
//   bar_remote setclipboard HEX             puts the bytes as the clipboard's text
//   bar_remote cursor                       prints "x y", where Windows programs see the pointer
//   bar_remote window CLASS [ID]            prints "visible left top width height" of the client area,
//                                           in screen coordinates, of the first window of the class
//                                           (or of its child control ID)
//   bar_remote list CLASS ID                prints "count selection" of a list box control
//   bar_remote text CLASS ID                prints a control's text as hexadecimal bytes
//   bar_remote button CLASS ID INDEX        prints "left top width height" of a toolbar button,
//                                           in screen coordinates
//
// Numbers may be decimal or 0x hexadecimal. Exit code 0 on success, 1 when
// no bar (or no such window) runs, 2 for a bad command line.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

LPARAM Number(const char* text) { return static_cast<LPARAM>(std::strtoll(text, nullptr, 0)); }

int PrintClipboard() {
  if (!OpenClipboard(nullptr)) return 1;
  HANDLE data = GetClipboardData(CF_TEXT);
  const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
  if (text) {
    for (const char* p = text; *p; ++p) std::printf("%02x", static_cast<unsigned char>(*p));
    GlobalUnlock(data);
  }
  std::printf("\n");
  CloseClipboard();
  return 0;
}

int SetClipboard(const char* hex) {
  size_t length = std::strlen(hex) / 2;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length + 1);
  if (!block) return 1;
  char* bytes = static_cast<char*>(GlobalLock(block));
  for (size_t i = 0; i < length; ++i) {
    char pair[3] = {hex[2 * i], hex[2 * i + 1], 0};
    bytes[i] = static_cast<char>(std::strtol(pair, nullptr, 16));
  }
  GlobalUnlock(block);
  if (!OpenClipboard(nullptr)) {
    GlobalFree(block);
    return 1;
  }
  EmptyClipboard();
  bool set = SetClipboardData(CF_TEXT, block) != nullptr;
  CloseClipboard();
  if (!set) GlobalFree(block);
  return set ? 0 : 1;
}

// The window of a class, or its child control id (-1: the window itself).
HWND FindControl(const char* className, int id) {
  HWND window = FindWindowA(className, nullptr);
  if (!window || id < 0) return window;
  return GetDlgItem(window, id);
}

int PrintClient(HWND window) {
  RECT r = {};
  if (!GetClientRect(window, &r)) return 1;
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  std::printf("%d %ld %ld %ld %ld\n", IsWindowVisible(window) ? 1 : 0, origin.x, origin.y, r.right, r.bottom);
  return 0;
}

// The other process's own controls answer these; the texts are copied across.
int QueryControl(const char* command, const char* className, int id) {
  HWND control = FindControl(className, id);
  if (!control) return 1;
  if (std::strcmp(command, "window") == 0) return PrintClient(control);
  if (std::strcmp(command, "list") == 0) {
    std::printf("%ld %ld\n", static_cast<long>(SendMessageA(control, LB_GETCOUNT, 0, 0)),
                static_cast<long>(SendMessageA(control, LB_GETCURSEL, 0, 0)));
    return 0;
  }
  char text[1024] = {};
  // GetWindowText reads another process's edit box only as it was made.
  SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  for (const char* p = text; *p; ++p) std::printf("%02x", static_cast<unsigned char>(*p));
  std::printf("\n");
  return 0;
}

// A toolbar answers TB_GETITEMRECT into its own process's memory.
int PrintButton(const char* className, int id, int index) {
  HWND toolbar = FindControl(className, id);
  if (!toolbar) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(toolbar, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return 1;
  void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
  RECT r = {};
  bool got = remote && SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index),
                                    reinterpret_cast<LPARAM>(remote)) &&
             ReadProcessMemory(process, remote, &r, sizeof r, nullptr);
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  if (!got) return 1;
  MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&r), 2);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (std::strcmp(argv[1], "clipboard") == 0 && argc == 2) return PrintClipboard();
  if (std::strcmp(argv[1], "setclipboard") == 0 && argc == 3) return SetClipboard(argv[2]);
  if (std::strcmp(argv[1], "cursor") == 0 && argc == 2) {
    POINT at;
    if (!GetCursorPos(&at)) return 1;
    std::printf("%ld %ld\n", at.x, at.y);
    return 0;
  }
  if (std::strcmp(argv[1], "window") == 0 && (argc == 3 || argc == 4)) {
    return QueryControl(argv[1], argv[2], argc == 4 ? static_cast<int>(Number(argv[3])) : -1);
  }
  if ((std::strcmp(argv[1], "list") == 0 || std::strcmp(argv[1], "text") == 0) && argc == 4) {
    return QueryControl(argv[1], argv[2], static_cast<int>(Number(argv[3])));
  }
  if (std::strcmp(argv[1], "button") == 0 && argc == 5) {
    return PrintButton(argv[2], static_cast<int>(Number(argv[3])), static_cast<int>(Number(argv[4])));
  }
  HWND bar = FindWindowA("kmb_main", "Velmorin");
  if (!bar) return 1;
  const char* command = argv[1];
  if ((std::strcmp(command, "post") == 0 || std::strcmp(command, "send") == 0) && argc == 5) {
    UINT message = static_cast<UINT>(Number(argv[2]));
    WPARAM wParam = static_cast<WPARAM>(Number(argv[3]));
    LPARAM lParam = Number(argv[4]);
    if (command[0] == 'p') return PostMessageA(bar, message, wParam, lParam) ? 0 : 1;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(bar, message, wParam, lParam, SMTO_NORMAL, 5000, &result)) return 1;
    std::printf("%lld\n", static_cast<long long>(result));
    return 0;
  }
  if (std::strcmp(command, "state") == 0 && argc == 2) {
    RECT r = {};
    GetWindowRect(bar, &r);
    bool topmost = (GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    // A task-modal box disables the bar until the box has gone.
    std::printf("%d %d %d %ld %ld %ld %ld\n", IsWindowVisible(bar) ? 1 : 0, IsWindowEnabled(bar) ? 1 : 0,
                topmost ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  return 2;
}
