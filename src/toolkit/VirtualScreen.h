// Screen metrics that know about several monitors: the virtual screen spans
// all of them.
#pragma once

#include <windows.h>

#include "toolkit/WindowGeometry.h"

// GetSystemMetrics through the multiple-monitor entry points of USER32 when
// all of them exist; without them it answers the virtual-screen and monitor
// metrics itself from the single screen.
class MonitorMetrics {
 public:
  using Lookup = FARPROC (*)(const char* name);

  // Looks the entry points up with lookup, stopping at the first missing one.
  void Prepare(Lookup lookup);
  int Get(int index) const;
  bool HasMultipleMonitorSupport() const { return getSystemMetrics != nullptr; }

 private:
  using GetSystemMetricsFunction = int(WINAPI*)(int);
  GetSystemMetricsFunction getSystemMetrics = nullptr;
};

// The process's metrics, prepared from USER32 at the first call.
int VirtualScreenMetric(int index);
Rect VirtualScreenRect();
// The rectangle of the virtual screen as metrics gives it.
Rect VirtualScreenRect(const MonitorMetrics& metrics);
