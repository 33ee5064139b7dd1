#include "toolkit/TrayIcon.h"

#include <gtest/gtest.h>

#include <string>

TEST(TrayIcon, RecordHasTheOldLayoutAndACutTip) {
  NOTIFYICONDATAA record;
  HWND window = reinterpret_cast<HWND>(0x1234);
  HICON icon = reinterpret_cast<HICON>(0x5678);
  std::string tip(100, 't');
  MakeTrayIconRecord(record, window, 5001, WM_USER + 1, icon, tip.c_str());
  EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE), record.cbSize);
  EXPECT_EQ(window, record.hWnd);
  EXPECT_EQ(5001u, record.uID);
  EXPECT_EQ(7u, record.uFlags);
  EXPECT_EQ(static_cast<UINT>(WM_USER + 1), record.uCallbackMessage);
  EXPECT_EQ(icon, record.hIcon);
  EXPECT_EQ(std::string(63, 't'), record.szTip);

  MakeTrayIconRecord(record, window, 5001, WM_USER + 1, icon, "Velmorin");
  EXPECT_STREQ("Velmorin", record.szTip);

  // A double-byte character across the 63-byte limit is left out whole.
  std::string japanese = std::string(62, 'a') + "\x83\x8d" + "b";
  MakeTrayIconRecord(record, window, 5001, WM_USER + 1, icon, japanese.c_str());
  EXPECT_EQ(std::string(62, 'a'), record.szTip);
}
