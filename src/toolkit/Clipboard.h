// Text on the clipboard, in the ANSI code page (CF_TEXT).
#pragma once

#include <windows.h>

class TextString;

// The owner window is required: a clipboard emptied without an owner refuses
// new data on Windows.
bool CopyTextToClipboard(const char* text, HWND owner);
// False, with text unchanged, when the clipboard holds no text or is busy.
bool GetClipboardText(TextString& text);
