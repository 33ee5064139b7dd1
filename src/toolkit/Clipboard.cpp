#include "toolkit/Clipboard.h"

#include <windows.h>

#include <cstring>

#include "toolkit/TextString.h"

bool CopyTextToClipboard(const char* text, HWND owner) {
  size_t length = std::strlen(text);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length + 1);
  if (!block) return false;
  void* bytes = GlobalLock(block);
  if (!bytes) {
    GlobalFree(block);
    return false;
  }
  std::memcpy(bytes, text, length + 1);
  GlobalUnlock(block);
  if (!OpenClipboard(owner)) {
    GlobalFree(block);
    return false;
  }
  EmptyClipboard();
  // The clipboard owns the block once it took it; a refused block is ours.
  bool set = SetClipboardData(CF_TEXT, block) != nullptr;
  CloseClipboard();
  if (!set) GlobalFree(block);
  return set;
}

bool GetClipboardText(TextString& text) {
  if (!IsClipboardFormatAvailable(CF_TEXT)) return false;
  if (!OpenClipboard(nullptr)) return false;
  bool got = false;
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data) {
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (bytes) {
      // Another program's block need not end with a NUL: read no further
      // than the block reaches.
      size_t size = GlobalSize(data);
      const void* nul = std::memchr(bytes, '\0', size);
      size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - bytes) : size;
      if (length > 0x7FFFFFFE) length = 0x7FFFFFFE;
      text.Assign(bytes, static_cast<int>(length));
      GlobalUnlock(data);
      got = true;
    }
  }
  CloseClipboard();
  return got;
}
