#include "toolkit/TrayIcon.h"

#include <cstring>

#include "toolkit/Platform.h"

void MakeTrayIconRecord(NOTIFYICONDATAA& record, HWND window, UINT id, UINT callbackMessage, HICON icon,
                        const char* tip) {
  std::memset(&record, 0, sizeof record);
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = window;
  record.uID = id;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = callbackMessage;
  record.hIcon = icon;
  // A double-byte character that would not fit whole is left out.
  const int limit = 63;
  const char* end = tip;
  while (*end) {
    const char* next = platform::NextChar(end);
    if (next - tip > limit) break;
    end = next;
  }
  std::memcpy(record.szTip, tip, static_cast<size_t>(end - tip));
  record.szTip[end - tip] = '\0';
}

bool AddTrayIcon(HWND window, UINT id, UINT callbackMessage, HICON icon, const char* tip) {
  NOTIFYICONDATAA record;
  MakeTrayIconRecord(record, window, id, callbackMessage, icon, tip);
  return Shell_NotifyIconA(NIM_ADD, &record) != FALSE;
}

bool RemoveTrayIcon(HWND window, UINT id) {
  NOTIFYICONDATAA record;
  std::memset(&record, 0, sizeof record);
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = window;
  record.uID = id;
  return Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
}
