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

namespace {

struct WarningBoxSeen {
  DWORD thread = 0;
  HWND box = nullptr;
  bool textFound = false;
  const char* text = nullptr;
};

BOOL CALLBACK FindText(HWND child, LPARAM param) {
  auto* seen = reinterpret_cast<WarningBoxSeen*>(param);
  char text[128] = {};
  GetWindowTextA(child, text, sizeof text);
  if (std::strcmp(text, seen->text) == 0) seen->textFound = true;
  return TRUE;
}

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  reinterpret_cast<WarningBoxSeen*>(param)->box = window;
  return FALSE;
}

DWORD WINAPI CloseWarningBox(void* param) {
  auto* seen = static_cast<WarningBoxSeen*>(param);
  for (DWORD start = GetTickCount(); GetTickCount() - start < 20000 && !seen->box; Sleep(10)) {
    EnumThreadWindows(seen->thread, &FindBox, reinterpret_cast<LPARAM>(seen));
  }
  if (!seen->box) return 1;
  EnumChildWindows(seen->box, &FindText, reinterpret_cast<LPARAM>(seen));
  PostMessageA(seen->box, WM_COMMAND, IDOK, 0);
  return 0;
}

}  // namespace

// A helper thread finds the box, checks it and presses OK. (Whether the box
// is topmost is the platform's business; not every implementation shows it.)
TEST(Shell, ShowWarningShowsTheTextAndAnswersTheButton) {
  WarningBoxSeen seen;
  seen.thread = GetCurrentThreadId();
  seen.text = "memo.txt\x82\xaa\x8aJ\x82\xaf\x82\xdc\x82\xb9\x82\xf1";  // memo.txtが開けません
  HANDLE closer = CreateThread(nullptr, 0, &CloseWarningBox, &seen, 0, nullptr);
  ASSERT_NE(nullptr, closer);
  EXPECT_EQ(IDOK, ShowWarning(seen.text));
  WaitForSingleObject(closer, INFINITE);
  CloseHandle(closer);
  ASSERT_NE(nullptr, seen.box);
  EXPECT_TRUE(seen.textFound);
}
