// The program's manifest asks for Common Controls 6; the window tests carry
// the same manifest so that they exercise the controls users see.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

TEST(CommonControls, ManifestSelectsTheSideBySideVersion6) {
  // Version 6 lives in the side-by-side store; version 5 in the system
  // directory. The module that serves our imports tells which one we got.
  HMODULE module = nullptr;
  ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                 reinterpret_cast<const char*>(&InitCommonControlsEx), &module));
  char path[MAX_PATH] = {};
  ASSERT_NE(0u, GetModuleFileNameA(module, path, MAX_PATH));
  std::string lower(path);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  EXPECT_NE(std::string::npos, lower.find("winsxs")) << path;
  EXPECT_NE(std::string::npos, lower.find("common-controls_6595b64144ccf1df_6.")) << path;
}
