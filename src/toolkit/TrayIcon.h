// The program's notification-area icon.
#pragma once

#include <windows.h>
#include <shellapi.h>

// The record of the oldest layout (a 64-byte tip), which every shell takes.
// The tip keeps at most 63 bytes, cut between characters.
void MakeTrayIconRecord(NOTIFYICONDATAA& record, HWND window, UINT id, UINT callbackMessage, HICON icon,
                        const char* tip);

bool AddTrayIcon(HWND window, UINT id, UINT callbackMessage, HICON icon, const char* tip);
bool RemoveTrayIcon(HWND window, UINT id);
