// Text on the clipboard, in the ANSI code page (CF_TEXT).
#pragma once

class TextString;

bool CopyTextToClipboard(const char* text);
// False, with text unchanged, when the clipboard holds no text or is busy.
bool GetClipboardText(TextString& text);
