// Owner traits for kernel objects closed with CloseHandle (events, threads).
// Windows only.
#pragma once

#include <windows.h>

#include "toolkit/UniqueHandle.h"

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static int Close(Handle h) { return CloseHandle(h) ? 0 : -1; }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
