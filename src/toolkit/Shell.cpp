#include "toolkit/Shell.h"

#include <commctrl.h>
#include <shellapi.h>

#include "toolkit/TextString.h"
#include "toolkit/WebAddress.h"

DWORD LoadResourceData(HMODULE module, const char* type, const char* name, const void** data) {
  HRSRC found = FindResourceA(module, name, type);
  if (!found) return 0;
  HGLOBAL loaded = LoadResource(module, found);
  if (!loaded) return 0;
  const void* bytes = LockResource(loaded);
  if (!bytes) return 0;
  *data = bytes;
  return SizeofResource(module, found);
}

DWORD LoadResourceData(HMODULE module, const char* type, int id, const void** data) {
  return LoadResourceData(module, type, MAKEINTRESOURCEA(id), data);
}

// Loaded by name rather than imported: starting the library (it registers
// every class it has at once) was the largest single part of the program's
// start under Wine, and the bar itself uses none of its classes. The
// program's manifest still picks version 6.
HMODULE RegisterCommonControls() {
  HMODULE library = LoadLibraryA("comctl32.dll");
  if (!library) return nullptr;
  using Register = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  auto registerClasses =
      reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
  if (registerClasses) registerClasses(&classes);
  return library;
}

HICON LoadIconSized(int id, int size) {
  return static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

bool OpenProgramFile(const char* fileName) {
  TextString path(511);
  path.SetToExeDirectory(fileName);
  HINSTANCE result = ShellExecuteA(nullptr, "open", path.CStr(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool OpenWebPage(const char* url) {
  if (!IsWebAddress(url)) return false;
  HINSTANCE result = ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

int ShowWarning(const char* text) {
  return MessageBoxA(nullptr, text, nullptr, MB_TOPMOST | MB_TASKMODAL | MB_ICONWARNING);
}
