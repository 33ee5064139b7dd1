// Reaches the running bar from outside, for the end-to-end tests: what a
// notification-area click or the system sends it, and what a user would see
// of it without a window manager.
//
//   bar_remote [@WINDOW] post MESSAGE WPARAM LPARAM   PostMessage to the window
//   bar_remote [@WINDOW] send MESSAGE WPARAM LPARAM   SendMessage (5 s at most); prints the result
//   bar_remote [@WINDOW] state                        prints "visible enabled topmost left top width height"
//   bar_remote [@WINDOW] rect MESSAGE WPARAM          sends MESSAGE with a RECT (zeroed) in the window's
//                                                     process; prints it as "left top right bottom" on
//                                                     the screen (for LVM_GETITEMRECT, TB_GETRECT)
//   bar_remote [@WINDOW] text                         prints the window's text as hexadecimal bytes
//   bar_remote [@WINDOW] settext HEX                  sets the window's text to the bytes
//   bar_remote [@WINDOW] cell ROW COLUMN              prints a list view cell as hexadecimal bytes
//   bar_remote clipboard                              prints the clipboard's text (CF_TEXT) as hexadecimal bytes
//   bar_remote setclipboard HEX                       puts the bytes as the clipboard's text
//   bar_remote cursor                                 prints "x y", where Windows programs see the pointer
//
// WINDOW is the bar (the default), "fav" (the favorites window), "search"
// (the search window) or "title:HEX" (a visible dialog of the program with
// that code page 932 caption), followed by "/ID" for a control of it.
// Numbers may be decimal or 0x hexadecimal. Exit code 0 on success, 1 when
// the window is not there, 2 for a bad command line.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Says on stderr which step failed and why, so a failing test shows it.
int Fail(const char* what) {
  std::fprintf(stderr, "%s failed, error %lu\n", what, GetLastError());
  return 1;
}

LPARAM Number(const char* text) { return static_cast<LPARAM>(std::strtoll(text, nullptr, 0)); }

void PrintHex(const char* text) {
  for (const char* p = text; *p; ++p) std::printf("%02x", static_cast<unsigned char>(*p));
  std::printf("\n");
}

// Hexadecimal pairs into bytes; out holds strlen(hex) / 2 + 1.
void FromHex(const char* hex, char* out) {
  size_t length = std::strlen(hex) / 2;
  for (size_t i = 0; i < length; ++i) {
    char pair[3] = {hex[2 * i], hex[2 * i + 1], 0};
    out[i] = static_cast<char>(std::strtol(pair, nullptr, 16));
  }
  out[length] = '\0';
}

int PrintClipboard() {
  if (!OpenClipboard(nullptr)) return Fail("OpenClipboard");
  HANDLE data = GetClipboardData(CF_TEXT);
  const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
  PrintHex(text ? text : "");
  if (text) GlobalUnlock(data);
  CloseClipboard();
  return 0;
}

int SetClipboard(const char* hex) {
  size_t length = std::strlen(hex) / 2;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length + 1);
  if (!block) return Fail("GlobalAlloc");
  FromHex(hex, static_cast<char*>(GlobalLock(block)));
  GlobalUnlock(block);
  if (!OpenClipboard(nullptr)) {
    GlobalFree(block);
    return Fail("OpenClipboard");
  }
  EmptyClipboard();
  bool set = SetClipboardData(CF_TEXT, block) != nullptr;
  CloseClipboard();
  if (!set) GlobalFree(block);
  return set ? 0 : 1;
}

// A block in the window's process, for messages whose parameters point at
// memory: a common control reads and writes them in its own process.
class RemoteBlock {
 public:
  RemoteBlock(HWND window, SIZE_T size) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (process) address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (address) VirtualFreeEx(process, address, 0, MEM_RELEASE);
    if (process) CloseHandle(process);
  }
  bool Valid() const { return address != nullptr; }
  char* At(SIZE_T offset) const { return static_cast<char*>(address) + offset; }
  bool Write(SIZE_T offset, const void* bytes, SIZE_T size) {
    return WriteProcessMemory(process, At(offset), bytes, size, nullptr) != FALSE;
  }
  bool Read(SIZE_T offset, void* bytes, SIZE_T size) {
    return ReadProcessMemory(process, At(offset), bytes, size, nullptr) != FALSE;
  }

 private:
  HANDLE process = nullptr;
  void* address = nullptr;
};

struct DialogSearch {
  const char* title;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM search) {
  DialogSearch* s = reinterpret_cast<DialogSearch*>(search);
  char name[16] = {};
  char title[256] = {};
  GetClassNameA(window, name, sizeof name);
  GetWindowTextA(window, title, sizeof title);
  if (std::strcmp(name, "#32770") != 0 || std::strcmp(title, s->title) != 0 || !IsWindowVisible(window)) return TRUE;
  s->found = window;
  return FALSE;
}

// "@fav/5011", "@search/5022", "@title:e7b7a8/1200", or nothing for the bar.
HWND FindTarget(const char* spec) {
  char copy[512] = {};
  std::strncpy(copy, spec, sizeof copy - 1);
  char* child = std::strchr(copy, '/');
  if (child) *child++ = '\0';
  HWND window = nullptr;
  if (std::strcmp(copy, "") == 0 || std::strcmp(copy, "bar") == 0) {
    window = FindWindowA("kmb_main", "Velmorin");
  } else if (std::strcmp(copy, "fav") == 0) {
    window = FindWindowA("kmb_fav", nullptr);
  } else if (std::strcmp(copy, "search") == 0) {
    window = FindWindowA("kmb_search", nullptr);
  } else if (std::strncmp(copy, "title:", 6) == 0) {
    char title[256];
    FromHex(copy + 6, title);
    DialogSearch search = {title, nullptr};
    EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
    window = search.found;
  }
  if (window && child) window = GetDlgItem(window, static_cast<int>(std::strtol(child, nullptr, 0)));
  return window;
}

int PrintRect(HWND window, UINT message, WPARAM wParam) {
  RemoteBlock block(window, sizeof(RECT));
  RECT r = {};
  if (!block.Valid()) return Fail("VirtualAllocEx");
  if (!block.Write(0, &r, sizeof r)) return Fail("WriteProcessMemory");
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, reinterpret_cast<LPARAM>(block.At(0)), SMTO_NORMAL, 5000,
                           &result)) {
    return Fail("SendMessageTimeout");
  }
  if (!block.Read(0, &r, sizeof r)) return Fail("ReadProcessMemory");
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
  return 0;
}

int PrintCell(HWND list, int row, int column) {
  constexpr int kTextSize = 65536;
  RemoteBlock block(list, sizeof(LVITEMA) + kTextSize);
  if (!block.Valid()) return Fail("VirtualAllocEx");
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = block.At(sizeof item);
  item.cchTextMax = kTextSize;
  if (!block.Write(0, &item, sizeof item)) return Fail("WriteProcessMemory");
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.At(0)),
                           SMTO_NORMAL, 5000, &result)) {
    return Fail("SendMessageTimeout");
  }
  static char text[kTextSize];
  if (!block.Read(sizeof item, text, kTextSize)) return Fail("ReadProcessMemory");
  text[kTextSize - 1] = '\0';
  PrintHex(text);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (std::strcmp(argv[1], "clipboard") == 0 && argc == 2) return PrintClipboard();
  if (std::strcmp(argv[1], "setclipboard") == 0 && argc == 3) return SetClipboard(argv[2]);
  if (std::strcmp(argv[1], "cursor") == 0 && argc == 2) {
    POINT at;
    if (!GetCursorPos(&at)) return Fail("GetCursorPos");
    std::printf("%ld %ld\n", at.x, at.y);
    return 0;
  }
  const char* target = "";
  if (argv[1][0] == '@') {
    target = argv[1] + 1;
    ++argv;
    --argc;
    if (argc < 2) return 2;
  }
  HWND bar = FindTarget(target);
  if (!bar) return Fail("finding the window");
  const char* command = argv[1];
  if (std::strcmp(command, "rect") == 0 && argc == 4) {
    return PrintRect(bar, static_cast<UINT>(Number(argv[2])), static_cast<WPARAM>(Number(argv[3])));
  }
  if (std::strcmp(command, "cell") == 0 && argc == 4) {
    return PrintCell(bar, static_cast<int>(Number(argv[2])), static_cast<int>(Number(argv[3])));
  }
  if (std::strcmp(command, "text") == 0 && argc == 2) {
    // WM_GETTEXT reaches another process's controls; GetWindowTextA does not.
    static char text[65536];
    DWORD_PTR result = 0;
    LPARAM buffer = reinterpret_cast<LPARAM>(text);
    if (!SendMessageTimeoutA(bar, WM_GETTEXT, sizeof text, buffer, SMTO_NORMAL, 5000, &result)) {
      return Fail("SendMessageTimeout");
    }
    PrintHex(text);
    return 0;
  }
  if (std::strcmp(command, "settext") == 0 && argc == 3) {
    static char text[65536];
    if (std::strlen(argv[2]) / 2 >= sizeof text) return 2;
    FromHex(argv[2], text);
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(bar, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &result) ? 0 : 1;
  }
  if ((std::strcmp(command, "post") == 0 || std::strcmp(command, "send") == 0) && argc == 5) {
    UINT message = static_cast<UINT>(Number(argv[2]));
    WPARAM wParam = static_cast<WPARAM>(Number(argv[3]));
    LPARAM lParam = Number(argv[4]);
    if (command[0] == 'p') return PostMessageA(bar, message, wParam, lParam) ? 0 : 1;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(bar, message, wParam, lParam, SMTO_NORMAL, 5000, &result)) {
      return Fail("SendMessageTimeout");
    }
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
