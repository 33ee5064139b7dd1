#include "toolkit/Shell.h"

#include <gtest/gtest.h>

#include <cstring>

#include "WindowTestResources.h"

TEST(Shell, LoadResourceDataGivesTheBytesOrLeavesThePointer) {
  const void* data = nullptr;
  DWORD size = LoadResourceData(GetModuleHandleA(nullptr), RT_RCDATA, IDR_DATA, &data);
  ASSERT_EQ(14u, size);
  ASSERT_NE(nullptr, data);
  EXPECT_EQ(0, std::memcmp("Velmorin data", data, 14));

  const void* untouched = &size;
  EXPECT_EQ(0u, LoadResourceData(GetModuleHandleA(nullptr), RT_RCDATA, 4711, &untouched));
  EXPECT_EQ(&size, untouched);
}

TEST(Shell, LoadIconSizedLoadsTheRequestedSize) {
  for (int size : {16, 32}) {
    HICON icon = LoadIconSized(IDI_TEST, size);
    ASSERT_NE(nullptr, icon) << size;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(size, bitmap.bmWidth);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  EXPECT_EQ(nullptr, LoadIconSized(4711, 16));
}

TEST(Shell, OpenProgramFileOfAMissingFileFails) {
  EXPECT_FALSE(OpenProgramFile("velmorin-no-such-file.html"));
}
