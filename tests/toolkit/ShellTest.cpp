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
  HWND box = nullptr;
  bool textFound = false;
  const char* text = nullptr;
};

WarningBoxSeen* gSeen = nullptr;

BOOL CALLBACK FindText(HWND child, LPARAM) {
  char text[128] = {};
  GetWindowTextA(child, text, sizeof text);
  if (std::strcmp(text, gSeen->text) == 0) gSeen->textFound = true;
  return TRUE;
}

// Runs on this thread right after the box has set itself up: look at it and
// press OK through its own message loop.
LRESULT CALLBACK AfterWindowProc(int code, WPARAM wParam, LPARAM lParam) {
  const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_INITDIALOG && !gSeen->box) {
    char className[16] = {};
    GetClassNameA(call->hwnd, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0) {
      gSeen->box = call->hwnd;
      EnumChildWindows(call->hwnd, &FindText, 0);
      PostMessageA(call->hwnd, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// Whether the box is topmost is the platform's business; not every
// implementation shows it.
TEST(Shell, ShowWarningShowsTheTextAndAnswersTheButton) {
  WarningBoxSeen seen;
  seen.text = "memo.txt\x82\xaa\x8aJ\x82\xaf\x82\xdc\x82\xb9\x82\xf1";  // memo.txtが開けません
  gSeen = &seen;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, &AfterWindowProc, nullptr, GetCurrentThreadId());
  ASSERT_NE(nullptr, hook);
  int button = ShowWarning(seen.text);
  UnhookWindowsHookEx(hook);
  gSeen = nullptr;
  EXPECT_EQ(IDOK, button);
  EXPECT_NE(nullptr, seen.box);
  EXPECT_TRUE(seen.textFound);
}
