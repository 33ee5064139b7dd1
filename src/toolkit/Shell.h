// Free operations over the program's own resources, the shell and the one
// warning box style of the program.
#pragma once

#include <windows.h>

#include "toolkit/UniqueHandle.h"

// The resource's bytes, read-only for the life of the module. Returns their
// size, or 0 with data untouched when the resource is missing.
DWORD LoadResourceData(HMODULE module, const char* type, const char* name, const void** data);
DWORD LoadResourceData(HMODULE module, const char* type, int id, const void** data);

// Icon id of the program's module at size x size pixels; null when missing.
// The caller owns it (IconHandle).
HICON LoadIconSized(int id, int size);

struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static int Close(Handle h) { return DestroyIcon(h); }
};
using IconHandle = UniqueHandle<IconTraits>;

// Loads the common-controls library and registers its window classes (list
// view, toolbar, tabs, track bar, up-down, tooltips, status bar). Returns the
// library, or null when it cannot be loaded.
HMODULE RegisterCommonControls();

// Opens fileName beside the executable with its associated program.
bool OpenProgramFile(const char* fileName);

// Opens a web address in the browser. Stations name their pages in stream
// headers, playlists and favorites: anything that is not a web address (a
// program, a document path) is refused with false.
bool OpenWebPage(const char* url);

// Task-modal, topmost warning box without owner or caption; returns the
// button pressed.
int ShowWarning(const char* text);
