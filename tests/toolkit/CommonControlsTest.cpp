// The program's manifest asks for Common Controls 6; the window tests carry
// the same manifest so that they exercise the controls users see.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "toolkit/Shell.h"

TEST(CommonControls, ManifestSelectsTheSideBySideVersion6) {
  // Version 6 lives in the side-by-side store; version 5 in the system
  // directory. The module loaded by name (as the program loads it) tells
  // which one we got.
  HMODULE module = RegisterCommonControls();
  ASSERT_NE(nullptr, module);
  char path[MAX_PATH] = {};
  ASSERT_NE(0u, GetModuleFileNameA(module, path, MAX_PATH));
  std::string lower(path);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  EXPECT_NE(std::string::npos, lower.find("winsxs")) << path;
  EXPECT_NE(std::string::npos, lower.find("common-controls_6595b64144ccf1df_6.")) << path;
  WNDCLASSEXA info = {};
  info.cbSize = sizeof info;
  EXPECT_TRUE(GetClassInfoExA(nullptr, TRACKBAR_CLASSA, &info)) << "its classes are registered";
}
