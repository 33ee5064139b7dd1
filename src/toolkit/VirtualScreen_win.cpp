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

const MonitorMetrics& ProcessMetrics() {
  static const MonitorMetrics metrics = [] {
    MonitorMetrics m;
    m.Prepare(&LookUpInUser32);
    return m;
  }();
  return metrics;
}

}  // namespace

int VirtualScreenMetric(int index) { return ProcessMetrics().Get(index); }

Rect VirtualScreenRect() { return VirtualScreenRect(ProcessMetrics()); }
