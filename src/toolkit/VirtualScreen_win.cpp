#include "toolkit/VirtualScreen.h"

namespace {

// Every entry point that a multi-monitor system has; one missing means a
// system that knows a single screen only.
const char* const kEntryPoints[] = {
    "GetSystemMetrics", "MonitorFromWindow",   "MonitorFromRect",     "MonitorFromPoint",
    "EnumDisplayMonitors", "GetMonitorInfoA", "EnumDisplayDevicesA",
};

FARPROC LookUpInUser32(const char* name) {
  HMODULE user32 = GetModuleHandleA("USER32");
  return user32 ? GetProcAddress(user32, name) : nullptr;
}

}  // namespace

void MonitorMetrics::Prepare(Lookup lookup) {
  getSystemMetrics = nullptr;
  FARPROC first = nullptr;
  for (const char* name : kEntryPoints) {
    FARPROC entry = lookup(name);
    if (!entry) return;
    if (!first) first = entry;
  }
  getSystemMetrics = reinterpret_cast<GetSystemMetricsFunction>(reinterpret_cast<void*>(first));
}

int MonitorMetrics::Get(int index) const {
  if (getSystemMetrics) return getSystemMetrics(index);
  switch (index) {
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
      return 0;
    case SM_CXVIRTUALSCREEN:
      return GetSystemMetrics(SM_CXSCREEN);
    case SM_CYVIRTUALSCREEN:
      return GetSystemMetrics(SM_CYSCREEN);
    case SM_CMONITORS:
    case SM_SAMEDISPLAYFORMAT:
      return 1;
    default:
      return GetSystemMetrics(index);
  }
}

Rect VirtualScreenRect(const MonitorMetrics& metrics) {
  Rect r;
  r.left = metrics.Get(SM_XVIRTUALSCREEN);
  r.top = metrics.Get(SM_YVIRTUALSCREEN);
  r.right = r.left + metrics.Get(SM_CXVIRTUALSCREEN);
  r.bottom = r.top + metrics.Get(SM_CYVIRTUALSCREEN);
  return r;
}

namespace {

// Windows are measured on the main thread only: a plain flag will do, and
// no guard from the C++ runtime (with its thread library) is linked in.
const MonitorMetrics& ProcessMetrics() {
  static MonitorMetrics metrics;
  static bool prepared = false;
  if (!prepared) {
    metrics.Prepare(&LookUpInUser32);
    prepared = true;
  }
  return metrics;
}

}  // namespace

int VirtualScreenMetric(int index) { return ProcessMetrics().Get(index); }

Rect VirtualScreenRect() { return VirtualScreenRect(ProcessMetrics()); }
