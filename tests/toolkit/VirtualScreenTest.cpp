#include "toolkit/VirtualScreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> gAsked;
std::string gMissing;

FARPROC LookUp(const char* name) {
  gAsked.push_back(name);
  if (gMissing == name) return nullptr;
  return GetProcAddress(GetModuleHandleA("USER32"), name);
}

}  // namespace

TEST(VirtualScreen, PreparationLooksUpEveryEntryPointInOrder) {
  gAsked.clear();
  gMissing.clear();
  MonitorMetrics metrics;
  metrics.Prepare(&LookUp);
  EXPECT_TRUE(metrics.HasMultipleMonitorSupport());
  EXPECT_EQ((std::vector<std::string>{"GetSystemMetrics", "MonitorFromWindow", "MonitorFromRect", "MonitorFromPoint",
                                      "EnumDisplayMonitors", "GetMonitorInfoA", "EnumDisplayDevicesA"}),
            gAsked);
  for (int index : {SM_XVIRTUALSCREEN, SM_CXVIRTUALSCREEN, SM_CMONITORS, SM_CXSCREEN}) {
    EXPECT_EQ(GetSystemMetrics(index), metrics.Get(index)) << index;
  }
}

TEST(VirtualScreen, WithoutMultipleMonitorSupportTheScreenIsTheVirtualScreen) {
  gAsked.clear();
  gMissing = "MonitorFromRect";
  MonitorMetrics metrics;
  metrics.Prepare(&LookUp);
  EXPECT_FALSE(metrics.HasMultipleMonitorSupport());
  EXPECT_EQ(3u, gAsked.size()) << "the lookup stops at the first missing entry";
  EXPECT_EQ(0, metrics.Get(SM_XVIRTUALSCREEN));
  EXPECT_EQ(0, metrics.Get(SM_YVIRTUALSCREEN));
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), metrics.Get(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), metrics.Get(SM_CYVIRTUALSCREEN));
  EXPECT_EQ(1, metrics.Get(SM_CMONITORS));
  EXPECT_EQ(1, metrics.Get(SM_SAMEDISPLAYFORMAT));
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), metrics.Get(SM_CYCAPTION));

  Rect screen = VirtualScreenRect(metrics);
  EXPECT_EQ(0, screen.left);
  EXPECT_EQ(0, screen.top);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), screen.right);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), screen.bottom);
  gMissing.clear();
}

TEST(VirtualScreen, ProcessMetricsSpanAllMonitors) {
  Rect screen = VirtualScreenRect();
  EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), screen.left);
  EXPECT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), screen.top);
  EXPECT_EQ(screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN), screen.right);
  EXPECT_GT(screen.Width(), 0);
  EXPECT_GT(screen.Height(), 0);
}
