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
//
// Numbers may be decimal or 0x hexadecimal. Exit code 0 on success, 1 when
// no bar runs, 2 for a bad command line.
#include <windows.h>

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
