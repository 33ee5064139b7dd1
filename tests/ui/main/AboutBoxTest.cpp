#include "ui/main/AboutBox.h"

#include <gtest/gtest.h>

#include <string>

#include "BarTestSupport.h"
#include "ui/main/AboutBoxRes.h"

namespace {

BOOL CALLBACK CollectText(HWND child, LPARAM out) {
  char text[128] = {};
  GetWindowTextA(child, text, sizeof text);
  *reinterpret_cast<std::string*>(out) += std::string(text) + "|";
  return TRUE;
}

}  // namespace

TEST(AboutBox, ShowsTheVersionAndEndsWithOneWhicheverWay) {
  for (int button : {IDOK, IDCANCEL}) {
    AboutBox about;
    INT_PTR result = -2;
    std::string texts;
    EXPECT_TRUE(AnswerModalBox([&] { result = about.RunModal(IDD_ABOUT, nullptr); },
                               [&](HWND box) {
                                 EnumChildWindows(box, &CollectText, reinterpret_cast<LPARAM>(&texts));
                                 PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
                               }));
    EXPECT_EQ(1, result) << button;
    EXPECT_NE(std::string::npos, texts.find(TEXT_VERSION)) << texts;
  }
}
